// DCS 2.0 page files: DOS EPS header, main PostScript part, appended plates, TIFF preview.
#include "dcswriter.h"

#include "ColorUtilQt.h"
#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"
#include "TargetSettings.h"

#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr qint64 kPlateCopyChunk = 51200;  // bytes
constexpr int kPlateFieldBlanks = 33;
constexpr int kTiffPreviewPixelOffset = 204;

QByteArray le16(uint16_t v)
{
    QByteArray b(2, '\0');
    b[0] = static_cast<char>(v & 0xFF);
    b[1] = static_cast<char>(v >> 8);
    return b;
}

QByteArray le32(uint32_t v)
{
    return le16(static_cast<uint16_t>(v & 0xFFFF)) + le16(static_cast<uint16_t>(v >> 16));
}

QByteArray be16(uint16_t v)
{
    QByteArray b(2, '\0');
    b[0] = static_cast<char>(v >> 8);
    b[1] = static_cast<char>(v & 0xFF);
    return b;
}

QByteArray be32(uint32_t v)
{
    return be16(static_cast<uint16_t>(v >> 16)) + be16(static_cast<uint16_t>(v & 0xFFFF));
}

QString fixed3(double v)
{
    return QString::number(v, 'f', 3);
}

QByteArray pascalString(const QString &name)
{
    const QByteArray bytes = name.toLatin1();
    QByteArray out;
    out.append(static_cast<char>(bytes.size() & 0xFF));
    out.append(bytes);
    return out;
}

QByteArray channelDisplayInfo(const std::array<float, 3> &rgb)
{
    QByteArray out = be16(0); // RGB
    for (float c : rgb)
        out += be16(static_cast<uint16_t>(std::clamp(std::trunc(static_cast<double>(c) * 65535.0), 0.0, 65535.0)));
    out += be16(0);
    out += be16(0); // opacity
    out.append(static_cast<char>(2)); // spot
    out.append('\0');
    return out;
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

// One TIFF directory entry (little-endian); a SHORT value sits in the first two bytes.
QByteArray tiffEntry(uint16_t tag, uint16_t type, uint32_t count, uint32_t value)
{
    QByteArray e = le16(tag) + le16(type) + le32(count);
    if (type == 3 && count == 1)
        e += le16(static_cast<uint16_t>(value)) + le16(0);
    else
        e += le32(value);
    return e;
}

} // namespace

void DcsPreviewSize(int width, int height, int &previewWidth, int &previewHeight)
{
    // Single precision on purpose: 4491 / 18 is 249.5, which must round to 250.
    auto rnd = [](float x) { return static_cast<int>(x + 0.5f); };
    float s = 100.0f;
    if (width > 0 && rnd(static_cast<float>(width) * s / 18.0f) > 250)
        s = 4491.0f / static_cast<float>(width);
    if (height > 0 && rnd(static_cast<float>(height) * s / 18.0f) > 250)
        s = 4491.0f / static_cast<float>(height);
    previewWidth = std::max(1, rnd(static_cast<float>(width) * s / 18.0f));
    previewHeight = std::max(1, rnd(static_cast<float>(height) * s / 18.0f));
}

float DcsPointsFromMicrometres(int um)
{
    const float mm = static_cast<float>(um) / 1000.0f;
    return static_cast<float>(static_cast<double>(mm) * 720.0 / 254.0);
}

// ---- DcsOutput ----

DcsOutput::DcsOutput() = default;

DcsOutput::~DcsOutput()
{
    cancel();
}

bool DcsOutput::fail(const QString &text)
{
    if (m_error.isEmpty())
        m_error = text;
    cancel();
    return false;
}

void DcsOutput::cancel()
{
    if (m_main) {
        m_main->cancelWriting();
        m_main.reset();
    }
    m_plates.clear(); // QTemporaryFile removes its file
    m_preview.clear();
}

bool DcsOutput::writeBytes(QIODevice &device, const QByteArray &bytes)
{
    if (device.write(bytes) != bytes.size())
        return fail(QStringLiteral("Write failed: %1").arg(device.errorString()));
    return true;
}

bool DcsOutput::writeText(QIODevice &device, const QString &line)
{
    // Characters outside Latin-1 become "?".
    return writeBytes(device, line.toLatin1() + '\n');
}

QStringList DcsOutput::commonHeaderLines() const
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const double w = m_format.boundingWidth, h = m_format.boundingHeight;
    return {
        QStringLiteral("%!PS-Adobe-3.0 EPSF-3.0"),
        QStringLiteral("%%Creator: %1").arg(QStringLiteral("Quorvane Vantrel")),
        QStringLiteral("%%Title: %1").arg(m_format.title),
        QStringLiteral("%%CreationDate: ") + english.toString(m_format.created, QStringLiteral("dddd MMMM dd yyyy HH:mm:ss")),
        QStringLiteral("%%BoundingBox: 0 0 %1 %2").arg(static_cast<int>(w + 0.5)).arg(static_cast<int>(h + 0.5)),
        QStringLiteral("%%HiResBoundingBox: 0 0 %1 %2").arg(fixed3(w + 0.0005), fixed3(h + 0.0005)),
    };
}

QStringList DcsOutput::photoshopLines() const
{
    const int channels = m_format.channels();
    int s = 0;
    for (const QString &name : m_format.plateNames)
        s += static_cast<int>(pascalString(name).size());
    const int p = s % 2;
    QStringList lines;
    lines << QStringLiteral("%BeginPhotoshop: %1").arg(24 + s + p + 14 * channels);
    for (int i = 0; i < channels; ++i) {
        const QString bytes = hex(pascalString(m_format.plateNames[i]));
        if (i == 0)
            lines << QStringLiteral("% 3842494D03EE0000") + hex(be32(static_cast<uint32_t>(s))) + bytes;
        else
            lines << QStringLiteral("% ") + bytes;
    }
    lines << (p ? QStringLiteral("% 00") : QStringLiteral("% "));
    for (int i = 0; i < channels; ++i) {
        const QString bytes = hex(channelDisplayInfo(m_format.customColors[static_cast<std::size_t>(i)]));
        if (i == 0)
            lines << QStringLiteral("% 3842494D03EF0000") + hex(be32(static_cast<uint32_t>(14 * channels))) + bytes;
        else
            lines << QStringLiteral("% ") + bytes;
    }
    lines << QStringLiteral("%EndPhotoshop");
    return lines;
}

QStringList DcsOutput::plateProlog() const
{
    const int w = m_format.width, h = m_format.height;
    return {
        QStringLiteral("gsave % EPS gsave"),
        QStringLiteral("40 dict begin"),
        QStringLiteral("/_image systemdict /image get def"),
        QStringLiteral("/_setgray systemdict /setgray get def"),
        QStringLiteral("/_currentgray systemdict /currentgray get def"),
        QStringLiteral("/_settransfer systemdict /settransfer get def"),
        QStringLiteral("/_currenttransfer systemdict /currenttransfer get def"),
        QStringLiteral("/blank 0 _currenttransfer exec"),
        QStringLiteral("1 _currenttransfer exec eq def"),
        QStringLiteral("/negative blank"),
        QStringLiteral("{0 _currenttransfer exec 0.5 lt}"),
        QStringLiteral("{0 _currenttransfer exec 1 _currenttransfer exec gt}"),
        QStringLiteral("ifelse def"),
        QStringLiteral("/inverted? negative def"),
        QStringLiteral("/level2 systemdict /languagelevel known"),
        QStringLiteral("{languagelevel 2 ge} {false} ifelse def"),
        QStringLiteral("/level3 systemdict /languagelevel known"),
        QStringLiteral("{languagelevel 3 ge} {false} ifelse def"),
        QStringLiteral("gsave % Image Header gsave"),
        QStringLiteral(" /rows %1 def").arg(h),
        QStringLiteral(" /cols %1 def").arg(w),
        QStringLiteral("%1 %2 scale").arg(fixed3(static_cast<double>(m_format.boundingWidth) + 0.0005),
                                          fixed3(static_cast<double>(m_format.boundingHeight) + 0.0005)),
        QStringLiteral("level2 {"),
        QStringLiteral("/DeviceGray"),
        QStringLiteral("setcolorspace currentdict /PhotoshopDuotoneColorSpace undef currentdict "
                       "/PhotoshopDuotoneAltColorSpace undef } if"),
        QStringLiteral("/picstr1 %1 string def").arg(w),
        QStringLiteral("/_rowpadstr %1 string def").arg(h),
        QStringLiteral("/rawreaddata {currentfile exch readstring pop} def"),
        QStringLiteral("/padreaddata { _topPad 0 gt       { /_topPad _topPad 1 sub def pop _rowpadstr }"),
        QStringLiteral("\t\t\t { _subImageRows 0 gt { /_subImageRows _subImageRows 1 sub def"),
        QStringLiteral("\t\t\t\t\t\t\t\t\tdup _leftPad _picsubstr rawreaddata putinterval }"),
        QStringLiteral("\t\t\t\t\t\t\t\t  { pop _rowpadstr } ifelse } ifelse } def"),
        QStringLiteral("/image2 level2 {/image load def} {{begin"),
        QStringLiteral("Width Height BitsPerComponent ImageMatrix"),
        QStringLiteral("/DataSource load image end} def} ifelse"),
        QStringLiteral("/beginimage {"),
        QStringLiteral("image2"),
        QStringLiteral("} def"),
        QStringLiteral("/readdata /rawreaddata load bind def"),
        QStringLiteral("12 dict begin"),
        QStringLiteral("/ImageType 1 def"),
        QStringLiteral("/Width cols def"),
        QStringLiteral("/Height rows def"),
        QStringLiteral("/ImageMatrix [cols 0 0 rows neg 0 rows] def"),
        QStringLiteral("/BitsPerComponent 8 def"),
        QStringLiteral("/Decode [0 1] def"),
        QStringLiteral("/DataSource {picstr1 readdata} def"),
        QStringLiteral("currentdict end"),
        QStringLiteral("%%BeginBinary: 0000000000"),
        QStringLiteral("beginimage"),
    };
}

bool DcsOutput::open(const QString &path, const DcsPageFormat &format)
{
    cancel();
    m_error.clear();
    m_format = format;
    m_previewRows = 0;
    m_rows = 0;
    const int channels = format.channels();
    if (channels <= 0 || channels > kMaxPlates || static_cast<int>(format.customColors.size()) != channels)
        return fail(QStringLiteral("Cannot write %1: %2 plates are not supported").arg(path).arg(channels));
    if (format.width <= 0 || format.height <= 0 || format.previewWidth <= 0 || format.previewHeight <= 0)
        return fail(QStringLiteral("Cannot write %1: empty page").arg(path));
    // The DOS EPS header holds 32-bit offsets.
    const double plateBytes = static_cast<double>(format.width) * format.height * channels;
    if (plateBytes > 4.0e9)
        return fail(QStringLiteral("Cannot write %1: the plates exceed the 4 GB limit of an EPS file").arg(path));

    m_main = std::make_unique<QSaveFile>(path);
    if (!m_main->open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot create %1: %2").arg(path, m_main->errorString()));

    QByteArray header;
    header.append("\xC5\xD0\xD3\xC6", 4);
    header += le32(30) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0);
    header.append("\xFF\xFF", 2);
    if (!writeBytes(*m_main, header))
        return false;

    QStringList lines = commonHeaderLines();
    lines << QStringLiteral("%%SuppressDotGainCompensation");
    for (int i = 0; i < channels; ++i)
        lines << (i == 0 ? QStringLiteral("%%DocumentCustomColors: (") : QStringLiteral("%%+ (")) + format.plateNames[i]
                     + QStringLiteral(")");
    for (int i = 0; i < channels; ++i) {
        const auto &c = format.customColors[static_cast<std::size_t>(i)];
        lines << (i == 0 ? QStringLiteral("%%RGBCustomColor: ") : QStringLiteral("%%+ "))
                     + QStringLiteral("%1 %2 %3 (%4)").arg(fixed3(c[0]), fixed3(c[1]), fixed3(c[2]), format.plateNames[i]);
    }
    for (const QString &line : lines)
        if (!writeText(*m_main, line))
            return false;
    m_platePositions.clear();
    for (int i = 0; i < channels; ++i) {
        const QByteArray entry = (QStringLiteral("%%PlateFile: (") + format.plateNames[i] + QStringLiteral(") EPS #")).toLatin1();
        if (!writeBytes(*m_main, entry))
            return false;
        m_platePositions.push_back(m_main->pos());
        if (!writeBytes(*m_main, QByteArray(kPlateFieldBlanks, ' ') + '\n'))
            return false;
    }
    lines = QStringList{QStringLiteral("%%Pages 1"), QStringLiteral("%%EndComments "), QStringLiteral("%%BeginProlog "),
                        QStringLiteral("%%EndProlog "), QStringLiteral("%%BeginSetup "), QStringLiteral("%%EndSetup ")};
    lines << QStringLiteral("%ImageData: %1 %2 8 %3 0 %4 1 \"beginimage\"")
                 .arg(format.previewWidth).arg(format.previewHeight).arg(format.mode).arg(format.previewWidth);
    lines << photoshopLines();
    lines << QStringLiteral("gsave") << QStringLiteral("20 dict begin")
          << QStringLiteral("/pixels %1 def").arg(format.previewWidth)
          << QStringLiteral("/rows %1 def").arg(format.previewHeight) << QStringLiteral("/level 2 def")
          << QStringLiteral("/interpolate false def") << QStringLiteral("/composite 1 def")
          // One image pixel per point would print the composite as a stamp in the corner;
          // it is scaled to cover the bounding box as the plates do.
          << QStringLiteral("%1 %2 scale")
                 .arg(QString::number(static_cast<double>(format.boundingWidth) / std::max(1, format.previewWidth), 'f', 6),
                      QString::number(static_cast<double>(format.boundingHeight) / std::max(1, format.previewHeight), 'f', 6))
          << QStringLiteral("%1 %2 8 [1.000000 0.000000 0.000000 -1.00000 0.000000 %3] currentfile false 3 colorimage")
                 .arg(format.previewWidth).arg(format.previewHeight).arg(format.previewHeight);
    for (const QString &line : lines)
        if (!writeText(*m_main, line))
            return false;

    QStringList plateHeader = commonHeaderLines();
    plateHeader << QStringLiteral("%%Pages 1") << QStringLiteral("%%EndComments") << QStringLiteral("%%BeginProlog")
                << QStringLiteral("%%EndProlog") << QStringLiteral("%%BeginSetup") << QStringLiteral("%%EndSetup")
                << QStringLiteral("%ImageData: %1 %2 8 1 0 %3 1 \"beginimage\"").arg(format.width).arg(format.height).arg(format.width)
                << plateProlog();
    for (int i = 0; i < channels; ++i) {
        auto plate = std::make_unique<QTemporaryFile>();
        if (!plate->open())
            return fail(QStringLiteral("Cannot create a temporary plate file: %1").arg(plate->errorString()));
        for (const QString &line : plateHeader)
            if (!writeText(*plate, line))
                return false;
        m_plates.push_back(std::move(plate));
    }
    m_plateRow.assign(static_cast<std::size_t>(format.width), 0);
    m_preview.reserve(format.previewWidth * format.previewHeight * 3);
    return true;
}

bool DcsOutput::writePreviewRow(const uint8_t *rgb)
{
    if (!m_main)
        return fail(QStringLiteral("The DCS file is not open"));
    if (m_rows > 0 || m_previewRows >= m_format.previewHeight)
        return fail(QStringLiteral("Composite preview row %1 out of order").arg(m_previewRows));
    const QByteArray row(reinterpret_cast<const char *>(rgb), m_format.previewWidth * 3);
    if (!writeBytes(*m_main, row))
        return false;
    m_preview += row;
    ++m_previewRows;
    return true;
}

bool DcsOutput::writeScanline(const uint8_t *line, int row)
{
    if (!m_main)
        return fail(QStringLiteral("The DCS file is not open (line y=%1)").arg(row));
    if (m_previewRows != m_format.previewHeight)
        return fail(QStringLiteral("Plate line y=%1 before the composite preview was complete").arg(row));
    if (row != m_rows || row >= m_format.height)
        return fail(QStringLiteral("Plate line y=%1 out of order").arg(row));
    const int channels = m_format.channels();
    for (int i = 0; i < channels; ++i) {
        const uint8_t *s = line + i;
        for (int x = 0; x < m_format.width; ++x, s += channels)
            m_plateRow[static_cast<std::size_t>(x)] = *s;
        QTemporaryFile &plate = *m_plates[static_cast<std::size_t>(i)];
        if (plate.write(reinterpret_cast<const char *>(m_plateRow.data()), m_format.width) != m_format.width)
            return fail(QStringLiteral("Writing plate %1 failed at line y=%2: %3").arg(i).arg(row).arg(plate.errorString()));
    }
    ++m_rows;
    return true;
}

bool DcsOutput::appendPlates()
{
    QSaveFile &main = *m_main;
    std::vector<char> chunk(static_cast<std::size_t>(kPlateCopyChunk));
    for (std::size_t i = 0; i < m_plates.size(); ++i) {
        QTemporaryFile &plate = *m_plates[i];
        for (const QString &line : {QStringLiteral("\n%%EndBinary"), QStringLiteral("grestore end % Image Trailer grestore"),
                                    QStringLiteral("grestore % EPS grestore"), QStringLiteral("%%Trailer")})
            if (!writeText(plate, line))
                return false;
        if (!plate.flush())
            return fail(QStringLiteral("Writing plate %1 failed: %2").arg(i).arg(plate.errorString()));
        const qint64 offset = main.pos();
        const qint64 length = plate.pos();
        if (!plate.seek(0))
            return fail(QStringLiteral("Cannot read back plate %1: %2").arg(i).arg(plate.errorString()));
        qint64 left = length;
        while (left > 0) {
            const qint64 n = plate.read(chunk.data(), std::min(left, kPlateCopyChunk));
            if (n <= 0)
                return fail(QStringLiteral("Cannot read back plate %1: %2").arg(i).arg(plate.errorString()));
            if (main.write(chunk.data(), n) != n)
                return fail(QStringLiteral("Appending plate %1 failed: %2").arg(i).arg(main.errorString()));
            left -= n;
        }
        const qint64 end = main.pos();
        if (!main.seek(m_platePositions[i]) || !writeBytes(main, QStringLiteral("%1 %2").arg(offset).arg(length).toLatin1())
            || !main.seek(end))
            return fail(QStringLiteral("Cannot fill in the plate entry %1: %2").arg(i).arg(main.errorString()));
        m_plates[i].reset(); // removes the temporary file
    }
    m_plates.clear();
    return true;
}

bool DcsOutput::appendTiffPreview()
{
    QSaveFile &main = *m_main;
    if (main.pos() % 2 && !writeBytes(main, QByteArray(1, '\0')))
        return false;
    const qint64 c = main.pos();
    const uint32_t pw = static_cast<uint32_t>(m_format.previewWidth);
    const uint32_t ph = static_cast<uint32_t>(m_format.previewHeight);
    const uint32_t pixelBytes = pw * ph * 3;

    QByteArray tiff;
    tiff.append("II", 2);
    tiff += le16(42) + le32(8) + le16(14);
    tiff += tiffEntry(254, 4, 1, 0);
    tiff += tiffEntry(256, 4, 1, pw);
    tiff += tiffEntry(257, 4, 1, ph);
    tiff += tiffEntry(258, 3, 3, 182);
    tiff += tiffEntry(259, 3, 1, 1);
    tiff += tiffEntry(262, 3, 1, 2);
    tiff += tiffEntry(273, 4, 1, kTiffPreviewPixelOffset);
    tiff += tiffEntry(277, 3, 1, 3);
    tiff += tiffEntry(278, 4, 1, ph);
    tiff += tiffEntry(279, 4, 1, pixelBytes);
    tiff += tiffEntry(282, 5, 1, 188);
    tiff += tiffEntry(283, 5, 1, 196);
    tiff += tiffEntry(284, 3, 1, 1);
    tiff += tiffEntry(296, 3, 1, 2);
    tiff += le32(0);
    tiff += le16(8) + le16(8) + le16(8);
    tiff += le32(1) + le32(100) + le32(1) + le32(100);
    Q_ASSERT(tiff.size() == kTiffPreviewPixelOffset);
    if (!writeBytes(main, tiff) || !writeBytes(main, m_preview))
        return false;
    const qint64 end = main.pos();
    if (!main.seek(8) || !writeBytes(main, le32(static_cast<uint32_t>(c - 30))) || !main.seek(20)
        || !writeBytes(main, le32(static_cast<uint32_t>(c))) || !writeBytes(main, le32(static_cast<uint32_t>(end - c)))
        || !main.seek(end))
        return fail(QStringLiteral("Cannot fill in the DOS EPS header: %1").arg(main.errorString()));
    return true;
}

bool DcsOutput::close()
{
    if (!m_main)
        return fail(m_error.isEmpty() ? QStringLiteral("The DCS file is not open") : m_error);
    if (m_rows != m_format.height)
        return fail(QStringLiteral("The plates end after %1 of %2 lines").arg(m_rows).arg(m_format.height));
    for (const QString &line : {QStringLiteral("end"), QStringLiteral("grestore"), QStringLiteral("%%Trailer")})
        if (!writeText(*m_main, line))
            return false;
    if (!appendPlates() || !appendTiffPreview())
        return false;
    if (!m_main->commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(m_main->fileName(), m_main->errorString()));
    m_main.reset();
    m_preview.clear();
    return true;
}

// ---- DCSWriter ----

DCSWriter::DCSWriter(TargetPage *page)
    : BaseImgWriter(page, false)
{
    setup();
}

DCSWriter::DCSWriter(RasterPageSource &source)
    : BaseImgWriter(source, false)
{
    setup();
}

QString DCSWriter::pageFilePath(const QString &basePath, int pageNumber)
{
    return basePath + QStringLiteral("_P%1.eps").arg(pageNumber);
}

void DCSWriter::setup()
{
    if (!isValid())
        return;
    const int extra = std::clamp(reference->extraChannelCount, 0, kMaxSamples);
    m_customColors.clear();
    m_plateNames.clear();
    auto labColour = [this](int extraIndex) {
        std::array<float, 3> rgb{0.0f, 0.0f, 0.0f};
        if (extraIndex < 0 || extraIndex >= kMaxSamples)
            return rgb;
        if (const auto &lab = reference->channelLab[static_cast<std::size_t>(extraIndex)]) {
            const double v[3] = {lab->L, lab->a, lab->b};
            const QColor c = LabToColor(v);
            if (c.isValid())
                rgb = {c.red() / 255.0f, c.green() / 255.0f, c.blue() / 255.0f};
        }
        return rgb;
    };

    if (reference->isCMYK) {
        channels = std::min(kMaxSamples, 4 + extra);
        outputProfile = cmsOpenProfileFromMem(EmbeddedProfiles::OutputCMYK(),
                                              static_cast<cmsUInt32Number>(EmbeddedProfiles::OutputCMYKSize()));
        if (!outputProfile) {
            setError(QStringLiteral("Cannot open the CMYK output profile"));
            return;
        }
        cmsHTRANSFORM toRGB = cmsCreateTransform(outputProfile, TYPE_CMYK_8, displayProfile, TYPE_RGB_FLT,
                                                 INTENT_RELATIVE_COLORIMETRIC, 0);
        if (!toRGB) {
            setError(QStringLiteral("Cannot create the transform of the process colours"));
            return;
        }
        for (int i = 0; i < channels; ++i) {
            m_plateNames << QString::fromStdString(reference->GetChannelName(i));
            if (i < 4) {
                uint8_t ink[4] = {0, 0, 0, 0};
                ink[i] = 255;
                float rgb[3] = {0.0f, 0.0f, 0.0f};
                cmsDoTransform(toRGB, ink, rgb, 1);
                m_customColors.push_back({std::clamp(rgb[0], 0.0f, 1.0f), std::clamp(rgb[1], 0.0f, 1.0f),
                                          std::clamp(rgb[2], 0.0f, 1.0f)});
            } else {
                m_customColors.push_back(labColour(i - 4));
            }
        }
        cmsDeleteTransform(toRGB);
        m_mode = extra > 0 ? 5 : 4;
        createPageTransform(outputProfile,
                            COLORSPACE_SH(PT_CMYK) | CHANNELS_SH(4) | EXTRA_SH(channels - 4) | BYTES_SH(1));
    } else if (extra > 0) {
        channels = extra;
        outputProfile = cmsOpenProfileFromMem(EmbeddedProfiles::OutputCMYK(),
                                              static_cast<cmsUInt32Number>(EmbeddedProfiles::OutputCMYKSize()));
        cmsHPROFILE gray = cmsOpenProfileFromMem(EmbeddedProfiles::OutputGray(),
                                                 static_cast<cmsUInt32Number>(EmbeddedProfiles::OutputGraySize()));
        if (!outputProfile || !gray) {
            if (gray)
                cmsCloseProfile(gray);
            setError(QStringLiteral("Cannot open the output profiles"));
            return;
        }
        for (int i = 0; i < channels; ++i) {
            m_plateNames << QString::fromStdString(reference->GetChannelName(i));
            m_customColors.push_back(labColour(i));
        }
        m_mode = 5;
        // The first channel carries the converted graphics, the others only black.
        createPageTransform(gray, COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | EXTRA_SH(channels - 1) | BYTES_SH(1)
                                      | FLAVOR_SH(1));
        cmsCloseProfile(gray);
    } else if (reference->isRGB) {
        channels = 3;
        setRGBOutput(true);
        outputProfile = cmsCreate_sRGBProfile();
        m_plateNames << QStringLiteral("Red") << QStringLiteral("Green") << QStringLiteral("Blue");
        m_customColors = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
        m_mode = 3;
        createPageTransform(displayProfile, TYPE_RGB_8);
    } else {
        setError(QStringLiteral("The reference has no RGB, CMYK or extra channel data"));
        return;
    }
    // Plates hold the amount of light: every ink channel is stored as 255 - ink.
    if (!hasRGBOutput())
        setInvertedChannels(0, channels - 1);
}

bool DCSWriter::writeComposite(DcsOutput &output, const DcsPageFormat &format, int pageNumber)
{
    QImage image(format.previewWidth, format.previewHeight, QImage::Format_ARGB32);
    image.fill(255u);
    const int screenWidth = pageSource().screenWidth();
    if (screenWidth > 0) {
        QPainter painter(&image);
        const double scale = static_cast<double>(format.previewWidth) / screenWidth;
        painter.scale(scale, scale);
        pageSource().paintScreen(painter, pageNumber);
    }
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM toRGB =
        srgb ? cmsCreateTransform(srgb, TYPE_BGRA_8, srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC, 0) : nullptr;
    if (srgb)
        cmsCloseProfile(srgb);
    if (!toRGB) {
        setPageError(QStringLiteral("Cannot create the composite preview transform"));
        return false;
    }
    std::vector<uint8_t> row(static_cast<std::size_t>(format.previewWidth) * 3);
    bool ok = true;
    for (int y = 0; y < format.previewHeight && ok; ++y) {
        cmsDoTransform(toRGB, image.constScanLine(y), row.data(), static_cast<cmsUInt32Number>(format.previewWidth));
        ok = output.writePreviewRow(row.data());
    }
    cmsDeleteTransform(toRGB);
    if (!ok)
        setPageError(output.errorString());
    return ok;
}

bool DCSWriter::writePage(const QString &basePath, int pageNumber)
{
    if (!isValid())
        return false;
    const TargetSettings &s = pageSource().settings();
    const int pw = static_cast<int>(s.pageSize.width());
    const int ph = static_cast<int>(s.pageSize.height());
    width = umToPixels(pw);
    height = umToPixels(ph);

    DcsPageFormat format;
    format.width = width;
    format.height = height;
    format.plateNames = m_plateNames;
    format.customColors = m_customColors;
    format.boundingWidth = DcsPointsFromMicrometres(pw);
    format.boundingHeight = DcsPointsFromMicrometres(ph);
    DcsPreviewSize(width, height, format.previewWidth, format.previewHeight);
    format.mode = m_mode;
    format.title = s.targetName;
    format.created = QDateTime::currentDateTime();

    const QString path = pageFilePath(basePath, pageNumber);
    DcsOutput output;
    if (!output.open(path, format)) {
        setPageError(output.errorString());
        return false;
    }
    if (!writeComposite(output, format, pageNumber) || !rasterizePage(output, pageNumber))
        return false; // output's destructor drops the unfinished file
    if (!output.close()) {
        setPageError(output.errorString());
        return false;
    }
    return true;
}
