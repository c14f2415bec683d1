// TIFF page files: the format layer (TiffOutput, libtiff over a QIODevice through client
// procedures) and TiffWriter, which sets up the raster engine for RGB, CMYK or CMYK plus
// spot channels and writes one LZW-compressed TIFF per page.
//
// Glossary: spot channel = an extra ink after C, M, Y, K, stored with 0 as full ink and
// named in the Photoshop image resources (tag 34377) so the page opens as a
// multichannel document.
#pragma once

#include "baseimgwriter.h"
#include "lzwencoder.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QIODevice;
struct LabTriple;
typedef struct tiff TIFF;

// What the TIFF directory of one page says.
struct TiffPageFormat
{
    uint32_t width = 0;           // pixels
    uint32_t height = 0;          // pixels
    int samplesPerPixel = 0;
    int bitsPerSample = 8;        // 8 or 16
    int photometric = 2;          // 2 RGB, 5 separated
    double resolution = 0.0;      // dots per inch
    QByteArray photoshopResources; // tag 34377; empty: not written
};

// One spot channel as the Photoshop resources describe it.
struct PhotoshopChannel
{
    QByteArray name;              // UTF-8
    bool hasLab = false;
    double L = 0.0, a = 0.0, b = 0.0;
};

// Resources 1077 (display info), 1006 (names) and 1045 (Unicode names), in that order.
QByteArray PhotoshopChannelResources(const std::vector<PhotoshopChannel> &channels);

// A TIFF being written into a device the caller opened (and finally commits or closes).
class TiffOutput : public ScanlineOutput
{
public:
    TiffOutput() = default;
    ~TiffOutput() override;
    TiffOutput(const TiffOutput &) = delete;
    TiffOutput &operator=(const TiffOutput &) = delete;

    // Opens the TIFF on `device` (writable) and sets every tag; `name` is libtiff's name
    // of the file, used in its messages.
    bool open(QIODevice *device, const QString &name, const TiffPageFormat &format);
    bool isOpen() const { return m_tiff != nullptr; }
    // One line of width x samplesPerPixel samples, native byte order. Lines come top to
    // bottom; every RowsPerStrip lines are compressed and written as one strip.
    bool writeScanline(const uint8_t *line, int row) override;
    // Writes the last strip and the directory; false when libtiff or the device failed or
    // the image did not get all its lines.
    bool close() override;
    QString errorString() const override { return m_error; }

    // libtiff's own messages for this file (client procedures and error handler).
    void appendLibtiffMessage(const QString &text);
    QIODevice *device() const { return m_device; }

private:
    QString failure(const QString &what) const;
    bool writeStrip();

    TIFF *m_tiff = nullptr;
    TiffPageFormat m_format;
    std::size_t m_lineBytes = 0;
    uint32_t m_nextRow = 0;
    uint32_t m_strip = 0;
    bool m_stripOpen = false;           // lines of strip m_strip are in the encoder
    std::vector<uint8_t> m_encoded;     // codes of that strip
    LzwEncoder m_encoder;
    QIODevice *m_device = nullptr;
    QString m_error;
    QString m_libtiffText;
};

class TiffWriter : public BaseImgWriter
{
public:
    TiffWriter(TargetPage *page, bool sixteenBit);
    TiffWriter(RasterPageSource &source, bool sixteenBit);

    // basePath + "_P<page>.tiff".
    static QString pageFilePath(const QString &basePath, int pageNumber);
    // Writes page `pageNumber` (1-based). The file appears under its name only when the
    // whole page was written; false with errorString() otherwise.
    bool writePage(const QString &basePath, int pageNumber);

    const TiffPageFormat &pageFormat() const { return m_format; }

private:
    void setup();

    TiffPageFormat m_format;
};
