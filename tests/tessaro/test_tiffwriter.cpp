// TIFF pages: the Photoshop channel resources, the libtiff device adapter and its
// errors, and pages of every kind read back by libtiff, tiffinfo and ImageMagick.
#include "WriterTestSupport.h"

#include "targetpatchgrid.h"
#include "tiffwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace writertest;

namespace {

const auto *const qtEnvironment = ::testing::AddGlobalTestEnvironment(new paintertest::QtEnvironment);

uint32_t be32At(const QByteArray &b, int i)
{
    return (uint32_t(uint8_t(b[i])) << 24) | (uint32_t(uint8_t(b[i + 1])) << 16) | (uint32_t(uint8_t(b[i + 2])) << 8)
           | uint8_t(b[i + 3]);
}

uint16_t be16At(const QByteArray &b, int i)
{
    return static_cast<uint16_t>((uint8_t(b[i]) << 8) | uint8_t(b[i + 1]));
}

struct Resource
{
    uint16_t id;
    QByteArray data;
};

// Splits an image-resource block; fails the test on a malformed one.
std::vector<Resource> parseResources(const QByteArray &block)
{
    std::vector<Resource> out;
    int i = 0;
    while (i < block.size()) {
        EXPECT_EQ(block.mid(i, 4), QByteArray("8BIM"));
        const uint16_t id = be16At(block, i + 4);
        EXPECT_EQ(be16At(block, i + 6), 0) << "empty name";
        const uint32_t length = be32At(block, i + 8);
        out.push_back({id, block.mid(i + 12, static_cast<int>(length))});
        i += 12 + static_cast<int>(length + (length & 1));
    }
    EXPECT_EQ(i, block.size());
    return out;
}

TEST(PhotoshopResources, TwoSpotChannels)
{
    PhotoshopChannel orange{QByteArray("Orange"), true, 65.5, 40.25, -70.0};
    PhotoshopChannel green{QByteArray("Grün"), false, 0, 0, 0};
    const auto res = parseResources(PhotoshopChannelResources({orange, green}));
    ASSERT_EQ(res.size(), 3u);
    EXPECT_EQ(res[0].id, 1077);
    EXPECT_EQ(res[1].id, 1006);
    EXPECT_EQ(res[2].id, 1045);

    const QByteArray &d = res[0].data;
    ASSERT_EQ(d.size(), 4 + 2 * 13);
    EXPECT_EQ(be32At(d, 0), 1u);
    EXPECT_EQ(be16At(d, 4), 7) << "Lab";
    EXPECT_EQ(be16At(d, 6), 6550);
    EXPECT_EQ(be16At(d, 8), 4025);
    EXPECT_EQ(static_cast<int16_t>(be16At(d, 10)), -7000);
    EXPECT_EQ(be16At(d, 12), 0);
    EXPECT_EQ(be16At(d, 14), 0) << "opacity";
    EXPECT_EQ(uint8_t(d[16]), 2) << "spot";
    EXPECT_EQ(d.mid(17 + 2, 8), QByteArray(8, '\0')) << "channel without Lab writes zeros";

    // "Grün" is five UTF-8 bytes: Pascal strings 7 + 6 = 13 bytes, padded in the block.
    EXPECT_EQ(res[1].data, QByteArray("\x06Orange\x05Gr\xC3\xBCn", 13));
    const QByteArray &u = res[2].data;
    ASSERT_EQ(u.size(), 4 + 12 + 2 + 4 + 8 + 2);
    EXPECT_EQ(be32At(u, 0), 7u);
    EXPECT_EQ(be16At(u, 4), 'O');
    EXPECT_EQ(be32At(u, 18), 5u);
    EXPECT_EQ(be16At(u, 26), 0xFC) << "ü keeps its Latin-1 code";
}

TEST(PhotoshopResources, LabClampsAndWraps)
{
    PhotoshopChannel extreme{QByteArray("X"), true, 400.0, -500.0, 400.0};
    const auto res = parseResources(PhotoshopChannelResources({extreme}));
    ASSERT_EQ(res.size(), 3u);
    EXPECT_EQ(be16At(res[0].data, 6), 32767) << "L clamped";
    EXPECT_EQ(static_cast<int16_t>(be16At(res[0].data, 8)), -32768) << "a clamped";
    EXPECT_EQ(be16At(res[0].data, 10), 40000) << "b keeps its low 16 bits";
    EXPECT_EQ(res[1].data, QByteArray("\x01X", 2));
}

TiffPageFormat smallFormat()
{
    TiffPageFormat f;
    f.width = 5;
    f.height = 300;
    f.samplesPerPixel = 4;
    f.photometric = 5;
    f.resolution = 300;
    return f;
}

TEST(TiffOutput, WritesIntoAnyDeviceAndReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("synthetic.tiff");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    TiffOutput tiff;
    ASSERT_TRUE(tiff.open(&file, path, smallFormat())) << tiff.errorString().toStdString();
    std::vector<uint8_t> line(20);
    for (int y = 0; y < 300; ++y) {
        for (int i = 0; i < 20; ++i)
            line[i] = static_cast<uint8_t>(y + i);
        ASSERT_TRUE(tiff.writeScanline(line.data(), y));
    }
    ASSERT_TRUE(tiff.close()) << tiff.errorString().toStdString();
    file.close();
    TiffImage img;
    ASSERT_TRUE(readTiff(path, img));
    EXPECT_EQ(img.width, 5u);
    EXPECT_EQ(img.height, 300u);
    EXPECT_EQ(img.compression, COMPRESSION_LZW);
    EXPECT_EQ(img.rowsPerStrip, 128u);
    for (int y = 0; y < 300; y += 37)
        EXPECT_EQ(img.sample(3, y, 2), static_cast<unsigned>(static_cast<uint8_t>(y + 14)));
}

TEST(TiffOutput, RefusesWithoutAWritableDevice)
{
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    TiffOutput tiff;
    EXPECT_FALSE(tiff.open(&buffer, "readonly", smallFormat()));
    EXPECT_FALSE(tiff.isOpen());
    const uint8_t line[20] = {};
    EXPECT_FALSE(tiff.writeScanline(line, 0)) << "no writing without a TIFF handle";
    EXPECT_TRUE(tiff.errorString().contains("y=0"));
}

TEST(TiffOutput, RefusesSampleSizesItDoesNotWrite)
{
    for (int bits : {1, 4, 12, 32}) {
        QBuffer buffer;
        ASSERT_TRUE(buffer.open(QIODevice::ReadWrite));
        TiffPageFormat format = smallFormat();
        format.bitsPerSample = bits;
        TiffOutput tiff;
        EXPECT_FALSE(tiff.open(&buffer, "odd.tiff", format)) << bits;
        EXPECT_FALSE(tiff.isOpen());
        EXPECT_TRUE(tiff.errorString().contains(QString::number(bits) + " bits per sample")) << bits;
        EXPECT_EQ(buffer.size(), 0) << "nothing written for " << bits << " bits";
    }
}

TEST(TiffOutput, KeepsLibtiffsTextWithTheLine)
{
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::ReadWrite));
    TiffOutput tiff;
    ASSERT_TRUE(tiff.open(&buffer, "memory.tiff", smallFormat()));
    const uint8_t line[20] = {};
    ASSERT_TRUE(tiff.writeScanline(line, 0));
    // LZW strips cannot skip a line.
    EXPECT_FALSE(tiff.writeScanline(line, 2));
    const std::string error = tiff.errorString().toStdString();
    EXPECT_NE(error.find("line y=2 written out of order, line y=1 expected"), std::string::npos) << error;
    EXPECT_NE(error.find("memory.tiff"), std::string::npos) << error;
    EXPECT_FALSE(tiff.writeScanline(line, 1)) << "a failed TIFF takes no more lines";
    EXPECT_FALSE(tiff.close());
}

TEST(TiffOutput, ClosingBeforeTheLastLineIsAFailure)
{
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::ReadWrite));
    TiffOutput tiff;
    ASSERT_TRUE(tiff.open(&buffer, "short.tiff", smallFormat()));
    const uint8_t line[20] = {};
    for (int y = 0; y < 130; ++y)
        ASSERT_TRUE(tiff.writeScanline(line, y));
    EXPECT_FALSE(tiff.close());
    EXPECT_NE(tiff.errorString().toStdString().find("closed after 130 of 300 lines"), std::string::npos)
        << tiff.errorString().toStdString();
}

TEST(TiffOutput, DeviceWriteFailureCarriesLibtiffsText)
{
    // A read-write buffer that refuses every write once the header is out.
    class FullDevice : public QBuffer
    {
    protected:
        qint64 writeData(const char *data, qint64 len) override
        {
            if (pos() >= 8)
                return -1;
            return QBuffer::writeData(data, len);
        }
    } device;
    ASSERT_TRUE(device.open(QIODevice::ReadWrite));
    TiffOutput tiff;
    ASSERT_TRUE(tiff.open(&device, "full.tiff", smallFormat()));
    std::vector<uint8_t> line(20, 9);
    bool failed = false;
    for (int y = 0; y < 300 && !failed; ++y)
        failed = !tiff.writeScanline(line.data(), y);
    if (!failed)
        failed = !tiff.close();
    EXPECT_TRUE(failed) << "a device that takes no bytes cannot give a TIFF";
    EXPECT_NE(tiff.errorString().toStdString().find("device write failed"), std::string::npos)
        << tiff.errorString().toStdString();
}

TEST(TiffWriter, UncreatableFileStopsCleanly)
{
    auto ref = cmykSpotReference(0, 4);
    SyntheticPage page(*ref, 2, 2, 72);
    TiffWriter writer(page, false);
    QTemporaryDir dir;
    const QString base = dir.filePath("missing/folder/target");
    EXPECT_FALSE(writer.writePage(base, 1));
    EXPECT_TRUE(writer.errorString().contains("missing/folder/target_P1.tiff")) << writer.errorString().toStdString();
    EXPECT_FALSE(QFileInfo::exists(base + "_P1.tiff"));
}

TEST(TiffWriter, NColourWithoutCmykIsRefused)
{
    auto data = std::make_unique<ReferenceFileData>();
    data->extraChannelCount = 2;
    auto *set = new ReferenceFileSet(data.get(), 0, false);
    const double v[12] = {10, 20};
    set->SetNColor(v);
    data->AppendSet(set);
    SyntheticPage page(*data, 1, 1, 72);
    TiffWriter writer(page, false);
    EXPECT_FALSE(writer.isValid());
    QTemporaryDir dir;
    EXPECT_FALSE(writer.writePage(dir.filePath("n"), 1));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("n_P1.tiff")));
}

struct KindCase
{
    const char *name;
    int spots;       // -1: RGB reference
    bool sixteenBit;
    int samples;
    int photometric;
};

class TiffKinds : public ::testing::TestWithParam<KindCase>
{
};

TEST_P(TiffKinds, ReadBackTagsAndPatchValues)
{
    const KindCase k = GetParam();
    auto ref = k.spots < 0 ? rgbSetsReference(24) : cmykSpotReference(k.spots, 24);
    SyntheticPage page(*ref, 6, 4, 100);
    TiffWriter writer(page, k.sixteenBit);
    ASSERT_TRUE(writer.isValid()) << writer.errorString().toStdString();
    QTemporaryDir dir;
    const QString base = dir.filePath(k.name);
    ASSERT_TRUE(writer.writePage(base, 1)) << writer.errorString().toStdString();
    const QString path = base + "_P1.tiff";

    TiffImage img;
    ASSERT_TRUE(readTiff(path, img));
    EXPECT_EQ(img.width, 1169u); // 297 mm at 100 dpi
    EXPECT_EQ(img.height, 826u);
    EXPECT_EQ(img.samples, k.samples);
    EXPECT_EQ(img.bits, k.sixteenBit ? 16 : 8);
    EXPECT_EQ(img.photometric, k.photometric);
    EXPECT_EQ(img.compression, COMPRESSION_LZW);
    EXPECT_EQ(img.rowsPerStrip, 128u);
    EXPECT_EQ(img.resUnit, RESUNIT_INCH);
    EXPECT_FLOAT_EQ(img.xres, 100.0f);
    EXPECT_FLOAT_EQ(img.yres, 100.0f);
    EXPECT_EQ(!img.photoshop.empty(), k.spots > 0);

    const unsigned full = k.sixteenBit ? 65535 : 255;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col) {
            const ReferenceFileSet &set = *ref->GetSet(row * 6 + col);
            const QPoint c = patchCentre(page.s, col, row);
            for (int ch = 0; ch < k.samples; ++ch) {
                unsigned expected = k.sixteenBit ? set.GetColors16Bit()[ch] : set.GetColors8Bit()[ch];
                if (ch >= 4)
                    expected = full - expected; // spots: 0 is full ink
                ASSERT_EQ(img.sample(c.x(), c.y(), ch), expected)
                    << k.name << " col " << col << " row " << row << " channel " << ch;
            }
        }

    if (toolAvailable("tiffinfo")) {
        int rc = 0;
        const std::string info = run("tiffinfo " + quoted(path) + " 2>&1", &rc);
        EXPECT_EQ(rc, 0) << info;
        for (const std::string &needle :
             {std::string("Image Width: 1169 Image Length: 826"), std::string("Resolution: 100, 100 pixels/inch"),
              "Bits/Sample: " + std::to_string(k.sixteenBit ? 16 : 8), std::string("Compression Scheme: LZW"),
              "Samples/Pixel: " + std::to_string(k.samples), std::string("Rows/Strip: 128"),
              std::string("Planar Configuration: single image plane"),
              std::string(k.spots < 0 ? "Photometric Interpretation: RGB color" : "Photometric Interpretation: separated")})
            EXPECT_NE(info.find(needle), std::string::npos) << needle << "\n" << info;
        EXPECT_EQ(info.find("Photoshop Data") != std::string::npos, k.spots > 0) << info;
    }
    if (toolAvailable("identify")) {
        int rc = 0;
        const std::string id = run("identify -format '%w %h %z %[colorspace] %[channels]\\n' " + quoted(path) + " 2>/dev/null", &rc);
        EXPECT_EQ(rc, 0) << id;
        const std::string space = k.spots < 0 ? "sRGB" : "CMYK";
        const std::string expected = "1169 826 " + std::to_string(k.sixteenBit ? 16 : 8) + " " + space;
        EXPECT_EQ(id.substr(0, expected.size()), expected) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, TiffKinds,
    ::testing::Values(KindCase{"rgb8", -1, false, 3, 2}, KindCase{"rgb16", -1, true, 3, 2},
                      KindCase{"cmyk8", 0, false, 4, 5}, KindCase{"cmyk16", 0, true, 4, 5},
                      KindCase{"cmyk_2spots", 2, false, 6, 5}, KindCase{"cmyk_2spots16", 2, true, 6, 5}),
    [](const ::testing::TestParamInfo<KindCase> &info) { return std::string(info.param.name); });

TEST(TiffWriter, SpotResourcesNameTheReferenceChannels)
{
    auto ref = cmykSpotReference(2, 4);
    SyntheticPage page(*ref, 2, 2, 50);
    TiffWriter writer(page, false);
    QTemporaryDir dir;
    ASSERT_TRUE(writer.writePage(dir.filePath("spots"), 1)) << writer.errorString().toStdString();
    TiffImage img;
    ASSERT_TRUE(readTiff(dir.filePath("spots_P1.tiff"), img));
    const QByteArray block(reinterpret_cast<const char *>(img.photoshop.data()), static_cast<int>(img.photoshop.size()));
    const auto res = parseResources(block);
    ASSERT_EQ(res.size(), 3u);
    EXPECT_EQ(res[0].data.size(), 30);
    EXPECT_EQ(be16At(res[0].data, 6), 6550);
    EXPECT_EQ(be16At(res[0].data, 8 + 13), static_cast<uint16_t>(int16_t(-1975)));
    EXPECT_EQ(res[1].data, QByteArray("\x06Orange\x05Green", 13));
}

// The page painter end to end: A4 landscape at 300 dpi, every patch centre checked.
TEST(TiffWriter, TargetPageAtThreeHundredDpi)
{
    TargetSettings settings;
    settings.resolution = 300;
    settings.patchesX = 36;
    settings.patchesY = 30;
    settings.numberOfPages = 1;
    settings.patchCount = 36 * 30;
    settings.blackWhiteSeparators = true;
    settings.autopositioningBorders = true;
    settings.useCMYK = true;
    settings.useRGB = false;
    for (PaperSize &p : settings.papers)
        p.selected = p.name == QStringLiteral("A4");
    auto ref = cmykSpotReference(0, settings.patchCount);
    TargetPage page(nullptr, &settings);
    page.resize(600, 424);
    page.setupPatches(ref.get(), TargetPage::RowByRow);
    ASSERT_NE(page.grid(), nullptr);

    TiffWriter writer(&page, false);
    ASSERT_TRUE(writer.isValid()) << writer.errorString().toStdString();
    QTemporaryDir dir;
    page.scaleToSize(page.width(), page.height());
    const double before = settings.scaleFactor;
    ASSERT_TRUE(writer.writePage(dir.filePath("a4"), 1)) << writer.errorString().toStdString();
    EXPECT_DOUBLE_EQ(settings.scaleFactor, before) << "the screen scale is restored";
    EXPECT_TRUE(page.showPatches);

    TiffImage img;
    ASSERT_TRUE(readTiff(dir.filePath("a4_P1.tiff"), img));
    EXPECT_EQ(img.width, 3507u);
    EXPECT_EQ(img.height, 2480u);
    int checked = 0;
    for (int row = 0; row < settings.patchesY; ++row)
        for (int col = 0; col < settings.patchesX; ++col) {
            const TargetPatch *patch = page.grid()->patchAt(col, row, 1);
            ASSERT_TRUE(patch && patch->set);
            const QPoint c = patchCentre(settings, col, row);
            for (int ch = 0; ch < 4; ++ch)
                ASSERT_EQ(img.sample(c.x(), c.y(), ch), patch->set->GetColors8Bit()[ch])
                    << "col " << col << " row " << row << " channel " << ch;
            ++checked;
        }
    EXPECT_EQ(checked, 1080);
}

} // namespace
