// Tests of PatchComparer: pairing of measured patches with reference sets, the colour
// classes, media-relative values, the G7 weighted values, the statistics and the quantile.
#include "ColorDifference.h"
#include "PatchComparer.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "Tintlib.h"
#include "Utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
constexpr char kHorizontal[] = "QUORVANE - Horizontal (default)";
constexpr char kVertical[] = "QUORVANE - Vertical (left - right), ProfileMaker Reference File";

struct PatchDef
{
    std::vector<double> device;   // C, M, Y, K in percent or R, G, B 0-255
    cmsCIELab reference;
    cmsCIELab measured;
};

// A DOC reference, a chart reference and a measured target built in memory. Patch i of the
// references stands at position i of the layout; the measurement of patch i is stored at
// the grid cell that the layout's reading order gives it.
class Chart
{
public:
    Chart(bool cmyk, const std::vector<PatchDef>& patches, int columns, const std::string& info,
          const char* layout = kHorizontal, int docSets = -1, int chartSets = -1)
        : doc(ReferenceFlavour::ReportLibrary), chart(ReferenceFlavour::ReportLibrary),
          target(std::make_unique<Tintora_target>())
    {
        const int n = static_cast<int>(patches.size());
        const int rows = (n + columns - 1) / columns;
        FillReference(doc, cmyk, patches, docSets < 0 ? n : docSets, columns);
        FillReference(chart, cmyk, patches, chartSets < 0 ? n : chartSets, columns);

        target->patchesPerRow = columns;
        target->rowsPerStrip = rows;
        target->stripCount = 1;
        target->patchCount = n;
        std::strncpy(target->layoutName, layout, sizeof target->layoutName - 1);
        std::strncpy(target->infoText, info.c_str(), sizeof target->infoText - 1);
        EXPECT_EQ(Tintora_InitTarget(target.get()), 1);
        const bool verticalOrder = std::string(layout) == kVertical;
        for (int i = 0; i < n; ++i)
        {
            const int row = verticalOrder ? i % rows : i / columns;
            const int column = verticalOrder ? i / rows : i % columns;
            Tintora_patch* p = Tintora_PatchAt(target.get(), 0, row, column);
            EXPECT_NE(p, nullptr);
            if (p == nullptr)
                continue;
            p->L = patches[i].measured.L;
            p->a = patches[i].measured.a;
            p->b = patches[i].measured.b;
        }
    }
    ~Chart() { Tintora_FreeTarget(target.get()); }

    void Compare(PatchComparer& comparer, bool withChart = true)
    {
        comparer.CompareReferenceFileData(&doc, target.get(), withChart ? &chart : nullptr);
    }

    ReferenceFileData doc;
    ReferenceFileData chart;
    std::unique_ptr<Tintora_target> target;

private:
    // The reference's stored rows hold `columns` sets; the layouts read them in order.
    static void FillReference(ReferenceFileData& data, bool cmyk, const std::vector<PatchDef>& patches, int count,
                              int columns)
    {
        data.isCMYK = cmyk;
        data.isRGB = !cmyk;
        data.hasLab = true;
        data.lgoRowLength = columns;
        for (int i = 0; i < count; ++i)
        {
            auto* set = new ReferenceFileSet(&data, i, false);
            if (cmyk)
                set->SetCMYK(patches[i].device.data());
            else
                set->SetRGB(patches[i].device.data());
            const double lab[3] = {patches[i].reference.L, patches[i].reference.a, patches[i].reference.b};
            set->SetLAB(lab);
            data.AppendSet(set);
        }
    }
};

std::string MediaInfo(int type) { return "<DOCMediaType>" + std::to_string(type) + "</DOCMediaType>\n"; }

double DE76(const PatchDef& p) { return ColorDifference::DeltaE(Utils::eCIE1976, p.reference, p.measured); }

std::set<int> Keys(const std::map<int, double>& values)
{
    std::set<int> keys;
    for (const auto& entry : values)
        keys.insert(entry.first);
    return keys;
}

// A CMYK chart touching every colour class (3 x 3 grid).
const std::vector<PatchDef> kCmykPatches = {
    {{0, 0, 0, 0}, {95.0, 0.5, -2.0}, {94.0, 1.0, -1.0}},          // 0 paper white (boundary)
    {{100, 0, 0, 0}, {55.0, -37.0, -50.0}, {53.0, -35.0, -47.0}},  // 1 cyan: primary, G7 CMY solid
    {{50, 40, 40, 0}, {60.0, 1.0, 0.5}, {58.5, 2.5, 2.0}},         // 2 gray, IDEAlliance gray, G7 CMY gray
    {{0, 0, 0, 100}, {16.0, 0.4, 0.8}, {19.0, 1.0, 1.5}},          // 3 black: dark, G7 K gray, G7 K solid
    {{0, 100, 100, 0}, {47.0, 68.0, 48.0}, {46.0, 70.0, 45.0}},    // 4 red: primary, G7 RGB solid (boundary)
    {{75, 66, 66, 0}, {33.0, 0.5, 0.0}, {35.0, 1.5, 1.0}},         // 5 IDEAlliance special gray, G7 CMY gray
    {{0, 0, 0, 75}, {38.0, 0.2, 0.6}, {42.0, 0.5, 1.0}},           // 6 K 75 %: G7 K gray
    {{0, 0, 0, 40}, {70.0, 0.0, 0.3}, {71.5, 0.1, 0.8}},           // 7 K 40 %: G7 K gray
    {{30, 60, 10, 0}, {50.0, 30.0, -20.0}, {51.0, 33.0, -18.0}},   // 8 plain colour
};
}  // namespace

TEST(PatchComparer, ConstructorMarksEveryStatisticUncomputed)
{
    PatchComparer c;
    for (double v : {c.averageDeltaE, c.maximumDeltaE, c.averageDeltaERelative, c.maximumPrimariesDeltaE,
                     c.maximumPrimariesDeltaH, c.maximumPaperWhiteDeltaE, c.averageGrayDeltaE, c.averageGrayDeltaCh,
                     c.maximumGrayDeltaCh, c.maximumGrayDeltaChRelative, c.maximumGrayIdeaDeltaE,
                     c.grayBalanceSpecialDeltaE, c.paperWhiteDeltaL, c.averageWDeltaLstar, c.maximumWDeltaCh,
                     c.averageKSolidDeltaE, c.maximumRGBSolidsDeltaE, c.averageNoBoundaryDeltaE,
                     c.blackPointDifference, c.whitePointDeltaE})
        EXPECT_EQ(v, -1.0);
    EXPECT_EQ(c.referenceWhite.L, 0.0);
    EXPECT_EQ(c.measuredWhite.b, 0.0);
    EXPECT_TRUE(c.GetPatchDeltaE().empty());
}

TEST(PatchComparer, SortsCmykPatchesIntoTheirClasses)
{
    Chart chart(true, kCmykPatches, 3, MediaInfo(1));
    PatchComparer c;
    c.colorDistanceFormula = Utils::eCIE1976;
    chart.Compare(c);
    const auto& p = kCmykPatches;

    ASSERT_EQ(c.deltaE.size(), p.size());
    for (size_t i = 0; i < p.size(); ++i)
    {
        EXPECT_NEAR(c.deltaE[i], DE76(p[i]), 1e-12) << i;
        EXPECT_EQ(c.deltaEAbsolute[i], c.deltaE[i]);
        EXPECT_EQ(c.patchLab[i].L, p[i].measured.L);
        EXPECT_EQ(c.patchRefLab[i].a, p[i].reference.a);
    }
    EXPECT_EQ(c.primariesDeltaE, (std::vector<double>{c.deltaE[1], c.deltaE[4]}));
    EXPECT_EQ(Keys(c.primariesDeltaH), (std::set<int>{1, 4}));
    EXPECT_EQ(c.paperWhiteDeltaE, (std::vector<double>{c.deltaE[0]}));
    EXPECT_EQ(c.grayDeltaE, (std::vector<double>{c.deltaE[2], c.deltaE[5]}));
    EXPECT_EQ(Keys(c.grayDeltaChByPatch), (std::set<int>{2, 5}));
    ASSERT_EQ(c.darkLab.size(), 1u);
    EXPECT_EQ(c.darkLab[0].L, p[3].measured.L);
    EXPECT_EQ(c.grayIdeaDeltaE, (std::vector<double>{c.deltaE[2]}));
    EXPECT_EQ(c.grayBalanceSpecialDeltaE, c.deltaE[5]);
    // Paper white is both a K ramp step (K = 0) and the start of the CMY ramp.
    EXPECT_EQ(Keys(c.wDeltaLstarByPatch), (std::set<int>{0, 2, 3, 5, 6, 7}));
    EXPECT_EQ(Keys(c.wDeltaChByPatch), (std::set<int>{0, 2, 5}));
    EXPECT_EQ(Keys(c.cmySolidsDeltaE), (std::set<int>{1}));
    EXPECT_EQ(Keys(c.rgbSolidsDeltaE), (std::set<int>{4}));
    EXPECT_EQ(Keys(c.kSolidDeltaE), (std::set<int>{3}));
    EXPECT_EQ(Keys(c.noBoundaryDeltaE), (std::set<int>{2, 3, 5, 6, 7, 8}));

    // Gray DeltaCh comes from the zero-substituted colours (patch 5 has b* = 0).
    EXPECT_NEAR(c.getDeltaCh_Grayscale(5), std::hypot(1.5 - 0.5, 1.0 - 0.0001), 1e-12);
    EXPECT_EQ(c.getDeltaCh_Grayscale(8), 0.0);
    EXPECT_EQ(c.GetPatchDeltaH(2), 0.0);
    EXPECT_GT(c.GetPatchDeltaH(4), 0.0);

    // Statistics.
    double sum = 0.0;
    double largest = 0.0;
    for (double v : c.deltaE)
    {
        sum += v;
        largest = std::max(largest, v);
    }
    EXPECT_NEAR(c.averageDeltaE, sum / 9.0, 1e-12);
    EXPECT_EQ(c.maximumDeltaE, largest);
    EXPECT_EQ(c.maximumPrimariesDeltaE, std::max(c.deltaE[1], c.deltaE[4]));
    EXPECT_EQ(c.maximumPaperWhiteDeltaE, c.deltaE[0]);
    EXPECT_NEAR(c.averageGrayDeltaE, (c.deltaE[2] + c.deltaE[5]) / 2.0, 1e-12);
    EXPECT_EQ(c.maximumGrayIdeaDeltaE, c.deltaE[2]);
    EXPECT_EQ(c.maximumKSolidDeltaE, c.deltaE[3]);
    EXPECT_EQ(c.averageCMYSolidsDeltaE, c.deltaE[1]);
    EXPECT_EQ(c.maximumRGBSolidsDeltaE, c.deltaE[4]);
    EXPECT_NEAR(c.averageNoBoundaryDeltaE,
                (c.deltaE[2] + c.deltaE[3] + c.deltaE[5] + c.deltaE[6] + c.deltaE[7] + c.deltaE[8]) / 6.0, 1e-12);
    EXPECT_DOUBLE_EQ(c.blackPointDifference, 3.0);
    EXPECT_EQ(c.whitePointDeltaE, c.deltaE[0]);
    EXPECT_DOUBLE_EQ(c.paperWhiteDeltaL, 1.0);
    EXPECT_DOUBLE_EQ(c.paperWhiteDeltaA, 0.5);
    EXPECT_DOUBLE_EQ(c.paperWhiteDeltaB, 1.0);
    EXPECT_FALSE(c.vertical);
}

TEST(PatchComparer, G7WeightsFollowTheDeviceValue)
{
    Chart chart(true, kCmykPatches, 3, MediaInfo(1));
    PatchComparer c;
    chart.Compare(c);
    const auto& p = kCmykPatches;
    auto dL = [&](int i) { return std::fabs(p[i].measured.L - p[i].reference.L); };
    auto dAB = [&](int i) { return std::hypot(p[i].measured.a - p[i].reference.a, p[i].measured.b - p[i].reference.b); };
    EXPECT_DOUBLE_EQ(c.getWDeltaLStar(3), 0.25 * dL(3));   // K 100 %
    EXPECT_DOUBLE_EQ(c.getWDeltaLStar(6), 0.625 * dL(6));  // K 75 %
    EXPECT_DOUBLE_EQ(c.getWDeltaLStar(7), 1.0 * dL(7));    // K 40 %
    EXPECT_DOUBLE_EQ(c.getWDeltaLStar(2), 1.0 * dL(2));    // CMY gray at C 50 %
    EXPECT_DOUBLE_EQ(c.getWDeltaLStar(5), 0.625 * dL(5));  // CMY gray at C 75 %
    // The weighted DeltaCh uses the colours as given: b* = 0 of patch 5 stays 0.
    EXPECT_DOUBLE_EQ(c.wDeltaCh(5), 0.625 * dAB(5));
    EXPECT_EQ(c.wDeltaCh(3), 0.0);

    const double wl[] = {c.getWDeltaLStar(0), c.getWDeltaLStar(2), c.getWDeltaLStar(3),
                         c.getWDeltaLStar(5), c.getWDeltaLStar(6), c.getWDeltaLStar(7)};
    double sum = 0.0;
    double largest = 0.0;
    for (double v : wl)
    {
        sum += v;
        largest = std::max(largest, v);
    }
    EXPECT_NEAR(c.averageWDeltaLstar, sum / 6.0, 1e-12);
    EXPECT_EQ(c.maximumWDeltaLstar, largest);
}

TEST(PatchComparer, WithoutPaperWhiteEveryRelativeValueIsZero)
{
    std::vector<PatchDef> patches(kCmykPatches.begin() + 1, kCmykPatches.end());
    Chart chart(true, patches, 4, MediaInfo(1));
    PatchComparer c;
    chart.Compare(c);
    for (double v : {c.referenceWhite.L, c.referenceWhite.a, c.referenceWhite.b, c.measuredWhite.L, c.measuredWhite.a,
                     c.measuredWhite.b})
        EXPECT_EQ(v, 0.0);
    ASSERT_EQ(c.deltaERelative.size(), patches.size());
    for (double v : c.deltaERelative)
        EXPECT_EQ(v, 0.0);
    ASSERT_EQ(c.grayDeltaChRelative.size(), 2u);
    for (double v : c.grayDeltaChRelative)
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(c.averageDeltaERelative, 0.0);
    EXPECT_EQ(c.maximumGrayDeltaChRelative, 0.0);
    EXPECT_EQ(c.whitePointDeltaE, -1.0);
    EXPECT_EQ(c.maximumPaperWhiteDeltaE, -1.0);
    EXPECT_EQ(c.paperWhiteDeltaL, -1.0);
    cmsCIELab lab{50.0, 20.0, -10.0};
    c.lab2relativ(&lab, 1);
    EXPECT_EQ(lab.L, 0.0);
    EXPECT_EQ(lab.a, 0.0);
    EXPECT_EQ(lab.b, 0.0);
}

TEST(PatchComparer, TwoPaperWhitesLastForDeltasMeanForWhitePoints)
{
    std::vector<PatchDef> patches = {
        {{0, 0, 0, 0}, {95.0, 0.0, -2.0}, {94.0, 1.0, -1.0}},
        {{0, 0, 0, 0}, {93.0, 1.0, -4.0}, {95.0, 0.5, -1.5}},
        {{100, 0, 0, 0}, {55.0, -37.0, -50.0}, {53.0, -35.0, -47.0}},
        {{0, 0, 0, 100}, {16.0, 0.4, 0.8}, {19.0, 1.0, 1.5}},
    };
    Chart chart(true, patches, 2, MediaInfo(1));
    PatchComparer c;
    chart.Compare(c);
    EXPECT_DOUBLE_EQ(c.paperWhiteDeltaL, 2.0);
    EXPECT_DOUBLE_EQ(c.paperWhiteDeltaA, 0.5);
    EXPECT_DOUBLE_EQ(c.paperWhiteDeltaB, 2.5);
    EXPECT_EQ(c.whitePointDeltaE, c.deltaE[1]);
    EXPECT_EQ(c.maximumPaperWhiteDeltaE, std::max(c.deltaE[0], c.deltaE[1]));
    EXPECT_DOUBLE_EQ(c.referenceWhite.L, 94.0);
    EXPECT_DOUBLE_EQ(c.referenceWhite.a, 0.5);
    EXPECT_DOUBLE_EQ(c.referenceWhite.b, -3.0);
    EXPECT_DOUBLE_EQ(c.measuredWhite.L, 94.5);
    EXPECT_DOUBLE_EQ(c.measuredWhite.a, 0.75);
    EXPECT_DOUBLE_EQ(c.measuredWhite.b, -1.25);
}

TEST(PatchComparer, MediaRelativeTypeReportsRelativeValues)
{
    Chart chart(true, kCmykPatches, 3, "<DOCMedia>Gloss</DOCMedia>\n<DOCMediaType> 2</DOCMediaType>\n");
    PatchComparer c;
    chart.Compare(c);
    EXPECT_EQ(c.GetDocMediaType(), 2);
    ASSERT_EQ(c.deltaE.size(), kCmykPatches.size());
    EXPECT_EQ(c.deltaE, c.deltaERelative);
    EXPECT_NE(c.deltaE, c.deltaEAbsolute);
    // The only paper white is its own white: relative to itself it is the D50 white.
    EXPECT_NEAR(c.deltaERelative[0], 0.0, 1e-9);
    EXPECT_NEAR(c.GetPatchLab()[0].L, 100.0, 1e-9);
    EXPECT_NEAR(c.GetPatchRefLab()[0].a, 0.0, 1e-9);
    for (size_t i = 0; i < kCmykPatches.size(); ++i)
    {
        cmsCIELab measured = kCmykPatches[i].measured;
        cmsCIELab reference = kCmykPatches[i].reference;
        c.lab2relativ(&measured, 1);
        c.lab2relativ(&reference, 0);
        EXPECT_DOUBLE_EQ(c.GetPatchLab()[i].L, measured.L) << i;
        EXPECT_DOUBLE_EQ(c.GetPatchRefLab()[i].b, reference.b) << i;
        EXPECT_NEAR(c.deltaERelative[i], ColorDifference::DeltaE(Utils::eCIEDE2000, reference, measured), 1e-12);
    }
    // Statistics stay absolute except the relative ones.
    EXPECT_EQ(c.maximumPaperWhiteDeltaE, c.deltaEAbsolute[0]);
    EXPECT_GT(c.maximumGrayDeltaChRelative, 0.0);
}

TEST(PatchComparer, MediaTypeTextsWithoutANumberAreAbsolute)
{
    for (const std::string info : {"", "<DOCMediaType>x2</DOCMediaType>", "<DOCMediaType>2", "<DOCMediaType></DOCMediaType>",
                                   "<DOCMediaType>1</DOCMediaType>"})
    {
        Chart chart(true, kCmykPatches, 3, info);
        PatchComparer c;
        chart.Compare(c);
        EXPECT_NE(c.GetDocMediaType(), 2) << info;
        EXPECT_EQ(c.deltaE, c.deltaEAbsolute) << info;
    }
}

TEST(PatchComparer, RgbReferenceFillsNoBoundaryWithEveryPatch)
{
    const std::vector<PatchDef> patches = {
        {{255, 255, 255}, {96.0, 0.0, -1.0}, {95.0, 0.5, 0.0}},   {{255, 0, 0}, {54.0, 80.0, 67.0}, {52.0, 78.0, 65.0}},
        {{128, 128, 128}, {54.0, 0.0, 0.0}, {55.0, 1.0, 1.0}},    {{0, 0, 0}, {5.0, 0.0, 0.0}, {7.0, 0.5, 0.5}},
        {{10, 200, 30}, {70.0, -60.0, 55.0}, {69.0, -58.0, 57.0}}, {{255, 255, 0}, {97.0, -20.0, 94.0}, {96.0, -19.0, 90.0}},
    };
    Chart chart(false, patches, 3, MediaInfo(1));
    PatchComparer c;
    chart.Compare(c);
    EXPECT_EQ(Keys(c.noBoundaryDeltaE), (std::set<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(c.primariesDeltaE, (std::vector<double>{c.deltaE[1]}));
    EXPECT_EQ(c.paperWhiteDeltaE, (std::vector<double>{c.deltaE[0]}));
    EXPECT_EQ(c.grayDeltaE, (std::vector<double>{c.deltaE[2]}));
    EXPECT_EQ(c.darkLab.size(), 1u);
    EXPECT_DOUBLE_EQ(c.blackPointDifference, 2.0);
    EXPECT_TRUE(c.grayIdeaDeltaE.empty());
    EXPECT_TRUE(c.wDeltaLstarByPatch.empty());
    EXPECT_TRUE(c.cmySolidsDeltaE.empty());
    EXPECT_EQ(c.grayBalanceSpecialDeltaE, -1.0);
    EXPECT_EQ(c.averageWDeltaLstar, -1.0);
    EXPECT_EQ(c.maximumKSolidDeltaE, -1.0);
    EXPECT_EQ(c.maximumGrayIdeaDeltaE, -1.0);
}

TEST(PatchComparer, VerticalLayoutPairsByColumns)
{
    // Every measurement is its reference shifted by a patch-specific L* offset.
    std::vector<PatchDef> patches;
    for (int i = 0; i < 6; ++i)
        patches.push_back({{30.0 + i, 60, 10, 0}, {50.0, 10.0, 10.0}, {50.0 + 0.5 * (i + 1), 10.0, 10.0}});
    Chart chart(true, patches, 3, MediaInfo(1), kVertical);
    PatchComparer c;
    c.colorDistanceFormula = Utils::eCIE1976;
    chart.Compare(c);
    EXPECT_TRUE(c.vertical);
    ASSERT_EQ(c.deltaE.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(c.deltaE[i], 0.5 * (i + 1), 1e-12) << i;
}

TEST(PatchComparer, PatchesWithoutSetsAreSkippedEverywhere)
{
    PatchComparer c;
    {
        // The DOC reference lacks the last row (3 of 9 sets).
        Chart chart(true, kCmykPatches, 3, MediaInfo(1), kHorizontal, 6);
        chart.Compare(c);
        EXPECT_EQ(c.deltaE.size(), 6u);
        EXPECT_EQ(c.deltaERelative.size(), 6u);
        EXPECT_EQ(c.patchLab.size(), 6u);
        EXPECT_EQ(Keys(c.wDeltaLstarByPatch), (std::set<int>{0, 2, 3, 5}));
    }
    {
        // The chart reference lacks the last row.
        Chart chart(true, kCmykPatches, 3, MediaInfo(1), kHorizontal, -1, 6);
        chart.Compare(c);
        EXPECT_EQ(c.deltaE.size(), 6u);
        EXPECT_EQ(c.deltaEAbsolute.size(), 6u);
        EXPECT_EQ(Keys(c.noBoundaryDeltaE), (std::set<int>{2, 3, 5}));
    }
    {
        // The target's grid holds only two of the three rows that the references fill.
        Chart chart(true, kCmykPatches, 3, MediaInfo(1));
        chart.target->rowsPerStrip = 2;
        chart.Compare(c);
        chart.target->rowsPerStrip = 3;
        EXPECT_EQ(c.deltaE.size(), 6u);
        EXPECT_EQ(Keys(c.primariesDeltaH), (std::set<int>{1, 4}));
    }
}

TEST(PatchComparer, NullInputsLeaveEmptyListsAndStatistics)
{
    Chart chart(true, kCmykPatches, 3, MediaInfo(1));
    PatchComparer c;
    chart.Compare(c);
    const double average = c.averageDeltaE;
    ASSERT_GT(average, 0.0);
    c.CompareReferenceFileData(nullptr, chart.target.get(), &chart.chart);
    EXPECT_TRUE(c.deltaE.empty());
    EXPECT_TRUE(c.noBoundaryDeltaE.empty());
    EXPECT_EQ(c.averageDeltaE, average);
    c.CompareReferenceFileData(&chart.doc, nullptr, &chart.chart);
    EXPECT_TRUE(c.paperWhiteLab.empty());

    // Without a chart reference nothing is summarised.
    PatchComparer fresh;
    chart.Compare(fresh, false);
    EXPECT_EQ(fresh.deltaE.size(), 9u);
    EXPECT_EQ(fresh.averageDeltaE, -1.0);
}

TEST(PatchComparer, RepeatedComparisonStartsAfresh)
{
    Chart cmyk(true, kCmykPatches, 3, MediaInfo(1));
    const std::vector<PatchDef> rgbPatches = {
        {{10, 200, 30}, {70.0, -60.0, 55.0}, {69.0, -58.0, 57.0}},
        {{128, 128, 128}, {54.0, 0.0, 0.0}, {55.0, 1.0, 1.0}},
    };
    Chart rgb(false, rgbPatches, 2, MediaInfo(1));
    PatchComparer c;
    cmyk.Compare(c);
    ASSERT_GT(c.averageWDeltaLstar, 0.0);
    rgb.Compare(c);
    EXPECT_EQ(c.deltaE.size(), 2u);
    EXPECT_EQ(c.averageWDeltaLstar, -1.0);
    EXPECT_EQ(c.maximumKSolidDeltaE, -1.0);
    EXPECT_EQ(c.whitePointDeltaE, -1.0);
    EXPECT_EQ(c.grayBalanceSpecialDeltaE, -1.0);
    EXPECT_EQ(c.paperWhiteDeltaL, -1.0);
    EXPECT_EQ(c.blackPointDifference, 0.0);
}

TEST(PatchComparer, ComputeAvgAndMaxWritesOnlyRequestedValues)
{
    PatchComparer c;
    std::map<int, double> values = {{3, 1.0}, {1, 4.0}, {7, 2.5}};
    double average = -7.0;
    double maximum = -7.0;
    c.computeAvgAndMax(&values, &average, nullptr);
    EXPECT_DOUBLE_EQ(average, 2.5);
    EXPECT_EQ(maximum, -7.0);
    c.computeAvgAndMax(&values, nullptr, &maximum);
    EXPECT_EQ(maximum, 4.0);
    std::map<int, double> empty;
    c.computeAvgAndMax(&empty, &average, &maximum);
    EXPECT_DOUBLE_EQ(average, 2.5);
    EXPECT_EQ(maximum, 4.0);
}

// ---- GetQuantile ------------------------------------------------------------------------

TEST(PatchComparerQuantile, OneValueIsNotComputed)
{
    PatchComparer c;
    const std::vector<double> one = {3.0};
    EXPECT_EQ(c.GetQuantile(0.95f, 0, &one), -1.0);
    EXPECT_EQ(c.GetQuantile(0.95f, 1, &one), 0.0);
    EXPECT_EQ(c.GetQuantile(0.95f, 2, &one), -1.0);
    const std::vector<double> none;
    EXPECT_EQ(c.GetQuantile(0.95f, 0, &none), -1.0);
}

TEST(PatchComparerQuantile, DistinctValuesGiveTheKthSmallest)
{
    PatchComparer c;
    for (int n : {20, 100})
    {
        // Shuffled distinct values 0.1, 0.2, ...; q = 0.95 gives k = 19 or 95.
        std::vector<double> values;
        for (int i = 0; i < n; ++i)
            values.push_back(0.1 * (((i * 7) % n) + 1));
        const int k = n * 95 / 100;
        EXPECT_NEAR(c.GetQuantile(0.95f, 0, &values), 0.1 * k, 1e-12) << n;
        // Mode 1: the mean of the k smallest values.
        EXPECT_NEAR(c.GetQuantile(0.95f, 1, &values), 0.1 * (k + 1) / 2.0, 1e-12) << n;
        EXPECT_EQ(c.GetQuantile(0.95f, 3, &values), -1.0);
    }
}

TEST(PatchComparerQuantile, EqualValuesNeverReachTheCountAndGiveZero)
{
    PatchComparer c;
    const std::vector<double> equal(20, 2.0);
    EXPECT_EQ(c.GetQuantile(0.95f, 0, &equal), 0.0);
    EXPECT_EQ(c.GetQuantile(0.95f, 1, &equal), 0.0);
}

TEST(PatchComparerQuantile, ListsOfTheComparer)
{
    PatchComparer c;
    for (int i = 0; i < 20; ++i)
    {
        c.deltaE.push_back(1.0 + i);
        c.deltaERelative.push_back(0.5 + i);
        c.noBoundaryDeltaE[100 - i] = 2.0 + i;
    }
    EXPECT_DOUBLE_EQ(c.GetQuantileAllPatches(0.95f, 0, false), 19.0);
    EXPECT_DOUBLE_EQ(c.GetQuantileAllPatches(0.95f, 0, true), 18.5);
    EXPECT_DOUBLE_EQ(c.GetQuantileNoBoundaryColors(0.95f, 0), 20.0);
}
