// The binary user settings file: byte layout checked by a hand-written parser,
// write/read round trips, foreign and damaged files, and the error log lines.
#include "SuiteEnvironment.h"
#include "TargetSettings.h"
#include "UserSettingsFile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

// Big-endian parser that knows nothing of the toolkit's data stream.
class ByteParser
{
public:
    explicit ByteParser(const QByteArray &bytes) : m_bytes(bytes) {}

    quint64 unsignedValue(int size)
    {
        if (m_pos + size > m_bytes.size())
            throw std::runtime_error("past the end");
        quint64 v = 0;
        for (int i = 0; i < size; ++i)
            v = (v << 8) | quint8(m_bytes[m_pos + i]);
        m_pos += size;
        return v;
    }
    qint32 i32() { return qint32(quint32(unsignedValue(4))); }
    qint64 i64() { return qint64(unsignedValue(8)); }
    bool boolean()
    {
        const quint64 v = unsignedValue(1);
        if (v > 1)
            throw std::runtime_error("bool byte not 0 or 1");
        return v == 1;
    }
    double f64()
    {
        const quint64 bits = unsignedValue(8);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    // Byte count, then UTF-16 code units, big-endian; 0xFFFFFFFF = null string.
    QString string(bool *isNull = nullptr)
    {
        const quint32 count = quint32(unsignedValue(4));
        if (isNull)
            *isNull = count == 0xFFFFFFFFu;
        if (count == 0xFFFFFFFFu)
            return QString();
        if (count % 2 != 0)
            throw std::runtime_error("odd string byte count");
        QString s;
        for (quint32 i = 0; i < count / 2; ++i)
            s.append(QChar(char16_t(unsignedValue(2))));
        return s;
    }
    bool atEnd() const { return m_pos == m_bytes.size(); }

private:
    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

// Big-endian writer for hand-made files.
class ByteWriter
{
public:
    ByteWriter &value(quint64 v, int size)
    {
        for (int i = size - 1; i >= 0; --i)
            m_bytes.append(char((v >> (8 * i)) & 0xFF));
        return *this;
    }
    ByteWriter &i32(qint32 v) { return value(quint32(v), 4); }
    ByteWriter &i64(qint64 v) { return value(quint64(v), 8); }
    ByteWriter &boolean(bool v) { return value(v ? 1 : 0, 1); }
    ByteWriter &f64(double d)
    {
        quint64 bits;
        std::memcpy(&bits, &d, sizeof d);
        return value(bits, 8);
    }
    ByteWriter &string(const QString &s)
    {
        if (s.isNull())
            return value(0xFFFFFFFFu, 4);
        value(quint32(s.size() * 2), 4);
        for (QChar c : s)
            value(c.unicode(), 2);
        return *this;
    }
    ByteWriter &raw(const QByteArray &bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// A record in which every stored field differs from its default.
TargetSettings distinctiveSettings()
{
    TargetSettings s;
    s.patchesX = 18;
    s.patchesY = 14;
    s.desiredPatchesX = 17;
    s.desiredPatchesY = -3;
    s.columnLimit = 5;
    s.rowLimit = 6;
    s.patchCount = 500;
    s.targetSize = QSizeF(228000.25, 180000.5);
    s.pageSize = QSizeF(305000, 230000);
    s.autopositioning = false;
    s.deviceVestra = false;
    s.deviceVestrazq = true;
    s.devicePendra = true;
    s.deviceDesk = true;
    s.devicePrinton = true;
    s.useRGB = false;
    s.useCMYK = true;
    s.useNColor = true;
    s.aperture2mm = true;
    s.aperture6mm = true;
    s.aperture8mm = false;
    s.scaleFactor = 0.0123456789;
    s.numberOfPages = 7;
    s.patchMarginX = 1000;
    s.patchMarginY = 200.5;
    s.patchSizeX = 12833;
    s.patchSizeY = 13357;
    s.minPatchSizeX = 12000;
    s.minPatchSizeY = 16000;
    s.printerMedia = QString::fromUtf8("Presse 3 / Mattpapier \u00e9\u2713");
    s.targetName = QStringLiteral("Chart_01");
    s.targetVersion = QStringLiteral(""); // empty, not null
    s.manualPosVestra = false;
    s.manualPosPendra = true;
    s.startingLinesTintoraDesk = true;
    s.blackWhiteSeparators = true;
    s.unscaledText = true;
    s.showLeftHeader = false;
    s.showReferenceArea = false;
    s.showRightHeader = true;
    s.invertHorizontal = true;
    s.invertVertical = true;
    s.borderLeft = 10000;
    s.borderRight = 45000;
    s.borderTop = 1.5;
    s.borderBottom = 45000;
    s.rowByRow = false;
    s.fillPage = false;
    s.referenceFile = QStringLiteral("/data/refs/IT8.7-4 & co.txt");
    s.advancedMode = true;
    s.useReferenceID = false;
    s.useReferenceName = true;
    s.reservedText = QStringLiteral("reserved");
    s.random = true;
    s.verificationPatches = true;
    // Not stored; must not survive a round trip.
    s.comment = QStringLiteral("not stored");
    s.autopositioningBorders = true;
    s.deviceVestrazqTextile = true;
    s.referenceFileName = QStringLiteral("Chart_01.ref");
    s.resolution = 600;
    s.previewFile = QStringLiteral("/x/Previews/Chart_01.bmp");
    s.optimizeTilePosition = true;
    // Eight papers: the factory list, one user paper, the selected flag on two.
    s.papers[3].selected = true;
    s.papers.append(PaperSize(QStringLiteral("User \u00fc"), 420500, 297250, 1000, 2000, 3000, 4000, true));
    return s;
}

void expectStoredFieldsEqual(const TargetSettings &a, const TargetSettings &b)
{
    EXPECT_EQ(a.patchesX, b.patchesX);
    EXPECT_EQ(a.patchesY, b.patchesY);
    EXPECT_EQ(a.desiredPatchesX, b.desiredPatchesX);
    EXPECT_EQ(a.desiredPatchesY, b.desiredPatchesY);
    EXPECT_EQ(a.columnLimit, b.columnLimit);
    EXPECT_EQ(a.rowLimit, b.rowLimit);
    EXPECT_EQ(a.patchCount, b.patchCount);
    EXPECT_EQ(a.targetSize, b.targetSize);
    EXPECT_EQ(a.pageSize, b.pageSize);
    EXPECT_EQ(a.autopositioning, b.autopositioning);
    EXPECT_EQ(a.deviceVestra, b.deviceVestra);
    EXPECT_EQ(a.deviceVestrazq, b.deviceVestrazq);
    EXPECT_EQ(a.devicePendra, b.devicePendra);
    EXPECT_EQ(a.deviceDesk, b.deviceDesk);
    EXPECT_EQ(a.devicePrinton, b.devicePrinton);
    EXPECT_EQ(a.useRGB, b.useRGB);
    EXPECT_EQ(a.useCMYK, b.useCMYK);
    EXPECT_EQ(a.useNColor, b.useNColor);
    EXPECT_EQ(a.aperture2mm, b.aperture2mm);
    EXPECT_EQ(a.aperture6mm, b.aperture6mm);
    EXPECT_EQ(a.aperture8mm, b.aperture8mm);
    EXPECT_EQ(a.scaleFactor, b.scaleFactor);
    EXPECT_EQ(a.numberOfPages, b.numberOfPages);
    EXPECT_EQ(a.patchMarginX, b.patchMarginX);
    EXPECT_EQ(a.patchMarginY, b.patchMarginY);
    EXPECT_EQ(a.patchSizeX, b.patchSizeX);
    EXPECT_EQ(a.patchSizeY, b.patchSizeY);
    EXPECT_EQ(a.minPatchSizeX, b.minPatchSizeX);
    EXPECT_EQ(a.minPatchSizeY, b.minPatchSizeY);
    EXPECT_EQ(a.printerMedia, b.printerMedia);
    EXPECT_EQ(a.targetName, b.targetName);
    EXPECT_EQ(a.targetVersion, b.targetVersion);
    EXPECT_EQ(a.targetVersion.isNull(), b.targetVersion.isNull());
    EXPECT_EQ(a.manualPosVestra, b.manualPosVestra);
    EXPECT_EQ(a.manualPosPendra, b.manualPosPendra);
    EXPECT_EQ(a.startingLinesTintoraDesk, b.startingLinesTintoraDesk);
    EXPECT_EQ(a.blackWhiteSeparators, b.blackWhiteSeparators);
    EXPECT_EQ(a.unscaledText, b.unscaledText);
    EXPECT_EQ(a.showLeftHeader, b.showLeftHeader);
    EXPECT_EQ(a.showReferenceArea, b.showReferenceArea);
    EXPECT_EQ(a.showRightHeader, b.showRightHeader);
    EXPECT_EQ(a.invertHorizontal, b.invertHorizontal);
    EXPECT_EQ(a.invertVertical, b.invertVertical);
    EXPECT_EQ(a.borderLeft, b.borderLeft);
    EXPECT_EQ(a.borderRight, b.borderRight);
    EXPECT_EQ(a.borderTop, b.borderTop);
    EXPECT_EQ(a.borderBottom, b.borderBottom);
    EXPECT_EQ(a.rowByRow, b.rowByRow);
    EXPECT_EQ(a.fillPage, b.fillPage);
    EXPECT_EQ(a.referenceFile, b.referenceFile);
    EXPECT_EQ(a.advancedMode, b.advancedMode);
    EXPECT_EQ(a.useReferenceID, b.useReferenceID);
    EXPECT_EQ(a.useReferenceName, b.useReferenceName);
    EXPECT_EQ(a.reservedText, b.reservedText);
    EXPECT_EQ(a.random, b.random);
    EXPECT_EQ(a.verificationPatches, b.verificationPatches);
    ASSERT_EQ(a.papers.size(), b.papers.size());
    for (qsizetype i = 0; i < a.papers.size(); ++i) {
        EXPECT_EQ(a.papers[i], b.papers[i]) << "paper " << i;
        EXPECT_EQ(a.papers[i].selected, b.papers[i].selected) << "paper " << i;
    }
}

void expectUnstoredFieldsAtDefaults(const TargetSettings &s)
{
    const TargetSettings d;
    EXPECT_EQ(s.comment, d.comment);
    EXPECT_EQ(s.autopositioningBorders, d.autopositioningBorders);
    EXPECT_EQ(s.deviceVestrazqTextile, d.deviceVestrazqTextile);
    EXPECT_EQ(s.referenceFileName, d.referenceFileName);
    EXPECT_EQ(s.resolution, d.resolution);
    EXPECT_EQ(s.previewFile, d.previewFile);
    EXPECT_EQ(s.optimizeTilePosition, d.optimizeTilePosition);
}

// The magic and items 2 to 9 of the record, encoded by hand.
ByteWriter handPrefix(const TargetSettings &d)
{
    ByteWriter w;
    w.i32(UserSettingsFile::Magic);
    for (int v : {d.patchesX, d.patchesY, d.desiredPatchesX, d.desiredPatchesY, d.columnLimit,
                  d.rowLimit, d.patchCount})
        w.i32(v);
    w.f64(d.targetSize.width()).f64(d.targetSize.height());
    w.f64(d.pageSize.width()).f64(d.pageSize.height());
    for (bool b : {d.autopositioning, d.deviceVestra, d.deviceVestrazq, d.devicePendra,
                   d.deviceDesk, d.devicePrinton, d.useRGB, d.useCMYK, d.useNColor,
                   d.aperture2mm, d.aperture6mm, d.aperture8mm})
        w.boolean(b);
    w.f64(d.scaleFactor).i32(d.numberOfPages);
    for (double v : {d.patchMarginX, d.patchMarginY, d.patchSizeX, d.patchSizeY,
                     d.minPatchSizeX, d.minPatchSizeY})
        w.f64(v);
    w.string(d.printerMedia).string(d.targetName).string(d.targetVersion);
    for (bool b : {d.manualPosVestra, d.manualPosPendra, d.startingLinesTintoraDesk,
                   d.blackWhiteSeparators, d.unscaledText, d.showLeftHeader,
                   d.showReferenceArea, d.showRightHeader, d.invertHorizontal, d.invertVertical})
        w.boolean(b);
    for (double v : {d.borderLeft, d.borderRight, d.borderTop, d.borderBottom})
        w.f64(v);
    w.boolean(d.rowByRow).boolean(d.fillPage).string(d.referenceFile);
    w.boolean(d.advancedMode).boolean(d.useReferenceID).boolean(d.useReferenceName);
    w.string(d.reservedText).boolean(d.random).boolean(d.verificationPatches);
    return w;
}

ByteWriter defaultsPrefix()
{
    return handPrefix(TargetSettings());
}

void writePaper(ByteWriter &w, const PaperSize &p)
{
    w.string(p.name).i32(p.width).i32(p.height).boolean(p.selected);
    w.f64(p.borderLeft).f64(p.borderRight).f64(p.borderTop).f64(p.borderBottom);
}

QByteArray handEncoded(const TargetSettings &s)
{
    ByteWriter w = handPrefix(s);
    w.i64(s.papers.size());
    for (const PaperSize &paper : s.papers)
        writePaper(w, paper);
    return w.bytes();
}

class UserSettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        SuitePlatform platform;
        platform.documentsFolder = m_dir.path() + QStringLiteral("/Documents");
        platform.applicationFolder = m_dir.path() + QStringLiteral("/app");
        platform.tempFolder = m_dir.path();
        platform.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); };
        m_env = std::make_unique<SuiteEnvironment>(platform);
    }

    QString settingsPath() const { return UserSettingsFile::filePath(*m_env); }
    QString errorLogPath() const
    {
        return m_env->appDataFolder() + QStringLiteral("/Log/2024-03-05 ErrorLog.txt");
    }
    QByteArray readFile(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QString &path, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<SuiteEnvironment> m_env;
};

TEST_F(UserSettingsFileTest, SavedFileMatchesByteLayout)
{
    const TargetSettings s = distinctiveSettings();
    ASSERT_TRUE(UserSettingsFile::save(s, *m_env));
    EXPECT_EQ(settingsPath(),
              m_dir.path() + QStringLiteral("/Documents/Quorvane/Vantrel/TessaroDefaultValues.txt"));
    const QByteArray bytes = readFile(settingsPath());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(bytes.left(4), QByteArray::fromHex("000368e1")); // 223457

    ByteParser p(bytes);
    EXPECT_EQ(p.i32(), 223457);
    EXPECT_EQ(p.i32(), s.patchesX);
    EXPECT_EQ(p.i32(), s.patchesY);
    EXPECT_EQ(p.i32(), s.desiredPatchesX);
    EXPECT_EQ(p.i32(), s.desiredPatchesY);
    EXPECT_EQ(p.i32(), s.columnLimit);
    EXPECT_EQ(p.i32(), s.rowLimit);
    EXPECT_EQ(p.i32(), s.patchCount);
    EXPECT_EQ(p.f64(), s.targetSize.width());
    EXPECT_EQ(p.f64(), s.targetSize.height());
    EXPECT_EQ(p.f64(), s.pageSize.width());
    EXPECT_EQ(p.f64(), s.pageSize.height());
    for (bool expected : {s.autopositioning, s.deviceVestra, s.deviceVestrazq, s.devicePendra,
                          s.deviceDesk, s.devicePrinton, s.useRGB, s.useCMYK, s.useNColor,
                          s.aperture2mm, s.aperture6mm, s.aperture8mm})
        EXPECT_EQ(p.boolean(), expected);
    EXPECT_EQ(p.f64(), s.scaleFactor);
    EXPECT_EQ(p.i32(), s.numberOfPages);
    for (double expected : {s.patchMarginX, s.patchMarginY, s.patchSizeX, s.patchSizeY,
                            s.minPatchSizeX, s.minPatchSizeY})
        EXPECT_EQ(p.f64(), expected);
    EXPECT_EQ(p.string(), s.printerMedia);
    EXPECT_EQ(p.string(), s.targetName);
    bool isNull = true;
    EXPECT_EQ(p.string(&isNull), QString());
    EXPECT_FALSE(isNull) << "an empty version is stored as an empty, not a null, string";
    for (bool expected : {s.manualPosVestra, s.manualPosPendra, s.startingLinesTintoraDesk,
                          s.blackWhiteSeparators, s.unscaledText, s.showLeftHeader,
                          s.showReferenceArea, s.showRightHeader, s.invertHorizontal,
                          s.invertVertical})
        EXPECT_EQ(p.boolean(), expected);
    for (double expected : {s.borderLeft, s.borderRight, s.borderTop, s.borderBottom})
        EXPECT_EQ(p.f64(), expected);
    EXPECT_EQ(p.boolean(), s.rowByRow);
    EXPECT_EQ(p.boolean(), s.fillPage);
    EXPECT_EQ(p.string(), s.referenceFile);
    EXPECT_EQ(p.boolean(), s.advancedMode);
    EXPECT_EQ(p.boolean(), s.useReferenceID);
    EXPECT_EQ(p.boolean(), s.useReferenceName);
    EXPECT_EQ(p.string(), s.reservedText);
    EXPECT_EQ(p.boolean(), s.random);
    EXPECT_EQ(p.boolean(), s.verificationPatches);
    ASSERT_EQ(p.i64(), 8);
    for (const PaperSize &paper : s.papers) {
        EXPECT_EQ(p.string(), paper.name);
        EXPECT_EQ(p.i32(), paper.width);
        EXPECT_EQ(p.i32(), paper.height);
        EXPECT_EQ(p.boolean(), paper.selected);
        EXPECT_EQ(p.f64(), paper.borderLeft);
        EXPECT_EQ(p.f64(), paper.borderRight);
        EXPECT_EQ(p.f64(), paper.borderTop);
        EXPECT_EQ(p.f64(), paper.borderBottom);
    }
    EXPECT_TRUE(p.atEnd()) << "nothing else (comment, textile flag, ...) is stored";
}

TEST_F(UserSettingsFileTest, WriterAgreesWithHandEncoding)
{
    // Defaults carry null strings (0xFFFFFFFF); the distinctive record empty and non-ASCII ones.
    for (const TargetSettings &s : {TargetSettings(), distinctiveSettings()})
        EXPECT_EQ(UserSettingsFile::toBytes(s).toHex().toStdString(), handEncoded(s).toHex().toStdString());
    EXPECT_TRUE(UserSettingsFile::toBytes(TargetSettings()).contains(QByteArray::fromHex("ffffffff")));
}

TEST_F(UserSettingsFileTest, HandEncodedFileIsReadFieldByField)
{
    const TargetSettings expected = distinctiveSettings();
    writeFile(settingsPath(), handEncoded(expected));
    TargetSettings s;
    ASSERT_EQ(UserSettingsFile::restore(s, *m_env), UserSettingsFile::eReadOk);
    expectStoredFieldsEqual(s, expected);
    expectUnstoredFieldsAtDefaults(s);
}

TEST_F(UserSettingsFileTest, SaveThenRestoreGivesSameRecord)
{
    const TargetSettings saved = distinctiveSettings();
    ASSERT_TRUE(UserSettingsFile::save(saved, *m_env));
    TargetSettings restored;
    ASSERT_EQ(UserSettingsFile::restore(restored, *m_env), UserSettingsFile::eReadOk);
    expectStoredFieldsEqual(restored, saved);
    expectUnstoredFieldsAtDefaults(restored);
    EXPECT_EQ(restored.papers[7].name, QStringLiteral("User \u00fc"));
    EXPECT_TRUE(restored.papers[7].selected);
    EXPECT_TRUE(restored.papers[3].selected);
    EXPECT_FALSE(restored.papers[0].selected);
    EXPECT_FALSE(QFile::exists(errorLogPath()));
}

TEST_F(UserSettingsFileTest, StreamFunctionsOfTheRecordRoundTrip)
{
    const TargetSettings saved = distinctiveSettings();
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        saved.writeToStream(out);
    }
    EXPECT_EQ(bytes, UserSettingsFile::toBytes(saved));
    TargetSettings restored;
    QDataStream in(bytes);
    ASSERT_TRUE(restored.readFromStream(in));
    expectStoredFieldsEqual(restored, saved);
}

TEST_F(UserSettingsFileTest, HandMadeFileWithUserPaperRestoresAllPapersInOrder)
{
    ByteWriter w = defaultsPrefix();
    QList<PaperSize> papers = TargetSettings().papers;
    papers.insert(2, PaperSize(QStringLiteral("A4"), 297000, 211000, 0, 0, 0, 0, true));
    w.i64(papers.size());
    for (const PaperSize &paper : papers)
        writePaper(w, paper);
    writeFile(settingsPath(), w.bytes());

    TargetSettings s;
    ASSERT_EQ(UserSettingsFile::restore(s, *m_env), UserSettingsFile::eReadOk);
    ASSERT_EQ(s.papers.size(), 8);
    for (qsizetype i = 0; i < 8; ++i) {
        EXPECT_EQ(s.papers[i], papers[i]) << i;
        EXPECT_EQ(s.papers[i].selected, i == 2) << i;
    }
    EXPECT_NE(s.papers[0], s.papers[2]) << "same name, other size: a different paper";
}

TEST_F(UserSettingsFileTest, PaperCountBelowOneRestoresFactoryList)
{
    for (qint64 count : {qint64(0), qint64(-1), std::numeric_limits<qint64>::min()}) {
        ByteWriter w = defaultsPrefix();
        w.i64(count);
        TargetSettings s;
        s.papers = {PaperSize(QStringLiteral("Only"), 1000, 1000, 0, 0, 0, 0, true)};
        ASSERT_EQ(UserSettingsFile::fromBytes(w.bytes(), s), UserSettingsFile::eReadOk) << count;
        EXPECT_EQ(s.papers, TargetSettings().factoryPapers()) << count;
    }
}

TEST_F(UserSettingsFileTest, WrongMagicIsIgnoredAndNotLogged)
{
    const TargetSettings changed = distinctiveSettings();
    QByteArray bytes = UserSettingsFile::toBytes(changed);
    bytes[3] = char(bytes[3] ^ 0x01);
    writeFile(settingsPath(), bytes);

    TargetSettings s;
    EXPECT_EQ(UserSettingsFile::restore(s, *m_env), UserSettingsFile::eReadForeign);
    expectStoredFieldsEqual(s, TargetSettings());
    EXPECT_FALSE(QFile::exists(errorLogPath()));

    // Little-endian magic is a foreign file too.
    QByteArray swapped = UserSettingsFile::toBytes(changed);
    std::swap(swapped[0], swapped[3]);
    std::swap(swapped[1], swapped[2]);
    EXPECT_EQ(UserSettingsFile::fromBytes(swapped, s), UserSettingsFile::eReadForeign);
    expectStoredFieldsEqual(s, TargetSettings());
}

TEST_F(UserSettingsFileTest, NoFileKeepsDefaultsSilently)
{
    TargetSettings s;
    EXPECT_EQ(UserSettingsFile::restore(s, *m_env), UserSettingsFile::eReadNoFile);
    expectStoredFieldsEqual(s, TargetSettings());
    EXPECT_FALSE(QDir(m_env->appDataFolder() + QStringLiteral("/Log")).exists());
}

TEST_F(UserSettingsFileTest, EveryTruncationFailsAndKeepsTheRecord)
{
    const QByteArray full = UserSettingsFile::toBytes(distinctiveSettings());
    for (qsizetype length = 4; length < full.size(); ++length) {
        TargetSettings s;
        ASSERT_EQ(UserSettingsFile::fromBytes(full.left(length), s), UserSettingsFile::eReadFailed)
            << "length " << length;
        expectStoredFieldsEqual(s, TargetSettings());
        if (::testing::Test::HasFailure())
            break;
    }
    for (qsizetype length = 0; length < 4; ++length) {
        TargetSettings s;
        EXPECT_EQ(UserSettingsFile::fromBytes(full.left(length), s), UserSettingsFile::eReadForeign);
    }
}

TEST_F(UserSettingsFileTest, TruncatedFileIsLoggedAsReadError)
{
    const QByteArray full = UserSettingsFile::toBytes(distinctiveSettings());
    writeFile(settingsPath(), full.left(full.size() / 2));
    TargetSettings s;
    EXPECT_EQ(UserSettingsFile::restore(s, *m_env), UserSettingsFile::eReadFailed);
    expectStoredFieldsEqual(s, TargetSettings());
    EXPECT_EQ(readFile(errorLogPath()).toStdString(),
              "Tue Mar 5 2024 14:07:09 - [Tessaro] Error: Cannot read user settings\n");
}

TEST_F(UserSettingsFileTest, AbsurdCountsFailCleanly)
{
    struct Case { const char *what; std::function<QByteArray()> bytes; };
    const Case cases[] = {
        {"2^40 papers", [] { return defaultsPrefix().i64(qint64(1) << 40).bytes(); }},
        {"max papers", [] { return defaultsPrefix().i64(std::numeric_limits<qint64>::max()).bytes(); }},
        {"two papers announced, one present", [] {
             ByteWriter w = defaultsPrefix();
             w.i64(2);
             writePaper(w, PaperSize(QStringLiteral("A"), 1, 2));
             return w.bytes();
         }},
        {"huge paper name", [] {
             ByteWriter w = defaultsPrefix();
             w.i64(1).value(0x7FFFFFFEu, 4).raw(QByteArray(64, 'x'));
             return w.bytes();
         }},
        {"huge printer media string", [] {
             const QByteArray d = defaultsPrefix().bytes();
             // Items 2 to 5 are fixed-size; the first string follows them.
             const int firstString = 4 + 7 * 4 + 4 * 8 + 12 + 8 + 4 + 6 * 8;
             ByteWriter w;
             w.raw(d.left(firstString)).value(0xFFFFFFF0u, 4).raw(QByteArray(100, '\0'));
             return w.bytes();
         }},
        {"odd string byte count", [] {
             ByteWriter w = defaultsPrefix();
             w.i64(1).value(3, 4).raw(QByteArray(200, 'x'));
             return w.bytes();
         }},
    };
    for (const Case &c : cases) {
        TargetSettings s;
        EXPECT_EQ(UserSettingsFile::fromBytes(c.bytes(), s), UserSettingsFile::eReadFailed) << c.what;
        expectStoredFieldsEqual(s, TargetSettings());
    }
}

TEST_F(UserSettingsFileTest, OversizedFileIsRejectedWithoutParsing)
{
    QByteArray bytes = UserSettingsFile::toBytes(distinctiveSettings());
    bytes.append(QByteArray(UserSettingsFile::MaxFileSize, '\0'));
    writeFile(settingsPath(), bytes);
    TargetSettings s;
    EXPECT_EQ(UserSettingsFile::restore(s, *m_env), UserSettingsFile::eReadFailed);
    expectStoredFieldsEqual(s, TargetSettings());
}

TEST_F(UserSettingsFileTest, SaveReplacesOlderFileWhole)
{
    writeFile(settingsPath(), QByteArray(100000, 'z'));
    const TargetSettings s;
    ASSERT_TRUE(UserSettingsFile::save(s, *m_env));
    EXPECT_EQ(readFile(settingsPath()), UserSettingsFile::toBytes(s));
}

TEST_F(UserSettingsFileTest, FailedSaveIsLoggedAndLeavesNoHalfFile)
{
    // A folder squatting on the file name: the save cannot land.
    ASSERT_TRUE(QDir().mkpath(settingsPath()));
    EXPECT_FALSE(UserSettingsFile::save(distinctiveSettings(), *m_env));
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
    EXPECT_EQ(readFile(errorLogPath()).toStdString(),
              "Tue Mar 5 2024 14:07:09 - [Tessaro] Error: Cannot save user settings\n");
    const QStringList left = QDir(m_env->appDataFolder()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char(',')).toStdString();
}

TEST_F(UserSettingsFileTest, SaveCreatesTheApplicationDataFolder)
{
    EXPECT_FALSE(QDir(m_env->appDataFolder()).exists());
    ASSERT_TRUE(UserSettingsFile::save(TargetSettings(), *m_env));
    EXPECT_TRUE(QFileInfo(settingsPath()).isFile());
}

} // namespace
