// Shared pieces of the page file writer tests: a page source of our own (graphics and
// patches fully known), references with spot channels, libtiff read-back and the
// external readers (tiffinfo, ImageMagick, Ghostscript).
#pragma once

#include "PainterTestSupport.h"

#include "TargetSettings.h"
#include "baseimgwriter.h"
#include "targetpage.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <tiffio.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace writertest {

// A page whose graphics are one black bar and one mid-gray bar above the patch area,
// and whose patches are the reference's sets in row-major order.
class SyntheticPage : public RasterPageSource
{
public:
    SyntheticPage(ReferenceFileData &reference, int patchesX, int patchesY, int dpi)
        : ref(reference)
    {
        s.resolution = dpi;
        s.patchesX = patchesX;
        s.patchesY = patchesY;
        s.numberOfPages = 1;
        s.patchSizeX = s.patchSizeY = 5500;
        s.patchMarginX = s.patchMarginY = 500;
        for (PaperSize &p : s.papers)
            p.selected = p.name.startsWith(QStringLiteral("A4"));
    }

    TargetSettings &settings() const override { return s; }
    ReferenceFileData *firstReference() const override { return ref.GetSetCount() ? &ref : nullptr; }
    void paintGraphics(QPainter &painter, const QSize &size, int) override
    {
        painter.fillRect(QRect(0, 0, size.width(), size.height()), Qt::white);
        painter.fillRect(blackBar(size), Qt::black);
        painter.fillRect(grayBar(size), QColor(128, 128, 128));
    }
    int screenWidth() const override { return 594; }
    void paintScreen(QPainter &painter, int) override
    {
        painter.fillRect(QRect(0, 0, 594, 420), Qt::white);
        painter.fillRect(QRect(100, 100, 200, 100), Qt::red);
    }
    bool patchExists(int page, int col, int row) const override
    {
        return page == 1 && col >= 0 && col < s.patchesX && row >= 0 && row < s.patchesY;
    }
    const ReferenceFileSet *patchSet(int page, int col, int row) const override
    {
        if (!patchExists(page, col, row))
            return nullptr;
        return ref.GetSet(row * s.patchesX + col);
    }
    bool patchSeparator(int page, int col, int row) const override
    {
        return patchExists(page, col, row) && separators.count({col, row});
    }
    bool hasBorder(int page, int row, int col) const override
    {
        return patchExists(page, col, row) && borders.count({col, row});
    }

    // Graphics in image pixels: both bars lie above the patch area of every test page.
    static QRect blackBar(const QSize &size) { return QRect(size.width() / 20, size.height() / 100, size.width() / 10, size.height() / 200 + 2); }
    static QRect grayBar(const QSize &size) { return QRect(size.width() / 4, size.height() / 100, size.width() / 10, size.height() / 200 + 2); }

    mutable TargetSettings s;
    ReferenceFileData &ref;
    std::set<std::pair<int, int>> separators; // (col, row)
    std::set<std::pair<int, int>> borders;
};

// Centre of patch (col, row) in output pixels, computed from the geometry alone.
inline QPoint patchCentre(const TargetSettings &s, int col, int row)
{
    const double perUm = s.resolution / 25400.0;
    const QPoint origin = s.patchAreaOrigin();
    const double ox = std::trunc(origin.x() * perUm) + (s.startingLinesTintoraDesk ? std::trunc(s.resolution / 25.4) : 0);
    const double oy = std::trunc(origin.y() * perUm);
    const double x = ox + (col * (s.patchSizeX + s.patchMarginX) + s.patchMarginX / 2 + s.patchSizeX / 2) * perUm;
    const double y = oy + (row * (s.patchSizeY + s.patchMarginY) + s.patchMarginY / 2 + s.patchSizeY / 2) * perUm;
    return QPoint(static_cast<int>(x), static_cast<int>(y));
}

// A CMYK reference with `spots` named extra channels and sets that vary in every channel.
inline std::unique_ptr<ReferenceFileData> cmykSpotReference(int spots, int count)
{
    auto data = paintertest::cmykReference(spots);
    const char *names[] = {"Orange", "Green", "Violet"};
    for (int i = 0; i < spots; ++i) {
        data->channelNames[static_cast<std::size_t>(i)] = std::string(names[i % 3]);
        data->channelLab[static_cast<std::size_t>(i)] = LabTriple{65.5, 40.25 - 60 * i, 70.0};
    }
    for (int i = 0; i < count; ++i) {
        auto *set = new ReferenceFileSet(data.get(), i, false);
        // Never all zero: every patch differs from the paper.
        const int j = i + 1;
        const double cmyk[4] = {double(j % 101), double((j * 7) % 101), double((j * 13) % 101), double((j * 29) % 101)};
        set->SetCMYK(cmyk);
        if (spots > 0) {
            double extra[12] = {};
            for (int k = 0; k < spots; ++k)
                extra[k] = double((j * (17 + 6 * k)) % 101);
            set->SetNColor(extra);
        }
        data->AppendSet(set);
    }
    return data;
}

inline std::unique_ptr<ReferenceFileData> rgbSetsReference(int count)
{
    auto data = paintertest::rgbReference();
    for (int i = 0; i < count; ++i)
        paintertest::addRGB(*data, (i * 37) % 256, (i * 91) % 256, (i * 53) % 256);
    return data;
}

// The whole image of a TIFF, every sample in native order (8 or 16 bits).
struct TiffImage
{
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0, photometric = 0, compression = 0;
    uint32_t rowsPerStrip = 0;
    float xres = 0, yres = 0;
    uint16_t resUnit = 0;
    std::vector<uint8_t> photoshop;
    std::vector<uint8_t> data;

    unsigned sample(int x, int y, int c) const
    {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * samples + c;
        if (bits == 16) {
            uint16_t v;
            std::memcpy(&v, &data[i * 2], 2);
            return v;
        }
        return data[i];
    }
};

inline bool readTiff(const QString &path, TiffImage &img)
{
    TIFF *tif = TIFFOpen(path.toLocal8Bit().constData(), "r");
    if (!tif)
        return false;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &img.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &img.height);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &img.samples);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &img.bits);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &img.photometric);
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &img.compression);
    TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &img.rowsPerStrip);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &img.xres);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &img.yres);
    TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &img.resUnit);
    uint32_t psCount = 0;
    void *psData = nullptr;
    if (TIFFGetField(tif, TIFFTAG_PHOTOSHOP, &psCount, &psData) && psData)
        img.photoshop.assign(static_cast<uint8_t *>(psData), static_cast<uint8_t *>(psData) + psCount);
    const tmsize_t lineSize = TIFFScanlineSize(tif);
    img.data.resize(static_cast<std::size_t>(lineSize) * img.height);
    bool ok = true;
    for (uint32_t y = 0; y < img.height && ok; ++y)
        ok = TIFFReadScanline(tif, img.data.data() + static_cast<std::size_t>(lineSize) * y, y, 0) >= 0;
    TIFFClose(tif);
    return ok;
}

inline bool toolAvailable(const char *tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command and returns its standard output; `status` gets the exit status.
inline std::string run(const std::string &command, int *status = nullptr)
{
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        if (status)
            *status = -1;
        return out;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    const int rc = pclose(pipe);
    if (status)
        *status = rc;
    return out;
}

inline std::string quoted(const QString &path)
{
    return "'" + path.toStdString() + "'";
}

// Collects every line a writer produces.
class CaptureOutput : public ScanlineOutput
{
public:
    explicit CaptureOutput(std::size_t lineBytes) : bytes(lineBytes) {}
    bool writeScanline(const uint8_t *line, int row) override
    {
        if (row != static_cast<int>(lines.size()))
            return false;
        lines.emplace_back(line, line + bytes);
        return true;
    }
    bool close() override { return true; }
    QString errorString() const override { return QStringLiteral("capture refused the line"); }

    std::size_t bytes;
    std::vector<std::vector<uint8_t>> lines;
};

} // namespace writertest
