// Tests of the command-line mode: the option checks (in process), and the real
// "Tessaro --batch" program run on the shipped sample references for TIFF and DCS pages,
// with its files opened by libtiff, the archive reader and, when installed, tiffinfo and
// unzip; and the failures that must end with a clear message and a non-zero exit.
#include "batchmode.h"

#include <quazip/quazip.h>
#include <tiffio.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kSamples = QStringLiteral(VANTREL_SOURCE_DIR "/samples/references/");

struct RunResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

RunResult runTessaro(const QStringList &arguments, int timeoutMs = 240000)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The program must choose the offscreen platform itself.
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TESSARO_EXE), QStringList{QStringLiteral("--batch")} + arguments);
    RunResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("timed out");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString describe(const RunResult &r)
{
    return QStringLiteral("exit %1\n--- stdout\n%2--- stderr\n%3").arg(r.exitCode).arg(r.out, r.err);
}

// The paths under "Files written:", each followed by its size.
QStringList writtenFiles(const QString &out)
{
    QStringList files;
    bool inList = false;
    static const QRegularExpression entry(QStringLiteral("^  (.+) \\((\\d+) bytes\\)$"));
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        if (line == QLatin1String("Files written:")) {
            inList = true;
            continue;
        }
        if (!inList)
            continue;
        const QRegularExpressionMatch match = entry.match(line);
        if (!match.hasMatch())
            break;
        files.append(match.captured(1));
    }
    return files;
}

struct TiffFacts
{
    bool opened = false;
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0, photometric = 0;
    float xResolution = 0;
};

TiffFacts readTiff(const QString &path)
{
    TiffFacts facts;
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tiff)
        return facts;
    facts.opened = true;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &facts.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &facts.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &facts.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &facts.bits);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &facts.photometric);
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &facts.xResolution);
    // Every strip must decode: a truncated or corrupt page fails here.
    const tmsize_t stripSize = TIFFStripSize(tiff);
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[static_cast<size_t>(stripSize)]);
    for (tstrip_t s = 0; s < TIFFNumberOfStrips(tiff); ++s) {
        if (TIFFReadEncodedStrip(tiff, s, buffer.get(), stripSize) < 0) {
            facts.opened = false;
            break;
        }
    }
    TIFFClose(tiff);
    return facts;
}

QStringList zipEntries(const QString &path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return {QStringLiteral("<cannot open>")};
    QStringList names = zip.getFileNameList();
    zip.close();
    return names;
}

// Exit code of a tool that is installed; -1 when it is not.
int runTool(const QString &tool, const QStringList &arguments, QString *output = nullptr)
{
    const QString exe = QStandardPaths::findExecutable(tool);
    if (exe.isEmpty())
        return -1;
    QProcess process;
    process.start(exe, arguments);
    if (!process.waitForFinished(60000))
        return -3;
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    return process.exitCode();
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
private slots:
    void parsesEveryOption();
    void rejectsWrongValues_data();
    void rejectsWrongValues();
    void helpNamesEveryOption();

    void makesTarget_data();
    void makesTarget();
    void findingsFollowTheLayout();
    void refusesWhatTheWindowRefuses_data();
    void refusesWhatTheWindowRefuses();
    void overwriteNeedsTheFlag();
    void badInstrumentFails();
    void missingReferenceFails();
    void unwritableOutputFails();
};

void TestBatch::parsesEveryOption()
{
    const QStringList args = {
        QStringLiteral("Tessaro"), QStringLiteral("--batch"), QStringLiteral("--reference"), QStringLiteral("a.ref"),
        QStringLiteral("--instrument"), QStringLiteral("tintora pendra"), QStringLiteral("--mode"), QStringLiteral("advanced"),
        QStringLiteral("--paper"), QStringLiteral("320 x 450 mm"), QStringLiteral("--borders"), QStringLiteral("5,10.5,0,.25"),
        QStringLiteral("--left-header"), QStringLiteral("off"), QStringLiteral("--right-header"), QStringLiteral("on"),
        QStringLiteral("--reference-area"), QStringLiteral("off"), QStringLiteral("--order"), QStringLiteral("column"),
        QStringLiteral("--flip-vertical"), QStringLiteral("--random"), QStringLiteral("--patch-count"), QStringLiteral("9x6"),
        QStringLiteral("--patch-size"), QStringLiteral("12.5x13"), QStringLiteral("--separators"), QStringLiteral("0x0.75"),
        QStringLiteral("--target-name"), QStringLiteral("Strip"), QStringLiteral("--target-version"), QStringLiteral("2.1"),
        QStringLiteral("--dpi"), QStringLiteral("5000"), QStringLiteral("--format"), QStringLiteral("tiff16"),
        QStringLiteral("--module"), QStringLiteral("doc"), QStringLiteral("--black-ink"), QStringLiteral("0"),
        QStringLiteral("--out"), QStringLiteral("/tmp/x"), QStringLiteral("--overwrite")};
    BatchOptions o;
    QString error;
    QCOMPARE(BatchMode::parse(args, &o, &error), BatchMode::Parse::Run);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(o.reference, QStringLiteral("a.ref"));
    QCOMPARE(*o.instrument, QStringLiteral("tintora pendra"));
    QVERIFY(o.advanced);
    QCOMPARE(*o.paperName, QStringLiteral("320x450 mm"));
    QCOMPARE(o.paperWidth, 320);
    QCOMPARE(o.paperHeight, 450);
    QCOMPARE(o.borders->left, 5.0);
    QCOMPARE(o.borders->top, 10.5);
    QCOMPARE(o.borders->right, 0.0);
    QCOMPARE(o.borders->bottom, 0.25);
    QCOMPARE(*o.leftHeader, false);
    QCOMPARE(*o.rightHeader, true);
    QCOMPARE(*o.referenceArea, false);
    QCOMPARE(*o.rowByRow, false);
    QVERIFY(o.flipVertical && !o.flipHorizontal && o.random && !o.readVertically);
    QCOMPARE(*o.patchesX, 9);
    QCOMPARE(*o.patchesY, 6);
    QCOMPARE(*o.patchWidth, 12.5);
    QCOMPARE(*o.patchHeight, 13.0);
    QCOMPARE(*o.separatorX, 0.0);
    QCOMPARE(*o.separatorY, 0.75);
    QCOMPARE(*o.targetName, QStringLiteral("Strip"));
    QCOMPARE(*o.targetVersion, QStringLiteral("2.1"));
    QCOMPARE(*o.dpi, 5000);
    QVERIFY(*o.format == BatchOptions::Format::Tiff16);
    QVERIFY(o.module == BatchOptions::Module::Doc);
    QCOMPARE(*o.blackInk, 0);
    QCOMPARE(o.outputFolder, QStringLiteral("/tmp/x"));
    QVERIFY(o.overwrite);

    // A paper name stays a name; unset options stay unset.
    BatchOptions plain;
    QCOMPARE(BatchMode::parse({QStringLiteral("Tessaro"), QStringLiteral("--batch"), QStringLiteral("--reference"),
                               QStringLiteral("b.ref"), QStringLiteral("--paper"), QStringLiteral("A4")},
                              &plain, &error),
             BatchMode::Parse::Run);
    QCOMPARE(*plain.paperName, QStringLiteral("A4"));
    QCOMPARE(plain.paperWidth, 0);
    QVERIFY(!plain.instrument && !plain.format && !plain.dpi && !plain.borders && !plain.rowByRow);
    QVERIFY(!plain.advanced && plain.module == BatchOptions::Module::Chart && !plain.overwrite);
}

void TestBatch::rejectsWrongValues_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    const QString ref = QStringLiteral("--reference=a.ref");
    QTest::newRow("no batch") << QStringList{ref} << QStringLiteral("--batch is needed");
    QTest::newRow("no reference") << QStringList{} << QStringLiteral("--reference is required");
    QTest::newRow("unknown option") << QStringList{ref, QStringLiteral("--colour")} << QStringLiteral("Unknown option 'colour'");
    QTest::newRow("stray argument") << QStringList{ref, QStringLiteral("extra")} << QStringLiteral("Unexpected argument \"extra\"");
    QTest::newRow("instrument") << QStringList{ref, QStringLiteral("--instrument=Tintora Nova")}
                                << QStringLiteral("--instrument: unknown instrument \"Tintora Nova\". Accepted values: "
                                                  "\"TintoraDesk\", \"TintoraDesk Printon\", \"Tintora Vestra 2mm\"");
    QTest::newRow("custom in easy mode") << QStringList{ref, QStringLiteral("--instrument=Custom")}
                                         << QStringLiteral("\"Custom\" is offered in Advanced mode only");
    QTest::newRow("mode") << QStringList{ref, QStringLiteral("--mode=expert")}
                          << QStringLiteral("--mode: wrong value \"expert\". Accepted values: \"easy\", \"advanced\".");
    QTest::newRow("format") << QStringList{ref, QStringLiteral("--format=png")}
                            << QStringLiteral("--format: wrong value \"png\". Accepted values: \"tiff\", \"tiff16\", \"dcs\".");
    QTest::newRow("module") << QStringList{ref, QStringLiteral("--module=spot")}
                            << QStringLiteral("Accepted values: \"chart\", \"doc\".");
    QTest::newRow("dpi zero") << QStringList{ref, QStringLiteral("--dpi=0")} << QStringLiteral("--dpi: wrong value \"0\". Accepted: a whole number 1..5000.");
    QTest::newRow("dpi 5001") << QStringList{ref, QStringLiteral("--dpi=5001")} << QStringLiteral("1..5000");
    QTest::newRow("dpi letters") << QStringList{ref, QStringLiteral("--dpi=300dpi")} << QStringLiteral("1..5000");
    QTest::newRow("paper zero") << QStringList{ref, QStringLiteral("--paper=0x297")} << QStringLiteral("whole mm, each 1..65535");
    QTest::newRow("paper decimals") << QStringList{ref, QStringLiteral("--paper=210.5x297")} << QStringLiteral("whole mm");
    QTest::newRow("borders in easy mode") << QStringList{ref, QStringLiteral("--borders=1,1,1,1")}
                                          << QStringLiteral("--borders is an Advanced mode setting; add --mode advanced.");
    QTest::newRow("order in easy mode") << QStringList{ref, QStringLiteral("--order=column")}
                                        << QStringLiteral("--order is an Advanced mode setting");
    QTest::newRow("borders three") << QStringList{ref, QStringLiteral("--mode=advanced"), QStringLiteral("--borders=1,1,1")}
                                   << QStringLiteral("four millimetre values left,top,right,bottom");
    QTest::newRow("borders negative") << QStringList{ref, QStringLiteral("--mode=advanced"), QStringLiteral("--borders=1,-1,1,1")}
                                      << QStringLiteral("--borders: wrong value");
    QTest::newRow("borders three decimals") << QStringList{ref, QStringLiteral("--mode=advanced"), QStringLiteral("--borders=1,1,1,1.125")}
                                            << QStringLiteral("two decimals at most");
    QTest::newRow("header yes") << QStringList{ref, QStringLiteral("--mode=advanced"), QStringLiteral("--left-header=yes")}
                                << QStringLiteral("--left-header: wrong value \"yes\". Accepted values: \"on\", \"off\".");
    QTest::newRow("order diagonal") << QStringList{ref, QStringLiteral("--mode=advanced"), QStringLiteral("--order=diagonal")}
                                    << QStringLiteral("Accepted values: \"row\", \"column\".");
    QTest::newRow("patch count zero") << QStringList{ref, QStringLiteral("--patch-count=0x5")} << QStringLiteral("COLUMNSxROWS");
    QTest::newRow("patch count one value") << QStringList{ref, QStringLiteral("--patch-count=12")} << QStringLiteral("COLUMNSxROWS");
    QTest::newRow("patch size zero") << QStringList{ref, QStringLiteral("--patch-size=0x12")} << QStringLiteral("above 0");
    QTest::newRow("separators three decimals") << QStringList{ref, QStringLiteral("--separators=0.125x1")}
                                               << QStringLiteral("--separators: wrong value");
    QTest::newRow("name too long") << QStringList{ref, QStringLiteral("--target-name=ABCDEFGHIJKLMNOPQRSTU")}
                                   << QStringLiteral("at most 20 characters");
    QTest::newRow("name with slash") << QStringList{ref, QStringLiteral("--target-name=../x")}
                                     << QStringLiteral("must not contain \"/\"");
    QTest::newRow("empty name") << QStringList{ref, QStringLiteral("--target-name=")} << QStringLiteral("must not be empty");
    QTest::newRow("version too long") << QStringList{ref, QStringLiteral("--target-version=1234567890123456")}
                                      << QStringLiteral("at most 15 characters");
    QTest::newRow("black ink 101") << QStringList{ref, QStringLiteral("--black-ink=101")}
                                   << QStringLiteral("--black-ink: wrong value \"101\". Accepted: a whole number 0..100.");
}

void TestBatch::rejectsWrongValues()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QStringList arguments{QStringLiteral("Tessaro")};
    if (QTest::currentDataTag() != QLatin1String("no batch"))
        arguments.append(QStringLiteral("--batch"));
    arguments += args;
    BatchOptions o;
    QString error;
    QCOMPARE(BatchMode::parse(arguments, &o, &error), BatchMode::Parse::Error);
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestBatch::helpNamesEveryOption()
{
    BatchOptions o;
    QString error;
    QCOMPARE(BatchMode::parse({QStringLiteral("Tessaro"), QStringLiteral("--help")}, &o, &error), BatchMode::Parse::Help);
    const QString help = BatchMode::helpText();
    for (const char *option : {"--batch", "--reference", "--instrument", "--mode", "--paper", "--borders",
                               "--left-header", "--right-header", "--reference-area", "--order", "--flip-horizontal",
                               "--flip-vertical", "--random", "--read-vertically", "--comment", "--patch-count",
                               "--patch-size", "--separators", "--target-name", "--target-version",
                               "--printer-media", "--dpi", "--format", "--module", "--black-ink", "--out",
                               "--overwrite"})
        QVERIFY2(help.contains(QLatin1String(option)), option);
    // The accepted values are in the help, the instruments by their combo texts.
    for (const char *value : {"tiff16", "\"Tintora Vestra zq (textile)\"", "\"TintoraDesk Printon\"", "chart|doc",
                              "Exit status"})
        QVERIFY2(help.contains(QLatin1String(value)), value);

    // The program prints the same help and exits 0, also without --batch.
    const RunResult r = runTessaro({QStringLiteral("--help")});
    QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
    QVERIFY(r.out.contains(QLatin1String("--patch-count")));
}

void TestBatch::makesTarget_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("channels"); // samples per pixel, or DCS plates
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("module");

    QTest::newRow("RGB tiff") << QStringLiteral("RGB_216.ref") << QStringList{QStringLiteral("--format=tiff")}
                              << QStringLiteral(".tiff") << 3 << 8 << QStringLiteral("Chart");
    QTest::newRow("RGB dcs") << QStringLiteral("RGB_216.ref") << QStringList{QStringLiteral("--format=dcs")}
                             << QStringLiteral(".eps") << 3 << 8 << QStringLiteral("Chart");
    QTest::newRow("CMYK tiff16 doc") << QStringLiteral("CMYK_ControlStrip54.ref")
                                     << QStringList{QStringLiteral("--format=tiff16"), QStringLiteral("--module=doc")}
                                     << QStringLiteral(".tiff") << 4 << 16 << QStringLiteral("DOC");
    QTest::newRow("CMYK dcs") << QStringLiteral("CMYK_ControlStrip54.ref") << QStringList{QStringLiteral("--format=dcs")}
                              << QStringLiteral(".eps") << 4 << 8 << QStringLiteral("Chart");
    QTest::newRow("CMYK+spot tiff") << QStringLiteral("CMYK_Orange_Green.ref") << QStringList{QStringLiteral("--format=tiff")}
                                    << QStringLiteral(".tiff") << 6 << 8 << QStringLiteral("Chart");
    QTest::newRow("CMYK+spot dcs") << QStringLiteral("CMYK_Orange_Green.ref") << QStringList{QStringLiteral("--format=dcs")}
                                   << QStringLiteral(".eps") << 6 << 8 << QStringLiteral("Chart");
}

void TestBatch::makesTarget()
{
    QFETCH(QString, reference);
    QFETCH(QStringList, options);
    QFETCH(QString, extension);
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(QString, module);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("Vantrel"));
    const int dpi = 72;
    const RunResult r = runTessaro(QStringList{QStringLiteral("--reference"), kSamples + reference, QStringLiteral("--out"),
                                               out, QStringLiteral("--dpi"), QString::number(dpi),
                                               QStringLiteral("--target-name"), QStringLiteral("Batch"),
                                               QStringLiteral("--target-version"), QStringLiteral("1.0")} +
                                   options);
    QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));

    // Findings: the counts line agrees with the listed findings.
    static const QRegularExpression countsLine(
        QStringLiteral("Validation: (\\d+) error\\(s\\), (\\d+) warning\\(s\\), (\\d+) info\\(s\\)"));
    const QRegularExpressionMatch counts = countsLine.match(r.out);
    QVERIFY2(counts.hasMatch(), qPrintable(r.out));
    const int listed = int(r.out.count(QRegularExpression(QStringLiteral("\n  (Error|Warning|Info): [^:\n]+: "))));
    QCOMPARE(listed, counts.captured(1).toInt() + counts.captured(2).toInt() + counts.captured(3).toInt());
    // A version was given: its warning is gone.
    QVERIFY2(!r.out.contains(QLatin1String("No target version given")), qPrintable(r.out));
    QVERIFY(r.out.contains(QLatin1String("Tessaro: Quorvane target successfully saved.")));

    const QString targets = out + QLatin1Char('/') + module + QStringLiteral("/Targets/");
    static const QRegularExpression pagesLine(QStringLiteral(", (\\d+) page\\(s\\)"));
    const QRegularExpressionMatch pagesMatch = pagesLine.match(r.out);
    QVERIFY(pagesMatch.hasMatch());
    const int pages = pagesMatch.captured(1).toInt();
    QVERIFY(pages >= 1);

    QStringList expected;
    for (int k = 1; k <= pages; ++k)
        expected.append(targets + QStringLiteral("Batch_P%1").arg(k) + extension);
    expected << out + QLatin1Char('/') + module + QStringLiteral("/References/Batch.ref")
             << out + QLatin1Char('/') + module + QStringLiteral("/Previews/Batch.bmp") << targets + QStringLiteral("Batch.xml")
             << targets + QStringLiteral("Batch.zip");
    QStringList listedFiles = writtenFiles(r.out);
    for (QString &file : listedFiles)
        file = QDir::fromNativeSeparators(file);
    QCOMPARE(listedFiles, expected);
    for (const QString &file : expected)
        QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));

    for (int k = 1; k <= pages; ++k) {
        const QString page = expected[k - 1];
        if (extension == QLatin1String(".tiff")) {
            const TiffFacts facts = readTiff(page);
            QVERIFY2(facts.opened, qPrintable(page));
            QCOMPARE(int(facts.samples), channels);
            QCOMPARE(int(facts.bits), bits);
            QCOMPARE(int(facts.photometric), channels == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_SEPARATED);
            QCOMPARE(qRound(facts.xResolution), dpi);
            QVERIFY(facts.width > 100 && facts.height > 100);
            const int info = runTool(QStringLiteral("tiffinfo"), {page});
            QVERIFY2(info == -1 || info == 0, qPrintable(page));
        } else {
            QFile file(page);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            // DOS EPS binary header, then the PostScript with one plate entry per ink.
            QVERIFY(bytes.startsWith(QByteArray::fromHex("C5D0D3C6")));
            QVERIFY(bytes.contains("%!PS-Adobe-3.0 EPSF-3.0"));
            QCOMPARE(int(bytes.count("%%PlateFile: (")), channels);
        }
    }

    QStringList entries{QStringLiteral("References/Batch.ref"), QStringLiteral("Targets/Batch.xml")};
    for (int k = 1; k <= pages; ++k)
        entries.append(QStringLiteral("Targets/Batch_P%1").arg(k) + extension);
    entries.append(QStringLiteral("Previews/Batch.bmp"));
    QCOMPARE(zipEntries(targets + QStringLiteral("Batch.zip")), entries);
    QString listing;
    const int unzip = runTool(QStringLiteral("unzip"), {QStringLiteral("-l"), targets + QStringLiteral("Batch.zip")}, &listing);
    QVERIFY2(unzip == -1 || (unzip == 0 && listing.contains(QLatin1String("Targets/Batch_P1"))), qPrintable(listing));
}

void TestBatch::findingsFollowTheLayout()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A paper beyond the Vestra's reach, no version: an error and a warning, with titles.
    const RunResult r = runTessaro({QStringLiteral("--reference"), kSamples + QStringLiteral("CMYK_ControlStrip54.ref"),
                                    QStringLiteral("--instrument"), QStringLiteral("Tintora Vestra 8mm"),
                                    QStringLiteral("--paper"), QStringLiteral("400x300"), QStringLiteral("--dpi"),
                                    QStringLiteral("36"), QStringLiteral("--out"), dir.path()});
    // Validation findings do not stop a save.
    QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
    QVERIFY2(r.out.contains(QLatin1String("Paper: 400x300 mm (400x300)")), qPrintable(r.out));
    QVERIFY2(r.out.contains(QLatin1String("\n  Error: Page Size: The maximum page size for Tintora Vestra is 297x210 mm\n")),
             qPrintable(r.out));
    QVERIFY(r.out.contains(QLatin1String(
        "\n  Warning: Version: No target version given. Please enter a version number in the right pane.\n")));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("Chart/Targets/CMYK_ControlStrip54.zip"))));

    // Advanced options reach the window: column order and patch settings show in the summary.
    QTemporaryDir dir2;
    const RunResult a = runTessaro({QStringLiteral("--reference"), kSamples + QStringLiteral("CMYK_ControlStrip54.ref"),
                                    QStringLiteral("--mode"), QStringLiteral("advanced"), QStringLiteral("--patch-size"),
                                    QStringLiteral("14x15"), QStringLiteral("--separators"), QStringLiteral("1x1"),
                                    QStringLiteral("--borders"), QStringLiteral("10,10,10,10"),
                                    QStringLiteral("--patch-count"), QStringLiteral("9x4"), QStringLiteral("--order"),
                                    QStringLiteral("column"), QStringLiteral("--flip-horizontal"), QStringLiteral("--dpi"),
                                    QStringLiteral("36"), QStringLiteral("--target-version"), QStringLiteral("3"),
                                    QStringLiteral("--out"), dir2.path()});
    QVERIFY2(a.exitCode == 0, qPrintable(describe(a)));
    QVERIFY2(a.out.contains(QLatin1String("Advanced mode")), qPrintable(a.out));
    QVERIFY2(a.out.contains(QLatin1String("borders 10.00/10.00/10.00/10.00 mm")), qPrintable(a.out));
    QVERIFY2(a.out.contains(QLatin1String("separator 1.00x1.00 mm")), qPrintable(a.out));
    QVERIFY2(a.out.contains(QLatin1String("Patches: 9x4 per page")), qPrintable(a.out));
    QVERIFY2(a.out.contains(QLatin1String("Order: column by column, flipped horizontally\n")), qPrintable(a.out));
    QVERIFY2(!a.out.contains(QLatin1String("Version:")), qPrintable(a.out));
}

void TestBatch::refusesWhatTheWindowRefuses_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");

    const QString strip = QStringLiteral("CMYK_ControlStrip54.ref");
    QTest::newRow("patch count beyond the dialog")
        << strip << QStringList{QStringLiteral("--patch-count"), QStringLiteral("90x6")}
        << QStringLiteral("--patch-count: Patch count X 90 is not accepted: the dialog takes 1..");
    QTest::newRow("paper not in the list")
        << strip << QStringList{QStringLiteral("--paper"), QStringLiteral("Letter")}
        << QStringLiteral("--paper: unknown paper \"Letter\". Accepted values: \"A4\"");
    QTest::newRow("locked page content")
        << strip
        << QStringList{QStringLiteral("--mode"), QStringLiteral("advanced"), QStringLiteral("--instrument"),
                       QStringLiteral("TintoraDesk"), QStringLiteral("--right-header"), QStringLiteral("on")}
        << QStringLiteral("--right-header: \"Include right header\" cannot be changed");
    QTest::newRow("tiff for inks without CMYK")
        << QStringLiteral("NColor6_Photo.ref") << QStringList{QStringLiteral("--format"), QStringLiteral("tiff")}
        << QStringLiteral("--format: TIFF pages are not offered for a reference with extra inks but no CMYK. "
                          "Accepted value: dcs.");
}

void TestBatch::refusesWhatTheWindowRefuses()
{
    QFETCH(QString, reference);
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const RunResult r = runTessaro(QStringList{QStringLiteral("--reference"), kSamples + reference,
                                               QStringLiteral("--out"), dir.path()} +
                                   options);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(describe(r)));
    // Nothing is saved after a refused option.
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Chart/Targets"))));
}

void TestBatch::overwriteNeedsTheFlag()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList args{QStringLiteral("--reference"), kSamples + QStringLiteral("RGB_216.ref"), QStringLiteral("--dpi"),
                           QStringLiteral("36"), QStringLiteral("--out"), dir.path()};
    QCOMPARE(runTessaro(args).exitCode, 0);
    const QString archive = dir.filePath(QStringLiteral("Chart/Targets/RGB_216.zip"));
    const QDateTime first = QFileInfo(archive).lastModified();

    const RunResult again = runTessaro(args);
    QVERIFY2(again.exitCode == 1, qPrintable(describe(again)));
    QVERIFY(again.out.contains(QLatin1String("The selected target name already exists. Do you want to overwrite? No")));
    QVERIFY2(again.err.contains(QLatin1String("Give --overwrite to replace it.")), qPrintable(again.err));
    QCOMPARE(QFileInfo(archive).lastModified(), first);

    const RunResult forced = runTessaro(args + QStringList{QStringLiteral("--overwrite")});
    QVERIFY2(forced.exitCode == 0, qPrintable(describe(forced)));
    QVERIFY(forced.out.contains(QLatin1String("Do you want to overwrite? Yes")));
}

void TestBatch::badInstrumentFails()
{
    QTemporaryDir dir;
    const RunResult r = runTessaro({QStringLiteral("--reference"), kSamples + QStringLiteral("RGB_216.ref"),
                                    QStringLiteral("--instrument"), QStringLiteral("Tintora Nova"), QStringLiteral("--out"),
                                    dir.path()});
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(QLatin1String("--instrument: unknown instrument \"Tintora Nova\". Accepted values: "
                                          "\"TintoraDesk\", \"TintoraDesk Printon\", \"Tintora Vestra 2mm\"")),
             qPrintable(r.err));
    QVERIFY(r.err.contains(QLatin1String("\"Tintora Vestra zq (textile)\"")));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Chart"))));
}

void TestBatch::missingReferenceFails()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("nowhere/None.ref"));
    const RunResult r = runTessaro({QStringLiteral("--reference"), missing, QStringLiteral("--out"), dir.path()});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("The reference file %1 does not exist.").arg(QDir::toNativeSeparators(missing))),
             qPrintable(r.err));

    // A file that is no reference: the window's own message, then the batch's.
    const QString junk = dir.filePath(QStringLiteral("junk.ref"));
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a reference\n");
    file.close();
    const RunResult j = runTessaro({QStringLiteral("--reference"), junk, QStringLiteral("--out"), dir.path()});
    QCOMPARE(j.exitCode, 1);
    QVERIFY2(j.err.contains(QLatin1String("Reference file error: Failed to load reference file.\nWrong file format.")),
             qPrintable(j.err));
    QVERIFY(j.err.contains(QLatin1String("could not be loaded")));
}

void TestBatch::unwritableOutputFails()
{
    QTemporaryDir dir;
    // A regular file where a folder must be: no user, root included, can make the folder.
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString out = blocker + QStringLiteral("/Vantrel");
    const RunResult r = runTessaro({QStringLiteral("--reference"), kSamples + QStringLiteral("RGB_216.ref"),
                                    QStringLiteral("--out"), out});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("The output folder %1 cannot be created or written.")
                                .arg(QDir::toNativeSeparators(out))),
             qPrintable(r.err));

    // The folder takes files, but the module folder cannot be made: the save flow's own
    // failure is printed and the run fails.
    QTemporaryDir dir2;
    QFile module(dir2.filePath(QStringLiteral("Chart")));
    QVERIFY(module.open(QIODevice::WriteOnly));
    module.close();
    const RunResult s = runTessaro({QStringLiteral("--reference"), kSamples + QStringLiteral("RGB_216.ref"),
                                    QStringLiteral("--out"), dir2.path()});
    QCOMPARE(s.exitCode, 1);
    QVERIFY2(s.err.contains(QStringLiteral("Cannot create the folder %1.")
                                .arg(QDir::toNativeSeparators(dir2.filePath(QStringLiteral("Chart/Targets"))))),
             qPrintable(s.err));
    QVERIFY(s.err.contains(QLatin1String("The target was not saved.")));
    QVERIFY(!s.out.contains(QLatin1String("Files written:")));
}

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
