// Raster engine of the page file writers: page graphics, colour conversion, patch bands,
// borders, separators and the target frame, one output line at a time.
#include "baseimgwriter.h"

#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "TargetSettings.h"
#include "targetpage.h"
#include "targetpatchgrid.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Splits a pixel length into its whole pixels and the fraction the accumulators carry.
struct PixelLength
{
    int whole = 0;
    double fraction = 0.0;
};

// Distributes fractional pixel lengths over consecutive cells: each step adds the
// fraction, and a carry of a whole pixel widens that cell by one.
struct Accumulator
{
    double size = 0.0;
    double gap = 0.0;

    void step(const PixelLength &s, const PixelLength &g, int &sizeOut, int &gapOut)
    {
        size += s.fraction;
        gap += g.fraction;
        sizeOut = s.whole;
        gapOut = g.whole;
        if (static_cast<int>(size) == 1) {
            ++sizeOut;
            size -= 1.0;
        }
        if (static_cast<int>(gap) == 1) {
            ++gapOut;
            gap -= 1.0;
        }
    }
};

// Device values of the painted colours met so far: a direct-mapped table on the 32-bit
// source pixel. Samples a transform leaves alone (extra channels) start as 0.
class ConversionCache
{
public:
    explicit ConversionCache(int pixelBytes)
        : m_pixelBytes(static_cast<std::size_t>(pixelBytes))
        , m_keys(kSlots, 0)
        , m_used(kSlots, 0)
        , m_values(kSlots * m_pixelBytes, 0)
    {
    }

    const uint8_t *lookup(uint32_t colour, cmsHTRANSFORM transform)
    {
        const std::size_t slot = (colour * 2654435761u) >> (32 - kSlotBits);
        uint8_t *value = m_values.data() + slot * m_pixelBytes;
        if (!m_used[slot] || m_keys[slot] != colour) {
            std::memset(value, 0, m_pixelBytes);
            cmsDoTransform(transform, &colour, value, 1);
            m_keys[slot] = colour;
            m_used[slot] = 1;
        }
        return value;
    }

private:
    static constexpr int kSlotBits = 12;
    static constexpr std::size_t kSlots = std::size_t(1) << kSlotBits;
    std::size_t m_pixelBytes;
    std::vector<uint32_t> m_keys;
    std::vector<uint8_t> m_used;
    std::vector<uint8_t> m_values;
};

// Repeats the pixel at `run` over `count` pixels, doubling the copied span each step.
void fillRun(uint8_t *run, std::size_t pixelBytes, std::size_t count)
{
    const std::size_t total = pixelBytes * count;
    for (std::size_t done = pixelBytes; done < total;) {
        const std::size_t n = std::min(done, total - done);
        std::memcpy(run + done, run, n);
        done += n;
    }
}

// The application's page painter as a raster page source.
class TargetPageSource : public RasterPageSource
{
public:
    explicit TargetPageSource(TargetPage &page)
        : m_page(page)
    {
    }

    TargetSettings &settings() const override { return *m_page.targetSettings(); }

    ReferenceFileData *firstReference() const override
    {
        if (const TargetPatchGrid *grid = m_page.grid())
            for (const auto &patch : grid->patches)
                if (patch && patch->set)
                    return patch->set->GetData();
        return nullptr;
    }

    void paintGraphics(QPainter &painter, const QSize &imageSize, int pageNumber) override
    {
        m_page.pageNumber = pageNumber;
        m_page.update();
        m_page.showPatches = false;
        m_page.renderPage(painter, imageSize);
        m_page.showPatches = true;
    }

    int screenWidth() const override { return m_page.width(); }

    void paintScreen(QPainter &painter, int pageNumber) override
    {
        m_page.pageNumber = pageNumber;
        m_page.update();
        m_page.showPatches = true;
        m_page.render(&painter, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }

    bool patchExists(int page, int col, int row) const override { return patch(page, col, row) != nullptr; }

    const ReferenceFileSet *patchSet(int page, int col, int row) const override
    {
        const TargetPatch *p = patch(page, col, row);
        return p ? p->set : nullptr;
    }

    bool patchSeparator(int page, int col, int row) const override
    {
        const TargetPatch *p = patch(page, col, row);
        return p && p->separator;
    }

    bool hasBorder(int page, int row, int col) const override
    {
        const TargetPatchGrid *grid = m_page.grid();
        return grid && grid->hasBorder(page, row, col);
    }

private:
    const TargetPatch *patch(int page, int col, int row) const
    {
        const TargetPatchGrid *grid = m_page.grid();
        return grid ? grid->patchAt(col, row, page) : nullptr;
    }

    TargetPage &m_page;
};

} // namespace

struct BaseImgWriter::PageGeometry
{
    int ox = 0, oy = 0;            // patch-area origin, pixels
    PixelLength sizeX, gapX, sizeY, gapY;
    int frame = 1;                 // frame thickness, pixels
    int areaWidth = 0, areaHeight = 0;
};

BaseImgWriter::BaseImgWriter(TargetPage *page, bool sixteenBitSamples)
    : m_ownedSource(std::make_unique<TargetPageSource>(*page))
    , m_source(m_ownedSource.get())
{
    init(sixteenBitSamples);
}

BaseImgWriter::BaseImgWriter(RasterPageSource &source, bool sixteenBitSamples)
    : m_source(&source)
{
    init(sixteenBitSamples);
}

BaseImgWriter::~BaseImgWriter()
{
    if (pageTransform)
        cmsDeleteTransform(pageTransform);
    if (displayProfile)
        cmsCloseProfile(displayProfile);
    if (outputProfile)
        cmsCloseProfile(outputProfile);
}

void BaseImgWriter::init(bool sixteenBitSamples)
{
    sixteenBit = sixteenBitSamples ? 1 : 0;
    bytesPerSample = sixteenBit + 1;
    blackPixel.assign(static_cast<std::size_t>(kMaxSamples * bytesPerSample), 0);
    displayProfile = cmsCreate_sRGBProfile();
    if (!displayProfile)
        setError(QStringLiteral("Cannot create the sRGB display profile"));
    reference = m_source->firstReference();
    if (!reference) {
        setError(QStringLiteral("The target has no placed reference set"));
        return;
    }
    const int extra = std::clamp(reference->extraChannelCount, 0, kMaxSamples);
    channels = reference->isCMYK ? std::min(kMaxSamples, extra + 4) : extra;
    m_invertMask.assign(kMaxSamples, 0);
}

int BaseImgWriter::umToPixels(double um, double *fraction) const
{
    const double p = std::trunc(um) / 1000.0 / 25.4 * m_source->settings().resolution;
    const double whole = std::trunc(p);
    if (fraction)
        *fraction = p - whole;
    return static_cast<int>(whole);
}

void BaseImgWriter::prepareBlackPixel(bool rgbOutput)
{
    std::fill(blackPixel.begin(), blackPixel.end(), uint8_t(0));
    if (rgbOutput || !reference)
        return;
    auto setSample = [this](int i, unsigned value) {
        if (sixteenBit) {
            const uint16_t v = static_cast<uint16_t>(value);
            std::memcpy(&blackPixel[static_cast<std::size_t>(i) * 2], &v, 2);
        } else {
            blackPixel[static_cast<std::size_t>(i)] = static_cast<uint8_t>(value);
        }
    };
    const unsigned maximum = sixteenBit ? 65535u : 255u;
    const int black = reference->GetBlackChannel();
    if (black >= 0) {
        // A black channel outside the written channels cannot carry black.
        if (black < channels)
            setSample(black, maximum);
        return;
    }
    const int percent = std::clamp(reference->blackInkPercent, 0, 100);
    const unsigned value = static_cast<unsigned>(percent) * maximum / 100u;
    for (int i = 0; i < channels; ++i)
        setSample(i, value);
}

bool BaseImgWriter::createPageTransform(cmsHPROFILE output, cmsUInt32Number outputFormat)
{
    if (pageTransform) {
        cmsDeleteTransform(pageTransform);
        pageTransform = nullptr;
    }
    if (!displayProfile || !output) {
        setError(QStringLiteral("Cannot create the page transform: a profile is missing"));
        return false;
    }
    pageTransform = cmsCreateTransform(displayProfile, TYPE_BGRA_8, output, outputFormat,
                                       INTENT_RELATIVE_COLORIMETRIC, 0);
    if (!pageTransform) {
        setError(QStringLiteral("Cannot create the page transform for the output profile"));
        return false;
    }
    return true;
}

void BaseImgWriter::setInvertedChannels(int first, int last)
{
    for (int i = std::max(0, first); i <= last && i < kMaxSamples; ++i)
        m_invertMask[static_cast<std::size_t>(i)] = 1;
}

void BaseImgWriter::invertLine(uint8_t *line) const
{
    bool any = false;
    for (int i = 0; i < channels; ++i)
        any = any || m_invertMask[static_cast<std::size_t>(i)];
    if (!any)
        return;
    if (sixteenBit) {
        uint16_t *s = reinterpret_cast<uint16_t *>(line);
        for (int x = 0; x < width; ++x, s += channels)
            for (int i = 0; i < channels; ++i)
                if (m_invertMask[static_cast<std::size_t>(i)])
                    s[i] = static_cast<uint16_t>(65535 - s[i]);
    } else {
        uint8_t *s = line;
        for (int x = 0; x < width; ++x, s += channels)
            for (int i = 0; i < channels; ++i)
                if (m_invertMask[static_cast<std::size_t>(i)])
                    s[i] = static_cast<uint8_t>(255 - s[i]);
    }
}

void BaseImgWriter::computeGeometry(PageGeometry &g) const
{
    const TargetSettings &s = m_source->settings();
    const QPoint origin = s.patchAreaOrigin();
    g.ox = umToPixels(origin.x());
    g.oy = umToPixels(origin.y());
    if (s.startingLinesTintoraDesk)
        g.ox += static_cast<int>(s.resolution * 0.03937007874015748);
    g.sizeX.whole = umToPixels(s.patchSizeX, &g.sizeX.fraction);
    g.gapX.whole = umToPixels(s.patchMarginX, &g.gapX.fraction);
    g.sizeY.whole = umToPixels(s.patchSizeY, &g.sizeY.fraction);
    g.gapY.whole = umToPixels(s.patchMarginY, &g.gapY.fraction);
    g.frame = std::max(1, static_cast<int>(s.resolution * 0.00984251968503937));

    Accumulator cols, rows;
    long long sumX = 0, sumY = 0;
    for (int c = 0; c < s.patchesX; ++c) {
        int sz = 0, gp = 0;
        cols.step(g.sizeX, g.gapX, sz, gp);
        sumX += sz + gp;
    }
    for (int r = 0; r < s.patchesY; ++r) {
        int sz = 0, gp = 0;
        rows.step(g.sizeY, g.gapY, sz, gp);
        sumY += sz + gp;
    }
    g.areaWidth = static_cast<int>(static_cast<double>(sumX) - g.gapX.fraction);
    g.areaHeight = static_cast<int>(static_cast<double>(sumY) - g.gapY.fraction);
}

bool BaseImgWriter::rasterizePage(ScanlineOutput &output, int pageNumber)
{
    if (!m_valid)
        return false;
    if (width <= 0 || height <= 0 || channels <= 0 || !pageTransform) {
        setPageError(QStringLiteral("The page has no pixels to write"));
        return false;
    }
    TargetSettings &s = m_source->settings();
    prepareBlackPixel(m_rgbOutput);

    // The only full-resolution buffer: the painted page graphics.
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull()) {
        setPageError(QStringLiteral("Cannot allocate the page image of %1 x %2 pixels").arg(width).arg(height));
        return false;
    }
    image.fill(255u);
    {
        QPainter painter(&image);
        m_source->paintGraphics(painter, image.size(), pageNumber);
    }

    PageGeometry g;
    computeGeometry(g);

    const int pixelBytes = bytesPerPixel();
    const std::size_t bytes = static_cast<std::size_t>(pixelBytes);
    const std::size_t lineBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(pixelBytes);
    std::vector<uint8_t> line(lineBytes);
    const uint8_t *black = blackPixel.data();

    // Fills `count` pixels from `x` with one pixel value, clipped to the line.
    auto fill = [&](int x, int count, const uint8_t *pixel) {
        const int from = std::max(0, x);
        const int to = std::min(width, x + count);
        if (from >= to)
            return;
        uint8_t *p = line.data() + static_cast<std::size_t>(from) * bytes;
        std::memcpy(p, pixel, bytes);
        fillRun(p, bytes, static_cast<std::size_t>(to - from));
    };
    auto patchPixel = [&](const ReferenceFileSet *set) -> const uint8_t * {
        return sixteenBit ? reinterpret_cast<const uint8_t *>(set->GetColors16Bit()) : set->GetColors8Bit();
    };

    // Band state: row w, whether its gap band or its patch rows are being walked.
    Accumulator rowAcc;
    int w = 0;
    int sRow = 0, mRow = 0;
    rowAcc.step(g.sizeY, g.gapY, sRow, mRow);
    bool inGap = true;
    bool firstBand = true;
    int bandRows = g.gapY.whole / 2;
    int bandIndex = 0;
    int patchIndex = 0;

    const int top = g.oy, bottom = g.oy + g.areaHeight;
    const int left = g.ox, right = g.ox + g.areaWidth;

    // Page graphics hold few colours (white, black, the anti-aliasing greys of texts and
    // the logo's colours): each is converted once and then looked up.
    ConversionCache cache(pixelBytes);

    for (int y = 0; y < height; ++y) {
        const uint32_t *src = reinterpret_cast<const uint32_t *>(image.constScanLine(y));
        // ... and mostly in long runs of one colour, which are copied, not converted.
        uint8_t *out = line.data();
        for (int x = 0; x < width;) {
            const uint32_t colour = src[x];
            int end = x + 1;
            while (end < width && src[end] == colour)
                ++end;
            if ((colour & 0x00FFFFFFu) == 0)
                std::memcpy(out, black, bytes);
            else
                std::memcpy(out, cache.lookup(colour, pageTransform), bytes);
            fillRun(out, bytes, static_cast<std::size_t>(end - x));
            out += bytes * static_cast<std::size_t>(end - x);
            x = end;
        }

        if (y >= g.oy && w <= s.patchesY) {
            // Skip bands of zero rows so the row below is processed in the right phase.
            for (;;) {
                if (inGap && bandIndex >= bandRows) {
                    inGap = false;
                    patchIndex = 0;
                } else if (!inGap && patchIndex >= sRow) {
                    const int finishedGap = mRow;
                    rowAcc.step(g.sizeY, g.gapY, sRow, mRow);
                    ++w;
                    inGap = true;
                    firstBand = false;
                    bandRows = finishedGap;
                    bandIndex = 0;
                    if (w > s.patchesY)
                        break;
                } else {
                    break;
                }
            }
        }
        if (y >= g.oy && w <= s.patchesY) {
            if (inGap) {
                if (s.autopositioningBorders) {
                    // Upper part of a gap band belongs to the row above.
                    const bool upper = !firstBand && bandIndex < bandRows - bandRows / 2;
                    const bool afterLast = w == s.patchesY;
                    const int owner = upper ? w - 1 : w;
                    Accumulator colAcc;
                    int x = g.ox;
                    for (int c = 0; c < s.patchesX; ++c) {
                        if (!m_source->patchExists(pageNumber, c, w) && !(upper && afterLast))
                            continue;
                        int sCol = 0, mCol = 0;
                        colAcc.step(g.sizeX, g.gapX, sCol, mCol);
                        if (!(afterLast && !upper) && m_source->hasBorder(pageNumber, owner, c))
                            fill(x, mCol + sCol, black);
                        x += mCol + sCol;
                    }
                }
                ++bandIndex;
            } else {
                if (w < s.patchesY) {
                    // Every patch is placed in its own column cell, so a border or a
                    // separator never shifts the patches after it.
                    Accumulator colAcc;
                    int cell = g.ox;
                    int sCol = 0, mCol = 0;
                    colAcc.step(g.sizeX, g.gapX, sCol, mCol);
                    for (int c = 0; c < s.patchesX; ++c) {
                        const int half = mCol / 2;
                        const int patchStart = cell + half;
                        const int patchEnd = patchStart + sCol;
                        const int cellEnd = cell + sCol + mCol;
                        int nextS = 0, nextM = 0;
                        if (c + 1 < s.patchesX)
                            colAcc.step(g.sizeX, g.gapX, nextS, nextM);
                        const bool border = s.autopositioningBorders && m_source->hasBorder(pageNumber, w, c);
                        if (border) {
                            fill(cell, half, black);
                            fill(patchEnd, cellEnd - patchEnd, black);
                        }
                        if (const ReferenceFileSet *set = m_source->patchSet(pageNumber, c, w))
                            fill(patchStart, sCol, patchPixel(set));
                        if (m_source->patchSeparator(pageNumber, c, w)) {
                            const int nextStart = c + 1 < s.patchesX ? cellEnd + nextM / 2 : cellEnd;
                            fill(patchEnd, nextStart - patchEnd, black);
                        }
                        cell = cellEnd;
                        sCol = nextS;
                        mCol = nextM;
                    }
                }
                ++patchIndex;
            }
        }

        // Target frame.
        if ((y > top - g.frame && y <= top) || (y > bottom - g.frame && y <= bottom)) {
            fill(left, right - left + 1, black);
        } else if (y > top && y < bottom) {
            fill(left, g.frame, black);
            fill(right - g.frame + 1, g.frame, black);
        }

        invertLine(line.data());
        if (!output.writeScanline(line.data(), y)) {
            setPageError(output.errorString());
            return false;
        }
    }
    return true;
}
