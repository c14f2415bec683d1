// GPDFTemplateParser: the tag table, the parse loop and the actions that fill the value
// tables from the report generator's getters.
#include "GPDFTemplateParser.h"

#include "ReportGenerator.h"
#include "Tolerances.h"

using DOCReport::eErrorTypeQtRpt;
using DOCReport::ePatchAttributeQtRpt;

namespace
{
constexpr int kLastValue = DOCReport::eMRBlackpoint;
}

const std::vector<std::string>& GPDFTemplateParser::sTags()
{
    static const std::vector<std::string> tags = {
        "$TAG_PRINTER_NAME", "$TAG_MEDIA_NAME",     "$TAG_DATE",
        "$TAG_TIME",         "$TAG_CREATOR",        "$TAG_DEVICE",
        "$TAG_REFERENCE",    "$TAG_MEASUREMENT",    "$TAG_EVALUATION",
        "$TAG_TOLERANCE",    "$TAG_COLOR_DISTANCE_FORMULA", "$TAG_CONTROL_STRIP",
        "$TAG_IMAGE_GLOBAL_PASSED", "$TAG_NUM_PATCHES", "$TAG_MEAS_CONDITION",
        "$TAG_BACKING",      "$TAG_DELTA_E_FORMULA", "$TAG_ERROR_",
        "$TAG_TOL_",         "$TAG_PATCH_",
    };
    return tags;
}

const std::map<std::string, GPDFTemplateParser::TagAction>& GPDFTemplateParser::sTagActions()
{
    static const std::map<std::string, TagAction> actions = {
        {"$TAG_PRINTER_NAME", &GPDFTemplateParser::TagPrinterName},
        {"$TAG_MEDIA_NAME", &GPDFTemplateParser::TagMediaName},
        {"$TAG_DATE", &GPDFTemplateParser::TagDate},
        {"$TAG_TIME", &GPDFTemplateParser::TagTime},
        {"$TAG_CREATOR", &GPDFTemplateParser::TagCreator},
        {"$TAG_DEVICE", &GPDFTemplateParser::TagDevice},
        {"$TAG_REFERENCE", &GPDFTemplateParser::TagReference},
        {"$TAG_MEASUREMENT", &GPDFTemplateParser::TagMeasurement},
        {"$TAG_EVALUATION", &GPDFTemplateParser::TagEvaluation},
        {"$TAG_TOLERANCE", &GPDFTemplateParser::TagTolerance},
        {"$TAG_COLOR_DISTANCE_FORMULA", &GPDFTemplateParser::TagColorDistanceFormula},
        {"$TAG_CONTROL_STRIP", &GPDFTemplateParser::TagControlStrip},
        {"$TAG_IMAGE_GLOBAL_PASSED", &GPDFTemplateParser::TagImageGlobalPassed},
        {"$TAG_NUM_PATCHES", &GPDFTemplateParser::TagNumPatches},
        {"$TAG_MEAS_CONDITION", &GPDFTemplateParser::TagMeasurementCondition},
        {"$TAG_BACKING", &GPDFTemplateParser::TagBacking},
        {"$TAG_DELTA_E_FORMULA", &GPDFTemplateParser::TagDeltaEFormula},
        {"$TAG_ERROR_", &GPDFTemplateParser::TagError},
        {"$TAG_TOL_", &GPDFTemplateParser::TagToleranceVal},
        {"$TAG_PATCH_", &GPDFTemplateParser::TagPatch},
    };
    return actions;
}

GPDFTemplateParser::GPDFTemplateParser(Object* owner_) : owner(owner_) { initMapGeneralValues(); }

void GPDFTemplateParser::initMapGeneralValues()
{
    const auto& tags = sTags();
    for (int i = 0; i < kGeneralTagCount; ++i)
        generalValues[tags[static_cast<std::size_t>(i)]] = "";
}

void GPDFTemplateParser::StartParsing()
{
    parseFinished.store(false);
    parseResult = Parse();
    parseFinished.store(true);
}

bool GPDFTemplateParser::Parse()
{
    currentTag = -1;
    const auto& tags = sTags();
    const auto& actions = sTagActions();
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (quitFlag.load())
            return false;
        currentTag = static_cast<int>(i);
        const auto action = actions.find(tags[i]);
        if (action == actions.end() || !(this->*(action->second))())
            return false;
    }
    return true;
}

std::string GPDFTemplateParser::GeneralValue(const std::string& tag) const
{
    const auto found = generalValues.find(tag);
    return found != generalValues.end() ? found->second : "";
}

const std::vector<std::string>& GPDFTemplateParser::GetPatchValues(int attribute) const
{
    static const std::vector<std::string> none;
    if (attribute < 0 || attribute >= kPatchAttributeCount)
        return none;
    return patchValues[static_cast<std::size_t>(attribute)];
}

ReportGenerator* GPDFTemplateParser::Generator() const { return dynamic_cast<ReportGenerator*>(owner); }

bool GPDFTemplateParser::StoreGeneral(const std::string& tag, const std::string& value, bool ok)
{
    if (ok)
        generalValues[tag] = value;
    return ok;
}

// One general tag: the getter's answer is stored when it exists.
#define VANTREL_GENERAL_TAG(Action, tag, Getter)                           \
    bool GPDFTemplateParser::Action()                                      \
    {                                                                      \
        ReportGenerator* generator = Generator();                          \
        if (generator == nullptr)                                          \
            return false;                                                  \
        bool ok = false;                                                   \
        const std::string value = generator->Getter(&ok);                  \
        return StoreGeneral(tag, value, ok);                               \
    }

VANTREL_GENERAL_TAG(TagPrinterName, "$TAG_PRINTER_NAME", GetPrinterName)
VANTREL_GENERAL_TAG(TagMediaName, "$TAG_MEDIA_NAME", GetMediaName)
VANTREL_GENERAL_TAG(TagDate, "$TAG_DATE", GetDate)
VANTREL_GENERAL_TAG(TagTime, "$TAG_TIME", GetTime)
VANTREL_GENERAL_TAG(TagCreator, "$TAG_CREATOR", GetCreator)
VANTREL_GENERAL_TAG(TagDevice, "$TAG_DEVICE", GetDevice)
VANTREL_GENERAL_TAG(TagReference, "$TAG_REFERENCE", GetReference)
VANTREL_GENERAL_TAG(TagMeasurement, "$TAG_MEASUREMENT", GetMeasurement)
VANTREL_GENERAL_TAG(TagEvaluation, "$TAG_EVALUATION", GetEvaluation)
VANTREL_GENERAL_TAG(TagTolerance, "$TAG_TOLERANCE", GetTolerance)
VANTREL_GENERAL_TAG(TagColorDistanceFormula, "$TAG_COLOR_DISTANCE_FORMULA", GetColorDistanceFormula)
VANTREL_GENERAL_TAG(TagControlStrip, "$TAG_CONTROL_STRIP", GetControlStrip)
VANTREL_GENERAL_TAG(TagNumPatches, "$TAG_NUM_PATCHES", GetNumPatches)

#undef VANTREL_GENERAL_TAG

bool GPDFTemplateParser::TagImageGlobalPassed()
{
    ReportGenerator* generator = Generator();
    if (generator == nullptr)
        return false;
    generalValues["$TAG_IMAGE_GLOBAL_PASSED"] =
        generator->GetGlobalPassed() == DOCReport::eGreen ? ReportGenerator::kResultGreen : ReportGenerator::kResultRed;
    return true;
}

bool GPDFTemplateParser::TagMeasurementCondition()
{
    ReportGenerator* generator = Generator();
    if (generator == nullptr)
        return false;
    generalValues["$TAG_MEAS_CONDITION"] = generator->GetMeasurementCondition(nullptr);
    return true;
}

bool GPDFTemplateParser::TagBacking()
{
    ReportGenerator* generator = Generator();
    if (generator == nullptr)
        return false;
    generalValues["$TAG_BACKING"] = generator->GetBacking(nullptr);
    return true;
}

// The subscript of the Delta E symbol in a report template.
bool GPDFTemplateParser::TagDeltaEFormula()
{
    ReportGenerator* generator = Generator();
    if (generator == nullptr)
        return false;
    bool ok = false;
    const std::string formula = generator->GetColorDistanceFormula(&ok);
    if (ok)
        generalValues["$TAG_DELTA_E_FORMULA"] = formula == "Delta E 94" ? "94" : formula == "Delta E 2000" ? "00" : "";
    return ok;
}

bool GPDFTemplateParser::TagError()
{
    ReportGenerator* generator = Generator();
    if (generator == nullptr)
        return false;
    static const int kOrder[] = {0, 1, 2, 4, 5, 3, 6, 7, 10, 9, 8, 12, 13};
    for (int value : kOrder)
        errorValues[value] = generator->GetError(static_cast<eErrorTypeQtRpt>(value), nullptr);
    for (int value = DOCReport::eAverageWDeltaLstar; value <= kLastValue; ++value)
        errorValues[value] = generator->GetError(static_cast<eErrorTypeQtRpt>(value), nullptr);
    return true;
}

void GPDFTemplateParser::StoreTolerance(ReportGenerator& generator, int type, int key)
{
    const auto value = static_cast<eErrorTypeQtRpt>(type);
    toleranceImages[key] = generator.GetToleranceVal(true, value, nullptr);
    toleranceTexts[key] = generator.GetToleranceVal(false, value, nullptr);
}

bool GPDFTemplateParser::TagToleranceVal()
{
    if (quitFlag.load())
        return false;
    ReportGenerator* generator = Generator();
    if (generator == nullptr)
        return false;
    static const int kOrder[] = {14, 13, 12, 0, 1, 2, 3, 4, 5, 6, 7, 10, 9, 8};
    for (int value : kOrder)
        StoreTolerance(*generator, value, value);
    // The gamut check shows the white point's verdict.
    StoreTolerance(*generator, DOCReport::eWhitePoint, DOCReport::eGamutcheck);
    if (toleranceImages[DOCReport::eWhitePoint] == ReportGenerator::kResultGreen ||
        toleranceTexts[DOCReport::eWhitePoint] == ReportGenerator::kResultGreen)
        StoreTolerance(*generator, DOCReport::eBlackPoint, DOCReport::eBlackPoint);
    for (int value = DOCReport::eAverageWDeltaLstar; value <= kLastValue; ++value)
        StoreTolerance(*generator, value, value);
    return true;
}

bool GPDFTemplateParser::TagPatch()
{
    if (quitFlag.load())
        return false;
    ReportGenerator* generator = Generator();
    if (generator == nullptr)
        return false;
    bool ok = false;
    int count = 0;
    if (!ToleranceNumbers::ReadInt(generator->GetNumPatches(&ok).c_str(), count))
        count = 0;
    static const int kAttributes[] = {0, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int a : kAttributes)
        patchValues[static_cast<std::size_t>(a)].reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        for (int a : kAttributes)
            patchValues[static_cast<std::size_t>(a)].push_back(
                generator->GetPatchAttribute(i, static_cast<ePatchAttributeQtRpt>(a), nullptr));
    }
    return ok;
}
