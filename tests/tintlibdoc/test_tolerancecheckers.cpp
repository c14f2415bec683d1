// Tests of the tolerance checkers: Fogra PSD 2022 groups with their strict and non-strict
// limits, and the four G7 Master Pass/Fail levels with their inherited rules and ok flags.
#include "FograPSD2022ToleranceChecker.h"
#include "IdeAllianceG7MasterToleranceChecker.h"
#include "PatchComparer.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "Tolerances.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace DOCReport;

namespace
{
// Chart sets whose device values put them into the colour classes.
class Sets
{
public:
    Sets() : data(ReferenceFlavour::ReportLibrary)
    {
        data.isCMYK = true;
        paper = Make({0, 0, 0, 0});
        gray = Make({50, 40, 40, 0});            // gray balance, G7 CMY gray
        cyan = Make({100, 0, 0, 0});             // primary, boundary, G7 CMY solid
        red = Make({0, 100, 100, 0});            // primary, boundary, G7 RGB solid
        black = Make({0, 0, 0, 100});            // dark, G7 K gray, G7 K solid
        kHalf = Make({0, 0, 0, 50});             // G7 K gray
        plain = Make({30, 60, 10, 0});           // no class, not a boundary colour
    }
    ReferenceFileSet* paper;
    ReferenceFileSet* gray;
    ReferenceFileSet* cyan;
    ReferenceFileSet* red;
    ReferenceFileSet* black;
    ReferenceFileSet* kHalf;
    ReferenceFileSet* plain;

private:
    ReferenceFileSet* Make(std::vector<double> cmyk)
    {
        auto* set = new ReferenceFileSet(&data, data.GetSetCount(), false);
        set->SetCMYK(cmyk.data());
        data.AppendSet(set);
        return set;
    }
    ReferenceFileData data;
};

// A comparer holding one patch (index 0) with the given per-patch values.
void OnePatch(PatchComparer& c, double dE, double dCh = 0.0, double dH = 0.0)
{
    c.deltaE = {dE};
    c.grayDeltaChByPatch[0] = dCh;
    c.primariesDeltaH[0] = dH;
}

// Sets all comparer statistics that the Fogra values read to distinct values and fills
// the lists of the three 95th percentiles (20 values each, so Q95 = the 19th smallest).
void FillStatistics(PatchComparer& c)
{
    c.maximumPaperWhiteDeltaE = 1.25;
    c.maximumDeltaE = 6.5;
    c.averageDeltaE = 2.25;
    c.maximumGrayDeltaCh = 3.5;
    c.averageGrayDeltaCh = 1.75;
    c.maximumPrimariesDeltaH = 2.75;
    c.maximumPrimariesDeltaE = 4.5;
    c.averageNoBoundaryDeltaE = 1.5;
    c.averageDeltaERelative = 2.0;
    c.maximumGrayDeltaChRelative = 3.0;
    c.whitePointDeltaE = 0.75;
    c.blackPointDifference = 1.0;
    c.deltaE.clear();
    c.deltaERelative.clear();
    c.noBoundaryDeltaE.clear();
    for (int i = 1; i <= 20; ++i)
    {
        c.deltaE.push_back(0.25 * i);           // Q95 4.75
        c.deltaERelative.push_back(0.5 * i);    // Q95 9.5
        c.noBoundaryDeltaE[i] = 0.125 * i;      // Q95 2.375
    }
}

// Report value -> (its statistic after FillStatistics, its limit, fails when equal).
struct FograValueCase
{
    eErrorTypeQtRpt type;
    double statistic;
    float TolerancesData::*limit;
    bool failsWhenEqual;
};
const std::vector<FograValueCase> kFograValues = {
    {eCPSubstrate, 1.25, &TolerancesData::cp_paperWhiteTotalError, false},
    {eCPMaximumTotal, 6.5, &TolerancesData::cp_maximumTotalError, false},
    {eCPAverageTotal, 2.25, &TolerancesData::cp_averageTotalError, false},
    {eCPMaximumGrayscale, 3.5, &TolerancesData::cp_grayBalanceError, false},
    {eCPAverageGrayscale, 1.75, &TolerancesData::cp_averageGrayBalanceError, false},
    {eCPPrimariesH, 2.75, &TolerancesData::cp_primaryColorsDeltaHTotalError, false},
    {eCPPrimaries, 4.5, &TolerancesData::cp_primaryColorsTotalError, false},
    {eVPSubstrate, 1.25, &TolerancesData::vp_paperWhiteTotalError, false},
    {eVPAverageNoBoundaryColors, 1.5, &TolerancesData::vp_averageNoBoundaryColorsError, false},
    {eVPQuantile95NoBoundaryColors, 2.375, &TolerancesData::vp_95thPercentileNoBoundaryColors, false},
    {eVPMaximumGrayscale, 3.5, &TolerancesData::vp_grayBalanceError, false},
    {eVPAverageGrayscale, 1.75, &TolerancesData::vp_averageGrayBalanceError, false},
    {eMASubstrate, 1.25, &TolerancesData::ma_paperWhiteTotalError, true},
    {eMAMaximumTotal, 6.5, &TolerancesData::ma_maximumTotalError, true},
    {eMAAverageTotal, 2.25, &TolerancesData::ma_averageTotalError, true},
    {eMAQuantile95, 4.75, &TolerancesData::ma_95thPercentile, true},
    {eMAMaximumGrayscale, 3.5, &TolerancesData::ma_grayBalanceError, false},
    {eMRAverageTotal, 2.0, &TolerancesData::mr_averageTotalError, true},
    {eMRQuantile95, 9.5, &TolerancesData::mr_95thPercentile, true},
    {eMRMaximumGrayscale, 3.0, &TolerancesData::mr_grayBalanceError, false},
    {eMRWhitepoint, 0.75, &TolerancesData::mr_whitepoint, true},
    {eMRBlackpoint, 1.0, &TolerancesData::mr_blackpoint, true},
};

// Which group flag (0 cp, 1 vp, 2 ma, 3 mr) a Fogra value belongs to.
int GroupOf(int type) { return type <= eCPPrimaries ? 0 : type <= eVPAverageGrayscale ? 1 : type <= eMAMaximumGrayscale ? 2 : 3; }

std::unique_ptr<FograPSD2022ToleranceChecker> OnlyGroup(PatchComparer& c, TolerancesData& t, int group)
{
    return std::make_unique<FograPSD2022ToleranceChecker>(&c, &t, group == 0, group == 1, group == 2, group == 3);
}
}  // namespace

// ---- Fogra PSD 2022 ---------------------------------------------------------------------

TEST(FograPSD2022, PatchMaximumEqualityFailsInMaButPassesInCp)
{
    Sets sets;
    PatchComparer c;
    OnePatch(c, 2.0);
    TolerancesData t(1000.0f);
    t.cp_maximumTotalError = 2.0f;
    t.ma_maximumTotalError = 2.0f;
    EXPECT_EQ(OnlyGroup(c, t, 0)->checkSinglePatch(0, sets.plain), eGreen);
    EXPECT_EQ(OnlyGroup(c, t, 2)->checkSinglePatch(0, sets.plain), eRed);
    t.cp_maximumTotalError = 1.99f;
    EXPECT_EQ(OnlyGroup(c, t, 0)->checkSinglePatch(0, sets.plain), eRed);
}

TEST(FograPSD2022, PatchRulesByClassAndGroup)
{
    Sets sets;
    struct Case
    {
        const char* name;
        int group;
        ReferenceFileSet* Sets::*set;
        double dE, dCh, dH;
        float TolerancesData::*limit;
        float value;
        eToleranceColourQtRpt expected;
    };
    const std::vector<Case> cases = {
        {"cp paper equal", 0, &Sets::paper, 2.0, 0, 0, &TolerancesData::cp_paperWhiteTotalError, 2.0f, eGreen},
        {"cp paper above", 0, &Sets::paper, 2.0, 0, 0, &TolerancesData::cp_paperWhiteTotalError, 1.9f, eRed},
        {"cp paper limit on plain", 0, &Sets::plain, 2.0, 0, 0, &TolerancesData::cp_paperWhiteTotalError, 1.0f, eGreen},
        {"cp gray DeltaCh above", 0, &Sets::gray, 0.5, 2.0, 0, &TolerancesData::cp_grayBalanceError, 1.5f, eRed},
        {"cp primary DeltaE above", 0, &Sets::cyan, 2.0, 0, 0, &TolerancesData::cp_primaryColorsTotalError, 1.5f, eRed},
        {"cp primary DeltaH above", 0, &Sets::red, 0.5, 0, 2.0, &TolerancesData::cp_primaryColorsDeltaHTotalError, 1.5f, eRed},
        {"cp DeltaH limit on gray", 0, &Sets::gray, 0.5, 0, 2.0, &TolerancesData::cp_primaryColorsDeltaHTotalError, 1.5f, eGreen},
        {"vp paper above", 1, &Sets::paper, 2.0, 0, 0, &TolerancesData::vp_paperWhiteTotalError, 1.5f, eRed},
        {"vp gray equal", 1, &Sets::gray, 0.5, 2.0, 0, &TolerancesData::vp_grayBalanceError, 2.0f, eGreen},
        {"vp non-boundary above", 1, &Sets::plain, 2.0, 0, 0, &TolerancesData::vp_95thPercentileNoBoundaryColors, 1.5f, eRed},
        {"vp boundary colour exempt", 1, &Sets::cyan, 2.0, 0, 0, &TolerancesData::vp_95thPercentileNoBoundaryColors, 1.5f, eGreen},
        {"ma paper equal", 2, &Sets::paper, 2.0, 0, 0, &TolerancesData::ma_paperWhiteTotalError, 2.0f, eRed},
        {"ma gray equal", 2, &Sets::gray, 0.5, 2.0, 0, &TolerancesData::ma_grayBalanceError, 2.0f, eGreen},
        {"ma gray above", 2, &Sets::gray, 0.5, 2.0, 0, &TolerancesData::ma_grayBalanceError, 1.9f, eRed},
        {"ma 95th equal", 2, &Sets::plain, 2.0, 0, 0, &TolerancesData::ma_95thPercentile, 2.0f, eRed},
        {"mr paper equal", 3, &Sets::paper, 2.0, 0, 0, &TolerancesData::mr_whitepoint, 2.0f, eRed},
        {"mr white point on plain", 3, &Sets::plain, 2.0, 0, 0, &TolerancesData::mr_whitepoint, 2.0f, eGreen},
        {"mr gray equal", 3, &Sets::gray, 0.5, 2.0, 0, &TolerancesData::mr_grayBalanceError, 2.0f, eGreen},
        {"mr dark equal", 3, &Sets::black, 2.0, 0, 0, &TolerancesData::mr_blackpoint, 2.0f, eRed},
        {"mr black point on plain", 3, &Sets::plain, 2.0, 0, 0, &TolerancesData::mr_blackpoint, 2.0f, eGreen},
        {"mr 95th equal", 3, &Sets::plain, 2.0, 0, 0, &TolerancesData::mr_95thPercentile, 2.0f, eRed},
    };
    for (const Case& k : cases)
    {
        PatchComparer c;
        OnePatch(c, k.dE, k.dCh, k.dH);
        TolerancesData t(1000.0f);
        t.*k.limit = k.value;
        EXPECT_EQ(OnlyGroup(c, t, k.group)->checkSinglePatch(0, sets.*k.set), k.expected) << k.name;
        // The other groups ignore this limit.
        for (int other = 0; other < 4; ++other)
        {
            if (other != k.group)
            {
                EXPECT_EQ(OnlyGroup(c, t, other)->checkSinglePatch(0, sets.*k.set), eGreen) << k.name << " / " << other;
            }
        }
        // All groups together: the failing group decides.
        FograPSD2022ToleranceChecker all(&c, &t);
        EXPECT_EQ(all.checkSinglePatch(0, sets.*k.set), k.expected) << k.name;
    }
}

TEST(FograPSD2022, ValueImagesAtAndAroundTheirLimits)
{
    PatchComparer c;
    FillStatistics(c);
    for (const FograValueCase& v : kFograValues)
    {
        SCOPED_TRACE("value " + std::to_string(v.type));
        TolerancesData t(1000.0f);
        FograPSD2022ToleranceChecker all(&c, &t);
        bool ok = false;
        t.*v.limit = static_cast<float>(v.statistic);
        EXPECT_EQ(all.GetToleranceValImage(v.type, &ok), v.failsWhenEqual ? eRed : eGreen);
        EXPECT_TRUE(ok);
        EXPECT_EQ(all.checkReport(), v.failsWhenEqual ? eRed : eGreen);
        t.*v.limit = static_cast<float>(v.statistic - 0.1);
        EXPECT_EQ(all.GetToleranceValImage(v.type, &ok), eRed);
        EXPECT_EQ(all.checkReport(), eRed);
        t.*v.limit = static_cast<float>(v.statistic + 0.1);
        EXPECT_EQ(all.GetToleranceValImage(v.type, &ok), eGreen);
        EXPECT_EQ(all.checkReport(), eGreen);

        // A failing value whose group is off reads as passed.
        t.*v.limit = 0.0f;
        for (int group = 0; group < 4; ++group)
        {
            const auto checker = OnlyGroup(c, t, group);
            const eToleranceColourQtRpt expected = group == GroupOf(v.type) ? eRed : eGreen;
            EXPECT_EQ(checker->GetToleranceValImage(v.type, &ok), expected) << "group " << group;
            EXPECT_EQ(checker->checkReport(), expected) << "group " << group;
        }
    }
}

TEST(FograPSD2022, MediaRelativeTypeEvaluatesOnlyMr)
{
    PatchComparer c;
    FillStatistics(c);
    TolerancesData t(0.0f);   // every CP, VP and MA statistic fails
    for (const FograValueCase& v : kFograValues)
    {
        if (GroupOf(v.type) == 3)
            t.*v.limit = 100.0f;
    }
    t.cp_maximumTotalError = 1.5f;
    FograPSD2022ToleranceChecker mrOnly(&c, &t, false, false, false, true);
    for (const FograValueCase& v : kFograValues)
    {
        bool imageOk = false;
        bool textOk = false;
        EXPECT_EQ(mrOnly.GetToleranceValImage(v.type, &imageOk), eGreen) << v.type;
        EXPECT_TRUE(imageOk);
        EXPECT_FALSE(mrOnly.GetToleranceValText(v.type, &textOk).empty()) << v.type;
        EXPECT_TRUE(textOk);
    }
    EXPECT_EQ(mrOnly.GetToleranceValText(eCPMaximumTotal, nullptr), "1.5");
    EXPECT_EQ(mrOnly.checkReport(), eGreen);
    Sets sets;
    OnePatch(c, 5.0, 5.0, 5.0);
    EXPECT_EQ(mrOnly.checkSinglePatch(0, sets.paper), eGreen);

    t.mr_whitepoint = 0.75f;
    EXPECT_EQ(mrOnly.GetToleranceValImage(eMRWhitepoint, nullptr), eRed);
    EXPECT_EQ(mrOnly.checkReport(), eRed);
}

TEST(FograPSD2022, GeneralValuesAlwaysPass)
{
    PatchComparer c;
    FillStatistics(c);
    TolerancesData t(0.0f);
    FograPSD2022ToleranceChecker all(&c, &t);
    for (int type = eAverageTotal; type <= eG7KSolids; ++type)
    {
        bool ok = false;
        EXPECT_EQ(all.GetToleranceValImage(static_cast<eErrorTypeQtRpt>(type), &ok), eGreen) << type;
        EXPECT_TRUE(ok);
        ok = true;
        EXPECT_EQ(all.GetToleranceValText(static_cast<eErrorTypeQtRpt>(type), &ok), "") << type;
        EXPECT_FALSE(ok);
    }
}

TEST(FograPSD2022, UncomputedStatisticsPassEveryLimit)
{
    // A CMYK chart without gray patches: average gray DeltaCh -1, maximum 0.
    PatchComparer c;
    c.maximumGrayDeltaCh = 0.0;
    c.maximumGrayDeltaChRelative = 0.0;
    c.maximumDeltaE = 0.0;
    c.blackPointDifference = 0.0;
    TolerancesData t(0.5f);
    for (float TolerancesData::*limit : {&TolerancesData::cp_grayBalanceError, &TolerancesData::vp_grayBalanceError,
                                         &TolerancesData::ma_grayBalanceError, &TolerancesData::mr_grayBalanceError,
                                         &TolerancesData::cp_averageGrayBalanceError,
                                         &TolerancesData::vp_averageGrayBalanceError})
        t.*limit = 0.0f;
    FograPSD2022ToleranceChecker all(&c, &t);
    EXPECT_EQ(all.checkReport(), eGreen);
}

TEST(FograPSD2022, LimitTextsHaveOneDecimal)
{
    PatchComparer c;
    TolerancesData t(2.0f);
    t.cp_paperWhiteTotalError = 1.5f;
    t.mr_blackpoint = 1000.0f;
    t.ma_95thPercentile = 2.25f;
    FograPSD2022ToleranceChecker all(&c, &t);
    EXPECT_EQ(all.GetToleranceValText(eCPSubstrate, nullptr), "1.5");
    EXPECT_EQ(all.GetToleranceValText(eVPSubstrate, nullptr), "2.0");
    EXPECT_EQ(all.GetToleranceValText(eMRBlackpoint, nullptr), "1000.0");
    EXPECT_EQ(all.GetToleranceValText(eMAQuantile95, nullptr), "2.2");
}

TEST(FograPSD2022, PatchWithoutAnEntryHasNoVerdict)
{
    Sets sets;
    PatchComparer c;
    OnePatch(c, 1.0);
    TolerancesData t(1000.0f);
    FograPSD2022ToleranceChecker all(&c, &t);
    EXPECT_EQ(all.checkSinglePatch(1, sets.plain), eNone);
    EXPECT_EQ(all.checkSinglePatch(0, nullptr), eNone);
    EXPECT_EQ(all.checkSinglePatch(0, sets.plain), eGreen);
}

// ---- G7 Master Pass/Fail ----------------------------------------------------------------

TEST(G7MasterPassFail, TargetedReportGreenWithRedPatches)
{
    Sets sets;
    PatchComparer c;
    // Patch 0: CMY gray with a weighted DeltaCh above its limit; patch 1: a passing K step.
    c.deltaE = {1.0, 1.0};
    c.wDeltaLstarByPatch = {{0, 0.5}, {1, 0.5}};
    c.wDeltaChByPatch = {{0, 4.0}};
    c.averageWDeltaLstar = 0.5;
    c.maximumWDeltaLstar = 0.5;
    c.averageWDeltaCh = 1.0;
    c.maximumWDeltaCh = 4.0;
    TolerancesData t(3.0f);
    std::unique_ptr<ToleranceChecker> checker = std::make_unique<G7MPFTargetedToleranceChecker>(&c, &t);
    EXPECT_EQ(checker->checkReport(), eGreen);
    EXPECT_EQ(checker->checkSinglePatch(0, sets.gray), eRed);
    EXPECT_EQ(checker->checkSinglePatch(1, sets.kHalf), eGreen);
    EXPECT_EQ(checker->GetToleranceValImage(eMaximumWDeltaCh, nullptr), eRed);
    EXPECT_EQ(checker->GetToleranceValImage(eAverageWDeltaCh, nullptr), eGreen);
    EXPECT_EQ(checker->colorString(checker->checkSinglePatch(0, sets.gray)), "RED");
}

TEST(G7MasterPassFail, PatchRulesAreInheritedLevelByLevel)
{
    Sets sets;
    struct Case
    {
        const char* name;
        ReferenceFileSet* Sets::*set;
        double dE;
        double wL;
        double wCh;
        eToleranceColourQtRpt grayscale, targeted, proof, press;
    };
    // Limits: weighted 2, solids and paper 3, whole chart 5.
    const std::vector<Case> cases = {
        {"K gray weighted L* above", &Sets::kHalf, 1.0, 2.5, 0.0, eRed, eRed, eRed, eRed},
        {"weighted DeltaCh ignored on K ramp", &Sets::kHalf, 1.0, 1.0, 2.5, eGreen, eGreen, eGreen, eGreen},
        {"CMY gray weighted DeltaCh above", &Sets::gray, 1.0, 1.0, 2.5, eRed, eRed, eRed, eRed},
        {"paper above", &Sets::paper, 3.5, 0.0, 0.0, eGreen, eRed, eRed, eRed},
        {"CMY solid above", &Sets::cyan, 3.5, 0.0, 0.0, eGreen, eRed, eRed, eRed},
        {"RGB solid above", &Sets::red, 3.5, 0.0, 0.0, eGreen, eRed, eRed, eRed},
        {"K solid above", &Sets::black, 3.5, 0.0, 0.0, eGreen, eRed, eRed, eRed},
        {"solid limit on plain colour", &Sets::plain, 3.5, 0.0, 0.0, eGreen, eGreen, eGreen, eGreen},
        {"whole-chart maximum above", &Sets::plain, 5.5, 0.0, 0.0, eGreen, eGreen, eRed, eGreen},
        {"at every limit", &Sets::gray, 3.0, 2.0, 2.0, eGreen, eGreen, eGreen, eGreen},
    };
    TolerancesData t(3.0f);
    t.maximumWDeltaLstarError = 2.0f;
    t.maximumWDeltaChError = 2.0f;
    t.maximumTotalError = 5.0f;
    for (const Case& k : cases)
    {
        PatchComparer c;
        c.deltaE = {k.dE};
        c.wDeltaLstarByPatch[0] = k.wL;
        c.wDeltaChByPatch[0] = k.wCh;
        G7MPFGrayscaleToleranceChecker grayscale(&c, &t);
        G7MPFTargetedToleranceChecker targeted(&c, &t);
        G7MPFColorspaceProofToleranceChecker proof(&c, &t);
        G7MPFColorspacePressToleranceChecker press(&c, &t);
        ReferenceFileSet* set = sets.*k.set;
        EXPECT_EQ(grayscale.checkSinglePatch(0, set), k.grayscale) << k.name;
        EXPECT_EQ(targeted.checkSinglePatch(0, set), k.targeted) << k.name;
        EXPECT_EQ(proof.checkSinglePatch(0, set), k.proof) << k.name;
        EXPECT_EQ(press.checkSinglePatch(0, set), k.press) << k.name;
    }
}

TEST(G7MasterPassFail, ReportVerdictOfEachLevel)
{
    struct Case
    {
        const char* name;
        std::function<void(PatchComparer&)> change;
        eToleranceColourQtRpt grayscale, targeted, proof, press;
    };
    const std::vector<Case> cases = {
        {"nothing computed", [](PatchComparer&) {}, eGreen, eGreen, eGreen, eGreen},
        {"average weighted L*", [](PatchComparer& c) { c.averageWDeltaLstar = 2.5; }, eRed, eRed, eRed, eRed},
        {"maximum weighted L*", [](PatchComparer& c) { c.maximumWDeltaLstar = 2.5; }, eRed, eRed, eRed, eRed},
        {"average weighted DeltaCh", [](PatchComparer& c) { c.averageWDeltaCh = 2.5; }, eRed, eRed, eRed, eRed},
        {"maximum weighted DeltaCh", [](PatchComparer& c) { c.maximumWDeltaCh = 2.5; }, eGreen, eGreen, eGreen, eGreen},
        {"paper white", [](PatchComparer& c) { c.maximumPaperWhiteDeltaE = 3.5; }, eGreen, eRed, eRed, eRed},
        {"CMY solids", [](PatchComparer& c) { c.maximumCMYSolidsDeltaE = 3.5; }, eGreen, eRed, eRed, eRed},
        {"RGB solids", [](PatchComparer& c) { c.maximumRGBSolidsDeltaE = 3.5; }, eGreen, eRed, eRed, eRed},
        {"K solid", [](PatchComparer& c) { c.maximumKSolidDeltaE = 3.5; }, eGreen, eRed, eRed, eRed},
        {"whole-chart maximum", [](PatchComparer& c) { c.maximumDeltaE = 5.5; }, eGreen, eGreen, eRed, eGreen},
        {"whole-chart average", [](PatchComparer& c) { c.averageDeltaE = 5.5; }, eGreen, eGreen, eRed, eRed},
        {"95th percentile",
         [](PatchComparer& c) {
             for (int i = 1; i <= 20; ++i)
                 c.deltaE.push_back(0.5 * i);   // Q95 9.5
         },
         eGreen, eGreen, eRed, eRed},
        {"at every limit",
         [](PatchComparer& c) {
             c.averageWDeltaLstar = c.maximumWDeltaLstar = c.averageWDeltaCh = 2.0;
             c.maximumPaperWhiteDeltaE = c.maximumKSolidDeltaE = 3.0;
             c.maximumDeltaE = c.averageDeltaE = 5.0;
         },
         eGreen, eGreen, eGreen, eGreen},
    };
    TolerancesData t(3.0f);
    t.averageWDeltaLstarError = t.maximumWDeltaLstarError = t.averageWDeltaChError = t.maximumWDeltaChError = 2.0f;
    t.maximumTotalError = t.averageTotalError = 5.0f;
    t.deviationBest90Error = 9.0f;
    for (const Case& k : cases)
    {
        PatchComparer c;
        k.change(c);
        EXPECT_EQ(G7MPFGrayscaleToleranceChecker(&c, &t).checkReport(), k.grayscale) << k.name;
        EXPECT_EQ(G7MPFTargetedToleranceChecker(&c, &t).checkReport(), k.targeted) << k.name;
        EXPECT_EQ(G7MPFColorspaceProofToleranceChecker(&c, &t).checkReport(), k.proof) << k.name;
        EXPECT_EQ(G7MPFColorspacePressToleranceChecker(&c, &t).checkReport(), k.press) << k.name;
    }
}

TEST(G7MasterPassFail, OkFlagsAndTextsOfEachLevel)
{
    // Expected `ok` per type after a text request made with `ok` preset to true and to
    // false ('u' = left untouched), and whether a text comes back.
    struct Expect
    {
        char textOk;   // 't', 'f' or 'u'
        bool hasText;
        bool imageOk;
    };
    auto expectFor = [](int level, int type) -> Expect {
        const bool weighted = type >= eAverageWDeltaLstar && type <= eMaximumWDeltaCh;
        const bool targeted = type == eMedia || type == eG7CMYSolids || type == eG7RGBSolids || type == eG7KSolids;
        const bool proof = type == eAverageTotal || type == eMaximumTotal || type == eQuantile95;
        const bool press = type == eAverageTotal || type == eQuantile95;
        if (weighted)
            return {'t', true, true};
        if (targeted && level >= 1)
            return {level == 1 ? 'u' : 'f', true, true};
        if ((level == 2 && proof) || (level == 3 && press))
            return {'t', true, true};
        return {'f', false, false};
    };
    PatchComparer c;
    TolerancesData t(1.5f);
    G7MPFGrayscaleToleranceChecker grayscale(&c, &t);
    G7MPFTargetedToleranceChecker targeted(&c, &t);
    G7MPFColorspaceProofToleranceChecker proof(&c, &t);
    G7MPFColorspacePressToleranceChecker press(&c, &t);
    ToleranceChecker* levels[] = {&grayscale, &targeted, &proof, &press};
    for (int level = 0; level < 4; ++level)
    {
        for (int type = eAverageTotal; type <= eMRBlackpoint; ++type)
        {
            SCOPED_TRACE("level " + std::to_string(level) + " type " + std::to_string(type));
            const Expect e = expectFor(level, type);
            const auto value = static_cast<eErrorTypeQtRpt>(type);
            for (bool preset : {true, false})
            {
                bool ok = preset;
                const std::string text = levels[level]->GetToleranceValText(value, &ok);
                EXPECT_EQ(ok, e.textOk == 'u' ? preset : e.textOk == 't');
                EXPECT_EQ(text, e.hasText ? "1.5" : "");
            }
            bool ok = !e.imageOk;
            EXPECT_EQ(levels[level]->GetToleranceValImage(value, &ok), eGreen);
            EXPECT_EQ(ok, e.imageOk);
        }
    }
}

TEST(G7MasterPassFail, ValueImagesCompareTheirStatistic)
{
    PatchComparer c;
    c.maximumKSolidDeltaE = 3.5;
    c.averageDeltaE = 2.5;
    c.maximumDeltaE = 1.0;
    TolerancesData t(3.0f);
    t.averageTotalError = 2.0f;
    G7MPFColorspaceProofToleranceChecker proof(&c, &t);
    G7MPFColorspacePressToleranceChecker press(&c, &t);
    EXPECT_EQ(proof.GetToleranceValImage(eG7KSolids, nullptr), eRed);
    EXPECT_EQ(proof.GetToleranceValImage(eG7CMYSolids, nullptr), eGreen);
    EXPECT_EQ(proof.GetToleranceValImage(eAverageTotal, nullptr), eRed);
    EXPECT_EQ(proof.GetToleranceValImage(eMaximumTotal, nullptr), eGreen);
    EXPECT_EQ(press.GetToleranceValImage(eAverageTotal, nullptr), eRed);
    c.maximumDeltaE = 9.0;
    EXPECT_EQ(proof.GetToleranceValImage(eMaximumTotal, nullptr), eRed);
    EXPECT_EQ(press.GetToleranceValImage(eMaximumTotal, nullptr), eGreen);
}

TEST(ToleranceChecker, ColourTexts)
{
    PatchComparer c;
    TolerancesData t(1.0f);
    G7MPFGrayscaleToleranceChecker checker(&c, &t);
    EXPECT_EQ(checker.colorString(eNone), "");
    EXPECT_EQ(checker.colorString(eGreen), "GREEN");
    EXPECT_EQ(checker.colorString(eYellow), "YELLOW");
    EXPECT_EQ(checker.colorString(eRed), "RED");
    EXPECT_EQ(checker.colorString(static_cast<eToleranceColourQtRpt>(7)), "");
}
