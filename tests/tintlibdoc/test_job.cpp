// Tests of Job: job file versions and path rules, extra tags, the embedded measurement
// and its scratch file, command list, job name and the state after a load.
#include "ErrorHandler.h"
#include "Job.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{
std::vector<std::string> gMessages;
int Collect(char const* message)
{
    gMessages.push_back(message);
    return 0;
}

class JobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gMessages.clear();
        handler.Tintora_SetErrorHandler(&Collect);
        job.setErrorHandler(&handler);
        // Scratch files of the job go to a folder of the test, so leftovers show.
        scratch = std::make_unique<TempDir>();
        const char* old = std::getenv("TMPDIR");
        oldTmp = old ? old : "";
        hadTmp = old != nullptr;
        ::setenv("TMPDIR", scratch->path.c_str(), 1);
    }
    void TearDown() override
    {
        EXPECT_TRUE(scratch->Entries().empty()) << "scratch file left behind";
        if (hadTmp)
            ::setenv("TMPDIR", oldTmp.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }

    bool LoadXml(const std::string& name, const std::string& elements)
    {
        return job.Load(dir.Write(name, JobXml(elements)).c_str());
    }

    TempDir dir;
    ErrorHandler handler;
    Job job;
    std::unique_ptr<TempDir> scratch;
    std::string oldTmp;
    bool hadTmp = false;
};

const std::string kInvalid = "The jobfile passed as parameter has an invalid format";
const std::string kMissing = "The jobfile passed as parameter does not exist.";
}

TEST_F(JobTest, MissingFileIsReportedOnce)
{
    EXPECT_FALSE(job.Load(dir.File("absent.xml").c_str()));
    EXPECT_FALSE(job.Load(dir.path.c_str()));   // a folder is no job file
    EXPECT_FALSE(job.Load(nullptr));
    EXPECT_EQ(gMessages, (std::vector<std::string>{kMissing, kMissing, kMissing}));
}

TEST_F(JobTest, FixtureJobLoads)
{
    std::string path = std::string(VANTREL_TEST_DATA_DIR) + "/tintlibdoc/Press4.xml";
    ASSERT_TRUE(job.Load(path.c_str())) << (gMessages.empty() ? "" : gMessages[0]);
    EXPECT_TRUE(gMessages.empty());
    EXPECT_EQ(job.GetJobName(), "Press4");
    std::string value;
    EXPECT_TRUE(job.GetExtraTagValue("DOCPrinter", value));
    EXPECT_EQ(value, "Press 4");
    ASSERT_NE(job.GetTintoraTarget(), nullptr);
    EXPECT_EQ(job.GetTintoraTarget()->patchCount, 12);
    EXPECT_NE(std::strstr(job.GetTintoraTarget()->infoText, "<DOCMediaType>1</DOCMediaType>\n"), nullptr);
}

TEST_F(JobTest, PathDecidesTheVersion)
{
    const std::string v4 = JobXml("<Type>eDOCJob</Type>\n" + TargetElement());
    const std::string v3 = MeasurementText();
    struct Case
    {
        const char* name;
        std::string folder;
        std::string file;
        const std::string* content;
        bool loads;
    };
    const Case cases[] = {
        {"upper-case extension is version 4", "", "Job.XML", &v4, true},
        {"xml job", "", "job.xml", &v4, true},
        {"txt job is a measurement", "", "run.txt", &v3, true},
        // ".txt" is searched first, anywhere in the path.
        {"folder run.txt.d makes version 3", "run.txt.d", "job.xml", &v3, true},
        {"xml job inside run.txt.d is read as version 3", "run.txt.d", "job4.xml", &v4, false},
        {"measurement named .xml is no XML job", "", "plain.xml", &v3, false},
        {"neither txt nor xml", "", "job.dat", &v4, false},
    };
    for (const Case& c : cases) {
        gMessages.clear();
        std::string folder = c.folder.empty() ? dir.path : dir.Folder(c.folder);
        std::string path = folder + "/" + c.file;
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(c.content->data(), 1, c.content->size(), f);
            std::fclose(f);
        }
        Job fresh;
        fresh.setErrorHandler(&handler);
        EXPECT_EQ(fresh.Load(path.c_str()), c.loads) << c.name;
        EXPECT_EQ(gMessages, c.loads ? std::vector<std::string>{} : std::vector<std::string>{kInvalid}) << c.name;
    }
}

TEST_F(JobTest, InvalidVersion4Jobs)
{
    struct Case
    {
        const char* name;
        std::string elements;
    };
    const Case cases[] = {
        {"type with a trailing blank", "<Type>eDOCJob </Type>\n" + TargetElement()},
        {"other type", "<Type>eICCJob</Type>\n" + TargetElement()},
        {"empty type", "<Type/>\n" + TargetElement()},
        {"type after the target still counts", TargetElement() + "<Type>DOC</Type>\n"},
        {"no target", "<Type>eDOCJob</Type>\n"},
        {"empty target", "<Type>eDOCJob</Type>\n<TintoraTarget></TintoraTarget>\n"},
        {"target the instrument library rejects", "<TintoraTarget>TINTORA_MEASUREMENT 1\nEND\n</TintoraTarget>\n"},
    };
    for (const Case& c : cases) {
        gMessages.clear();
        Job fresh;
        fresh.setErrorHandler(&handler);
        EXPECT_FALSE(fresh.Load(dir.Write("bad.xml", JobXml(c.elements)).c_str())) << c.name;
        EXPECT_EQ(gMessages, std::vector<std::string>{kInvalid}) << c.name;
    }
    gMessages.clear();
    EXPECT_FALSE(job.Load(dir.Write("broken.xml", "<Job><Type>eDOCJob</Type>").c_str()));
    EXPECT_EQ(gMessages, std::vector<std::string>{kInvalid});
}

TEST_F(JobTest, JobWithoutTypeButWithTargetIsAccepted)
{
    EXPECT_TRUE(LoadXml("notype.xml", TargetElement()));
    EXPECT_TRUE(gMessages.empty());
    std::string value;
    EXPECT_FALSE(job.GetExtraTagValue("Type", value));
}

TEST_F(JobTest, OnlyTagsBeforeTheTargetReachTheInformationText)
{
    ASSERT_TRUE(LoadXml("tags.xml", "<Type>eDOCJob</Type>\n<DOCMedia>Gloss 250</DOCMedia>\n" + TargetElement() +
                                        "<DOCPrinter>Press 4</DOCPrinter>\n"));
    const char* info = job.GetTintoraTarget()->infoText;
    EXPECT_STREQ(info, "<Type>eDOCJob</Type>\n<DOCMedia>Gloss 250</DOCMedia>\n");
    std::string value;
    EXPECT_TRUE(job.GetExtraTagValue("DOCPrinter", value));   // still an extra tag
    EXPECT_EQ(value, "Press 4");

    Job after;
    ASSERT_TRUE(after.Load(dir.Write("after.xml", JobXml(TargetElement() + "<DOCMedia>Gloss 250</DOCMedia>\n")).c_str()));
    EXPECT_EQ(std::strstr(after.GetTintoraTarget()->infoText, "DOCMedia"), nullptr);
    EXPECT_TRUE(after.GetExtraTagValue("DOCMedia", value));
}

TEST_F(JobTest, EmbeddedMeasurementLosesTabsAndCarriageReturns)
{
    // Entities are decoded and white space kept: "&#13;" is a CR, tabs sit inside tokens.
    std::string measurement = "TINTORA_MEASUREMENT 1&#13;\nLAY\tOUT Onyx&#13;GRID 2 1 2 1&#13;\nEND\n";
    ASSERT_TRUE(LoadXml("crlf.xml", "<DOCMediaType>2</DOCMediaType>\n" + TargetElement(measurement)))
        << (gMessages.empty() ? "" : gMessages[0]);
    EXPECT_STREQ(job.GetTintoraTarget()->layoutName, "Onyx");
    EXPECT_STREQ(job.GetTintoraTarget()->infoText, "<DOCMediaType>2</DOCMediaType>\n");
}

TEST_F(JobTest, MultiLineTagValueReachesTheInformationText)
{
    ASSERT_TRUE(LoadXml("multi.xml", "<Note>line one\nline two</Note>\n" + TargetElement()));
    EXPECT_STREQ(job.GetTintoraTarget()->infoText, "<Note>line one\nline two</Note>\n");
}

TEST_F(JobTest, DuplicateExtraTagsAreKeptAndTheFirstWins)
{
    ASSERT_TRUE(LoadXml("dup.xml", "<Custom>first</Custom>\n<Custom>second</Custom>\n<Empty/>\n" + TargetElement()));
    const auto& tags = job.GetExtraTags();
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].tag, "Custom");
    EXPECT_EQ(tags[1].value, "second");
    EXPECT_EQ(tags[2].tag, "Empty");
    EXPECT_EQ(tags[2].value, "");
    std::string value = "untouched";
    EXPECT_TRUE(job.GetExtraTagValue("Custom", value));
    EXPECT_EQ(value, "first");
    EXPECT_NE(std::strstr(job.GetTintoraTarget()->infoText, "<Custom>first</Custom>\n<Custom>second</Custom>\n"),
              nullptr);

    job.SetExtraTagValue("Custom", "replaced");
    ASSERT_EQ(job.GetExtraTags().size(), 3u);
    EXPECT_EQ(job.GetExtraTags()[0].value, "replaced");
    EXPECT_EQ(job.GetExtraTags()[1].value, "second");
    job.SetExtraTagValue("New", "v");
    EXPECT_EQ(job.GetExtraTags().back().tag, "New");

    value = "untouched";
    EXPECT_FALSE(job.GetExtraTagValue("custom", value));   // exact, case-sensitive
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(job.GetExtraTagValue("DOCReportTemplate", "New", value));
    EXPECT_EQ(value, "v");
    job.SetExtraTagValue("DOCReportTemplate", "FOGRA_PSD_2022");
    EXPECT_TRUE(job.GetExtraTagValue("DOCReportTemplate", "New", value));
    EXPECT_EQ(value, "FOGRA_PSD_2022");
}

TEST_F(JobTest, ReloadDiscardsTheExtraTagsOfTheLastJob)
{
    ASSERT_TRUE(LoadXml("one.xml", "<A>1</A>\n" + TargetElement()));
    ASSERT_TRUE(LoadXml("two.xml", "<B>2</B>\n" + TargetElement()));
    std::string value;
    EXPECT_FALSE(job.GetExtraTagValue("A", value));
    EXPECT_TRUE(job.GetExtraTagValue("B", value));
}

TEST_F(JobTest, CommandListKeepsNonEmptyLines)
{
    ASSERT_TRUE(LoadXml("cmd.xml", "<CommandList>Rotate180\n\nX</CommandList>\n" + TargetElement()));
    EXPECT_EQ(job.GetCommandList(), (std::vector<std::string>{Job::sJobTagRotate180, "X"}));

    Job direct;
    direct.LoadCommandList("A\r\nB\rC\n\n");
    direct.LoadCommandList("");
    direct.LoadCommandList("D");
    EXPECT_EQ(direct.GetCommandList(), (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST_F(JobTest, Pos1TagInAnyCaseSetsTheFirstPosition)
{
    for (const char* tag : {"POS1", "pos1", "Pos1"}) {
        Job fresh;
        std::string elements = std::string("<") + tag + ">x</" + tag + ">\n" + TargetElement();
        ASSERT_TRUE(fresh.Load(dir.Write("pos.xml", JobXml(elements)).c_str())) << tag;
        EXPECT_EQ(fresh.GetTintoraTarget()->firstPosition, 1) << tag;
    }
    Job none;
    ASSERT_TRUE(none.Load(dir.Write("nopos.xml", JobXml("<pos10>x</pos10>\n" + TargetElement())).c_str()));
    EXPECT_EQ(none.GetTintoraTarget()->firstPosition, 0);
}

TEST_F(JobTest, JobNameRules)
{
    struct Case
    {
        const char* path;
        const char* name;
    };
    for (Case c : {Case{"/data/jobs/Press 4.xml", "Press 4"}, Case{"Press", "Press"}, Case{"a.b/c", "c"},
                   Case{"/x/archive.tar.gz", "archive.tar"}, Case{"/jobs/", ""}, Case{".hidden", ""}})
        EXPECT_EQ(Job::GetJobName(c.path), c.name) << c.path;
    EXPECT_EQ(Job().GetJobName(), "New Job");
}

TEST_F(JobTest, Version3JobNameIsCutAtTheLastQuote)
{
    std::string path = dir.Write("q\"run.txt", MeasurementText());
    ASSERT_TRUE(job.Load(path.c_str()));
    EXPECT_EQ(job.GetJobName(), "q");
    ASSERT_TRUE(job.Load(dir.Write("Press 7.txt", MeasurementText()).c_str()));
    EXPECT_EQ(job.GetJobName(), "Press 7");
    EXPECT_FALSE(job.ReadVersion3Job(dir.File("none.txt").c_str()));
}

TEST_F(JobTest, LoadReleasesBuffersAndCompletesStripScans)
{
    struct Case
    {
        int scanMode;
        int nextStrip;
        int complete;
        int nextStripAfter;
    };
    // Grid of 2 strips; only scan modes 4 and 5 complete the target.
    for (Case c : {Case{5, 9, 1, 1}, Case{4, 2, 1, 2}, Case{3, 9, 0, 9}, Case{0, 0, 0, 0}}) {
        std::string extra = "SCAN_MODE " + std::to_string(c.scanMode) + "\nNEXT_STRIP " + std::to_string(c.nextStrip) +
                            "\nMEASURING_MODE 2\n";
        std::string patches;
        for (int i = 0; i < 3; ++i)
            patches += "PATCH " + std::to_string(i / 2) + " 0 " + std::to_string(i % 2) + " 50 0 0\n";
        Job fresh;
        std::string text = "TINTORA_MEASUREMENT 1\n" + extra + "GRID 2 1 3 2\n" + patches + "END\n";
        ASSERT_TRUE(fresh.Load(dir.Write("scan.txt", text).c_str()));
        const Tintora_target* t = fresh.GetTintoraTarget();
        EXPECT_EQ(t->rows, nullptr);
        EXPECT_EQ(t->stripStatus, nullptr);
        EXPECT_EQ(t->complete, c.complete) << c.scanMode;
        EXPECT_EQ(t->nextStrip, c.nextStripAfter) << c.scanMode;
        EXPECT_EQ(fresh.GetMeasuringMode(), 2);
    }
}

TEST_F(JobTest, FailedLoadStillQueriesTheMeasuringMode)
{
    ASSERT_TRUE(job.Load(dir.Write("m3.txt", MeasurementText("MEASURING_MODE 3\n")).c_str()));
    Job failed;
    EXPECT_EQ(failed.GetMeasuringMode(), 1);
    EXPECT_FALSE(failed.Load(dir.Write("bad.dat", "x").c_str()));
    EXPECT_EQ(failed.GetMeasuringMode(), 3);
}

TEST_F(JobTest, OutputFileName)
{
    ASSERT_TRUE(job.Load(dir.Write("out.txt", MeasurementText("OUTPUT_FILE out.cxf\n")).c_str()));
    EXPECT_TRUE(job.HasOutputFileName());
    ASSERT_TRUE(job.Load(dir.Write("noout.txt", MeasurementText()).c_str()));
    EXPECT_FALSE(job.HasOutputFileName());
    EXPECT_FALSE(Job().HasOutputFileName());
}

TEST_F(JobTest, CopyDuplicatesTheRecordWithoutItsBuffers)
{
    ASSERT_TRUE(LoadXml("copy.xml", "<Custom>v</Custom>\n<CommandList>Rotate180</CommandList>\n" + TargetElement()));
    Tintora_target* original = job.GetTintoraTarget();
    ASSERT_EQ(Tintora_InitTarget(original), 1);   // as the measurement mapping does

    Job copy(job);
    Tintora_target* duplicate = copy.GetTintoraTarget();
    ASSERT_NE(duplicate, nullptr);
    EXPECT_NE(duplicate, original);
    EXPECT_EQ(duplicate->rows, nullptr);
    EXPECT_EQ(duplicate->stripStatus, nullptr);
    EXPECT_EQ(duplicate->patchCount, original->patchCount);
    EXPECT_STREQ(duplicate->layoutName, original->layoutName);
    EXPECT_EQ(copy.GetJobName(), "copy");
    EXPECT_EQ(copy.GetCommandList(), job.GetCommandList());
    EXPECT_EQ(copy.GetExtraTags().size(), job.GetExtraTags().size());

    Job assigned;
    assigned = job;
    EXPECT_NE(assigned.GetTintoraTarget(), original);
    EXPECT_EQ(assigned.GetTintoraTarget()->rows, nullptr);
    assigned = assigned;
    EXPECT_EQ(assigned.GetJobName(), "copy");
}

TEST_F(JobTest, ReplaceTintoraTargetTakesOwnership)
{
    ASSERT_TRUE(LoadXml("replace.xml", TargetElement()));
    TintoraTargetPtr other = NewTintoraTarget();
    other->patchCount = 77;
    job.ReplaceTintoraTarget(other.release());
    EXPECT_EQ(job.GetTintoraTarget()->patchCount, 77);
    job.ReplaceTintoraTarget(job.GetTintoraTarget());   // same record: kept
    EXPECT_EQ(job.GetTintoraTarget()->patchCount, 77);
}

TEST_F(JobTest, UnwritableScratchFolderFailsWithItsOwnMessage)
{
    ::setenv("TMPDIR", dir.File("no/such/folder").c_str(), 1);
    EXPECT_FALSE(LoadXml("tmp.xml", TargetElement()));
    ASSERT_EQ(gMessages.size(), 1u);
    EXPECT_NE(gMessages[0].find("temporary file"), std::string::npos);
}

TEST_F(JobTest, WithoutHandlerFailuresAreSilent)
{
    Job silent;
    EXPECT_FALSE(silent.Load(dir.File("absent.xml").c_str()));
    EXPECT_TRUE(gMessages.empty());
}
