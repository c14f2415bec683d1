// The target package archive, written through QuaZip into a save file.
#include "targetpackage.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zlib.h>

#include <limits>
#include <vector>

namespace {

constexpr qint64 kCopyChunk = 64 * 1024;

} // namespace

QList<PackageEntry> TargetPackage::entriesFor(const QString &targetName, const QString &referencePath,
                                              const QString &definitionPath, const QStringList &pagePaths,
                                              const QString &pageExtension, const QString &previewPath)
{
    QList<PackageEntry> entries;
    entries.append({QStringLiteral("References/") + targetName + QStringLiteral(".ref"), referencePath});
    entries.append({QStringLiteral("Targets/") + targetName + QStringLiteral(".xml"), definitionPath});
    for (int k = 0; k < pagePaths.size(); ++k) {
        entries.append({QStringLiteral("Targets/%1_P%2%3").arg(targetName).arg(k + 1).arg(pageExtension),
                        pagePaths[k]});
    }
    entries.append({QStringLiteral("Previews/") + targetName + QStringLiteral(".bmp"), previewPath});
    return entries;
}

bool TargetPackage::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool TargetPackage::write(const QString &archivePath, const QList<PackageEntry> &entries)
{
    m_error.clear();

    // Every source is checked before the archive is started; the copy below still
    // verifies each one, since a file may vanish in between.
    bool needZip64 = false;
    for (const PackageEntry &entry : entries) {
        const QFileInfo info(entry.sourcePath);
        if (!info.isFile())
            return fail(QStringLiteral("Cannot add %1 to the archive: %2 does not exist.")
                            .arg(entry.name, entry.sourcePath));
        if (info.size() >= qint64(std::numeric_limits<quint32>::max()))
            needZip64 = true;
    }

    QSaveFile archive(archivePath);
    if (!archive.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot create %1: %2").arg(archivePath, archive.errorString()));

    QuaZip zip(&archive);
    // The save file is committed here, not by QuaZip, so a failure can still drop it.
    zip.setAutoClose(false);
    zip.setUtf8Enabled(true);
    zip.setZip64Enabled(needZip64);
    if (!zip.open(QuaZip::mdCreate)) {
        archive.cancelWriting();
        return fail(QStringLiteral("Cannot start the archive %1 (zip error %2).").arg(archivePath).arg(zip.getZipError()));
    }

    std::vector<char> buffer(static_cast<std::size_t>(kCopyChunk));
    for (const PackageEntry &entry : entries) {
        QFile source(entry.sourcePath);
        if (!source.open(QIODevice::ReadOnly)) {
            archive.cancelWriting();
            return fail(QStringLiteral("Cannot read %1: %2").arg(entry.sourcePath, source.errorString()));
        }
        // Name, date and permissions from the source file.
        const QuaZipNewInfo info(entry.name, entry.sourcePath);
        QuaZipFile out(&zip);
        if (!out.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION, false,
                      -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY)) {
            archive.cancelWriting();
            return fail(QStringLiteral("Cannot add %1 to the archive (zip error %2).").arg(entry.name).arg(out.getZipError()));
        }
        for (;;) {
            const qint64 n = source.read(buffer.data(), kCopyChunk);
            if (n < 0) {
                out.close();
                archive.cancelWriting();
                return fail(QStringLiteral("Cannot read %1: %2").arg(entry.sourcePath, source.errorString()));
            }
            if (n == 0)
                break;
            if (out.write(buffer.data(), n) != n) {
                out.close();
                archive.cancelWriting();
                return fail(QStringLiteral("Cannot write %1 into the archive: %2").arg(entry.name, out.errorString()));
            }
        }
        out.close();
        if (out.getZipError() != ZIP_OK) {
            archive.cancelWriting();
            return fail(QStringLiteral("Cannot finish %1 in the archive (zip error %2).").arg(entry.name).arg(out.getZipError()));
        }
    }

    zip.close();
    if (zip.getZipError() != ZIP_OK) {
        archive.cancelWriting();
        return fail(QStringLiteral("Cannot finish the archive %1 (zip error %2).").arg(archivePath).arg(zip.getZipError()));
    }
    if (!archive.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(archivePath, archive.errorString()));
    return true;
}
