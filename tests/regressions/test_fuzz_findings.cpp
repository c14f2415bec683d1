// Unit tests of the faults the fuzz targets found, each named after what it guards. The
// inputs themselves are replayed by the fuzz_replay_* tests.
#include "RegressionTestSupport.h"

#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "ReferenceWriter.h"

#include <string>

namespace
{
class FuzzFindings : public TempFolderTest
{
};

const char kLabTable[] = "NUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT\nSAMPLE_ID LAB_L LAB_A LAB_B\nEND_DATA_FORMAT\n"
                         "NUMBER_OF_SETS 1\nBEGIN_DATA\n1 50 0 0\nEND_DATA\n";

// Found by fuzz_cgats: the normalisation rewrote an old-style file before it was parsed,
// so a file that then failed to load was changed on disk.
TEST_F(FuzzFindings, OldStyleFileThatFailsToLoadIsNotRewritten)
{
    const std::string broken = std::string("CGATS.17\nDESCRIPTOR My chart\n") +
                               "NUMBER_OF_FIELDS 4\nBEGIN_DATA_FORMAT\nSAMPLE_ID LAB_L LAB_A LAB_B\nEND_DATA_FORMA\xb8T\n"
                               "NUMBER_OF_SETS 1\nBEGIN_DATA\n1 50 0 0\nEND_DATA\n";
    const std::string path = Write("broken.txt", broken);
    for (ReferenceFlavour flavour : {ReferenceFlavour::Application, ReferenceFlavour::ReportLibrary}) {
        ReferenceFileData data(flavour);
        EXPECT_FALSE(data.loadCgatsFileData(nullptr, path.c_str()));
        EXPECT_EQ(Read(path), broken);
    }

    // The same file, well formed, is still normalised on its first successful load.
    const std::string good = std::string("CGATS.17\nDESCRIPTOR My chart\n") + kLabTable;
    const std::string goodPath = Write("good.txt", good);
    ReferenceFileData data;
    ASSERT_TRUE(data.loadCgatsFileData(nullptr, goodPath.c_str()));
    EXPECT_STREQ(data.descriptor, "My chart");
    EXPECT_NE(Read(goodPath).find("DESCRIPTOR \"My chart\""), std::string::npos);
}

// Found by fuzz_cgats: the writer put texts holding a double quote between quotes as they
// were, and the reference it wrote could not be read back.
TEST_F(FuzzFindings, WrittenReferenceWithQuotesInItsTextsReadsBack)
{
    struct Case
    {
        const char* what;
        std::string header;
    };
    const Case cases[] = {
        {"unbalanced quote in PROCESSCOLOR_ID", "PROCESSCOLOR_ID\t[1 Black, key plate\"\n"},
        {"quote inside a quoted PROCESSCOLOR_ID", "PROCESSCOLOR_ID\t\"a\"b\"\n"},
        {"blank inside the PROCESSCOLOR_ID key", "PROCESSCOLOR_ID x\t\"1 Black\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Write("in.txt", "CGATS.17\n" + c.header + kLabTable);
        ReferenceFileData data;
        if (!data.loadCgatsFileData(nullptr, path.c_str()))
            continue;   // the reader's own verdict; only what it accepts must survive a save
        const std::string out = dir + "/out.ref";
        ASSERT_TRUE(WriteReferenceFile(data, nullptr, out.c_str(), false));
        ReferenceFileData back;
        EXPECT_TRUE(back.loadCgatsFileData(nullptr, out.c_str())) << Read(out);
        EXPECT_EQ(back.GetSetCount(), 1);
    }

    // Texts of a CxF3 reference may hold quotes and line ends.
    ReferenceFileData data;
    const std::string cxf = Write("q.cxf",
        "<cc:CxF xmlns:cc=\"x\"><cc:FileInformation><cc:Description>My &quot;best&quot;\nchart</cc:Description>"
        "</cc:FileInformation><cc:Resources><cc:ObjectCollection><cc:Object ObjectType=\"Target\" Id=\"A1\">"
        "<cc:ColorValues><cc:ColorCIELab><cc:L>50</cc:L><cc:A>0</cc:A><cc:B>0</cc:B></cc:ColorCIELab></cc:ColorValues>"
        "<cc:DeviceColorValues><cc:ColorCustom><cc:SpotColor><cc:Name>Or\"ange</cc:Name><cc:Percentage>40</cc:Percentage>"
        "</cc:SpotColor></cc:ColorCustom></cc:DeviceColorValues></cc:Object></cc:ObjectCollection></cc:Resources></cc:CxF>");
    ASSERT_TRUE(data.loadCXFFileData(cxf.c_str(), nullptr));
    const std::string out = dir + "/cxf.ref";
    ASSERT_TRUE(WriteReferenceFile(data, nullptr, out.c_str(), false));
    ReferenceFileData back;
    ASSERT_TRUE(back.loadCgatsFileData(nullptr, out.c_str())) << Read(out);
    EXPECT_STREQ(back.descriptor, "My 'best' chart");
    EXPECT_EQ(back.GetSetCount(), 1);
}
}   // namespace
