// ReportStep: the step of Tintora_Generate_Xml_DocReport after the job is loaded:
// everything from the reference loads to the written report.
#pragma once

class Job;

// Produces the report for the loaded `job`; false after one message to the job's error
// handler (when it has one) when it cannot.
bool GenerateReport(Job& job, const char* measurementBase, const char* docFolder);
