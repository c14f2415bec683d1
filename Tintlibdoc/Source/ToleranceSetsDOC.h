// ToleranceSetsDOC: the catalogue of job tag names and report-type names that the report
// library compares against (exact, case-sensitive).
#pragma once

#include <string>

class ToleranceSetsDOC
{
public:
    // Job tags.
    static constexpr char DOC_SETTINGS_FILE_TAG[] = "DOCSettingsFile";
    static constexpr char DOC_MEDIA_TAG[] = "DOCMedia";
    static constexpr char DOC_PRINTER_TAG[] = "DOCPrinter";
    static constexpr char DOC_MEDIA_TYPE_TAG[] = "DOCMediaType";
    static constexpr char DOC_REPORT_TEMPLATE_TAG[] = "DOCReportTemplate";
    static constexpr char DOC_REPORT_TEMPLATE_TAG_OLD[] = "DOCReportType";   // read when the first is absent

    // Report types.
    static constexpr char DOC_REPORTTYPE_QUORVANEDOC[] = "QUORVANE_DOC";
    static constexpr char DOC_REPORTTYPE_FOGRAPSD[] = "FOGRA_PSD";
    static constexpr char DOC_REPORTTYPE_FOGRAPSDREL[] = "FOGRA_PSD_REL";
    static constexpr char DOC_REPORTTYPE_IDEALLIANCECW_2013[] = "IDEAllianceCW_2013";
    static constexpr char DOC_REPORTTYPE_IDEALLIANCEDCS_2009[] = "IDEAllianceDCS_2009";
    static constexpr char DOC_REPORTTYPE_G7_MASTERPF_PROOF[] = "IDEAllianceG7MasterPassFail-Colorspace-Proof";
    static constexpr char DOC_REPORTTYPE_G7_MASTERPF_PRESS[] = "IDEAllianceG7MasterPassFail-Colorspace-Press";
    static constexpr char DOC_REPORTTYPE_G7_MASTERPF_TARGETED[] = "IDEAllianceG7MasterPassFail-Targeted";
    static constexpr char DOC_REPORTTYPE_FOGRAPSD_2022[] = "FOGRA_PSD_2022";
    static constexpr char DOC_REPORTTYPE_FOGRAPSD_2022_MA[] = "FOGRA_PSD_2022_Side-by-Side";
    static constexpr char DOC_REPORTTYPE_FOGRAPSD_2022_MR[] = "FOGRA_PSD_2022_mediarelative";

    // One of the three Fogra PSD 2022 report types.
    static bool IsFograPSD2022(const std::string& reportType);
    // One of the three G7 Master Pass/Fail report types.
    static bool IsG7MasterPassFail(const std::string& reportType);
};
