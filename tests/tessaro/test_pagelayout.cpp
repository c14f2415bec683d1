// Page layout run: grid, pages, the tightening step with its depth limit, the
// fill-page enlargement and the reset of the patch settings.
#include "InstrumentCatalogue.h"
#include "PageLayout.h"
#include "TargetSettings.h"

#include <gtest/gtest.h>

namespace {

// Vestra 8 mm on A4 without borders: left header, reference area,
// autopositioning, no separators, base patch 12 x 12 mm.
TargetSettings vestra8mmOnA4(int patches)
{
    TargetSettings s;
    InstrumentCatalogue::applyDefaults(s, DevOption::TintoraVestra8mm);
    s.pageSize = QSizeF(297000, 210000);
    s.borderLeft = s.borderRight = s.borderTop = s.borderBottom = 0;
    s.patchCount = patches;
    s.optimizeTilePosition = false;
    s.fillPage = false;
    s.verificationPatches = false;
    return s;
}

} // namespace

TEST(PageLayoutTest, WorkedExampleWithoutTightening)
{
    TargetSettings s = vestra8mmOnA4(500);
    ASSERT_TRUE(s.showLeftHeader && s.showReferenceArea && s.autopositioning);
    ASSERT_DOUBLE_EQ(s.minPatchSizeX, 12000);
    EXPECT_EQ(s.availableTargetSize(), QSizeF(231000, 187000));
    EXPECT_EQ(PageLayout::runLayout(s), 0);
    EXPECT_EQ(s.patchesX, 19);
    EXPECT_EQ(s.patchesY, 15);
    EXPECT_EQ(s.numberOfPages, 2);
    EXPECT_EQ(s.targetSize, QSizeF(228000, 180000));
    EXPECT_DOUBLE_EQ(s.patchSizeX, 12000);
}

TEST(PageLayoutTest, WorkedExampleTightensStepByStep)
{
    TargetSettings s = vestra8mmOnA4(500);
    s.optimizeTilePosition = true;

    // One run at a time (the deepest depth runs no nested run), following the
    // limits the tightening leaves for the next run.
    PageLayout::runLayout(s, PageLayout::kMaxDepth);
    EXPECT_EQ(s.patchesX, 19);
    EXPECT_EQ(s.patchesY, 15);
    EXPECT_EQ(s.numberOfPages, 2);
    EXPECT_EQ(s.rowLimit, 14); // F = 570 - 500 = 70, 70 / 38 = 1 free row
    EXPECT_EQ(s.columnLimit, 0);

    PageLayout::runLayout(s, PageLayout::kMaxDepth);
    EXPECT_EQ(s.patchesX, 19);
    EXPECT_EQ(s.patchesY, 14);
    EXPECT_EQ(s.numberOfPages, 2);
    EXPECT_EQ(s.columnLimit, 18); // F = 532 - 500 = 32, no free row, 32 / 28 = 1 free column

    PageLayout::runLayout(s, PageLayout::kMaxDepth);
    EXPECT_EQ(s.patchesX, 18);
    EXPECT_EQ(s.patchesY, 14);
    EXPECT_EQ(s.numberOfPages, 2); // 252 per page, F = 4
    EXPECT_EQ(s.columnLimit, 18);
    EXPECT_EQ(s.rowLimit, 14);

    // The whole refresh does the same and clears the limits.
    TargetSettings t = vestra8mmOnA4(500);
    t.optimizeTilePosition = true;
    EXPECT_EQ(PageLayout::runLayout(t), 2);
    EXPECT_EQ(t.patchesX, 18);
    EXPECT_EQ(t.patchesY, 14);
    EXPECT_EQ(t.numberOfPages, 2);
    EXPECT_DOUBLE_EQ(t.patchSizeX, 12000); // no fill without fillPage
    EXPECT_EQ(t.targetSize, QSizeF(216000, 168000));
    EXPECT_EQ(t.columnLimit, 0);
    EXPECT_EQ(t.rowLimit, 0);

    TargetSettings f = vestra8mmOnA4(500);
    f.optimizeTilePosition = true;
    f.fillPage = true;
    PageLayout::runLayout(f);
    EXPECT_EQ(f.patchesX, 18);
    EXPECT_EQ(f.patchesY, 14);
    EXPECT_DOUBLE_EQ(f.patchSizeX, 12833); // round(231000 / 18)
    EXPECT_DOUBLE_EQ(f.patchSizeY, 13357); // round(187000 / 14) = round(13357.14)
    EXPECT_EQ(f.targetSize, QSizeF(12833.0 * 18, 13357.0 * 14));
    EXPECT_DOUBLE_EQ(f.minPatchSizeX, 12000);

    // The next refresh starts from the base size again: no accumulation.
    PageLayout::runLayout(f);
    EXPECT_DOUBLE_EQ(f.patchSizeX, 12833);
    EXPECT_DOUBLE_EQ(f.patchSizeY, 13357);
}

TEST(PageLayoutTest, FillAddsTheSeparatorsOnTop)
{
    TargetSettings s = vestra8mmOnA4(500);
    s.patchMarginX = 1000;
    s.patchMarginY = 1000;
    s.optimizeTilePosition = true;
    s.fillPage = true;
    PageLayout::runLayout(s);
    const QSizeF area = s.availableTargetSize();
    EXPECT_DOUBLE_EQ(s.patchSizeX, std::round(area.width() / s.patchesX));
    EXPECT_DOUBLE_EQ(s.targetSize.width(), (s.patchSizeX + 1000) * s.patchesX);
    EXPECT_GT(s.targetSize.width(), area.width());
}

TEST(PageLayoutTest, VerificationPatchesNeedAnotherPage)
{
    TargetSettings s = vestra8mmOnA4(100);
    s.desiredPatchesX = 10;
    s.desiredPatchesY = 10;
    PageLayout::runLayout(s);
    ASSERT_EQ(s.patchesX, 10);
    ASSERT_EQ(s.patchesY, 10);
    EXPECT_EQ(s.numberOfPages, 1);

    s.verificationPatches = true;
    PageLayout::runLayout(s);
    EXPECT_EQ(s.verificationPatchCount(), 36);
    EXPECT_EQ(s.numberOfPages, 2); // ceil((100 + 36) / 100)
}

TEST(PageLayoutTest, StaleLimitsAreClearedByARun)
{
    TargetSettings t = vestra8mmOnA4(500);
    t.columnLimit = 3;
    t.rowLimit = 2;
    PageLayout::runLayout(t);
    EXPECT_EQ(t.columnLimit, 0);
    EXPECT_EQ(t.rowLimit, 0);
}

TEST(PageLayoutTest, TighteningStopsAfterDepthFiveKeepingThatGrid)
{
    // 1 mm patches with verification patches: the frame shrinks with the grid,
    // so this target finds free columns in every run (231, 204, 190, 183, 180,
    // 178 and next 177 columns).
    auto make = [] {
        TargetSettings s;
        InstrumentCatalogue::applyDefaults(s, DevOption::TintoraVestra2mm);
        s.pageSize = QSizeF(297000, 210000);
        s.borderLeft = s.borderRight = s.borderTop = s.borderBottom = 0;
        s.minPatchSizeX = s.minPatchSizeY = 1000;
        s.patchCount = 694;
        s.verificationPatches = true;
        s.optimizeTilePosition = true;
        s.fillPage = false;
        return s;
    };
    TargetSettings s = make();
    EXPECT_EQ(PageLayout::runLayout(s), PageLayout::kMaxDepth);
    EXPECT_EQ(s.patchesX, 178);
    EXPECT_EQ(s.patchesY, 4);
    EXPECT_EQ(s.columnLimit, 0);
    EXPECT_EQ(s.rowLimit, 0);

    // Six single runs by hand give the same grid; the sixth still asks for more.
    TargetSettings manual = make();
    for (int run = 0; run <= PageLayout::kMaxDepth; ++run)
        PageLayout::runLayout(manual, PageLayout::kMaxDepth);
    EXPECT_TRUE(manual.columnLimit > 0 || manual.rowLimit > 0);
    EXPECT_EQ(s.patchesX, manual.patchesX);
    EXPECT_EQ(s.patchesY, manual.patchesY);
    EXPECT_EQ(s.numberOfPages, manual.numberOfPages);
    EXPECT_EQ(s.targetSize, manual.targetSize);

    // A seventh run would have changed the grid: the cap really cut it short.
    const int columnsBefore = manual.patchesX;
    const int rowsBefore = manual.patchesY;
    PageLayout::runLayout(manual, PageLayout::kMaxDepth);
    EXPECT_TRUE(manual.patchesX != columnsBefore || manual.patchesY != rowsBefore);
}

struct GridCase
{
    const char *name;
    double pageW, pageH;
    int patches;
    int wishX, wishY;
    int columns, rows, pages;
};

class PageGridTest : public testing::TestWithParam<GridCase> {};

TEST_P(PageGridTest, ColumnsRowsAndPages)
{
    const GridCase &g = GetParam();
    TargetSettings s = vestra8mmOnA4(g.patches);
    s.pageSize = QSizeF(g.pageW, g.pageH);
    s.desiredPatchesX = g.wishX;
    s.desiredPatchesY = g.wishY;
    PageLayout::runLayout(s);
    EXPECT_EQ(s.patchesX, g.columns) << g.name;
    EXPECT_EQ(s.patchesY, g.rows) << g.name;
    EXPECT_EQ(s.numberOfPages, g.pages) << g.name;
}

INSTANTIATE_TEST_SUITE_P(
    Grids, PageGridTest,
    testing::Values(
        GridCase{"tiny paper: one column, one row", 50000, 30000, 10, 0, 0, 1, 1, 10},
        GridCase{"negative area", 1000, 1000, 3, 0, 0, 1, 1, 3},
        GridCase{"fewer patches than a row", 297000, 210000, 7, 0, 0, 7, 1, 1},
        GridCase{"larger wish ignored", 297000, 210000, 500, 40, 0, 19, 15, 2},
        GridCase{"smaller wish used", 297000, 210000, 500, 10, 5, 10, 5, 10},
        GridCase{"no patches: one empty page", 297000, 210000, 0, 0, 0, 1, 1, 1}));

TEST(PageLayoutTest, UnusableBaseSizeGivesOneCell)
{
    TargetSettings s = vestra8mmOnA4(4);
    s.minPatchSizeX = 0;
    s.patchMarginX = 0;
    s.minPatchSizeY = std::numeric_limits<double>::quiet_NaN();
    PageLayout::runLayout(s);
    EXPECT_EQ(s.patchesX, 1);
    EXPECT_EQ(s.patchesY, 1);
    EXPECT_EQ(s.numberOfPages, 4);
}

TEST(ResetToDefaultTest, ResetsPatchSettingsButNotOptions)
{
    TargetSettings s = vestra8mmOnA4(500);
    s.patchMarginX = 700;
    s.patchMarginY = 800;
    s.minPatchSizeX = 20000;
    s.desiredPatchesX = 4;
    s.desiredPatchesY = 5;
    s.rowByRow = false;
    s.invertHorizontal = s.invertVertical = true;
    s.optimizeTilePosition = true;
    s.fillPage = false;
    s.borderLeft = 3000;
    PageLayout::resetToDefault(s, DevOption::TintoraVestra8mm);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 0);
    EXPECT_DOUBLE_EQ(s.patchMarginY, 0);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 12000);
    EXPECT_DOUBLE_EQ(s.patchSizeX, 12000);
    EXPECT_DOUBLE_EQ(s.patchSizeY, 12000);
    EXPECT_EQ(s.desiredPatchesX, 0);
    EXPECT_EQ(s.desiredPatchesY, 0);
    EXPECT_TRUE(s.rowByRow);
    EXPECT_FALSE(s.invertHorizontal || s.invertVertical);
    EXPECT_TRUE(s.optimizeTilePosition);
    EXPECT_FALSE(s.fillPage);
    EXPECT_DOUBLE_EQ(s.borderLeft, 3000);
}

TEST(ResetToDefaultTest, TextileKeepsItsSeparator)
{
    TargetSettings s;
    InstrumentCatalogue::applyDefaults(s, DevOption::TintoraVestraZqTextile);
    s.patchMarginX = 3000;
    PageLayout::resetToDefault(s, DevOption::TintoraVestraZqTextile);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 1000);
    EXPECT_DOUBLE_EQ(s.patchMarginY, 1000);
}
