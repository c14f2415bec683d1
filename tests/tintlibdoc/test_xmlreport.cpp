// Tests of the XML report: the element list and order for the library's own, the Fogra
// PSD 2022 and a G7 report type, texts and verdicts, the -1 rule, the spectrum, the safe
// write, and the export end to end.
#include "ReportFixture.h"
#include "Tintlibdoc.h"
#include "Utils.h"
#include "XmlReportWriter.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <sys/stat.h>

namespace
{
const std::vector<std::string> kReportElements = {
    "GlobalPassed", "MeasurementName", "Printer", "Creator", "Media", "DateTime", "MeasurementDevice", "ReportType",
    "ColorDistanceFormula", "ToleranceSet", "AverageTotal", "MaximumTotal", "AverageGrayscale", "AverageGrayscaleC",
    "Media", "Primaries", "PrimariesH", "AverageAllPatches", "Quantile95", "Gamutcheck", "Grayscale",
    "IdeSpecialgray", "AverageWDeltaLstar", "MaximumWDeltaLstar", "AverageWDeltaCh", "MaximumWDeltaCh",
    "G7CMYSolids", "G7KSolids", "FograPSD2022-CP-Substrate", "FograPSD2022-CP-MaximumTotal",
    "FograPSD2022-CP-AverageTotal", "FograPSD2022-CP-MaximumGrayscale", "FograPSD2022-CP-AverageGrayscale",
    "FograPSD2022-CP-PrimariesH", "FograPSD2022-CP-Primaries", "FograPSD2022-VP-Substrate",
    "FograPSD2022-VP-AverageNoBoundaryColors", "FograPSD2022-VP-Quantile95NoBoundaryColors",
    "FograPSD2022-VP-MaximumGrayscale", "FograPSD2022-VP-AverageGrayscale", "FograPSD2022-MA-Substrate",
    "FograPSD2022-MA-MaximumTotal", "FograPSD2022-MA-AverageTotal", "FograPSD2022-MA-Quantile95",
    "FograPSD2022-MA-MaximumGrayscale", "FograPSD2022-MR-AverageTotal", "FograPSD2022-MR-Quantile95",
    "FograPSD2022-MR-MaximumGrayscale", "FograPSD2022-MR-Whitepoint", "FograPSD2022-MR-Blackpoint", "Measurements"};

const std::vector<std::string> kMeasurementElements = {"Ref_L", "Ref_a", "Ref_b", "L", "a", "b",
                                                       "Spectral", "DeltaE", "WithinTolerance"};

std::vector<std::string> ChildNames(const tinyxml2::XMLElement* parent)
{
    std::vector<std::string> names;
    for (const auto* e = parent->FirstChildElement(); e; e = e->NextSiblingElement())
        names.emplace_back(e->Name());
    return names;
}

// The n-th (from 0) child of `parent` called `name`.
const tinyxml2::XMLElement* Child(const tinyxml2::XMLElement* parent, const char* name, int n = 0)
{
    const auto* e = parent->FirstChildElement(name);
    while (e && n-- > 0)
        e = e->NextSiblingElement(name);
    return e;
}

std::string Text(const tinyxml2::XMLElement* e) { return e && e->GetText() ? e->GetText() : ""; }
std::string Verdict(const tinyxml2::XMLElement* e)
{
    const char* v = e ? e->Attribute("WithinTolerance") : nullptr;
    return v ? v : "<none>";
}

class XmlReport : public ::testing::Test
{
protected:
    // Runs the fixture and parses the written report.
    const tinyxml2::XMLElement* Run(ReportFixture& f)
    {
        EXPECT_TRUE(f.Generate());
        EXPECT_EQ(doc.LoadFile(f.ReportPath().c_str()), tinyxml2::XML_SUCCESS);
        const auto* root = doc.FirstChildElement("docReport");
        EXPECT_NE(root, nullptr);
        EXPECT_EQ(ChildNames(root), kReportElements);
        const auto* measurements = root->FirstChildElement("Measurements");
        EXPECT_EQ(ChildNames(measurements), std::vector<std::string>(12, "Measurement"));
        for (const auto* m = measurements->FirstChildElement(); m; m = m->NextSiblingElement())
            EXPECT_EQ(ChildNames(m), kMeasurementElements);
        return root;
    }
    tinyxml2::XMLDocument doc;
};
}  // namespace

TEST_F(XmlReport, QuorvaneDoc)
{
    ReportFixture f;
    const auto* r = Run(f);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(ReadText(f.ReportPath()).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<docReport>\n    <", 0), 0u);
    EXPECT_EQ(Text(Child(r, "GlobalPassed")), "Not Passed");
    EXPECT_EQ(Text(Child(r, "MeasurementName")), f.base + ".cxf");
    EXPECT_EQ(Text(Child(r, "Printer")), "Press 4");
    EXPECT_EQ(Text(Child(r, "Creator")), "TintlibDOC 1.06 Host 3.2");
    EXPECT_EQ(Text(Child(r, "Media")), "Gloss 250");
    EXPECT_EQ(Text(Child(r, "DateTime")), "2024-01-31T14:30:25");
    EXPECT_EQ(Text(Child(r, "MeasurementDevice")), "Tintora S2");
    EXPECT_EQ(Text(Child(r, "ReportType")), "QUORVANE_DOC");
    EXPECT_EQ(Text(Child(r, "ColorDistanceFormula")), "Delta E");
    EXPECT_EQ(Text(Child(r, "ToleranceSet")), "QuorvaneDOC.xml");

    EXPECT_EQ(Text(Child(r, "AverageTotal")), "1.58");
    EXPECT_EQ(Verdict(Child(r, "AverageTotal")), "Passed");
    EXPECT_EQ(Text(Child(r, "MaximumTotal")), "6.00");
    EXPECT_EQ(Verdict(Child(r, "MaximumTotal")), "Not Passed");
    // The second "Media" is the paper white value element.
    EXPECT_EQ(Text(Child(r, "Media", 1)), "1.00");
    EXPECT_EQ(Verdict(Child(r, "Media", 1)), "Passed");
    EXPECT_EQ(Text(Child(r, "Quantile95")), "3.00");
    EXPECT_EQ(Text(Child(r, "Gamutcheck")), "Passed");
    EXPECT_EQ(Verdict(Child(r, "Gamutcheck")), "<none>");
    // Not computed (-1): the attribute stays, the text goes.
    const auto* special = Child(r, "IdeSpecialgray");
    EXPECT_EQ(Verdict(special), "Not calculated");
    EXPECT_EQ(special->FirstChild(), nullptr);
    EXPECT_EQ(Child(r, "AverageWDeltaCh")->FirstChild() != nullptr, true);   // 0.00 is computed

    // Without a checker the Fogra PSD 2022 values are not judged but still printed.
    for (const char* name : {"FograPSD2022-CP-Substrate", "FograPSD2022-MA-Quantile95", "FograPSD2022-MR-Blackpoint"})
        EXPECT_EQ(Verdict(Child(r, name)), "Not calculated") << name;
    EXPECT_EQ(Text(Child(r, "FograPSD2022-CP-MaximumTotal")), "6.00");
    EXPECT_EQ(Text(Child(r, "FograPSD2022-MA-Quantile95")), "3.00");

    const auto* measurements = Child(r, "Measurements");
    const auto* gray = Child(measurements, "Measurement", 5);
    EXPECT_STREQ(gray->Attribute("Name"), "P06");
    EXPECT_EQ(Text(Child(gray, "Ref_L")), "60.00");
    EXPECT_EQ(Text(Child(gray, "L")), "57.00");
    EXPECT_EQ(Text(Child(gray, "DeltaE")), "3.00");
    EXPECT_EQ(Text(Child(gray, "WithinTolerance")), "Passed , above average");
    EXPECT_EQ(Text(Child(Child(measurements, "Measurement", 10), "WithinTolerance")), "Not Passed");
    EXPECT_EQ(Text(Child(Child(measurements, "Measurement", 0), "WithinTolerance")), "Passed");

    const std::string spectral = Text(Child(Child(measurements, "Measurement", 0), "Spectral"));
    std::vector<std::string> values;
    Utils::Split(spectral, values, " ");
    ASSERT_EQ(values.size(), 41u);
    EXPECT_EQ(values[0], "0.050000");
    EXPECT_EQ(values[39], "0.830000");
    EXPECT_EQ(values[40], "1.000000");   // 1.05 measured, limited to 1
}

TEST_F(XmlReport, FograPsd2022)
{
    ReportFixture f;
    f.SetTag("DOCReportTemplate", "FOGRA_PSD_2022");
    f.SetTag("DOCSettingsFile", "Tolerances/FograPSD2022.xml");
    const auto* r = Run(f);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(Text(Child(r, "GlobalPassed")), "Passed");
    EXPECT_EQ(Text(Child(r, "ReportType")), "FOGRA_PSD_2022");
    // One decimal, and every general value reads as passed under this checker.
    EXPECT_EQ(Text(Child(r, "AverageTotal")), "1.6");
    EXPECT_EQ(Verdict(Child(r, "AverageTotal")), "Passed");
    EXPECT_EQ(Text(Child(r, "MaximumTotal")), "6.0");
    EXPECT_EQ(Verdict(Child(r, "MaximumTotal")), "Passed");
    EXPECT_EQ(Text(Child(r, "FograPSD2022-CP-MaximumTotal")), "6.0");
    EXPECT_EQ(Verdict(Child(r, "FograPSD2022-CP-MaximumTotal")), "Passed");
    EXPECT_EQ(Text(Child(r, "FograPSD2022-MR-Whitepoint")), "1.0");
    const auto* measurements = Child(r, "Measurements");
    EXPECT_EQ(Text(Child(Child(measurements, "Measurement", 5), "WithinTolerance")), "Passed");
    EXPECT_EQ(Text(Child(Child(measurements, "Measurement", 10), "DeltaE")), "6.00");

    // A limit below the maximum turns the value, the patch and the report.
    ReportFixture strict;
    strict.SetTag("DOCReportTemplate", "FOGRA_PSD_2022");
    strict.WriteTolerance("Strict.xml", "<cp_maximumTotalError>5.5</cp_maximumTotalError>\n" +
                                            QuorvaneLimits("", "FOGRA_PSD_2022"));
    strict.SetTag("DOCSettingsFile", "Tolerances/Strict.xml");
    const auto* s = Run(strict);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Text(Child(s, "GlobalPassed")), "Not Passed");
    EXPECT_EQ(Verdict(Child(s, "FograPSD2022-CP-MaximumTotal")), "Not Passed");
    EXPECT_EQ(Text(Child(Child(Child(s, "Measurements"), "Measurement", 10), "WithinTolerance")), "Not Passed");
}

TEST_F(XmlReport, G7Targeted)
{
    ReportFixture f;
    f.SetTag("DOCReportTemplate", "IDEAllianceG7MasterPassFail-Targeted");
    f.SetTag("DOCSettingsFile", "Tolerances/G7Targeted.xml");
    const auto* r = Run(f);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(Text(Child(r, "GlobalPassed")), "Passed");
    EXPECT_EQ(Text(Child(r, "MaximumWDeltaLstar")), "3.0");
    EXPECT_EQ(Verdict(Child(r, "MaximumWDeltaLstar")), "Passed");
    EXPECT_EQ(Text(Child(r, "G7CMYSolids")), "2.0");
    EXPECT_EQ(Text(Child(r, "G7KSolids")), "1.0");
    // No IDEAlliance special gray in the chart: -1, so no text.
    EXPECT_EQ(Text(Child(r, "IdeSpecialgray")), "");
    EXPECT_EQ(Text(Child(Child(Child(r, "Measurements"), "Measurement", 10), "WithinTolerance")), "Passed");
}

TEST(XmlReportWriter, UncomputedTexts)
{
    for (const char* t : {"-1.0", "-1.00", "-1"})
        EXPECT_TRUE(XmlReportWriter::ReadsAsUncomputed(t)) << t;
    for (const char* t : {"0.00", "-1.01", "-0.99", "", "-1.0x", "1.00"})
        EXPECT_FALSE(XmlReportWriter::ReadsAsUncomputed(t)) << t;
}

TEST(XmlReportWriter, FailedWriteLeavesNothingAndIsOneMessage)
{
    ReportFixture f;
    // The report's name is taken by a folder: the final rename cannot succeed.
    ASSERT_TRUE(std::filesystem::create_directory(f.ReportPath()));
    std::filesystem::create_directory(f.ReportPath() + "/keep");
    EXPECT_FALSE(f.Generate());
    EXPECT_EQ(ReportMessages(), std::vector<std::string>{"The report file could not be written."});
    EXPECT_TRUE(std::filesystem::is_directory(f.ReportPath() + "/keep"));
    for (const auto& name : f.dir.Entries())
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

TEST(XmlReportWriter, ReplacesAnOlderReport)
{
    ReportFixture f;
    f.dir.Write(std::string(ReportFixture::kMeasurementName) + ".xml", "old");
    ASSERT_TRUE(f.Generate());
    EXPECT_NE(ReadText(f.ReportPath()).find("<docReport>"), std::string::npos);
    struct stat info;
    ASSERT_EQ(::stat(f.ReportPath().c_str(), &info), 0);
    EXPECT_NE(info.st_mode & 0444, 0u);
}

TEST(Export, GeneratesTheReportOfAFixtureJob)
{
    ReportFixture f;
    std::filesystem::copy(std::filesystem::path(VANTREL_TEST_DATA_DIR) / "tintlibdoc/report/Press4Report.xml",
                          f.dir.File("Press4Report.xml"));
    ASSERT_TRUE(Tintora_DOC_SetErrorHandler(&CollectReportMessage));
    Tintora_DOC_SetAppVersion("Host 9");
    const bool ok = Tintora_Generate_Xml_DocReport(f.dir.File("Press4Report.xml").c_str(), f.base.c_str(),
                                                   f.docFolder.c_str());
    Tintora_DOC_SetAppVersion("");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(ReportMessages().empty()) << ReportMessages().front();
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.LoadFile(f.ReportPath().c_str()), tinyxml2::XML_SUCCESS);
    const auto* root = doc.FirstChildElement("docReport");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildNames(root), kReportElements);
    EXPECT_EQ(Text(Child(root, "GlobalPassed")), "Not Passed");
    EXPECT_EQ(Text(Child(root, "Creator")), "TintlibDOC 1.06 Host 9");
    EXPECT_EQ(Text(Child(root, "Printer")), "Press 4");
    EXPECT_EQ(ChildNames(Child(root, "Measurements")).size(), 12u);

    // A job without a printer produces nothing, silently.
    ReportMessages().clear();
    std::string job = ReadText(f.dir.File("Press4Report.xml"));
    job.erase(job.find("<DOCPrinter>"), std::string("<DOCPrinter>Press 4</DOCPrinter>\n").size());
    f.dir.Write("NoPrinter.xml", job);
    std::filesystem::remove(f.ReportPath());
    EXPECT_FALSE(Tintora_Generate_Xml_DocReport(f.dir.File("NoPrinter.xml").c_str(), f.base.c_str(),
                                                f.docFolder.c_str()));
    EXPECT_FALSE(f.ReportWritten());
    EXPECT_TRUE(ReportMessages().empty());
}
