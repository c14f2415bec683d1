// TargetPage: painting of a target page (positioning marks, reference area, headers, logo,
// footer, Desk labels, patches, starting lines, borders), its scale, the placement of the
// reference's sets on the pages and the patch tooltips.
#include "targetpage.h"

#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "TargetSettings.h"
#include "targetpatchgrid.h"

#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QTextOption>
#include <QToolTip>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

const char kSuiteVersion[] = "4.7.19";

// The maker's address block under the logo: company, street, town, e-mail, web.
const char *const kAddressLines[5] = {
    "QUORVANE",
    "Farbweg 14",
    "CH-8712 Lindenau, Switzerland",
    "support@quorvane.example",
    "www.quorvane.example",
};

int truncInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::max(-2.0e9, std::min(2.0e9, std::trunc(v))));
}

// --- Resource images --------------------------------------------------------------------
// The right-hand header images are TIFF files; Qt may lack a TIFF reader, so they are
// decoded through libtiff from memory when QImage cannot read them.

struct MemoryTiff
{
    const QByteArray *bytes;
    toff_t pos;
};

tmsize_t tiffRead(thandle_t h, void *buf, tmsize_t size)
{
    auto *m = static_cast<MemoryTiff *>(h);
    const toff_t total = static_cast<toff_t>(m->bytes->size());
    if (m->pos >= total || size <= 0)
        return 0;
    const tmsize_t n = static_cast<tmsize_t>(std::min<toff_t>(static_cast<toff_t>(size), total - m->pos));
    std::memcpy(buf, m->bytes->constData() + m->pos, static_cast<size_t>(n));
    m->pos += static_cast<toff_t>(n);
    return n;
}

tmsize_t tiffWrite(thandle_t, void *, tmsize_t)
{
    return 0;
}

toff_t tiffSeek(thandle_t h, toff_t off, int whence)
{
    auto *m = static_cast<MemoryTiff *>(h);
    const toff_t total = static_cast<toff_t>(m->bytes->size());
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = m->pos;
    else if (whence == SEEK_END)
        base = total;
    m->pos = base + off;
    return m->pos;
}

int tiffClose(thandle_t)
{
    return 0;
}

toff_t tiffSize(thandle_t h)
{
    return static_cast<toff_t>(static_cast<MemoryTiff *>(h)->bytes->size());
}

int tiffQuiet(TIFF *, void *, const char *, const char *, va_list)
{
    return 1; // handled: nothing reaches libtiff's global handlers
}

QImage decodeTiff(const QByteArray &bytes)
{
    MemoryTiff stream{&bytes, 0};
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, tiffQuiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, tiffQuiet, nullptr);
    TIFF *tif = TIFFClientOpenExt("resource", "rm", &stream, tiffRead, tiffWrite, tiffSeek, tiffClose, tiffSize,
                                  nullptr, nullptr, options);
    TIFFOpenOptionsFree(options);
    if (!tif)
        return QImage();
    uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    QImage image;
    // Artwork is small; anything beyond this is not ours.
    if (w > 0 && h > 0 && w <= 20000 && h <= 20000) {
        std::vector<uint32_t> raster(static_cast<size_t>(w) * h);
        if (TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 0)) {
            image = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32);
            for (uint32_t y = 0; y < h; ++y) {
                auto *line = reinterpret_cast<QRgb *>(image.scanLine(static_cast<int>(y)));
                const uint32_t *src = raster.data() + static_cast<size_t>(y) * w;
                for (uint32_t x = 0; x < w; ++x)
                    line[x] = qRgba(static_cast<int>(TIFFGetR(src[x])), static_cast<int>(TIFFGetG(src[x])),
                                    static_cast<int>(TIFFGetB(src[x])), static_cast<int>(TIFFGetA(src[x])));
            }
        }
    }
    TIFFClose(tif);
    return image;
}

QImage loadImage(const QString &path)
{
    QImage image(path);
    if (!image.isNull())
        return image;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("II*") || bytes.startsWith("MM\0*"))
        return decodeTiff(bytes);
    return QImage();
}

// Source images are decoded once; the last scaled copy of each is kept, so repaints at
// one size (every keystroke in the main window) do not rescale them.
struct CachedImage
{
    QImage source;
    QSize scaledSize;
    Qt::AspectRatioMode mode = Qt::IgnoreAspectRatio;
    QImage scaled;
};

CachedImage &cachedImage(const QString &path)
{
    static QHash<QString, CachedImage> cache;
    auto it = cache.find(path);
    if (it == cache.end()) {
        CachedImage entry;
        entry.source = loadImage(path);
        it = cache.insert(path, entry);
    }
    return it.value();
}

const QImage &scaledImage(const QString &path, const QSize &size, Qt::AspectRatioMode mode)
{
    CachedImage &entry = cachedImage(path);
    if (entry.source.isNull() || size.width() <= 0 || size.height() <= 0) {
        static const QImage none;
        return none;
    }
    if (entry.scaled.isNull() || entry.scaledSize != size || entry.mode != mode) {
        entry.scaled = entry.source.scaled(size, mode, Qt::SmoothTransformation);
        entry.scaledSize = size;
        entry.mode = mode;
    }
    return entry.scaled;
}

QString colourSpaceWord(const TargetSettings &s)
{
    if (s.useRGB)
        return QStringLiteral("RGB");
    if (s.useCMYK)
        return QStringLiteral("CMYK");
    return QStringLiteral("NColor");
}

} // namespace

// Per-paint values: the scale, the font unit and the two origins.
struct TargetPage::Painting
{
    QPainter &painter;
    const TargetSettings &s;
    double scale;  // pixels per um
    double fontUnit;
    int markX, markY; // mark origin, um
    int originX, originY; // patch-area origin, um
    int ox, oy;       // patch-area origin, pixels

    double px(double um) const { return um * scale; }
    QFont font(double size, int weight = QFont::Normal, bool italic = false) const
    {
        QFont f = painter.font();
        f.setPointSize(std::max(1, static_cast<int>(size * fontUnit + 0.5)));
        f.setWeight(static_cast<QFont::Weight>(weight));
        f.setItalic(italic);
        return f;
    }
    QPen standardPen() const
    {
        return QPen(QBrush(Qt::black), px(200), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    }
    // Black rectangle with inclusive um corners.
    void fillUm(int x1, int y1, int x2, int y2) const
    {
        painter.fillRect(QRect(truncInt(x1 * scale), truncInt(y1 * scale), truncInt((x2 - x1 + 1) * scale),
                               truncInt((y2 - y1 + 1) * scale)),
                         Qt::black);
    }
};

TargetPage::TargetPage(QWidget *parent, TargetSettings *settings_) : QWidget(parent), settings(settings_)
{
    setMouseTracking(true);
}

TargetPage::~TargetPage() = default;

int TargetPage::heightForWidth(int w) const
{
    return truncInt(w / settings->pageSize.width() * settings->pageSize.height());
}

int TargetPage::widthForHeight(int h) const
{
    return truncInt(h / settings->pageSize.height() * settings->pageSize.width());
}

void TargetPage::scaleToSize(int w, int h)
{
    const double pw = settings->pageSize.width();
    const double ph = settings->pageSize.height();
    // A page of no size is never produced by the layout; keep the last scale for it.
    if (pw <= 0.0 || ph <= 0.0)
        return;
    if (h > 0 && pw / ph < static_cast<double>(w) / h)
        settings->scaleFactor = h / ph;
    else
        settings->scaleFactor = w / pw;
    if (patchGrid)
        patchGrid->setScale(settings->scaleFactor * 1000.0);
}

void TargetPage::fitIntoContainer(const QSize &containerSize)
{
    int w = containerSize.width() - 10;
    int h = heightForWidth(w);
    if (h > containerSize.height() - 10) {
        h = containerSize.height() - 10;
        w = widthForHeight(h);
    }
    resize(w, h);
    move((containerSize.width() - 10 - w) / 2, (containerSize.height() - 10 - h) / 2);
}

bool TargetPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fitIntoContainer(static_cast<QResizeEvent *>(event)->size());
    return QWidget::eventFilter(watched, event);
}

void TargetPage::resizeEvent(QResizeEvent *event)
{
    scaleToSize(width(), height());
    QWidget::resizeEvent(event);
}

void TargetPage::setupPatches(ReferenceFileData *reference, int orderFlags)
{
    TargetSettings &s = *settings;
    patchGrid = std::make_unique<TargetPatchGrid>();
    pageNumber = 1;
    const int columns = s.patchesX;
    const int rows = s.patchesY;
    patchGrid->create(s.numberOfPages, columns, rows);
    patchGrid->setPatchSize(s.patchSizeX / 1000.0, s.patchSizeY / 1000.0);
    patchGrid->setGap(s.patchMarginX / 1000.0, s.patchMarginY / 1000.0);
    patchGrid->setScale(s.scaleFactor * 1000.0);
    patchGrid->setBlackWhiteSeparators(s.blackWhiteSeparators);
    patchGrid->setAutopositioningBorders(s.autopositioningBorders);
    if (s.startingLinesTintoraDesk)
        patchGrid->setStartOffset(1.0);
    if (!reference || columns <= 0 || rows <= 0)
        return;
    colourCache.prepare(*reference);
    patchGrid->setColourCache(&colourCache);

    const long perPage = static_cast<long>(columns) * rows;
    const int count = std::max(0, s.patchCount);
    const long pages = static_cast<long>(std::ceil(static_cast<float>(count) / static_cast<float>(perPage)));
    if (pages > 0)
        reference->ResetPrintOrder(static_cast<int>(pages * perPage));
    else
        reference->printOrder.clear();

    const bool byLayout = reference->arrangeByLayout && reference->lgoRowLength != 0;
    const bool byColumn = (orderFlags & ColumnByColumn) != 0;
    const bool mirrorX = (orderFlags & MirrorLeftRight) != 0;
    const bool mirrorY = (orderFlags & MirrorTopBottom) != 0;
    for (int i = 0; i < count; ++i) {
        ReferenceFileSet *set = byLayout
            ? reference->GetFileSetByFormat(true, static_cast<unsigned int>(i), "QUORVANE - Horizontal (default)")
            : reference->GetSet(i);
        long col, row;
        if (byColumn) {
            col = (i % perPage) / rows;
            row = (i / perPage) * rows + i % rows;
        } else {
            col = i % columns;
            row = i / columns;
        }
        if (mirrorX)
            col = columns - 1 - col;
        if (mirrorY) {
            const long m = row % rows;
            row = row - m + (rows - 1 - m);
        }
        const long entry = col + static_cast<long>(columns) * row;
        if (entry >= 0 && entry < static_cast<long>(reference->printOrder.size()))
            reference->printOrder[static_cast<size_t>(entry)] = i;
        if (set)
            patchGrid->placeSet(set, static_cast<int>(col), static_cast<int>(row));
        patchGrid->markSeparator(static_cast<int>(col), static_cast<int>(row), s.invertHorizontal);
    }
    patchGrid->assignIdsAndNames(!s.useReferenceID, !s.useReferenceName);
}

QString TargetPage::footerText() const
{
    QString text = QStringLiteral("Created with Quorvane Vantrel ") + QLatin1String(kSuiteVersion) +
                   QStringLiteral(" - Reference File:") + QFileInfo(settings->referenceFile).fileName();
    if (settings->numberOfPages != 0 && pageNumber > 0)
        text += QStringLiteral(" Page %1 of %2").arg(pageNumber).arg(settings->numberOfPages);
    return text;
}

QString TargetPage::tooltipTextAt(const QPointF &position) const
{
    if (!patchGrid)
        return QString();
    const TargetSettings &s = *settings;
    const double scale = s.scaleFactor;
    const QPoint origin = s.patchAreaOrigin();
    const long ox = truncInt(origin.x() * scale);
    const long oy = truncInt(origin.y() * scale);
    const long x = std::lround(position.x());
    const long y = std::lround(position.y());
    const long dx = x - ox;
    const long dy = y - oy;
    if (dx < 0 || dy < 0)
        return QString();
    const TargetPatchGrid &g = *patchGrid;
    if (x > ox + g.columns * (g.sizeX + g.gapX) * g.scale || y > oy + g.rows * (g.sizeY + g.gapY) * g.scale)
        return QString();
    const double pitchX = (g.sizeX + g.gapX) * scale * 1000.0;
    const double pitchY = (g.sizeY + g.gapY) * scale * 1000.0;
    if (pitchX <= 0.0 || pitchY <= 0.0)
        return QString();
    const int col = truncInt(dx / pitchX);
    const int row = truncInt(dy / pitchY);
    // The right and bottom edges themselves belong to no patch of this page.
    if (col >= g.columns || row >= g.rows)
        return QString();
    return g.tooltipAt(pageNumber, col, row);
}

void TargetPage::mouseMoveEvent(QMouseEvent *event)
{
    const QString text = tooltipTextAt(event->position());
    if (!text.isEmpty())
        QToolTip::showText(event->globalPosition().toPoint(), text, nullptr, QRect(), -1);
    QWidget::mouseMoveEvent(event);
}

void TargetPage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QPen(QBrush(Qt::black), settings->scaleFactor * 200, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.fillRect(rect(), Qt::white);
    paintPage(painter, false);
}

void TargetPage::renderPage(QPainter &painter, const QSize &imageSize)
{
    painter.setRenderHint(QPainter::TextAntialiasing);
    scaleToSize(imageSize.width(), imageSize.height());
    painter.setPen(QPen(QBrush(Qt::black), settings->scaleFactor * 200, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.fillRect(QRect(0, 0, imageSize.width() - 1, imageSize.height() - 1), Qt::white);
    paintPage(painter, true);
    // Back to the on-screen scale, exactly as a resize of the widget would set it.
    QResizeEvent resize(size(), size());
    resizeEvent(&resize);
}

void TargetPage::paintPage(QPainter &painter, bool forOutput)
{
    const TargetSettings &s = *settings;
    const QPoint mark = s.headerOffset();
    const QPoint origin = s.patchAreaOrigin();
    const double scale = s.scaleFactor;
    const double fontUnit = s.unscaledText ? scale : scale * 750.0 * 96.0 / logicalDpiX();
    Painting p{painter, s, scale, fontUnit, mark.x(), mark.y(), origin.x(), origin.y(),
               truncInt(truncInt(origin.x()) * scale), truncInt(truncInt(origin.y()) * scale)};

    painter.setPen(p.standardPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0, 0, p.px(s.pageSize.width()) - 0.5, p.px(s.pageSize.height()) - 0.5));

    if (s.autopositioning)
        drawAutopositioningMarks(p);
    if (s.manualPosPendra || s.manualPosVestra)
        drawManualMarks(p);
    if (s.showReferenceArea)
        drawReferenceArea(p);
    if (s.showLeftHeader) {
        drawLeftHeader(p);
        drawLogo(p);
    }
    if (s.showRightHeader)
        drawRightHeader(p);
    drawFooter(p);
    if (s.deviceDesk)
        drawDeskLabels(p);
    if (!forOutput && patchGrid && showPatches)
        drawPatchesAndFrame(p);
    if (s.startingLinesTintoraDesk)
        drawStartingLines(p);
    if (patchGrid && showPatches && s.autopositioningBorders)
        drawAutopositioningBorders(p);
}

void TargetPage::drawAutopositioningMarks(Painting &p)
{
    const int X = p.markX;
    const int Y = p.markY;
    const int XR = X + 6000 + truncInt(p.s.targetSize.width() - 12000);
    const int YB = Y + 6000 + truncInt(p.s.targetSize.height() - 12000);
    p.fillUm(X + 3000, Y, X + 5999, Y + 2999);
    p.fillUm(X, Y + 3000, X + 2999, Y + 5999);
    p.fillUm(X + 6000, Y + 3000, XR - 1, Y + 5999);
    p.fillUm(XR + 3000, Y + 3000, XR + 8999, Y + 5999);
    p.fillUm(XR + 12000, Y + 3000, XR + 18999, Y + 5999);
    p.fillUm(X + 3000, Y + 6000, X + 5999, YB - 1);
    p.fillUm(X + 3000, YB + 3000, X + 5999, YB + 8999);
    p.fillUm(X + 3000, YB + 12000, X + 5999, YB + 18999);
}

void TargetPage::drawManualMarks(Painting &p)
{
    const TargetSettings &s = p.s;
    const float r1 = static_cast<float>(p.px(1700));
    const float r2 = static_cast<float>(p.px(650));
    auto mark = [&](double cx, double cy, const QColor &colour) {
        const QPointF centre(truncInt(cx), truncInt(cy));
        p.painter.setPen(QPen(QBrush(colour), p.px(300), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        p.painter.setBrush(Qt::NoBrush);
        p.painter.drawEllipse(centre, r1, r1);
        p.painter.setBrush(colour);
        p.painter.drawEllipse(centre, r2, r2);
    };
    const double off = s.startingLinesTintoraDesk ? p.px(2000) : 0.0;
    const double tx = s.targetSize.width();
    const double ty = s.targetSize.height();
    if (s.manualPosPendra) {
        const QColor blue(0, 0, 160);
        mark(p.ox, p.oy, blue);
        mark(p.ox, p.oy + p.px(ty), blue);
        mark(p.ox + off + p.px(tx - 50000), p.oy, blue);
    }
    if (s.manualPosVestra) {
        mark(p.ox, p.oy + p.px(17500), Qt::black);
        mark(p.ox + 1 + off + p.px(tx), p.oy + p.px(17500), Qt::black);
        mark(p.ox + 1 + off + p.px(tx), p.oy + p.px(ty), Qt::black);
    }
    p.painter.setBrush(Qt::NoBrush);
}

void TargetPage::drawReferenceArea(Painting &p)
{
    const TargetSettings &s = p.s;
    QPainter &painter = p.painter;
    painter.setPen(p.standardPen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(truncInt(p.px(std::max(4000.0, s.borderLeft))), truncInt(p.px(s.borderTop)), truncInt(p.px(45000)),
                           truncInt(p.px(30000))));
    const QString label = QStringLiteral("Reference Area");
    painter.setFont(p.font(2));
    const QRect box = painter.boundingRect(QRect(), Qt::AlignCenter, label);
    const int tw = box.width();
    const int th = box.height();
    painter.drawText(QPoint(truncInt(p.px(s.borderLeft + 22500) - tw / 2), truncInt(p.px(s.borderTop + 31000) + th)), label);

    // Two arrows pointing up into the box, one on either side of the label.
    painter.setBrush(Qt::black);
    const double lx = p.px(s.borderLeft + 22500) - tw / 2.0;
    const double top = p.px(s.borderTop + 31000);
    const double bottom = p.px(s.borderTop + 35000);
    for (int i = 0; i < 2; ++i) {
        const double x = lx - p.px(3000) + i * (p.px(6000) + tw);
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        const QPointF triangle[3] = {QPointF(x, top), QPointF(x - p.px(1000), top + p.px(2000)),
                                     QPointF(x + p.px(1000), top + p.px(2000))};
        painter.drawPolygon(triangle, 3);
    }
    painter.setBrush(Qt::NoBrush);
}

void TargetPage::drawLeftHeader(Painting &p)
{
    const TargetSettings &s = p.s;
    QPainter &painter = p.painter;
    const double x0 = s.deviceDesk ? p.px(4000) : p.px(std::max(4000.0, s.borderLeft));
    const QFont boldItalic = p.font(3.6, 700, true);
    const QFont italic = p.font(3.6, QFont::Normal, true);
    const QFont normal = p.font(3.6);
    const QString word = colourSpaceWord(s) + QStringLiteral("- ");
    painter.setFont(italic);
    const QRectF wordBox = painter.boundingRect(QRectF(), Qt::AlignLeft, word);
    const double h = wordBox.height();
    const double width = p.px(48000);
    const QTextOption plain;
    QTextOption anywhere;
    anywhere.setWrapMode(QTextOption::WrapAnywhere);
    painter.setPen(Qt::black);

    double y = p.px(s.borderTop + 72000);
    // A line wider than the column would wrap below its one-line box and be clipped (a
    // 12 mm patch size does not fit at 3.6); such a line is set smaller instead.
    auto fitted = [&](QFont font, const QString &text, double available) {
        for (int size = font.pointSize(); size > 1; --size) {
            font.setPointSize(size);
            if (QFontMetricsF(font, painter.device()).horizontalAdvance(text) <= available)
                break;
        }
        return font;
    };
    auto line = [&](const QFont &font, const QString &text, const QTextOption &option = QTextOption()) {
        painter.setFont(option.wrapMode() == QTextOption::WrapAnywhere ? font : fitted(font, text, width));
        painter.drawText(QRectF(x0, y, width, h), text, option);
    };
    line(boldItalic, QStringLiteral("Target information:"));
    y += h;
    line(italic, word);
    painter.setFont(fitted(normal, QStringLiteral("Profiling Target"), width - wordBox.width()));
    painter.drawText(QRectF(x0 + wordBox.width(), y, width, h), QStringLiteral("Profiling Target"), plain);
    y += h;
    line(normal, s.targetName.isEmpty() ? QObject::tr("NO FILE NAME") : s.targetName, anywhere);
    y += h;
    line(normal, QString::number(truncInt(s.targetSize.width() / 1000)) + QLatin1Char('x') +
                     QString::number(truncInt(s.targetSize.height() / 1000)) + QStringLiteral("mm"));
    y += h;
    QString size = QString::asprintf("%.1fx%.1f", s.patchSizeX / 1000.0, s.patchSizeY / 1000.0);
    size.replace(QLatin1Char(','), QLatin1Char('.'));
    line(normal, QString::number(s.patchCount) + QStringLiteral(" Patches - ") + size + QStringLiteral("mm"));
    y += h;
    line(normal, QStringLiteral("Page ") + QString::number(pageNumber) + QLatin1Char('/') +
                     QString::number(s.numberOfPages));
    y += h;
    line(normal, QStringLiteral("Version: ") + s.targetVersion);
    y += 1.5 * h;
    line(boldItalic, QStringLiteral("Printer / Media:"));
    y += h;
    line(normal, s.printerMedia);
    y += 1.5 * h;
    line(boldItalic, QStringLiteral("Created:"));
    y += h;
    line(normal, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));

    // The maker's address block, one baseline per line.
    const QFont smallItalic = p.font(2.8, QFont::Normal, true);
    const QFont smallNormal = p.font(2.8);
    painter.setFont(smallItalic);
    const double h2 = painter.boundingRect(QRectF(), Qt::AlignLeft, QStringLiteral("QUORVANE")).height();
    double yb = p.px(s.borderTop + 150000);
    for (int i = 0; i < 5; ++i) {
        painter.setFont(i == 0 ? smallItalic : smallNormal);
        painter.drawText(QPoint(truncInt(x0), truncInt(yb)), QString::fromUtf8(kAddressLines[i]));
        yb += h2;
    }
}

void TargetPage::drawLogo(Painting &p)
{
    const TargetSettings &s = p.s;
    const QSize box(truncInt(p.px(48000)), truncInt(p.px(40000)));
    const QImage &logo = scaledImage(QStringLiteral(":/General/Resources/Images/LogoQuorvane.jpg"), box,
                                     Qt::KeepAspectRatio);
    const double x = s.deviceDesk ? 2000.0 : std::max(2000.0, s.borderLeft);
    p.painter.drawImage(QPoint(truncInt(p.px(x)), truncInt(p.px(s.borderTop + 126000))), logo);
}

void TargetPage::drawRightHeader(Painting &p)
{
    const TargetSettings &s = p.s;
    const double u = s.unscaledText ? 4.0 * p.scale : 1000.0 * p.scale;
    const double usable = s.pageSize.width() - s.borderLeft - s.borderRight;
    const QString first = s.useRGB ? QStringLiteral(":/General/Resources/Images/insert_1_RGB.tif")
                                   : QStringLiteral(":/General/Resources/Images/insert_1_CMYK.tif");
    const QString second = s.useRGB ? QStringLiteral(":/General/Resources/Images/insert_2_RGB.tif")
                                    : QStringLiteral(":/General/Resources/Images/insert_2_CMYK.tif");
    auto draw = [&](const QString &path, double hm, QPoint at) {
        const QImage &source = cachedImage(path).source;
        if (source.isNull() || source.height() <= 0)
            return;
        const int wm = truncInt(static_cast<double>(source.width()) / source.height() * hm);
        const QImage &image = scaledImage(path, QSize(truncInt(wm * u), truncInt(hm * u)), Qt::IgnoreAspectRatio);
        p.painter.drawImage(at, image);
    };
    draw(first, 12, QPoint(truncInt(p.px(usable + s.borderLeft - 17000)), truncInt(p.px(s.borderTop + 1000))));
    draw(second, 70,
         QPoint(truncInt(p.px(usable + s.borderLeft - 19000)),
                truncInt(p.px(s.borderTop - s.borderBottom) + p.px(s.pageSize.height() - 70000) * 0.5)));
}

void TargetPage::drawFooter(Painting &p)
{
    const TargetSettings &s = p.s;
    QPainter &painter = p.painter;
    const QString text = footerText();
    painter.setFont(p.font(2));
    painter.setPen(Qt::black);
    const QRect box = painter.boundingRect(QRect(), Qt::AlignLeft, text);
    const int tw = box.width();
    const int th = box.height();
    painter.drawText(QPoint(truncInt(p.px(p.originX + s.targetSize.width() * 0.5)) - tw / 2,
                            truncInt(p.px(p.originY + s.targetSize.height() + 2000) + th)),
                     text);
}

void TargetPage::drawDeskLabels(Painting &p)
{
    const TargetSettings &s = p.s;
    QPainter &painter = p.painter;
    painter.setFont(p.font(2.5));
    painter.setPen(QPen(QBrush(Qt::black), p.px(100)));
    painter.setBrush(Qt::NoBrush);
    const double pitchX = p.px(s.patchSizeX + s.patchMarginX);
    const double pitchY = p.px(s.patchSizeY + s.patchMarginY);
    const double boxWidth = p.px(7000);
    const double leftX = p.ox - p.px(2000) - p.px(7000);
    const double rightX = p.ox + p.px(s.targetSize.width() + 2000 + std::max(2000.0, s.patchMarginX));
    const float shift = static_cast<float>(p.px(1250));
    for (int r = 0; r < s.patchesY; ++r) {
        const QString letters = TargetPatchGrid::rowLetters(r + 1);
        const double top = p.oy + (r - 0.5) * pitchY + shift;
        painter.drawText(QRectF(leftX, top, boxWidth, pitchY), Qt::AlignRight | Qt::AlignVCenter, letters);
        painter.drawText(QRectF(rightX, top, boxWidth, pitchY), Qt::AlignLeft | Qt::AlignVCenter, letters);
    }
    for (int c = 0; c < s.patchesX; ++c) {
        const QRectF box(p.ox + c * pitchX + p.px(s.patchMarginX * 0.5), p.oy - p.px(1000) - pitchY, pitchX, pitchY);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignBottom, QString::number(c + 1));
    }
}

void TargetPage::drawPatchesAndFrame(Painting &p)
{
    const TargetSettings &s = p.s;
    patchGrid->paintPatches(p.painter, pageNumber, p.ox + p.px(s.patchMarginX * 0.5), p.oy + p.px(s.patchMarginY * 0.5));
    const double off1 = s.startingLinesTintoraDesk ? p.px(1000) : 0.0;
    p.painter.setPen(p.standardPen());
    p.painter.setBrush(Qt::NoBrush);
    p.painter.drawRect(QRectF(p.ox + off1, p.oy, p.px(s.targetSize.width()), p.px(s.targetSize.height())));
}

void TargetPage::drawStartingLines(Painting &p)
{
    const TargetSettings &s = p.s;
    p.painter.setPen(QPen(Qt::black, 1));
    p.painter.setBrush(Qt::black);
    const int X = p.ox;
    const int Y = p.oy;
    const double e = p.px(50);
    const double height = p.px(s.targetSize.height()) + e;
    p.painter.drawRect(QRectF(X, Y - e, p.px(1000), height));
    p.painter.drawRect(QRectF(X + p.px(1000) + p.px(s.targetSize.width()), Y - e, p.px(1000), height));
    p.painter.setBrush(Qt::NoBrush);
}

void TargetPage::drawAutopositioningBorders(Painting &p)
{
    const TargetSettings &s = p.s;
    patchGrid->paintBorders(p.painter, pageNumber, p.ox + p.px(s.patchMarginX * 0.5), p.oy + p.px(s.patchMarginY * 0.5));
}
