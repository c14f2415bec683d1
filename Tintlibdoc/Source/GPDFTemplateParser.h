// GPDFTemplateParser: collects every value a DOC report shows, keyed by template tag
// ("$TAG_..."), by asking its owner, the ReportGenerator, through its getters. The XML
// report is written from these tables only, and only after a complete parse.
//
// Glossary: general tag = a tag with one text value; error value = the printed statistic
// of a report value (DOCReport::eErrorTypeQtRpt); tolerance text / image = the limit text
// and the verdict colour name of a report value; patch lists = one entry per patch.
//
// Threading: the parse runs on the caller's thread; another thread may only ask it to
// stop (SetQuitFlag) and watch IsParseFinished, so both flags are atomic.
#pragma once

#include "Object.h"

#include <array>
#include <atomic>
#include <map>
#include <string>
#include <vector>

class ReportGenerator;

class GPDFTemplateParser : public Object
{
public:
    using TagAction = bool (GPDFTemplateParser::*)();

    explicit GPDFTemplateParser(Object* owner);
    GPDFTemplateParser(const GPDFTemplateParser&) = delete;
    GPDFTemplateParser& operator=(const GPDFTemplateParser&) = delete;

    // The tags in parse order; the first kGeneralTagCount are the general tags.
    static const std::vector<std::string>& sTags();
    static const std::map<std::string, TagAction>& sTagActions();
    static constexpr int kGeneralTagCount = 17;
    static constexpr int kPatchAttributeCount = 10;

    void initMapGeneralValues();
    void StartParsing();
    bool Parse();

    void SetQuitFlag(bool quit) { quitFlag.store(quit); }
    bool GetQuitFlag() const { return quitFlag.load(); }
    void SetParseFinished(bool finished) { parseFinished.store(finished); }
    bool IsParseFinished() const { return parseFinished.load(); }
    bool GetParseResult() const { return parseResult; }
    int GetCurrentTag() const { return currentTag; }

    // Actions, one per tag.
    bool TagPrinterName();
    bool TagMediaName();
    bool TagDate();
    bool TagTime();
    bool TagCreator();
    bool TagDevice();
    bool TagReference();
    bool TagMeasurement();
    bool TagEvaluation();
    bool TagTolerance();
    bool TagColorDistanceFormula();
    bool TagControlStrip();
    bool TagImageGlobalPassed();
    bool TagNumPatches();
    bool TagMeasurementCondition();
    bool TagBacking();
    bool TagDeltaEFormula();
    bool TagError();
    bool TagToleranceVal();
    bool TagPatch();

    // The collected tables.
    const std::map<std::string, std::string>& GetGeneralValues() const { return generalValues; }
    // Value of a general tag; "" when it has none.
    std::string GeneralValue(const std::string& tag) const;
    const std::map<int, std::string>& GetErrorValues() const { return errorValues; }
    const std::map<int, std::string>& GetToleranceTexts() const { return toleranceTexts; }
    const std::map<int, std::string>& GetToleranceImages() const { return toleranceImages; }
    // Per-patch list of a DOCReport::ePatchAttributeQtRpt value (0-9); empty outside.
    const std::vector<std::string>& GetPatchValues(int attribute) const;

private:
    ReportGenerator* Generator() const;
    // Stores a getter's answer under `tag` when it exists.
    bool StoreGeneral(const std::string& tag, const std::string& value, bool ok);
    void StoreTolerance(ReportGenerator& generator, int type, int key);

    Object* owner;
    std::map<std::string, std::string> generalValues;
    std::map<int, std::string> errorValues;
    std::map<int, std::string> unusedValues;   // no action writes it
    std::map<int, std::string> toleranceTexts;
    std::map<int, std::string> toleranceImages;
    // Per-patch lists indexed by DOCReport::ePatchAttributeQtRpt: names, (attribute 1, stays
    // empty), reference L*, a*, b*, measured L*, a*, b*, Delta E and verdict colour.
    std::array<std::vector<std::string>, kPatchAttributeCount> patchValues;
    int currentTag = -1;
    bool parseResult = false;
    std::atomic<bool> parseFinished{true};
    std::atomic<bool> quitFlag{false};
};
