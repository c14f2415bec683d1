// The target package: one zip archive holding the saved reference, the XML target
// definition, the page files and the preview bitmap of a target, each entry deflated and
// dated like its source file.
//
// The archive is built under a temporary name in its own folder and renamed into place
// only when every entry is complete, so a failed save never leaves half an archive under
// the final name (an earlier archive of that name stays as it was).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct PackageEntry
{
    QString name;       // entry name inside the archive, "/"-separated
    QString sourcePath; // file copied into the entry
};

class TargetPackage
{
public:
    // The entries of a target named `targetName`, in archive order: the reference, the XML
    // definition, the pages 1..n, the preview bitmap. `pageExtension` is ".tiff" or ".eps".
    static QList<PackageEntry> entriesFor(const QString &targetName, const QString &referencePath,
                                          const QString &definitionPath, const QStringList &pagePaths,
                                          const QString &pageExtension, const QString &previewPath);

    // Creates the archive at `archivePath` from `entries`, in their order, replacing an
    // existing archive only on success. A source file that cannot be read fails the whole
    // archive. False with errorString() otherwise.
    bool write(const QString &archivePath, const QList<PackageEntry> &entries);

    QString errorString() const { return m_error; }

private:
    bool fail(const QString &text);

    QString m_error;
};
