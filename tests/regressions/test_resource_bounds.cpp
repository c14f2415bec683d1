// Resource bounds of the readers: inputs that announce far more than they hold are
// refused quickly, without allocating what they announce, and the input file stays as
// it was.
#include "RegressionTestSupport.h"

#include "ErrorHandler.h"
#include "Job.h"
#include "ReferenceFileData.h"
#include "TargetSettings.h"
#include "Tintlib.h"
#include "UserSettingsFile.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtEndian>

#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
// Generous for a sanitizer build on a shared machine; an unbounded read takes minutes.
constexpr double kSecondsBound = 20.0;

class ResourceBounds : public TempFolderTest
{
};

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A settings file whose paper count announces 2^40 papers (and holds one).
TEST_F(ResourceBounds, SettingsFileAnnouncingTwoToTheFortyPapersIsRefused)
{
    TargetSettings source;
    source.papers.clear();
    QByteArray bytes = UserSettingsFile::toBytes(source);   // ends with the paper count 0
    ASSERT_GE(bytes.size(), 8);
    qToBigEndian<qint64>(qint64(1) << 40, bytes.data() + bytes.size() - 8);
    bytes += QByteArray(1000, '\0');   // room for a few papers, not for 2^40

    TargetSettings settings;
    settings.targetName = QStringLiteral("kept");
    const QByteArray before = UserSettingsFile::toBytes(settings);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(UserSettingsFile::fromBytes(bytes, settings), UserSettingsFile::eReadFailed);
    EXPECT_LT(SecondsSince(start), kSecondsBound);
    EXPECT_EQ(UserSettingsFile::toBytes(settings), before);
}

// A CGATS header announcing a billion sets over a table of two rows.
TEST_F(ResourceBounds, CgatsHeaderAnnouncingABillionSetsFailsAndKeepsTheFile)
{
    const std::string text =
        "CGATS.17\nORIGINATOR Old style\nNUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT\nSAMPLE_ID LAB_L LAB_A LAB_B\n"
        "END_DATA_FORMAT\nNUMBER_OF_SETS 1000000000\nBEGIN_DATA\n1 50 0 0\n2 60 1 1\nEND_DATA\n";
    for (ReferenceFlavour flavour : {ReferenceFlavour::Application, ReferenceFlavour::ReportLibrary}) {
        const std::string path = Write("billion.txt", text);
        ReferenceFileData data(flavour);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(data.loadCgatsFileData(nullptr, path.c_str()));
        EXPECT_LT(SecondsSince(start), kSecondsBound);
        EXPECT_EQ(data.GetSetCount(), 0);
        // The unquoted ORIGINATOR would be normalised; a file that fails to load is not.
        EXPECT_EQ(Read(path), text);
    }
}

// A CxF3 object with a million spot colours: the model keeps its 12 channels.
TEST_F(ResourceBounds, CxfWithAMillionSpotColoursKeepsTwelveChannels)
{
    std::string text = "<?xml version=\"1.0\"?>\n<cc:CxF xmlns:cc=\"http://colorexchangeformat.com/CxF3-core\">"
                       "<cc:Resources><cc:ObjectCollection><cc:Object ObjectType=\"Target\" Id=\"A1\">"
                       "<cc:DeviceColorValues><cc:ColorCustom>";
    text.reserve(text.size() + 1000000 * 16 + 200);
    for (int i = 0; i < 1000000; ++i)
        text += "<cc:SpotColor/>";
    text += "</cc:ColorCustom></cc:DeviceColorValues></cc:Object></cc:ObjectCollection></cc:Resources></cc:CxF>";
    const std::string path = Write("spots.cxf", text);
    for (ReferenceFlavour flavour : {ReferenceFlavour::Application, ReferenceFlavour::ReportLibrary}) {
        ReferenceFileData data(flavour);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(data.loadCXFFileData(path.c_str(), nullptr));
        EXPECT_LT(SecondsSince(start), kSecondsBound);
        EXPECT_EQ(data.extraChannelCount, ReferenceFileData::kMaxChannels);
        EXPECT_EQ(data.GetSetCount(), 1);
    }
}

// A CxF3 file beyond the reader's size limit is refused before it is read. The file is
// sparse, so the test costs no disk space.
TEST_F(ResourceBounds, OversizedCxfIsRefusedUnread)
{
    const std::string path = Write("huge.cxf", "<cc:CxF>");
    ASSERT_EQ(::truncate(path.c_str(), 300L * 1024 * 1024), 0);
    for (ReferenceFlavour flavour : {ReferenceFlavour::Application, ReferenceFlavour::ReportLibrary}) {
        ReferenceFileData data(flavour);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(data.loadCXFFileData(path.c_str(), nullptr));
        EXPECT_LT(SecondsSince(start), kSecondsBound);
    }
}

// Measurements whose grid counts disagree with their patch data.
TEST_F(ResourceBounds, MeasurementWhoseGridDisagreesWithItsPatchesIsRejected)
{
    const std::string head = "TINTORA_MEASUREMENT 1\nLAYOUT QUORVANE - Horizontal (default)\n";
    const std::string patch00 = "PATCH 0 0 0 95 0 0\n";
    const std::string patch01 = "PATCH 0 0 1 50 0 0\n";
    struct Case
    {
        const char* what;
        std::string body;
    };
    const Case cases[] = {
        {"fewer patches than N", "GRID 2 1 2 1\n" + patch00},
        {"more patches than N", "GRID 2 1 1 1\n" + patch00 + patch01},
        {"patch outside the grid", "GRID 1 1 1 1\nPATCH 0 0 1 50 0 0\n"},
        {"patch in a strip beyond S", "GRID 1 1 1 1\nPATCH 1 0 0 50 0 0\n"},
        {"the same position twice", "GRID 2 1 2 1\n" + patch00 + patch00},
        {"N beyond W x H x S", "GRID 1 1 2 1\n" + patch00},
        {"grid of 2^31 patches", "GRID 65536 32768 1 1\n"},
        {"grid of 2^40 positions", "GRID 1048576 1048576 1 1\n"},
        {"counts of 2^31", "GRID 2147483648 1 1 1\n"},
        {"spectrum count beyond its values", "GRID 1 1 1 1\nPATCH 0 0 0 50 0 0 41 0.5\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Write("m.txt", head + c.body + "END\n");
        Tintora_target target{};
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Tintora_ParseFile(&target, path.c_str()), 0);
        EXPECT_LT(SecondsSince(start), kSecondsBound);
        EXPECT_EQ(target.rows, nullptr);
        EXPECT_EQ(target.patchCount, 0);
        Tintora_FreeTarget(&target);

        // The same text as a version-3 job: one clear message, no target.
        const std::string job = Write("job.txt", head + c.body + "END\n");
        static int messages;
        messages = 0;
        ErrorHandler handler([](char const*) { return ++messages; });
        Job loaded;
        loaded.setErrorHandler(&handler);
        EXPECT_FALSE(loaded.Load(job.c_str()));
        EXPECT_EQ(messages, 1);
    }
}
}   // namespace
