// Tests of the CxF3 reader in both flavours: object selection, identity, colour and device
// values, spot colours, number precision, the application's custom resources, and
// malformed, truncated, binary and oversized input.
#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>

namespace
{
namespace fs = std::filesystem;

std::string Fixture(const char* name) { return std::string(VANTREL_TEST_DATA_DIR) + "/reference/cxf/" + name; }

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-cxf-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        if (!path.empty())
            fs::remove_all(path, ec);
    }
    std::string Write(const std::string& name, const std::string& content) const
    {
        const std::string file = (fs::path(path) / name).string();
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }
    std::string path;
};

const char* FlavourName(const testing::TestParamInfo<ReferenceFlavour>& info)
{
    return info.param == ReferenceFlavour::Application ? "Application" : "ReportLibrary";
}

std::array<double, 3> SolidLab(int channel)
{
    double cmyk[4] = {0, 0, 0, 0};
    cmyk[channel] = 100.0;
    double lab[3] = {0, 0, 0};
    EXPECT_TRUE(ColorUtil::CMYKtoLab(cmyk, lab));
    return {lab[0], lab[1], lab[2]};
}

void ExpectLab(const LabTriple& t, double L, double a, double b)
{
    EXPECT_DOUBLE_EQ(t.L, L);
    EXPECT_DOUBLE_EQ(t.a, a);
    EXPECT_DOUBLE_EQ(t.b, b);
}

class CxfReader : public testing::TestWithParam<ReferenceFlavour>
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()))
            << ColorUtil::LastError();
    }

    bool App() const { return GetParam() == ReferenceFlavour::Application; }
    // Value as the flavour stores a colour or device number: single precision in the application.
    double Stored(double v) const { return App() ? static_cast<double>(static_cast<float>(v)) : v; }

    std::unique_ptr<ReferenceFileData> Load(const std::string& path, const char* layout = nullptr, bool expect = true)
    {
        auto file = std::make_unique<ReferenceFileData>(GetParam());
        EXPECT_EQ(file->loadCXFFileData(path.c_str(), layout), expect) << path;
        return file;
    }
};

TEST_P(CxfReader, AcceptsObjectsByTypeAndNumbersThemInOrder)
{
    auto file = Load(Fixture("identity.cxf"));
    // TargetPatch counts only in the report library; the untyped object never.
    const std::vector<std::string> names = App() ? std::vector<std::string>{"A1", "A2", "A3"}
                                                 : std::vector<std::string>{"A1", "A2", "A3", "P4"};
    ASSERT_EQ(file->GetSetCount(), static_cast<int>(names.size()));
    for (int i = 0; i < file->GetSetCount(); ++i) {
        const ReferenceFileSet* set = file->GetSet(i);
        EXPECT_EQ(set->GetOldIndex(), i + 1);
        EXPECT_EQ(set->GetIdxInFile(), i);
        EXPECT_STREQ(set->GetOldName(), names[i].c_str());
        EXPECT_FALSE(set->IsVerification());
        EXPECT_EQ(set->GetPage(), -1);
        EXPECT_EQ(set->GetLoc_x(), -1);
    }
    EXPECT_STREQ(file->originator, "Vantrel test suite");
    EXPECT_STREQ(file->created, "2024-05-17T10:20:30");
    EXPECT_STREQ(file->descriptor, "Identity & Lab cases");
    EXPECT_EQ(file->lgoRowLength, 1);
    EXPECT_TRUE(file->hasLab);
    EXPECT_FALSE(file->isRGB || file->isCMYK || file->hasXYZ || file->hasGray);
    EXPECT_FALSE(file->hasSampleID || file->hasSampleName || file->hasLocation || file->hasPage);
    EXPECT_TRUE(file->headerLines.empty());
}

TEST_P(CxfReader, ReadsLabComponentsInEitherCaseAndKeepsIncompleteLabUnset)
{
    auto file = Load(Fixture("identity.cxf"));
    ASSERT_GE(file->GetSetCount(), 3);
    for (int i : {0, 1}) {
        const double* lab = file->GetSet(i)->GetValuesLAB();
        EXPECT_DOUBLE_EQ(lab[0], 50.0);
        EXPECT_EQ(lab[1], Stored(0.1)) << "set " << i;
        EXPECT_DOUBLE_EQ(lab[2], -20.0);
    }
    // Single precision in the application, double in the report library.
    EXPECT_EQ(file->GetSet(0)->GetValuesLAB()[1] == 0.1, !App());
    const double* missingB = file->GetSet(2)->GetValuesLAB();
    EXPECT_EQ(missingB[0], 255.0);
    EXPECT_EQ(missingB[1], 255.0);
    EXPECT_EQ(missingB[2], 255.0);
}

TEST_P(CxfReader, SplitsSpectraAtSingleBlanks)
{
    auto file = Load(Fixture("spectrum.cxf"));
    ASSERT_EQ(file->GetSetCount(), 4);
    struct Case {
        int set;
        std::vector<double> report;
        std::vector<double> application;
    };
    const Case cases[] = {
        {0, {1, 2}, {1, 2, 3}},                  // the report library drops the last piece
        {1, {1, 2, 3}, {1, 2, 3, 0}},            // trailing blank: an empty last piece
        {2, {0.5, 0, 0, 0.25}, {0.5, 0, 0, 0.25, 0}},   // empty and non-number pieces read 0
    };
    for (const Case& c : cases) {
        const std::vector<double>& expected = App() ? c.application : c.report;
        const double* spectrum = file->GetSet(c.set)->GetValuesSpectral();
        for (int i = 0; i < ReferenceFileSet::kMaxSpectral; ++i) {
            const double want = i < static_cast<int>(expected.size()) ? expected[i] : 0.0;
            EXPECT_EQ(spectrum[i], want) << "set " << c.set << " slot " << i;
        }
    }
    // 45 values: only what the set holds is stored.
    const ReferenceFileSet* longSet = file->GetSet(3);
    const int held = App() ? 41 : 36;
    EXPECT_EQ(longSet->SpectralCount(), held);
    for (int i = 0; i < ReferenceFileSet::kMaxSpectral; ++i)
        EXPECT_EQ(longSet->GetValuesSpectral()[i], i < held ? i + 1.0 : 0.0) << "slot " << i;
}

TEST_P(CxfReader, FirstObjectNamesTheChannelsAndPlusNWinsOverCMYK)
{
    auto file = Load(Fixture("spotnames.cxf"));
    ASSERT_EQ(file->GetSetCount(), 2);
    EXPECT_TRUE(file->isCMYK);
    ASSERT_EQ(file->extraChannelCount, 2);
    EXPECT_EQ(file->channelNames[0].value_or(""), "Orange");
    EXPECT_EQ(file->channelNames[1].value_or(""), "Green");
    EXPECT_FALSE(file->channelNames[2].has_value());

    const ReferenceFileSet* first = file->GetSet(0);
    EXPECT_EQ(first->GetValuesNColor()[0], 50.0);
    EXPECT_EQ(first->GetValuesNColor()[1], 60.0);
    EXPECT_EQ(first->GetColors8Bit()[4], static_cast<uint8_t>(50 * 2.55 + 0.5));   // after C, M, Y, K

    const ReferenceFileSet* second = file->GetSet(1);
    const double cmyk[4] = {1, 2, 3, 4};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(second->GetValuesCMYK()[i], cmyk[i]) << i;
    EXPECT_EQ(second->GetValuesNColor()[0], 70.0);
    EXPECT_EQ(second->GetValuesNColor()[1], 80.0);
}

TEST_P(CxfReader, LimitsSpotColoursToTwelveWithDistinctGeneratedNames)
{
    auto file = Load(Fixture("spots14.cxf"));
    ASSERT_EQ(file->GetSetCount(), 1);
    EXPECT_FALSE(file->isCMYK);   // "cc:ColorCustom" raises no flag
    ASSERT_EQ(file->extraChannelCount, 12);
    const ReferenceFileSet* set = file->GetSet(0);
    for (int k = 0; k < 12; ++k) {
        const std::string expected = (k == 2 || k == 3) ? "Spot " + std::to_string(k + 1) : "Ink" + std::to_string(k + 1);
        EXPECT_EQ(file->channelNames[k].value_or("<none>"), expected);
        EXPECT_EQ(set->GetValuesNColor()[k], k == 4 ? 0.0 : k + 1.0) << "channel " << k;
        // Without CMYK the extra channels start the device arrays.
        EXPECT_EQ(set->GetColors8Bit()[k], static_cast<uint8_t>((k == 4 ? 0.0 : k + 1.0) * 2.55 + 0.5));
    }
}

TEST_P(CxfReader, StoresDensitiesInTheRGBSlots)
{
    auto file = Load(Fixture("density.cxf"));
    ASSERT_EQ(file->GetSetCount(), 2);
    EXPECT_TRUE(file->isRGB);
    EXPECT_TRUE(file->hasXYZ);
    const double* rgb = file->GetSet(0)->GetValuesRGB();
    EXPECT_EQ(rgb[0], Stored(1.2));
    EXPECT_EQ(rgb[1], Stored(0.8));
    EXPECT_EQ(rgb[2], Stored(0.5));
    EXPECT_EQ(file->GetSet(0)->GetValuesXYZ()[1], Stored(21.3));
    // Without D_VIS the densities are not used.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(IsUnset(file->GetSet(1)->GetValuesRGB()[i]));

    // Only the application computes Lab after the load (RGB wins over XYZ).
    EXPECT_EQ(file->hasLab, App());
    const double* lab = file->GetSet(0)->GetValuesLAB();
    if (App()) {
        double expected[3];
        ASSERT_TRUE(ColorUtil::RGBtoLab(rgb, expected));
        EXPECT_DOUBLE_EQ(lab[0], expected[0]);
        EXPECT_EQ(file->GetSet(1)->GetValuesLAB()[0], 255.0);   // nothing to convert
    } else {
        EXPECT_EQ(lab[0], 255.0);
    }
}

TEST_P(CxfReader, RootNameMattersOnlyToTheApplication)
{
    auto file = Load(Fixture("otherroot.cxf"), nullptr, !App());
    EXPECT_EQ(file->GetSetCount(), App() ? 0 : 4);
}

TEST_P(CxfReader, CommentBeforeTheRootHidesEveryElementFromTheReportLibrary)
{
    std::string text = ReadText(Fixture("identity.cxf"));
    text.insert(text.find("<cc:CxF"), "<!-- made by hand -->\n");
    TempDir dir;
    auto file = Load(dir.Write("comment.cxf", text));
    EXPECT_EQ(file->GetSetCount(), App() ? 3 : 0);
    EXPECT_STREQ(file->originator, App() ? "Vantrel test suite" : "");
}

TEST_P(CxfReader, ReportLibraryCleansTheTextAroundTheDocument)
{
    const std::string original = ReadText(Fixture("identity.cxf"));
    std::string withDeclaration = original;
    withDeclaration.insert(withDeclaration.find("<cc:CxF"), "<?vantrel note?>\n");
    const std::string texts[] = {
        "leading junk\n" + withDeclaration + "\ntrailing junk without markup",
        "leading junk " + original.substr(original.find("<cc:CxF")),
        original + "trailing text",
    };
    TempDir dir;
    for (const std::string& text : texts) {
        auto file = Load(dir.Write("junk.cxf", text), nullptr, !App());
        EXPECT_EQ(file->GetSetCount(), App() ? 0 : 4);
    }
}

TEST_P(CxfReader, RejectsUnreadableAndMalformedFiles)
{
    TempDir dir;
    std::mt19937 random(20240517u);
    std::string binary(4096, '\0');
    for (char& c : binary)
        c = static_cast<char>(random() & 0xFF);
    std::string withNul = ReadText(Fixture("identity.cxf"));
    withNul.insert(withNul.find("</cc:Resources>"), std::string("\0", 1));

    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"blank", "   \n\t"},
        {"no markup", "SAMPLE_ID SAMPLE_NAME\n1 A1\n"},
        {"unclosed", "<cc:CxF><cc:Resources><cc:ObjectCollection>"},
        {"mismatched", "<cc:CxF><cc:Resources></cc:CxF></cc:Resources>"},
        {"binary", binary},
        {"embedded NUL", withNul},
        {"declaration only", "<?xml version=\"1.0\"?>\n"},
    };
    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        auto file = Load(dir.Write("bad.cxf", content), nullptr, false);
        EXPECT_EQ(file->GetSetCount(), 0);
    }
    auto missing = Load((fs::path(dir.path) / "missing.cxf").string(), nullptr, false);
    EXPECT_EQ(missing->GetSetCount(), 0);
    auto null = std::make_unique<ReferenceFileData>(GetParam());
    EXPECT_FALSE(null->loadCXFFileData(nullptr, nullptr));
}

TEST_P(CxfReader, EveryTruncationOfAFileFails)
{
    const std::string text = ReadText(Fixture("identity.cxf"));
    const std::size_t complete = text.rfind('>') + 1;
    TempDir dir;
    for (std::size_t n = 0; n < complete; ++n) {
        auto file = std::make_unique<ReferenceFileData>(GetParam());
        const std::string path = dir.Write("cut.cxf", text.substr(0, n));
        ASSERT_FALSE(file->loadCXFFileData(path.c_str(), nullptr)) << "cut at " << n;
        ASSERT_EQ(file->GetSetCount(), 0);
    }
    auto whole = Load(dir.Write("cut.cxf", text.substr(0, complete)));
    EXPECT_EQ(whole->GetSetCount(), App() ? 3 : 4);
}

TEST_P(CxfReader, CutsLongTextsToTheirCapacity)
{
    const std::string longText(5000, 'x');
    const std::string xml = "<cc:CxF><cc:FileInformation><cc:Creator>" + longText + "</cc:Creator><cc:CreationDate>"
                            + longText + "</cc:CreationDate></cc:FileInformation><cc:Resources><cc:ObjectCollection>"
                            + "<cc:Object ObjectType=\"Target\" Id=\"" + longText + "\"/>"
                            + "</cc:ObjectCollection></cc:Resources></cc:CxF>";
    TempDir dir;
    auto file = Load(dir.Write("long.cxf", xml));
    ASSERT_EQ(file->GetSetCount(), 1);
    EXPECT_EQ(std::string(file->originator), longText.substr(0, ReferenceFileData::kTextCapacity - 1));
    EXPECT_EQ(std::string(file->created), longText.substr(0, ReferenceFileData::kCreatedCapacity - 1));
    EXPECT_EQ(std::string(file->GetSet(0)->GetOldName()), longText.substr(0, ReferenceFileSet::kNameCapacity - 1));
}

TEST_P(CxfReader, HandlesHugeCountsWithinTheModelsBounds)
{
    constexpr int kSpots = 100000;
    constexpr int kObjects = 20000;
    std::ostringstream xml;
    xml << "<cc:CxF><cc:Resources><cc:ObjectCollection><cc:Object ObjectType=\"Target\" Id=\"big\">"
        << "<cc:ColorValues><cc:ReflectanceSpectrum>";
    for (int i = 0; i < kSpots; ++i)
        xml << (i + 1) << ' ';
    xml << "</cc:ReflectanceSpectrum></cc:ColorValues><cc:DeviceColorValues><cc:ColorCustom>";
    for (int i = 0; i < kSpots; ++i)
        xml << "<cc:SpotColor><cc:Percentage>" << (i % 100) << "</cc:Percentage></cc:SpotColor>";
    xml << "</cc:ColorCustom></cc:DeviceColorValues></cc:Object>";
    for (int i = 0; i < kObjects; ++i)
        xml << "<cc:Object ObjectType=\"Target\"/>";
    xml << "</cc:ObjectCollection></cc:Resources></cc:CxF>";

    TempDir dir;
    auto file = Load(dir.Write("huge.cxf", xml.str()));
    ASSERT_EQ(file->GetSetCount(), kObjects + 1);
    EXPECT_EQ(file->extraChannelCount, 12);
    EXPECT_EQ(file->channelNames[11].value_or(""), "Spot 12");
    const ReferenceFileSet* big = file->GetSet(0);
    EXPECT_EQ(big->GetValuesNColor()[11], 11.0);
    const int held = App() ? 41 : 36;
    EXPECT_EQ(big->GetValuesSpectral()[held - 1], static_cast<double>(held));
    EXPECT_EQ(file->GetSet(kObjects)->GetOldIndex(), kObjects + 1);
}

INSTANTIATE_TEST_SUITE_P(BothFlavours, CxfReader,
                         testing::Values(ReferenceFlavour::ReportLibrary, ReferenceFlavour::Application), FlavourName);

// Flavour-specific rules.
class CxfReaderRules : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()))
            << ColorUtil::LastError();
    }
};

TEST_F(CxfReaderRules, ReportLibraryPicksTheSetTypeByLayoutName)
{
    struct Case {
        const char* layout;
        bool quorvane;
    };
    const Case cases[] = {
        {"QUORVANE - Horizontal (default)", true},
        {"QUORVANE", true},
        {"MonacoPROFILER", false},
        {nullptr, false},
        {"Quorvane - Horizontal (default)", false},   // exact case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout ? c.layout : "(null)");
        ReferenceFileData file(ReferenceFlavour::ReportLibrary);
        ASSERT_TRUE(file.loadCXFFileData(Fixture("spectrum.cxf").c_str(), c.layout));
        ASSERT_EQ(file.GetSetCount(), 4);
        const ReferenceFileSet* set = file.GetSet(3);
        EXPECT_EQ(dynamic_cast<const QuorvaneReferenceFileSet*>(set) != nullptr, c.quorvane);
        const int held = c.quorvane ? 41 : 36;
        EXPECT_EQ(set->SpectralCount(), held);
        EXPECT_EQ(set->GetValuesSpectral()[held - 1], static_cast<double>(held));
        if (!c.quorvane) {
            EXPECT_EQ(set->GetValuesSpectral()[36], 0.0);
        }
    }
}

TEST_F(CxfReaderRules, ApplicationComputesSolidsAndLabOfACMYKFile)
{
    ReferenceFileData app(ReferenceFlavour::Application);
    ASSERT_TRUE(app.loadCXFFileData(Fixture("nocustom.cxf").c_str(), nullptr));
    ASSERT_EQ(app.colorantLab.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const auto solid = SolidLab(i);
        ExpectLab(app.colorantLab[i], solid[0], solid[1], solid[2]);
    }
    ASSERT_EQ(app.GetSetCount(), 1);
    EXPECT_TRUE(app.hasLab);
    double expected[3];
    ASSERT_TRUE(ColorUtil::CMYKtoLab(app.GetSet(0)->GetValuesCMYK(), expected));
    EXPECT_DOUBLE_EQ(app.GetSet(0)->GetValuesLAB()[0], expected[0]);

    // The report library leaves Lab as read and fills the primaries only with extra inks.
    ReferenceFileData report(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(report.loadCXFFileData(Fixture("nocustom.cxf").c_str(), nullptr));
    EXPECT_TRUE(report.colorantLab.empty());
    EXPECT_FALSE(report.hasLab);
    EXPECT_EQ(report.GetSet(0)->GetValuesLAB()[0], 255.0);
}

TEST_F(CxfReaderRules, ApplicationTakesChannelColoursFromPrismAttributes)
{
    ReferenceFileData file(ReferenceFlavour::Application);
    ASSERT_TRUE(file.loadCXFFileData(Fixture("prism.cxf").c_str(), nullptr));
    ASSERT_EQ(file.extraChannelCount, 2);
    EXPECT_EQ(file.channelNames[0].value_or(""), "Tangerine");
    ASSERT_TRUE(file.channelLab[0].has_value());
    ExpectLab(*file.channelLab[0], 70, 40, 80);
    // "Short|1" has fewer than four parts and changes nothing.
    EXPECT_EQ(file.channelNames[1].value_or(""), "Green");
    EXPECT_FALSE(file.channelLab[1].has_value());
    ASSERT_EQ(file.colorantLab.size(), 5u);
    ExpectLab(file.colorantLab[4], 70, 40, 80);

    // The report library reads no custom resources.
    ReferenceFileData report(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(report.loadCXFFileData(Fixture("prism.cxf").c_str(), nullptr));
    EXPECT_EQ(report.channelNames[0].value_or(""), "Orange");
    EXPECT_FALSE(report.channelLab[0].has_value());
}

TEST_F(CxfReaderRules, ApplicationTakesChannelColoursFromChannelInfoElements)
{
    ReferenceFileData file(ReferenceFlavour::Application);
    ASSERT_TRUE(file.loadCXFFileData(Fixture("channels.cxf").c_str(), nullptr));
    ASSERT_EQ(file.colorantLab.size(), 6u);
    ExpectLab(file.colorantLab[0], 55, -30, -45);   // replaces the computed cyan solid
    for (int i = 1; i < 4; ++i) {
        const auto solid = SolidLab(i);
        ExpectLab(file.colorantLab[i], solid[0], solid[1], solid[2]);
    }
    // "Broken" lacks b and is skipped without taking a channel; "Pantone" is channel 0.
    EXPECT_EQ(file.channelNames[0].value_or(""), "Pantone");
    ASSERT_TRUE(file.channelLab[0].has_value());
    ExpectLab(*file.channelLab[0], 65.5, 10.1, 20);   // double precision
    EXPECT_EQ(file.channelLab[0]->a, 10.1);
    ExpectLab(file.colorantLab[4], 65.5, 10.1, 20);
    EXPECT_EQ(file.channelNames[1].value_or(""), "Green");
    ExpectLab(file.colorantLab[5], 60, -60, 30.5);
}

TEST_F(CxfReaderRules, ChannelInfoWithoutColorantEntriesStaysWithinBounds)
{
    std::ostringstream xml;
    xml << "<cc:CxF><cc:Resources><cc:ObjectCollection><cc:Object ObjectType=\"Target\"><cc:DeviceColorValues>"
        << "<cc:ColorCustom><cc:SpotColor><cc:Name>Ink</cc:Name><cc:Percentage>40</cc:Percentage></cc:SpotColor>"
        << "</cc:ColorCustom></cc:DeviceColorValues></cc:Object></cc:ObjectCollection></cc:Resources>"
        << "<cc:CustomResources><bb:ChannelInfo><bb:Channel name=\"Cyan\" L=\"1\" a=\"2\" b=\"3\"/>";
    for (int m = 0; m < 14; ++m)
        xml << "<bb:Channel index=\"" << m << "\" name=\"X" << m << "\" L=\"" << m << "\" a=\"0\" b=\"0\"/>";
    xml << "</bb:ChannelInfo></cc:CustomResources></cc:CxF>";
    TempDir dir;
    const std::string path = dir.Write("bounds.cxf", xml.str());

    ReferenceFileData file(ReferenceFlavour::Application);
    ASSERT_TRUE(file.loadCXFFileData(path.c_str(), nullptr));
    EXPECT_FALSE(file.isCMYK);
    EXPECT_EQ(file.extraChannelCount, 1);
    // No primaries in a file without CMYK: Cyan has nothing to replace. The extra
    // channels take the positions from 0 on, twelve at most.
    ASSERT_EQ(file.colorantLab.size(), 12u);
    for (int m = 0; m < 12; ++m) {
        EXPECT_EQ(file.channelNames[m].value_or(""), "X" + std::to_string(m));
        EXPECT_EQ(file.colorantLab[m].L, m);
    }
}

TEST_F(CxfReaderRules, ApplicationJoinsTextPiecesAndRepairsUtf8)
{
    // The application reads all text below an element; the report library only its first
    // text node. Invalid UTF-8 is repaired instead of failing the load.
    const std::string xml = "<cc:CxF><cc:FileInformation><cc:Creator>Ma<!-- c -->ker \xC3\x28</cc:Creator>"
                            "</cc:FileInformation></cc:CxF>";
    TempDir dir;
    const std::string path = dir.Write("texts.cxf", xml);
    ReferenceFileData app(ReferenceFlavour::Application);
    ASSERT_TRUE(app.loadCXFFileData(path.c_str(), nullptr));
    EXPECT_STREQ(app.originator, "Maker \xEF\xBF\xBD(");
    ReferenceFileData report(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(report.loadCXFFileData(path.c_str(), nullptr));
    EXPECT_STREQ(report.originator, "Ma");
}
}   // namespace
