// Tests of storing channel information into a CxF3 reference: the ".temp" copy, its one
// "bb:ChannelInfo" element, one-blank indentation, the round trip through the application's
// reader, and the cases in which nothing may be written.
#include "ChannelInfoStore.h"
#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr const char* kNamespace = "http://www.vantrel.example/tessaro/channelinfo";

std::string Fixture(const char* name) { return std::string(VANTREL_TEST_DATA_DIR) + "/reference/cxf/" + name; }

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The entry text the channel colour dialog makes.
std::string Entry(const std::string& name, const char* lab) { return "\"" + name + ",Lab," + lab + "\""; }

using Attributes = std::map<std::string, std::string>;

struct StoredInfo {
    int channelInfoCount = 0;
    std::string xmlns;
    std::vector<Attributes> channels;
};

StoredInfo ReadStored(const std::string& path)
{
    StoredInfo info;
    tinyxml2::XMLDocument doc;
    EXPECT_EQ(doc.LoadFile(path.c_str()), tinyxml2::XML_SUCCESS) << path;
    const tinyxml2::XMLElement* root = doc.FirstChildElement("cc:CxF");
    const tinyxml2::XMLElement* custom = root ? root->FirstChildElement("cc:CustomResources") : nullptr;
    if (!custom) {
        ADD_FAILURE() << "no cc:CustomResources in " << path;
        return info;
    }
    for (const auto* e = custom->FirstChildElement("bb:ChannelInfo"); e; e = e->NextSiblingElement("bb:ChannelInfo")) {
        ++info.channelInfoCount;
        info.xmlns = e->Attribute("xmlns:bb") ? e->Attribute("xmlns:bb") : "";
        info.channels.clear();
        for (const auto* c = e->FirstChildElement("bb:Channel"); c; c = c->NextSiblingElement("bb:Channel")) {
            Attributes attributes;
            for (const auto* a = c->FirstAttribute(); a; a = a->Next())
                attributes[a->Name()] = a->Value();
            info.channels.push_back(attributes);
        }
    }
    return info;
}

class CxfChannelInfo : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()))
            << ColorUtil::LastError();
    }

    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-cxfinfo-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    std::string Copy(const char* fixture)
    {
        const fs::path target = dir / fixture;
        fs::copy_file(Fixture(fixture), target);
        return target.string();
    }
    std::string Write(const char* name, const std::string& content)
    {
        const fs::path target = dir / name;
        std::ofstream(target, std::ios::binary) << content;
        return target.string();
    }

    fs::path dir;
};

TEST_F(CxfChannelInfo, WritesOneChannelInfoIntoTheTempCopy)
{
    const std::string path = Copy("store.cxf");
    const std::string original = ReadText(path);
    const std::vector<std::string> entries = {Entry("Cyan", "55 -37 -50 "), Entry("Orange", "70.5 40 80 ")};
    ASSERT_TRUE(StoreChannelInfoCxf(path.c_str(), entries));

    EXPECT_EQ(ReadText(path), original) << "the reference itself stays unchanged";
    const std::string temp = path + ".temp";
    ASSERT_TRUE(fs::exists(temp));
    const StoredInfo info = ReadStored(temp);
    EXPECT_EQ(info.channelInfoCount, 1);   // the old element with "Old" is gone
    EXPECT_EQ(info.xmlns, kNamespace);
    const std::vector<Attributes> expected = {
        {{"index", "0"}, {"name", "Cyan"}, {"L", "55"}, {"a", "-37"}, {"b", "-50"}},
        {{"index", "1"}, {"name", "Orange"}, {"L", "70.5"}, {"a", "40"}, {"b", "80"}},
    };
    EXPECT_EQ(info.channels, expected);

    // One blank per level.
    const std::string text = ReadText(temp);
    EXPECT_NE(text.find("\n <cc:Resources>\n  <cc:ObjectCollection>\n   <cc:Object "), std::string::npos) << text;
    EXPECT_NE(text.find("\n  <bb:ChannelInfo "), std::string::npos) << text;
    EXPECT_NE(text.find("\n   <bb:Channel "), std::string::npos) << text;
}

TEST_F(CxfChannelInfo, RoundTripsThroughTheApplicationReader)
{
    const std::string path = Copy("store.cxf");
    const char* const inks[6] = {"Cyan", "Magenta", "Yellow", "Black", "Coral", "Jade"};
    const double expected[6][3] = {{55, -37, -50}, {48, 74, -3}, {89, -5, 93}, {16, 0, 0}, {65, 45, 35}, {60, -50, 10.25}};
    // Entries as the channel colour dialog makes them; the file's first line picks CxF3.
    std::vector<std::string> entries;
    for (int i = 0; i < 6; ++i)
        entries.push_back(ChannelInfoEntry(inks[i], expected[i]));
    ASSERT_TRUE(StoreChannelInfo(path.c_str(), entries));
    const std::string temp = path + ".temp";
    EXPECT_EQ(ReadStored(temp).channels.size(), 6u);

    ReferenceFileData file(ReferenceFlavour::Application);
    ASSERT_TRUE(file.loadCXFFileData(temp.c_str(), nullptr));
    ASSERT_EQ(file.extraChannelCount, 2);
    ASSERT_EQ(file.colorantLab.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(file.colorantLab[i].L, expected[i][0]) << i;
        EXPECT_EQ(file.colorantLab[i].a, expected[i][1]) << i;
        EXPECT_EQ(file.colorantLab[i].b, expected[i][2]) << i;
    }
    EXPECT_EQ(file.channelNames[0].value_or(""), "Coral");
    EXPECT_EQ(file.channelNames[1].value_or(""), "Jade");
    const auto names = file.GetColorantNames();
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[4], "Coral");

    // Everything else survives the rewrite: the spectrum keeps its trailing blank, so the
    // report library still reads three values.
    ReferenceFileData report(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(report.loadCXFFileData(temp.c_str(), nullptr));
    ASSERT_EQ(report.GetSetCount(), 1);
    EXPECT_STREQ(report.originator, "Vantrel test suite");
    const double* spectrum = report.GetSet(0)->GetValuesSpectral();
    EXPECT_EQ(spectrum[0], 0.5);
    EXPECT_EQ(spectrum[1], 0.25);
    EXPECT_EQ(spectrum[2], 0.125);
    EXPECT_EQ(report.GetSet(0)->GetValuesCMYK()[3], 40.0);
}

TEST_F(CxfChannelInfo, StoringTwiceLeavesOneChannelInfo)
{
    const std::string path = Copy("store.cxf");
    ASSERT_TRUE(StoreChannelInfoCxf(path.c_str(), {Entry("First", "1 2 3 "), Entry("Second", "4 5 6 ")}));
    fs::rename(path + ".temp", path);
    ASSERT_TRUE(StoreChannelInfoCxf(path.c_str(), {Entry("Third", "7 8 9 ")}));

    const StoredInfo info = ReadStored(path + ".temp");
    EXPECT_EQ(info.channelInfoCount, 1);
    ASSERT_EQ(info.channels.size(), 1u);
    EXPECT_EQ(info.channels[0].at("name"), "Third");
    EXPECT_EQ(info.channels[0].at("index"), "0");
    // The second store reparses the first one's output: indentation does not grow.
    EXPECT_EQ(ReadText(path + ".temp").find("\n  <cc:Resources>"), std::string::npos);
}

TEST_F(CxfChannelInfo, SplitsEntriesAtBlanksCommasAndQuotes)
{
    const std::string path = Copy("store.cxf");
    ASSERT_TRUE(StoreChannelInfoCxf(path.c_str(), {Entry("Light Cyan", "80 -20 -30 "), "Solo", "\"Mint,,Lab,,1\t2\n3\""}));
    const StoredInfo info = ReadStored(path + ".temp");
    ASSERT_EQ(info.channels.size(), 3u);
    // A name with a blank is split too, so the other parts shift by one.
    const Attributes lightCyan = {{"index", "0"}, {"name", "Light"}, {"L", "Lab"}, {"a", "80"}, {"b", "-20"}};
    EXPECT_EQ(info.channels[0], lightCyan);
    // Missing parts leave their attributes out.
    const Attributes solo = {{"index", "1"}, {"name", "Solo"}};
    EXPECT_EQ(info.channels[1], solo);
    const Attributes mint = {{"index", "2"}, {"name", "Mint"}, {"L", "1"}, {"a", "2"}, {"b", "3"}};
    EXPECT_EQ(info.channels[2], mint);

    // The reader skips the channel without colour, so "Mint" becomes the second channel.
    ReferenceFileData file(ReferenceFlavour::Application);
    ASSERT_TRUE(file.loadCXFFileData((path + ".temp").c_str(), nullptr));
    EXPECT_EQ(file.channelNames[0].value_or(""), "Light");
    ASSERT_TRUE(file.channelLab[0].has_value());
    EXPECT_EQ(file.channelLab[0]->L, 0.0);   // "Lab" is not a number
    EXPECT_EQ(file.channelNames[1].value_or(""), "Mint");
}

TEST_F(CxfChannelInfo, WritesNothingWhenTheFileCannotTakeChannelInfo)
{
    std::string truncated = ReadText(Fixture("store.cxf"));
    truncated.resize(truncated.size() / 2);
    std::string otherRoot = ReadText(Fixture("store.cxf"));
    otherRoot.replace(otherRoot.find("<cc:CxF "), 8, "<cc:Top ");
    otherRoot.replace(otherRoot.find("</cc:CxF>"), 9, "</cc:Top>");
    std::string binary = ReadText(Fixture("store.cxf"));
    binary[binary.find("<cc:Resources>") - 1] = '\x01';

    const std::pair<const char*, std::string> cases[] = {
        {"no custom resources", ReadText(Fixture("nocustom.cxf"))},
        {"truncated", truncated},
        {"other root", otherRoot},
        {"control character", binary},
        {"empty", ""},
    };
    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        const std::string path = Write("ref.cxf", content);
        // A copy left from an earlier store must not pass for this result.
        std::ofstream(path + ".temp") << "stale";
        EXPECT_FALSE(StoreChannelInfoCxf(path.c_str(), {Entry("Cyan", "55 -37 -50 ")}));
        EXPECT_FALSE(fs::exists(path + ".temp"));
        EXPECT_EQ(ReadText(path), content);
    }
    EXPECT_FALSE(StoreChannelInfoCxf((dir / "missing.cxf").string().c_str(), {}));
    EXPECT_FALSE(fs::exists(dir / "missing.cxf.temp"));
    EXPECT_FALSE(StoreChannelInfoCxf(nullptr, {}));
}

TEST_F(CxfChannelInfo, EmptyListLeavesAnEmptyChannelInfo)
{
    const std::string path = Copy("store.cxf");
    ASSERT_TRUE(StoreChannelInfoCxf(path.c_str(), {}));
    const StoredInfo info = ReadStored(path + ".temp");
    EXPECT_EQ(info.channelInfoCount, 1);
    EXPECT_TRUE(info.channels.empty());
}
}   // namespace
