// Reader and writer of the binary user settings file.
#include "UserSettingsFile.h"

#include "SuiteEnvironment.h"
#include "TargetSettings.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <exception>

namespace {

const char kReadError[] = "[Tessaro] Error: Cannot read user settings";
const char kSaveError[] = "[Tessaro] Error: Cannot save user settings";

// Smallest stored paper: empty name (4) + width and height (8) + selected (1) + 4 borders (32).
constexpr qint64 kMinPaperBytes = 4 + 8 + 1 + 32;

void prepare(QDataStream &stream)
{
    stream.setVersion(QDataStream::Qt_6_0);
    stream.setByteOrder(QDataStream::BigEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

// Reads primitives only when enough bytes are left; the first failure sticks.
class BoundedReader
{
public:
    explicit BoundedReader(QDataStream &in) : m_in(in) {}

    bool ok() const { return m_ok && m_in.status() == QDataStream::Ok; }

    qint64 remaining() const
    {
        QIODevice *device = m_in.device();
        return device ? device->bytesAvailable() : 0;
    }

    void read(qint32 &value) { readFixed(value, 4); }
    void read(qint64 &value) { readFixed(value, 8); }
    void read(double &value) { readFixed(value, 8); }
    void read(bool &value) { readFixed(value, 1); }

    void read(QString &value)
    {
        quint32 byteCount = 0;
        readFixed(byteCount, 4);
        if (!m_ok)
            return;
        if (byteCount == 0xFFFFFFFFu) {
            value = QString();
            return;
        }
        if ((byteCount & 1u) != 0 || qint64(byteCount) > remaining()) {
            m_ok = false;
            return;
        }
        const qsizetype units = qsizetype(byteCount / 2);
        QByteArray raw(qsizetype(byteCount), Qt::Uninitialized);
        if (m_in.readRawData(raw.data(), int(byteCount)) != int(byteCount)) {
            m_ok = false;
            return;
        }
        QString text(units, Qt::Uninitialized);
        qFromBigEndian<quint16>(raw.constData(), units, reinterpret_cast<quint16 *>(text.data()));
        value = text;
    }

    void read(QSizeF &value)
    {
        double width = 0;
        double height = 0;
        read(width);
        read(height);
        value = QSizeF(width, height);
    }

private:
    template <typename T>
    void readFixed(T &value, qint64 size)
    {
        if (!m_ok)
            return;
        if (remaining() < size) {
            m_ok = false;
            return;
        }
        T v{};
        m_in >> v;
        if (m_in.status() != QDataStream::Ok) {
            m_ok = false;
            return;
        }
        value = v;
    }

    QDataStream &m_in;
    bool m_ok = true;
};

void writeSize(QDataStream &out, const QSizeF &size)
{
    out << size.width() << size.height();
}

} // namespace

namespace UserSettingsFile {

QString fileName()
{
    return QStringLiteral("TessaroDefaultValues.txt");
}

QString filePath(const SuiteEnvironment &environment)
{
    return environment.appDataFolder() + QLatin1Char('/') + fileName();
}

void writeRecord(QDataStream &out, const TargetSettings &s)
{
    prepare(out);
    out << qint32(Magic);
    out << qint32(s.patchesX) << qint32(s.patchesY) << qint32(s.desiredPatchesX)
        << qint32(s.desiredPatchesY) << qint32(s.columnLimit) << qint32(s.rowLimit)
        << qint32(s.patchCount);
    writeSize(out, s.targetSize);
    writeSize(out, s.pageSize);
    out << s.autopositioning << s.deviceVestra << s.deviceVestrazq << s.devicePendra
        << s.deviceDesk << s.devicePrinton << s.useRGB << s.useCMYK << s.useNColor
        << s.aperture2mm << s.aperture6mm << s.aperture8mm;
    out << s.scaleFactor << qint32(s.numberOfPages) << s.patchMarginX << s.patchMarginY
        << s.patchSizeX << s.patchSizeY << s.minPatchSizeX << s.minPatchSizeY;
    out << s.printerMedia << s.targetName << s.targetVersion;
    out << s.manualPosVestra << s.manualPosPendra << s.startingLinesTintoraDesk
        << s.blackWhiteSeparators << s.unscaledText << s.showLeftHeader << s.showReferenceArea
        << s.showRightHeader << s.invertHorizontal << s.invertVertical;
    out << s.borderLeft << s.borderRight << s.borderTop << s.borderBottom;
    out << s.rowByRow << s.fillPage << s.referenceFile << s.advancedMode << s.useReferenceID
        << s.useReferenceName << s.reservedText << s.random << s.verificationPatches;
    out << qint64(s.papers.size());
    for (const PaperSize &paper : s.papers) {
        out << paper.name << qint32(paper.width) << qint32(paper.height) << paper.selected
            << paper.borderLeft << paper.borderRight << paper.borderTop << paper.borderBottom;
    }
}

eReadStatus readRecord(QDataStream &in, TargetSettings &settings)
{
    prepare(in);
    BoundedReader r(in);
    qint32 magic = 0;
    r.read(magic);
    if (!r.ok() || magic != Magic)
        return eReadForeign;

    // Read into a copy so a damaged file leaves the caller's record untouched.
    TargetSettings s = settings;
    r.read(s.patchesX);
    r.read(s.patchesY);
    r.read(s.desiredPatchesX);
    r.read(s.desiredPatchesY);
    r.read(s.columnLimit);
    r.read(s.rowLimit);
    r.read(s.patchCount);
    r.read(s.targetSize);
    r.read(s.pageSize);
    for (bool *flag : {&s.autopositioning, &s.deviceVestra, &s.deviceVestrazq, &s.devicePendra,
                       &s.deviceDesk, &s.devicePrinton, &s.useRGB, &s.useCMYK, &s.useNColor,
                       &s.aperture2mm, &s.aperture6mm, &s.aperture8mm})
        r.read(*flag);
    r.read(s.scaleFactor);
    r.read(s.numberOfPages);
    for (double *value : {&s.patchMarginX, &s.patchMarginY, &s.patchSizeX, &s.patchSizeY,
                          &s.minPatchSizeX, &s.minPatchSizeY})
        r.read(*value);
    r.read(s.printerMedia);
    r.read(s.targetName);
    r.read(s.targetVersion);
    for (bool *flag : {&s.manualPosVestra, &s.manualPosPendra, &s.startingLinesTintoraDesk,
                       &s.blackWhiteSeparators, &s.unscaledText, &s.showLeftHeader,
                       &s.showReferenceArea, &s.showRightHeader, &s.invertHorizontal,
                       &s.invertVertical})
        r.read(*flag);
    for (double *value : {&s.borderLeft, &s.borderRight, &s.borderTop, &s.borderBottom})
        r.read(*value);
    r.read(s.rowByRow);
    r.read(s.fillPage);
    r.read(s.referenceFile);
    r.read(s.advancedMode);
    r.read(s.useReferenceID);
    r.read(s.useReferenceName);
    r.read(s.reservedText);
    r.read(s.random);
    r.read(s.verificationPatches);

    qint64 paperCount = 0;
    r.read(paperCount);
    if (!r.ok())
        return eReadFailed;

    s.papers.clear();
    if (paperCount < 1) {
        s.restoreFactoryPapers();
    } else {
        if (paperCount > r.remaining() / kMinPaperBytes)
            return eReadFailed;
        s.papers.reserve(qsizetype(paperCount));
        for (qint64 i = 0; i < paperCount && r.ok(); ++i) {
            PaperSize paper;
            r.read(paper.name);
            r.read(paper.width);
            r.read(paper.height);
            r.read(paper.selected);
            r.read(paper.borderLeft);
            r.read(paper.borderRight);
            r.read(paper.borderTop);
            r.read(paper.borderBottom);
            s.papers.append(paper);
        }
        if (!r.ok())
            return eReadFailed;
    }
    settings = s;
    return eReadOk;
}

QByteArray toBytes(const TargetSettings &settings)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    writeRecord(out, settings);
    return bytes;
}

eReadStatus fromBytes(const QByteArray &bytes, TargetSettings &settings)
{
    QDataStream in(bytes);
    return readRecord(in, settings);
}

eReadStatus restore(TargetSettings &settings, const SuiteEnvironment &environment)
{
    try {
        const QString path = filePath(environment);
        QFile file(path);
        if (!file.exists())
            return eReadNoFile;
        eReadStatus status = eReadFailed;
        if (file.open(QIODevice::ReadOnly) && file.size() <= MaxFileSize) {
            const QByteArray bytes = file.readAll();
            if (bytes.size() <= MaxFileSize && file.error() == QFileDevice::NoError)
                status = fromBytes(bytes, settings);
        }
        if (status == eReadFailed)
            environment.logLine(QString::fromLatin1(kReadError));
        return status;
    } catch (const std::exception &) {
        environment.logLine(QString::fromLatin1(kReadError));
        return eReadFailed;
    }
}

bool save(const TargetSettings &settings, const SuiteEnvironment &environment)
{
    try {
        bool ok = false;
        const QString folder = environment.appDataFolder();
        if (QDir().mkpath(folder)) {
            QSaveFile file(folder + QLatin1Char('/') + fileName());
            if (file.open(QIODevice::WriteOnly)) {
                QDataStream out(&file);
                writeRecord(out, settings);
                if (out.status() == QDataStream::Ok)
                    ok = file.commit();
                else
                    file.cancelWriting();
            }
        }
        if (!ok)
            environment.logLine(QString::fromLatin1(kSaveError));
        return ok;
    } catch (const std::exception &) {
        environment.logLine(QString::fromLatin1(kSaveError));
        return false;
    }
}

} // namespace UserSettingsFile
