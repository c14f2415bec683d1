// DCS 2.0 page files (".eps"): the format layer (DcsOutput) and DCSWriter, which sets up
// the raster engine with one 8-bit plate per channel.
//
// Glossary: DOS EPS header = the 30-byte binary header that locates the PostScript part
// and the TIFF preview; main part = document comments, custom colours, plate entries,
// Photoshop comments and the low-resolution RGB composite; plate = one full-resolution
// grayscale EPS of one channel, appended after the main part, located by its
// "%%PlateFile:" line (absolute offset and length in the file).
#pragma once

#include "baseimgwriter.h"

#include <QDateTime>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QTemporaryFile;

// What the comments and plates of one page say.
struct DcsPageFormat
{
    int width = 0;                 // plate pixels
    int height = 0;
    QStringList plateNames;        // one per channel, at most DcsOutput::kMaxPlates
    std::vector<std::array<float, 3>> customColors; // RGB 0-1 per channel
    float boundingWidth = 0.0f;    // points
    float boundingHeight = 0.0f;
    int previewWidth = 0;          // composite preview pixels
    int previewHeight = 0;
    int mode = 4;                  // "%ImageData:" mode: 3 RGB, 4 CMYK, 5 with extra channels
    QString title;
    QDateTime created;

    int channels() const { return static_cast<int>(plateNames.size()); }
};

// Composite preview size for plates of width x height pixels: the longer side of an
// ordinary page becomes 250 pixels.
void DcsPreviewSize(int width, int height, int &previewWidth, int &previewHeight);
// Page size in points from whole micrometres.
float DcsPointsFromMicrometres(int um);

class DcsOutput : public ScanlineOutput
{
public:
    static constexpr int kMaxPlates = 25;

    DcsOutput();
    ~DcsOutput() override;
    DcsOutput(const DcsOutput &) = delete;
    DcsOutput &operator=(const DcsOutput &) = delete;

    // Starts the file at `path` (replaced only by a successful close()) and the plates.
    bool open(const QString &path, const DcsPageFormat &format);
    // previewHeight rows of previewWidth x 3 bytes (R, G, B), before the first scanline.
    bool writePreviewRow(const uint8_t *rgb);
    // One line of `channels` interleaved 8-bit samples per pixel, already in plate form.
    bool writeScanline(const uint8_t *line, int row) override;
    // Appends the plates and the TIFF preview, fills in the offsets and commits the file.
    bool close() override;
    // Drops everything written so far; an existing file of that name stays untouched.
    void cancel();
    QString errorString() const override { return m_error; }

private:
    bool fail(const QString &text);
    bool writeText(QIODevice &device, const QString &line);
    bool writeBytes(QIODevice &device, const QByteArray &bytes);
    QStringList commonHeaderLines() const;
    QStringList photoshopLines() const;
    QStringList plateProlog() const;
    bool appendPlates();
    bool appendTiffPreview();

    DcsPageFormat m_format;
    std::unique_ptr<QSaveFile> m_main;
    std::vector<std::unique_ptr<QTemporaryFile>> m_plates;
    std::vector<qint64> m_platePositions;
    QByteArray m_preview;          // composite pixels, also written into the TIFF preview
    int m_previewRows = 0;
    int m_rows = 0;
    std::vector<uint8_t> m_plateRow;
    QString m_error;
};

class DCSWriter : public BaseImgWriter
{
public:
    explicit DCSWriter(TargetPage *page);
    explicit DCSWriter(RasterPageSource &source);

    // basePath + "_P<page>.eps".
    static QString pageFilePath(const QString &basePath, int pageNumber);
    // Writes page `pageNumber` (1-based); false with errorString() when it failed, in
    // which case an earlier file of that name is left as it was.
    bool writePage(const QString &basePath, int pageNumber);

    const QStringList &plateNames() const { return m_plateNames; }
    const std::vector<std::array<float, 3>> &customColors() const { return m_customColors; }

private:
    void setup();
    bool writeComposite(DcsOutput &output, const DcsPageFormat &format, int pageNumber);

    QStringList m_plateNames;
    std::vector<std::array<float, 3>> m_customColors;
    int m_mode = 4;
};
