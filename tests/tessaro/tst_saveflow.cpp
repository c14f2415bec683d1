// Tests of the save flow: the files of a saved target with their names and folders (Chart
// and DOC, TIFF and DCS), the archive read back entry by entry, the reference header and
// save flags, the overwrite question, the resolution check, failures that are reported
// without losing what was saved, the headless answerer of batch runs, and the main
// window's save button. Every test runs on a fresh documents folder with a fixed clock.
#include "MainWindowTestSupport.h"

#include "ReferenceFileData.h"
#include "SuiteEnvironment.h"
#include "TargetSettings.h"
#include "UserInteraction.h"
#include "targetpage.h"
#include "targetsaver.h"
#include "tessaro.h"

#include "ArchiveTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <tiffio.h>
#include <unistd.h>
#include <zlib.h>

#include <memory>
#include <optional>

namespace {

const QString kSaveTitle = QStringLiteral("Save target");
const QString kDpiText = QStringLiteral("Please enter a valid dpi value between 1 and 5000.");
const QString kOverwriteText = QStringLiteral("The selected target name already exists. Do you want to overwrite?");
const QString kSuccessText = QStringLiteral("Quorvane target successfully saved.\n");
const QDateTime kNow(QDate(2024, 2, 29), QTime(14, 5, 9));

using archivetest::Entry;
using archivetest::readArchive;

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file below `folder`, relative, sorted.
QStringList filesBelow(const QString &folder)
{
    QStringList files;
    const QDir base(folder);
    const QFileInfoList list = base.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : list) {
        if (info.isDir() && !info.isSymLink()) {
            const QStringList below = filesBelow(info.filePath());
            for (const QString &f : below)
                files << info.fileName() + QLatin1Char('/') + f;
            if (below.isEmpty())
                files << info.fileName() + QLatin1Char('/');
        } else {
            files << info.fileName();
        }
    }
    return files;
}

} // namespace

class TestSaveFlow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void savesEveryFile_data();
    void savesEveryFile();
    void referenceHeaderAndFlags();
    void nColorReferenceSavedWithCmykFlag();
    void overwriteQuestion();
    void resolutionRefused_data();
    void resolutionRefused();
    void resolutionBounds();
    void separatorInNameRefused();
    void unwritableTargetsFolder();
    void uncommittableArchiveKeepsLooseFiles();
    void laterFailureKeepsEarlierPackage();
    void readOnlyTargetsFolder();
    void headlessAnswers();
    void mainWindowRefusesBadDpi();
    void mainWindowSaves();

private:
    // Loads a fixture reference and lays it out as `columns` x `rows` per page.
    void prepare(const QString &fixture, int columns, int rows, const QString &name = QStringLiteral("Sample"));
    TargetSaver::Result save(UserInteraction &ui, const TargetSaveInputs &inputs);
    TargetSaveInputs inputs(bool doc = false, bool dcs = false) const;
    QString appData() const { return environment->appDataFolder(); }
    QString module(bool doc) const { return appData() + (doc ? QStringLiteral("/DOC") : QStringLiteral("/Chart")); }
    int countTitled(const QString &title) const;

    std::unique_ptr<QTemporaryDir> root;
    std::optional<SuiteEnvironment> environment;
    std::unique_ptr<TargetSettings> settings;
    std::unique_ptr<ReferenceFileData> reference;
    std::unique_ptr<TargetPage> page;
    ScriptedUserInteraction script;
    QList<bool> busy;
};

void TestSaveFlow::initTestCase()
{
    QVERIFY(mainwindowtest::initColorUtil());
}

void TestSaveFlow::init()
{
    root = std::make_unique<QTemporaryDir>();
    SuitePlatform platform;
    QVERIFY(mainwindowtest::makePlatform(*root, platform));
    platform.now = [] { return kNow; };
    environment.emplace(platform);
    script = ScriptedUserInteraction();
    busy.clear();
}

void TestSaveFlow::cleanup()
{
    page.reset();
    reference.reset();
    settings.reset();
    environment.reset();
    root.reset();
}

void TestSaveFlow::prepare(const QString &fixture, int columns, int rows, const QString &name)
{
    const QString path = QStringLiteral(VANTREL_TEST_DATA_DIR "/tessaro/") + fixture;
    reference = std::make_unique<ReferenceFileData>(ReferenceFlavour::Application);
    QVERIFY(reference->loadReferenceFileData(nullptr, QFile::encodeName(path).constData(), false));
    const QString library = QStringLiteral(VANTREL_BINARY_DIR "/samples/MulticolorReference.txt");
    if (QFileInfo::exists(library))
        reference->InitSpectralModel(QFile::encodeName(library).toStdString());

    settings = std::make_unique<TargetSettings>();
    settings->targetName = name;
    settings->patchesX = columns;
    settings->patchesY = rows;
    settings->patchCount = reference->GetSetCount();
    settings->numberOfPages = (reference->GetSetCount() + columns * rows - 1) / (columns * rows);
    settings->useRGB = reference->isRGB;
    settings->useCMYK = reference->isCMYK && reference->extraChannelCount == 0;
    settings->useNColor = reference->extraChannelCount > 0;
    for (PaperSize &paper : settings->papers)
        paper.selected = paper.name == QLatin1String("A4");

    page = std::make_unique<TargetPage>(nullptr, settings.get());
    page->resize(594, 420);
    page->scaleToSize(594, 420);
    page->setupPatches(reference.get(), 1);
}

TargetSaveInputs TestSaveFlow::inputs(bool doc, bool dcs) const
{
    TargetSaveInputs in;
    in.dpiText = QStringLiteral("20");
    in.docModule = doc;
    in.dcs = dcs;
    in.comment = QStringLiteral("Press 4 & <proof>");
    return in;
}

TargetSaver::Result TestSaveFlow::save(UserInteraction &ui, const TargetSaveInputs &in)
{
    TargetSaver saver(*settings, reference.get(), page.get(), *environment, ui);
    saver.busyChanged = [this](bool b) { busy.append(b); };
    const TargetSaver::Result result = saver.save(in);
    if (result == TargetSaver::Failed)
        qInfo() << "save errors:" << saver.errors();
    return result;
}

int TestSaveFlow::countTitled(const QString &title) const
{
    int n = 0;
    for (const MessageRequest &r : script.messages)
        n += r.title == title;
    return n;
}

void TestSaveFlow::savesEveryFile_data()
{
    QTest::addColumn<bool>("doc");
    QTest::addColumn<bool>("dcs");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("sixteenBit");
    QTest::newRow("Chart, TIFF, one page") << false << false << 3 << 2 << "Sample" << 1 << false;
    QTest::newRow("DOC, 16-bit TIFF, two pages") << true << false << 2 << 2 << "Sample" << 2 << true;
    QTest::newRow("Chart, DCS, three pages") << false << true << 2 << 1 << "Sample" << 3 << false;
    QTest::newRow("DOC, DCS ignores 16 bit") << true << true << 3 << 2 << "Sample" << 1 << true;
    QTest::newRow("empty name") << false << false << 3 << 2 << "" << 1 << false;
}

void TestSaveFlow::savesEveryFile()
{
    QFETCH(bool, doc);
    QFETCH(bool, dcs);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QString, name);
    QFETCH(int, pages);
    QFETCH(bool, sixteenBit);
    prepare(QStringLiteral("cmyk.ref"), columns, rows, name);
    QCOMPARE(settings->numberOfPages, pages);
    page->pageNumber = pages; // the painter shows the last page

    TargetSaveInputs in = inputs(doc, dcs);
    in.sixteenBit = sixteenBit;
    QCOMPARE(save(script, in), TargetSaver::Saved);

    const QString ext = dcs ? QStringLiteral(".eps") : QStringLiteral(".tiff");
    QStringList targetFiles{name + ".xml", name + ".zip"};
    QStringList pageFiles;
    for (int k = 1; k <= pages; ++k)
        pageFiles << QStringLiteral("%1_P%2%3").arg(name).arg(k).arg(ext);
    targetFiles += pageFiles;
    targetFiles.sort();
    QStringList expected{"References/" + name + ".ref", "Previews/" + name + ".bmp"};
    for (const QString &f : targetFiles)
        expected << "Targets/" + f;
    expected.sort();
    QStringList found = filesBelow(module(doc));
    found.sort();
    QCOMPARE(found, expected);
    // Nothing below the other module.
    QVERIFY(!QFileInfo::exists(module(!doc)));

    // The archive: entries in order, deflated, byte-identical, dated like the files.
    const QString targets = module(doc) + QStringLiteral("/Targets/");
    QStringList entryNames{"References/" + name + ".ref", "Targets/" + name + ".xml"};
    QStringList sources{module(doc) + "/References/" + name + ".ref", targets + name + ".xml"};
    for (const QString &p : pageFiles) {
        entryNames << "Targets/" + p;
        sources << targets + p;
    }
    entryNames << "Previews/" + name + ".bmp";
    sources << module(doc) + "/Previews/" + name + ".bmp";
    QList<Entry> entries;
    QVERIFY(readArchive(targets + name + ".zip", entries));
    QCOMPARE(entries.size(), entryNames.size());
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries[i].name, entryNames[i]);
        QCOMPARE(entries[i].method, int(Z_DEFLATED));
        const QByteArray loose = contents(sources[i]);
        QVERIFY(!loose.isEmpty());
        QVERIFY(entries[i].data == loose);
        const QDateTime modified = QFileInfo(sources[i]).lastModified();
        QVERIFY2(qAbs(entries[i].date.secsTo(modified)) <= 2, qPrintable(entries[i].name));
    }
    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (!unzip.isEmpty()) {
        QProcess list;
        list.start(unzip, {QStringLiteral("-Z1"), targets + name + ".zip"});
        QVERIFY(list.waitForFinished(30000));
        QCOMPARE(list.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), entryNames);
    }

    // Page files of the chosen format at the chosen resolution: A4 at 20 dpi.
    const int width = int(20 * 297 / 25.4), height = int(20 * 210 / 25.4);
    for (const QString &p : pageFiles) {
        const QByteArray data = contents(targets + p);
        if (dcs) {
            QVERIFY(data.startsWith(QByteArray("\xC5\xD0\xD3\xC6", 4)));
            QVERIFY(data.contains("%!PS-Adobe-3.0 EPSF-3.0"));
            QVERIFY(data.contains("%%Title: " + name.toLatin1() + "\n"));
            QVERIFY(data.contains("%%PlateFile: (Cyan)"));
            QVERIFY(data.contains("%%PlateFile: (Black)"));
            // Plates are 8-bit whatever the 16-bit box says.
            QVERIFY(data.contains(QByteArray("%ImageData: ") + QByteArray::number(width) + " " +
                                  QByteArray::number(height) + " 8 1 0 "));
        } else {
            TIFF *tif = TIFFOpen(QFile::encodeName(targets + p).constData(), "r");
            QVERIFY(tif);
            uint32_t w = 0, h = 0;
            uint16_t spp = 0, photometric = 0, bits = 0;
            TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
            TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
            TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
            TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
            TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
            TIFFClose(tif);
            QCOMPARE(int(w), width);
            QCOMPARE(int(h), height);
            QCOMPARE(int(spp), 4);
            QCOMPARE(int(photometric), PHOTOMETRIC_SEPARATED);
            QCOMPARE(int(bits), sixteenBit ? 16 : 8);
        }
    }
    // A Windows bitmap preview.
    QVERIFY(contents(module(doc) + "/Previews/" + name + ".bmp").startsWith("BM"));

    // Settings taken over by the save, and the XML written from them.
    QCOMPARE(settings->resolution, 20);
    QCOMPARE(settings->comment, QStringLiteral("Press 4 & <proof>"));
    QCOMPARE(settings->referenceFileName, name + ".ref");
    QCOMPARE(settings->previewFile, module(doc) + "/Previews/" + name + ".bmp");
    const QByteArray xml = contents(targets + name + ".xml");
    QVERIFY(xml.contains("<numberOfPatches>6</numberOfPatches>"));
    QVERIFY(xml.contains("<referenceFile>References/" + name.toUtf8() + ".ref</referenceFile>"));
    QVERIFY(xml.contains("<previewFile>Previews/" + name.toUtf8() + ".bmp</previewFile>"));
    QVERIFY(xml.contains("<comment>Press 4 &amp; &lt;proof></comment>"));

    // The painter is back on its page; the wait cursor came and went; one success box.
    QCOMPARE(page->pageNumber, pages);
    QCOMPARE(busy, (QList<bool>{true, false}));
    QCOMPARE(script.messages.size(), 1);
    QCOMPARE(script.messages[0].icon, QMessageBox::Information);
    QCOMPARE(script.messages[0].title, QStringLiteral("Tessaro"));
    QCOMPARE(script.messages[0].text, kSuccessText);
    QCOMPARE(script.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(script.openedUrls, (QList<QUrl>{QUrl::fromLocalFile(module(doc) + "/Targets")}));
}

void TestSaveFlow::referenceHeaderAndFlags()
{
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    // Reversed print order, as flipping both ways gives: the file follows it.
    settings->invertHorizontal = true;
    settings->rowByRow = false;
    page->setupPatches(reference.get(), TargetPage::ColumnByColumn | TargetPage::MirrorLeftRight);
    const std::vector<int32_t> order = reference->printOrder;
    QCOMPARE(save(script, inputs()), TargetSaver::Saved);

    QCOMPARE(QString::fromLatin1(reference->created), kNow.toString(Qt::TextDate));
    QCOMPARE(QString::fromLatin1(reference->originator), QStringLiteral("QUORVANE Vantrel 4.7.19"));
    QCOMPARE(QString::fromLatin1(reference->descriptor), QStringLiteral("Sample"));
    QVERIFY(!reference->saveRGB);
    QVERIFY(reference->saveCMYK);
    QVERIFY(!reference->saveLab && !reference->saveXYZ && !reference->saveGray && !reference->saveNColor);
    QCOMPARE(reference->saveRowLength, 3);
    QVERIFY(reference->hasSampleID && reference->hasSampleName);
    QVERIFY(!reference->hasLocation && !reference->hasPage);
    QCOMPARE(reference->saveFlags[0], false);
    QCOMPARE(reference->saveFlags[1], true);
    QCOMPARE(reference->saveFlags[2], false);
    QCOMPARE(reference->setColumns, 3);
    QCOMPARE(reference->setRows, 2);

    const QString text = QString::fromLatin1(contents(module(false) + "/References/Sample.ref"));
    QVERIFY(text.startsWith(QStringLiteral("CGATS.17")));
    QVERIFY(text.contains(QStringLiteral("\"") + kNow.toString(Qt::TextDate) + QStringLiteral("\"")));
    QVERIFY(text.contains(QStringLiteral("\"QUORVANE Vantrel 4.7.19\"")));
    QVERIFY(text.contains(QStringLiteral("DESCRIPTOR\t\"Sample\"")));
    QVERIFY(text.contains(QStringLiteral("LGOROWLENGTH\t3")));
    QVERIFY(text.contains(QStringLiteral("SAMPLE_ID\tSAMPLE_NAME\tCMYK_C\tCMYK_M\tCMYK_Y\tCMYK_K")));
    QVERIFY(!text.contains(QStringLiteral("LAB_L")));
    // Rows in printed order: row q carries the set the painter placed at position q.
    const int dataStart = text.indexOf(QStringLiteral("BEGIN_DATA\n"));
    const int dataEnd = text.indexOf(QStringLiteral("END_DATA\n"), dataStart);
    QVERIFY(dataStart > 0 && dataEnd > dataStart);
    const QStringList rows = text.mid(dataStart + 11, dataEnd - dataStart - 11).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 6);
    QCOMPARE(int(order.size()), 6);
    QStringList ids, expectedIds;
    for (int q = 0; q < 6; ++q) {
        ids << rows[q].trimmed().section(QLatin1Char('\t'), 0, 0);
        expectedIds << QString::number(reference->GetSet(order[q])->GetIndex());
    }
    QCOMPARE(ids, expectedIds);
    QVERIFY(ids != (QStringList{"1", "2", "3", "4", "5", "6"})); // the order is not the file's
}

void TestSaveFlow::nColorReferenceSavedWithCmykFlag()
{
    prepare(QStringLiteral("ncolor.txt"), 3, 2);
    QVERIFY(!reference->isCMYK);
    QCOMPARE(save(script, inputs(false, true)), TargetSaver::Saved);
    QVERIFY(reference->saveCMYK);
    QVERIFY(reference->saveNColor);
    const QString text = QString::fromLatin1(contents(module(false) + "/References/Sample.ref"));
    QVERIFY(text.contains(QStringLiteral("SAMPLE_NAME\t3CLR_1\t3CLR_2\t3CLR_3")));
}

void TestSaveFlow::overwriteQuestion()
{
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    QCOMPARE(save(script, inputs()), TargetSaver::Saved);
    QCOMPARE(countTitled(kSaveTitle), 0); // nothing to overwrite the first time

    // Age every file, so a rewrite shows in its date.
    const QDateTime old(QDate(2001, 1, 1), QTime(0, 0, 0));
    const QStringList files = filesBelow(module(false));
    QMap<QString, QByteArray> before;
    for (const QString &f : files) {
        QFile file(module(false) + "/" + f);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        before[f] = file.readAll();
    }

    script = ScriptedUserInteraction();
    script.messageAnswers.push_back(QMessageBox::No);
    settings->comment.clear();
    QCOMPARE(save(script, inputs()), TargetSaver::Declined);
    QCOMPARE(script.messages.size(), 1);
    QCOMPARE(script.messages[0].title, kSaveTitle);
    QCOMPARE(script.messages[0].text, kOverwriteText);
    QCOMPARE(script.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QVERIFY(script.openedUrls.isEmpty());
    QCOMPARE(filesBelow(module(false)), files);
    for (const QString &f : files) {
        QCOMPARE(QFileInfo(module(false) + "/" + f).lastModified(), old);
        QVERIFY(contents(module(false) + "/" + f) == before[f]);
    }
    QVERIFY(settings->comment.isEmpty()); // the refused save took over nothing

    // Closing the box counts as No.
    script = ScriptedUserInteraction();
    QCOMPARE(save(script, inputs()), TargetSaver::Declined);

    script = ScriptedUserInteraction();
    script.messageAnswers.push_back(QMessageBox::Yes);
    QCOMPARE(save(script, inputs()), TargetSaver::Saved);
    QCOMPARE(script.messages.size(), 2);
    QCOMPARE(script.messages[0].text, kOverwriteText);
    QCOMPARE(script.messages[1].text, kSuccessText);
    QCOMPARE(filesBelow(module(false)), files);
    for (const QString &f : files)
        QVERIFY2(QFileInfo(module(false) + "/" + f).lastModified() > old, qPrintable(f));
}

void TestSaveFlow::resolutionRefused_data()
{
    QTest::addColumn<QString>("dpi");
    QTest::newRow("zero") << "0";
    QTest::newRow("5001") << "5001";
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("trailing letters") << "300dpi";
    QTest::newRow("negative") << "-300";
    QTest::newRow("fraction") << "300.5";
}

void TestSaveFlow::resolutionRefused()
{
    QFETCH(QString, dpi);
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    TargetSaveInputs in = inputs();
    in.dpiText = dpi;
    QCOMPARE(save(script, in), TargetSaver::InvalidDpi);
    QCOMPARE(script.messages.size(), 1);
    QCOMPARE(script.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(script.messages[0].title, kSaveTitle);
    QCOMPARE(script.messages[0].text, kDpiText);
    QCOMPARE(script.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(busy.isEmpty());
    QCOMPARE(settings->resolution, 0);
    QVERIFY(!QFileInfo::exists(module(false)));
}

void TestSaveFlow::resolutionBounds()
{
    int dpi = 0;
    QVERIFY(TargetSaver::parseResolution(QStringLiteral("1"), &dpi));
    QCOMPARE(dpi, 1);
    QVERIFY(TargetSaver::parseResolution(QStringLiteral("5000"), &dpi));
    QCOMPARE(dpi, 5000);
    QVERIFY(!TargetSaver::parseResolution(QStringLiteral("5001"), &dpi));
    QVERIFY(!TargetSaver::parseResolution(QStringLiteral("0"), &dpi));
    QCOMPARE(dpi, 5000);

    // The lowest resolution saves a whole target.
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    TargetSaveInputs in = inputs();
    in.dpiText = QStringLiteral("1");
    QCOMPARE(save(script, in), TargetSaver::Saved);
    QCOMPARE(settings->resolution, 1);
}

void TestSaveFlow::separatorInNameRefused()
{
    prepare(QStringLiteral("cmyk.ref"), 3, 2, QStringLiteral("../Escape"));
    QCOMPARE(save(script, inputs()), TargetSaver::InvalidName);
    QCOMPARE(script.messages.size(), 1);
    QCOMPARE(script.messages[0].title, kSaveTitle);
    QVERIFY(!QFileInfo::exists(module(false)));
}

void TestSaveFlow::unwritableTargetsFolder()
{
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    // A file where the Targets folder belongs: the folder cannot be made.
    QVERIFY(QDir().mkpath(module(false)));
    QFile blocker(module(false) + "/Targets");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QCOMPARE(save(script, inputs()), TargetSaver::Failed);
    QCOMPARE(script.messages.size(), 1);
    QCOMPARE(script.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(script.messages[0].title, kSaveTitle);
    QVERIFY(script.messages[0].text.contains(QStringLiteral("Targets")));
    QVERIFY(script.openedUrls.isEmpty());
    QCOMPARE(filesBelow(module(false)), QStringList{"Targets"});
}

void TestSaveFlow::uncommittableArchiveKeepsLooseFiles()
{
    prepare(QStringLiteral("cmyk.ref"), 2, 1);
    // A folder in the archive's place: every loose file is written, the archive cannot be.
    QVERIFY(QDir().mkpath(module(false) + "/Targets/Sample.zip"));
    QCOMPARE(save(script, inputs(false, true)), TargetSaver::Failed);
    QCOMPARE(busy, (QList<bool>{true, false}));
    QCOMPARE(script.messages.size(), 1);
    QCOMPARE(script.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(script.messages[0].title, kSaveTitle);
    QVERIFY(script.messages[0].text.contains(QStringLiteral("archive")));
    QVERIFY(script.openedUrls.isEmpty());
    // No half archive under any name; the loose files are kept.
    const QStringList expected{"Previews/Sample.bmp", "References/Sample.ref", "Targets/Sample.xml", "Targets/Sample.zip/",
                               "Targets/Sample_P1.eps", "Targets/Sample_P2.eps", "Targets/Sample_P3.eps"};
    QCOMPARE(filesBelow(module(false)), expected);
}

void TestSaveFlow::laterFailureKeepsEarlierPackage()
{
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    QCOMPARE(save(script, inputs()), TargetSaver::Saved);
    const QString archive = module(false) + "/Targets/Sample.zip";
    const QByteArray earlier = contents(archive);
    QVERIFY(!earlier.isEmpty());

    // The References folder turns into a file: the reference cannot be written again.
    QVERIFY(QDir(module(false) + "/References").removeRecursively());
    QFile blocker(module(false) + "/References");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    script = ScriptedUserInteraction();
    script.messageAnswers.push_back(QMessageBox::Yes);
    QCOMPARE(save(script, inputs()), TargetSaver::Failed);
    QCOMPARE(script.messages.size(), 2);
    QCOMPARE(script.messages[1].icon, QMessageBox::Critical);
    QVERIFY(script.messages[1].text.contains(QStringLiteral("References")));
    QVERIFY(script.messages[1].text.contains(QStringLiteral("archive")));
    // The earlier, complete archive stays; the files that could be written were.
    QVERIFY(contents(archive) == earlier);
    QVERIFY(QFileInfo::exists(module(false) + "/Targets/Sample_P1.tiff"));
    QVERIFY(QFileInfo::exists(module(false) + "/Previews/Sample.bmp"));
    QCOMPARE(QDir(module(false) + "/Targets").entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestSaveFlow::readOnlyTargetsFolder()
{
    if (geteuid() == 0)
        QSKIP("file permissions do not bind the super-user");
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    const QString targets = module(false) + "/Targets";
    QVERIFY(QDir().mkpath(targets));
    QVERIFY(QFile::setPermissions(targets, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const TargetSaver::Result result = save(script, inputs());
    QFile::setPermissions(targets, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(result, TargetSaver::Failed);
    QCOMPARE(script.messages.size(), 1);
    QCOMPARE(script.messages[0].icon, QMessageBox::Critical);
    QVERIFY(QDir(targets).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

void TestSaveFlow::headlessAnswers()
{
    prepare(QStringLiteral("cmyk.ref"), 3, 2);
    QBuffer out;
    QVERIFY(out.open(QIODevice::WriteOnly));
    {
        HeadlessUserInteraction yes(true, &out);
        QCOMPARE(save(yes, inputs()), TargetSaver::Saved);
        QVERIFY(!yes.openUrl(QUrl::fromLocalFile(appData())));
    }
    QCOMPARE(QString::fromUtf8(out.data()), QStringLiteral("Tessaro: Quorvane target successfully saved.\n"));

    out.buffer().clear();
    out.seek(0);
    HeadlessUserInteraction no(false, &out);
    const QDateTime old(QDate(2001, 1, 1), QTime(0, 0, 0));
    QFile zip(module(false) + "/Targets/Sample.zip");
    QVERIFY(zip.open(QIODevice::ReadWrite));
    QVERIFY(zip.setFileTime(old, QFileDevice::FileModificationTime));
    zip.close();
    QCOMPARE(save(no, inputs()), TargetSaver::Declined);
    QCOMPARE(QString::fromUtf8(out.data()), "Save target: " + kOverwriteText + " No\n");
    QCOMPARE(QFileInfo(module(false) + "/Targets/Sample.zip").lastModified(), old);

    out.buffer().clear();
    out.seek(0);
    TargetSaveInputs in = inputs();
    in.dpiText = QStringLiteral("0");
    QCOMPARE(save(no, in), TargetSaver::InvalidDpi);
    QCOMPARE(QString::fromUtf8(out.data()), "Save target: " + kDpiText + "\n");

    out.buffer().clear();
    out.seek(0);
    HeadlessUserInteraction yesAgain(true, &out);
    QCOMPARE(save(yesAgain, inputs()), TargetSaver::Saved);
    QCOMPARE(QString::fromUtf8(out.data()),
             "Save target: " + kOverwriteText + " Yes\nTessaro: Quorvane target successfully saved.\n");
    QVERIFY(QFileInfo(module(false) + "/Targets/Sample.zip").lastModified() > old);
}

void TestSaveFlow::mainWindowRefusesBadDpi()
{
    ScriptedUserInteraction *windowScript = nullptr;
    const std::unique_ptr<Tessaro> owned = mainwindowtest::scriptedWindow(*environment, windowScript);
    Tessaro &window = *owned;
    const QString ref = mainwindowtest::copyFixture(*root, QStringLiteral("cmyk.ref"));
    windowScript->dialogHandlers.push_back([](QDialog &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("maxInk"))->setText(QStringLiteral("60"));
        dialog.accept();
        return int(QDialog::Accepted);
    });
    windowScript->openAnswers.push_back(ref);
    window.selectReferenceFile();
    QVERIFY(window.currentReference());
    auto *button = window.findChild<QToolButton *>(QStringLiteral("pushButtonSaveTarget"));
    QVERIFY(button && button->isEnabled());

    for (const QString &dpi : {QStringLiteral("0"), QStringLiteral("5001"), QStringLiteral("x"), QString()}) {
        windowScript->messages.clear();
        window.findChild<QLineEdit *>(QStringLiteral("lineEditDpi"))->setText(dpi);
        button->click();
        QCOMPARE(windowScript->messages.size(), 1);
        QCOMPARE(windowScript->messages[0].title, kSaveTitle);
        QCOMPARE(windowScript->messages[0].text, kDpiText);
    }
    QVERIFY(!QFileInfo::exists(appData() + "/Chart/Targets"));
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
}

void TestSaveFlow::mainWindowSaves()
{
    ScriptedUserInteraction *windowScript = nullptr;
    const std::unique_ptr<Tessaro> owned = mainwindowtest::scriptedWindow(*environment, windowScript);
    Tessaro &window = *owned;
    // TargetPage has no meta-object of its own, so findChild cannot tell it from a QWidget.
    bool hasPage = false;
    for (QWidget *child : window.findChildren<QWidget *>())
        hasPage = hasPage || dynamic_cast<TargetPage *>(child);
    if (!hasPage)
        QSKIP("the page painter is not part of the main window in this build");
    const QString ref = mainwindowtest::copyFixture(*root, QStringLiteral("cmyk.ref"));
    windowScript->dialogHandlers.push_back([](QDialog &dialog) {
        dialog.accept();
        return int(QDialog::Accepted);
    });
    windowScript->openAnswers.push_back(ref);
    window.selectReferenceFile();
    QVERIFY(window.currentReference());
    window.findChild<QLineEdit *>(QStringLiteral("lineEditDpi"))->setText(QStringLiteral("20"));
    window.findChild<QRadioButton *>(QStringLiteral("radioButtonDOC"))->click();
    windowScript->messages.clear();
    window.findChild<QToolButton *>(QStringLiteral("pushButtonSaveTarget"))->click();
    QCOMPARE(windowScript->messages.size(), 1);
    QCOMPARE(windowScript->messages[0].text, kSuccessText);
    const QString name = window.targetSettings().targetName;
    QVERIFY(QFileInfo::exists(appData() + "/DOC/Targets/" + name + ".zip"));
    QVERIFY(QFileInfo::exists(appData() + "/DOC/Targets/" + name + "_P1.tiff"));
    QCOMPARE(windowScript->openedUrls, (QList<QUrl>{QUrl::fromLocalFile(appData() + "/DOC/Targets")}));
}

QTEST_MAIN(TestSaveFlow)
#include "tst_saveflow.moc"
