// The shipped DOC folder: every job loads through the report library's job reader and the
// stand-in instrument library, its references, tolerance set and measured print load and
// agree in size, the chart covers every colour class of the evaluation, and each passing
// print passes while each failing print clearly fails its report type's checks.
#include "SampleFiles.h"

#include "FograPSD2022ToleranceChecker.h"
#include "IdeAllianceG7MasterToleranceChecker.h"
#include "Job.h"
#include "LabToSpectralUtil.h"
#include "Loader.h"
#include "PatchComparer.h"
#include "ReferenceFileData.h"
#include "Tolerances.h"

#include <gtest/gtest.h>
#include <lcms2.h>

#include <cmath>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace
{
std::string Tag(const Job& job, const std::string& name)
{
    std::string value;
    job.GetExtraTagValue(name, value);
    return value;
}

std::string ReportType(const Job& job)
{
    std::string value;
    job.GetExtraTagValue("DOCReportTemplate", "DOCReportType", value);
    return value;
}

// One job of the DOC folder with everything it names, loaded the way the report does it.
struct LoadedJob
{
    Job job;
    std::unique_ptr<ReferenceFileData> docReference;
    std::unique_ptr<ReferenceFileData> chartReference;
    std::unique_ptr<ReferenceFileData> measurement;
    TolerancesData tolerances{1000.0f};
    std::string measurementPath;
};

// Fills `j` from Jobs/<name>; every step is asserted.
void LoadJob(const std::string& name, LoadedJob& j)
{
    ASSERT_TRUE(j.job.Load((DocDir() + "/Jobs/" + name).c_str())) << name;
    Tintora_target* t = j.job.GetTintoraTarget();
    ASSERT_NE(t, nullptr);
    const std::string layout = t->layoutName;
    EXPECT_EQ(layout, "QUORVANE - Horizontal (default)");

    const std::string docRef = Tag(j.job, "DOCReferenceFile");
    const std::string tolerance = Tag(j.job, "DOCSettingsFile");
    const std::string chartRef = t->referenceFileName;
    ASSERT_EQ(docRef.rfind("DOCReferences/", 0), 0u) << docRef;
    ASSERT_EQ(tolerance.rfind("Tolerances/", 0), 0u) << tolerance;
    ASSERT_EQ(chartRef.rfind("References/", 0), 0u) << chartRef;
    EXPECT_EQ(Tag(j.job, "ReferenceType"), "1");

    j.docReference = std::make_unique<ReferenceFileData>(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(j.docReference->loadReferenceFileData(nullptr, (DocDir() + "/" + docRef).c_str(), false));
    j.chartReference = std::make_unique<ReferenceFileData>(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(j.chartReference->loadReferenceFileData(nullptr, (DocDir() + "/" + chartRef).c_str(), false));
    ASSERT_TRUE(j.tolerances.LoadFromXML(DocDir() + "/" + tolerance)) << tolerance;
    EXPECT_EQ(j.tolerances.reportTypes.count(ReportType(j.job)), 1u) << tolerance;

    const int n = t->patchCount;
    EXPECT_EQ(j.docReference->GetSetCount(), n);
    EXPECT_EQ(j.chartReference->GetSetCount(), n);
    EXPECT_EQ(t->patchesPerRow * t->rowsPerStrip * t->stripCount >= n, true);
    EXPECT_TRUE(j.docReference->hasLab);
    EXPECT_FALSE(j.chartReference->hasLab);   // a chart reference as Tessaro saves it

    // The instrument wrote the measurement named in the target, relative to the DOC folder.
    const std::string output = t->outputFileName;
    ASSERT_EQ(output.rfind("Measurements/", 0), 0u) << output;
    j.measurementPath = DocDir() + "/" + output;
    j.measurement = std::make_unique<ReferenceFileData>(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(j.measurement->loadCXFFileData(j.measurementPath.c_str(), layout.c_str()));
    ASSERT_EQ(j.measurement->GetSetCount(), n);
}

std::vector<std::string> JobNames() { return FilesEndingWith(DocDir() + "/Jobs", ".xml"); }

class DocSamples : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(InitColour()) << ColorUtil::LastError(); }
};

TEST_F(DocSamples, EveryReportTypeHasAPassingAndAFailingJob)
{
    const std::vector<std::string> names = JobNames();
    const char* const types[] = {
        "QUORVANE_DOC", "FOGRA_PSD", "FOGRA_PSD_REL", "IDEAllianceCW_2013", "IDEAllianceDCS_2009",
        "FOGRA_PSD_2022", "FOGRA_PSD_2022_Side-by-Side", "FOGRA_PSD_2022_mediarelative",
        "IDEAllianceG7MasterPassFail-Targeted", "IDEAllianceG7MasterPassFail-Colorspace-Proof",
        "IDEAllianceG7MasterPassFail-Colorspace-Press"};
    for (const char* type : types) {
        int pass = 0, fail = 0;
        for (const std::string& name : names) {
            Job job;
            ASSERT_TRUE(job.Load((DocDir() + "/Jobs/" + name).c_str())) << name;
            if (ReportType(job) != type)
                continue;
            pass += name.find("_Pass.") != std::string::npos;
            fail += name.find("_Fail.") != std::string::npos;
        }
        EXPECT_GE(pass, 1) << type;
        EXPECT_GE(fail, 1) << type;
    }
    // One tolerance set per report type.
    EXPECT_EQ(FilesEndingWith(DocDir() + "/Tolerances", ".xml").size(), std::size(types));
}

TEST_F(DocSamples, JobsLoadWithTheirReferencesAndMeasurements)
{
    const std::vector<std::string> names = JobNames();
    ASSERT_GE(names.size(), 14u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        LoadedJob j;
        LoadJob(name, j);
        if (HasFatalFailure())
            return;
        EXPECT_EQ(j.job.GetJobName() + ".xml", name);
        // The tags stand before the measurement and so reach its information text, where
        // the evaluation reads the media type.
        const std::string info = j.job.GetTintoraTarget()->infoText;
        EXPECT_NE(info.find("<DOCMediaType>" + Tag(j.job, "DOCMediaType") + "</DOCMediaType>"), std::string::npos);
        EXPECT_NE(info.find("<DOCPrinter>Press 4</DOCPrinter>"), std::string::npos);
        // Every measured patch has Lab and a 41-value spectrum of reflectance factors. The
        // spectra are smooth three-band curves: they integrate to the measured colour for
        // every near-neutral patch and for most others (not for the most saturated RGB ones).
        int close = 0;
        for (int i = 0; i < j.measurement->GetSetCount(); ++i) {
            const ReferenceFileSet* s = j.measurement->GetSet(i);
            EXPECT_EQ(s->SpectralCount(), 41);
            LabToSpectralUtil::Spectrum sp{};
            for (int k = 0; k < 41; ++k) {
                sp[k] = s->GetValuesSpectral()[k];
                EXPECT_GT(sp[k], 0.0);
                EXPECT_LE(sp[k], 1.0);
            }
            double lab[3];
            LabToSpectralUtil::SpectrumToLab(sp, lab);
            const cmsCIELab a{lab[0], lab[1], lab[2]};
            const cmsCIELab b{s->GetValuesLAB()[0], s->GetValuesLAB()[1], s->GetValuesLAB()[2]};
            const double d = cmsCIE2000DeltaE(&a, &b, 1, 1, 1);
            close += d < 2.0;
            if (std::hypot(b.a, b.b) < 15.0) {
                EXPECT_LT(d, 1.0) << s->GetName();
            }
            EXPECT_STREQ(s->GetName(), j.chartReference->GetSet(i)->GetName());
        }
        EXPECT_GE(close * 10, j.measurement->GetSetCount() * (j.chartReference->isRGB ? 5 : 9));
    }
}

TEST_F(DocSamples, VersionThreeJobsLoad)
{
    for (const std::string& path : {DocDir() + "/Jobs/Version3/QuorvaneDOC_Pass.txt", DocDir() + "/Jobs/run.txt.d/Job.XML"}) {
        SCOPED_TRACE(path);
        Job job;
        ASSERT_TRUE(job.Load(path.c_str()));
        Tintora_target* t = job.GetTintoraTarget();
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->patchCount, 208);
        EXPECT_STREQ(t->referenceFileName, "References/DOC_Chart_CMYK.ref");
        const std::string info = t->infoText;
        EXPECT_NE(info.find("<DOCReportTemplate>QUORVANE_DOC</DOCReportTemplate>"), std::string::npos);
        EXPECT_NE(info.find("<DOCMediaType>1</DOCMediaType>"), std::string::npos);
        // A version-3 job is a measurement text: no job tags of its own.
        EXPECT_TRUE(job.GetExtraTags().empty());
    }
}

int Count(const ReferenceFileData& d, bool (ReferenceFileSet::*predicate)() const)
{
    int n = 0;
    for (int i = 0; i < d.GetSetCount(); ++i)
        n += (d.GetSet(i)->*predicate)();
    return n;
}

TEST_F(DocSamples, CmykChartCoversEveryColourClass)
{
    ReferenceFileData d(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(d.loadReferenceFileData(nullptr, (DocDir() + "/References/DOC_Chart_CMYK.ref").c_str(), false));
    ASSERT_TRUE(d.isCMYK);
    struct Class
    {
        const char* name;
        bool (ReferenceFileSet::*predicate)() const;
        int min, max;
    };
    const Class classes[] = {
        {"paper white", &ReferenceFileSet::IsPaperWhite, 2, 2},
        {"CMY primaries and overprints", &ReferenceFileSet::IsCMYKPrimaryColor, 6, 6},
        {"three-colour gray balance", &ReferenceFileSet::IsGrayScale, 10, 30},
        {"dark colours", &ReferenceFileSet::IsGamutDarkColor, 5, 5},
        {"boundary colours", &ReferenceFileSet::isCMYKBoundaryColor, 41, 41},
        {"G7 CMY solids", &ReferenceFileSet::IsG7CMYSolid, 3, 3},
        {"G7 RGB solids", &ReferenceFileSet::IsG7RGBSolid, 3, 3},
        {"G7 K solid", &ReferenceFileSet::IsG7KSolid, 1, 1},
        {"G7 K ramp", &ReferenceFileSet::IsG7KGrayScale, 15, 40},
        {"G7 CMY gray", &ReferenceFileSet::IsG7CMYGrayScale, 15, 40},
        {"IDEAlliance gray", &ReferenceFileSet::IsGrayScaleIDEA, 7, 7},
        {"IDEAlliance special gray", &ReferenceFileSet::IsGrayBalanceIDEASpecial, 1, 1},
    };
    for (const Class& c : classes) {
        const int n = Count(d, c.predicate);
        EXPECT_GE(n, c.min) << c.name;
        EXPECT_LE(n, c.max) << c.name;
    }
    EXPECT_GE(d.GetSetCount() - Count(d, &ReferenceFileSet::isCMYKBoundaryColor), 100) << "non-boundary colours";
}

TEST_F(DocSamples, RgbChartCoversEveryRgbClass)
{
    ReferenceFileData d(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(d.loadReferenceFileData(nullptr, (DocDir() + "/References/DOC_Chart_RGB.ref").c_str(), false));
    ASSERT_TRUE(d.isRGB);
    EXPECT_EQ(Count(d, &ReferenceFileSet::IsRGBPaperWhite), 1);
    EXPECT_EQ(Count(d, &ReferenceFileSet::IsRGBPrimaryColor), 3);
    EXPECT_EQ(Count(d, &ReferenceFileSet::IsRGBSecondaryColor), 3);
    EXPECT_GE(Count(d, &ReferenceFileSet::IsRGBGrayScale), 5);
    EXPECT_EQ(Count(d, &ReferenceFileSet::IsRGBGamutDarkColor), 1);
}

// ---------------------------------------------------------------------------------------
// Verdicts

std::unique_ptr<ToleranceChecker> MakeChecker(const std::string& type, PatchComparer* c, TolerancesData* t)
{
    if (type == "IDEAllianceG7MasterPassFail-Targeted")
        return std::make_unique<G7MPFTargetedToleranceChecker>(c, t);
    if (type == "IDEAllianceG7MasterPassFail-Colorspace-Proof")
        return std::make_unique<G7MPFColorspaceProofToleranceChecker>(c, t);
    if (type == "IDEAllianceG7MasterPassFail-Colorspace-Press")
        return std::make_unique<G7MPFColorspacePressToleranceChecker>(c, t);
    if (type == "FOGRA_PSD_2022")
        return std::make_unique<FograPSD2022ToleranceChecker>(c, t, true, true, true, true);
    if (type == "FOGRA_PSD_2022_Side-by-Side")
        return std::make_unique<FograPSD2022ToleranceChecker>(c, t, false, false, true, false);
    if (type == "FOGRA_PSD_2022_mediarelative")
        return std::make_unique<FograPSD2022ToleranceChecker>(c, t, false, false, false, true);
    return nullptr;
}

// The report's own rules for report types without a checker: a statistic fails when it is
// at least its limit and was computed.
bool OwnRulesPass(const PatchComparer& c, const TolerancesData& t, const std::string& type)
{
    auto fails = [](double s, float limit) { return s != -1.0 && s >= limit; };
    const bool idea = t.reportTypes.count("IDEAllianceCW_2013") || t.reportTypes.count("IDEAllianceDCS_2009");
    bool red = fails(c.averageDeltaE, t.averageTotalError) || fails(c.maximumDeltaE, t.maximumTotalError) ||
               fails(c.maximumPrimariesDeltaE, t.primaryColorsTotalError) ||
               fails(c.averageGrayDeltaE, t.grayBalanceError);
    if (type != "IDEAllianceDCS_2009" && type != "IDEAllianceCW_2013")
        red = red || fails(c.maximumPaperWhiteDeltaE, t.paperWhiteTotalError);
    if (idea)
        red = red || fails(c.maximumGrayIdeaDeltaE, t.grayBalanceError) ||
              fails(c.grayBalanceSpecialDeltaE, t.grayBalanceIDEASpecialError) ||
              c.paperWhiteDeltaL >= t.paperWhiteTotalLError || c.paperWhiteDeltaA >= t.paperWhiteTotalaError ||
              c.paperWhiteDeltaB >= t.paperWhiteTotalbError;
    return !red;
}

// The statistic that each failing print is made to break, with its limit.
struct Aim
{
    const char* job;   // job name without _Pass / _Fail
    std::function<double(const PatchComparer&)> statistic;
    std::function<float(const TolerancesData&)> limit;
};

void PrintTo(const Aim& aim, std::ostream* os) { *os << aim.job; }

const std::vector<Aim>& Aims()
{
    static const std::vector<Aim> aims = {
        {"QuorvaneDOC", [](const PatchComparer& c) { return c.maximumPrimariesDeltaE; },
         [](const TolerancesData& t) { return t.primaryColorsTotalError; }},
        {"FograPSD", [](const PatchComparer& c) { return c.averageGrayDeltaE; },
         [](const TolerancesData& t) { return t.grayBalanceError; }},
        {"FograPSD_REL", [](const PatchComparer& c) { return c.maximumPaperWhiteDeltaE; },
         [](const TolerancesData& t) { return t.paperWhiteTotalError; }},
        {"IDEAllianceCW2013", [](const PatchComparer& c) { return c.grayBalanceSpecialDeltaE; },
         [](const TolerancesData& t) { return t.grayBalanceIDEASpecialError; }},
        {"IDEAllianceDCS2009", [](const PatchComparer& c) { return c.paperWhiteDeltaL; },
         [](const TolerancesData& t) { return t.paperWhiteTotalLError; }},
        {"FograPSD2022", [](const PatchComparer& c) { return c.maximumGrayDeltaCh; },
         [](const TolerancesData& t) { return t.cp_grayBalanceError; }},
        {"FograPSD2022_SideBySide", [](const PatchComparer& c) { return c.averageDeltaE; },
         [](const TolerancesData& t) { return t.ma_averageTotalError; }},
        {"FograPSD2022_MediaRelative", [](const PatchComparer& c) { return c.blackPointDifference; },
         [](const TolerancesData& t) { return t.mr_blackpoint; }},
        {"G7_Targeted", [](const PatchComparer& c) { return c.averageWDeltaCh; },
         [](const TolerancesData& t) { return t.averageWDeltaChError; }},
        {"G7_Proof", [](const PatchComparer& c) { return c.maximumDeltaE; },
         [](const TolerancesData& t) { return t.maximumTotalError; }},
        {"G7_Press", [](const PatchComparer& c) { return c.averageDeltaE; },
         [](const TolerancesData& t) { return t.averageTotalError; }},
        {"QuorvaneDOC_RGB", [](const PatchComparer& c) { return c.maximumDeltaE; },
         [](const TolerancesData& t) { return t.maximumTotalError; }},
    };
    return aims;
}

// Colour difference of the tolerance set's formula, reference first.
double DeltaE(int formula, const cmsCIELab& ref, const cmsCIELab& m)
{
    switch (formula) {
    case 0: return cmsDeltaE(&ref, &m);
    case 1: return cmsCMCdeltaE(&ref, &m, 1, 1);
    case 2: return cmsCMCdeltaE(&ref, &m, 2, 1);
    case 3: return cmsCIE94DeltaE(&ref, &m);
    case 4: return cmsCIE2000DeltaE(&ref, &m, 1, 1, 1);
    }
    return 0.0;
}

class DocPrint : public ::testing::TestWithParam<Aim>
{
protected:
    void SetUp() override { ASSERT_TRUE(InitColour()) << ColorUtil::LastError(); }

    // Loads, maps and compares one print as the report generator does; returns the verdict.
    void Evaluate(const std::string& name, LoadedJob& j, PatchComparer& comparer, bool& passed)
    {
        LoadJob(name + ".xml", j);
        if (HasFatalFailure())
            return;
        Tintora_target* t = j.job.GetTintoraTarget();
        Loader loader(t, j.measurement.get());
        ASSERT_TRUE(loader.Load(t->layoutName));
        j.docReference->lgoRowLength = t->patchesPerRow;
        j.chartReference->lgoRowLength = t->patchesPerRow;
        comparer.colorDistanceFormula = j.tolerances.colorDistanceFormula;
        comparer.CompareReferenceFileData(j.docReference.get(), t, j.chartReference.get());
        ASSERT_EQ(comparer.GetPatchDeltaE().size(), static_cast<std::size_t>(t->patchCount));
        const std::string type = ReportType(j.job);
        if (auto checker = MakeChecker(type, &comparer, &j.tolerances))
            passed = checker->checkReport() == DOCReport::eGreen;
        else
            passed = OwnRulesPass(comparer, j.tolerances, type);
    }
};

TEST_P(DocPrint, PassingPrintIsWithinTolerance)
{
    const Aim& aim = GetParam();
    LoadedJob j;
    PatchComparer comparer;
    bool passed = false;
    Evaluate(std::string(aim.job) + "_Pass", j, comparer, passed);
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(passed);
    EXPECT_LE(aim.statistic(comparer), 0.6 * aim.limit(j.tolerances));

    // Independently of the comparer: every patch against its DOC reference set.
    double sum = 0.0, worst = 0.0;
    const int n = j.measurement->GetSetCount();
    for (int i = 0; i < n; ++i) {
        const double* r = j.docReference->GetSet(i)->GetValuesLAB();
        const double* m = j.measurement->GetSet(i)->GetValuesLAB();
        const double d = DeltaE(j.tolerances.colorDistanceFormula, {r[0], r[1], r[2]}, {m[0], m[1], m[2]});
        sum += d;
        worst = std::max(worst, d);
    }
    EXPECT_LT(worst, 0.5 * j.tolerances.maximumTotalError);
    EXPECT_LT(sum / n, 0.5 * j.tolerances.averageTotalError);
    EXPECT_LT(worst, 1.5);
}

TEST_P(DocPrint, FailingPrintClearlyViolatesItsReportType)
{
    const Aim& aim = GetParam();
    LoadedJob j;
    PatchComparer comparer;
    bool passed = true;
    Evaluate(std::string(aim.job) + "_Fail", j, comparer, passed);
    if (HasFatalFailure())
        return;
    EXPECT_FALSE(passed);
    EXPECT_GE(aim.statistic(comparer), 1.15 * aim.limit(j.tolerances));

    // The defect is visible patch by patch: some patches differ far more than any patch
    // of a passing print.
    int far = 0;
    for (int i = 0; i < j.measurement->GetSetCount(); ++i) {
        const double* r = j.docReference->GetSet(i)->GetValuesLAB();
        const double* m = j.measurement->GetSet(i)->GetValuesLAB();
        far += DeltaE(j.tolerances.colorDistanceFormula, {r[0], r[1], r[2]}, {m[0], m[1], m[2]}) > 2.5;
    }
    EXPECT_GE(far, 1);
}

INSTANTIATE_TEST_SUITE_P(Samples, DocPrint, ::testing::ValuesIn(Aims()),
                         [](const ::testing::TestParamInfo<Aim>& info) { return std::string(info.param.job); });
}  // namespace
