// Tests of the CGATS.17 reference writer and of storing channel information into a CGATS
// reference: round trips through the reader for RGB, CMYK, CMYK plus spot inks and
// N-colour references, print order with filler rows, number formats, and the ".temp" copy.
#include "ReferenceTestSupport.h"

#include "ChannelInfoStore.h"
#include "ReferenceFileData.h"
#include "ReferenceWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
using referencetest::ListDir;
using referencetest::ReadBytes;
using referencetest::TempDir;
using referencetest::WriteBytes;

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new referencetest::ColorEnvironment);

std::string Cgats(const std::string& header, const std::vector<std::string>& fields, const std::vector<std::string>& rows)
{
    std::string s = "CGATS.17\n" + header;
    s += "NUMBER_OF_FIELDS " + std::to_string(fields.size()) + "\nBEGIN_DATA_FORMAT\n";
    for (std::size_t i = 0; i < fields.size(); ++i)
        s += (i ? " " : "") + fields[i];
    s += "\nEND_DATA_FORMAT\nNUMBER_OF_SETS " + std::to_string(rows.size()) + "\nBEGIN_DATA\n";
    for (const std::string& r : rows)
        s += r + "\n";
    return s + "END_DATA\n";
}

std::unique_ptr<ReferenceFileData> Load(const std::string& path)
{
    auto d = std::make_unique<ReferenceFileData>(ReferenceFlavour::Application);
    EXPECT_TRUE(d->loadReferenceFileData(nullptr, path.c_str(), false)) << path;
    return d;
}

// Field names of a written file: the line after "BEGIN_DATA_FORMAT".
std::vector<std::string> WrittenFields(const std::string& path)
{
    const std::string text = ReadBytes(path);
    const std::size_t at = text.find("BEGIN_DATA_FORMAT\n");
    if (at == std::string::npos)
        return {};
    std::stringstream line(text.substr(at + 18, text.find('\n', at + 18) - (at + 18)));
    std::vector<std::string> names;
    for (std::string name; line >> name;)
        names.push_back(name);
    return names;
}

void ExpectSameReference(const ReferenceFileData& a, const ReferenceFileData& b, const std::string& what)
{
    EXPECT_EQ(a.isRGB, b.isRGB) << what;
    EXPECT_EQ(a.isCMYK, b.isCMYK) << what;
    EXPECT_EQ(a.hasLab, b.hasLab) << what;
    ASSERT_EQ(a.extraChannelCount, b.extraChannelCount) << what;
    EXPECT_EQ(a.GetColorantNames(), b.GetColorantNames()) << what;
    ASSERT_EQ(a.colorantLab.size(), b.colorantLab.size()) << what;
    for (std::size_t i = 0; i < a.colorantLab.size(); ++i) {
        EXPECT_NEAR(a.colorantLab[i].L, b.colorantLab[i].L, 1e-4 * std::max(1.0, std::fabs(a.colorantLab[i].L))) << what;
        EXPECT_NEAR(a.colorantLab[i].a, b.colorantLab[i].a, 1e-4 * std::max(1.0, std::fabs(a.colorantLab[i].a))) << what;
        EXPECT_NEAR(a.colorantLab[i].b, b.colorantLab[i].b, 1e-4 * std::max(1.0, std::fabs(a.colorantLab[i].b))) << what;
    }
    EXPECT_STREQ(a.descriptor, b.descriptor) << what;
    ASSERT_EQ(a.GetSetCount(), b.GetSetCount()) << what;
    for (int i = 0; i < a.GetSetCount(); ++i) {
        const ReferenceFileSet* x = a.GetSet(i);
        const ReferenceFileSet* y = b.GetSet(i);
        const std::string at = what + " set " + std::to_string(i);
        EXPECT_EQ(x->GetIndex(), y->GetIndex()) << at;
        EXPECT_STREQ(x->GetName(), y->GetName()) << at;
        for (int k = 0; k < 3 && a.isRGB; ++k)
            EXPECT_DOUBLE_EQ(x->GetValuesRGB()[k], y->GetValuesRGB()[k]) << at;
        for (int k = 0; k < 4 && a.isCMYK; ++k)
            EXPECT_NEAR(x->GetValuesCMYK()[k], y->GetValuesCMYK()[k], 0.00005) << at;
        for (int k = 0; k < a.extraChannelCount; ++k)
            EXPECT_DOUBLE_EQ(x->GetValuesNColor()[k], y->GetValuesNColor()[k]) << at;
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(x->GetValuesLAB()[k], y->GetValuesLAB()[k], 0.005) << at;
    }
}

// ---------------------------------------------------------------------------------------
// Round trips

TEST(ReferenceWriter, RoundTripsEveryKindOfReference)
{
    const std::string sixHeader = "ChannelInfo0\t\"Orange,Lab,65 50 70 \"\nChannelInfo1\t\"Green,Lab,50 -60 20 \"\n"
                                  "ChannelInfo2\t\"Violet,Lab,30 40 -60 \"\nChannelInfo3\t\"Red,Lab,45 68 48 \"\n"
                                  "ChannelInfo4\t\"Blue,Lab,25 20 -70 \"\nChannelInfo5\t\"Gold,Lab,70.125 10.5 60.25 \"\n";
    const struct
    {
        const char* what;
        std::string source;
        std::vector<std::string> fields;   // expected fields of the written file
    } cases[] = {
        {"RGB",
         Cgats("DESCRIPTOR \"RGB chart\"\n", {"SAMPLE_ID", "SAMPLE_NAME", "RGB_R", "RGB_G", "RGB_B", "LAB_L", "LAB_A", "LAB_B"},
               {"1 White 255 255 255 95.5 0.25 -1.5", "2 \"Mid grey\" 127.5 127.5 127.5 53.39 0 0", "3 1A3 0 0 12 1.01 2.02 -9.87"}),
         {"SAMPLE_ID", "SAMPLE_NAME", "RGB_R", "RGB_G", "RGB_B", "LAB_L", "LAB_A", "LAB_B"}},
        {"CMYK",
         Cgats("", {"SAMPLE_ID", "SAMPLE_NAME", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K", "LAB_L", "LAB_A", "LAB_B"},
               {"1 P1 0 0 0 0 95 0 2", "2 P2 12.3456 0.5 99.9999 100 50.12 -3.45 6.78", "5 P5 33 33 33 33 40 1 1"}),
         {"SAMPLE_ID", "SAMPLE_NAME", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K", "LAB_L", "LAB_A", "LAB_B"}},
        {"CMYK + 2 spot inks", std::string(), {"SAMPLE_ID", "6CLR_1", "6CLR_2", "6CLR_3", "6CLR_4", "6CLR_5", "6CLR_6", "LAB_L", "LAB_A", "LAB_B"}},
        {"6-channel N-colour",
         Cgats(sixHeader, {"SAMPLE_ID", "SAMPLE_NAME", "6CLR_1", "6CLR_2", "6CLR_3", "6CLR_4", "6CLR_5", "6CLR_6", "LAB_L", "LAB_A", "LAB_B"},
               {"1 N1 100 0 0 0 0 0 60 50 60", "2 N2 0 0 0 0 12.5 100 55 20 30"}),
         {"SAMPLE_ID", "SAMPLE_NAME", "6CLR_1", "6CLR_2", "6CLR_3", "6CLR_4", "6CLR_5", "6CLR_6", "LAB_L", "LAB_A", "LAB_B"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string source = c.source.empty() ? dir.CopyFixture("channelinfo_cmyk2.txt") : dir.Write("source.txt", c.source);
        auto original = Load(source);
        ASSERT_GT(original->GetSetCount(), 0) << c.what;
        const std::string out = dir.File("written.ref");
        ASSERT_TRUE(WriteReferenceFile(*original, nullptr, out.c_str(), false)) << c.what;
        EXPECT_EQ(WrittenFields(out), c.fields) << c.what;
        auto back = Load(out);
        ExpectSameReference(*original, *back, c.what);
        // Writing what was read back gives the same file again.
        const std::string again = dir.File("again.ref");
        ASSERT_TRUE(WriteReferenceFile(*back, nullptr, again.c_str(), false));
        EXPECT_EQ(ReadBytes(again), ReadBytes(out)) << c.what;
        EXPECT_EQ(ListDir(dir.path()).size(), 3u) << c.what;   // no temporary files left
    }
}

TEST(ReferenceWriter, CmykFileGetsPrimaryChannelInfoAndProcessColourLines)
{
    TempDir dir;
    auto d = Load(dir.Write("cmyk.txt", Cgats("PROCESSCOLOR_ID\t\"4 Black, key\"\n", {"SAMPLE_ID", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"},
                                               {"1 100 0 0 0"})));
    const std::string out = dir.File("out.ref");
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    const std::string text = ReadBytes(out);
    const char* const primaries[] = {"Cyan", "Magenta", "Yellow", "Black"};
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(text.find("ChannelInfo" + std::to_string(i) + "\t\"" + primaries[i] + ",Lab,"), std::string::npos) << text;
    EXPECT_EQ(text.find("ChannelInfo4"), std::string::npos);
    EXPECT_NE(text.find("PROCESSCOLOR_ID\t\"4 Black, key\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("NUMBER_OF_SETS\t1\n"), std::string::npos);
    EXPECT_NE(text.find("NUMBER_OF_FIELDS\t8\n"), std::string::npos);   // Lab computed on load
    EXPECT_NE(text.find("LGOROWLENGTH\t0\n"), std::string::npos);
    EXPECT_EQ(text.rfind("CGATS.17\n", 0), 0u);
}

TEST(ReferenceWriter, FormatsCmykWithFourAndLabWithTwoDecimals)
{
    TempDir dir;
    auto d = Load(dir.Write("src.txt", Cgats("", {"SAMPLE_ID", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K", "LAB_L", "LAB_A", "LAB_B"},
                                             {"1 12.3456 0 7.25 100 50.126 -0.004 12.5"})));
    const std::string out = dir.File("out.ref");
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    const std::string text = ReadBytes(out);
    EXPECT_NE(text.find("12.3456\t0.0000\t7.2500\t100.0000\t50.13\t-0.00\t12.50\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("50.126"), std::string::npos);
}

TEST(ReferenceWriter, PatternPcAndSaveFlagsChooseFields)
{
    TempDir dir;
    auto d = Load(dir.Write("pc.txt", Cgats("PLUS_1_COLOR \"Orange|60|50|70\"\n",
                                            {"SAMPLE_ID", "PC6_1", "PC6_2", "PC6_3", "PC6_4", "PC6_5", "PC6_6", "LAB_L", "LAB_A", "LAB_B"},
                                            {"1 1 2 3 4 5 6 50 0 0"})));
    ASSERT_TRUE(d->isCMYK);
    ASSERT_EQ(d->extraChannelCount, 2);
    const std::string out = dir.File("out.ref");
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    EXPECT_EQ(WrittenFields(out), (std::vector<std::string>{"SAMPLE_ID", "PC6_1", "PC6_2", "PC6_3", "PC6_4", "PC6_5", "PC6_6",
                                                            "LAB_L", "LAB_A", "LAB_B"}));
    d->saveNColor = false;
    d->saveLab = false;
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    EXPECT_EQ(WrittenFields(out), (std::vector<std::string>{"SAMPLE_ID", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"}));
    // Header and data format agree even when the save flags and GetNumberOfFields differ.
    d->saveCMYK = false;
    d->saveNColor = true;
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    EXPECT_EQ(WrittenFields(out), (std::vector<std::string>{"SAMPLE_ID"}));
    EXPECT_NE(ReadBytes(out).find("NUMBER_OF_FIELDS\t1\n"), std::string::npos);
}

// ---------------------------------------------------------------------------------------
// Print order

TEST(ReferenceWriter, FillerRowAndIdsFromPositions)
{
    TempDir dir;
    std::vector<std::string> rows;
    for (int i = 0; i < 8; ++i) {
        const int id = i == 6 ? -1 : i + 1;
        rows.push_back(std::to_string(id) + " S" + std::to_string(i) + " 9 9 1 " + std::to_string(10 * i) + " 1 2 3");
    }
    auto d = Load(dir.Write("src.txt", Cgats("", {"SAMPLE_ID", "SAMPLE_NAME", "LOC_X", "LOC_Y", "PAGE", "CMYK_C", "CMYK_M",
                                                   "CMYK_Y", "CMYK_K"},
                                             rows)));
    ASSERT_EQ(d->GetSetCount(), 8);
    ASSERT_EQ(d->GetSet(6)->GetIndex(), -1);
    d->setSaveOptions(true, false, false, 4, 5);
    d->printOrder = {0, 1, 2, -1, 3, 4, 5, 6};

    const std::string out = dir.File("out.ref");
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    EXPECT_EQ(d->GetSetCount(), 8);   // the filler is not added to the model
    EXPECT_EQ(d->GetSet(6)->GetNewIndex(), 8);

    auto back = Load(out);
    ASSERT_EQ(back->GetSetCount(), 8);
    const ReferenceFileSet* filler = back->GetSet(3);
    EXPECT_STREQ(filler->GetName(), "1A4");
    EXPECT_EQ(filler->GetIndex(), 4);
    EXPECT_EQ(filler->GetPage(), 1);
    EXPECT_EQ(filler->GetLoc_x(), 0);
    EXPECT_EQ(filler->GetLoc_y(), 3);
    for (int k = 0; k < 4; ++k)
        EXPECT_DOUBLE_EQ(filler->GetValuesCMYK()[k], 0.0);
    EXPECT_STREQ(back->GetSet(4)->GetName(), "S3");
    EXPECT_DOUBLE_EQ(back->GetSet(4)->GetValuesCMYK()[0], 30.0);
    EXPECT_EQ(back->GetSet(7)->GetIndex(), 8);   // newID -1 at position 7
    EXPECT_STREQ(back->GetSet(7)->GetName(), "S6");

    // Fillers on the second row of a 4 x 3 page.
    d->setSaveOptions(true, false, false, 4, 3);
    d->printOrder.assign(8, -1);
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    back = Load(out);
    ASSERT_EQ(back->GetSetCount(), 8);
    EXPECT_STREQ(back->GetSet(5)->GetName(), "1B2");
    EXPECT_STREQ(back->GetSet(7)->GetName(), "1B4");
    EXPECT_EQ(back->GetSet(7)->GetLoc_x(), 1);
    EXPECT_EQ(back->GetSet(7)->GetLoc_y(), 3);
}

TEST(ReferenceWriter, FindByIndexAndRgbFiller)
{
    TempDir dir;
    auto d = Load(dir.Write("rgb.txt", Cgats("", {"SAMPLE_ID", "RGB_R", "RGB_G", "RGB_B"}, {"2 10 20 30", "1 40 50 60", "7 1 1 1"})));
    d->setSaveOptions(true, false, false, 3, 1);
    const std::string out = dir.File("out.ref");
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), true));
    auto back = Load(out);
    ASSERT_EQ(back->GetSetCount(), 3);
    EXPECT_DOUBLE_EQ(back->GetSet(0)->GetValuesRGB()[0], 40.0);   // the set with index 1
    EXPECT_DOUBLE_EQ(back->GetSet(1)->GetValuesRGB()[2], 30.0);   // index 2
    EXPECT_DOUBLE_EQ(back->GetSet(2)->GetValuesRGB()[1], 255.0);  // no index 3: white filler
    EXPECT_EQ(back->GetSet(2)->GetIndex(), 3);
}

// ---------------------------------------------------------------------------------------
// Failures and edge cases

TEST(ReferenceWriter, FailuresKeepExistingFiles)
{
    TempDir dir;
    auto d = Load(dir.Write("src.txt", Cgats("", {"SAMPLE_ID", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"}, {"1 1 2 3 4"})));
    EXPECT_FALSE(WriteReferenceFile(*d, nullptr, dir.File("missing/out.ref").c_str(), false));
    EXPECT_FALSE(WriteReferenceFile(*d, nullptr, "", false));
    EXPECT_FALSE(WriteReferenceFile(*d, nullptr, nullptr, false));

    // A reference with sets but nothing to write about them is refused.
    ReferenceFileData empty;
    empty.AppendSet(new ReferenceFileSet(&empty, 0, false));
    const std::string out = dir.Write("out.ref", "previous content\n");
    EXPECT_FALSE(WriteReferenceFile(empty, nullptr, out.c_str(), false));
    EXPECT_EQ(ReadBytes(out), "previous content\n");
    EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"out.ref", "src.txt"}));
}

TEST(ReferenceWriter, ZeroSetsAndOddNamesReadBack)
{
    TempDir dir;
    ReferenceFileData none;
    none.hasSampleID = true;
    const std::string zero = dir.File("zero.ref");
    ASSERT_TRUE(WriteReferenceFile(none, nullptr, zero.c_str(), false));
    auto back = Load(zero);
    EXPECT_EQ(back->GetSetCount(), 0);

    auto d = Load(dir.Write("names.txt", Cgats("", {"SAMPLE_ID", "SAMPLE_NAME", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"},
                                               {"1 \"\" 1 1 1 1", "2 \"#hash\" 2 2 2 2", "3 10B12 3 3 3 3", "4 \"two words\" 4 4 4 4"})));
    ASSERT_EQ(d->GetSetCount(), 4);
    const std::string out = dir.File("names.ref");
    ASSERT_TRUE(WriteReferenceFile(*d, nullptr, out.c_str(), false));
    auto names = Load(out);
    ASSERT_EQ(names->GetSetCount(), 4);
    EXPECT_STREQ(names->GetSet(0)->GetName(), "");
    EXPECT_STREQ(names->GetSet(1)->GetName(), "#hash");
    EXPECT_STREQ(names->GetSet(2)->GetName(), "10B12");
    EXPECT_STREQ(names->GetSet(3)->GetName(), "two words");
    EXPECT_DOUBLE_EQ(names->GetSet(3)->GetValuesCMYK()[3], 4.0);
}

// ---------------------------------------------------------------------------------------
// Channel information into a CGATS file

TEST(ChannelInfoStore, EntryText)
{
    const double lab[3] = {65.1234567, 50.0, -7.5};
    EXPECT_EQ(ChannelInfoEntry("Orange", lab), "\"Orange,Lab,65.1235 50 -7.5 \"");
    const double tiny[3] = {0.000012345, 123456789.0, 0.0};
    EXPECT_EQ(ChannelInfoEntry("X", tiny), "\"X,Lab,1.2345e-05 1.23457e+08 0 \"");
}

TEST(ChannelInfoStore, StoringTwiceLeavesOneSetOfLines)
{
    TempDir dir;
    std::string source = ReadBytes(std::string(VANTREL_TEST_DATA_DIR) + "/reference/cgats/channelinfo_cmyk2.txt");
    source.insert(source.find("NUMBER_OF_FIELDS"), "PLUS_1_COLOR \"Orange|1|2|3\"\n");
    const std::string path = dir.Write("ref.txt", source);
    const std::string temp = path + ".temp";

    const double labs[6][3] = {{55, -37, -50}, {48, 74, -3}, {89, -5, 93}, {16, 0, 0}, {66.5, 51, 71}, {40, -45, 30}};
    const char* const names[6] = {"Cyan", "Magenta", "Yellow", "Black", "Orange", "Leaf"};
    std::vector<std::string> entries;
    for (int i = 0; i < 6; ++i)
        entries.push_back(ChannelInfoEntry(names[i], labs[i]));

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(StoreChannelInfo(path.c_str(), entries)) << round;
        const std::string stored = ReadBytes(temp);
        std::vector<std::string> lines;
        std::stringstream ss(stored);
        for (std::string line; std::getline(ss, line);)
            lines.push_back(line);
        int channelLines = 0;
        for (const std::string& line : lines) {
            channelLines += line.rfind("ChannelInfo", 0) == 0;
            EXPECT_NE(line.rfind("PLUS_", 0), 0u) << line;
        }
        EXPECT_EQ(channelLines, 6) << round;
        ASSERT_GE(lines.size(), 10u);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(lines[4 + i], "ChannelInfo" + std::to_string(i) + "\t" + entries[i] + "\r") << round;
        EXPECT_EQ(stored.back(), '\n');

        auto d = Load(temp);
        ASSERT_EQ(d->extraChannelCount, 2);
        EXPECT_EQ(d->GetColorantNames(), (std::vector<std::string>{"Cyan", "Magenta", "Yellow", "Black", "Orange", "Leaf"}));
        ASSERT_EQ(d->colorantLab.size(), 6u);
        EXPECT_DOUBLE_EQ(d->colorantLab[4].L, 66.5);
        EXPECT_DOUBLE_EQ(d->colorantLab[5].a, -45.0);
        ASSERT_EQ(d->GetSetCount(), 2);

        if (round == 0) {
            // The reference itself is untouched; the update then puts the copy in place.
            EXPECT_EQ(ReadBytes(path), source);
            ASSERT_EQ(std::rename(temp.c_str(), path.c_str()), 0);
        }
    }
}

TEST(ChannelInfoStore, ShortHeaderKeepsDataFormatIntact)
{
    TempDir dir;
    const std::string path = dir.Write("short.txt", "CGATS.17\nNUMBER_OF_FIELDS 2\nBEGIN_DATA_FORMAT\nSAMPLE_ID INKA\nEND_DATA_FORMAT\n"
                                                    "NUMBER_OF_SETS 1\nBEGIN_DATA\n1 50\nEND_DATA\n");
    const double lab[3] = {60, 10, 20};
    ASSERT_TRUE(StoreChannelInfoCgats(path.c_str(), {ChannelInfoEntry("Ink", lab)}));
    const std::string stored = ReadBytes(path + ".temp");
    EXPECT_EQ(stored.rfind("CGATS.17\nNUMBER_OF_FIELDS 2\nChannelInfo0\t\"Ink,Lab,60 10 20 \"\r\nBEGIN_DATA_FORMAT\n", 0), 0u) << stored;
    auto d = Load(path + ".temp");
    ASSERT_EQ(d->extraChannelCount, 1);
    EXPECT_EQ(d->GetColorantNames(), std::vector<std::string>{"Ink"});
    EXPECT_TRUE(d->hasChannelInfo);
}

TEST(ChannelInfoStore, DispatchAndFailures)
{
    TempDir dir;
    const double lab[3] = {60, 10, 20};
    const std::vector<std::string> entries = {ChannelInfoEntry("Ink", lab)};

    // First line "<...": the CxF3 variant, which refuses a document without its
    // custom resources and leaves no copy, not even an older one.
    const std::string xml = dir.Write("ref.cxf", "  <?xml version=\"1.0\"?>\n<cc:CxF><cc:Other/></cc:CxF>\n");
    WriteBytes(xml + ".temp", "stale");
    EXPECT_FALSE(StoreChannelInfo(xml.c_str(), entries));
    EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"ref.cxf"});

    const std::string missing = dir.File("missing.txt");
    WriteBytes(missing + ".temp", "stale");
    EXPECT_FALSE(StoreChannelInfo(missing.c_str(), entries));
    EXPECT_FALSE(StoreChannelInfoCgats(missing.c_str(), entries));
    EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"ref.cxf"});
    EXPECT_FALSE(StoreChannelInfo(nullptr, entries));
}
}   // namespace
