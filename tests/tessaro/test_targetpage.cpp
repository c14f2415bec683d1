// The page painter: fitting and scale, placement of the sets in every order, the footer,
// output rendering without patches, tooltips, page furniture positions and the artwork.
#include "PainterTestSupport.h"
#include "TargetSettings.h"
#include "targetpage.h"
#include "targetpatchgrid.h"

#include "InstrumentCatalogue.h"
#include "PageLayout.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>
#include <vector>

using namespace paintertest;

namespace {

const auto *const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Settings for a hand-made grid of columns x rows x pages with 5.5 mm patches and
// 0.5 mm gaps, no layout run needed.
TargetSettings smallGridSettings(int columns, int rows, int pages, int count)
{
    TargetSettings s;
    s.patchesX = columns;
    s.patchesY = rows;
    s.numberOfPages = pages;
    s.patchCount = count;
    s.patchSizeX = s.patchSizeY = 5500;
    s.patchMarginX = s.patchMarginY = 500;
    s.targetSize = QSizeF(columns * 6000.0, rows * 6000.0);
    return s;
}

std::unique_ptr<ReferenceFileData> numberedRGB(int count, double r = 255, double g = 0, double b = 0)
{
    auto data = rgbReference();
    for (int i = 0; i < count; ++i)
        addRGB(*data, r, g, b, 1000 + i);
    return data;
}

TEST(TargetPage, FitsIntoItsContainer)
{
    TargetSettings s; // A4 landscape, 297 x 210 mm
    QWidget container;
    TargetPage page(&container, &s);
    container.installEventFilter(&page);
    QResizeEvent resize(QSize(410, 310), QSize());
    QCoreApplication::sendEvent(&container, &resize);
    EXPECT_EQ(page.geometry(), QRect(0, 9, 400, 282));

    // A tall, narrow container: the height is the limit.
    QResizeEvent tall(QSize(610, 210), QSize());
    QCoreApplication::sendEvent(&container, &tall);
    EXPECT_EQ(page.size(), QSize(282, 200));
    EXPECT_EQ(page.pos(), QPoint((600 - 282) / 2, 0));
}

TEST(TargetPage, ScaleFollowsTheLimitingSide)
{
    TargetSettings s;
    TargetPage page(nullptr, &s);
    EXPECT_EQ(page.heightForWidth(400), 282);
    EXPECT_EQ(page.widthForHeight(282), 398);
    page.scaleToSize(400, 282); // wider than the page: the height decides
    EXPECT_DOUBLE_EQ(s.scaleFactor, 282.0 / 210000.0);
    page.scaleToSize(400, 400);
    EXPECT_DOUBLE_EQ(s.scaleFactor, 400.0 / 297000.0);
    TargetSettings grid = smallGridSettings(2, 2, 1, 4);
    TargetPage withGrid(nullptr, &grid);
    auto data = numberedRGB(4);
    withGrid.setupPatches(data.get(), TargetPage::RowByRow);
    withGrid.scaleToSize(594, 420);
    EXPECT_DOUBLE_EQ(withGrid.grid()->scale, grid.scaleFactor * 1000.0);
}

struct OrderCase
{
    const char *name;
    int flags;
    std::vector<int> printOrder; // 3 x 2 grid, 2 pages, 10 sets
};

class PlacementOrder : public ::testing::TestWithParam<OrderCase>
{
};

TEST_P(PlacementOrder, FillsPrintOrderAndGrid)
{
    const OrderCase &c = GetParam();
    TargetSettings s = smallGridSettings(3, 2, 2, 10);
    TargetPage page(nullptr, &s);
    auto data = numberedRGB(10);
    page.pageNumber = 2;
    page.setupPatches(data.get(), c.flags);
    EXPECT_EQ(page.pageNumber, 1);
    ASSERT_NE(page.grid(), nullptr);
    ASSERT_EQ(page.grid()->patchCount(), 12);
    EXPECT_EQ(data->printOrder, c.printOrder);
    for (size_t entry = 0; entry < c.printOrder.size(); ++entry) {
        const int i = c.printOrder[entry];
        EXPECT_EQ(page.grid()->patches[entry]->set, i < 0 ? nullptr : data->GetSet(i)) << "entry " << entry;
    }
    EXPECT_FALSE(page.grid()->overflow);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PlacementOrder,
    ::testing::Values(OrderCase{"RowByRow", 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, -1}},
                      OrderCase{"ColumnByColumn", 2, {0, 2, 4, 1, 3, 5, 6, 8, -1, 7, 9, -1}},
                      OrderCase{"MirrorLeftRight", 1 | 4, {2, 1, 0, 5, 4, 3, 8, 7, 6, -1, -1, 9}},
                      OrderCase{"MirrorTopBottom", 1 | 8, {3, 4, 5, 0, 1, 2, 9, -1, -1, 6, 7, 8}},
                      OrderCase{"ColumnsBothMirrors", 2 | 4 | 8, {5, 3, 1, 4, 2, 0, -1, 9, 7, -1, 8, 6}}),
    [](const ::testing::TestParamInfo<OrderCase> &info) { return std::string(info.param.name); });

TEST(TargetPage, NamedLayoutOrderTakesSetsThroughTheLayout)
{
    TargetSettings s = smallGridSettings(4, 3, 1, 12);
    TargetPage page(nullptr, &s);
    auto data = numberedRGB(12);
    data->arrangeByLayout = true;
    data->lgoRowLength = 4;
    page.setupPatches(data.get(), TargetPage::RowByRow);
    // Positions are read column by column from a file stored row by row.
    EXPECT_EQ(page.grid()->patches[1]->set, data->GetSet(4));
    EXPECT_EQ(page.grid()->patches[3]->set, data->GetSet(1));
    EXPECT_EQ(page.grid()->patches[11]->set, data->GetSet(11));

    // Without a row length the file order applies.
    data->lgoRowLength = 0;
    page.setupPatches(data.get(), TargetPage::RowByRow);
    EXPECT_EQ(page.grid()->patches[1]->set, data->GetSet(1));
}

TEST(TargetPage, SetupNumbersNamesAndSeparates)
{
    TargetSettings s = smallGridSettings(3, 2, 1, 6);
    s.useReferenceID = false;
    s.useReferenceName = false;
    s.blackWhiteSeparators = true;
    TargetPage page(nullptr, &s);
    auto data = numberedRGB(6, 240, 240, 240);
    page.setupPatches(data.get(), TargetPage::RowByRow);
    EXPECT_EQ(data->GetSet(4)->GetIndex(), 5);
    EXPECT_STREQ(data->GetSet(4)->GetName(), "1B2");
    EXPECT_TRUE(page.grid()->patches[0]->separator);
    EXPECT_TRUE(page.grid()->patches[1]->separator);
    EXPECT_FALSE(page.grid()->patches[2]->separator);

    // Mirrored left-right with invertHorizontal: the placed patch itself is flagged.
    s.invertHorizontal = true;
    page.setupPatches(data.get(), TargetPage::RowByRow | TargetPage::MirrorLeftRight);
    EXPECT_TRUE(page.grid()->patches[0]->separator);
    EXPECT_TRUE(page.grid()->patches[1]->separator);
    EXPECT_FALSE(page.grid()->patches[2]->separator);

    s.useReferenceID = true;
    page.setupPatches(data.get(), TargetPage::RowByRow);
    EXPECT_EQ(data->GetSet(4)->GetIndex(), 1004);
}

TEST(TargetPage, FooterNamesTheReferenceAndThePage)
{
    TargetSettings s;
    s.referenceFile = QStringLiteral("/data/charts/Press 7.txt");
    TargetPage page(nullptr, &s);
    s.numberOfPages = 0;
    page.pageNumber = 1;
    EXPECT_EQ(page.footerText(), QStringLiteral("Created with Quorvane Vantrel 4.7.19 - Reference File:Press 7.txt"));
    s.numberOfPages = 3;
    page.pageNumber = 2;
    EXPECT_EQ(page.footerText(),
              QStringLiteral("Created with Quorvane Vantrel 4.7.19 - Reference File:Press 7.txt Page 2 of 3"));
    page.pageNumber = 0;
    EXPECT_FALSE(page.footerText().contains(QStringLiteral("Page")));
}

int darkPixels(const QImage &image, QRect area)
{
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++n;
    return n;
}

int nonWhitePixels(const QImage &image, QRect area)
{
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff)
                ++n;
    return n;
}

// An image of the page at 10 pixels per mm (2970 x 2100 for A4).
QImage renderAt10(TargetPage &page)
{
    QImage image(2970, 2100, QImage::Format_RGB32);
    image.fill(0xffffffff);
    QPainter painter(&image);
    page.renderPage(painter, image.size());
    return image;
}

TEST(TargetPage, RenderPageLeavesOutPatchesAndFrameAndRestoresTheScale)
{
    TargetSettings s = smallGridSettings(4, 3, 1, 12);
    TargetPage page(nullptr, &s);
    page.resize(594, 420);
    auto data = numberedRGB(12);
    page.setupPatches(data.get(), TargetPage::RowByRow);
    page.scaleToSize(page.width(), page.height());
    const double screenScale = s.scaleFactor;

    const QImage out = renderAt10(page);
    EXPECT_DOUBLE_EQ(s.scaleFactor, screenScale);
    EXPECT_DOUBLE_EQ(page.grid()->scale, screenScale * 1000.0);
    EXPECT_EQ(countPixels(out, qRgb(255, 0, 0)), 0) << "no patch fill in output";
    // Patch-area origin: x = 8 + 42 + 9 mm, y = 7 + 9 mm; the frame's top edge would lie on y = 160.
    const QPoint o = s.patchAreaOrigin();
    ASSERT_EQ(o, QPoint(59000, 16000));
    EXPECT_EQ(darkPixels(out, QRect(600, 158, 200, 5)), 0) << "no target frame";
    // Mark C of the auto-positioning marks: y 10..12.999 mm, x from 56 mm on.
    EXPECT_EQ(qGray(out.pixel(600, 110)), 0);
    EXPECT_EQ(qGray(out.pixel(545, 115)), 255) << "the white 3 mm cell";
    // The footer lies 2 mm below the target.
    EXPECT_GT(darkPixels(out, QRect(590, 360, 240, 40)), 20);
    // Manual Vestra marks on the left edge of the patch area.
    EXPECT_EQ(qGray(out.pixel(590, 335)), 0) << "filled disc of the mark 17.5 mm below the origin";

    // The screen painting of the same page does show the patches and the frame.
    QImage screen(594, 420, QImage::Format_RGB32);
    page.render(&screen);
    EXPECT_GT(countPixels(screen, qRgb(255, 0, 0)), 100);
    page.showPatches = false;
    QImage hidden(594, 420, QImage::Format_RGB32);
    page.render(&hidden);
    EXPECT_EQ(countPixels(hidden, qRgb(255, 0, 0)), 0);
}

TEST(TargetPage, ReferenceAreaBoxClampsWhileTheLabelFollowsTheBorder)
{
    TargetSettings s;
    s.autopositioning = false;
    s.manualPosVestra = false;
    s.showLeftHeader = false;
    s.borderLeft = 0;
    TargetPage page(nullptr, &s);
    const QImage out = renderAt10(page);
    // The box starts at 4 mm: its left edge is dark at x = 40, nothing left of it.
    EXPECT_GT(darkPixels(out, QRect(39, 50, 3, 200)), 100);
    EXPECT_EQ(darkPixels(out, QRect(10, 50, 25, 200)), 0);
    // The box is 45 mm wide: right edge at 85 mm.
    EXPECT_GT(darkPixels(out, QRect(489, 50, 3, 200)), 100);
    // Label and arrows below it, centred on 22.5 mm.
    int minX = 10000, maxX = -1;
    for (int y = 310; y < 360; ++y)
        for (int x = 5; x < 600; ++x)
            if (qGray(out.pixel(x, y)) < 128) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_NEAR((minX + maxX) / 2.0, 225.0, 4.0);
}

TEST(TargetPage, DeskHeaderAndLogoIgnoreTheLeftBorder)
{
    for (bool desk : {false, true}) {
        TargetSettings s;
        s.deviceDesk = desk;
        s.borderLeft = 20000;
        s.autopositioning = false;
        s.manualPosVestra = false;
        s.showReferenceArea = false;
        TargetPage page(nullptr, &s);
        const QImage out = renderAt10(page);
        // Header text from 72 mm on, logo from 126 mm on; both start left of 20 mm only on a Desk.
        EXPECT_EQ(darkPixels(out, QRect(35, 715, 150, 150)) > 0, desk) << "header, desk " << desk;
        EXPECT_EQ(nonWhitePixels(out, QRect(15, 1255, 170, 200)) > 0, desk) << "logo, desk " << desk;
        EXPECT_GT(nonWhitePixels(out, QRect(15, 1255, 700, 200)), 1000) << "the logo is drawn, desk " << desk;
    }
}

TEST(TargetPage, RightHeaderDrawsTheInsertsOfTheColourSpace)
{
    for (bool rgb : {true, false}) {
        TargetSettings s;
        s.showRightHeader = true;
        s.autopositioning = false;
        s.manualPosVestra = false;
        s.useRGB = rgb;
        s.useCMYK = !rgb;
        TargetPage page(nullptr, &s);
        const QImage out = renderAt10(page);
        // First insert 12 mm high at 280 mm, 1 mm from the top; second 70 mm high at 278 mm.
        EXPECT_GT(darkPixels(out, QRect(2800, 10, 140, 120)), 500) << "insert 1, rgb " << rgb;
        EXPECT_GT(darkPixels(out, QRect(2780, 700, 160, 700)), 2000) << "insert 2, rgb " << rgb;
        // Colour space of the variant: red appears only in the RGB badge's primaries.
        int reds = 0;
        for (int y = 10; y < 130; ++y)
            for (int x = 2800; x < 2940; ++x) {
                const QColor c = out.pixelColor(x, y);
                reds += (c.red() > 200 && c.green() < 60 && c.blue() < 60) ? 1 : 0;
            }
        EXPECT_EQ(reds > 50, rgb) << "rgb " << rgb;
    }
}

TEST(TargetPage, ArtworkResourcesAreCompiledIn)
{
    for (const char *path : {":/General/Resources/Images/LogoQuorvane.jpg", ":/General/Resources/Images/tessaro.ico",
                             ":/Buttons/Resources/Images/info.png", ":/Buttons/Resources/Images/warning.png",
                             ":/Buttons/Resources/Images/error.png", ":/Buttons/Resources/Images/editText.png",
                             ":/Buttons/Resources/Images/color_picker.png", ":/Buttons/Resources/Images/arrow_up.png",
                             ":/Buttons/Resources/Images/arrow_down.png"}) {
        const QImage image{QString::fromLatin1(path)};
        EXPECT_FALSE(image.isNull()) << path;
    }
    for (const char *path : {":/General/Resources/Images/insert_1_RGB.tif", ":/General/Resources/Images/insert_1_CMYK.tif",
                             ":/General/Resources/Images/insert_2_RGB.tif", ":/General/Resources/Images/insert_2_CMYK.tif"}) {
        QFile file{QString::fromLatin1(path)};
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path;
        const QByteArray magic = file.read(4);
        EXPECT_TRUE(magic == QByteArray("II*\0", 4) || magic == QByteArray("MM\0*", 4)) << path;
    }
}

TEST(TargetPage, TooltipOnlyOverPlacedPatches)
{
    TargetSettings s = smallGridSettings(4, 3, 1, 10);
    TargetPage page(nullptr, &s);
    auto data = numberedRGB(10);
    page.setupPatches(data.get(), TargetPage::RowByRow);
    page.scaleToSize(2970, 2100); // 10 px per mm
    const double ox = 590, oy = 160, pitch = 60;
    const QString inside = page.tooltipTextAt(QPointF(ox + 1.5 * pitch, oy + 2.5 * pitch));
    EXPECT_EQ(inside, QStringLiteral("Reference ID 1009\nReference Name 1C2\n\nReference Data RGB: (255,0,0)"));
    EXPECT_TRUE(page.tooltipTextAt(QPointF(ox - 1, oy + 10)).isEmpty()) << "left of the area";
    EXPECT_TRUE(page.tooltipTextAt(QPointF(ox + 10, oy - 1)).isEmpty()) << "above the area";
    EXPECT_TRUE(page.tooltipTextAt(QPointF(ox + 4 * pitch + 1, oy + 10)).isEmpty()) << "right of the area";
    EXPECT_TRUE(page.tooltipTextAt(QPointF(ox + 10, oy + 3 * pitch + 1)).isEmpty()) << "below the area";
    EXPECT_TRUE(page.tooltipTextAt(QPointF(ox + 4 * pitch, oy + 10)).isEmpty()) << "on the right edge";
    EXPECT_TRUE(page.tooltipTextAt(QPointF(ox + 3.5 * pitch, oy + 2.5 * pitch)).isEmpty()) << "empty slot";
    // Halves round away from zero: 589.5 is pixel 590, the first column.
    EXPECT_FALSE(page.tooltipTextAt(QPointF(589.5, oy + 10)).isEmpty());

    TargetPage bare(nullptr, &s);
    EXPECT_TRUE(bare.tooltipTextAt(QPointF(ox + 10, oy + 10)).isEmpty()) << "no grid";
}

// ---------------------------------------------------------------------------------------
// Screenshots for a visual check (run with --gtest_also_run_disabled_tests and
// PAINTER_SHOTS_DIR set to an existing folder).

std::unique_ptr<ReferenceFileData> cmykChart(int count)
{
    auto data = cmykReference();
    const double steps[] = {0, 10, 20, 40, 60, 80, 100};
    const double blacks[] = {0, 20, 40, 70, 100};
    for (double k : blacks)
        for (double y : steps)
            for (double m : steps)
                for (double c : steps)
                    if (data->GetSetCount() < count)
                        addCMYK(*data, c, m, y, k);
    return data;
}

void shoot(TargetPage &page, const QString &file, int width = 1684)
{
    const QSize size(width, page.heightForWidth(width));
    QImage image(size, QImage::Format_RGB32);
    page.resize(size);
    page.scaleToSize(size.width(), size.height());
    page.render(&image);
    ASSERT_TRUE(image.save(file)) << file.toStdString();
}

TEST(TargetPage, DISABLED_WriteScreenshots)
{
    const QString dir = qEnvironmentVariable("PAINTER_SHOTS_DIR");
    ASSERT_FALSE(dir.isEmpty());
    {
        TargetSettings s;
        InstrumentCatalogue::applyDefaults(s, DevOption::TintoraVestra8mm);
        s.useRGB = false;
        s.useCMYK = true;
        s.showRightHeader = true;
        s.targetName = QStringLiteral("Press7 FOGRA check");
        s.targetVersion = QStringLiteral("2");
        s.printerMedia = QStringLiteral("Offset / 115g gloss");
        s.referenceFile = QStringLiteral("/charts/CMYK_1485.txt");
        s.patchCount = 1485;
        PageLayout::runLayout(s);
        auto data = cmykChart(1485);
        TargetPage page(nullptr, &s);
        page.setupPatches(data.get(), TargetPage::RowByRow);
        shoot(page, dir + QStringLiteral("/vestra8_cmyk_1485.png"));
    }
    {
        TargetSettings s;
        InstrumentCatalogue::applyDefaults(s, DevOption::TintoraDesk);
        s.pageSize = QSizeF(s.paperTintoraDesk.width, s.paperTintoraDesk.height);
        s.startingLinesTintoraDesk = true;
        s.targetName = QStringLiteral("Desk RGB");
        s.referenceFile = QStringLiteral("/charts/RGB_240.txt");
        s.patchCount = 240;
        PageLayout::runLayout(s);
        auto data = rgbReference();
        for (int i = 0; i < 240; ++i)
            addRGB(*data, (i * 37) % 256, (i * 91) % 256, (i * 53) % 256, i + 1);
        TargetPage page(nullptr, &s);
        page.setupPatches(data.get(), TargetPage::RowByRow);
        shoot(page, dir + QStringLiteral("/desk_labels_starting_lines.png"));
    }
    {
        TargetSettings s;
        InstrumentCatalogue::applyDefaults(s, DevOption::TintoraVestraZqTextile);
        s.pageSize = QSizeF(s.paperVestrazqTextile.width, s.paperVestrazqTextile.height);
        s.autopositioningBorders = true;
        s.blackWhiteSeparators = true;
        s.targetName = QStringLiteral("Textile pastels");
        s.referenceFile = QStringLiteral("/charts/textile.txt");
        s.patchCount = 400;
        PageLayout::runLayout(s);
        auto data = rgbReference();
        for (int i = 0; i < 400; ++i) {
            const bool light = (i / 3) % 2 == 0;
            addRGB(*data, light ? 235 + i % 20 : 40 + (i * 23) % 150, light ? 240 - i % 15 : 30 + (i * 41) % 180,
                   light ? 245 - i % 10 : 60 + (i * 17) % 160, i + 1);
        }
        TargetPage page(nullptr, &s);
        page.setupPatches(data.get(), TargetPage::RowByRow);
        shoot(page, dir + QStringLiteral("/textile_borders.png"), 1400);
    }
}

} // namespace
