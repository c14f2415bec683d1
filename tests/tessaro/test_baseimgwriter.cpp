// The raster engine: black pixel rule, conversion of the page graphics, patch device
// values, column stepping, frame, separators and auto-positioning borders.
#include "WriterTestSupport.h"

#include "dcswriter.h"
#include "tiffwriter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace writertest;

namespace {

const auto *const qtEnvironment = ::testing::AddGlobalTestEnvironment(new paintertest::QtEnvironment);

std::vector<unsigned> pixel(const std::vector<uint8_t> &line, int x, int channels)
{
    return std::vector<unsigned>(line.begin() + x * channels, line.begin() + (x + 1) * channels);
}

std::vector<unsigned> deviceValues(const ReferenceFileSet &set, int channels)
{
    return std::vector<unsigned>(set.GetColors8Bit(), set.GetColors8Bit() + channels);
}

// A CMYK page at 300 dpi with 6 x 4 patches, captured line by line.
struct CmykPage
{
    std::unique_ptr<ReferenceFileData> ref = cmykSpotReference(0, 24);
    SyntheticPage page{*ref, 6, 4, 300};

    std::vector<std::vector<uint8_t>> render(TiffWriter &writer)
    {
        CaptureOutput out(static_cast<std::size_t>(writer.imageWidth() * writer.bytesPerPixel()));
        EXPECT_TRUE(writer.rasterizePage(out, 1)) << writer.errorString().toStdString();
        return out.lines;
    }
};

// Span [first, last] of equal pixels around (x, y) horizontally.
std::pair<int, int> spanX(const std::vector<std::vector<uint8_t>> &lines, int x, int y, int channels)
{
    const auto v = pixel(lines[y], x, channels);
    int a = x, b = x;
    while (a > 0 && pixel(lines[y], a - 1, channels) == v)
        --a;
    while (b + 1 < static_cast<int>(lines[y].size()) / channels && pixel(lines[y], b + 1, channels) == v)
        ++b;
    return {a, b};
}

std::pair<int, int> spanY(const std::vector<std::vector<uint8_t>> &lines, int x, int y, int channels)
{
    const auto v = pixel(lines[y], x, channels);
    int a = y, b = y;
    while (a > 0 && pixel(lines[a - 1], x, channels) == v)
        --a;
    while (b + 1 < static_cast<int>(lines.size()) && pixel(lines[b + 1], x, channels) == v)
        ++b;
    return {a, b};
}

TEST(BlackPixel, RuleByReferenceKind)
{
    struct Case {
        const char *name;
        std::unique_ptr<ReferenceFileData> ref;
        int blackChannel;   // set before writing; -1 leaves it undetermined
        int percent;
        std::vector<unsigned> expected;
    };
    auto nColour = [](int channels) {
        auto data = std::make_unique<ReferenceFileData>();
        data->extraChannelCount = channels;
        for (int i = 0; i < channels; ++i)
            data->channelNames[static_cast<std::size_t>(i)] = "Ink" + std::to_string(i);
        auto *set = new ReferenceFileSet(data.get(), 0, false);
        const double v[12] = {10, 20, 30};
        set->SetNColor(v);
        data->AppendSet(set);
        return data;
    };
    std::vector<Case> cases;
    cases.push_back({"RGB stays (0,0,0)", rgbSetsReference(1), -1, 80, {0, 0, 0}});
    cases.push_back({"CMYK uses K alone", cmykSpotReference(0, 1), -1, 80, {0, 0, 0, 255}});
    cases.push_back({"CMYK+2 uses K alone", cmykSpotReference(2, 1), -1, 80, {0, 0, 0, 255, 0, 0}});
    cases.push_back({"N-colour without black: 80 %", nColour(3), -1, 80, {204, 204, 204}});
    cases.push_back({"N-colour without black: 33 %", nColour(3), -1, 33, {84, 84, 84}});
    cases.push_back({"N-colour with named black", nColour(3), 1, 80, {0, 255, 0}});
    for (Case &c : cases) {
        c.ref->blackInkPercent = c.percent;
        if (c.blackChannel >= 0)
            c.ref->blackChannel = c.blackChannel;
        SyntheticPage page(*c.ref, 1, 1, 72);
        DCSWriter writer(page);
        ASSERT_TRUE(writer.isValid()) << c.name << ": " << writer.errorString().toStdString();
        writer.prepareBlackPixel(c.ref->isRGB);
        const uint8_t *b = writer.blackPixelBytes();
        EXPECT_EQ(std::vector<unsigned>(b, b + writer.channelCount()), c.expected) << c.name;
        for (int i = writer.channelCount(); i < BaseImgWriter::kMaxSamples; ++i)
            EXPECT_EQ(b[i], 0) << c.name << " sample " << i;
    }
}

TEST(BlackPixel, SixteenBitKIsFullScale)
{
    auto ref = cmykSpotReference(0, 1);
    SyntheticPage page(*ref, 1, 1, 72);
    TiffWriter writer(page, true);
    writer.prepareBlackPixel(false);
    uint16_t samples[4];
    std::memcpy(samples, writer.blackPixelBytes(), sizeof samples);
    EXPECT_EQ(samples[0], 0);
    EXPECT_EQ(samples[2], 0);
    EXPECT_EQ(samples[3], 65535);
}

TEST(BaseImgWriter, NoPlacedSetIsRefused)
{
    auto ref = paintertest::rgbReference(); // no sets
    SyntheticPage page(*ref, 2, 2, 72);
    TiffWriter writer(page, false);
    EXPECT_FALSE(writer.isValid());
    CaptureOutput out(16);
    EXPECT_FALSE(writer.rasterizePage(out, 1));
    EXPECT_TRUE(out.lines.empty());
}

TEST(BaseImgWriter, UmToPixelsTruncatesAndKeepsTheFraction)
{
    auto ref = rgbSetsReference(1);
    SyntheticPage page(*ref, 1, 1, 300);
    TiffWriter writer(page, false);
    double f = 0;
    EXPECT_EQ(writer.umToPixels(5500.9, &f), 64); // the um value is truncated first
    EXPECT_NEAR(f, 5500.0 / 25400.0 * 300 - 64, 1e-12);
    EXPECT_EQ(writer.umToPixels(297000), 3507);
    EXPECT_EQ(writer.umToPixels(210000), 2480);
}

TEST(BaseImgWriter, GraphicsConvertedAndBlackReplaced)
{
    CmykPage p;
    TiffWriter writer(p.page, false);
    const auto lines = p.render(writer);
    ASSERT_EQ(static_cast<int>(lines.size()), 2480);
    const QSize size(3507, 2480);
    const QPoint blackAt = SyntheticPage::blackBar(size).center();
    const QPoint grayAt = SyntheticPage::grayBar(size).center();
    EXPECT_EQ(pixel(lines[blackAt.y()], blackAt.x(), 4), (std::vector<unsigned>{0, 0, 0, 255}))
        << "black graphics use the black channel alone";
    const auto gray = pixel(lines[grayAt.y()], grayAt.x(), 4);
    EXPECT_NE(gray, (std::vector<unsigned>{0, 0, 0, 255}));
    EXPECT_GT(gray[0] + gray[1] + gray[2] + gray[3], 100u) << "mid gray goes through the output profile";
    // A row above the frame outside the bars is paper white throughout.
    const int oy = writer.umToPixels(p.page.s.patchAreaOrigin().y());
    for (int x = 0; x < 3507; ++x)
        ASSERT_EQ(pixel(lines[oy - 5], x, 4), (std::vector<unsigned>{0, 0, 0, 0})) << "x=" << x;
}

TEST(BaseImgWriter, PatchesCarryExactDeviceValuesAndColumnsStepByFraction)
{
    CmykPage p;
    TiffWriter writer(p.page, false);
    const auto lines = p.render(writer);
    ASSERT_FALSE(lines.empty());
    const TargetSettings &s = p.page.s;
    std::vector<int> widths;
    for (int row = 0; row < s.patchesY; ++row)
        for (int col = 0; col < s.patchesX; ++col) {
            const QPoint c = patchCentre(s, col, row);
            const ReferenceFileSet &set = *p.ref->GetSet(row * s.patchesX + col);
            ASSERT_EQ(pixel(lines[c.y()], c.x(), 4), deviceValues(set, 4)) << "col " << col << " row " << row;
            if (row == 0) {
                const auto span = spanX(lines, c.x(), c.y(), 4);
                widths.push_back(span.second - span.first + 1);
            }
        }
    // 5.5 mm at 300 dpi is 64.96 pixels: the first column 64, the next ones 65.
    EXPECT_EQ(widths, (std::vector<int>{64, 65, 65, 65, 65, 65}));
}

TEST(BaseImgWriter, FrameIsAQuarterMillimetre)
{
    CmykPage p;
    TiffWriter writer(p.page, false);
    const auto lines = p.render(writer);
    ASSERT_FALSE(lines.empty());
    const QPoint origin = p.page.s.patchAreaOrigin();
    const int ox = writer.umToPixels(origin.x()), oy = writer.umToPixels(origin.y());
    const std::vector<unsigned> black{0, 0, 0, 255}, white{0, 0, 0, 0};
    EXPECT_EQ(pixel(lines[oy], ox + 30, 4), black);
    EXPECT_EQ(pixel(lines[oy - 1], ox + 30, 4), black);
    EXPECT_EQ(pixel(lines[oy - 2], ox + 30, 4), white);
    EXPECT_EQ(pixel(lines[oy + 1], ox + 30, 4), white) << "first gap band";
    // Left edge beside the first patch row: two black pixels, then the patch.
    const QPoint c = patchCentre(p.page.s, 0, 0);
    EXPECT_EQ(pixel(lines[c.y()], ox, 4), black);
    EXPECT_EQ(pixel(lines[c.y()], ox + 1, 4), black);
    EXPECT_EQ(pixel(lines[c.y()], ox + 2, 4), deviceValues(*p.ref->GetSet(0), 4));
    EXPECT_EQ(pixel(lines[c.y()], ox - 1, 4), white);
}

TEST(BaseImgWriter, SeparatorFillsTheGapOnThePatchRowsOnly)
{
    CmykPage p;
    p.page.separators.insert({1, 0});
    TiffWriter writer(p.page, false);
    const auto lines = p.render(writer);
    ASSERT_FALSE(lines.empty());
    const std::vector<unsigned> black{0, 0, 0, 255};
    const QPoint c1 = patchCentre(p.page.s, 1, 0), c2 = patchCentre(p.page.s, 2, 0);
    const auto span1 = spanX(lines, c1.x(), c1.y(), 4);
    const auto span2 = spanX(lines, c2.x(), c2.y(), 4);
    for (int x = span1.second + 1; x < span2.first; ++x)
        EXPECT_EQ(pixel(lines[c1.y()], x, 4), black) << "x=" << x;
    EXPECT_GE(span2.first - span1.second - 1, 5) << "the whole gap";
    const auto rows = spanY(lines, c1.x(), c1.y(), 4);
    EXPECT_NE(pixel(lines[rows.first - 1], span1.second + 2, 4), black) << "gap row above";
    EXPECT_NE(pixel(lines[rows.second + 1], span1.second + 2, 4), black) << "gap row below";
    // Without the separator flag the same gap is paper.
    const QPoint c0 = patchCentre(p.page.s, 0, 0);
    const auto span0 = spanX(lines, c0.x(), c0.y(), 4);
    EXPECT_NE(pixel(lines[c0.y()], span0.second + 2, 4), black);
}

TEST(BaseImgWriter, BorderSurroundsTheCellAndSharesTheWalkWithASeparator)
{
    for (bool withSeparator : {false, true}) {
        CmykPage p;
        p.page.s.autopositioningBorders = true;
        p.page.borders.insert({3, 1});
        if (withSeparator)
            p.page.separators.insert({3, 1});
        TiffWriter writer(p.page, false);
        const auto lines = p.render(writer);
        ASSERT_FALSE(lines.empty());
        const std::vector<unsigned> black{0, 0, 0, 255};
        const QPoint c = patchCentre(p.page.s, 3, 1);
        const auto sx = spanX(lines, c.x(), c.y(), 4);
        const auto sy = spanY(lines, c.x(), c.y(), 4);
        EXPECT_EQ(pixel(lines[c.y()], sx.first - 1, 4), black);
        EXPECT_EQ(pixel(lines[c.y()], sx.second + 1, 4), black);
        EXPECT_EQ(pixel(lines[sy.first - 1], c.x(), 4), black) << "half gap above belongs to row 1";
        EXPECT_EQ(pixel(lines[sy.second + 1], c.x(), 4), black) << "half gap below";
        // The upper half of the band above belongs to row 0, which has no border here.
        const QPoint above = patchCentre(p.page.s, 3, 0);
        const auto aboveRows = spanY(lines, above.x(), above.y(), 4);
        EXPECT_NE(pixel(lines[aboveRows.second + 1], c.x(), 4), black);
        // Every patch keeps its device values: nothing is shifted by the black.
        for (int col = 0; col < 6; ++col)
            for (int row = 0; row < 4; ++row) {
                const QPoint q = patchCentre(p.page.s, col, row);
                ASSERT_EQ(pixel(lines[q.y()], q.x(), 4), deviceValues(*p.ref->GetSet(row * 6 + col), 4))
                    << "col " << col << " row " << row << " separator " << withSeparator;
            }
        if (withSeparator) {
            const QPoint n = patchCentre(p.page.s, 4, 1);
            const auto sn = spanX(lines, n.x(), n.y(), 4);
            for (int x = sx.second + 1; x < sn.first; ++x)
                ASSERT_EQ(pixel(lines[c.y()], x, 4), black) << "x=" << x;
        }
    }
}

TEST(BaseImgWriter, BordersNeedTheSwitch)
{
    CmykPage p;
    p.page.borders.insert({3, 1});
    TiffWriter writer(p.page, false);
    const auto lines = p.render(writer);
    ASSERT_FALSE(lines.empty());
    const QPoint c = patchCentre(p.page.s, 3, 1);
    const auto sy = spanY(lines, c.x(), c.y(), 4);
    EXPECT_EQ(pixel(lines[sy.first - 1], c.x(), 4), (std::vector<unsigned>{0, 0, 0, 0}));
}

TEST(BaseImgWriter, RefusedLineStopsThePage)
{
    CmykPage p;
    TiffWriter writer(p.page, false);
    struct Refusing : ScanlineOutput {
        int seen = 0;
        bool writeScanline(const uint8_t *, int row) override { ++seen; return row < 10; }
        bool close() override { return true; }
        QString errorString() const override { return QStringLiteral("disk full at line 10"); }
    } out;
    EXPECT_FALSE(writer.rasterizePage(out, 1));
    EXPECT_EQ(out.seen, 11);
    EXPECT_EQ(writer.errorString(), QStringLiteral("disk full at line 10"));
    EXPECT_TRUE(writer.isValid()) << "a failed page does not spoil the writer";
}

} // namespace
