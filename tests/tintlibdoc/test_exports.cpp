// Tests of Tintora_Generate_Xml_DocReport as far as the library frame goes: one
// message per failure, the job loaded before the report step, no leftovers.
#include "TestFiles.h"
#include "Tintlibdoc.h"

#include <gtest/gtest.h>

namespace
{
std::vector<std::string> gMessages;
int Collect(char const* message)
{
    gMessages.push_back(message);
    return 0;
}
const std::string kData = std::string(VANTREL_TEST_DATA_DIR) + "/tintlibdoc/";
}

class GenerateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gMessages.clear();
        ASSERT_TRUE(Tintora_DOC_SetErrorHandler(&Collect));
    }
    TempDir dir;
};

TEST_F(GenerateTest, MissingJob)
{
    EXPECT_FALSE(Tintora_Generate_Xml_DocReport(dir.File("none.xml").c_str(), dir.File("m").c_str(), dir.path.c_str()));
    EXPECT_EQ(gMessages, std::vector<std::string>{"The jobfile passed as parameter does not exist."});
    gMessages.clear();
    EXPECT_FALSE(Tintora_Generate_Xml_DocReport(nullptr, nullptr, nullptr));
    EXPECT_EQ(gMessages, std::vector<std::string>{"The jobfile passed as parameter does not exist."});
}

TEST_F(GenerateTest, InvalidJob)
{
    EXPECT_FALSE(Tintora_Generate_Xml_DocReport((kData + "BadType.xml").c_str(), dir.File("m").c_str(), dir.path.c_str()));
    EXPECT_EQ(gMessages, std::vector<std::string>{"The jobfile passed as parameter has an invalid format"});
}

TEST_F(GenerateTest, LoadedJobGoesOnToTheReportStep)
{
    for (const char* job : {"Press4.xml", "Press4.txt"}) {
        gMessages.clear();
        bool ok = Tintora_Generate_Xml_DocReport((kData + job).c_str(), dir.File("m").c_str(), dir.path.c_str());
        // Nothing to compare against here: the run must fail after the load, once,
        // and not on the job.
        EXPECT_FALSE(ok) << job;
        ASSERT_EQ(gMessages.size(), 1u) << job;
        EXPECT_EQ(gMessages[0].find("jobfile"), std::string::npos) << gMessages[0];
        EXPECT_TRUE(dir.Entries().empty()) << "no report may be written on failure";
    }
}

TEST_F(GenerateTest, WithoutCallbackFailuresAreSilentAndFalse)
{
    ASSERT_TRUE(Tintora_DOC_SetErrorHandler(nullptr));
    EXPECT_FALSE(Tintora_Generate_Xml_DocReport(dir.File("none.xml").c_str(), "", ""));
    EXPECT_TRUE(gMessages.empty());
}

TEST_F(GenerateTest, ReplacedCallbackReceivesLaterMessages)
{
    static int others = 0;
    ASSERT_TRUE(Tintora_DOC_SetErrorHandler([](char const*) { return ++others; }));
    EXPECT_FALSE(Tintora_Generate_Xml_DocReport(dir.File("none.xml").c_str(), "", ""));
    EXPECT_EQ(others, 1);
    EXPECT_TRUE(gMessages.empty());
}
