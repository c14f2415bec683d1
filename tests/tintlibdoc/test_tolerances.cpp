// Tests of TolerancesData (tolerance XML files, lenient numbers) and the report-type
// catalogue ToleranceSetsDOC.
#include "ToleranceSetsDOC.h"
#include "Tolerances.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
std::string Fixture(const std::string& name) { return std::string(VANTREL_TEST_DATA_DIR) + "/tintlibdoc/tolerances/" + name; }

// Every limit of the object in field order.
std::vector<float> Limits(const TolerancesData& t)
{
    return {t.averageTotalError,
            t.maximumTotalError,
            t.primaryColorsTotalError,
            t.paperWhiteTotalError,
            t.grayBalanceError,
            t.deviationBest90Error,
            t.grayBalanceIDEASpecialError,
            t.paperWhiteTotalLError,
            t.paperWhiteTotalaError,
            t.paperWhiteTotalbError,
            t.averageWDeltaLstarError,
            t.maximumWDeltaLstarError,
            t.averageWDeltaChError,
            t.maximumWDeltaChError,
            t.blackColorTotalError,
            t.secondaryColorsTotalError,
            t.deviationTotalError,
            t.cp_paperWhiteTotalError,
            t.cp_maximumTotalError,
            t.cp_averageTotalError,
            t.cp_grayBalanceError,
            t.cp_averageGrayBalanceError,
            t.cp_primaryColorsTotalError,
            t.cp_primaryColorsDeltaHTotalError,
            t.vp_paperWhiteTotalError,
            t.vp_averageNoBoundaryColorsError,
            t.vp_95thPercentileNoBoundaryColors,
            t.vp_grayBalanceError,
            t.vp_averageGrayBalanceError,
            t.ma_paperWhiteTotalError,
            t.ma_averageTotalError,
            t.ma_maximumTotalError,
            t.ma_95thPercentile,
            t.ma_grayBalanceError,
            t.mr_averageTotalError,
            t.mr_95thPercentile,
            t.mr_grayBalanceError,
            t.mr_whitepoint,
            t.mr_blackpoint};
}

class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/vantrel-tolerances-XXXXXX";
        const char* made = mkdtemp(pattern);
        EXPECT_NE(made, nullptr);
        path = made != nullptr ? made : "";
    }
    ~TempDir()
    {
        for (const std::string& f : files)
            unlink(f.c_str());
        rmdir(path.c_str());
    }
    std::string File(const std::string& name)
    {
        files.push_back(path + "/" + name);
        return files.back();
    }
    std::string path;

private:
    std::vector<std::string> files;
};
}  // namespace

TEST(TolerancesData, ConstructorSetsEveryLimit)
{
    const TolerancesData t(1000.0f);
    const std::vector<float> limits = Limits(t);
    ASSERT_EQ(limits.size(), static_cast<size_t>(TolerancesData::kKeyCount));
    for (float v : limits)
        EXPECT_EQ(v, 1000.0f);
    EXPECT_EQ(t.colorDistanceFormula, 4);
    EXPECT_TRUE(t.reportTypes.empty());
}

TEST(TolerancesData, ResetAndCopy)
{
    TolerancesData t(3.0f);
    t.reportTypes.insert("FOGRA_PSD");
    t.colorDistanceFormula = 1;
    t.mr_blackpoint = 7.0f;
    const TolerancesData copy(t);
    EXPECT_EQ(copy.mr_blackpoint, 7.0f);
    EXPECT_EQ(copy.reportTypes, t.reportTypes);
    t.resetAtributes();
    for (float v : Limits(t))
        EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(t.colorDistanceFormula, 1);
    EXPECT_EQ(t.reportTypes.count("FOGRA_PSD"), 1u);
    EXPECT_EQ(copy.averageTotalError, 3.0f);
}

TEST(TolerancesData, RequiredElementsOnlyKeepTheConstructorValues)
{
    TolerancesData t(1000.0f);
    ASSERT_TRUE(t.LoadFromXML(Fixture("required_only.xml")));
    for (float v : Limits(t))
        EXPECT_EQ(v, 1000.0f);
    EXPECT_EQ(t.colorDistanceFormula, 0);
    EXPECT_EQ(t.reportTypes, (std::set<std::string>{"QUORVANE_DOC"}));
}

TEST(TolerancesData, EveryKeyReachesItsField)
{
    TolerancesData t(1000.0f);
    ASSERT_TRUE(t.LoadFromXML(Fixture("all_keys.xml")));
    // Key number k holds k + 0.5; a repeated element does not replace the first.
    const std::vector<float> limits = Limits(t);
    for (size_t i = 0; i < limits.size(); ++i)
        EXPECT_EQ(limits[i], static_cast<float>(i + 1) + 0.5f) << "key " << i + 1;
    EXPECT_EQ(t.colorDistanceFormula, 1);
    EXPECT_EQ(t.reportTypes, (std::set<std::string>{"IDEAllianceCW_2013", "FOGRA_PSD"}));
}

TEST(TolerancesData, DeclarationLinesAndBlanksAroundNumbers)
{
    TolerancesData t(1000.0f);
    ASSERT_TRUE(t.LoadFromXML(Fixture("declaration_lines.xml")));
    EXPECT_EQ(t.averageTotalError, 2.5f);
    EXPECT_EQ(t.maximumTotalError, 4.25f);
    EXPECT_EQ(t.colorDistanceFormula, 3);
    EXPECT_EQ(t.reportTypes.count(ToleranceSetsDOC::DOC_REPORTTYPE_FOGRAPSD_2022), 1u);
    EXPECT_EQ(t.primaryColorsTotalError, 1000.0f);
}

TEST(TolerancesData, TextsThatAreNoNumberKeepTheCurrentValue)
{
    TolerancesData t(1000.0f);
    ASSERT_TRUE(t.LoadFromXML(Fixture("lenient_values.xml")));
    EXPECT_EQ(t.colorDistanceFormula, 4);
    EXPECT_EQ(t.averageTotalError, 1000.0f);        // "abc"
    EXPECT_EQ(t.maximumTotalError, 1000.0f);        // empty element
    EXPECT_EQ(t.primaryColorsTotalError, 1000.0f);  // not a finite number
    EXPECT_EQ(t.paperWhiteTotalError, 3.0f);        // "3,5": the number ends at the comma
    EXPECT_EQ(t.grayBalanceError, 100.0f);
    EXPECT_EQ(t.deviationBest90Error, -2.0f);
}

TEST(TolerancesData, FormulaOutsideTheEnumerationIsStoredAsRead)
{
    TolerancesData t(1.0f);
    ASSERT_TRUE(t.LoadFromXML(Fixture("formula_out_of_range.xml")));
    EXPECT_EQ(t.colorDistanceFormula, 7);
    // An empty "reportType" still declares a (nameless) report type.
    EXPECT_EQ(t.reportTypes, (std::set<std::string>{""}));
}

TEST(TolerancesData, FailingLoads)
{
    TempDir dir;
    const std::string oversized = dir.File("oversized.xml");
    {
        std::ofstream out(oversized);
        out << "<settings><reportType>QUORVANE_DOC</reportType><colorDistanceFormula>4</colorDistanceFormula>";
    }
    ASSERT_EQ(truncate(oversized.c_str(), 16 * 1024 * 1024 + 1), 0);
    const std::string empty = dir.File("empty.xml");
    std::ofstream(empty).close();

    for (const std::string& path : {Fixture("wrong_root.xml"), Fixture("no_report_type.xml"), Fixture("no_formula.xml"),
                                    Fixture("malformed.xml"), Fixture("does_not_exist.xml"), dir.path, oversized, empty})
    {
        TolerancesData t(1000.0f);
        EXPECT_FALSE(t.LoadFromXML(path)) << path;
    }
}

TEST(TolerancesData, FailedLoadMayKeepWhatWasReadBefore)
{
    TolerancesData t(1000.0f);
    EXPECT_FALSE(t.LoadFromXML(Fixture("no_formula.xml")));
    EXPECT_EQ(t.reportTypes.count("QUORVANE_DOC"), 1u);
    EXPECT_EQ(t.averageTotalError, 1000.0f);
}

TEST(ToleranceNumbers, LenientReading)
{
    struct Case
    {
        const char* text;
        bool ok;
        float value;
    };
    for (const Case c : {Case{"2.5", true, 2.5f}, Case{" \t\n2.5 ", true, 2.5f}, Case{"+1.25x", true, 1.25f},
                         Case{".5", true, 0.5f}, Case{"-0.75", true, -0.75f}, Case{"", false, 9.0f},
                         Case{"   ", false, 9.0f}, Case{"x1", false, 9.0f}, Case{"inf", false, 9.0f},
                         Case{"1e999", false, 9.0f}})
    {
        float v = 9.0f;
        EXPECT_EQ(ToleranceNumbers::ReadFloat(c.text, v), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(v, c.value) << '"' << c.text << '"';
    }
    int i = 4;
    EXPECT_TRUE(ToleranceNumbers::ReadInt(" 12abc", i));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(ToleranceNumbers::ReadInt("3.9", i));
    EXPECT_EQ(i, 3);
    EXPECT_FALSE(ToleranceNumbers::ReadInt("four", i));
    EXPECT_FALSE(ToleranceNumbers::ReadInt(nullptr, i));
    EXPECT_FALSE(ToleranceNumbers::ReadInt("99999999999", i));
    EXPECT_EQ(i, 3);
}

TEST(ToleranceSetsDOC, ReportTypeGroups)
{
    EXPECT_TRUE(ToleranceSetsDOC::IsFograPSD2022("FOGRA_PSD_2022"));
    EXPECT_TRUE(ToleranceSetsDOC::IsFograPSD2022("FOGRA_PSD_2022_Side-by-Side"));
    EXPECT_TRUE(ToleranceSetsDOC::IsFograPSD2022("FOGRA_PSD_2022_mediarelative"));
    EXPECT_FALSE(ToleranceSetsDOC::IsFograPSD2022("FOGRA_PSD"));
    EXPECT_FALSE(ToleranceSetsDOC::IsFograPSD2022("fogra_psd_2022"));
    EXPECT_TRUE(ToleranceSetsDOC::IsG7MasterPassFail("IDEAllianceG7MasterPassFail-Targeted"));
    EXPECT_TRUE(ToleranceSetsDOC::IsG7MasterPassFail("IDEAllianceG7MasterPassFail-Colorspace-Proof"));
    EXPECT_TRUE(ToleranceSetsDOC::IsG7MasterPassFail("IDEAllianceG7MasterPassFail-Colorspace-Press"));
    EXPECT_FALSE(ToleranceSetsDOC::IsG7MasterPassFail("IDEAllianceCW_2013"));
    EXPECT_STREQ(ToleranceSetsDOC::DOC_REPORT_TEMPLATE_TAG_OLD, "DOCReportType");
}
