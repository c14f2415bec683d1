// ReportGenerator: input loading, comparison, verdicts and the value getters of one DOC
// report. The XML itself is written by XmlReportWriter from the parser's tables.
#include "ReportGenerator.h"

#include "ErrorHandler.h"
#include "FograPSD2022ToleranceChecker.h"
#include "GFileFormatTool.h"
#include "IdeAllianceG7MasterToleranceChecker.h"
#include "Job.h"
#include "Loader.h"
#include "PatchComparer.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "Tintlib.h"
#include "ToleranceChecker.h"
#include "ToleranceSetsDOC.h"
#include "Tolerances.h"
#include "Utils.h"
#include "XmlReportWriter.h"

#include <tinyxml2.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <thread>

using DOCReport::eErrorTypeQtRpt;
using DOCReport::ePatchAttributeQtRpt;

const char* const ReportGenerator::kResultRed = "RED";
const char* const ReportGenerator::kResultGreen = "GREEN";
const char* const ReportGenerator::kResultYellow = "YELLOW";
const char* const ReportGenerator::kResultGray = "GRAY";
const char* const ReportGenerator::kLibraryVersion = "1.06";

const char* const ReportGenerator::kMsgJobNull = "Job is null";
const char* const ReportGenerator::kMsgInvalidReferenceType = "Job does not have valid reference information";
const char* const ReportGenerator::kMsgNoTolerance = "No tolerance information";
const char* const ReportGenerator::kMsgReferenceNotLoaded = "Reference file could not be loaded";
const char* const ReportGenerator::kMsgChartNotLoaded = "Chart reference file could not be loaded";
const char* const ReportGenerator::kMsgChartSetCount = "Chart reference file with incorrect number of sets";
const char* const ReportGenerator::kMsgToleranceNotLoaded = "Tolerance file could not be loaded";
const char* const ReportGenerator::kMsgMeasurementInvalid = "Measurement file is invalid.";
const char* const ReportGenerator::kMsgReportNotWritten = "The report file could not be written.";

namespace
{
constexpr float kQuantile = 0.95f;
constexpr int kMediaAbsolute = 1;
constexpr int kMediaRelative = 2;

// Fixed notation, independent of the locale.
std::string Fixed(double value, int decimals)
{
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "";
    return std::string(buffer, result.ptr);
}

void SetOk(bool* ok, bool value)
{
    if (ok != nullptr)
        *ok = value;
}

std::string RecordText(const char* field, std::size_t capacity) { return std::string(field, strnlen(field, capacity)); }

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// "<prefix><one separator>rest" -> "rest"; other texts stay as they are.
std::string WithoutFolder(const std::string& text, const char* prefix)
{
    if (!StartsWith(text, prefix))
        return text;
    const std::size_t cut = std::min(text.size(), std::strlen(prefix) + 1);
    return text.substr(cut);
}

// `prefix` at the start of `path` becomes `replacement`.
std::string Resolve(const std::string& path, const char* prefix, const std::string& replacement)
{
    if (!StartsWith(path, prefix))
        return path;
    return replacement + path.substr(std::strlen(prefix));
}

bool AllDigits(const std::string& text, std::size_t from, std::size_t count)
{
    for (std::size_t i = from; i < from + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

// At least the limit, and computed.
bool FailsLimit(double statistic, float limit)
{
    return statistic != Utils::UNCOMPUTED_DOUBLE_VALUE && statistic >= static_cast<double>(limit);
}
}  // namespace

const std::map<std::string, std::string>& ReportGenerator::kColorMap()
{
    static const std::map<std::string, std::string> map = {
        {kResultRed, "Not Passed"},
        {kResultGreen, "Passed"},
        {kResultYellow, "Passed , above average"},
        {kResultGray, "Not calculated"},
    };
    return map;
}

std::string ReportGenerator::VerdictText(const std::string& colourName)
{
    const auto& map = kColorMap();
    const auto found = map.find(colourName);
    return found != map.end() ? found->second : map.at(kResultGray);
}

ReportGenerator::ReportGenerator(Job* job_, std::string measurementBase_, std::string docFolder_)
    : docFolder(std::move(docFolder_)),
      comparer(std::make_unique<PatchComparer>()),
      ownTarget(std::make_unique<Tintora_target>()),
      measurementBase(std::move(measurementBase_)),
      job(job_),
      parser(this)
{
    std::memset(ownTarget.get(), 0, sizeof(Tintora_target));
    target = ownTarget.get();
}

ReportGenerator::~ReportGenerator() { QuitParse(); }

bool ReportGenerator::GenerateRaport()
{
    if (!LoadData())
        return false;
    if (tolerances) {
        comparer->colorDistanceFormula = tolerances->colorDistanceFormula;
        CreateChecker();
    }
    if (!UpdateStatistics())
        return false;
    bool produced = StartParsing();
    if (produced && !saveToXML(measurementBase + ".xml")) {
        // A report that did not reach the disk is no report: the host hears it once.
        ReportError(errorHandler, kMsgReportNotWritten);
        produced = false;
    }
    parseFinished.store(true);
    return produced;
}

void ReportGenerator::CreateChecker()
{
    checker.reset();
    const std::string type = GetReportType();
    PatchComparer* c = comparer.get();
    TolerancesData* t = tolerances.get();
    if (type == ToleranceSetsDOC::DOC_REPORTTYPE_G7_MASTERPF_TARGETED)
        checker = std::make_unique<G7MPFTargetedToleranceChecker>(c, t);
    else if (type == ToleranceSetsDOC::DOC_REPORTTYPE_G7_MASTERPF_PROOF)
        checker = std::make_unique<G7MPFColorspaceProofToleranceChecker>(c, t);
    else if (type == ToleranceSetsDOC::DOC_REPORTTYPE_G7_MASTERPF_PRESS)
        checker = std::make_unique<G7MPFColorspacePressToleranceChecker>(c, t);
    else if (type == ToleranceSetsDOC::DOC_REPORTTYPE_FOGRAPSD_2022)
        checker = std::make_unique<FograPSD2022ToleranceChecker>(c, t);
    else if (type == ToleranceSetsDOC::DOC_REPORTTYPE_FOGRAPSD_2022_MA)
        checker = std::make_unique<FograPSD2022ToleranceChecker>(c, t, false, false, true, false);
    else if (type == ToleranceSetsDOC::DOC_REPORTTYPE_FOGRAPSD_2022_MR)
        checker = std::make_unique<FograPSD2022ToleranceChecker>(c, t, false, false, false, true);
}

bool ReportGenerator::LoadData()
{
    int errorCode = 0;
    std::string condition = measurementBase;
    return LoadData(job, errorCode, &condition);
}

bool ReportGenerator::Fail(int& errorCode, int code, const char* message) const
{
    ReportError(errorHandler, message);
    errorCode = code;
    return false;
}

bool ReportGenerator::LoadData(Job* loadJob, int& errorCode, std::string* condition)
{
    if (condition != nullptr)
        measurementCondition = *condition;
    if (loadJob == nullptr)
        return Fail(errorCode, 1, kMsgJobNull);

    std::string value;
    int type = 0;
    if (!loadJob->GetExtraTagValue("ReferenceType", value) || !ToleranceNumbers::ReadInt(value.c_str(), type))
        type = 0;
    referenceType = type;
    if (type < 1 || type > 3)
        return Fail(errorCode, 2, kMsgInvalidReferenceType);

    std::string docPath;
    loadJob->GetExtraTagValue("DOCReferenceFile", docPath);
    std::string tolerancePathTag;
    loadJob->GetExtraTagValue(ToleranceSetsDOC::DOC_SETTINGS_FILE_TAG, tolerancePathTag);
    const Tintora_target* jobTarget = loadJob->GetTintoraTarget();
    std::string chartPath;
    if (jobTarget != nullptr)
        chartPath = RecordText(jobTarget->referenceFileName, sizeof jobTarget->referenceFileName);
    const int patchCount = jobTarget != nullptr ? jobTarget->patchCount : 0;

    if (tolerancePathTag.empty())
        return Fail(errorCode, 3, kMsgNoTolerance);

    tolerancePath = Resolve(tolerancePathTag, Utils::TOLERANCES,
                            Utils::GetDOCTolerancesPathRelatedToDOCFolder(tolerancePathTag, docFolder));
    docReferencePath =
        Resolve(docPath, Utils::DOCREFERENCES, Utils::GetDOCReferencesPathRelatedToDOCFolder(docPath, docFolder));
    chartReferencePath =
        Resolve(chartPath, Utils::REFERENCES, Utils::GetReferencesPathRelatedToDOCFolder(chartPath, docFolder));

    // The checker points into the objects replaced below.
    checker.reset();
    docReference = std::make_unique<ReferenceFileData>(ReferenceFlavour::ReportLibrary);
    chartReference = std::make_unique<ReferenceFileData>(ReferenceFlavour::ReportLibrary);
    tolerances = std::make_unique<TolerancesData>(1000.0f);

    if (!docReference->loadReferenceFileData(nullptr, docReferencePath.c_str(), false) ||
        docReference->GetSetCount() != patchCount)
        return Fail(errorCode, 5, kMsgReferenceNotLoaded);
    if (!chartReference->loadReferenceFileData(nullptr, chartReferencePath.c_str(), false))
        return Fail(errorCode, 6, kMsgChartNotLoaded);
    if (chartReference->GetSetCount() != patchCount)
        return Fail(errorCode, 7, kMsgChartSetCount);
    if (!tolerances->LoadFromXML(tolerancePath))
        return Fail(errorCode, 8, kMsgToleranceNotLoaded);
    errorCode = 0;
    return true;
}

bool ReportGenerator::UpdateStatistics()
{
    measurementFile = measurementBase + ".cxf";
    Tintora_target* jobTarget = job != nullptr ? job->GetTintoraTarget() : nullptr;
    if (jobTarget == nullptr || !docReference || !chartReference) {
        ReportError(errorHandler, kMsgMeasurementInvalid);
        return false;
    }
    const std::string layoutName = RecordText(jobTarget->layoutName, sizeof jobTarget->layoutName);
    // The measurement is only needed until its colours are in the target's grid.
    ReferenceFileData measurement(ReferenceFlavour::ReportLibrary);
    if (!measurement.loadCXFFileData(measurementFile.c_str(), layoutName.c_str())) {
        ReportError(errorHandler, kMsgMeasurementInvalid);
        return false;
    }
    target = jobTarget;
    ownTarget.reset();
    Loader loader(target, &measurement);
    if (target->patchCount != measurement.GetSetCount() || !loader.Load(layoutName)) {
        ReportError(errorHandler, kMsgMeasurementInvalid);
        return false;
    }

    docReference->lgoRowLength = target->patchesPerRow;
    chartReference->lgoRowLength = target->patchesPerRow;
    // A "DOCMediaType" element after the measurement is in the job but not in the target's
    // information text; the comparison then evaluates what the report names.
    comparer->SetJobMediaType(GetDocMediaType());
    comparer->CompareReferenceFileData(docReference.get(), target, chartReference.get());

    globalPassed = DOCReport::eGreen;
    if (checker)
        globalPassed = checker->checkReport();
    else
        ComputeGlobalVerdictWithoutChecker();
    return true;
}

void ReportGenerator::ComputeGlobalVerdictWithoutChecker()
{
    const PatchComparer& c = *comparer;
    const TolerancesData& t = *tolerances;
    const std::string type = GetReportType();
    const bool ideAllianceType = type == ToleranceSetsDOC::DOC_REPORTTYPE_IDEALLIANCEDCS_2009 ||
                                 type == ToleranceSetsDOC::DOC_REPORTTYPE_IDEALLIANCECW_2013;
    bool failed = FailsLimit(c.averageDeltaE, t.averageTotalError) ||
                  FailsLimit(c.maximumDeltaE, t.maximumTotalError) ||
                  FailsLimit(c.maximumPrimariesDeltaE, t.primaryColorsTotalError) ||
                  (!ideAllianceType && FailsLimit(c.maximumPaperWhiteDeltaE, t.paperWhiteTotalError)) ||
                  FailsLimit(c.averageGrayDeltaE, t.grayBalanceError);
    if (t.reportTypes.count(ToleranceSetsDOC::DOC_REPORTTYPE_IDEALLIANCECW_2013) != 0 ||
        t.reportTypes.count(ToleranceSetsDOC::DOC_REPORTTYPE_IDEALLIANCEDCS_2009) != 0) {
        failed = failed || FailsLimit(c.maximumGrayIdeaDeltaE, t.grayBalanceError) ||
                 FailsLimit(c.grayBalanceSpecialDeltaE, t.grayBalanceIDEASpecialError) ||
                 c.paperWhiteDeltaL >= static_cast<double>(t.paperWhiteTotalLError) ||
                 c.paperWhiteDeltaA >= static_cast<double>(t.paperWhiteTotalaError) ||
                 c.paperWhiteDeltaB >= static_cast<double>(t.paperWhiteTotalbError);
    }
    if (failed)
        globalPassed = DOCReport::eRed;
}

bool ReportGenerator::StartParsing()
{
    parser.StartParsing();
    return parser.GetParseResult();
}

void ReportGenerator::QuitParse()
{
    parser.SetQuitFlag(true);
    while (!parser.IsParseFinished())
        std::this_thread::yield();
}

std::string ReportGenerator::GetReportType() const
{
    std::string type;
    if (job != nullptr)
        job->GetExtraTagValue(ToleranceSetsDOC::DOC_REPORT_TEMPLATE_TAG, ToleranceSetsDOC::DOC_REPORT_TEMPLATE_TAG_OLD,
                              type);
    return type;
}

int ReportGenerator::GetDocMediaType() const
{
    std::string value;
    int mediaType = kMediaAbsolute;
    if (job != nullptr && job->GetExtraTagValue(ToleranceSetsDOC::DOC_MEDIA_TYPE_TAG, value))
        ToleranceNumbers::ReadInt(value.c_str(), mediaType);
    return mediaType;
}

std::string ReportGenerator::JobTag(const char* tag, bool* found) const
{
    std::string value;
    const bool present = job != nullptr && job->GetExtraTagValue(tag, value);
    SetOk(found, present);
    return value;
}

std::string ReportGenerator::GetPrinterName(bool* ok) const { return JobTag(ToleranceSetsDOC::DOC_PRINTER_TAG, ok); }

std::string ReportGenerator::GetMediaName(bool* ok) const { return JobTag(ToleranceSetsDOC::DOC_MEDIA_TAG, ok); }

bool ReportGenerator::DateFromName(std::string& date) const
{
    const std::size_t p = measurementFile.find(".cxf");
    if (p == std::string::npos || p < 16 || !AllDigits(measurementFile, p - 16, 8))
        return false;
    date = measurementFile.substr(p - 16, 4) + "-" + measurementFile.substr(p - 12, 2) + "-" +
           measurementFile.substr(p - 10, 2);
    return true;
}

bool ReportGenerator::TimeFromName(std::string& time) const
{
    const std::size_t p = measurementFile.find(".cxf");
    if (p == std::string::npos || p < 8 || !AllDigits(measurementFile, p - 8, 6))
        return false;
    time = measurementFile.substr(p - 8, 2) + ":" + measurementFile.substr(p - 6, 2) + ":" +
           measurementFile.substr(p - 4, 2);
    return true;
}

// Local modification time of the measurement; the present moment when the file cannot be
// examined, so a report always carries the time it describes at the latest.
std::string ReportGenerator::ModificationTime(const char* format) const
{
    std::time_t when = std::time(nullptr);
    struct stat info;
    if (::stat(measurementFile.c_str(), &info) == 0)
        when = info.st_mtime;
    std::tm local{};
    if (::localtime_r(&when, &local) == nullptr)
        return "";
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, n);
}

std::string ReportGenerator::GetDate(bool* ok) const
{
    SetOk(ok, true);
    std::string date;
    return DateFromName(date) ? date : ModificationTime("%Y-%m-%d");
}

std::string ReportGenerator::GetTime(bool* ok) const
{
    SetOk(ok, true);
    std::string time;
    return TimeFromName(time) ? time : ModificationTime("%H:%M:%S");
}

std::string ReportGenerator::GetCreator(bool* ok) const
{
    SetOk(ok, true);
    std::string creator = std::string("TintlibDOC ") + kLibraryVersion;
    if (!appVersion.empty())
        creator += " " + appVersion;
    return creator;
}

std::string ReportGenerator::GetDevice(bool* ok) const
{
    SetOk(ok, true);
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(measurementFile.c_str()) != tinyxml2::XML_SUCCESS)
        return "";
    const tinyxml2::XMLElement* e = doc.RootElement();
    for (const char* name : {"cc:Resources", "cc:ColorSpecificationCollection", "cc:ColorSpecification",
                             "cc:MeasurementSpec", "cc:Device", "cc:Model"}) {
        if (e == nullptr)
            return "";
        e = e->FirstChildElement(name);
    }
    const char* text = e != nullptr ? e->GetText() : nullptr;
    return text != nullptr ? text : "";
}

std::string ReportGenerator::GetReference(bool* ok) const
{
    SetOk(ok, job != nullptr);
    std::string path;
    if (job != nullptr)
        job->GetExtraTagValue("DOCReferenceFile", path);
    return WithoutFolder(path, Utils::DOCREFERENCES);
}

std::string ReportGenerator::GetMeasurement(bool* ok) const
{
    SetOk(ok, true);
    FILE* f = std::fopen(measurementFile.c_str(), "rb");
    if (f == nullptr)
        return "";
    std::fclose(f);
    return measurementFile;
}

std::string ReportGenerator::GetEvaluation(bool* ok) const
{
    SetOk(ok, job != nullptr);
    switch (GetDocMediaType()) {
    case kMediaAbsolute: return "Media Absolute";
    case kMediaRelative: return "Media Relative";
    default: return "Media Undefined";
    }
}

std::string ReportGenerator::GetTolerance(bool* ok) const
{
    SetOk(ok, job != nullptr);
    std::string path;
    if (job != nullptr)
        job->GetExtraTagValue(ToleranceSetsDOC::DOC_SETTINGS_FILE_TAG, path);
    return WithoutFolder(path, Utils::TOLERANCES);
}

std::string ReportGenerator::GetColorDistanceFormula(bool* ok) const
{
    SetOk(ok, tolerances != nullptr);
    return tolerances ? Eval::ColorDistanceFormulaName(tolerances->colorDistanceFormula) : "";
}

std::string ReportGenerator::GetControlStrip(bool* ok) const
{
    SetOk(ok, target != nullptr);
    if (target == nullptr)
        return "";
    std::string name = WithoutFolder(RecordText(target->referenceFileName, sizeof target->referenceFileName),
                                     Utils::REFERENCES);
    const std::string suffix = ".ref";
    if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        name.erase(name.size() - suffix.size());
    return name;
}

std::string ReportGenerator::GetNumPatches(bool* ok) const
{
    SetOk(ok, true);
    return std::to_string(target != nullptr ? target->patchCount : 0);
}

std::string ReportGenerator::GetMeasurementCondition(bool* ok) const
{
    SetOk(ok, true);
    return measurementCondition;
}

std::string ReportGenerator::GetBacking(bool* ok) const
{
    SetOk(ok, true);
    return "White Backing";
}

int ReportGenerator::ErrorDecimals() const
{
    const std::string type = GetReportType();
    if (type == ToleranceSetsDOC::DOC_REPORTTYPE_FOGRAPSD || type == ToleranceSetsDOC::DOC_REPORTTYPE_FOGRAPSDREL ||
        ToleranceSetsDOC::IsG7MasterPassFail(type) || ToleranceSetsDOC::IsFograPSD2022(type))
        return 1;
    return 2;
}

double ReportGenerator::GetStatistic(eErrorTypeQtRpt type) const
{
    const PatchComparer& c = *comparer;
    switch (type) {
    case DOCReport::eAverageTotal: return c.averageDeltaE;
    case DOCReport::eMaximumTotal: return c.maximumDeltaE;
    case DOCReport::eAverageGrayscale: return c.averageGrayDeltaE;
    case DOCReport::eAverageGrayscaleC: return c.averageGrayDeltaCh;
    case DOCReport::eMedia: return c.maximumPaperWhiteDeltaE;
    case DOCReport::ePrimaries: return c.maximumPrimariesDeltaE;
    case DOCReport::ePrimariesH: return c.maximumPrimariesDeltaH;
    case DOCReport::eAverageAllPatches: return c.averageDeltaERelative;
    case DOCReport::eQuantile95:
        // Relative unless the job says absolute; a generator without a job reads relative.
        return c.GetQuantileAllPatches(kQuantile, 0, job == nullptr || GetDocMediaType() != kMediaAbsolute);
    case DOCReport::eBlackPoint: return c.blackPointDifference;
    case DOCReport::eWhitePoint: return c.whitePointDeltaE;
    case DOCReport::eGamutcheck: return 0.0;
    case DOCReport::eGrayscale: return c.maximumGrayIdeaDeltaE;
    case DOCReport::eIdeSpecialgray: return c.grayBalanceSpecialDeltaE;
    case DOCReport::eMediaIDE: return 0.0;
    case DOCReport::eAverageWDeltaLstar: return c.averageWDeltaLstar;
    case DOCReport::eMaximumWDeltaLstar: return c.maximumWDeltaLstar;
    case DOCReport::eAverageWDeltaCh: return c.averageWDeltaCh;
    case DOCReport::eMaximumWDeltaCh: return c.maximumWDeltaCh;
    case DOCReport::eG7CMYSolids: return c.maximumCMYSolidsDeltaE;
    case DOCReport::eG7RGBSolids: return c.maximumRGBSolidsDeltaE;
    case DOCReport::eG7KSolids: return c.maximumKSolidDeltaE;
    case DOCReport::eCPSubstrate: return c.maximumPaperWhiteDeltaE;
    case DOCReport::eCPMaximumTotal: return c.maximumDeltaE;
    case DOCReport::eCPAverageTotal: return c.averageDeltaE;
    case DOCReport::eCPMaximumGrayscale: return c.maximumGrayDeltaCh;
    case DOCReport::eCPAverageGrayscale: return c.averageGrayDeltaCh;
    case DOCReport::eCPPrimariesH: return c.maximumPrimariesDeltaH;
    case DOCReport::eCPPrimaries: return c.maximumPrimariesDeltaE;
    case DOCReport::eVPSubstrate: return c.maximumPaperWhiteDeltaE;
    case DOCReport::eVPAverageNoBoundaryColors: return c.averageNoBoundaryDeltaE;
    case DOCReport::eVPQuantile95NoBoundaryColors: return c.GetQuantileNoBoundaryColors(kQuantile, 0);
    case DOCReport::eVPMaximumGrayscale: return c.maximumGrayDeltaCh;
    case DOCReport::eVPAverageGrayscale: return c.averageGrayDeltaCh;
    case DOCReport::eMASubstrate: return c.maximumPaperWhiteDeltaE;
    case DOCReport::eMAMaximumTotal: return c.maximumDeltaE;
    case DOCReport::eMAAverageTotal: return c.averageDeltaE;
    case DOCReport::eMAQuantile95: return c.GetQuantileAllPatches(kQuantile, 0, false);
    case DOCReport::eMAMaximumGrayscale: return c.maximumGrayDeltaCh;
    case DOCReport::eMRAverageTotal: return c.averageDeltaERelative;
    case DOCReport::eMRQuantile95: return c.GetQuantileAllPatches(kQuantile, 0, true);
    case DOCReport::eMRMaximumGrayscale: return c.maximumGrayDeltaChRelative;
    case DOCReport::eMRWhitepoint: return c.whitePointDeltaE;
    case DOCReport::eMRBlackpoint: return c.blackPointDifference;
    }
    return 0.0;
}

std::string ReportGenerator::GetError(eErrorTypeQtRpt type, bool* ok) const
{
    SetOk(ok, true);
    return Fixed(GetStatistic(type), ErrorDecimals());
}

std::string ReportGenerator::GetToleranceVal(bool image, eErrorTypeQtRpt type, bool* ok) const
{
    if (checker) {
        if (image)
            return checker->colorString(checker->GetToleranceValImage(type, ok));
        return checker->GetToleranceValText(type, ok);
    }
    SetOk(ok, true);
    return GetToleranceValWithoutChecker(image, type);
}

std::string ReportGenerator::GetToleranceValWithoutChecker(bool image, eErrorTypeQtRpt type) const
{
    const TolerancesData* t = tolerances.get();
    if (t == nullptr)
        return image ? kResultGray : " 0.00";
    if (type == DOCReport::eMediaIDE) {
        if (!image)
            return "< 0.00";
        const PatchComparer& c = *comparer;
        const bool red = c.paperWhiteDeltaL >= static_cast<double>(t->paperWhiteTotalLError) ||
                         c.paperWhiteDeltaA >= static_cast<double>(t->paperWhiteTotalaError) ||
                         c.paperWhiteDeltaB >= static_cast<double>(t->paperWhiteTotalbError);
        return red ? kResultRed : kResultGreen;
    }
    if (type == DOCReport::eGamutcheck)
        return image ? "" : " 0.00";
    float limit = 0.0f;
    switch (type) {
    case DOCReport::eAverageTotal:
    case DOCReport::eAverageAllPatches: limit = t->averageTotalError; break;
    case DOCReport::eMaximumTotal: limit = t->maximumTotalError; break;
    case DOCReport::eAverageGrayscale:
    case DOCReport::eAverageGrayscaleC:
    case DOCReport::eGrayscale: limit = t->grayBalanceError; break;
    case DOCReport::eMedia:
    case DOCReport::eWhitePoint: limit = t->paperWhiteTotalError; break;
    case DOCReport::ePrimaries:
    case DOCReport::ePrimariesH:
    case DOCReport::eBlackPoint:
    case DOCReport::eG7CMYSolids: limit = t->primaryColorsTotalError; break;
    case DOCReport::eQuantile95: limit = t->deviationBest90Error; break;
    case DOCReport::eIdeSpecialgray: limit = t->grayBalanceIDEASpecialError; break;
    case DOCReport::eAverageWDeltaLstar: limit = t->averageWDeltaLstarError; break;
    case DOCReport::eMaximumWDeltaLstar: limit = t->maximumWDeltaLstarError; break;
    case DOCReport::eAverageWDeltaCh: limit = t->averageWDeltaChError; break;
    case DOCReport::eMaximumWDeltaCh: limit = t->maximumWDeltaChError; break;
    case DOCReport::eG7RGBSolids: limit = t->secondaryColorsTotalError; break;
    case DOCReport::eG7KSolids: limit = t->blackColorTotalError; break;
    default:
        // The Fogra PSD 2022 values have no limit of their own here.
        return image ? kResultGray : " 0.00";
    }
    const double s = GetStatistic(type);
    const double l = static_cast<double>(limit);
    if (image) {
        if (s == Utils::UNCOMPUTED_DOUBLE_VALUE)
            return kResultGray;
        return s < l ? kResultGreen : kResultRed;
    }
    return (s == Utils::UNCOMPUTED_DOUBLE_VALUE ? " " : "< ") + Fixed(l, 2);
}

int ReportGenerator::GetNoOfPatches() const
{
    const int patches = target != nullptr ? target->patchCount : 0;
    const int sets = docReference ? docReference->GetSetCount() : 0;
    return std::min(patches, sets);
}

std::string ReportGenerator::GetPatchAttribute(int index, ePatchAttributeQtRpt attribute, bool* ok) const
{
    SetOk(ok, false);
    if (target == nullptr || index < 0 || index >= target->patchCount || !docReference || !chartReference)
        return "";
    const std::string layoutName = RecordText(target->layoutName, sizeof target->layoutName);
    const auto position = static_cast<unsigned int>(index);
    ReferenceFileSet* docSet = docReference->GetFileSetByFormat(comparer->vertical, position, layoutName.c_str());
    ReferenceFileSet* chartSet = chartReference->GetFileSetByFormat(comparer->vertical, position, layoutName.c_str());
    // A patch without its sets was never compared: no value and no verdict (the report
    // shows it as not calculated).
    if (docSet == nullptr || chartSet == nullptr)
        return "";

    // The same look-up the checkers use: a patch the comparison left out has no entry.
    const int listPosition = comparer->ListPosition(index);
    if (listPosition < 0)
        return "";
    const auto i = static_cast<std::size_t>(listPosition);
    const auto& refLab = comparer->GetPatchRefLab();
    const auto& lab = comparer->GetPatchLab();
    const auto& deltaE = comparer->GetPatchDeltaE();
    std::string value;
    switch (attribute) {
    case DOCReport::ePatchName: value = chartSet->GetName(); break;
    case DOCReport::ePatchNone: break;
    case DOCReport::ePatchRefL:
    case DOCReport::ePatchRefa:
    case DOCReport::ePatchRefb:
        if (i >= refLab.size())
            return "";
        value = Fixed(attribute == DOCReport::ePatchRefL   ? refLab[i].L
                      : attribute == DOCReport::ePatchRefa ? refLab[i].a
                                                           : refLab[i].b,
                      2);
        break;
    case DOCReport::ePatchL:
    case DOCReport::ePatcha:
    case DOCReport::ePatchb:
        if (i >= lab.size())
            return "";
        value = Fixed(attribute == DOCReport::ePatchL ? lab[i].L : attribute == DOCReport::ePatcha ? lab[i].a : lab[i].b,
                      2);
        break;
    case DOCReport::ePatchDeltaE:
        if (i >= deltaE.size())
            return "";
        value = Fixed(deltaE[i], 2);
        break;
    case DOCReport::ePatchWithinTolerance:
        value = PatchVerdict(index, chartSet);
        if (value.empty())
            return "";
        break;
    default: return "";
    }
    SetOk(ok, true);
    return value;
}

std::string ReportGenerator::PatchVerdict(int index, ReferenceFileSet* chartSet) const
{
    if (checker)
        return checker->colorString(checker->checkSinglePatch(index, chartSet));
    double dE = 0.0;
    if (!comparer->PatchDeltaE(index, dE))
        return "";
    const TolerancesData& t = *tolerances;
    const bool aboveMaximum = dE > static_cast<double>(t.maximumTotalError);
    if (chartReference->isCMYK) {
        if (chartSet->IsCMYKPrimaryColor())
            return aboveMaximum || dE > static_cast<double>(t.primaryColorsTotalError) ? kResultRed : kResultGreen;
        if (chartSet->IsPaperWhite()) {
            const std::string type = GetReportType();
            const bool ideAllianceType = type == ToleranceSetsDOC::DOC_REPORTTYPE_IDEALLIANCEDCS_2009 ||
                                         type == ToleranceSetsDOC::DOC_REPORTTYPE_IDEALLIANCECW_2013;
            if (aboveMaximum || (!ideAllianceType && dE > static_cast<double>(t.paperWhiteTotalError)))
                return kResultRed;
            return kResultGreen;
        }
        if (chartSet->IsGrayScale()) {
            if (aboveMaximum)
                return kResultRed;
            return dE > static_cast<double>(t.grayBalanceError) ? kResultYellow : kResultGreen;
        }
    }
    return aboveMaximum ? kResultRed : kResultGreen;
}

bool ReportGenerator::GetPatchSpectrum(int index, double (&values)[41]) const
{
    if (target == nullptr || index < 0 || index >= target->patchCount || target->rowsPerStrip <= 0)
        return false;
    // The measured patch sits where the comparison found it.
    const Tintora_patch* patch = PatchComparer::MeasuredPatch(*target, comparer->vertical, index);
    if (patch == nullptr)
        return false;
    for (int k = 0; k < 41; ++k)
        values[k] = std::min(patch->spectrum[k], 1.0);
    return true;
}

bool ReportGenerator::saveToXML(const std::string& path) const { return XmlReportWriter::Write(*this, path); }
