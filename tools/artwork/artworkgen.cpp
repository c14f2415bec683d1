// artworkgen: draws the suite's own page artwork and button icons at build time.
//
//   artworkgen <general-folder> <buttons-folder>
//
// General: the maker's logo "LogoQuorvane.jpg" (48 x 40 mm box of the left header), the
// right-hand header inserts "insert_1_*.tif" (12 mm high badge with the reading direction)
// and "insert_2_*.tif" (70 mm high vertical control strip), each as an RGB and a CMYK
// TIFF, and the program icon "tessaro.ico". Buttons: the PNG icons the forms name.
// Everything is drawn from vector shapes here; nothing is taken from elsewhere.
//
// The CMYK inserts are drawn once in RGB with colours chosen so that a full grey-component
// conversion gives pure inks (cyan -> C only, grey -> K only); text therefore prints in
// black ink alone, as a control strip must.
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const QColor kInk(0x1d, 0x26, 0x33);     // the suite's dark slate
const QColor kAccent(0x00, 0x8c, 0xb4);  // Quorvane blue

bool fail(const QString &what)
{
    std::fprintf(stderr, "artworkgen: %s\n", qPrintable(what));
    return false;
}

bool saveImage(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        return fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
    return true;
}

// Writes an RGB image as an 8-bit RGB TIFF, or with `cmyk` as a 4-channel separated TIFF
// through a full grey-component conversion (K = 1 - max(R, G, B)).
bool writeTiff(const QImage &source, const QString &path, bool cmyk, double dpi)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    TIFF *tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tif)
        return fail(QStringLiteral("cannot create %1").arg(path));
    const int w = image.width();
    const int h = image.height();
    const int spp = cmyk ? 4 : 3;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(w));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(h));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, static_cast<uint16_t>(spp));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(8));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, static_cast<uint16_t>(PLANARCONFIG_CONTIG));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, static_cast<uint16_t>(cmyk ? PHOTOMETRIC_SEPARATED : PHOTOMETRIC_RGB));
    if (cmyk)
        TIFFSetField(tif, TIFFTAG_INKSET, static_cast<uint16_t>(INKSET_CMYK));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, static_cast<uint16_t>(COMPRESSION_LZW));
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(16));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, static_cast<uint16_t>(RESUNIT_INCH));
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(dpi));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(dpi));
    std::vector<unsigned char> line(static_cast<size_t>(w) * spp);
    for (int y = 0; y < h; ++y) {
        const uchar *src = image.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const int r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
            if (!cmyk) {
                line[3 * x] = static_cast<unsigned char>(r);
                line[3 * x + 1] = static_cast<unsigned char>(g);
                line[3 * x + 2] = static_cast<unsigned char>(b);
                continue;
            }
            const int mx = std::max({r, g, b});
            const int k = 255 - mx;
            auto ink = [mx](int v) { return mx == 0 ? 0 : (mx - v) * 255 / mx; };
            line[4 * x] = static_cast<unsigned char>(ink(r));
            line[4 * x + 1] = static_cast<unsigned char>(ink(g));
            line[4 * x + 2] = static_cast<unsigned char>(ink(b));
            line[4 * x + 3] = static_cast<unsigned char>(k);
        }
        if (TIFFWriteScanline(tif, line.data(), static_cast<uint32_t>(y), 0) < 0) {
            TIFFClose(tif);
            return fail(QStringLiteral("TIFFWriteScanline failed writing line y=%1 of %2").arg(y).arg(path));
        }
    }
    TIFFClose(tif);
    return true;
}

QFont font(int pixelSize, int weight = QFont::Normal, bool italic = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The suite's emblem: six ink-coloured petals around a white core, ringed in slate; the
// gap at the lower right makes the "Q" of Quorvane.
void drawEmblem(QPainter &p, QPointF c, double radius)
{
    static const QColor petals[6] = {QColor(0, 160, 210), QColor(40, 70, 160), QColor(200, 30, 120),
                                     QColor(225, 50, 40), QColor(250, 200, 0), QColor(40, 160, 80)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        QPainterPath path;
        const QRectF outer(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
        const double r2 = radius * 0.52;
        const QRectF inner(c.x() - r2, c.y() - r2, 2 * r2, 2 * r2);
        const double start = 90.0 + i * 60.0 + 3.0;
        path.arcMoveTo(outer, start);
        path.arcTo(outer, start, 54.0);
        path.arcTo(inner, start + 54.0, -54.0);
        path.closeSubpath();
        p.setBrush(petals[i]);
        p.drawPath(path);
    }
    // The tail of the Q.
    QPen tail(kInk, radius * 0.16, Qt::SolidLine, Qt::RoundCap);
    p.setPen(tail);
    p.drawLine(QPointF(c.x() + radius * 0.55, c.y() + radius * 0.55), QPointF(c.x() + radius * 1.05, c.y() + radius * 1.05));
}

QImage drawLogo()
{
    // 48 x 20 mm at 25 px/mm: wide enough to sit between the header lines and the address
    // block inside the 48 x 40 mm logo box.
    QImage image(1200, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawEmblem(p, QPointF(230, 235), 175);
    p.setPen(kInk);
    // The wordmark takes the largest size that fits its 720 px, whatever font is found.
    QFont word = font(150, QFont::Bold);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    while (word.pixelSize() > 40 && QFontMetrics(word).horizontalAdvance(QStringLiteral("QUORVANE")) > 720)
        word.setPixelSize(word.pixelSize() - 4);
    p.setFont(word);
    p.drawText(QRect(450, 90, 750, 200), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUORVANE"));
    p.setPen(kAccent);
    QFont tag = font(62);
    tag.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    p.setFont(tag);
    p.drawText(QRect(456, 290, 744, 100), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("colour measurement"));
    return image;
}

// 14 x 12 mm badge: the suite name, the reading direction and the process primaries.
QImage drawInsert1(bool cmyk)
{
    QImage image(700, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(Qt::black, 10));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 8, 684, 584), 40, 40);
    p.setPen(Qt::black);
    QFont title = font(110, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 8);
    p.setFont(title);
    p.drawText(QRect(0, 40, 700, 140), Qt::AlignCenter, QStringLiteral("VANTREL"));
    // Reading direction of the instrument: left to right.
    p.setPen(QPen(Qt::black, 22, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(90, 260), QPointF(540, 260));
    QPainterPath head;
    head.moveTo(620, 260);
    head.lineTo(520, 205);
    head.lineTo(520, 315);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(head);
    p.setPen(Qt::black);
    p.setFont(font(48));
    p.drawText(QRect(0, 300, 700, 70), Qt::AlignCenter, QStringLiteral("reading direction"));
    // Process primaries: pure inks in the CMYK variant, display primaries in the RGB one.
    const QList<QColor> primaries = cmyk
        ? QList<QColor>{QColor(0, 255, 255), QColor(255, 0, 255), QColor(255, 255, 0), QColor(0, 0, 0)}
        : QList<QColor>{QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(0, 0, 0)};
    const int size = 110, gap = 26;
    const int x0 = (700 - 4 * size - 3 * gap) / 2;
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRect(x0 + i * (size + gap), 410, size, size), primaries[i]);
    }
    return image;
}

// 16 x 70 mm vertical control strip: solids, overprints and a grey wedge, labelled.
QImage drawInsert2(bool cmyk)
{
    const int w = 320, h = 1400; // 20 px/mm
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    struct Step
    {
        QColor color;
        const char *label;
    };
    const std::vector<Step> steps = cmyk
        ? std::vector<Step>{{QColor(0, 255, 255), "C"},       {QColor(255, 0, 255), "M"},
                            {QColor(255, 255, 0), "Y"},       {QColor(0, 0, 0), "K"},
                            {QColor(0, 0, 255), "C+M"},       {QColor(0, 255, 0), "C+Y"},
                            {QColor(255, 0, 0), "M+Y"},       {QColor(64, 64, 64), "K75"},
                            {QColor(128, 128, 128), "K50"},   {QColor(191, 191, 191), "K25"},
                            {QColor(230, 230, 230), "K10"},   {QColor(255, 255, 255), "W"}}
        : std::vector<Step>{{QColor(255, 0, 0), "R"},         {QColor(0, 255, 0), "G"},
                            {QColor(0, 0, 255), "B"},         {QColor(0, 255, 255), "C"},
                            {QColor(255, 0, 255), "M"},       {QColor(255, 255, 0), "Y"},
                            {QColor(0, 0, 0), "K"},           {QColor(64, 64, 64), "75"},
                            {QColor(128, 128, 128), "50"},    {QColor(191, 191, 191), "25"},
                            {QColor(230, 230, 230), "10"},    {QColor(255, 255, 255), "W"}};
    // Title running up the strip.
    p.save();
    p.translate(52, 250);
    p.rotate(-90);
    p.setPen(Qt::black);
    QFont title = font(44, QFont::Bold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(title);
    p.drawText(QRect(-220, -30, 440, 60), Qt::AlignCenter, QStringLiteral("CONTROL"));
    p.restore();
    p.setPen(QPen(Qt::black, 4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 4, w - 8, h - 8));
    const int top = 40, stepH = 104, patchX = 92, patchW = 112;
    p.setFont(font(32, QFont::Bold));
    for (size_t i = 0; i < steps.size(); ++i) {
        const int y = top + static_cast<int>(i) * stepH;
        const QRect patch(patchX, y, patchW, stepH - 14);
        p.fillRect(patch, steps[i].color);
        if (steps[i].color == Qt::white) {
            p.setPen(QPen(Qt::black, 3));
            p.drawRect(patch);
        }
        p.setPen(Qt::black);
        p.drawText(QRect(patchX + patchW + 6, y, w - patchX - patchW - 12, stepH - 14), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(steps[i].label));
    }
    // Registration target at the foot.
    const QPointF c(w / 2.0, h - 80);
    p.setPen(QPen(Qt::black, 5));
    p.drawEllipse(c, 40, 40);
    p.drawLine(QPointF(c.x() - 60, c.y()), QPointF(c.x() + 60, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 60), QPointF(c.x(), c.y() + 60));
    return image;
}

// The program icon: a 3 x 3 chart of patches on a rounded slate tile.
QImage drawProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 256.0;
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(8 * s, 8 * s, 240 * s, 240 * s), 44 * s, 44 * s);
    static const QColor cells[9] = {QColor(0, 160, 210), QColor(200, 30, 120), QColor(250, 200, 0),
                                    QColor(40, 160, 80),  QColor(245, 245, 245), QColor(225, 50, 40),
                                    QColor(40, 70, 160),  QColor(120, 120, 120), QColor(20, 20, 20)};
    for (int i = 0; i < 9; ++i) {
        const double x = (40 + (i % 3) * 62) * s, y = (40 + (i / 3) * 62) * s;
        p.setBrush(cells[i]);
        p.drawRoundedRect(QRectF(x, y, 52 * s, 52 * s), 8 * s, 8 * s);
    }
    return image;
}

QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Round badge with an "i": drawn from shapes so the icon is the same on every machine.
QImage drawInfo(int size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 200));
    p.drawEllipse(QRectF(3 * s, 3 * s, 58 * s, 58 * s));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(28 * s, 13 * s, 8 * s, 8 * s));
    p.drawRoundedRect(QRectF(28 * s, 26 * s, 8 * s, 25 * s), 2 * s, 2 * s);
    return image;
}

QImage drawWarning(int size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    QPainterPath tri;
    tri.moveTo(32 * s, 4 * s);
    tri.lineTo(61 * s, 57 * s);
    tri.lineTo(3 * s, 57 * s);
    tri.closeSubpath();
    p.setPen(QPen(QColor(180, 120, 0), 3 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(250, 190, 30));
    p.drawPath(tri);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 0));
    p.drawRoundedRect(QRectF(29 * s, 20 * s, 6 * s, 22 * s), 2 * s, 2 * s);
    p.drawEllipse(QRectF(28.5 * s, 45 * s, 7 * s, 7 * s));
    return image;
}

QImage drawError(int size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 40, 40));
    p.drawEllipse(QRectF(3 * s, 3 * s, 58 * s, 58 * s));
    p.setPen(QPen(Qt::white, 7 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21 * s, 21 * s), QPointF(43 * s, 43 * s));
    p.drawLine(QPointF(43 * s, 21 * s), QPointF(21 * s, 43 * s));
    return image;
}

// A pencil over a text line.
QImage drawEditText(int size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.setPen(QPen(kInk, 3 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6 * s, 56 * s), QPointF(58 * s, 56 * s));
    p.save();
    p.translate(32 * s, 30 * s);
    p.rotate(-45);
    p.setPen(QPen(kInk, 2 * s));
    p.setBrush(QColor(250, 190, 30));
    p.drawRect(QRectF(-20 * s, -6 * s, 34 * s, 12 * s));
    p.setBrush(QColor(230, 120, 130));
    p.drawRect(QRectF(14 * s, -6 * s, 8 * s, 12 * s));
    QPainterPath tip;
    tip.moveTo(-20 * s, -6 * s);
    tip.lineTo(-30 * s, 0);
    tip.lineTo(-20 * s, 6 * s);
    tip.closeSubpath();
    p.setBrush(QColor(240, 220, 180));
    p.drawPath(tip);
    p.restore();
    return image;
}

// An eyedropper with a drop of colour.
QImage drawColorPicker(int size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.save();
    p.translate(34 * s, 30 * s);
    p.rotate(45);
    p.setPen(QPen(kInk, 2 * s));
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(-7 * s, -26 * s, 14 * s, 14 * s), 4 * s, 4 * s);
    p.drawRect(QRectF(-10 * s, -12 * s, 20 * s, 4 * s));
    p.setBrush(QColor(220, 235, 245));
    p.drawRect(QRectF(-4 * s, -8 * s, 8 * s, 24 * s));
    QPainterPath tip;
    tip.moveTo(-4 * s, 16 * s);
    tip.lineTo(0, 24 * s);
    tip.lineTo(4 * s, 16 * s);
    p.drawPath(tip);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QRectF(6 * s, 50 * s, 10 * s, 10 * s));
    return image;
}

QImage drawArrow(int size, bool up)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    QPainterPath arrow;
    arrow.moveTo(32 * s, 8 * s);
    arrow.lineTo(56 * s, 34 * s);
    arrow.lineTo(41 * s, 34 * s);
    arrow.lineTo(41 * s, 56 * s);
    arrow.lineTo(23 * s, 56 * s);
    arrow.lineTo(23 * s, 34 * s);
    arrow.lineTo(8 * s, 34 * s);
    arrow.closeSubpath();
    if (!up) {
        p.translate(0, size);
        p.scale(1, -1);
    }
    p.setPen(QPen(kInk, 2 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kAccent);
    p.drawPath(arrow);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: artworkgen <general-folder> <buttons-folder>\n");
        return 2;
    }
    const QString general = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QString buttons = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    const int icon = 64;
    bool ok = saveImage(drawLogo(), general + QStringLiteral("LogoQuorvane.jpg"), "jpg", 95);
    ok = writeTiff(drawInsert1(false), general + QStringLiteral("insert_1_RGB.tif"), false, 1270.0) && ok;
    ok = writeTiff(drawInsert1(true), general + QStringLiteral("insert_1_CMYK.tif"), true, 1270.0) && ok;
    ok = writeTiff(drawInsert2(false), general + QStringLiteral("insert_2_RGB.tif"), false, 508.0) && ok;
    ok = writeTiff(drawInsert2(true), general + QStringLiteral("insert_2_CMYK.tif"), true, 508.0) && ok;
    ok = saveImage(drawProgramIcon(256), general + QStringLiteral("tessaro.ico"), "ico") && ok;
    ok = saveImage(drawInfo(icon), buttons + QStringLiteral("info.png"), "png") && ok;
    ok = saveImage(drawWarning(icon), buttons + QStringLiteral("warning.png"), "png") && ok;
    ok = saveImage(drawError(icon), buttons + QStringLiteral("error.png"), "png") && ok;
    ok = saveImage(drawEditText(icon), buttons + QStringLiteral("editText.png"), "png") && ok;
    ok = saveImage(drawColorPicker(icon), buttons + QStringLiteral("color_picker.png"), "png") && ok;
    ok = saveImage(drawArrow(icon, true), buttons + QStringLiteral("arrow_up.png"), "png") && ok;
    ok = saveImage(drawArrow(icon, false), buttons + QStringLiteral("arrow_down.png"), "png") && ok;
    return ok ? 0 : 1;
}
