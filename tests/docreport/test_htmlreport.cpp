// Tests of the HTML view of a DOC report: reading the XML, the rows each report type
// evaluates, the limits, escaping, the page's self-containment and the atomic write.
#include "HtmlReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/htmlreport-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        path_ = made ? made : "";
    }
    ~TempDir()
    {
        if (!path_.empty())
            std::system(("rm -rf '" + path_ + "'").c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A report as the library writes it, with the values the tests look at.
std::string ReportXml(const std::string& type, const std::string& printer = "Press 4")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<docReport>\n"
           "<GlobalPassed>Not Passed</GlobalPassed>\n"
           "<MeasurementName>/w/m.cxf</MeasurementName>\n"
           "<Printer>" + printer + "</Printer>\n"
           "<Creator>TintlibDOC 1.06 docreport 1.0</Creator>\n"
           "<Media>Gloss 115</Media>\n"
           "<DateTime>2025-03-10T09:37:00</DateTime>\n"
           "<MeasurementDevice>Tintora Strip</MeasurementDevice>\n"
           "<ReportType>" + type + "</ReportType>\n"
           "<ColorDistanceFormula>Delta E 2000</ColorDistanceFormula>\n"
           "<ToleranceSet>Set.xml</ToleranceSet>\n"
           "<AverageTotal WithinTolerance=\"Passed\">0.34</AverageTotal>\n"
           "<MaximumTotal WithinTolerance=\"Not Passed\">6.10</MaximumTotal>\n"
           "<AverageGrayscale WithinTolerance=\"Passed\">0.49</AverageGrayscale>\n"
           "<Media WithinTolerance=\"Passed\">0.20</Media>\n"
           "<Quantile95 WithinTolerance=\"Passed\">0.60</Quantile95>\n"
           "<Gamutcheck>Passed</Gamutcheck>\n"
           "<IdeSpecialgray WithinTolerance=\"Not calculated\"/>\n"
           "<AverageWDeltaLstar WithinTolerance=\"Passed\">0.2</AverageWDeltaLstar>\n"
           "<G7KSolids WithinTolerance=\"Not Passed\">0.8</G7KSolids>\n"
           "<FograPSD2022-CP-Substrate WithinTolerance=\"Passed\">0.4</FograPSD2022-CP-Substrate>\n"
           "<FograPSD2022-MA-Quantile95 WithinTolerance=\"Not Passed\">3.6</FograPSD2022-MA-Quantile95>\n"
           "<FograPSD2022-MR-Whitepoint WithinTolerance=\"Passed\">0.2</FograPSD2022-MR-Whitepoint>\n"
           "<Measurements>\n"
           "<Measurement Name=\"A1\"><Ref_L>95.00</Ref_L><Ref_a>-0.00</Ref_a><Ref_b>-2.00</Ref_b>"
           "<L>94.96</L><a>0.25</a><b>-2.10</b><Spectral>0.9 0.9</Spectral><DeltaE>0.38</DeltaE>"
           "<WithinTolerance>Passed</WithinTolerance></Measurement>\n"
           "<Measurement Name=\"D11\"><Ref_L>60.00</Ref_L><Ref_a>1.00</Ref_a><Ref_b>2.00</Ref_b>"
           "<L>58.00</L><a>4.00</a><b>-1.50</b><Spectral/><DeltaE>4.65</DeltaE>"
           "<WithinTolerance>Not Passed</WithinTolerance></Measurement>\n"
           "<Measurement Name=\"E1\"><Ref_L>50.00</Ref_L><Ref_a>0.00</Ref_a><Ref_b>0.00</Ref_b>"
           "<L>50.50</L><a>1.00</a><b>1.00</b><Spectral/><DeltaE>2.10</DeltaE>"
           "<WithinTolerance>Passed , above average</WithinTolerance></Measurement>\n"
           "</Measurements>\n</docReport>\n";
}

HtmlReport::Report Parsed(const std::string& xml)
{
    HtmlReport::Report report;
    std::string error;
    EXPECT_TRUE(HtmlReport::ParseReport(xml, report, error)) << error;
    return report;
}

std::vector<std::string> Elements(const std::vector<HtmlReport::ValueGroup>& groups)
{
    std::vector<std::string> out;
    for (const auto& g : groups)
        for (const auto& r : g.rows)
            out.push_back(r.element);
    return out;
}

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

TEST(HtmlReportEscape, ReplacesEveryMarkupCharacter)
{
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"plain", "plain"},
        {"a&b", "a&amp;b"},
        {"<script>", "&lt;script&gt;"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"it's", "it&#39;s"},
        {"&amp;", "&amp;amp;"},
        {"", ""},
        {"ΔE 2000", "ΔE 2000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HtmlReport::Escape(c.in), c.out) << c.in;
}

TEST(HtmlReportVerdict, ClassOfEachVerdictText)
{
    EXPECT_STREQ(HtmlReport::VerdictClass("Passed"), "pass");
    EXPECT_STREQ(HtmlReport::VerdictClass("Not Passed"), "fail");
    EXPECT_STREQ(HtmlReport::VerdictClass("Passed , above average"), "warn");
    EXPECT_STREQ(HtmlReport::VerdictClass("Not calculated"), "none");
    EXPECT_STREQ(HtmlReport::VerdictClass(""), "none");
    EXPECT_STREQ(HtmlReport::VerdictClass("passed"), "none");
}

TEST(HtmlReportParse, RejectsWhatIsNoReport)
{
    const struct
    {
        const char* xml;
        const char* error;
    } cases[] = {
        {"", "well-formed"},
        {"<docReport><GlobalPassed>Passed</docReport>", "well-formed"},
        {"<settings><GlobalPassed>Passed</GlobalPassed></settings>", "root element"},
        {"<docReport><Printer>P</Printer></docReport>", "GlobalPassed"},
    };
    for (const auto& c : cases) {
        HtmlReport::Report report;
        std::string error;
        EXPECT_FALSE(HtmlReport::ParseReport(c.xml, report, error)) << c.xml;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(HtmlReportParse, ReadsHeaderValuesAndPatches)
{
    const HtmlReport::Report r = Parsed(ReportXml("QUORVANE_DOC"));
    EXPECT_EQ(r.globalPassed, "Not Passed");
    EXPECT_EQ(r.printer, "Press 4");
    EXPECT_EQ(r.dateTime, "2025-03-10T09:37:00");
    EXPECT_EQ(r.device, "Tintora Strip");
    EXPECT_EQ(r.reportType, "QUORVANE_DOC");
    EXPECT_EQ(r.colorDistanceFormula, "Delta E 2000");
    EXPECT_EQ(r.toleranceSet, "Set.xml");
    // "Media" is the media name and, with the attribute, the paper white value.
    EXPECT_EQ(r.media, "Gloss 115");
    ASSERT_EQ(r.values.count("Media"), 1u);
    EXPECT_EQ(r.values.at("Media").text, "0.20");
    EXPECT_EQ(r.values.at("MaximumTotal").verdict, "Not Passed");
    // An uncomputed statistic keeps its verdict and has no text.
    EXPECT_EQ(r.values.at("IdeSpecialgray").text, "");
    EXPECT_EQ(r.values.at("IdeSpecialgray").verdict, "Not calculated");
    // The gamut check's text is its verdict.
    EXPECT_FALSE(r.values.at("Gamutcheck").hasVerdict);
    EXPECT_EQ(r.values.at("Gamutcheck").verdict, "Passed");
    EXPECT_EQ(r.values.at("Gamutcheck").text, "");
    ASSERT_EQ(r.patches.size(), 3u);
    EXPECT_EQ(r.patches[1].name, "D11");
    EXPECT_EQ(r.patches[1].refL, "60.00");
    EXPECT_EQ(r.patches[1].b, "-1.50");
    EXPECT_EQ(r.patches[1].deltaE, "4.65");
    EXPECT_EQ(r.patches[1].verdict, "Not Passed");
    EXPECT_EQ(r.patches[2].verdict, "Passed , above average");
}

TEST(HtmlReportGroups, EachReportTypeShowsWhatItEvaluates)
{
    const struct
    {
        const char* type;
        std::vector<std::string> shown;
        std::vector<std::string> hidden;
        std::vector<std::string> further;
    } cases[] = {
        {"QUORVANE_DOC",
         {"AverageTotal", "MaximumTotal", "Media", "Quantile95", "Gamutcheck", "AverageGrayscale", "IdeSpecialgray"},
         {"AverageWDeltaLstar", "G7KSolids", "FograPSD2022-CP-Substrate", "FograPSD2022-MA-Quantile95"},
         {}},
        {"IDEAllianceCW_2013", {"AverageTotal", "IdeSpecialgray"}, {"G7KSolids", "FograPSD2022-MR-Whitepoint"}, {}},
        {"FOGRA_PSD_2022",
         {"FograPSD2022-CP-Substrate", "FograPSD2022-MA-Quantile95", "FograPSD2022-MR-Whitepoint"},
         {"AverageTotal", "G7KSolids"},
         {"AverageTotal", "MaximumTotal", "Media", "Gamutcheck"}},
        {"FOGRA_PSD_2022_Side-by-Side",
         {"FograPSD2022-MA-Quantile95"},
         {"FograPSD2022-CP-Substrate", "FograPSD2022-MR-Whitepoint"},
         {"AverageTotal"}},
        {"FOGRA_PSD_2022_mediarelative",
         {"FograPSD2022-MR-Whitepoint"},
         {"FograPSD2022-CP-Substrate", "FograPSD2022-MA-Quantile95"},
         {"AverageTotal"}},
        {"IDEAllianceG7MasterPassFail-Targeted",
         {"AverageWDeltaLstar", "G7KSolids", "Media"},
         {"AverageTotal", "MaximumTotal", "FograPSD2022-CP-Substrate"},
         {"AverageTotal", "MaximumTotal", "Quantile95"}},
        {"IDEAllianceG7MasterPassFail-Colorspace-Proof",
         {"AverageWDeltaLstar", "G7KSolids", "AverageTotal", "MaximumTotal", "Quantile95"},
         {"FograPSD2022-MA-Quantile95"},
         {"AverageGrayscale"}},
        {"IDEAllianceG7MasterPassFail-Colorspace-Press",
         {"AverageTotal", "Quantile95", "G7KSolids"},
         {"MaximumTotal"},
         {"MaximumTotal"}},
    };
    for (const auto& c : cases) {
        const HtmlReport::Report r = Parsed(ReportXml(c.type));
        const std::vector<std::string> shown = Elements(HtmlReport::EvaluatedGroups(r, {}));
        for (const auto& e : c.shown)
            EXPECT_TRUE(Contains(shown, e)) << c.type << " lacks " << e;
        for (const auto& e : c.hidden)
            EXPECT_FALSE(Contains(shown, e)) << c.type << " shows " << e;
        std::vector<std::string> further;
        for (const auto& row : HtmlReport::FurtherRows(r))
            further.push_back(row.element);
        for (const auto& e : c.further)
            EXPECT_TRUE(Contains(further, e)) << c.type << " further lacks " << e;
        for (const auto& e : shown)
            EXPECT_FALSE(Contains(further, e)) << c.type << " shows " << e << " twice";
        if (c.further.empty()) {
            EXPECT_TRUE(further.empty()) << c.type;
        }
    }
}

TEST(HtmlReportGroups, RowsCarryTheReportsTextsAndTheLimits)
{
    HtmlReport::Supplement s;
    s.tolerances = {{"maximumTotalError", 6.0}, {"cp_paperWhiteTotalError", 3.0}, {"ma_95thPercentile", 3.5},
                    {"blackColorTotalError", 5.26}};
    const struct
    {
        const char* type;
        const char* element;
        const char* statistic;
        const char* limit;
        const char* verdict;
    } cases[] = {
        {"QUORVANE_DOC", "MaximumTotal", "6.10", "< 6.00", "Not Passed"},
        {"QUORVANE_DOC", "AverageTotal", "0.34", "", "Passed"},  // limit not in the set
        {"QUORVANE_DOC", "Gamutcheck", "", "", "Passed"},
        {"QUORVANE_DOC", "IdeSpecialgray", "", "", "Not calculated"},
        {"FOGRA_PSD_2022", "FograPSD2022-CP-Substrate", "0.4", "≤ 3.0", "Passed"},
        {"FOGRA_PSD_2022", "FograPSD2022-MA-Quantile95", "3.6", "< 3.5", "Not Passed"},
        {"IDEAllianceG7MasterPassFail-Targeted", "G7KSolids", "0.8", "≤ 5.3", "Not Passed"},
    };
    for (const auto& c : cases) {
        const HtmlReport::Report r = Parsed(ReportXml(c.type));
        bool found = false;
        for (const auto& g : HtmlReport::EvaluatedGroups(r, s))
            for (const auto& row : g.rows)
                if (row.element == c.element) {
                    found = true;
                    EXPECT_EQ(row.statistic, c.statistic) << c.element;
                    EXPECT_EQ(row.limit, c.limit) << c.element;
                    EXPECT_EQ(row.verdict, c.verdict) << c.element;
                }
        EXPECT_TRUE(found) << c.type << " " << c.element;
    }
}

TEST(HtmlReportRender, EscapesEveryTextOfTheReport)
{
    std::string xml = ReportXml("QUORVANE_DOC", "&lt;script&gt;alert(1)&lt;/script&gt; &amp; \"Co\"");
    const std::string hostile = "Name=\"A1\"";
    xml.replace(xml.find(hostile), hostile.size(), "Name=\"&lt;img src=x onerror=alert(2)&gt;\"");
    HtmlReport::Supplement s;
    s.reference = "<b>ref</b>";
    const std::string page = HtmlReport::Render(Parsed(xml), s);
    EXPECT_EQ(page.find("<script>alert"), std::string::npos);
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(page.find("<b>ref"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;Co&quot;"), std::string::npos);
    EXPECT_NE(page.find("&lt;img src=x onerror=alert(2)&gt;"), std::string::npos);
    EXPECT_NE(page.find("&lt;b&gt;ref&lt;/b&gt;"), std::string::npos);
}

TEST(HtmlReportRender, PageIsSelfContainedAndShowsTheVerdicts)
{
    const std::string page = HtmlReport::Render(Parsed(ReportXml("QUORVANE_DOC")), {});
    for (const char* external : {"http:", "https:", "//cdn", "<link", " src=", "@import", "url("})
        EXPECT_EQ(page.find(external), std::string::npos) << external;
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("id=\"global-verdict\" data-verdict=\"Not Passed\""), std::string::npos);
    EXPECT_NE(page.find("class=\"global fail\""), std::string::npos);
    EXPECT_NE(page.find("<tr data-element=\"MaximumTotal\" class=\"fail\">"), std::string::npos);
    EXPECT_NE(page.find("<svg id=\"histogram\""), std::string::npos);
    EXPECT_NE(page.find("<svg id=\"ab-plot\""), std::string::npos);
    EXPECT_NE(page.find("data-de=\"4.65\" class=\"fail\""), std::string::npos);
    EXPECT_NE(page.find("<span class=\"badge warn\">Passed , above average</span>"), std::string::npos);
    EXPECT_NE(page.find("<dd id=\"fact-date\">2025-03-10 09:37:00</dd>"), std::string::npos);
    // The largest ΔE is named in the summary, and the missing limits are told.
    EXPECT_NE(page.find("<b id=\"worst-de\">4.65</b><span>largest ΔE (D11)"), std::string::npos);
    EXPECT_NE(page.find("limits of the tolerance set were not available"), std::string::npos);
    EXPECT_NE(page.find("<b id=\"count-fail\">1</b>"), std::string::npos);
    EXPECT_NE(page.find("<b id=\"count-warn\">1</b>"), std::string::npos);
}

TEST(HtmlReportRender, SurvivesReportsWithoutNumbers)
{
    std::string xml = "<docReport><GlobalPassed>Passed</GlobalPassed><Measurements>"
                      "<Measurement Name=\"X\"><L>abc</L><DeltaE>n/a</DeltaE></Measurement>"
                      "</Measurements></docReport>";
    const std::string page = HtmlReport::Render(Parsed(xml), {});
    EXPECT_NE(page.find("No patch carries a ΔE value."), std::string::npos);
    EXPECT_NE(page.find("No patch carries reference and measured Lab values."), std::string::npos);
    EXPECT_NE(page.find("class=\"global pass\""), std::string::npos);
    EXPECT_NE(page.find("The report holds no value that its type evaluates."), std::string::npos);
}

TEST(HtmlReportSupplement, ReadsReferenceAndLimitsAsTheLibraryResolvesThem)
{
    TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    ASSERT_EQ(::mkdir((dir.path() + "/Tolerances").c_str(), 0755), 0);
    WriteText(dir.path() + "/Tolerances/Set.xml",
              "<settings><reportType>QUORVANE_DOC</reportType><averageTotalError>3.0</averageTotalError>"
              "<maximumTotalError>6.5</maximumTotalError><bad>x</bad></settings>");
    WriteText(dir.path() + "/job.xml",
              "<Job><DOCReferenceFile>DOCReferences/DOC_Chart_CMYK.ref</DOCReferenceFile>"
              "<DOCSettingsFile>Tolerances/Set.xml</DOCSettingsFile></Job>");
    HtmlReport::Supplement s;
    std::string error;
    ASSERT_TRUE(HtmlReport::LoadSupplement(dir.path() + "/job.xml", dir.path(), s, error)) << error;
    EXPECT_EQ(s.reference, "DOC_Chart_CMYK.ref");
    EXPECT_DOUBLE_EQ(s.tolerances.at("maximumTotalError"), 6.5);
    EXPECT_DOUBLE_EQ(s.tolerances.at("averageTotalError"), 3.0);
    EXPECT_EQ(s.tolerances.count("bad"), 0u);
    EXPECT_EQ(s.tolerances.count("reportType"), 0u);

    // A tolerance set that is missing keeps the reference and tells why.
    WriteText(dir.path() + "/job2.xml",
              "<Job><DOCReferenceFile>/abs/R.ref</DOCReferenceFile>"
              "<DOCSettingsFile>Tolerances/None.xml</DOCSettingsFile></Job>");
    EXPECT_FALSE(HtmlReport::LoadSupplement(dir.path() + "/job2.xml", dir.path(), s, error));
    EXPECT_EQ(s.reference, "/abs/R.ref");
    EXPECT_TRUE(s.tolerances.empty());
    EXPECT_NE(error.find("None.xml"), std::string::npos);

    WriteText(dir.path() + "/job.txt", "TINTORA_MEASUREMENT 1\n");
    EXPECT_FALSE(HtmlReport::LoadSupplement(dir.path() + "/job.txt", dir.path(), s, error));
    EXPECT_TRUE(s.reference.empty());
}

TEST(HtmlReportLoad, ReadsAFileAndNamesItInErrors)
{
    TempDir dir;
    WriteText(dir.path() + "/r.xml", ReportXml("QUORVANE_DOC"));
    HtmlReport::Report r;
    std::string error;
    ASSERT_TRUE(HtmlReport::LoadReport(dir.path() + "/r.xml", r, error)) << error;
    EXPECT_EQ(r.patches.size(), 3u);
    EXPECT_FALSE(HtmlReport::LoadReport(dir.path() + "/absent.xml", r, error));
    EXPECT_NE(error.find("absent.xml"), std::string::npos);
    WriteText(dir.path() + "/bad.xml", "<settings/>");
    EXPECT_FALSE(HtmlReport::LoadReport(dir.path() + "/bad.xml", r, error));
    EXPECT_NE(error.find("bad.xml"), std::string::npos);
}

TEST(HtmlReportWrite, ReplacesTheFileWholeOrLeavesItAlone)
{
    TempDir dir;
    const std::string path = dir.path() + "/page.html";
    std::string error;
    ASSERT_TRUE(HtmlReport::WriteFileAtomically(path, "first", error)) << error;
    ASSERT_TRUE(HtmlReport::WriteFileAtomically(path, "second page", error)) << error;
    EXPECT_EQ(ReadText(path), "second page");
    EXPECT_FALSE(HtmlReport::WriteFileAtomically(dir.path() + "/no/such/page.html", "x", error));
    EXPECT_NE(error.find("page.html"), std::string::npos);
    // No scratch file is left behind.
    std::string listing;
    FILE* ls = ::popen(("ls -A '" + dir.path() + "'").c_str(), "r");
    ASSERT_NE(ls, nullptr);
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, ls))
        listing += buffer;
    ::pclose(ls);
    EXPECT_EQ(listing, "page.html\n");
}
