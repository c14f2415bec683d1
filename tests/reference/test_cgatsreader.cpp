// Tests of the CGATS reference reader: line reading, the normalisation of old unquoted
// values (and that it never loses the user's file), the header pass with its layout names,
// both field-assignment rules, channel colours, spectra, quoted spreadsheet exports, and
// malformed input. Every file a test touches lives in a fresh temporary folder.
#include "ReferenceTestSupport.h"

#include "FileOperations.h"
#include "ReferenceFileData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using referencetest::ListDir;
using referencetest::ReadBytes;
using referencetest::TempDir;
using referencetest::WriteBytes;

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new referencetest::ColorEnvironment);

std::unique_ptr<ReferenceFileData> Load(const std::string& path, ReferenceFlavour flavour, bool* ok = nullptr)
{
    auto d = std::make_unique<ReferenceFileData>(flavour);
    const bool loaded = d->loadReferenceFileData(nullptr, path.c_str(), false);
    if (ok)
        *ok = loaded;
    return d;
}

// A minimal CGATS file with the given fields and rows; extra header lines go first.
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

const ReferenceFlavour kBothFlavours[] = {ReferenceFlavour::Application, ReferenceFlavour::ReportLibrary};

const char* FlavourName(ReferenceFlavour f) { return f == ReferenceFlavour::Application ? "Application" : "ReportLibrary"; }

// ---------------------------------------------------------------------------------------
// Line reading

TEST(FileOperationsReadLine, EndsLinesAtLfCrAndCrLf)
{
    TempDir dir;
    const std::string path = dir.Write("lines.txt", "one\ntwo\rthree\r\n\nfive\r\r\nlast");
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<std::string> lines;
    std::string line;
    while (FileOperations::readLine(f, line))
        lines.push_back(line);
    std::fclose(f);
    const std::vector<std::string> expected = {"one", "two", "three", "", "five", "", "last"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(FileOperations::SplitLines(ReadBytes(path)), expected);
}

TEST(FileOperationsReadLine, FixedBufferIsCutNotOverrun)
{
    TempDir dir;
    const std::string path = dir.Write("long.txt", std::string(5000, 'x') + "\nnext\n");
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    ASSERT_TRUE(FileOperations::readLine(f, buffer, 8));
    EXPECT_STREQ(buffer, "xxxxxxx");
    EXPECT_EQ(buffer[8], '#');   // nothing written past the given capacity
    ASSERT_TRUE(FileOperations::readLine(f, buffer, 8));
    EXPECT_STREQ(buffer, "next");
    EXPECT_FALSE(FileOperations::readLine(f, buffer, 8));
    std::fclose(f);
}

// ---------------------------------------------------------------------------------------
// Normalisation of old unquoted values

TEST(CgatsNormalisation, DescriptorQuotedOnceThenFileStaysByteIdentical)
{
    TempDir dir;
    const std::string path = dir.CopyFixture("old_descriptor.txt");
    bool ok = false;
    auto first = Load(path, ReferenceFlavour::Application, &ok);
    ASSERT_TRUE(ok);
    EXPECT_STREQ(first->descriptor, "My chart");
    EXPECT_STREQ(first->originator, "Me");
    EXPECT_STREQ(first->created, "2021-03-04");
    ASSERT_EQ(first->GetSetCount(), 2);
    EXPECT_STREQ(first->GetSet(1)->GetOldName(), "Blue");

    const std::string rewritten = ReadBytes(path);
    EXPECT_NE(rewritten.find("DESCRIPTOR \"My chart\"\n"), std::string::npos) << rewritten;
    EXPECT_NE(rewritten.find("ORIGINATOR\t\"Me\"\n"), std::string::npos) << rewritten;
    EXPECT_NE(rewritten.find("1 255 0 0 Red\n"), std::string::npos);

    auto second = Load(path, ReferenceFlavour::Application, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ReadBytes(path), rewritten);
    EXPECT_STREQ(second->descriptor, "My chart");
    // The conversion leaves no temporary file behind.
    EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"old_descriptor.txt"});
}

TEST(CgatsNormalisation, LineRules)
{
    struct Case
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"ORIGINATOR\tMe and you", "ORIGINATOR\t\"Me and you\""},
        {"DESCRIPTOR   padded", "DESCRIPTOR \"  padded\""},
        {"CREATED 2020 May   ", "CREATED \"2020 May\"  "},
        {"MEASUREMENT_SOURCE Illumination=D50", "MEASUREMENT_SOURCE \"Illumination=D50\""},
        {"DESCRIPTOR \"already quoted\"", "DESCRIPTOR \"already quoted\""},
        {"DESCRIPTOR", "DESCRIPTOR \"\""},
        {"ORIGINATOR\t", "ORIGINATOR\t\"\""},
        // A keyword after other text, or a longer word, is not a keyword line.
        {"# DESCRIPTOR in a comment", "# DESCRIPTOR in a comment"},
        {"CREATED_BY someone", "CREATED_BY someone"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.Write("ref.txt", std::string("CGATS.17\n") + c.in + "\nNUMBER_OF_FIELDS 1\n");
        ReferenceFileData d;
        EXPECT_TRUE(d.convertOldCgatsFormat(path.c_str()));
        EXPECT_EQ(ReadBytes(path), std::string("CGATS.17\n") + c.out + "\nNUMBER_OF_FIELDS 1\n") << c.in;
    }
}

TEST(CgatsNormalisation, KeywordWithoutValueReadsEmpty)
{
    TempDir dir;
    const std::string path = dir.Write("ref.txt", Cgats("ORIGINATOR \"Someone\"\nDESCRIPTOR\nPLUS_1_COLOR \"Orange|1|2|3\"\nPLUS_2_COLOR \"\"\n",
                                                        {"SAMPLE_ID", "SAMPLE_NAME", "6CLR_1", "6CLR_2", "6CLR_3", "6CLR_4", "6CLR_5", "6CLR_6"},
                                                        {"1 \"\" 1 2 3 4 5 6", "2 \"\" 1 2 3 4 7 8"}));
    for (ReferenceFlavour f : kBothFlavours) {
        bool ok = false;
        auto d = Load(path, f, &ok);
        ASSERT_TRUE(ok);
        EXPECT_STREQ(d->descriptor, "");
        EXPECT_STREQ(d->originator, "Someone");
        ASSERT_EQ(d->GetSetCount(), 2);
        EXPECT_STREQ(d->GetSet(0)->GetOldName(), "");
        EXPECT_STREQ(d->GetSet(1)->GetOldName(), "");
        EXPECT_DOUBLE_EQ(d->GetSet(1)->GetValuesNColor()[1], 8.0);
        EXPECT_EQ(d->channelNames[0].value_or(""), "Orange");
        EXPECT_EQ(d->channelNames[1].value_or(""), "6CLR_6");   // an empty PLUS_ colour is none
    }
    EXPECT_NE(ReadBytes(path).find("\nDESCRIPTOR \"\"\n"), std::string::npos);
}

TEST(CgatsNormalisation, DataRowsAreNeverRewritten)
{
    TempDir dir;
    const std::string text = Cgats("DESCRIPTOR old style\n", {"SAMPLE_NAME", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"},
                                   {"CREATED 1 2 3 4", "DESCRIPTOR 5 6 7 8"});
    const std::string path = dir.Write("ref.txt", text);
    bool ok = false;
    auto d = Load(path, ReferenceFlavour::ReportLibrary, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(d->GetSetCount(), 2);
    EXPECT_STREQ(d->GetSet(0)->GetOldName(), "CREATED");
    EXPECT_DOUBLE_EQ(d->GetSet(1)->GetValuesCMYK()[3], 8.0);
    EXPECT_NE(ReadBytes(path).find("\nCREATED 1 2 3 4\n"), std::string::npos);
}

TEST(CgatsNormalisation, LongLinesAreKeptWhole)
{
    TempDir dir;
    const std::string value(6000, 'v');
    const std::string path = dir.Write("ref.txt", Cgats("DESCRIPTOR " + value + "\n", {"SAMPLE_ID"}, {"1"}));
    bool ok = false;
    auto d = Load(path, ReferenceFlavour::Application, &ok);
    ASSERT_TRUE(ok);
    EXPECT_NE(ReadBytes(path).find("DESCRIPTOR \"" + value + "\"\n"), std::string::npos);
    // The model's field is cut to its capacity.
    EXPECT_EQ(std::string(d->descriptor), value.substr(0, ReferenceFileData::kTextCapacity - 1));
    // Header lines are kept up to 1007 characters.
    bool sawCut = false;
    for (const std::string& line : d->headerLines)
        sawCut |= line.rfind("DESCRIPTOR", 0) == 0 && line.size() == 1007;
    EXPECT_TRUE(sawCut);
}

// A folder the loader cannot write to: the user's file must come through byte-identical
// and the load still succeeds from the converted text in memory. Root ignores folder
// permissions, so the load runs in a child that gives them up.
TEST(CgatsNormalisation, ReadOnlyFolderKeepsOriginalByteIdentical)
{
    TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    const std::string path = dir.CopyFixture("old_descriptor.txt");
    const std::string before = ReadBytes(path);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);

    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(10);
        ReferenceFileData d;
        if (!d.loadReferenceFileData(nullptr, path.c_str(), false))
            ::_exit(11);
        if (std::string(d.descriptor) != "My chart" || d.GetSetCount() != 2 || !d.isRGB)
            ::_exit(12);
        if (d.convertOldCgatsFormat(path.c_str()))   // the copy cannot take the file's place
            ::_exit(13);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"old_descriptor.txt"});
}

// ---------------------------------------------------------------------------------------
// Header pass

TEST(CgatsHeaderPass, BeginDataInAnyCaseEndsTheHeader)
{
    TempDir dir;
    const std::string path = dir.Write("ref.txt", "CGATS.17\n\nNUMBER_OF_FIELDS 1\nBEGIN_DATA_FORMAT\nSAMPLE_ID\nEND_DATA_FORMAT\n"
                                                  "NUMBER_OF_SETS 1\nBEGIN_data\n7\nEND_DATA\n");
    ReferenceFileData d;
    EXPECT_TRUE(d.loadCgatsHeaderData(path.c_str()));
    const std::vector<std::string> expected = {"CGATS.17", "NUMBER_OF_FIELDS 1", "BEGIN_DATA_FORMAT", "SAMPLE_ID",
                                               "END_DATA_FORMAT", "NUMBER_OF_SETS 1"};
    EXPECT_EQ(d.headerLines, expected);

    const std::string noData = dir.Write("nodata.txt", "CGATS.17\nDESCRIPTOR \"x\"\n");
    EXPECT_FALSE(d.loadCgatsHeaderData(noData.c_str()));
    EXPECT_EQ(d.headerLines.size(), 2u);
    EXPECT_FALSE(d.loadCgatsHeaderData(dir.File("missing.txt").c_str()));
}

TEST(CgatsHeaderPass, LayoutNameDependsOnFileSuffix)
{
    struct Case
    {
        const char* fileName;
        const char* line;
        const char* layout;   // nullptr: none
    } cases[] = {
        {"MyTarget.lab.txt", "QUORVANE_INFO_4 File_Format=MonacoPROFILER,Patches_X=12", "MonacoPROFILER"},
        {"MyTarget.txt", "QUORVANE_INFO_4 File_Format=MonacoPROFILER,Patches_X=12", nullptr},
        {"MyTarget.lab.txt", "quorvane_info_4 File_Format=Strip A,Rows=3,Cols=4", "Strip A,Rows=3"},
        {"MyTarget.lab.txt", "QUORVANE_INFO_4 File_Format=NoComma", nullptr},
        {"Job.desk.ref", "QUORVANE_INFO_DOC \"File_Format=QUORVANE - Vertical\"", "QUORVANE - Vertical"},
        {"Job.lab.txt", "QUORVANE_INFO_DOC \"File_Format=QUORVANE - Vertical\"", nullptr},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path =
            dir.Write(c.fileName, Cgats(std::string(c.line) + "\n", {"SAMPLE_ID", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"},
                                        {"1 0 0 0 0"}));
        for (ReferenceFlavour f : kBothFlavours) {
            bool ok = false;
            auto d = Load(path, f, &ok);
            ASSERT_TRUE(ok) << c.fileName << " " << c.line;
            EXPECT_EQ(d->hasFileFormat, c.layout != nullptr) << c.fileName << " " << c.line;
            EXPECT_STREQ(d->fileFormat, c.layout ? c.layout : "") << c.fileName << " " << c.line;
        }
    }
}

// ---------------------------------------------------------------------------------------
// Field assignment

TEST(CgatsFields, SixColourFieldsByRuleAndHeader)
{
    const std::vector<std::string> fields = {"SAMPLE_ID", "6CLR_1", "6CLR_2", "6CLR_3", "6CLR_4", "6CLR_5", "6CLR_6"};
    const std::vector<std::string> rows = {"1 10 20 30 40 50 60"};
    struct Case
    {
        const char* header;
        ReferenceFlavour flavour;
        bool cmyk;
        int extras;
        std::vector<std::string> names;
    } cases[] = {
        {"", ReferenceFlavour::ReportLibrary, true, 2, {"6CLR_5", "6CLR_6"}},
        {"", ReferenceFlavour::Application, false, 6, {"6CLR_1", "6CLR_2", "6CLR_3", "6CLR_4", "6CLR_5", "6CLR_6"}},
        // The PLUS_ colour also renames the first extra channel.
        {"PLUS_1_COLOR \"Orange|60|50|70\"\n", ReferenceFlavour::Application, true, 2, {"Orange", "6CLR_6"}},
        {"PLUS_1_COLOR \"Orange|60|50|70\"\n", ReferenceFlavour::ReportLibrary, true, 2, {"Orange", "6CLR_6"}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.Write("six.txt", Cgats(c.header, fields, rows));
        bool ok = false;
        auto d = Load(path, c.flavour, &ok);
        const std::string what = std::string(FlavourName(c.flavour)) + " header=" + c.header;
        ASSERT_TRUE(ok) << what;
        EXPECT_EQ(d->isCMYK, c.cmyk) << what;
        ASSERT_EQ(d->extraChannelCount, c.extras) << what;
        for (int k = 0; k < c.extras; ++k)
            EXPECT_EQ(d->channelNames[k].value_or(""), c.names[k]) << what;
        ASSERT_EQ(d->GetSetCount(), 1);
        const ReferenceFileSet* s = d->GetSet(0);
        if (c.cmyk) {
            EXPECT_DOUBLE_EQ(s->GetValuesCMYK()[0], 10.0) << what;
            EXPECT_DOUBLE_EQ(s->GetValuesCMYK()[3], 40.0) << what;
            EXPECT_DOUBLE_EQ(s->GetValuesNColor()[0], 50.0) << what;
            EXPECT_DOUBLE_EQ(s->GetValuesNColor()[1], 60.0) << what;
        } else {
            EXPECT_DOUBLE_EQ(s->GetValuesNColor()[0], 10.0) << what;
            EXPECT_DOUBLE_EQ(s->GetValuesNColor()[5], 60.0) << what;
        }
        if (c.header[0]) {
            ASSERT_TRUE(d->channelLab[0].has_value()) << what;
            EXPECT_DOUBLE_EQ(d->channelLab[0]->L, 60.0);
            EXPECT_DOUBLE_EQ(d->channelLab[0]->b, 70.0);
        }
    }
}

TEST(CgatsFields, ChannelInfoPrimariesMakeApplicationSeeCmyk)
{
    TempDir dir;
    const std::string path = dir.CopyFixture("channelinfo_cmyk2.txt");
    for (ReferenceFlavour f : kBothFlavours) {
        bool ok = false;
        auto d = Load(path, f, &ok);
        ASSERT_TRUE(ok);
        EXPECT_TRUE(d->isCMYK) << FlavourName(f);
        ASSERT_EQ(d->extraChannelCount, 2) << FlavourName(f);
        ASSERT_EQ(d->GetSetCount(), 2);
        EXPECT_DOUBLE_EQ(d->GetSet(1)->GetValuesNColor()[1], 100.0);
        if (f == ReferenceFlavour::Application) {
            EXPECT_TRUE(d->hasChannelInfo);
            EXPECT_EQ(d->GetColorantNames(), (std::vector<std::string>{"Cyan", "Magenta", "Yellow", "Black", "Orange", "Green"}));
            ASSERT_EQ(d->colorantLab.size(), 6u);
            EXPECT_DOUBLE_EQ(d->colorantLab[0].L, 55.0);   // primary from its ChannelInfo line
            EXPECT_DOUBLE_EQ(d->colorantLab[4].a, 50.0);
            // The RGB line is converted: sRGB (0, 128, 0) is a mid green.
            EXPECT_NEAR(d->colorantLab[5].L, 46.0, 2.0);
            EXPECT_LT(d->colorantLab[5].a, -30.0);
        } else {
            EXPECT_FALSE(d->hasChannelInfo);
            EXPECT_EQ(d->channelNames[0].value_or(""), "6CLR_5");
        }
    }
}

TEST(CgatsFields, PatternFollowsFieldNames)
{
    TempDir dir;
    const std::string path = dir.Write("pc.txt", Cgats("", {"SAMPLE_ID", "PC6_1", "PC6_2"}, {"1 5 6"}));
    auto d = Load(path, ReferenceFlavour::Application);
    EXPECT_EQ(d->nColorFieldPattern, "PC%1_");
    EXPECT_EQ(d->extraChannelCount, 2);
}

TEST(CgatsFields, FourteenUnrecognisedFieldsKeepEleven)
{
    std::vector<std::string> fields = {"SAMPLE_ID"};
    std::string row = "1";
    for (int i = 0; i < 14; ++i) {
        fields.push_back("INK" + std::string(1, static_cast<char>('A' + i)));
        row += " " + std::to_string(i * 5);
    }
    TempDir dir;
    const std::string path = dir.Write("many.txt", Cgats("", fields, {row}));
    for (ReferenceFlavour f : kBothFlavours) {
        bool ok = false;
        auto d = Load(path, f, &ok);
        ASSERT_TRUE(ok);
        ASSERT_EQ(d->extraChannelCount, 11) << FlavourName(f);
        EXPECT_EQ(d->channelNames[10].value_or(""), "INKK");
        EXPECT_FALSE(d->channelNames[11].has_value());
        EXPECT_DOUBLE_EQ(d->GetSet(0)->GetValuesNColor()[10], 50.0);
    }
}

TEST(CgatsFields, LocationNeedsBothFieldsAndFlagsFollowFields)
{
    TempDir dir;
    const std::string path = dir.Write(
        "loc.txt", Cgats("", {"SampleID", "Sample_Name", "LOC_X", "PAGE", "XYZ_X", "XYZ_Y", "XYZ_Z", "GRAY", "LAB_L", "LAB_A"},
                         {"3 P1 7 2 41.2 21.3 1.9 0.5 50 10"}));
    for (ReferenceFlavour f : kBothFlavours) {
        bool ok = false;
        auto d = Load(path, f, &ok);
        ASSERT_TRUE(ok);
        EXPECT_FALSE(d->hasLocation);
        EXPECT_TRUE(d->hasSampleID && d->hasSampleName && d->hasPage && d->hasXYZ && d->hasGray);
        EXPECT_FALSE(d->isRGB || d->isCMYK);
        EXPECT_EQ(d->extraChannelCount, 0);
        const ReferenceFileSet* s = d->GetSet(0);
        EXPECT_EQ(s->GetLoc_x(), -1);
        EXPECT_EQ(s->GetOldIndex(), 3);
        EXPECT_EQ(s->GetPage(), 2);
        EXPECT_DOUBLE_EQ(s->GetValuesXYZ()[1], 21.3);
        EXPECT_DOUBLE_EQ(s->GetValueGRAY(), 0.5);
        // LAB_L and LAB_A without LAB_B: no Lab from the file. The application computes
        // it from XYZ, the report library leaves it unset.
        if (f == ReferenceFlavour::Application) {
            EXPECT_TRUE(d->hasLab);
            EXPECT_NEAR(s->GetValuesLAB()[0], 116.0 * std::cbrt(0.213) - 16.0, 0.5);
        } else {
            EXPECT_FALSE(d->hasLab);
            EXPECT_DOUBLE_EQ(s->GetValuesLAB()[0], 255.0);
        }
    }
}

TEST(CgatsFields, LabComputedOnLoadOnlyInApplication)
{
    TempDir dir;
    const std::string path = dir.Write("cmyk.txt", Cgats("", {"SAMPLE_ID", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"},
                                                         {"1 0 0 0 0", "2 0 0 0 100"}));
    auto app = Load(path, ReferenceFlavour::Application);
    ASSERT_EQ(app->GetSetCount(), 2);
    EXPECT_TRUE(app->hasLab);
    EXPECT_GT(app->GetSet(0)->GetValuesLAB()[0], app->GetSet(1)->GetValuesLAB()[0] + 50.0);
    EXPECT_EQ(app->colorantLab.size(), 4u);   // the solids of the primaries

    auto lib = Load(path, ReferenceFlavour::ReportLibrary);
    EXPECT_FALSE(lib->hasLab);
    EXPECT_DOUBLE_EQ(lib->GetSet(0)->GetValuesLAB()[0], 255.0);
    EXPECT_TRUE(lib->colorantLab.empty());   // no extra channels: no solids in the library

    auto noCompute = std::make_unique<ReferenceFileData>(ReferenceFlavour::Application);
    noCompute->computeLabOnLoad = false;
    ASSERT_TRUE(noCompute->loadReferenceFileData(nullptr, path.c_str(), false));
    EXPECT_FALSE(noCompute->hasLab);
}

TEST(CgatsFields, SpectrumLengthByFlavour)
{
    TempDir dir;
    const std::string path = dir.CopyFixture("spectral41.txt");
    for (ReferenceFlavour f : kBothFlavours) {
        bool ok = false;
        auto d = Load(path, f, &ok);
        ASSERT_TRUE(ok);
        ASSERT_EQ(d->GetSetCount(), 2);
        const double* sp = d->GetSet(1)->GetValuesSpectral();
        EXPECT_DOUBLE_EQ(sp[0], 1.01);
        EXPECT_DOUBLE_EQ(sp[35], 1.36);
        if (f == ReferenceFlavour::Application) {
            EXPECT_DOUBLE_EQ(sp[40], 1.41);
        }
        EXPECT_DOUBLE_EQ(d->GetSet(1)->GetValuesLAB()[0], 50.0);
    }

    // A 36-value spectrum read by the application: the missing slots stay 0 rather than
    // taking the Lab fields that follow.
    std::vector<std::string> fields = {"SAMPLE_ID"};
    std::string row = "1";
    for (int i = 0; i < 36; ++i) {
        fields.push_back("SPECTRAL_NM" + std::to_string(380 + 10 * i));
        row += " 0.5";
    }
    fields.insert(fields.end(), {"LAB_L", "LAB_A", "LAB_B"});
    row += " 60 1 2";
    const std::string short36 = dir.Write("s36.txt", Cgats("", fields, {row}));
    auto d = Load(short36, ReferenceFlavour::Application);
    ASSERT_EQ(d->GetSetCount(), 1);
    EXPECT_DOUBLE_EQ(d->GetSet(0)->GetValuesSpectral()[35], 0.5);
    EXPECT_DOUBLE_EQ(d->GetSet(0)->GetValuesSpectral()[36], 0.0);
}

TEST(CgatsFields, ChannelInfoKeysAreBoundedByTheFileChannels)
{
    std::string header;
    for (int i = 0; i < 20; ++i)
        header += "ChannelInfo" + std::to_string(i) + "\t\"Ink" + std::to_string(i) + ",Lab," + std::to_string(i) + " 1 2 \"\n";
    TempDir dir;
    const std::string path = dir.Write("keys.txt", Cgats(header, {"SAMPLE_ID", "INKA", "INKB"}, {"1 10 20"}));
    bool ok = false;
    auto d = Load(path, ReferenceFlavour::Application, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(d->extraChannelCount, 2);
    EXPECT_TRUE(d->hasChannelInfo);
    EXPECT_EQ(d->GetColorantNames(), (std::vector<std::string>{"Ink0", "Ink1"}));
    ASSERT_EQ(d->colorantLab.size(), 2u);
    EXPECT_DOUBLE_EQ(d->colorantLab[1].L, 1.0);   // "ChannelInfo1", not the line of key 10..19
    EXPECT_FALSE(d->channelNames[2].has_value());
}

// ---------------------------------------------------------------------------------------
// Real-world files, line ends, quoting

TEST(CgatsFiles, RealWorldFileWithCrLfAndLfLoadsIdentically)
{
    TempDir dir;
    const std::string crlf = dir.CopyFixture("realworld_crlf.txt");
    const std::string lf = dir.CopyFixture("realworld_lf.txt");
    const std::string crlfBefore = ReadBytes(crlf);
    for (ReferenceFlavour f : kBothFlavours) {
        bool okA = false;
        bool okB = false;
        auto a = Load(crlf, f, &okA);
        auto b = Load(lf, f, &okB);
        ASSERT_TRUE(okA && okB) << FlavourName(f);
        EXPECT_STREQ(a->originator, "ColorTool 5.1");
        EXPECT_STREQ(a->descriptor, "Press check 4 patches");
        EXPECT_STREQ(a->created, "2023-04-05T10:11:12");
        EXPECT_TRUE(a->isCMYK && a->hasLab && a->hasSampleID && a->hasSampleName);
        EXPECT_EQ(a->extraChannelCount, 0);
        ASSERT_EQ(a->GetSetCount(), 4);
        EXPECT_STREQ(a->GetSet(3)->GetOldName(), "A4");
        EXPECT_EQ(a->GetSet(3)->GetOldIndex(), 4);
        EXPECT_DOUBLE_EQ(a->GetSet(3)->GetValuesCMYK()[1], 40.25);
        EXPECT_DOUBLE_EQ(a->GetSet(3)->GetValuesLAB()[2], 5.125);
        EXPECT_EQ(a->headerLines, b->headerLines);
        ASSERT_EQ(b->GetSetCount(), 4);
        for (int i = 0; i < 4; ++i) {
            for (int k = 0; k < 4; ++k)
                EXPECT_DOUBLE_EQ(a->GetSet(i)->GetValuesCMYK()[k], b->GetSet(i)->GetValuesCMYK()[k]);
            for (int k = 0; k < 3; ++k)
                EXPECT_DOUBLE_EQ(a->GetSet(i)->GetValuesLAB()[k], b->GetSet(i)->GetValuesLAB()[k]);
            EXPECT_STREQ(a->GetSet(i)->GetOldName(), b->GetSet(i)->GetOldName());
        }
    }
    // Nothing needed quoting: the CRLF file is untouched.
    EXPECT_EQ(ReadBytes(crlf), crlfBefore);
}

TEST(CgatsFiles, QuotedSpreadsheetExportLoadsThroughSecondParse)
{
    TempDir dir;
    const std::string path = dir.CopyFixture("quoted_export.txt");
    for (ReferenceFlavour f : kBothFlavours) {
        bool ok = false;
        auto d = Load(path, f, &ok);
        ASSERT_TRUE(ok) << FlavourName(f);
        EXPECT_STREQ(d->descriptor, "Spreadsheet copy");
        EXPECT_TRUE(d->isCMYK);
        ASSERT_EQ(d->GetSetCount(), 2);
        EXPECT_DOUBLE_EQ(d->GetSet(1)->GetValuesCMYK()[0], 50.0);
        EXPECT_DOUBLE_EQ(d->GetSet(1)->GetValuesCMYK()[3], 80.0);
        // Header lines are the unwrapped lines, ending before the data.
        ASSERT_FALSE(d->headerLines.empty());
        EXPECT_EQ(d->headerLines.front(), "CGATS.17");
        EXPECT_EQ(d->headerLines.back(), "NUMBER_OF_SETS 2");
    }
}

TEST(CgatsFiles, ZeroRowsLoadWithNoSets)
{
    TempDir dir;
    const std::string empty = dir.Write("zero.txt", Cgats("", {"SAMPLE_ID", "RGB_R", "RGB_G", "RGB_B"}, {}));
    const std::string noSets = dir.Write("nosets.txt", "CGATS.17\nNUMBER_OF_FIELDS 1\nBEGIN_DATA_FORMAT\nSAMPLE_ID\nEND_DATA_FORMAT\n");
    for (const std::string& path : {empty, noSets}) {
        for (ReferenceFlavour f : kBothFlavours) {
            bool ok = false;
            auto d = Load(path, f, &ok);
            EXPECT_TRUE(ok) << path;
            EXPECT_EQ(d->GetSetCount(), 0);
        }
    }
}

TEST(CgatsFiles, MalformedInputFailsCleanly)
{
    std::string garbage;
    unsigned v = 12345;
    for (int i = 0; i < 4096; ++i) {
        v = v * 1103515245u + 12345u;
        garbage += static_cast<char>(v >> 24);
    }
    const std::string good = Cgats("", {"SAMPLE_ID", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"}, {"1 1 2 3 4", "2 5 6 7 8", "3 9 9 9 9"});
    std::string huge = good;
    huge.replace(huge.find("NUMBER_OF_SETS 3"), 16, "NUMBER_OF_SETS 1000000000");
    std::string larger = good;
    larger.replace(larger.find("NUMBER_OF_SETS 3"), 16, "NUMBER_OF_SETS 5");
    std::string hugeNoData = "CGATS.17\nNUMBER_OF_FIELDS 1\nBEGIN_DATA_FORMAT\nSAMPLE_ID\nEND_DATA_FORMAT\nNUMBER_OF_SETS 1e9\n";
    std::string wrongFields = good;
    wrongFields.replace(wrongFields.find("NUMBER_OF_FIELDS 5"), 18, "NUMBER_OF_FIELDS 3");
    const struct
    {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"binary garbage", garbage},
        {"garbage after a CGATS line", "CGATS.17\n" + garbage},
        {"truncated in a row", good.substr(0, good.find("2 5 6") + 3)},
        {"truncated in the header", good.substr(0, good.find("END_DATA_FORMAT") + 3)},
        {"NUMBER_OF_SETS 1e9", huge},
        {"NUMBER_OF_SETS 1e9 without data", hugeNoData},
        {"NUMBER_OF_SETS larger than the table", larger},
        {"wrong field count", wrongFields},
        {"empty file", ""},
        {"quotes only", "\"\"\"\n\"\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.Write("bad.txt", c.bytes);
        for (ReferenceFlavour f : kBothFlavours) {
            bool ok = true;
            auto d = Load(path, f, &ok);
            EXPECT_FALSE(ok) << c.what << " (" << FlavourName(f) << ")";
            EXPECT_EQ(d->GetSetCount(), 0) << c.what;
        }
    }
    // A binary file with a keyword line is rejected and never rewritten.
    {
        TempDir dir;
        const std::string bytes = std::string("CGATS.17\nDESCRIPTOR my chart\n") + std::string(3, '\0') + "\n";
        const std::string path = dir.Write("bin.txt", bytes);
        ReferenceFileData b;
        EXPECT_FALSE(b.loadReferenceFileData(nullptr, path.c_str(), false));
        EXPECT_EQ(ReadBytes(path), bytes);
    }
    ReferenceFileData d;
    EXPECT_FALSE(d.loadReferenceFileData(nullptr, "/nonexistent/folder/ref.txt", false));
    EXPECT_STREQ(d.fileName, "/nonexistent/folder/ref.txt");
    EXPECT_FALSE(d.loadReferenceFileData(nullptr, nullptr, false));
}

TEST(CgatsFiles, XmlGoesToCxfReaderOnlyInApplication)
{
    TempDir dir;
    // An XML file that is no CxF3 document: the CxF3 reader rejects it, the report
    // library's CGATS reader rejects it too. What matters is that neither crashes and that
    // the application does not take it as CGATS (no header lines).
    const std::string path = dir.Write("ref.cxf", "  <?xml version=\"1.0\"?>\n<other/>\n");
    ReferenceFileData app(ReferenceFlavour::Application);
    EXPECT_FALSE(app.loadReferenceFileData(nullptr, path.c_str(), true));
    EXPECT_TRUE(app.headerLines.empty());
    EXPECT_TRUE(app.arrangeByLayout);
    ReferenceFileData lib(ReferenceFlavour::ReportLibrary);
    EXPECT_FALSE(lib.loadReferenceFileData(nullptr, path.c_str(), false));
    EXPECT_FALSE(lib.headerLines.empty());
}

TEST(CgatsFiles, LongPathIsCutInTheModel)
{
    TempDir dir;
    std::string name(200, 'n');
    std::string sub = dir.path();
    for (int i = 0; i < 5; ++i) {
        sub += "/" + name;
        ASSERT_EQ(::mkdir(sub.c_str(), 0700), 0);
    }
    const std::string path = sub + "/ref.txt";
    WriteBytes(path, Cgats("", {"SAMPLE_ID"}, {"1"}));
    ReferenceFileData d;
    EXPECT_TRUE(d.loadReferenceFileData(nullptr, path.c_str(), false));
    EXPECT_EQ(std::string(d.fileName), path.substr(0, ReferenceFileData::kFileNameCapacity - 1));
    std::remove(path.c_str());
    for (int i = 0; i < 5; ++i) {
        ::rmdir(sub.c_str());
        sub = sub.substr(0, sub.rfind('/'));
    }
}
}   // namespace
