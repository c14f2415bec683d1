// The XML target definition: element order, number formats, escaping and the
// all-or-nothing write.
#include "TargetDefinitionWriter.h"
#include "TargetSettings.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// Every element of the definition for the default record and 321 patches.
const Entries kDefaults = {
    {"patchesX", "45"}, {"patchesY", "33"}, {"desiredPatchesX", "0"}, {"desiredPatchesY", "0"},
    {"numberOfPatches", "321"}, {"targetSize.x", "220000"}, {"targetSize.y", "170000"},
    {"pageSize.x", "297000"}, {"pageSize.y", "210000"}, {"autopositioning", "1"},
    {"deviceVestra", "1"}, {"deviceVestrazq", "0"}, {"devicePendra", "0"}, {"deviceDesk", "0"},
    {"devicePrinton", "0"}, {"useRGB", "1"}, {"useCMYK", "0"}, {"useNColor", "0"},
    {"aperture2mm", "0"}, {"aperture6mm", "0"}, {"aperture8mm", "1"},
    {"scaleFactor", "0.001000"}, {"numberOfPages", "1"}, {"patchMarginX", "500.000000"},
    {"patchMarginY", "500.000000"}, {"patchSizeX", "5500.000000"}, {"patchSizeY", "5500.000000"},
    {"minPatchSizeX", "5500.000000"}, {"minPatchSizeY", "5500.000000"}, {"printerMedia", ""},
    {"targetVersion", ""}, {"manualPosVestra", "1"}, {"manualPosPendra", "0"},
    {"startingLinesTintoraDesk", "0"}, {"blackWhiteSeparators", "0"},
    {"autopositioningBorders", "0"}, {"showLeftHeader", "1"}, {"showReferenceArea", "1"},
    {"showRightHeader", "0"}, {"invertHorizontal", "0"}, {"invertVertical", "0"},
    {"borderLeft", "0.000000"}, {"borderRight", "0.000000"}, {"borderTop", "0.000000"},
    {"borderBottom", "0.000000"}, {"rowByRow", "1"}, {"fillPage", "1"},
    {"referenceFile", "References/"}, {"previewFile", "Previews/"}, {"advancedMode", "0"},
    {"useReferenceID", "1"}, {"useReferenceName", "0"}, {"random", "0"},
    {"verificationPatches", "0"}, {"comment", ""},
};

// Parses a written definition into its (element, text) pairs; fails on any other structure.
Entries parse(const QByteArray &xml)
{
    QDomDocument doc;
    QString error;
    int line = 0;
    EXPECT_TRUE(doc.setContent(xml, &error, &line)) << error.toStdString() << " line " << line;
    const QDomElement root = doc.documentElement();
    EXPECT_EQ(root.tagName().toStdString(), "settings");
    EXPECT_EQ(doc.childNodes().size(), 1) << "single root, no declaration";
    Entries entries;
    for (QDomNode n = root.firstChild(); !n.isNull(); n = n.nextSibling()) {
        EXPECT_TRUE(n.isElement());
        const QDomElement e = n.toElement();
        EXPECT_LE(e.childNodes().size(), 1) << e.tagName().toStdString();
        if (e.hasChildNodes()) {
            EXPECT_TRUE(e.firstChild().isText()) << e.tagName().toStdString();
        }
        entries.emplace_back(e.tagName().toStdString(), e.text().toStdString());
    }
    return entries;
}

std::string valueOf(const Entries &entries, const std::string &key)
{
    for (const auto &entry : entries)
        if (entry.first == key)
            return entry.second;
    ADD_FAILURE() << "no element " << key;
    return {};
}

class TargetDefinitionTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
};

TEST_F(TargetDefinitionTest, DefaultsGiveTheFiftyFiveElementsInOrder)
{
    const TargetSettings s;
    const QString file = path(QStringLiteral("T.xml"));
    ASSERT_TRUE(s.writeTargetDefinition(file, 321));
    const Entries entries = parse(readFile(file));
    ASSERT_EQ(kDefaults.size(), 55u);
    EXPECT_EQ(entries, kDefaults);
}

TEST_F(TargetDefinitionTest, SerialisedWithoutDeclarationAndOneSpaceIndent)
{
    const QByteArray xml = TargetDefinitionWriter::toXml(TargetSettings(), 7);
    EXPECT_TRUE(xml.startsWith("<settings>\n <patchesX>45</patchesX>\n <patchesY>33</patchesY>\n"))
        << xml.left(80).toStdString();
    EXPECT_TRUE(xml.endsWith(" <comment></comment>\n</settings>\n")) << xml.right(60).toStdString();
    EXPECT_TRUE(xml.contains("\n <numberOfPatches>7</numberOfPatches>\n"));
}

TEST_F(TargetDefinitionTest, NumberFormats)
{
    TargetSettings s;
    s.targetSize = QSizeF(1234567, 0.5);
    s.pageSize = QSizeF(305000, 1e-7);
    s.borderLeft = 1234567;
    s.borderRight = 0.1234567;
    s.borderTop = -2.5;
    s.scaleFactor = 0.0123456789;
    s.patchMarginX = 1000;
    s.patchesX = -1;
    s.numberOfPages = 12;
    const Entries e = parse(TargetDefinitionWriter::toXml(s, 1485));
    const Entries expected = {
        {"targetSize.x", "1.23457e+06"}, {"targetSize.y", "0.5"}, {"pageSize.x", "305000"},
        {"pageSize.y", "1e-07"}, {"borderLeft", "1234567.000000"}, {"borderRight", "0.123457"},
        {"borderTop", "-2.500000"}, {"scaleFactor", "0.012346"}, {"patchMarginX", "1000.000000"},
        {"patchesX", "-1"}, {"numberOfPages", "12"}, {"numberOfPatches", "1485"},
    };
    for (const auto &[key, value] : expected)
        EXPECT_EQ(valueOf(e, key), value) << key;
}

TEST_F(TargetDefinitionTest, NumberOfPatchesComesFromTheCaller)
{
    TargetSettings s;
    s.patchCount = 999;
    EXPECT_EQ(valueOf(parse(TargetDefinitionWriter::toXml(s, 42)), "numberOfPatches"), "42");
}

TEST_F(TargetDefinitionTest, FlagsAreWrittenAsZeroOrOne)
{
    TargetSettings s;
    s.deviceVestra = false;
    s.devicePendra = true;
    s.autopositioningBorders = true;
    s.verificationPatches = true;
    s.random = true;
    const Entries e = parse(TargetDefinitionWriter::toXml(s, 1));
    EXPECT_EQ(valueOf(e, "deviceVestra"), "0");
    EXPECT_EQ(valueOf(e, "devicePendra"), "1");
    EXPECT_EQ(valueOf(e, "autopositioningBorders"), "1");
    EXPECT_EQ(valueOf(e, "verificationPatches"), "1");
    EXPECT_EQ(valueOf(e, "random"), "1");
}

TEST_F(TargetDefinitionTest, TextsAreEscapedByTheDom)
{
    TargetSettings s;
    s.targetName = QStringLiteral("A&B<C");
    s.printerMedia = QStringLiteral("Press & <Media>");
    s.targetVersion = QStringLiteral("v1 \"quoted\" 'x'");
    s.comment = QString::fromUtf8("if a < b && c > d\nGr\u00fc\u00dfe </settings>");
    const QString file = path(s.targetName + QStringLiteral(".xml"));
    ASSERT_TRUE(s.writeTargetDefinition(file, 5));
    const QByteArray raw = readFile(file);
    EXPECT_TRUE(raw.contains("<printerMedia>Press &amp; &lt;Media></printerMedia>")
                || raw.contains("<printerMedia>Press &amp; &lt;Media&gt;</printerMedia>"))
        << raw.toStdString();
    EXPECT_FALSE(raw.contains("< b")) << "a raw '<' would break the document";
    EXPECT_TRUE(raw.contains("Gr\xc3\xbc\xc3\x9f" "e")) << "UTF-8 text";
    const Entries e = parse(raw);
    EXPECT_EQ(valueOf(e, "printerMedia"), s.printerMedia.toStdString());
    EXPECT_EQ(valueOf(e, "targetVersion"), s.targetVersion.toStdString());
    EXPECT_EQ(valueOf(e, "comment"), s.comment.toStdString());
    EXPECT_EQ(e.size(), 55u);
}

TEST_F(TargetDefinitionTest, FilesAreRelativeToTheModuleFolder)
{
    TargetSettings s;
    s.referenceFile = QStringLiteral("/home/u/refs/source.txt");
    s.referenceFileName = QStringLiteral("Chart_01.ref");
    s.previewFile = QStringLiteral("/home/u/Documents/Quorvane/Vantrel/Chart/Previews/Chart_01.bmp");
    const Entries e = parse(TargetDefinitionWriter::toXml(s, 1));
    EXPECT_EQ(valueOf(e, "referenceFile"), "References/Chart_01.ref");
    EXPECT_EQ(valueOf(e, "previewFile"), "Previews/Chart_01.bmp");
}

TEST_F(TargetDefinitionTest, UnwrittenFieldsDoNotAppear)
{
    TargetSettings s;
    s.targetName = QStringLiteral("NAME-MARK");
    s.reservedText = QStringLiteral("RESERVED-MARK");
    s.resolution = 777;
    s.papers.append(PaperSize(QStringLiteral("PAPER-MARK"), 1, 1));
    const QByteArray xml = TargetDefinitionWriter::toXml(s, 1);
    for (const char *mark : {"NAME-MARK", "RESERVED-MARK", "777", "PAPER-MARK", "targetName",
                             "unscaledText", "deviceVestrazqTextile", "optimizeTilePosition"})
        EXPECT_FALSE(xml.contains(mark)) << mark;
}

TEST_F(TargetDefinitionTest, RewriteReplacesLongerOldFile)
{
    const QString file = path(QStringLiteral("T.xml"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100000, 'x'));
    }
    const TargetSettings s;
    ASSERT_TRUE(TargetDefinitionWriter::write(s, file, 3));
    EXPECT_EQ(readFile(file), TargetDefinitionWriter::toXml(s, 3));
}

TEST_F(TargetDefinitionTest, UnwritablePathFailsWithoutLeftovers)
{
    const TargetSettings s;
    EXPECT_FALSE(s.writeTargetDefinition(path(QStringLiteral("missing/T.xml")), 1));
    const QString squatted = path(QStringLiteral("T.xml"));
    ASSERT_TRUE(QDir().mkpath(squatted));
    EXPECT_FALSE(s.writeTargetDefinition(squatted, 1));
    EXPECT_TRUE(QFileInfo(squatted).isDir());
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
