// The patch grid: descriptions and display colours, tooltips, separators, auto-positioning
// borders, identities and the painting of one page.
#include "PainterTestSupport.h"
#include "targetpatchgrid.h"

#include <QPainter>

#include <cmath>

using namespace paintertest;

namespace {

const auto *const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// A one-page grid with the given columns and rows, 5 mm patches, 1 mm gaps, 10 px/mm.
std::unique_ptr<TargetPatchGrid> makeGrid(int columns, int rows, int pages = 1)
{
    auto grid = std::make_unique<TargetPatchGrid>();
    grid->create(pages, columns, rows);
    grid->setPatchSize(5.0, 5.0);
    grid->setGap(1.0, 1.0);
    grid->setScale(10.0);
    return grid;
}

TEST(TargetPatchGrid, CreateAppendsFreshPatchesAndIgnoresEmptyProducts)
{
    TargetPatchGrid grid;
    grid.create(2, 3, 4);
    ASSERT_EQ(grid.patchCount(), 24);
    EXPECT_EQ(grid.patches[5]->data.dataText, QStringLiteral("new"));
    EXPECT_EQ(grid.patches[5]->data.color, QColor(Qt::transparent));
    EXPECT_FALSE(grid.patches[5]->hasTooltip());
    TargetPatchGrid none;
    none.create(0, 3, 4);
    none.create(1, -3, 4);
    EXPECT_EQ(none.patchCount(), 0);
    EXPECT_EQ(TargetPatch().data.color, QColor(245, 245, 245));
}

TEST(TargetPatchGrid, PatchAtUsesTheFlatIndexAcrossPages)
{
    auto grid = makeGrid(3, 2, 2);
    EXPECT_EQ(grid->patchAt(0, 0, 2), grid->patches[6].get());
    EXPECT_EQ(grid->patchAt(2, 1, 2), grid->patches[11].get());
    // Left of column 0 is the last patch of the row before.
    EXPECT_EQ(grid->patchAt(-1, 1, 1), grid->patches[2].get());
    EXPECT_EQ(grid->patchAt(0, 0, 3), nullptr);
    EXPECT_EQ(grid->patchAt(-1, 0, 1), nullptr);
}

TEST(TargetPatchGrid, DescribesEveryReferenceKind)
{
    auto rgb = rgbReference();
    EXPECT_EQ(TargetPatchGrid::describeSet(*addRGB(*rgb, 255, 128, 0)).dataText, QStringLiteral("RGB: (255,128,0)"));
    EXPECT_EQ(TargetPatchGrid::describeSet(*addRGB(*rgb, 255, 128.7, 0)).color, QColor(255, 128, 0));
    EXPECT_FALSE(TargetPatchGrid::describeSet(*addRGB(*rgb, 256, 0, 0)).color.isValid());
    EXPECT_FALSE(TargetPatchGrid::describeSet(*addRGB(*rgb, UnsetValue(), 0, 0)).color.isValid());

    auto cmyk2 = cmykReference(2);
    auto *set = addCMYK(*cmyk2, 100, 0, 0, 0);
    const double extra[2] = {40, 0};
    set->SetNColor(extra);
    const TargetPatchData plus = TargetPatchGrid::describeSet(*set);
    EXPECT_EQ(plus.dataText, QStringLiteral("CMYK+2: (100.0,0.0,0.0,0.0 + 40.00,0.00)"));
    EXPECT_TRUE(plus.color.isValid());

    auto cmyk = cmykReference();
    const TargetPatchData cyan = TargetPatchGrid::describeSet(*addCMYK(*cmyk, 100, 0, 0, 0));
    EXPECT_EQ(cyan.dataText, QStringLiteral("CMYK: (100.0,0.0,0.0,0.0)"));
    ASSERT_TRUE(cyan.color.isValid());
    EXPECT_LT(cyan.color.red(), cyan.color.blue()) << "cyan ink shows as a cyan colour";
    const TargetPatchData paper = TargetPatchGrid::describeSet(*addCMYK(*cmyk, 0, 0, 0, 0));
    const TargetPatchData black = TargetPatchGrid::describeSet(*addCMYK(*cmyk, 0, 0, 0, 100));
    EXPECT_GT(paper.color.lightness(), black.color.lightness() + 100);

    ReferenceFileData lab;
    lab.hasLab = true;
    auto *labSet = new ReferenceFileSet(&lab, 0, false);
    const double labValues[3] = {52.5, -10.3, 4.0};
    labSet->SetLAB(labValues);
    lab.AppendSet(labSet);
    const TargetPatchData labData = TargetPatchGrid::describeSet(*labSet);
    EXPECT_EQ(labData.dataText, QStringLiteral("Lab: (52.5,-10.3,4.0)"));
    EXPECT_TRUE(labData.color.isValid());

    ReferenceFileData xyz;
    xyz.hasXYZ = true;
    auto *xyzSet = new ReferenceFileSet(&xyz, 0, false);
    const double xyzValues[3] = {41.24, 21.26, 1.93};
    xyzSet->SetXYZ(xyzValues);
    xyz.AppendSet(xyzSet);
    const TargetPatchData xyzData = TargetPatchGrid::describeSet(*xyzSet);
    EXPECT_EQ(xyzData.dataText, QStringLiteral("XYZ: (41.24,21.26,1.93)"));
    ASSERT_TRUE(xyzData.color.isValid());
    EXPECT_GT(xyzData.color.red(), 200) << "the XYZ of sRGB red shows red";

    ReferenceFileData gray;
    gray.hasGray = true;
    auto *graySet = new ReferenceFileSet(&gray, 0, false);
    graySet->SetGray(0.5);
    const double grayRGB[3] = {128, 128, 128};
    graySet->SetRGB(grayRGB);
    gray.AppendSet(graySet);
    const TargetPatchData grayData = TargetPatchGrid::describeSet(*graySet);
    EXPECT_EQ(grayData.dataText, QStringLiteral("GRAY: (0.500)"));
    EXPECT_EQ(grayData.color, QColor(128, 128, 128));

    auto ncolor = std::make_unique<ReferenceFileData>();
    ncolor->extraChannelCount = 3;
    ncolor->colorantLab = {LabTriple{55, -37, -50}, LabTriple{48, 74, -3}, LabTriple{89, -5, 93}};
    ncolor->InitSpectralModel(spectralLibraryPath());
    auto *nSet = new ReferenceFileSet(ncolor.get(), 0, false);
    const double inks[3] = {12.5, 0, 100};
    nSet->SetNColor(inks);
    ncolor->AppendSet(nSet);
    const TargetPatchData nData = TargetPatchGrid::describeSet(*nSet);
    EXPECT_EQ(nData.dataText, QStringLiteral("NColor: (12.50,0.00,100.00)"));
    EXPECT_TRUE(nData.color.isValid());
}

TEST(TargetPatchGrid, CmykWithoutDisplayModelKeepsAnInvalidColour)
{
    ReferenceFileData data;
    data.isCMYK = true;
    const TargetPatchData d = TargetPatchGrid::describeSet(*addCMYK(data, 10, 20, 30, 40));
    EXPECT_FALSE(d.color.isValid());
    EXPECT_EQ(d.dataText, QStringLiteral("CMYK: (10.0,20.0,30.0,40.0)"));
}

TEST(DisplayColourCache, RemembersMixturesUntilTheModelChanges)
{
    auto cmyk = cmykReference();
    ReferenceFileSet *set = addCMYK(*cmyk, 100, 0, 0, 0);
    DisplayColourCache cache;
    const QColor direct = TargetPatchGrid::describeSet(*set).color;
    EXPECT_EQ(TargetPatchGrid::describeSet(*set, &cache).color, direct);
    EXPECT_EQ(TargetPatchGrid::describeSet(*set, &cache).color, direct);
    EXPECT_EQ(cache.size(), 1u);

    // A new cyan primary (as the channel colour dialog would set it) must show at once.
    cmyk->colorantLab[0] = LabTriple{48.0, 74.0, -3.0};
    cmyk->InitSpectralModel(spectralLibraryPath());
    cache.prepare(*cmyk);
    EXPECT_EQ(cache.size(), 0u);
    const QColor changed = TargetPatchGrid::describeSet(*set, &cache).color;
    EXPECT_EQ(changed, TargetPatchGrid::describeSet(*set).color);
    EXPECT_NE(changed, direct);

    // Another reference never gets the colours of the first.
    auto other = cmykReference();
    ReferenceFileSet *otherSet = addCMYK(*other, 100, 0, 0, 0);
    EXPECT_EQ(TargetPatchGrid::describeSet(*otherSet, &cache).color, direct);
}

TEST(TargetPatchGrid, TooltipFollowsIdNameAndData)
{
    auto data = rgbReference();
    auto grid = makeGrid(4, 2);
    ReferenceFileSet *set = addRGB(*data, 255, 0, 0, 7);
    grid->placeSet(set, 1, 0);
    EXPECT_EQ(grid->tooltipAt(1, 1, 0), QStringLiteral("Reference ID 7\n\n\nReference Data RGB: (255,0,0)"));
    EXPECT_TRUE(grid->patchAt(1, 0, 1)->hasTooltip());

    set->SetOldName("A7");
    grid->placeSet(set, 1, 0);
    EXPECT_EQ(grid->tooltipAt(1, 1, 0), QStringLiteral("Reference ID 7\nReference Name A7\n\nReference Data RGB: (255,0,0)"));

    // No ID and no name: the data alone, without leading breaks.
    ReferenceFileSet *anonymous = addRGB(*data, 1, 2, 3);
    grid->placeSet(anonymous, 2, 0);
    EXPECT_EQ(grid->tooltipAt(1, 2, 0), QStringLiteral("Reference Data RGB: (1,2,3)"));

    // Without a set the patch's own name is used.
    TargetPatch *empty = grid->patchAt(3, 1, 1);
    empty->name = QStringLiteral("spare");
    empty->data.dataText.clear();
    empty->rebuildTooltip();
    EXPECT_EQ(empty->tooltip(), QStringLiteral("Reference Name spare"));

    EXPECT_TRUE(grid->tooltipAt(1, 0, 0).isEmpty()) << "fresh slot";
    EXPECT_TRUE(grid->tooltipAt(2, 0, 0).isEmpty()) << "beyond the list";
}

TEST(TargetPatchGrid, PlacementBeyondTheListOnlySetsOverflow)
{
    auto data = rgbReference();
    auto grid = makeGrid(2, 2);
    grid->placeSet(addRGB(*data, 1, 1, 1), 0, 2);
    EXPECT_TRUE(grid->overflow);
    for (const auto &patch : grid->patches)
        EXPECT_EQ(patch->set, nullptr);
}

struct SeparatorCase
{
    QColor left;
    QColor right;
    bool expected;
};

class SeparatorDecision : public ::testing::TestWithParam<SeparatorCase>
{
};

TEST_P(SeparatorDecision, LightSimilarNeighboursAreSeparated)
{
    const SeparatorCase c = GetParam();
    auto data = rgbReference();
    for (bool mirrored : {false, true}) {
        auto grid = makeGrid(2, 1);
        grid->setBlackWhiteSeparators(true);
        ReferenceFileSet *a = addRGB(*data, c.left.red(), c.left.green(), c.left.blue());
        ReferenceFileSet *b = addRGB(*data, c.right.red(), c.right.green(), c.right.blue());
        if (!mirrored) {
            grid->placeSet(a, 0, 0);
            grid->markSeparator(0, 0, false);
            grid->placeSet(b, 1, 0);
            grid->markSeparator(1, 0, false);
        } else {
            // Mirrored placement runs right to left; the neighbour is on the right.
            grid->placeSet(b, 1, 0);
            grid->markSeparator(1, 0, true);
            grid->placeSet(a, 0, 0);
            grid->markSeparator(0, 0, true);
        }
        EXPECT_EQ(grid->patches[0]->separator, c.expected) << "mirrored " << mirrored;
        EXPECT_FALSE(grid->patches[1]->separator) << "mirrored " << mirrored;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Colours, SeparatorDecision,
    ::testing::Values(SeparatorCase{QColor(240, 240, 240), QColor(250, 230, 245), true},
                      SeparatorCase{QColor(250, 230, 245), QColor(240, 240, 240), true},
                      SeparatorCase{QColor(240, 240, 240), QColor(200, 240, 240), false},
                      SeparatorCase{QColor(128, 255, 255), QColor(128, 255, 255), false},
                      SeparatorCase{QColor(255, 255, 255), QColor(226, 226, 226), true},
                      SeparatorCase{QColor(255, 255, 255), QColor(225, 255, 255), false}));

TEST(TargetPatchGrid, SeparatorOnlyWhenSwitchedOnAndNotAtTheOuterColumn)
{
    auto data = rgbReference();
    auto grid = makeGrid(2, 1);
    grid->placeSet(addRGB(*data, 250, 250, 250), 0, 0);
    grid->placeSet(addRGB(*data, 250, 250, 250), 1, 0);
    grid->markSeparator(1, 0, false);
    EXPECT_FALSE(grid->patches[0]->separator) << "switched off";
    grid->setBlackWhiteSeparators(true);
    grid->markSeparator(0, 0, false);
    grid->markSeparator(1, 0, true);
    EXPECT_FALSE(grid->patches[0]->separator);
    EXPECT_FALSE(grid->patches[1]->separator);
    grid->markSeparator(1, 0, false);
    EXPECT_TRUE(grid->patches[0]->separator);
}

TEST(TargetPatchGrid, PatchWithoutSetCountsAsWhite)
{
    auto data = rgbReference();
    auto grid = makeGrid(2, 1);
    grid->setBlackWhiteSeparators(true);
    // The neighbour slot has no set; a light patch beside it is separated from it.
    grid->placeSet(addRGB(*data, 240, 245, 250), 1, 0);
    grid->markSeparator(1, 0, false);
    EXPECT_TRUE(grid->patches[0]->separator);
    // The same with a dark patch is not.
    auto dark = makeGrid(2, 1);
    dark->setBlackWhiteSeparators(true);
    dark->placeSet(addRGB(*data, 20, 245, 250), 1, 0);
    dark->markSeparator(1, 0, false);
    EXPECT_FALSE(dark->patches[0]->separator);
}

TEST(TargetPatchGrid, BorderNeedsALightPatchWithASimilarNeighbour)
{
    auto data = rgbReference();
    auto grid = makeGrid(3, 3);
    const QColor colours[9] = {QColor(30, 30, 30),    QColor(30, 30, 30),    QColor(30, 30, 30),
                               QColor(30, 30, 30),    QColor(250, 250, 250), QColor(30, 30, 30),
                               QColor(128, 255, 255), QColor(128, 255, 255), QColor(235, 240, 245)};
    for (int i = 0; i < 9; ++i)
        grid->placeSet(addRGB(*data, colours[i].red(), colours[i].green(), colours[i].blue()), i % 3, i / 3);
    EXPECT_FALSE(grid->hasBorder(1, 1, 1)) << "light centre among dark neighbours only";
    EXPECT_FALSE(grid->hasBorder(1, 2, 0)) << "red below 129 never bordered";
    EXPECT_FALSE(grid->hasBorder(1, 2, 1)) << "red below 129 never bordered";
    EXPECT_FALSE(grid->hasBorder(1, 2, 2)) << "the similar centre is only diagonal";
    EXPECT_FALSE(grid->hasBorder(1, 0, 0)) << "dark";
    EXPECT_FALSE(grid->hasBorder(2, 0, 0)) << "no patch";

    // The centre becomes bordered as soon as one neighbour is similar.
    grid->placeSet(addRGB(*data, 245, 245, 250), 2, 1);
    EXPECT_TRUE(grid->hasBorder(1, 1, 1));
    EXPECT_TRUE(grid->hasBorder(1, 2, 2)) << "now the patch above is similar";
}

TEST(TargetPatchGrid, BorderSimilarityIsDeltaE76Below30)
{
    auto data = rgbReference();
    auto grid = makeGrid(2, 1);
    grid->placeSet(addRGB(*data, 255, 255, 255), 0, 0);
    // Far apart in ΔE but each component within 29 of the other: a separator case, not a
    // border case. ΔE of white and (255, 255, 170) is well over 30.
    grid->placeSet(addRGB(*data, 255, 255, 170), 1, 0);
    EXPECT_FALSE(grid->hasBorder(1, 0, 0));
    grid->placeSet(addRGB(*data, 255, 255, 235), 1, 0);
    EXPECT_TRUE(grid->hasBorder(1, 0, 0));
}

TEST(TargetPatchGrid, AssignsIdsAndNamesAcrossPages)
{
    auto data = rgbReference();
    auto grid = makeGrid(26, 2, 2);
    const int indices[] = {0, 25, 26, 51, 52, 103};
    for (int i : indices) {
        ReferenceFileSet *set = addRGB(*data, 10, 20, 30, 500 + i);
        set->SetOldName("own");
        grid->placeSet(set, i % 26, i / 26);
    }
    grid->assignIdsAndNames(true, true);
    const struct
    {
        int index;
        const char *name;
    } expected[] = {{0, "1A1"}, {25, "1A26"}, {26, "1B1"}, {51, "1B26"}, {52, "2A1"}, {103, "2B26"}};
    for (const auto &e : expected) {
        const ReferenceFileSet *set = grid->patches[static_cast<size_t>(e.index)]->set;
        ASSERT_NE(set, nullptr);
        EXPECT_STREQ(set->GetName(), e.name);
        EXPECT_EQ(set->GetIndex(), e.index + 1);
    }
    EXPECT_EQ(grid->tooltipAt(1, 0, 1), QStringLiteral("Reference ID 27\nReference Name 1B1\n\nReference Data RGB: (10,20,30)"));

    grid->assignIdsAndNames(false, false);
    const ReferenceFileSet *set = grid->patches[26]->set;
    EXPECT_EQ(set->GetIndex(), 526) << "the set's own ID applies";
    EXPECT_STREQ(set->GetName(), "own");
    EXPECT_EQ(grid->tooltipAt(1, 0, 1), QStringLiteral("Reference ID 526\nReference Name own\n\nReference Data RGB: (10,20,30)"));
}

TEST(TargetPatchGrid, RowLetters)
{
    const struct
    {
        int row;
        const char *letters;
    } cases[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}};
    for (const auto &c : cases)
        EXPECT_EQ(TargetPatchGrid::rowLetters(c.row), QString::fromLatin1(c.letters)) << c.row;
    EXPECT_TRUE(TargetPatchGrid::rowLetters(0).isEmpty());
}

TEST(TargetPatchGrid, GeometryInPixels)
{
    auto grid = makeGrid(4, 3);
    EXPECT_DOUBLE_EQ(grid->width(), 4 * 6.0 * 10.0);
    EXPECT_DOUBLE_EQ(grid->height(), 3 * 6.0 * 10.0);
}

// Paints one page at 10 px/mm: 5 mm patches (50 px), 1 mm gaps (10 px).
QImage paint(const TargetPatchGrid &grid, bool borders, int page = 1)
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    grid.paintPatches(painter, page, 20, 20);
    if (borders)
        grid.paintBorders(painter, page, 20, 20);
    return image;
}

TEST(TargetPatchGrid, PaintsPatchesAndSeparatorsButNoneAfterTheLastColumn)
{
    auto data = rgbReference();
    auto grid = makeGrid(3, 1);
    grid->setBlackWhiteSeparators(true);
    for (int c = 0; c < 3; ++c)
        grid->placeSet(addRGB(*data, 240, 240, 240), c, 0);
    for (const auto &patch : grid->patches)
        patch->separator = true;
    const QImage image = paint(*grid, false);
    EXPECT_EQ(image.pixel(45, 45), QColor(240, 240, 240).rgb());
    EXPECT_EQ(image.pixel(75, 45), qRgb(0, 0, 0)) << "gap after column 0";
    EXPECT_EQ(image.pixel(135, 45), qRgb(0, 0, 0)) << "gap after column 1";
    EXPECT_EQ(image.pixel(195, 45), qRgb(255, 255, 255)) << "no separator after the last column";
    EXPECT_EQ(image.pixel(75, 75), qRgb(255, 255, 255)) << "separator only on the patch rows";

    // With borders on, separators are not drawn on screen.
    grid->setAutopositioningBorders(true);
    EXPECT_EQ(paint(*grid, false).pixel(75, 45), qRgb(255, 255, 255));
}

TEST(TargetPatchGrid, StartOffsetShiftsThePatches)
{
    auto data = rgbReference();
    auto grid = makeGrid(1, 1);
    grid->placeSet(addRGB(*data, 255, 0, 0), 0, 0);
    grid->setStartOffset(1.0);
    const QImage image = paint(*grid, false);
    EXPECT_EQ(image.pixel(25, 45), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(31, 45), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(79, 45), qRgb(255, 0, 0));
}

TEST(TargetPatchGrid, PaintsHalfGapBordersAroundBorderedPatchesOfThePage)
{
    auto data = rgbReference();
    auto grid = makeGrid(3, 1, 2);
    grid->setAutopositioningBorders(true);
    grid->placeSet(addRGB(*data, 250, 250, 250), 0, 0);
    grid->placeSet(addRGB(*data, 248, 250, 252), 1, 0);
    grid->placeSet(addRGB(*data, 20, 20, 20), 2, 0);
    // Page 2 stays empty: fresh slots paint transparent and have no borders... except that
    // a slot without a set counts as white; page 2's slots all neighbour each other.
    const QImage image = paint(*grid, true);
    // Patch 0 at x 20..70, y 20..70; its cell frame is 5 px wide.
    EXPECT_EQ(image.pixel(17, 45), qRgb(0, 0, 0)) << "left half gap";
    EXPECT_EQ(image.pixel(72, 45), qRgb(0, 0, 0)) << "right half gap";
    EXPECT_EQ(image.pixel(45, 17), qRgb(0, 0, 0)) << "top half gap";
    EXPECT_EQ(image.pixel(45, 72), qRgb(0, 0, 0)) << "bottom half gap";
    EXPECT_EQ(image.pixel(45, 45), QColor(250, 250, 250).rgb()) << "patch itself untouched";
    // The dark patch has no border of its own; its right half gap stays white.
    EXPECT_EQ(image.pixel(192, 45), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(165, 17), qRgb(255, 255, 255));
}

} // namespace
