// Regression tests of the pairing of measured patches with their reference sets:
// - every patch of a target with several strips is found where the measurement mapping put
//   it, in vertical as in horizontal reading orders (vertical targets used to lose every
//   patch after the first strip);
// - a patch the comparison leaves out gets no value and no verdict, and every later patch
//   keeps its own (the checkers used to judge the next compared patch instead);
// - the media type of a job reads the same for the comparison and the report texts,
//   wherever the job places its "DOCMediaType" element.
#include "FograPSD2022ToleranceChecker.h"
#include "IdeAllianceG7MasterToleranceChecker.h"
#include "Job.h"
#include "Loader.h"
#include "PatchComparer.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "ReportFixture.h"
#include "Tintlib.h"
#include "Tolerances.h"
#include "Utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace DOCReport;

namespace
{
constexpr char kHorizontal[] = "QUORVANE - Horizontal (default)";
constexpr char kHorizontalRightLeft[] = "QUORVANE - Horizontal (right left)";
constexpr char kVertical[] = "QUORVANE - Vertical (left - right), ProfileMaker Reference File";
constexpr char kVerticalRightLeft[] = "QUORVANE - Vertical (right - left)";
constexpr char kMonacoVertical[] = "MonacoProfiler (default, Vertical left - right)";

constexpr double kStep = 0.5;   // L* step between two measurements

// A W x H x S target whose N measurements are mapped onto the grid by the Loader in the
// reading order of its layout, as a report does it, with a DOC and a chart reference of N
// sets. Every reference Lab is (20, 0, 0) and measurement j reads (20 + 0.5 j, 0, 0), so the
// CIE 1976 Delta E of a pair tells which measurement was paired with the reference set.
class MappedChart
{
public:
    MappedChart(const char* layout, int w, int h, int s, int n)
        : doc(ReferenceFlavour::ReportLibrary), chart(ReferenceFlavour::ReportLibrary),
          measurement(ReferenceFlavour::ReportLibrary), target(NewTintoraTarget())
    {
        target->patchesPerRow = w;
        target->rowsPerStrip = h;
        target->stripCount = s;
        target->patchCount = n;
        std::strncpy(target->layoutName, layout, sizeof target->layoutName - 1);
        const bool quorvane = std::strncmp(layout, "QUORVANE", 8) == 0;
        for (int j = 0; j < n; ++j) {
            ReferenceFileSet* set = quorvane ? new QuorvaneReferenceFileSet(&measurement, j, false)
                                             : new ReferenceFileSet(&measurement, j, false);
            const double lab[3] = {20.0 + kStep * j, 0.0, 0.0};
            set->SetLAB(lab);
            double spectrum[ReferenceFileSet::kMaxSpectral];
            for (double& v : spectrum)
                v = 0.001 * j;
            set->SetSpectral(spectrum);
            measurement.AppendSet(set);
        }
        Loader loader(target.get(), &measurement);
        EXPECT_TRUE(loader.Load(layout));
        Fill(doc, n, w);
        Fill(chart, n, w);
    }

    void Compare(PatchComparer& comparer)
    {
        comparer.colorDistanceFormula = Utils::eCIE1976;
        comparer.CompareReferenceFileData(&doc, target.get(), &chart);
    }

    ReferenceFileData doc;
    ReferenceFileData chart;
    ReferenceFileData measurement;
    TintoraTargetPtr target;

private:
    // CMYK sets of one colour outside every class, stored W to a row.
    static void Fill(ReferenceFileData& data, int n, int w)
    {
        data.isCMYK = true;
        data.hasLab = true;
        data.lgoRowLength = w;
        const double cmyk[4] = {30, 60, 10, 0};
        const double lab[3] = {20.0, 0.0, 0.0};
        for (int i = 0; i < n; ++i) {
            auto* set = new ReferenceFileSet(&data, i, false);
            set->SetCMYK(cmyk);
            set->SetLAB(lab);
            data.AppendSet(set);
        }
    }
};

// The measurement paired with list entry `position`; -1 when there is no such entry.
int PairedMeasurement(const PatchComparer& c, std::size_t position)
{
    if (position >= c.deltaE.size())
        return -1;
    return static_cast<int>(std::lround(c.deltaE[position] / kStep));
}

struct GridCase
{
    const char* layout;
    int w, h, s, n;
};

std::string Describe(const GridCase& g)
{
    return std::string(g.layout) + " " + std::to_string(g.w) + "x" + std::to_string(g.h) + "x" +
           std::to_string(g.s) + " n=" + std::to_string(g.n);
}
}  // namespace

// Left-to-right orders store the references in measuring order: reference set i belongs
// with measurement i, in every strip.
TEST(PatchPairing, EveryStripPairsEachPatchWithItsOwnMeasurement)
{
    const std::vector<GridCase> cases = {
        {kHorizontal, 4, 3, 1, 12},    {kHorizontal, 4, 3, 2, 24},   {kHorizontal, 3, 2, 3, 17},
        {kVertical, 4, 3, 1, 12},      {kVertical, 4, 3, 2, 24},     {kVertical, 4, 3, 2, 20},
        {kMonacoVertical, 3, 2, 3, 18}, {"Onyx", 5, 2, 2, 20},
    };
    for (const GridCase& g : cases) {
        MappedChart chart(g.layout, g.w, g.h, g.s, g.n);
        PatchComparer c;
        chart.Compare(c);
        ASSERT_EQ(c.deltaE.size(), static_cast<std::size_t>(g.n)) << Describe(g);
        ASSERT_EQ(c.patchLab.size(), static_cast<std::size_t>(g.n)) << Describe(g);
        for (int i = 0; i < g.n; ++i) {
            EXPECT_EQ(c.ListPosition(i), i) << Describe(g) << " patch " << i;
            EXPECT_EQ(PairedMeasurement(c, static_cast<std::size_t>(i)), i) << Describe(g) << " patch " << i;
            EXPECT_DOUBLE_EQ(c.patchLab[static_cast<std::size_t>(i)].L, 20.0 + kStep * i) << Describe(g);
        }
        EXPECT_NEAR(c.maximumDeltaE, kStep * (g.n - 1), 1e-9) << Describe(g);
    }
}

// Right-to-left orders: every patch is compared, and each further strip pairs its patches
// exactly as the first strip does.
TEST(PatchPairing, RightToLeftStripsRepeatTheFirstStrip)
{
    const std::vector<GridCase> cases = {
        {kVerticalRightLeft, 3, 2, 3, 18},
        {kHorizontalRightLeft, 3, 2, 3, 18},
    };
    for (const GridCase& g : cases) {
        MappedChart chart(g.layout, g.w, g.h, g.s, g.n);
        PatchComparer c;
        chart.Compare(c);
        ASSERT_EQ(c.deltaE.size(), static_cast<std::size_t>(g.n)) << Describe(g);
        const int perStrip = g.w * g.h;
        for (int i = perStrip; i < g.n; ++i)
            EXPECT_EQ(PairedMeasurement(c, static_cast<std::size_t>(i)),
                      PairedMeasurement(c, static_cast<std::size_t>(i - perStrip)) + perStrip)
                << Describe(g) << " patch " << i;
    }
}

// The report shows the same values, verdicts and spectra for the fixture chart whether it
// is one horizontal strip of 4 x 3 or two vertical strips of 2 x 3: both orders put
// measurement i beside reference set i.
TEST(PatchPairing, ReportOfTwoVerticalStripsMatchesOneHorizontalStrip)
{
    for (const char* tolerance : {"QuorvaneDOC.xml", "FograPSD2022.xml"}) {
        const char* reportType = std::strcmp(tolerance, "QuorvaneDOC.xml") == 0 ? "QUORVANE_DOC" : "FOGRA_PSD_2022";
        ReportFixture horizontal;
        horizontal.SetTag("DOCSettingsFile", std::string("Tolerances/") + tolerance);
        horizontal.SetTag("DOCReportTemplate", reportType);
        ASSERT_TRUE(horizontal.Generate());
        ReportFixture vertical;
        vertical.SetTag("DOCSettingsFile", std::string("Tolerances/") + tolerance);
        vertical.SetTag("DOCReportTemplate", reportType);
        vertical.layout = kVertical;
        vertical.grid = "2 3 12 2";
        ASSERT_TRUE(vertical.Generate());

        const ReportGenerator& h = *horizontal.generator;
        const ReportGenerator& v = *vertical.generator;
        ASSERT_EQ(v.GetComparer()->GetPatchDeltaE().size(), 12u) << tolerance;
        for (int i = 0; i < 12; ++i) {
            for (int a = ePatchName; a <= ePatchWithinTolerance; ++a) {
                const auto attribute = static_cast<ePatchAttributeQtRpt>(a);
                bool hOk = false;
                bool vOk = false;
                const std::string hValue = h.GetPatchAttribute(i, attribute, &hOk);
                EXPECT_EQ(v.GetPatchAttribute(i, attribute, &vOk), hValue)
                    << tolerance << " patch " << i << " attribute " << a;
                EXPECT_EQ(vOk, hOk) << tolerance << " patch " << i << " attribute " << a;
            }
            double hSpectrum[41];
            double vSpectrum[41];
            ASSERT_TRUE(h.GetPatchSpectrum(i, hSpectrum));
            ASSERT_TRUE(v.GetPatchSpectrum(i, vSpectrum)) << tolerance << " patch " << i;
            for (int k = 0; k < 41; ++k)
                EXPECT_DOUBLE_EQ(vSpectrum[k], hSpectrum[k]) << tolerance << " patch " << i;
        }
        EXPECT_EQ(v.GetGlobalPassed(), h.GetGlobalPassed()) << tolerance;
        EXPECT_EQ(v.GetError(eMaximumTotal, nullptr), h.GetError(eMaximumTotal, nullptr)) << tolerance;
    }
}

namespace
{
// A 3 x 3 horizontal chart whose middle grid row is missing, so patches 3, 4 and 5 cannot
// be compared. Patch 6 (after the gap) is far off its reference, every other patch close.
class ChartWithGap
{
public:
    ChartWithGap() : chart(kHorizontal, 3, 3, 1, 9)
    {
        for (int c = 0; c < 3; ++c) {
            Tintora_patch* p = Tintora_PatchAt(chart.target.get(), 0, 2, c);
            p->L = 20.0 + (c == 0 ? 8.0 : 1.0);   // patch 6: Delta E 8, patches 7 and 8: 1
        }
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                Tintora_PatchAt(chart.target.get(), 0, r, c)->L = 21.0;
        // The row table keeps its allocation for the release; only the look-up misses it.
        missingRow = chart.target->rows[1];
        chart.target->rows[1] = nullptr;
        chart.Compare(comparer);
    }
    ~ChartWithGap() { chart.target->rows[1] = missingRow; }

    MappedChart chart;
    PatchComparer comparer;
    Tintora_patch* missingRow = nullptr;
};
}  // namespace

TEST(PatchPairing, SkippedPatchHasNoListPositionAndShiftsNoOther)
{
    ChartWithGap g;
    const PatchComparer& c = g.comparer;
    ASSERT_EQ(c.deltaE.size(), 6u);
    const std::vector<int> expected = {0, 1, 2, -1, -1, -1, 3, 4, 5};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(c.ListPosition(i), expected[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(c.ListPosition(-1), -1);
    EXPECT_EQ(c.ListPosition(9), -1);
    double dE = 0.0;
    EXPECT_TRUE(c.PatchDeltaE(6, dE));
    EXPECT_DOUBLE_EQ(dE, 8.0);
    EXPECT_FALSE(c.PatchDeltaE(3, dE));
}

TEST(PatchPairing, CheckersJudgeEachPatchByItsOwnDeltaE)
{
    ChartWithGap g;
    ReferenceFileSet* plain = g.chart.chart.GetSet(0);
    TolerancesData t(1000.0f);
    t.cp_maximumTotalError = 5.0f;
    t.maximumTotalError = 5.0f;
    FograPSD2022ToleranceChecker fogra(&g.comparer, &t, true, false, false, false);
    G7MPFGrayscaleToleranceChecker grayscale(&g.comparer, &t);
    G7MPFTargetedToleranceChecker targeted(&g.comparer, &t);
    G7MPFColorspaceProofToleranceChecker proof(&g.comparer, &t);
    G7MPFColorspacePressToleranceChecker press(&g.comparer, &t);
    struct Case
    {
        int index;
        eToleranceColourQtRpt fogra, grayscale, targeted, proof, press;
    };
    const std::vector<Case> cases = {
        {0, eGreen, eGreen, eGreen, eGreen, eGreen},
        {3, eNone, eNone, eNone, eNone, eNone},   // skipped: not calculated
        {5, eNone, eNone, eNone, eNone, eNone},
        {6, eRed, eGreen, eGreen, eRed, eGreen},  // its own Delta E of 8
        {8, eGreen, eGreen, eGreen, eGreen, eGreen},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(fogra.checkSinglePatch(k.index, plain), k.fogra) << k.index;
        EXPECT_EQ(grayscale.checkSinglePatch(k.index, plain), k.grayscale) << k.index;
        EXPECT_EQ(targeted.checkSinglePatch(k.index, plain), k.targeted) << k.index;
        EXPECT_EQ(proof.checkSinglePatch(k.index, plain), k.proof) << k.index;
        EXPECT_EQ(press.checkSinglePatch(k.index, plain), k.press) << k.index;
    }
    EXPECT_EQ(ReportGenerator::VerdictText(fogra.colorString(fogra.checkSinglePatch(3, plain))), "Not calculated");
}

// "DOCMediaType" placed before the measurement reaches the target's information text and
// the job; placed after it, only the job. The comparison and the report texts agree in both.
TEST(PatchPairing, MediaTypeReadsTheSameBeforeAndAfterTheMeasurement)
{
    struct Case
    {
        const char* before;   // nullptr: no element before the measurement
        const char* after;    // nullptr: none after it
        int computed;         // media type of the comparison
        const char* evaluation;
    };
    const std::vector<Case> cases = {
        {"2", nullptr, 2, "Media Relative"},   {nullptr, "2", 2, "Media Relative"},
        {"1", nullptr, 1, "Media Absolute"},   {nullptr, "1", 1, "Media Absolute"},
        {"1", "2", 1, "Media Absolute"},       {"2", "1", 2, "Media Relative"},
        {nullptr, nullptr, 1, "Media Absolute"},
    };
    for (const Case& k : cases) {
        const std::string name = std::string(k.before ? k.before : "-") + "/" + (k.after ? k.after : "-");
        ReportFixture f;
        f.RemoveTag("DOCMediaType");
        if (k.before != nullptr)
            f.SetTag("DOCMediaType", k.before);
        if (k.after != nullptr)
            f.tagsAfterTarget.emplace_back("DOCMediaType", k.after);
        ASSERT_TRUE(f.Generate()) << name;
        const ReportGenerator& g = *f.generator;
        const PatchComparer& c = *g.GetComparer();
        EXPECT_EQ(c.GetDocMediaType() == 2, k.computed == 2) << name;
        EXPECT_EQ(g.GetEvaluation(nullptr), k.evaluation) << name;
        EXPECT_EQ(c.deltaE == c.deltaERelative, k.computed == 2) << name;
    }
}
