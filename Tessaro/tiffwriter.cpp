// TIFF page files through libtiff's client procedures over a QIODevice.
#include "tiffwriter.h"

#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"
#include "TargetSettings.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QtDebug>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace {

constexpr uint32_t kRowsPerStrip = 128;

// ---- Photoshop image resources (big-endian) ----

void putBE16(QByteArray &out, uint16_t v)
{
    out.append(static_cast<char>(v >> 8));
    out.append(static_cast<char>(v & 0xFF));
}

void putBE32(QByteArray &out, uint32_t v)
{
    putBE16(out, static_cast<uint16_t>(v >> 16));
    putBE16(out, static_cast<uint16_t>(v & 0xFFFF));
}

void appendResource(QByteArray &out, uint16_t id, const QByteArray &data)
{
    out.append("8BIM", 4);
    putBE16(out, id);
    putBE16(out, 0); // empty Pascal name, padded to even length
    putBE32(out, static_cast<uint32_t>(data.size()));
    out.append(data);
    if (data.size() % 2)
        out.append('\0');
}

// Truncated x 100, clamped to the signed 16-bit range.
uint16_t clampedHundredths(double v)
{
    const double t = std::trunc(v * 100.0);
    if (!std::isfinite(t))
        return 0;
    return static_cast<uint16_t>(static_cast<int16_t>(std::clamp(t, -32768.0, 32767.0)));
}

// Truncated x 100, keeping the low 16 bits.
uint16_t wrappedHundredths(double v)
{
    const double t = std::trunc(v * 100.0);
    if (!std::isfinite(t))
        return 0;
    const double limited = std::clamp(t, -2147483648.0, 2147483647.0);
    return static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(limited)) & 0xFFFFu);
}

// ---- libtiff client procedures ----

QIODevice *deviceOf(thandle_t handle)
{
    return static_cast<TiffOutput *>(handle)->device();
}

tmsize_t readProc(thandle_t handle, void *buffer, tmsize_t size)
{
    QIODevice *device = deviceOf(handle);
    if (!device->isReadable())
        return 0;
    const qint64 n = device->read(static_cast<char *>(buffer), size);
    return n < 0 ? 0 : static_cast<tmsize_t>(n);
}

tmsize_t writeProc(thandle_t handle, void *buffer, tmsize_t size)
{
    QIODevice *device = deviceOf(handle);
    if (!device->isWritable())
        return 0;
    const qint64 n = device->write(static_cast<const char *>(buffer), size);
    if (n != size)
        static_cast<TiffOutput *>(handle)->appendLibtiffMessage(
            QStringLiteral("device write failed: %1").arg(device->errorString()));
    return n < 0 ? 0 : static_cast<tmsize_t>(n);
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    QIODevice *device = deviceOf(handle);
    qint64 target = static_cast<qint64>(offset);
    if (whence == SEEK_CUR)
        target += device->pos();
    else if (whence == SEEK_END)
        target += device->size();
    // A refused seek must not look like a seek to 0.
    if (target < 0 || !device->seek(target))
        return static_cast<toff_t>(-1);
    return static_cast<toff_t>(target);
}

int closeProc(thandle_t handle)
{
    // A QSaveFile is finished by its owner's commit(); any other device is closed here.
    QIODevice *device = deviceOf(handle);
    if (!qobject_cast<QSaveFile *>(device))
        device->close();
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    QIODevice *device = deviceOf(handle);
    if (auto *file = qobject_cast<QFileDevice *>(device))
        file->flush();
    return static_cast<toff_t>(device->size());
}

int mapProc(thandle_t, void **, toff_t *)
{
    qDebug("TIFF map proc not implemented");
    return 0;
}

void unmapProc(thandle_t, void *, toff_t) {}

int messageHandler(TIFF *, void *userData, const char *module, const char *format, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    QString message = QString::fromLocal8Bit(text);
    if (module && *module)
        message = QString::fromLocal8Bit(module) + QStringLiteral(": ") + message;
    static_cast<TiffOutput *>(userData)->appendLibtiffMessage(message);
    return 1; // handled: libtiff's global handler (stderr) stays quiet
}

} // namespace

QByteArray PhotoshopChannelResources(const std::vector<PhotoshopChannel> &channels)
{
    QByteArray display;
    putBE32(display, 1);
    QByteArray names;
    QByteArray unicode;
    for (const PhotoshopChannel &ch : channels) {
        putBE16(display, 7); // Lab
        putBE16(display, ch.hasLab ? clampedHundredths(ch.L) : 0);
        putBE16(display, ch.hasLab ? clampedHundredths(ch.a) : 0);
        putBE16(display, ch.hasLab ? wrappedHundredths(ch.b) : 0);
        putBE16(display, 0);
        putBE16(display, 0); // opacity
        display.append(static_cast<char>(2)); // spot

        // A Pascal string holds at most 255 bytes.
        const QByteArray pascal = ch.name.left(255);
        names.append(static_cast<char>(pascal.size()));
        names.append(pascal);

        const QString text = QString::fromUtf8(ch.name);
        putBE32(unicode, static_cast<uint32_t>(text.size() + 1));
        for (QChar c : text)
            putBE16(unicode, c.unicode() > 255 ? 0 : c.unicode());
        putBE16(unicode, 0);
    }
    QByteArray block;
    appendResource(block, 1077, display);
    appendResource(block, 1006, names);
    appendResource(block, 1045, unicode);
    return block;
}

// ---- TiffOutput ----

TiffOutput::~TiffOutput()
{
    if (m_tiff)
        close();
}

void TiffOutput::appendLibtiffMessage(const QString &text)
{
    if (!m_libtiffText.isEmpty())
        m_libtiffText += QStringLiteral("; ");
    m_libtiffText += text;
}

QString TiffOutput::failure(const QString &what) const
{
    return m_libtiffText.isEmpty() ? what : what + QStringLiteral(": ") + m_libtiffText;
}

bool TiffOutput::open(QIODevice *device, const QString &name, const TiffPageFormat &format)
{
    if (m_tiff)
        close();
    m_error.clear();
    m_libtiffText.clear();
    m_device = device;
    if (!device || !device->isWritable()) {
        m_error = QStringLiteral("Cannot open TIFF %1: the device is not writable").arg(name);
        return false;
    }
    if (format.width == 0 || format.height == 0 || format.samplesPerPixel <= 0) {
        m_error = QStringLiteral("Cannot open TIFF %1: empty image").arg(name);
        return false;
    }
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) {
        m_error = QStringLiteral("Cannot open TIFF %1: %2 bits per sample (8 or 16 are written)")
                      .arg(name)
                      .arg(format.bitsPerSample);
        return false;
    }
    TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, messageHandler, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, messageHandler, this);
    const QByteArray latin1Name = name.toLatin1();
    m_tiff = TIFFClientOpenExt(latin1Name.constData(), "w", static_cast<thandle_t>(this), readProc, writeProc,
                               seekProc, closeProc, sizeProc, mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
    if (!m_tiff) {
        m_error = failure(QStringLiteral("TIFFClientOpen failed for %1").arg(name));
        return false;
    }

    const float resolution = static_cast<float>(format.resolution);
    bool ok = TIFFSetField(m_tiff, TIFFTAG_IMAGEWIDTH, format.width)
              && TIFFSetField(m_tiff, TIFFTAG_IMAGELENGTH, format.height)
              && TIFFSetField(m_tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH)
              && TIFFSetField(m_tiff, TIFFTAG_XRESOLUTION, resolution)
              && TIFFSetField(m_tiff, TIFFTAG_YRESOLUTION, resolution)
              && TIFFSetField(m_tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW)
              && TIFFSetField(m_tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG)
              && TIFFSetField(m_tiff, TIFFTAG_ROWSPERSTRIP, kRowsPerStrip)
              && TIFFSetField(m_tiff, TIFFTAG_BITSPERSAMPLE, format.bitsPerSample)
              && TIFFSetField(m_tiff, TIFFTAG_SAMPLESPERPIXEL, format.samplesPerPixel)
              && TIFFSetField(m_tiff, TIFFTAG_PHOTOMETRIC, format.photometric);
    if (ok && !format.photoshopResources.isEmpty())
        ok = TIFFSetField(m_tiff, TIFFTAG_PHOTOSHOP, static_cast<uint32_t>(format.photoshopResources.size()),
                          format.photoshopResources.constData());
    if (!ok) {
        m_error = failure(QStringLiteral("TIFFSetField failed for %1").arg(name));
        TIFFCleanup(m_tiff);
        m_tiff = nullptr;
        return false;
    }
    m_format = format;
    m_lineBytes = static_cast<std::size_t>(format.width) * static_cast<std::size_t>(format.samplesPerPixel)
                  * static_cast<std::size_t>(format.bitsPerSample / 8);
    m_nextRow = 0;
    m_strip = 0;
    m_stripOpen = false;
    return true;
}

bool TiffOutput::writeStrip()
{
    if (!m_stripOpen)
        return true;
    m_encoder.finishStrip();
    m_stripOpen = false;
    const uint32_t strip = m_strip++;
    if (TIFFWriteRawStrip(m_tiff, strip, m_encoded.data(), static_cast<tmsize_t>(m_encoded.size())) < 0) {
        m_error = failure(QStringLiteral("TIFFWriteRawStrip failed writing strip %1 (lines y=%2 to %3)")
                              .arg(strip)
                              .arg(strip * kRowsPerStrip)
                              .arg(m_nextRow - 1));
        return false;
    }
    return true;
}

bool TiffOutput::writeScanline(const uint8_t *line, int row)
{
    if (!m_tiff) {
        m_error = QStringLiteral("TIFFWriteScanline called without an open TIFF (line y=%1)").arg(row);
        return false;
    }
    if (!m_error.isEmpty())
        return false;
    // An LZW strip is one code stream: its lines cannot be skipped or rewritten.
    if (row < 0 || static_cast<uint32_t>(row) != m_nextRow || m_nextRow >= m_format.height) {
        m_error = QStringLiteral("TIFF %1: line y=%2 written out of order, line y=%3 expected")
                      .arg(QString::fromLatin1(TIFFFileName(m_tiff)))
                      .arg(row)
                      .arg(m_nextRow);
        return false;
    }
    if (!m_stripOpen) {
        m_encoder.beginStrip(m_encoded);
        m_stripOpen = true;
    }
    m_encoder.add(line, m_lineBytes);
    ++m_nextRow;
    if (m_nextRow % kRowsPerStrip == 0 || m_nextRow == m_format.height)
        return writeStrip();
    return true;
}

bool TiffOutput::close()
{
    if (!m_tiff)
        return m_error.isEmpty();
    if (m_error.isEmpty() && m_nextRow < m_format.height) {
        writeStrip();
        if (m_error.isEmpty())
            m_error = QStringLiteral("TIFF %1 closed after %2 of %3 lines")
                          .arg(QString::fromLatin1(TIFFFileName(m_tiff)))
                          .arg(m_nextRow)
                          .arg(m_format.height);
    }
    m_stripOpen = false;
    const bool flushed = TIFFFlush(m_tiff) != 0;
    TIFFClose(m_tiff);
    m_tiff = nullptr;
    if (!flushed) {
        if (m_error.isEmpty())
            m_error = failure(QStringLiteral("TIFFFlush failed writing the directory"));
        return false;
    }
    return m_error.isEmpty();
}

// ---- TiffWriter ----

TiffWriter::TiffWriter(TargetPage *page, bool sixteenBitSamples)
    : BaseImgWriter(page, sixteenBitSamples)
{
    setup();
}

TiffWriter::TiffWriter(RasterPageSource &source, bool sixteenBitSamples)
    : BaseImgWriter(source, sixteenBitSamples)
{
    setup();
}

QString TiffWriter::pageFilePath(const QString &basePath, int pageNumber)
{
    return basePath + QStringLiteral("_P%1.tiff").arg(pageNumber);
}

void TiffWriter::setup()
{
    if (!isValid())
        return;
    const TargetSettings &s = pageSource().settings();
    double paperWidth = s.pageSize.width(), paperHeight = s.pageSize.height();
    for (const PaperSize &paper : s.papers) {
        if (paper.selected) {
            paperWidth = paper.width;
            paperHeight = paper.height;
            break;
        }
    }
    width = static_cast<int>(s.resolution * paperWidth / 25.4 / 1000.0);
    height = static_cast<int>(s.resolution * paperHeight / 25.4 / 1000.0);

    outputProfile = cmsOpenProfileFromMem(EmbeddedProfiles::OutputCMYK(),
                                          static_cast<cmsUInt32Number>(EmbeddedProfiles::OutputCMYKSize()));
    if (!outputProfile) {
        setError(QStringLiteral("Cannot open the CMYK output profile"));
        return;
    }
    const int extra = std::clamp(reference->extraChannelCount, 0, kMaxSamples - 4);
    const cmsUInt32Number bytes = sixteenBit ? 2 : 1;
    cmsHPROFILE transformOutput = outputProfile;
    cmsUInt32Number outputFormat = 0;
    if (reference->isRGB) {
        channels = 3;
        setRGBOutput(true);
        m_format.photometric = PHOTOMETRIC_RGB;
        transformOutput = displayProfile;
        outputFormat = sixteenBit ? TYPE_RGB_16 : TYPE_RGB_8;
    } else if (reference->isCMYK) {
        channels = 4 + extra;
        m_format.photometric = PHOTOMETRIC_SEPARATED;
        outputFormat = COLORSPACE_SH(PT_CMYK) | CHANNELS_SH(4) | EXTRA_SH(extra) | BYTES_SH(bytes);
        if (extra > 0) {
            setInvertedChannels(4, channels - 1);
            std::vector<PhotoshopChannel> spots;
            for (int i = 0; i < extra; ++i) {
                PhotoshopChannel ch;
                ch.name = QByteArray::fromStdString(reference->GetChannelName(4 + i));
                if (const auto &lab = reference->channelLab[static_cast<std::size_t>(i)]) {
                    ch.hasLab = true;
                    ch.L = lab->L;
                    ch.a = lab->a;
                    ch.b = lab->b;
                }
                spots.push_back(ch);
            }
            m_format.photoshopResources = PhotoshopChannelResources(spots);
        }
    } else {
        // N-colour pages without CMYK are written as DCS files only.
        setError(QStringLiteral("TIFF pages need a reference with RGB or CMYK data"));
        return;
    }
    m_format.width = static_cast<uint32_t>(std::max(0, width));
    m_format.height = static_cast<uint32_t>(std::max(0, height));
    m_format.samplesPerPixel = channels;
    m_format.bitsPerSample = 8 * static_cast<int>(bytesPerSample);
    m_format.resolution = s.resolution;
    createPageTransform(transformOutput, outputFormat);
}

bool TiffWriter::writePage(const QString &basePath, int pageNumber)
{
    if (!isValid())
        return false;
    const QString path = pageFilePath(basePath, pageNumber);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setPageError(QStringLiteral("Cannot create %1: %2").arg(path, file.errorString()));
        return false;
    }
    TiffOutput tiff;
    if (!tiff.open(&file, path, m_format)) {
        setPageError(tiff.errorString());
        file.cancelWriting();
        return false;
    }
    if (!rasterizePage(tiff, pageNumber)) {
        tiff.close();
        file.cancelWriting();
        return false;
    }
    if (!tiff.close()) {
        setPageError(tiff.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setPageError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}
