// DCS 2.0 pages: header and comments, plates located by their "%%PlateFile:" lines, plate
// pixels, the TIFF preview, replacement of an existing file and Ghostscript rendering.
#include "WriterTestSupport.h"

#include "dcswriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>

using namespace writertest;

namespace {

const auto *const qtEnvironment = ::testing::AddGlobalTestEnvironment(new paintertest::QtEnvironment);

uint32_t le32At(const QByteArray &b, qint64 i)
{
    return uint32_t(uint8_t(b[i])) | (uint32_t(uint8_t(b[i + 1])) << 8) | (uint32_t(uint8_t(b[i + 2])) << 16)
           | (uint32_t(uint8_t(b[i + 3])) << 24);
}

struct Plate
{
    QString name;
    qint64 offset = 0;
    qint64 length = 0;
};

// The whole file and the plate entries of its main part.
struct DcsFile
{
    QByteArray bytes;
    QString mainText;
    std::vector<Plate> plates;

    bool load(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        bytes = f.readAll();
        const uint32_t psLength = le32At(bytes, 8);
        // The comments up to the composite image are text.
        const qint64 end = bytes.indexOf("colorimage");
        mainText = QString::fromLatin1(bytes.mid(30, end - 30));
        const QRegularExpression re(QStringLiteral("%%PlateFile: \\((.*)\\) EPS #(\\d+) (\\d+) *\\n"));
        auto it = re.globalMatch(mainText);
        while (it.hasNext()) {
            const auto m = it.next();
            plates.push_back({m.captured(1), m.captured(2).toLongLong(), m.captured(3).toLongLong()});
        }
        return psLength > 0;
    }
    QByteArray plate(std::size_t i) const { return bytes.mid(plates[i].offset, plates[i].length); }
};

TEST(DcsGeometry, PreviewAndBoundingBox)
{
    int w = 0, h = 0;
    DcsPreviewSize(3507, 2480, w, h);
    EXPECT_EQ(w, 250);
    EXPECT_EQ(h, 176);
    DcsPreviewSize(2480, 3507, w, h);
    EXPECT_EQ(w, 176);
    EXPECT_EQ(h, 250);
    DcsPreviewSize(30, 45, w, h); // a tiny page is enlarged
    EXPECT_EQ(w, 167);
    EXPECT_EQ(h, 250);
    EXPECT_NEAR(DcsPointsFromMicrometres(297000), 841.8898, 1e-3);
    EXPECT_NEAR(DcsPointsFromMicrometres(210000), 595.2756, 1e-3);
}

class DcsPage : public ::testing::Test
{
protected:
    QString write(ReferenceFileData &ref, int dpi, const char *name, SyntheticPage **pageOut = nullptr)
    {
        page = std::make_unique<SyntheticPage>(ref, 6, 4, dpi);
        page->s.targetName = QStringLiteral("Chart Ω one");
        if (pageOut)
            *pageOut = page.get();
        DCSWriter writer(*page);
        EXPECT_TRUE(writer.isValid()) << writer.errorString().toStdString();
        const QString base = dir.filePath(name);
        EXPECT_TRUE(writer.writePage(base, 1)) << writer.errorString().toStdString();
        return DCSWriter::pageFilePath(base, 1);
    }

    QTemporaryDir dir;
    std::unique_ptr<SyntheticPage> page;
};

TEST_F(DcsPage, CmykWithTwoSpotsLayout)
{
    auto ref = cmykSpotReference(2, 24);
    const QString path = write(*ref, 72, "spots");
    EXPECT_TRUE(path.endsWith("spots_P1.eps"));
    DcsFile f;
    ASSERT_TRUE(f.load(path));

    // DOS EPS header.
    EXPECT_EQ(f.bytes.left(4), QByteArray("\xC5\xD0\xD3\xC6", 4));
    EXPECT_EQ(le32At(f.bytes, 4), 30u);
    const uint32_t tiffOffset = le32At(f.bytes, 20);
    EXPECT_EQ(le32At(f.bytes, 8), tiffOffset - 30);
    EXPECT_EQ(tiffOffset % 2, 0u);
    EXPECT_EQ(le32At(f.bytes, 12), 0u);
    EXPECT_EQ(qint64(tiffOffset) + le32At(f.bytes, 24), f.bytes.size());
    EXPECT_EQ(f.bytes.mid(28, 2), QByteArray("\xFF\xFF", 2));
    EXPECT_TRUE(f.bytes.mid(30).startsWith("%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: Quorvane Vantrel\n%%Title: Chart ? one\n"));

    const QString t = f.mainText;
    EXPECT_TRUE(t.contains("\n%%BoundingBox: 0 0 842 595\n"));
    EXPECT_TRUE(t.contains("\n%%HiResBoundingBox: 0 0 841.890 595.276\n"));
    EXPECT_TRUE(t.contains(QRegularExpression("\\n%%CreationDate: [A-Z][a-z]+day [A-Z][a-z]+ \\d\\d \\d{4} \\d\\d:\\d\\d:\\d\\d\\n")));
    EXPECT_TRUE(t.contains("%%DocumentCustomColors: (Cyan)\n%%+ (Magenta)\n%%+ (Yellow)\n%%+ (Black)\n%%+ (Orange)\n%%+ (Green)\n"));
    EXPECT_TRUE(t.contains("%%Pages 1\n%%EndComments \n%%BeginProlog \n%%EndProlog \n%%BeginSetup \n%%EndSetup \n"));
    EXPECT_TRUE(t.contains("%ImageData: 250 177 8 5 0 250 1 \"beginimage\"\n"));
    // S = 5+8+7+6+7+6 = 39 (odd), so P = 1.
    EXPECT_TRUE(t.contains(QStringLiteral("%BeginPhotoshop: %1\n").arg(24 + 39 + 1 + 84)));
    EXPECT_TRUE(t.contains("% 3842494D03EE000000000027044379616E\n% 074D6167656E7461\n"));
    EXPECT_TRUE(t.contains("% 05477265656E\n% 00\n% 3842494D03EF000000000054"));
    EXPECT_TRUE(t.contains("%EndPhotoshop\ngsave\n20 dict begin\n/pixels 250 def\n/rows 177 def\n"));

    ASSERT_EQ(f.plates.size(), 6u);
    const char *names[] = {"Cyan", "Magenta", "Yellow", "Black", "Orange", "Green"};
    const int width = 841, height = 595; // 297 x 210 mm at 72 dpi
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(f.plates[i].name, QString::fromLatin1(names[i]));
        const QByteArray plate = f.plate(i);
        ASSERT_TRUE(plate.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n")) << i;
        ASSERT_TRUE(plate.endsWith("\n%%EndBinary\ngrestore end % Image Trailer grestore\ngrestore % EPS grestore\n%%Trailer\n")) << i;
        if (i > 0) {
            EXPECT_EQ(f.plates[i].offset, f.plates[i - 1].offset + f.plates[i - 1].length) << "plates follow each other";
        }
        EXPECT_TRUE(plate.contains("%ImageData: 841 595 8 1 0 841 1 \"beginimage\"\n"));
        EXPECT_TRUE(plate.contains("\n841.890 595.276 scale\n"));
        const qint64 pixels = plate.indexOf("%%BeginBinary: 0000000000\nbeginimage\n") + 37;
        const qint64 trailer = qstrlen("\n%%EndBinary\ngrestore end % Image Trailer grestore\ngrestore % EPS grestore\n%%Trailer\n");
        ASSERT_EQ(plate.size() - pixels, qint64(width) * height + trailer) << "one byte per pixel plus the trailer";
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 6; ++col) {
                const QPoint c = patchCentre(page->s, col, row);
                const unsigned expected = 255u - ref->GetSet(row * 6 + col)->GetColors8Bit()[i];
                ASSERT_EQ(uint8_t(plate[pixels + qint64(c.y()) * width + c.x()]), expected)
                    << names[i] << " col " << col << " row " << row;
            }
    }
    EXPECT_EQ(f.plates.front().offset, f.bytes.indexOf("%%Trailer\n") + 10) << "first plate right after the main part";

    // The TIFF preview at the end reads with libtiff.
    const QString previewPath = dir.filePath("preview.tif");
    QFile preview(previewPath);
    ASSERT_TRUE(preview.open(QIODevice::WriteOnly));
    preview.write(f.bytes.mid(tiffOffset));
    preview.close();
    TiffImage img;
    ASSERT_TRUE(readTiff(previewPath, img));
    EXPECT_EQ(img.width, 250u);
    EXPECT_EQ(img.height, 177u);
    EXPECT_EQ(img.samples, 3);
    EXPECT_EQ(img.photometric, PHOTOMETRIC_RGB);
    // The composite shows the screen painting: its red rectangle, scaled into the preview.
    const int x = 200 * 250 / 594, y = 150 * 250 / 594;
    EXPECT_EQ(img.sample(x, y, 0), 255u);
    EXPECT_LT(img.sample(x, y, 1), 40u);
    EXPECT_EQ(img.sample(2, 2, 1), 255u);
}

TEST_F(DcsPage, RgbPlatesAreNotInverted)
{
    auto ref = rgbSetsReference(24);
    DcsFile f;
    ASSERT_TRUE(f.load(write(*ref, 72, "rgb")));
    EXPECT_TRUE(f.mainText.contains("%%RGBCustomColor: 1.000 0.000 0.000 (Red)\n%%+ 0.000 1.000 0.000 (Green)\n"
                                    "%%+ 0.000 0.000 1.000 (Blue)\n"));
    EXPECT_TRUE(f.mainText.contains(" 8 3 0 250 1 \"beginimage\""));
    // S = 4+6+5 = 15 (odd).
    EXPECT_TRUE(f.mainText.contains("% 04426C7565\n% 00\n"));
    ASSERT_EQ(f.plates.size(), 3u);
    const QByteArray plate = f.plate(1);
    const qint64 pixels = plate.indexOf("beginimage\n", plate.indexOf("%%BeginBinary")) + 11;
    const QPoint c = patchCentre(page->s, 2, 3);
    EXPECT_EQ(uint8_t(plate[pixels + qint64(c.y()) * 841 + c.x()]), ref->GetSet(3 * 6 + 2)->GetColors8Bit()[1]);
}

TEST_F(DcsPage, CmykCustomColoursAndEvenNames)
{
    auto ref = cmykSpotReference(0, 24);
    DcsFile f;
    ASSERT_TRUE(f.load(write(*ref, 72, "cmyk")));
    // S = 5+8+7+6 = 26 (even): the name lines close with "% " alone.
    EXPECT_TRUE(f.mainText.contains("% 05426C61636B\n% \n"));
    EXPECT_TRUE(f.mainText.contains(" 8 4 0 250 1 \"beginimage\""));
    // Cyan alone converts to a colour without red.
    const QRegularExpression cyan(QStringLiteral("%%RGBCustomColor: (\\d\\.\\d{3}) (\\d\\.\\d{3}) (\\d\\.\\d{3}) \\(Cyan\\)"));
    const auto m = cyan.match(f.mainText);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_LT(m.captured(1).toDouble(), 0.5);
    EXPECT_GT(m.captured(3).toDouble(), 0.6);
}

TEST_F(DcsPage, WritingTwiceReplacesTheFile)
{
    auto ref = cmykSpotReference(0, 24);
    const QString path = write(*ref, 50, "twice");
    const qint64 first = QFileInfo(path).size();
    write(*ref, 50, "twice");
    EXPECT_EQ(QFileInfo(path).size(), first);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary files left behind";
}

TEST_F(DcsPage, UncreatableFileReportsAndLeavesNothing)
{
    auto ref = cmykSpotReference(0, 4);
    SyntheticPage p(*ref, 2, 2, 50);
    DCSWriter writer(p);
    const QString base = dir.filePath("no/such/dir/t");
    EXPECT_FALSE(writer.writePage(base, 1));
    EXPECT_TRUE(writer.errorString().contains("no/such/dir/t_P1.eps")) << writer.errorString().toStdString();
}

TEST_F(DcsPage, GhostscriptRendersTheFileAndEveryPlate)
{
    if (!toolAvailable("gs") || !toolAvailable("identify"))
        GTEST_SKIP() << "Ghostscript or ImageMagick not installed";
    auto ref = cmykSpotReference(2, 24);
    const QString path = write(*ref, 72, "gs");
    DcsFile f;
    ASSERT_TRUE(f.load(path));
    int rc = 0;
    const QString mainPng = dir.filePath("main.png");
    const std::string out = run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=png16m -sOutputFile=" + quoted(mainPng)
                                    + " " + quoted(path) + " 2>&1",
                                &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_EQ(run("identify -format '%w %h' " + quoted(mainPng)), "842 595");
    ASSERT_EQ(f.plates.size(), 6u);
    for (std::size_t i = 0; i < f.plates.size(); ++i) {
        const QString eps = dir.filePath(QStringLiteral("plate%1.eps").arg(i));
        QFile file(eps);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(f.plate(i));
        file.close();
        const QString png = dir.filePath(QStringLiteral("plate%1.png").arg(i));
        const std::string log = run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=pnggray -sOutputFile="
                                        + quoted(png) + " " + quoted(eps) + " 2>&1",
                                    &rc);
        ASSERT_EQ(rc, 0) << f.plates[i].name.toStdString() << ": " << log;
        EXPECT_EQ(run("identify -format '%w %h' " + quoted(png)), "842 595") << f.plates[i].name.toStdString();
    }
    // The main part alone (up to the first plate) prints the composite over the whole
    // bounding box: the screen page's red block (100, 100)-(300, 200) of 594 x 420 shows
    // at the same place of the 842 x 595 point page, and the far corner is paper.
    const QString mainEps = dir.filePath("mainpart.eps");
    {
        QFile file(mainEps);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const qint64 psStart = le32At(f.bytes, 4);
        file.write(f.bytes.mid(psStart, f.plates.front().offset - psStart));
    }
    const QString mainPartPng = dir.filePath("mainpart.png");
    const std::string mainLog = run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=png16m -sOutputFile="
                                        + quoted(mainPartPng) + " " + quoted(mainEps) + " 2>&1",
                                    &rc);
    ASSERT_EQ(rc, 0) << mainLog;
    EXPECT_EQ(run("identify -format '%w %h' " + quoted(mainPartPng)), "842 595");
    int r = -1, g = -1, cornerGreen = -1;
    const std::string red = run("identify -format '%[fx:int(255*p{283,212}.r)] %[fx:int(255*p{283,212}.g)]' " + quoted(mainPartPng));
    ASSERT_EQ(std::sscanf(red.c_str(), "%d %d", &r, &g), 2) << red;
    EXPECT_GT(r, 230) << red;
    EXPECT_LT(g, 40) << red;
    const std::string corner = run("identify -format '%[fx:int(255*p{830,20}.g)]' " + quoted(mainPartPng));
    ASSERT_EQ(std::sscanf(corner.c_str(), "%d", &cornerGreen), 1) << corner;
    EXPECT_GT(cornerGreen, 225) << corner;

    // The black plate shows the black bar of the graphics as dark, the paper as white.
    const QString black = dir.filePath("plate3.png");
    const QPoint bar = SyntheticPage::blackBar(QSize(841, 595)).center();
    const std::string dark = run("identify -format " + QStringLiteral("'%[fx:int(255*p{%1,%2}.r)]' ").arg(bar.x()).arg(bar.y()).toStdString()
                                 + quoted(black));
    const std::string paper = run("identify -format '%[fx:int(255*p{5,300}.r)]' " + quoted(black));
    if (!dark.empty() && !paper.empty()) {
        EXPECT_LT(std::stoi(dark), 30) << dark;
        EXPECT_GT(std::stoi(paper), 225) << paper;
    }
}

} // namespace
