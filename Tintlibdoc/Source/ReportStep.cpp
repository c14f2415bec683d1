// ReportStep: the report step of Tintora_Generate_Xml_DocReport: one report generator for
// the loaded job, with the job's error handler and the host's application version.
#include "ReportStep.h"

#include "Job.h"
#include "ReportGenerator.h"
#include "Utils.h"

bool GenerateReport(Job& job, const char* measurementBase, const char* docFolder)
{
    ReportGenerator generator(&job, measurementBase ? measurementBase : "", docFolder ? docFolder : "");
    generator.setErrorHandler(job.GetErrorHandler());
    generator.SetAppVersion(Utils::appVersion);
    return generator.GenerateRaport();
}
