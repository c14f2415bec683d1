// BaseImgWriter: the raster engine shared by the page file writers. It turns one page of
// the target into device raster lines at the output resolution and hands them, one at a
// time, to a ScanlineOutput that only stores them.
//
// Glossary: device values = the samples a patch must carry exactly (the reference set's
// 8- or 16-bit array); black pixel = the device value of black page graphics, frames,
// borders and separators; column cell = patch plus gap of one column; gap band = the gap
// rows between two patch rows, split between the row above and the row below.
//
// All conversion to the file's pixel format happens here: the painted page graphics go
// through the page transform (lcms2), black is replaced, patch values are copied in and
// channels a format stores as "0 = full ink" are inverted before any output sees a line.
#pragma once

#include <QObject>
#include <QString>

#include <lcms2.h>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
class QSize;
class ReferenceFileData;
class ReferenceFileSet;
class TargetPage;
class TargetSettings;

// One small output interface: a format is opened by its own means, then receives
// finished lines top to bottom and is closed. Lines hold `width` pixels of interleaved
// samples in the file's own format.
class ScanlineOutput
{
public:
    virtual ~ScanlineOutput() = default;
    virtual bool writeScanline(const uint8_t *line, int row) = 0;
    virtual bool close() = 0;
    virtual QString errorString() const = 0;
};

// The page as the raster engine sees it. The application adapts TargetPage to it; tests
// hand in pages of their own. Rows are counted within a page and may run one past its
// last row: such look-ups follow the grid's flat index into the next page.
class RasterPageSource
{
public:
    virtual ~RasterPageSource() = default;
    virtual TargetSettings &settings() const = 0;
    // The reference of the first placed set in grid order; null when none is placed.
    virtual ReferenceFileData *firstReference() const = 0;
    // Paints page `pageNumber` (1-based) into a surface of imageSize pixels without patch
    // fills, target frame and auto-positioning borders.
    virtual void paintGraphics(QPainter &painter, const QSize &imageSize, int pageNumber) = 0;
    // Width in pixels of the page as shown on screen, and the page painted as on screen
    // (patches in display colours) at that scale.
    virtual int screenWidth() const = 0;
    virtual void paintScreen(QPainter &painter, int pageNumber) = 0;

    virtual bool patchExists(int page, int col, int row) const = 0;
    virtual const ReferenceFileSet *patchSet(int page, int col, int row) const = 0;
    virtual bool patchSeparator(int page, int col, int row) const = 0;
    virtual bool hasBorder(int page, int row, int col) const = 0;
};

class BaseImgWriter : public QObject
{
public:
    static constexpr int kMaxSamples = 12;

    // Writer on the application's page painter (not owned).
    BaseImgWriter(TargetPage *page, bool sixteenBit);
    // Writer on any page source (not owned, must outlive the writer).
    BaseImgWriter(RasterPageSource &source, bool sixteenBit);
    ~BaseImgWriter() override;

    BaseImgWriter(const BaseImgWriter &) = delete;
    BaseImgWriter &operator=(const BaseImgWriter &) = delete;

    // False when the writer cannot work: no placed reference set, a profile or transform
    // that could not be made. errorString() tells why.
    bool isValid() const { return m_valid; }
    QString errorString() const { return m_error; }

    int imageWidth() const { return width; }
    int imageHeight() const { return height; }
    int channelCount() const { return channels; }
    int bytesPerPixel() const { return channels * static_cast<int>(bytesPerSample); }
    const ReferenceFileData *referenceData() const { return reference; }
    const uint8_t *blackPixelBytes() const { return blackPixel.data(); }

    // Renders page `pageNumber` (1-based) and hands every line, top to bottom, to
    // `output`. Stops at the first line the output refuses (its error is taken over).
    bool rasterizePage(ScanlineOutput &output, int pageNumber);

    // p = um / 1000 / 25.4 x resolution; returns trunc(p) and stores the rest in `fraction`.
    int umToPixels(double um, double *fraction = nullptr) const;

    // Black pixel of the current reference (see the .cpp for the rule); public for tests.
    void prepareBlackPixel(bool rgbOutput);

protected:
    // Page transform from the painted BGRA image to `outputFormat`; replaces an old one.
    bool createPageTransform(cmsHPROFILE output, cmsUInt32Number outputFormat);
    // Channels the file stores inverted (255 - v / 65535 - v), e.g. spot channels of a
    // TIFF or every plate of a CMYK DCS file.
    void setInvertedChannels(int first, int last);
    // setError: the writer cannot work at all; setPageError: one page failed.
    void setError(const QString &text) { m_error = text; m_valid = false; }
    void setPageError(const QString &text) { m_error = text; }
    bool hasRGBOutput() const { return m_rgbOutput; }
    void setRGBOutput(bool rgb) { m_rgbOutput = rgb; }
    RasterPageSource &pageSource() const { return *m_source; }

    std::vector<uint8_t> blackPixel;   // kMaxSamples samples of bytesPerSample bytes
    int width = 0;                     // pixels, set by the subclass
    int height = 0;                    // pixels
    int channels = 0;                  // samples per pixel
    uint8_t sixteenBit = 0;
    int64_t bytesPerSample = 1;
    ReferenceFileData *reference = nullptr;
    cmsHPROFILE outputProfile = nullptr;
    cmsHPROFILE displayProfile = nullptr;
    cmsHTRANSFORM pageTransform = nullptr;

private:
    struct PageGeometry;
    void init(bool sixteenBit);
    void computeGeometry(PageGeometry &g) const;
    void invertLine(uint8_t *line) const;

    std::unique_ptr<RasterPageSource> m_ownedSource;
    RasterPageSource *m_source = nullptr;
    std::vector<uint8_t> m_invertMask;   // per channel: 1 when stored inverted
    bool m_rgbOutput = false;
    bool m_valid = true;
    QString m_error;
};
