// Tests of the target package archive: entry order and names, deflate, source dates,
// byte-identical contents (read back with QuaZip and, when present, unzip), and that a
// failed archive never appears under its final name nor harms an earlier one.
#include "targetpackage.h"

#include "ArchiveTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

namespace {

using archivetest::Entry;
using archivetest::readArchive;

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &data, const QDateTime &modified)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), qint64(data.size()));
    QVERIFY(f.flush()); // a later flush would date the file anew
    QVERIFY(f.setFileTime(modified, QFileDevice::FileModificationTime));
    f.close();
}

} // namespace

class TestSavePackage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void entryNamesInOrder_data();
    void entryNamesInOrder();
    void roundTrip();
    void unzipListsEntriesInOrder();
    void replacesExistingArchive();
    void missingSourceKeepsEarlierArchive();
    void uncommittableArchiveLeavesNothing();

private:
    // Four sources of the kinds a target holds; dates two seconds apart (zip's resolution).
    QList<PackageEntry> makeSources();
    QStringList folderEntries() const;

    std::unique_ptr<QTemporaryDir> root;
    QString targets;
    QList<QDateTime> dates;
};

void TestSavePackage::init()
{
    root = std::make_unique<QTemporaryDir>();
    QVERIFY(root->isValid());
    targets = root->filePath(QStringLiteral("Chart/Targets"));
    QVERIFY(QDir().mkpath(targets));
    dates.clear();
}

void TestSavePackage::cleanup()
{
    root.reset();
}

QList<PackageEntry> TestSavePackage::makeSources()
{
    const QString ref = root->filePath(QStringLiteral("Chart/References/T.ref"));
    const QString xml = targets + QStringLiteral("/T.xml");
    const QString page1 = targets + QStringLiteral("/T_P1.tiff");
    const QString page2 = targets + QStringLiteral("/T_P2.tiff");
    const QString bmp = root->filePath(QStringLiteral("Chart/Previews/T.bmp"));
    const QDateTime base(QDate(2021, 3, 14), QTime(9, 26, 52));
    QByteArray noise(300 * 1024, Qt::Uninitialized);
    QRandomGenerator gen(42);
    for (char &c : noise)
        c = static_cast<char>(gen.generate() & 0xff);
    const QList<QByteArray> data = {QByteArray("CGATS.17\nBEGIN_DATA\n1\t0\t0\t0\t0\nEND_DATA\n").repeated(50),
                                    QByteArray("<settings>\n <patchesX>3</patchesX>\n</settings>\n"),
                                    noise, QByteArray(), QByteArray("BM") + QByteArray(5000, '\x7f')};
    const QStringList paths = {ref, xml, page1, page2, bmp};
    for (int i = 0; i < paths.size(); ++i) {
        dates.append(base.addSecs(2 * 3600 * i));
        writeFile(paths[i], data[i], dates.last());
    }
    return TargetPackage::entriesFor(QStringLiteral("T"), ref, xml, {page1, page2}, QStringLiteral(".tiff"), bmp);
}

QStringList TestSavePackage::folderEntries() const
{
    return QDir(targets).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void TestSavePackage::entryNamesInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("three DCS pages") << "Chart1" << 3 << ".eps"
                                     << QStringList{"References/Chart1.ref", "Targets/Chart1.xml", "Targets/Chart1_P1.eps",
                                                    "Targets/Chart1_P2.eps", "Targets/Chart1_P3.eps", "Previews/Chart1.bmp"};
    QTest::newRow("one TIFF page") << "T" << 1 << ".tiff"
                                   << QStringList{"References/T.ref", "Targets/T.xml", "Targets/T_P1.tiff", "Previews/T.bmp"};
    QTest::newRow("empty name") << "" << 1 << ".tiff"
                                << QStringList{"References/.ref", "Targets/.xml", "Targets/_P1.tiff", "Previews/.bmp"};
}

void TestSavePackage::entryNamesInOrder()
{
    QFETCH(QString, name);
    QFETCH(int, pages);
    QFETCH(QString, extension);
    QFETCH(QStringList, expected);
    QStringList pagePaths;
    for (int k = 1; k <= pages; ++k)
        pagePaths << QStringLiteral("/t/page%1").arg(k);
    const QList<PackageEntry> entries =
        TargetPackage::entriesFor(name, QStringLiteral("/r"), QStringLiteral("/x"), pagePaths, extension, QStringLiteral("/b"));
    QStringList names, sources;
    for (const PackageEntry &e : entries) {
        names << e.name;
        sources << e.sourcePath;
    }
    QCOMPARE(names, expected);
    QStringList expectedSources = QStringList{"/r", "/x"} + pagePaths + QStringList{"/b"};
    QCOMPARE(sources, expectedSources);
}

void TestSavePackage::roundTrip()
{
    const QList<PackageEntry> entries = makeSources();
    const QString archive = targets + QStringLiteral("/T.zip");
    TargetPackage package;
    QVERIFY2(package.write(archive, entries), qPrintable(package.errorString()));

    QList<Entry> read;
    QVERIFY(readArchive(archive, read));
    QCOMPARE(read.size(), entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(read[i].name, entries[i].name);
        QCOMPARE(read[i].method, int(Z_DEFLATED));
        QCOMPARE(read[i].data, contents(entries[i].sourcePath));
        QCOMPARE(read[i].date, dates[i]);
    }
    // Deflate really ran: the repetitive reference shrinks.
    QuaZip zip(archive);
    QVERIFY(zip.open(QuaZip::mdUnzip));
    QList<QuaZipFileInfo64> infos = zip.getFileInfoList64();
    QCOMPARE(infos.size(), entries.size());
    QVERIFY(infos[0].compressedSize * 4 < infos[0].uncompressedSize);
    // Nothing but the sources and the archive is left in the folder.
    QCOMPARE(folderEntries(), (QStringList{"T.xml", "T.zip", "T_P1.tiff", "T_P2.tiff"}));
}

void TestSavePackage::unzipListsEntriesInOrder()
{
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty())
        QSKIP("unzip is not installed");
    const QList<PackageEntry> entries = makeSources();
    const QString archive = targets + QStringLiteral("/T.zip");
    TargetPackage package;
    QVERIFY2(package.write(archive, entries), qPrintable(package.errorString()));

    QProcess test;
    test.start(unzip, {QStringLiteral("-tq"), archive});
    QVERIFY(test.waitForFinished(30000));
    QCOMPARE(test.exitCode(), 0);

    // "unzip -Z1" prints the entry names alone, one a line, in archive order; "-Zv" the
    // compression method of each.
    QProcess list;
    list.start(unzip, {QStringLiteral("-Z1"), archive});
    QVERIFY(list.waitForFinished(30000));
    QCOMPARE(list.exitCode(), 0);
    const QStringList names = QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList expected;
    for (const PackageEntry &e : entries)
        expected << e.name;
    QCOMPARE(names, expected);

    QProcess verbose;
    verbose.start(unzip, {QStringLiteral("-Zv"), archive});
    QVERIFY(verbose.waitForFinished(30000));
    const QString details = QString::fromUtf8(verbose.readAllStandardOutput());
    QCOMPARE(details.count(QStringLiteral("compression method:")), int(entries.size()));
    QCOMPARE(details.count(QStringLiteral("compression method:                             deflated")), int(entries.size()));
}

void TestSavePackage::replacesExistingArchive()
{
    const QList<PackageEntry> entries = makeSources();
    const QString archive = targets + QStringLiteral("/T.zip");
    writeFile(archive, QByteArray("not an archive at all"), QDateTime::currentDateTime());
    TargetPackage package;
    QVERIFY2(package.write(archive, entries), qPrintable(package.errorString()));
    QList<Entry> read;
    QVERIFY(readArchive(archive, read));
    QCOMPARE(read.size(), entries.size());
}

void TestSavePackage::missingSourceKeepsEarlierArchive()
{
    QList<PackageEntry> entries = makeSources();
    const QString archive = targets + QStringLiteral("/T.zip");
    TargetPackage package;
    QVERIFY(package.write(archive, entries));
    const QByteArray earlier = contents(archive);
    const QStringList before = folderEntries();

    // A page that was never written: the archive would lack it.
    QVERIFY(QFile::remove(entries[3].sourcePath));
    QVERIFY(!package.write(archive, entries));
    QVERIFY(package.errorString().contains(entries[3].name));
    QCOMPARE(contents(archive), earlier);
    QStringList after = before;
    after.removeAll(QFileInfo(entries[3].sourcePath).fileName());
    QCOMPARE(folderEntries(), after);
}

void TestSavePackage::uncommittableArchiveLeavesNothing()
{
    const QList<PackageEntry> entries = makeSources();
    // A folder where the archive belongs: everything is written, the final rename fails.
    const QString archive = targets + QStringLiteral("/T.zip");
    QVERIFY(QDir().mkpath(archive));
    const QStringList before = folderEntries();
    TargetPackage package;
    QVERIFY(!package.write(archive, entries));
    QVERIFY(!package.errorString().isEmpty());
    QVERIFY(QFileInfo(archive).isDir());
    QCOMPARE(folderEntries(), before);

    // A folder that does not exist.
    QVERIFY(!package.write(root->filePath(QStringLiteral("missing/T.zip")), entries));
    QVERIFY(!QFileInfo::exists(root->filePath(QStringLiteral("missing"))));
}

QTEST_GUILESS_MAIN(TestSavePackage)
#include "tst_savepackage.moc"
