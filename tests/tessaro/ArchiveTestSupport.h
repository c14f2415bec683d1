// Reading a target archive back in the widget tests: every entry in central-directory
// order with its method, date and inflated data.
#pragma once

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace archivetest {

struct Entry
{
    QString name;
    int method = -1;
    QDateTime date;
    QByteArray data;
};

// False when the archive or an entry cannot be read; a CRC mismatch shows on close.
inline bool readArchive(const QString &path, QList<Entry> &entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return false;
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        entries.append({info.name, int(info.method), info.dateTime, file.readAll()});
        file.close();
        if (file.getZipError() != UNZ_OK)
            return false;
    }
    return zip.getZipError() == UNZ_OK;
}

} // namespace archivetest
