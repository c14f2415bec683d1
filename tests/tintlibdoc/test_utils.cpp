// Tests of Utils, ErrorHandler and the small exports: splitting, DOC folder paths,
// constants, the version text and the setters.
#include "ErrorHandler.h"
#include "Tintlibdoc.h"
#include "Utils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(UtilsSplit, KeepsEmptyPieces)
{
    struct Case
    {
        const char* text;
        const char* separator;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"a|b||c", "|", {"a", "b", "", "c"}},
        {"", "|", {""}},
        {"|", "|", {"", ""}},
        {"abc", "|", {"abc"}},
        {"a|", "|", {"a", ""}},
        {"0.1 0.2 ", " ", {"0.1", "0.2", ""}},
        {"a<>b<><>", "<>", {"a", "b", "", ""}},
        {"a|b", "", {"a|b"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> list = {"stale"};
        EXPECT_EQ(Utils::Split(c.text, list, c.separator), int(c.pieces.size())) << c.text;
        EXPECT_EQ(list, c.pieces) << c.text;
    }
}

TEST(UtilsPaths, FoldersBelowTheDocFolder)
{
    EXPECT_EQ(Utils::GetReferencesPathRelatedToDOCFolder("ignored", "/data/DOC"), "/data/DOC/References");
    EXPECT_EQ(Utils::GetDOCReferencesPathRelatedToDOCFolder("", "/data/DOC"), "/data/DOC/DOCReferences");
    EXPECT_EQ(Utils::GetDOCTolerancesPathRelatedToDOCFolder("x", "/data/DOC"), "/data/DOC/Tolerances");
}

TEST(UtilsConstants, NamesAndValues)
{
    EXPECT_EQ(Utils::UNCOMPUTED_DOUBLE_VALUE, -1.0);
    EXPECT_STREQ(Utils::LAYOUT_HORIZONTAL_DEFAULT, "QUORVANE - Horizontal (default)");
    EXPECT_STREQ(Utils::LAYOUT_HORIZONTAL_RIGHT_LEFT, "QUORVANE - Horizontal (right left)");
    EXPECT_STREQ(Utils::LAYOUT_DENSITY, "QUORVANE Density");
    EXPECT_STREQ(Utils::LAYOUT_VERTICAL_LEFT_RIGHT, "QUORVANE - Vertical (left - right), ProfileMaker Reference File");
    EXPECT_STREQ(Utils::LAYOUT_VERTICAL_RIGHT_LEFT, "QUORVANE - Vertical (right - left)");
    EXPECT_EQ(int(Utils::eCIE1976), 0);
    EXPECT_EQ(int(Utils::eCMC11), 1);
    EXPECT_EQ(int(Utils::eCMC21), 2);
    EXPECT_EQ(int(Utils::eCIE1994), 3);
    EXPECT_EQ(int(Utils::eCIEDE2000), 4);
}

TEST(Exports, VersionTextIsStable)
{
    const char* first = Tintora_Get_s_pDll_DOC_Version();
    EXPECT_STREQ(first, "Tintlibdoc Version: 1.06");
    EXPECT_EQ(Tintora_Get_s_pDll_DOC_Version(), first);
    EXPECT_STREQ(Tintora_Get_s_pDll_DOC_Version(), "Tintlibdoc Version: 1.06");
}

TEST(Exports, AppVersionIsCopied)
{
    std::string text = "Host 7.2";
    Tintora_DOC_SetAppVersion(text.c_str());
    text = "changed";
    EXPECT_EQ(Utils::appVersion, "Host 7.2");
    Tintora_DOC_SetAppVersion(nullptr);
    EXPECT_EQ(Utils::appVersion, "");
}

namespace
{
int gCalls = 0;
std::string gLast;
int Count(char const* message)
{
    ++gCalls;
    gLast = message;
    return 42;
}
}

TEST(ErrorHandlerTest, ForwardsToTheCallbackOrStaysSilent)
{
    ErrorHandler silent;
    silent.ReportError("nobody listens");
    ReportError(nullptr, "nobody either");
    gCalls = 0;
    ErrorHandler handler;
    EXPECT_TRUE(handler.Tintora_SetErrorHandler(&Count));
    handler.ReportError(std::string("one"));
    ReportError(&handler, "two");
    EXPECT_EQ(gCalls, 2);
    EXPECT_EQ(gLast, "two");
    EXPECT_TRUE(Tintora_DOC_SetErrorHandler(&Count));
    EXPECT_TRUE(Tintora_DOC_SetErrorHandler(nullptr));
}
