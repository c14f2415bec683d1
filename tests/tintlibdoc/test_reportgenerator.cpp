// Tests of ReportGenerator: input loading with its codes and messages, the DOC folder
// fix-ups, the measurement checks, the global verdict with and without a checker, the
// per-patch verdicts, the number decimals by report type and the value getters.
#include "PatchComparer.h"
#include "ReportFixture.h"
#include "ReportGenerator.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <utime.h>

namespace
{
using Mutation = std::function<void(ReportFixture&)>;

// The fixture's Delta E values (CIE 1976, lightness offsets only), patch by patch.
const double kDeltaE[12] = {1.0, 2.0, 1.5, 0.5, 1.0, 3.0, 1.0, 0.25, 0.75, 2.0, 6.0, 0.0};

// The fixture reference with its last set removed.
void WriteElevenSets(ReportFixture& f, const std::string& relative)
{
    std::string text = ReadText(f.docFolder + "/" + relative);
    const std::size_t sets = text.find("NUMBER_OF_SETS\t12");
    ASSERT_NE(sets, std::string::npos);
    text.replace(sets, 17, "NUMBER_OF_SETS\t11");
    const std::size_t last = text.rfind("\n12\t");
    ASSERT_NE(last, std::string::npos);
    text.erase(last + 1, text.find('\n', last + 1) - last);
    const std::string name = relative.substr(0, relative.rfind('.')) + "_11.ref";
    f.dir.Write("DOC/" + name, text);
}
}  // namespace

struct LoadCase
{
    const char* name;
    Mutation mutate;
    int code;
    const char* message;
};

class LoadDataTest : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(LoadDataTest, FailsWithItsCodeAndOneMessage)
{
    const LoadCase& c = GetParam();
    ReportFixture f;
    c.mutate(f);
    ReportGenerator& g = f.Prepare();
    int code = -1;
    std::string condition = "Condition M1";
    const bool ok = g.LoadData(f.job.get(), code, &condition);
    EXPECT_EQ(ok, c.code == 0);
    EXPECT_EQ(code, c.code);
    if (c.message != nullptr)
        EXPECT_EQ(ReportMessages(), std::vector<std::string>{c.message});
    else
        EXPECT_TRUE(ReportMessages().empty());
    EXPECT_EQ(g.GetMeasurementCondition(nullptr), "Condition M1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadDataTest,
    ::testing::Values(
        LoadCase{"Loads", [](ReportFixture&) {}, 0, nullptr},
        LoadCase{"NoReferenceType", [](ReportFixture& f) { f.RemoveTag("ReferenceType"); }, 2,
                 "Job does not have valid reference information"},
        LoadCase{"TextReferenceType", [](ReportFixture& f) { f.SetTag("ReferenceType", "DOC"); }, 2,
                 "Job does not have valid reference information"},
        LoadCase{"ReferenceTypeFour", [](ReportFixture& f) { f.SetTag("ReferenceType", "4"); }, 2,
                 "Job does not have valid reference information"},
        LoadCase{"ReferenceTypeCheckedFirst",
                 [](ReportFixture& f) {
                     f.SetTag("ReferenceType", "0");
                     f.RemoveTag("DOCSettingsFile");
                 },
                 2, "Job does not have valid reference information"},
        // Before any reference is looked at: the DOC reference named here does not exist.
        LoadCase{"NoTolerance",
                 [](ReportFixture& f) {
                     f.RemoveTag("DOCSettingsFile");
                     f.SetTag("DOCReferenceFile", "DOCReferences/None.ref");
                 },
                 3, "No tolerance information"},
        LoadCase{"EmptyTolerance", [](ReportFixture& f) { f.SetTag("DOCSettingsFile", ""); }, 3,
                 "No tolerance information"},
        LoadCase{"MissingDocReference", [](ReportFixture& f) { f.SetTag("DOCReferenceFile", "DOCReferences/None.ref"); },
                 5, "Reference file could not be loaded"},
        LoadCase{"DocReferenceSetCount",
                 [](ReportFixture& f) {
                     WriteElevenSets(f, "DOCReferences/Doc12.ref");
                     f.SetTag("DOCReferenceFile", "DOCReferences/Doc12_11.ref");
                 },
                 5, "Reference file could not be loaded"},
        LoadCase{"MissingChartReference", [](ReportFixture& f) { f.chartReference = "References/None.ref"; }, 6,
                 "Chart reference file could not be loaded"},
        LoadCase{"ChartReferenceSetCount",
                 [](ReportFixture& f) {
                     WriteElevenSets(f, "References/Chart12.ref");
                     f.chartReference = "References/Chart12_11.ref";
                 },
                 7, "Chart reference file with incorrect number of sets"},
        LoadCase{"MissingToleranceFile", [](ReportFixture& f) { f.SetTag("DOCSettingsFile", "Tolerances/None.xml"); },
                 8, "Tolerance file could not be loaded"},
        LoadCase{"ToleranceWithoutFormula",
                 [](ReportFixture& f) {
                     f.WriteTolerance("NoFormula.xml", "<reportType>QUORVANE_DOC</reportType>\n");
                     f.SetTag("DOCSettingsFile", "Tolerances/NoFormula.xml");
                 },
                 8, "Tolerance file could not be loaded"}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST(ReportGenerator, NullJobIsCodeOne)
{
    ReportFixture f;
    ReportGenerator g(nullptr, f.base, f.docFolder);
    g.setErrorHandler(&f.handler);
    int code = -1;
    EXPECT_FALSE(g.LoadData(nullptr, code, nullptr));
    EXPECT_EQ(code, 1);
    EXPECT_EQ(ReportMessages(), std::vector<std::string>{"Job is null"});
    ReportMessages().clear();
    EXPECT_FALSE(g.GenerateRaport());
    EXPECT_EQ(ReportMessages(), std::vector<std::string>{"Job is null"});
}

TEST(ReportGenerator, NoToleranceLoadsNoReference)
{
    ReportFixture f;
    f.RemoveTag("DOCSettingsFile");
    EXPECT_FALSE(f.Generate());
    EXPECT_EQ(f.generator->GetDocReference(), nullptr);
    EXPECT_EQ(f.generator->GetChartReference(), nullptr);
    EXPECT_FALSE(f.ReportWritten());
}

TEST(ReportGenerator, PathsAreResolvedBelowTheDocFolder)
{
    ReportFixture f;
    ReportGenerator& g = f.Prepare();
    ASSERT_TRUE(g.LoadData());
    EXPECT_EQ(g.GetTolerancePath(), f.docFolder + "/Tolerances/QuorvaneDOC.xml");
    EXPECT_EQ(g.GetDocReferencePath(), f.docFolder + "/DOCReferences/Doc12.ref");
    EXPECT_EQ(g.GetChartReferencePath(), f.docFolder + "/References/Chart12.ref");
    EXPECT_EQ(g.GetTolerance(nullptr), "QuorvaneDOC.xml");
    EXPECT_EQ(g.GetReference(nullptr), "Doc12.ref");
    EXPECT_EQ(g.GetMeasurementCondition(nullptr), f.base);

    // A path that does not start with a folder name of the DOC folder is used as it is.
    ReportFixture g2;
    g2.SetTag("DOCSettingsFile", g2.docFolder + "/Tolerances/QuorvaneDOC.xml");
    ReportGenerator& other = g2.Prepare();
    ASSERT_TRUE(other.LoadData());
    EXPECT_EQ(other.GetTolerancePath(), g2.docFolder + "/Tolerances/QuorvaneDOC.xml");
}

TEST(ReportGenerator, InvalidMeasurementIsOneMessage)
{
    const std::vector<std::pair<const char*, std::function<void(ReportFixture&)>>> cases = {
        {"missing", [](ReportFixture& f) { std::filesystem::remove(f.base + ".cxf"); }},
        {"not xml", [](ReportFixture& f) { f.dir.Write(std::string(ReportFixture::kMeasurementName) + ".cxf", "CGATS"); }},
        {"eleven sets",
         [](ReportFixture& f) {
             std::string text = ReadText(f.base + ".cxf");
             const std::size_t first = text.find("   <cc:Object ");
             const std::size_t second = text.find("   <cc:Object ", first + 1);
             text.erase(first, second - first);
             f.dir.Write(std::string(ReportFixture::kMeasurementName) + ".cxf", text);
         }},
    };
    for (const auto& c : cases) {
        ReportFixture f;
        c.second(f);
        EXPECT_FALSE(f.Generate()) << c.first;
        EXPECT_EQ(ReportMessages(), std::vector<std::string>{"Measurement file is invalid."}) << c.first;
        EXPECT_FALSE(f.ReportWritten()) << c.first;
    }
}

TEST(ReportGenerator, ComparesTheMappedMeasurement)
{
    ReportFixture f;
    ASSERT_TRUE(f.Generate());
    const PatchComparer* c = f.generator->GetComparer();
    ASSERT_EQ(c->GetPatchDeltaE().size(), 12u);
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(c->GetPatchDeltaE()[static_cast<std::size_t>(i)], kDeltaE[i], 1e-9) << i;
    EXPECT_EQ(f.generator->GetNoOfPatches(), 12);
    EXPECT_EQ(f.generator->GetChecker(), nullptr);
    EXPECT_TRUE(f.generator->IsParseFinished());
}

struct VerdictCase
{
    const char* reportType;
    std::string tolerance;   // elements of the tolerance file
    int expected;
};

TEST(ReportGenerator, GlobalVerdict)
{
    const std::string fogra = ReadText(std::string(VANTREL_TEST_DATA_DIR) +
                                       "/tintlibdoc/report/DOC/Tolerances/FograPSD2022.xml");
    const std::string fograBody = fogra.substr(fogra.find("<settings>") + 10, fogra.find("</settings>") - fogra.find("<settings>") - 10);
    const std::string g7 = ReadText(std::string(VANTREL_TEST_DATA_DIR) + "/tintlibdoc/report/DOC/Tolerances/G7Targeted.xml");
    const std::string g7Body = g7.substr(g7.find("<settings>") + 10, g7.find("</settings>") - g7.find("<settings>") - 10);
    const std::string relaxed = "<maximumTotalError>6.5</maximumTotalError>\n";
    const std::string gray = "<grayBalanceError>3.5</grayBalanceError>\n";
    const std::vector<VerdictCase> cases = {
        // Without a checker: maximum Delta E 6 against 5, 6 (at least fails) and 6.5.
        {"QUORVANE_DOC", QuorvaneLimits(), 3},
        {"QUORVANE_DOC", QuorvaneLimits("<maximumTotalError>6</maximumTotalError>\n"), 3},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed), 1},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + "<averageTotalError>1.5</averageTotalError>\n"), 3},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + "<primaryColorsTotalError>2</primaryColorsTotalError>\n"), 3},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + "<grayBalanceError>2</grayBalanceError>\n"), 3},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + "<paperWhiteTotalError>1</paperWhiteTotalError>\n"), 3},
        // The IDEAlliance report types do not judge the paper white Delta E ...
        {"IDEAllianceDCS_2009", QuorvaneLimits(relaxed + "<paperWhiteTotalError>1</paperWhiteTotalError>\n"), 1},
        // ... but a tolerance set declaring them judges the paper white L*, a*, b* (at least
        // the limit fails) and the IDEAlliance grays, whose -1 never fails.
        // (IDEAlliance gray 50/40/40 has Delta E 3: it fails grayBalanceError 2.5 there.)
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + gray + "<paperWhiteTotalLError>1</paperWhiteTotalLError>\n", "IDEAllianceCW_2013"), 3},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + gray + "<paperWhiteTotalLError>1.5</paperWhiteTotalLError>\n"
                                        "<grayBalanceIDEASpecialError>0</grayBalanceIDEASpecialError>\n", "IDEAllianceCW_2013"), 1},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + "<paperWhiteTotalLError>1.5</paperWhiteTotalLError>\n", "IDEAllianceDCS_2009"), 3},
        {"QUORVANE_DOC", QuorvaneLimits(relaxed + "<paperWhiteTotalLError>1</paperWhiteTotalLError>\n"), 1},
        // With a checker only the checker's report verdict counts.
        {"FOGRA_PSD_2022", fograBody + "<maximumTotalError>5</maximumTotalError>\n", 1},
        {"FOGRA_PSD_2022", "<cp_maximumTotalError>5.5</cp_maximumTotalError>\n" + fograBody, 3},
        {"FOGRA_PSD_2022_Side-by-Side", "<cp_maximumTotalError>5.5</cp_maximumTotalError>\n" + fograBody, 1},
        {"FOGRA_PSD_2022_Side-by-Side", "<ma_maximumTotalError>6</ma_maximumTotalError>\n" + fograBody, 3},
        {"IDEAllianceG7MasterPassFail-Targeted", g7Body, 1},
        {"IDEAllianceG7MasterPassFail-Targeted", "<maximumWDeltaLstarError>2.9</maximumWDeltaLstarError>\n" + g7Body, 3},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const VerdictCase& c = cases[i];
        ReportFixture f;
        f.WriteTolerance("Case.xml", c.tolerance);
        f.SetTag("DOCSettingsFile", "Tolerances/Case.xml");
        f.SetTag("DOCReportTemplate", c.reportType);
        EXPECT_TRUE(f.Generate()) << i;
        EXPECT_EQ(f.generator->GetGlobalPassed(), c.expected) << "case " << i << " " << c.reportType;
        EXPECT_EQ(f.generator->GetChecker() != nullptr, std::string(c.reportType).rfind("QUORVANE", 0) != 0 &&
                                                            std::string(c.reportType).rfind("IDEAllianceDCS", 0) != 0)
            << i;
    }
}

TEST(ReportGenerator, PatchVerdictsWithoutChecker)
{
    struct Case
    {
        const char* reportType;
        std::string extra;
        const char* colours;   // G, Y, R per patch
    };
    const std::vector<Case> cases = {
        // Gray patch 6 (Delta E 3) lies between the gray balance limit 2.5 and the maximum 5.
        {"QUORVANE_DOC", "", "GGGGGYGGGGRG"},
        {"QUORVANE_DOC", "<primaryColorsTotalError>1.8</primaryColorsTotalError>\n<paperWhiteTotalError>0.5</paperWhiteTotalError>\n",
         "RRGGGYGGGRRG"},
        {"IDEAllianceCW_2013", "<primaryColorsTotalError>1.8</primaryColorsTotalError>\n<paperWhiteTotalError>0.5</paperWhiteTotalError>\n",
         "GRGGGYGGGRRG"},
        {"QUORVANE_DOC", "<maximumTotalError>2.8</maximumTotalError>\n", "GGGGGRGGGGRG"},
    };
    for (const Case& c : cases) {
        ReportFixture f;
        f.WriteTolerance("Case.xml", QuorvaneLimits(c.extra));
        f.SetTag("DOCSettingsFile", "Tolerances/Case.xml");
        f.SetTag("DOCReportTemplate", c.reportType);
        ASSERT_TRUE(f.Generate());
        std::string colours;
        for (int i = 0; i < 12; ++i) {
            bool ok = false;
            const std::string colour = f.generator->GetPatchAttribute(i, DOCReport::ePatchWithinTolerance, &ok);
            EXPECT_TRUE(ok);
            colours += colour.empty() ? '?' : colour[0];
        }
        EXPECT_EQ(colours, c.colours) << c.reportType << " " << c.extra;
    }
}

TEST(ReportGenerator, PatchAttributes)
{
    ReportFixture f;
    ASSERT_TRUE(f.Generate());
    const ReportGenerator& g = *f.generator;
    bool ok = false;
    EXPECT_EQ(g.GetPatchAttribute(5, DOCReport::ePatchName, &ok), "P06");
    EXPECT_TRUE(ok);
    EXPECT_EQ(g.GetPatchAttribute(5, DOCReport::ePatchRefL, nullptr), "60.00");
    EXPECT_EQ(g.GetPatchAttribute(5, DOCReport::ePatchRefa, nullptr), "1.00");
    EXPECT_EQ(g.GetPatchAttribute(5, DOCReport::ePatchRefb, nullptr), "0.50");
    EXPECT_EQ(g.GetPatchAttribute(5, DOCReport::ePatchL, nullptr), "57.00");
    EXPECT_EQ(g.GetPatchAttribute(7, DOCReport::ePatchDeltaE, nullptr), "0.25");
    EXPECT_EQ(g.GetPatchAttribute(5, DOCReport::ePatchNone, nullptr), "");
    for (int index : {-1, 12, 1000}) {
        ok = true;
        EXPECT_EQ(g.GetPatchAttribute(index, DOCReport::ePatchWithinTolerance, &ok), "") << index;
        EXPECT_FALSE(ok) << index;
    }
    // The verdict of a patch that has no sets is not a colour; the report words it as
    // not calculated.
    EXPECT_EQ(ReportGenerator::VerdictText(""), "Not calculated");
    EXPECT_EQ(ReportGenerator::VerdictText("YELLOW"), "Passed , above average");
    EXPECT_EQ(ReportGenerator::VerdictText("RED"), "Not Passed");
    EXPECT_EQ(ReportGenerator::VerdictText("GREEN"), "Passed");
    EXPECT_EQ(ReportGenerator::VerdictText("GRAY"), "Not calculated");
}

TEST(ReportGenerator, ErrorDecimalsFollowTheReportType)
{
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"QUORVANE_DOC", "1.58"},
        {"IDEAllianceCW_2013", "1.58"},
        {"", "1.58"},
        {"FOGRA_PSD", "1.6"},
        {"FOGRA_PSD_REL", "1.6"},
        {"FOGRA_PSD_2022", "1.6"},
        {"FOGRA_PSD_2022_Side-by-Side", "1.6"},
        {"FOGRA_PSD_2022_mediarelative", "1.6"},
        {"IDEAllianceG7MasterPassFail-Targeted", "1.6"},
        {"IDEAllianceG7MasterPassFail-Colorspace-Proof", "1.6"},
        {"IDEAllianceG7MasterPassFail-Colorspace-Press", "1.6"},
    };
    for (const auto& c : cases) {
        ReportFixture f;
        if (c.first.empty())
            f.RemoveTag("DOCReportTemplate");
        else
            f.SetTag("DOCReportTemplate", c.first);
        ASSERT_TRUE(f.Generate()) << c.first;
        EXPECT_EQ(f.generator->GetError(DOCReport::eAverageTotal, nullptr), c.second) << c.first;
        EXPECT_EQ(f.generator->GetReportType(), c.first);
    }
    // The older tag is read when the newer one is absent.
    ReportFixture f;
    f.RemoveTag("DOCReportTemplate");
    f.SetTag("DOCReportType", "FOGRA_PSD");
    ASSERT_TRUE(f.Generate());
    EXPECT_EQ(f.generator->GetError(DOCReport::eMaximumTotal, nullptr), "6.0");
    EXPECT_EQ(f.generator->GetError(DOCReport::eGamutcheck, nullptr), "0.0");
}

TEST(ReportGenerator, MediaTypeChoosesTheEvaluationAndTheQuantile)
{
    struct Case
    {
        const char* value;   // nullptr: no tag
        const char* evaluation;
        bool relativeQuantile;
    };
    const std::vector<Case> cases = {
        {"1", "Media Absolute", false},  {"2", "Media Relative", true},   {"3", "Media Undefined", true},
        {nullptr, "Media Absolute", false}, {"matt", "Media Absolute", false}, {" 2", "Media Relative", true},
    };
    for (const Case& c : cases) {
        ReportFixture f;
        if (c.value == nullptr)
            f.RemoveTag("DOCMediaType");
        else
            f.SetTag("DOCMediaType", c.value);
        ASSERT_TRUE(f.Generate());
        const ReportGenerator& g = *f.generator;
        EXPECT_EQ(g.GetEvaluation(nullptr), c.evaluation) << (c.value ? c.value : "none");
        const PatchComparer* comparer = g.GetComparer();
        const double absolute = comparer->GetQuantileAllPatches(0.95f, 0, false);
        const double relative = comparer->GetQuantileAllPatches(0.95f, 0, true);
        // With media type 2 the comparison itself reports relative values everywhere.
        if (g.GetComparer()->GetDocMediaType() != 2) {
            ASSERT_NE(absolute, relative);
        }
        EXPECT_DOUBLE_EQ(g.GetStatistic(DOCReport::eQuantile95), c.relativeQuantile ? relative : absolute)
            << (c.value ? c.value : "none");
    }
}

TEST(ReportGenerator, DateAndTimeFromTheFileName)
{
    ReportFixture f;
    ASSERT_TRUE(f.Generate());
    EXPECT_EQ(f.generator->GetDate(nullptr), "2024-01-31");
    EXPECT_EQ(f.generator->GetTime(nullptr), "14:30:25");
}

TEST(ReportGenerator, DateAndTimeFromTheModificationTime)
{
    ReportFixture f;
    std::filesystem::rename(f.base + ".cxf", f.dir.File("run.cxf"));
    const std::time_t when = 1700000000 + 3600 * 5 + 7;
    utimbuf times{when, when};
    ASSERT_EQ(::utime(f.dir.File("run.cxf").c_str(), &times), 0);
    f.base = f.dir.File("run");
    ASSERT_TRUE(f.Generate());
    std::tm local{};
    ASSERT_NE(::localtime_r(&when, &local), nullptr);
    char date[32];
    char time[32];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    EXPECT_EQ(f.generator->GetDate(nullptr), date);
    EXPECT_EQ(f.generator->GetTime(nullptr), time);
}

TEST(ReportGenerator, GeneralGetters)
{
    ReportFixture f;
    ASSERT_TRUE(f.Generate());
    const ReportGenerator& g = *f.generator;
    bool ok = false;
    EXPECT_EQ(g.GetPrinterName(&ok), "Press 4");
    EXPECT_TRUE(ok);
    EXPECT_EQ(g.GetMediaName(&ok), "Gloss 250");
    EXPECT_TRUE(ok);
    EXPECT_EQ(g.GetCreator(nullptr), "TintlibDOC 1.06 Host 3.2");
    EXPECT_EQ(g.GetDevice(nullptr), "Tintora S2");
    EXPECT_EQ(g.GetMeasurement(nullptr), f.base + ".cxf");
    EXPECT_EQ(g.GetColorDistanceFormula(&ok), "Delta E");
    EXPECT_TRUE(ok);
    EXPECT_EQ(g.GetControlStrip(&ok), "Chart12");
    EXPECT_EQ(g.GetNumPatches(nullptr), "12");
    EXPECT_EQ(g.GetBacking(nullptr), "White Backing");
    EXPECT_EQ(g.getOutputFile(), f.base);

    ReportGenerator bare(nullptr, "", "");
    EXPECT_EQ(bare.GetCreator(nullptr), "TintlibDOC 1.06");
    bare.GetReference(&ok);
    EXPECT_FALSE(ok);
    bare.GetPrinterName(&ok);
    EXPECT_FALSE(ok);
    bare.GetColorDistanceFormula(&ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(bare.GetNumPatches(nullptr), "0");
    EXPECT_EQ(bare.GetNoOfPatches(), 0);
}

TEST(ReportGenerator, ToleranceValuesWithoutChecker)
{
    ReportFixture f;
    f.WriteTolerance("Case.xml", QuorvaneLimits("<paperWhiteTotalLError>0.5</paperWhiteTotalLError>\n"));
    f.SetTag("DOCSettingsFile", "Tolerances/Case.xml");
    ASSERT_TRUE(f.Generate());
    const ReportGenerator& g = *f.generator;
    auto image = [&](int t) { return g.GetToleranceVal(true, static_cast<DOCReport::eErrorTypeQtRpt>(t), nullptr); };
    auto text = [&](int t) { return g.GetToleranceVal(false, static_cast<DOCReport::eErrorTypeQtRpt>(t), nullptr); };
    EXPECT_EQ(image(0), "GREEN");   // 1.58 < 3
    EXPECT_EQ(text(0), "< 3.00");
    EXPECT_EQ(image(1), "RED");     // 6 >= 5
    EXPECT_EQ(image(8), "GREEN");   // 95th percentile 3 < 4
    EXPECT_EQ(text(8), "< 4.00");
    EXPECT_EQ(image(13), "GRAY");   // no IDEAlliance special gray
    EXPECT_EQ(text(13), " 1000.00");
    EXPECT_EQ(image(14), "RED");    // paper white L* 1 >= 0.5
    EXPECT_EQ(text(14), "< 0.00");
    EXPECT_EQ(image(11), "");
    EXPECT_EQ(text(11), " 0.00");
    EXPECT_EQ(image(30), "GRAY");
    EXPECT_EQ(text(43), " 0.00");
}
