// ToleranceSetsDOC: queries on the report-type catalogue.
#include "ToleranceSetsDOC.h"

bool ToleranceSetsDOC::IsFograPSD2022(const std::string& reportType)
{
    return reportType == DOC_REPORTTYPE_FOGRAPSD_2022 || reportType == DOC_REPORTTYPE_FOGRAPSD_2022_MA ||
           reportType == DOC_REPORTTYPE_FOGRAPSD_2022_MR;
}

bool ToleranceSetsDOC::IsG7MasterPassFail(const std::string& reportType)
{
    return reportType == DOC_REPORTTYPE_G7_MASTERPF_PROOF || reportType == DOC_REPORTTYPE_G7_MASTERPF_PRESS ||
           reportType == DOC_REPORTTYPE_G7_MASTERPF_TARGETED;
}
