// ReportGenerator: produces one DOC report for one loaded job: loads the DOC reference,
// the chart reference, the tolerance set and the CxF measurement, compares them, picks
// the tolerance checker of the report type, computes the global verdict, collects every
// printable value through the template parser and writes the XML report next to the
// measurement (measurement base + ".xml").
//
// Glossary: DOC reference = expected Lab of every patch; chart reference = the reference
// of the printed chart (device values, patch names); DOC folder = the folder below which
// "References", "DOCReferences" and "Tolerances" paths of a job are resolved; colour name =
// "GREEN", "YELLOW", "RED" or "GRAY" (not calculated); verdict text = its wording in the
// report (kColorMap).
#pragma once

#include "EvalTypes.h"
#include "GPDFTemplateParser.h"
#include "Object.h"

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ErrorHandler;
class Job;
class PatchComparer;
class ReferenceFileData;
class ReferenceFileSet;
class ToleranceChecker;
class TolerancesData;
struct Tintora_target;

namespace DOCReport
{
// The per-patch values of the report.
enum ePatchAttributeQtRpt : int
{
    ePatchName = 0,
    ePatchNone = 1,   // no value; the spectrum is written separately
    ePatchRefL = 2,
    ePatchRefa = 3,
    ePatchRefb = 4,
    ePatchL = 5,
    ePatcha = 6,
    ePatchb = 7,
    ePatchDeltaE = 8,
    ePatchWithinTolerance = 9
};
}  // namespace DOCReport

class ReportGenerator : public Object
{
public:
    static const char* const kResultRed;      // "RED"
    static const char* const kResultGreen;    // "GREEN"
    static const char* const kResultYellow;   // "YELLOW"
    static const char* const kResultGray;     // "GRAY"
    // Colour name -> verdict text.
    static const std::map<std::string, std::string>& kColorMap();
    // Verdict text of a colour name. A name the map does not know (the empty verdict of a
    // patch that has no DOC or chart set or no measured grid cell) reads "Not calculated":
    // such a patch was never compared, so any pass or fail wording would invent a result.
    static std::string VerdictText(const std::string& colourName);

    static const char* const kLibraryVersion;   // "1.06"

    // LoadData failure texts, in the order of the checks.
    static const char* const kMsgJobNull;                 // code 1
    static const char* const kMsgInvalidReferenceType;    // code 2
    static const char* const kMsgNoTolerance;             // code 3
    static const char* const kMsgReferenceNotLoaded;      // code 5
    static const char* const kMsgChartNotLoaded;          // code 6
    static const char* const kMsgChartSetCount;           // code 7
    static const char* const kMsgToleranceNotLoaded;      // code 8
    static const char* const kMsgMeasurementInvalid;      // UpdateStatistics
    static const char* const kMsgReportNotWritten;        // saveToXML

    ReportGenerator(Job* job, std::string measurementBase, std::string docFolder);
    // Stops a running parse first (QuitParse).
    ~ReportGenerator() override;
    ReportGenerator(const ReportGenerator&) = delete;
    ReportGenerator& operator=(const ReportGenerator&) = delete;

    void setErrorHandler(ErrorHandler* handler) { errorHandler = handler; }
    void SetAppVersion(std::string version) { appVersion = std::move(version); }
    void SetLoadedJobInstance(Job* loadedJob) { job = loadedJob; }

    // The whole run; true when the report was written.
    bool GenerateRaport();
    bool LoadData();
    bool LoadData(Job* job, int& errorCode, std::string* condition);
    bool UpdateStatistics();

    bool StartParsing();
    // True once the report was written or skipped.
    bool IsParseFinished() const { return parseFinished.load(); }
    // Asks a running parse to stop and waits until it has (safe from another thread).
    void QuitParse();

    // Value getters; `ok` (may be null) tells whether the value exists.
    std::string GetPrinterName(bool* ok) const;
    std::string GetMediaName(bool* ok) const;
    std::string GetDate(bool* ok) const;
    std::string GetTime(bool* ok) const;
    std::string GetCreator(bool* ok) const;
    std::string GetDevice(bool* ok) const;
    std::string GetReference(bool* ok) const;
    std::string GetMeasurement(bool* ok) const;
    std::string GetEvaluation(bool* ok) const;
    std::string GetTolerance(bool* ok) const;
    std::string GetColorDistanceFormula(bool* ok) const;
    std::string GetControlStrip(bool* ok) const;
    std::string GetNumPatches(bool* ok) const;
    std::string GetMeasurementCondition(bool* ok) const;
    std::string GetBacking(bool* ok) const;
    std::string GetError(DOCReport::eErrorTypeQtRpt type, bool* ok) const;
    std::string GetToleranceVal(bool image, DOCReport::eErrorTypeQtRpt type, bool* ok) const;
    std::string GetPatchAttribute(int index, DOCReport::ePatchAttributeQtRpt attribute, bool* ok) const;
    int GetGlobalPassed() const { return globalPassed; }
    // The smaller of the target's patch count and the DOC reference's set count.
    int GetNoOfPatches() const;

    const std::string& getOutputFile() const { return measurementBase; }
    // Writes the XML report to `path` through a scratch file in the same folder that is
    // renamed over `path`; false (and `path` untouched) when that fails.
    bool saveToXML(const std::string& path) const;

    // The job's report type ("DOCReportTemplate", else "DOCReportType"); "" without one.
    std::string GetReportType() const;
    // The statistic a report value prints; -1 = not computed, 0 for values without one.
    double GetStatistic(DOCReport::eErrorTypeQtRpt type) const;
    // "DOCMediaType" of the job read as a decimal integer. A missing tag or one that holds
    // no number reads as 1 (absolute): the comparison treats every type but 2 as absolute,
    // so the report then names and prints what was actually computed.
    int GetDocMediaType() const;

    // Read access for the report writer and for callers that inspect a run.
    const GPDFTemplateParser& GetParser() const { return parser; }
    GPDFTemplateParser& GetParser() { return parser; }
    const PatchComparer* GetComparer() const { return comparer.get(); }
    const ToleranceChecker* GetChecker() const { return checker.get(); }
    const TolerancesData* GetTolerances() const { return tolerances.get(); }
    const ReferenceFileData* GetDocReference() const { return docReference.get(); }
    const ReferenceFileData* GetChartReference() const { return chartReference.get(); }
    const Tintora_target* GetTarget() const { return target; }
    const std::string& GetMeasurementFile() const { return measurementFile; }
    int GetReferenceType() const { return referenceType; }
    // Paths after the DOC folder fix-ups of the last LoadData.
    const std::string& GetDocReferencePath() const { return docReferencePath; }
    const std::string& GetChartReferencePath() const { return chartReferencePath; }
    const std::string& GetTolerancePath() const { return tolerancePath; }
    // The 41 spectral values of the measured patch `index`, each at most 1.0; false when
    // the target holds no such patch.
    bool GetPatchSpectrum(int index, double (&values)[41]) const;

private:
    bool Fail(int& errorCode, int code, const char* message) const;
    void CreateChecker();
    void ComputeGlobalVerdictWithoutChecker();
    std::string JobTag(const char* tag, bool* found) const;
    // Date and time from the measurement file name, else from its modification time.
    bool DateFromName(std::string& date) const;
    bool TimeFromName(std::string& time) const;
    std::string ModificationTime(const char* format) const;
    // Decimals of the report's number texts: 1 for the Fogra and G7 types, else 2.
    int ErrorDecimals() const;
    std::string GetToleranceValWithoutChecker(bool image, DOCReport::eErrorTypeQtRpt type) const;
    // Colour name of a compared patch; "" for one the comparison left out.
    std::string PatchVerdict(int index, ReferenceFileSet* chartSet) const;

    std::string docFolder;
    std::unique_ptr<TolerancesData> tolerances;
    std::unique_ptr<ReferenceFileData> docReference;
    std::unique_ptr<ReferenceFileData> chartReference;
    std::unique_ptr<PatchComparer> comparer;
    std::unique_ptr<ToleranceChecker> checker;
    // The generator's own empty record until the measurement is loaded, then the job's.
    std::unique_ptr<Tintora_target> ownTarget;
    Tintora_target* target = nullptr;
    std::string measurementFile;
    int globalPassed = DOCReport::eGreen;
    std::string measurementBase;
    Job* job;
    GPDFTemplateParser parser;
    std::string measurementCondition;
    std::atomic<bool> parseFinished{false};
    int referenceType = 0;
    ErrorHandler* errorHandler = nullptr;
    std::string appVersion;

    std::string docReferencePath;
    std::string chartReferencePath;
    std::string tolerancePath;
};
