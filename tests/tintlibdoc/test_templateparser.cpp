// Tests of GPDFTemplateParser: tag order, what a complete parse leaves in the tables, the
// actions that end a parse, the stop request, and an owner that is no report generator.
#include "GPDFTemplateParser.h"
#include "ReportFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

TEST(TemplateParser, TagsInParseOrder)
{
    const std::vector<std::string> expected = {
        "$TAG_PRINTER_NAME", "$TAG_MEDIA_NAME", "$TAG_DATE", "$TAG_TIME", "$TAG_CREATOR", "$TAG_DEVICE",
        "$TAG_REFERENCE", "$TAG_MEASUREMENT", "$TAG_EVALUATION", "$TAG_TOLERANCE", "$TAG_COLOR_DISTANCE_FORMULA",
        "$TAG_CONTROL_STRIP", "$TAG_IMAGE_GLOBAL_PASSED", "$TAG_NUM_PATCHES", "$TAG_MEAS_CONDITION", "$TAG_BACKING",
        "$TAG_DELTA_E_FORMULA", "$TAG_ERROR_", "$TAG_TOL_", "$TAG_PATCH_"};
    EXPECT_EQ(GPDFTemplateParser::sTags(), expected);
    for (const auto& tag : expected)
        EXPECT_EQ(GPDFTemplateParser::sTagActions().count(tag), 1u) << tag;

    Object notAGenerator;
    GPDFTemplateParser parser(&notAGenerator);
    EXPECT_EQ(parser.GetGeneralValues().size(), 17u);
    EXPECT_TRUE(parser.IsParseFinished());
    EXPECT_FALSE(parser.GetParseResult());
    EXPECT_FALSE(parser.GetQuitFlag());
}

TEST(TemplateParser, OwnerMustBeAReportGenerator)
{
    Object notAGenerator;
    for (Object* owner : {&notAGenerator, static_cast<Object*>(nullptr)}) {
        GPDFTemplateParser parser(owner);
        parser.StartParsing();
        EXPECT_FALSE(parser.GetParseResult());
        EXPECT_FALSE(parser.TagError());
        EXPECT_FALSE(parser.TagBacking());
        EXPECT_FALSE(parser.TagPatch());
        EXPECT_TRUE(parser.GetErrorValues().empty());
        for (const auto& value : parser.GetGeneralValues())
            EXPECT_EQ(value.second, "") << value.first;
    }
}

TEST(TemplateParser, CompleteParseFillsEveryTable)
{
    ReportFixture f;
    ASSERT_TRUE(f.Generate());
    const GPDFTemplateParser& p = f.generator->GetParser();
    EXPECT_TRUE(p.GetParseResult());
    EXPECT_TRUE(p.IsParseFinished());
    EXPECT_EQ(p.GetCurrentTag(), 19);
    const std::map<std::string, std::string> general = {
        {"$TAG_PRINTER_NAME", "Press 4"},
        {"$TAG_MEDIA_NAME", "Gloss 250"},
        {"$TAG_DATE", "2024-01-31"},
        {"$TAG_TIME", "14:30:25"},
        {"$TAG_CREATOR", "TintlibDOC 1.06 Host 3.2"},
        {"$TAG_DEVICE", "Tintora S2"},
        {"$TAG_REFERENCE", "Doc12.ref"},
        {"$TAG_MEASUREMENT", f.base + ".cxf"},
        {"$TAG_EVALUATION", "Media Absolute"},
        {"$TAG_TOLERANCE", "QuorvaneDOC.xml"},
        {"$TAG_COLOR_DISTANCE_FORMULA", "Delta E"},
        {"$TAG_CONTROL_STRIP", "Chart12"},
        {"$TAG_IMAGE_GLOBAL_PASSED", "RED"},
        {"$TAG_NUM_PATCHES", "12"},
        {"$TAG_MEAS_CONDITION", f.base},
        {"$TAG_BACKING", "White Backing"},
        {"$TAG_DELTA_E_FORMULA", ""},
    };
    EXPECT_EQ(p.GetGeneralValues(), general);

    std::set<int> errorKeys;
    for (const auto& e : p.GetErrorValues())
        errorKeys.insert(e.first);
    std::set<int> expectedKeys;
    for (int v = 0; v <= 43; ++v)
        if (v != 11 && v != 14)
            expectedKeys.insert(v);
    EXPECT_EQ(errorKeys, expectedKeys);
    EXPECT_EQ(p.GetToleranceImages().size(), 44u);
    EXPECT_EQ(p.GetToleranceTexts().size(), 44u);
    EXPECT_EQ(p.GetErrorValues().at(1), "6.00");
    for (int a = 0; a < 10; ++a)
        EXPECT_EQ(p.GetPatchValues(a).size(), a == 1 ? 0u : 12u) << a;
    EXPECT_EQ(p.GetPatchValues(DOCReport::ePatchWithinTolerance)[5], "YELLOW");
    EXPECT_EQ(p.GetPatchValues(DOCReport::ePatchName)[11], "P12");
}

TEST(TemplateParser, DeltaEFormulaSubscript)
{
    const std::vector<std::pair<int, const char*>> cases = {{0, ""}, {1, ""}, {2, ""}, {3, "94"}, {4, "00"}, {9, ""}};
    for (const auto& c : cases) {
        ReportFixture f;
        f.WriteTolerance("Case.xml", "<colorDistanceFormula>" + std::to_string(c.first) +
                                         "</colorDistanceFormula>\n" + QuorvaneLimits());
        f.SetTag("DOCSettingsFile", "Tolerances/Case.xml");
        ASSERT_TRUE(f.Generate());
        EXPECT_EQ(f.generator->GetParser().GeneralValue("$TAG_DELTA_E_FORMULA"), c.second) << c.first;
    }
}

TEST(TemplateParser, MissingPrinterOrMediaEndsTheParse)
{
    const std::vector<std::pair<const char*, int>> cases = {{"DOCPrinter", 0}, {"DOCMedia", 1}};
    for (const auto& c : cases) {
        ReportFixture f;
        f.RemoveTag(c.first);
        EXPECT_FALSE(f.Generate()) << c.first;
        const GPDFTemplateParser& p = f.generator->GetParser();
        EXPECT_FALSE(p.GetParseResult());
        EXPECT_EQ(p.GetCurrentTag(), c.second);
        EXPECT_TRUE(p.GetErrorValues().empty());
        EXPECT_EQ(p.GeneralValue("$TAG_DATE"), "");
        EXPECT_FALSE(f.ReportWritten()) << c.first;
        EXPECT_TRUE(ReportMessages().empty()) << "a parse that fails is no error message";
        EXPECT_TRUE(f.generator->IsParseFinished());
    }
}

TEST(TemplateParser, StopRequestBeforeTheParse)
{
    ReportFixture f;
    ReportGenerator& g = f.Prepare();
    g.GetParser().SetQuitFlag(true);
    EXPECT_FALSE(g.GenerateRaport());
    const GPDFTemplateParser& p = g.GetParser();
    EXPECT_EQ(p.GetCurrentTag(), -1);
    for (const auto& value : p.GetGeneralValues())
        EXPECT_EQ(value.second, "") << value.first;
    EXPECT_TRUE(p.GetToleranceImages().empty());
    EXPECT_TRUE(p.GetPatchValues(0).empty());
    EXPECT_FALSE(f.ReportWritten());
    EXPECT_TRUE(ReportMessages().empty());
    EXPECT_TRUE(p.IsParseFinished());
}

TEST(TemplateParser, StopRequestFromAnotherThread)
{
    for (int round = 0; round < 3; ++round) {
        ReportFixture f;
        ReportGenerator& g = f.Prepare();
        bool produced = false;
        std::thread worker([&] { produced = g.GenerateRaport(); });
        g.QuitParse();   // returns only once no parse runs
        worker.join();
        EXPECT_TRUE(g.GetParser().IsParseFinished());
        // Either the parse was complete before the stop, or nothing was written.
        EXPECT_EQ(produced, f.ReportWritten());
        EXPECT_EQ(produced, g.GetParser().GetParseResult());
    }
}

TEST(TemplateParser, WhitePointVerdictWithoutChecker)
{
    ReportFixture f;
    f.WriteTolerance("Case.xml", QuorvaneLimits("<paperWhiteTotalError>0.5</paperWhiteTotalError>\n"));
    f.SetTag("DOCSettingsFile", "Tolerances/Case.xml");
    ASSERT_TRUE(f.Generate());
    const auto& images = f.generator->GetParser().GetToleranceImages();
    EXPECT_EQ(images.at(10), "RED");
    EXPECT_EQ(images.at(11), "RED");
    EXPECT_EQ(f.generator->GetParser().GetToleranceTexts().at(11), "< 0.50");

    // Every checker answers the white point with GREEN.
    ReportFixture withChecker;
    withChecker.SetTag("DOCReportTemplate", "FOGRA_PSD_2022");
    withChecker.SetTag("DOCSettingsFile", "Tolerances/FograPSD2022.xml");
    ASSERT_TRUE(withChecker.Generate());
    EXPECT_EQ(withChecker.generator->GetParser().GetToleranceImages().at(11), "GREEN");
    EXPECT_EQ(withChecker.generator->GetParser().GetToleranceImages().at(9), "GREEN");
}
