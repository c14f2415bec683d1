// A DOC report run in a scratch folder: a copy of the small DOC folder and measurement of
// tests/data/tintlibdoc/report, a job written from editable tags, and the messages the
// error handler received.
#pragma once

#include "ColorSetup.h"
#include "ErrorHandler.h"
#include "Job.h"
#include "ReportGenerator.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

inline std::vector<std::string>& ReportMessages()
{
    static std::vector<std::string> messages;
    return messages;
}

inline int CollectReportMessage(char const* message)
{
    ReportMessages().push_back(message);
    return 0;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

class ReportFixture
{
public:
    static constexpr char kMeasurementName[] = "Press_2024013114302512";

    ReportFixture()
    {
        namespace fs = std::filesystem;
        const fs::path data = fs::path(VANTREL_TEST_DATA_DIR) / "tintlibdoc" / "report";
        fs::copy(data / "DOC", dir.File("DOC"), fs::copy_options::recursive);
        fs::copy(data / (std::string(kMeasurementName) + ".cxf"), dir.File(std::string(kMeasurementName) + ".cxf"));
        docFolder = dir.File("DOC");
        base = dir.File(kMeasurementName);
        ReportMessages().clear();
        std::string error;
        EXPECT_TRUE(EnsureColorConversions(error)) << error;
    }

    // Tags written before the embedded measurement, in this order.
    std::vector<std::pair<std::string, std::string>> tags = {
        {"Type", "eDOCJob"},
        {"ReferenceType", "1"},
        {"DOCReferenceFile", "DOCReferences/Doc12.ref"},
        {"DOCSettingsFile", "Tolerances/QuorvaneDOC.xml"},
        {"DOCMedia", "Gloss 250"},
        {"DOCMediaType", "1"},
        {"DOCReportTemplate", "QUORVANE_DOC"},
        {"DOCPrinter", "Press 4"},
    };
    // Tags written after the embedded measurement: the job holds them, the measured
    // target's information text does not.
    std::vector<std::pair<std::string, std::string>> tagsAfterTarget;
    std::string chartReference = "References/Chart12.ref";
    std::string grid = "4 3 12 1";
    std::string layout = "QUORVANE - Horizontal (default)";

    void SetTag(const std::string& tag, const std::string& value)
    {
        for (auto& t : tags) {
            if (t.first == tag) {
                t.second = value;
                return;
            }
        }
        tags.emplace_back(tag, value);
    }
    void RemoveTag(const std::string& tag)
    {
        for (auto it = tags.begin(); it != tags.end(); ++it) {
            if (it->first == tag) {
                tags.erase(it);
                return;
            }
        }
    }

    std::string JobText() const
    {
        std::string elements;
        for (const auto& t : tags)
            elements += "<" + t.first + ">" + t.second + "</" + t.first + ">\n";
        elements += "<TintoraTarget>TINTORA_MEASUREMENT 1\nLAYOUT " + layout + "\nCHART_REFERENCE " + chartReference +
                    "\nGRID " + grid + "\nEND\n</TintoraTarget>\n";
        for (const auto& t : tagsAfterTarget)
            elements += "<" + t.first + ">" + t.second + "</" + t.first + ">\n";
        return JobXml(elements);
    }
    std::string WriteJob(const std::string& name = "job.xml") const { return dir.Write(name, JobText()); }

    // A tolerance file in DOC/Tolerances with the given elements below "settings".
    void WriteTolerance(const std::string& name, const std::string& elements) const
    {
        dir.Write("DOC/Tolerances/" + name, "<?xml version=\"1.0\"?>\n<settings>\n" + elements + "</settings>\n");
    }

    // Loads the job and creates a generator for it (without running it).
    ReportGenerator& Prepare()
    {
        job = std::make_unique<Job>();
        job->setErrorHandler(&handler);
        EXPECT_TRUE(job->Load(WriteJob().c_str()));
        generator = std::make_unique<ReportGenerator>(job.get(), base, docFolder);
        generator->setErrorHandler(&handler);
        generator->SetAppVersion("Host 3.2");
        return *generator;
    }
    bool Generate() { return Prepare().GenerateRaport(); }

    std::string ReportPath() const { return base + ".xml"; }
    bool ReportWritten() const { return FileExists(ReportPath()); }

    TempDir dir;
    std::string docFolder;
    std::string base;
    ErrorHandler handler{&CollectReportMessage};
    std::unique_ptr<Job> job;
    std::unique_ptr<ReportGenerator> generator;
};

// The QUORVANE_DOC limits of the fixture, with `extra` elements first (the first element of
// a name counts).
inline std::string QuorvaneLimits(const std::string& extra = "", const std::string& reportType = "QUORVANE_DOC")
{
    return extra + "<reportType>" + reportType +
           "</reportType>\n<colorDistanceFormula>0</colorDistanceFormula>\n"
           "<averageTotalError>3</averageTotalError>\n<maximumTotalError>5</maximumTotalError>\n"
           "<primaryColorsTotalError>2.5</primaryColorsTotalError>\n<paperWhiteTotalError>3</paperWhiteTotalError>\n"
           "<grayBalanceError>2.5</grayBalanceError>\n<deviationBest90Error>4</deviationBest90Error>\n";
}
