// TolerancesData: one tolerance set read from a tolerance XML file (root "settings"): the
// report types it declares, the colour-difference formula and 39 limits. A limit the file
// omits keeps the value the object was constructed with.
//
// Glossary: cp_ / vp_ / ma_ / mr_ = the Fogra PSD 2022 groups (certified proof, validation
// print, side-by-side match, media-relative match).
#pragma once

#include "EvalTypes.h"
#include "Utils.h"

#include <set>
#include <string>

class TolerancesData
{
public:
    explicit TolerancesData(float value);
    TolerancesData(const TolerancesData&) = default;
    TolerancesData& operator=(const TolerancesData&) = default;

    // Every limit to 0; formula and report types stay.
    void resetAtributes();
    // Values present in the file replace the current ones. False for an unreadable or
    // oversized file, malformed XML, or a missing "settings", "reportType" or
    // "colorDistanceFormula" element; fields read before a failure may have changed.
    bool LoadFromXML(const std::string& path);

    // One tolerance key: its element name and the field that holds it.
    struct Key
    {
        const char* name;
        float TolerancesData::*field;
    };
    static constexpr int kKeyCount = 39;
    // The keys in field order.
    static const Key* Keys();

    // Fields in model order.
    std::set<std::string> reportTypes;
    int colorDistanceFormula = Utils::eCIEDE2000;
    float averageTotalError;
    float maximumTotalError;
    float primaryColorsTotalError;
    float paperWhiteTotalError;
    float grayBalanceError;
    float deviationBest90Error;
    float grayBalanceIDEASpecialError;
    float paperWhiteTotalLError;
    float paperWhiteTotalaError;
    float paperWhiteTotalbError;
    float averageWDeltaLstarError;
    float maximumWDeltaLstarError;
    float averageWDeltaChError;
    float maximumWDeltaChError;
    float blackColorTotalError;
    float secondaryColorsTotalError;
    float deviationTotalError;
    float cp_paperWhiteTotalError;
    float cp_maximumTotalError;
    float cp_averageTotalError;
    float cp_grayBalanceError;
    float cp_averageGrayBalanceError;
    float cp_primaryColorsTotalError;
    float cp_primaryColorsDeltaHTotalError;
    float vp_paperWhiteTotalError;
    float vp_averageNoBoundaryColorsError;
    float vp_95thPercentileNoBoundaryColors;
    float vp_grayBalanceError;
    float vp_averageGrayBalanceError;
    float ma_paperWhiteTotalError;
    float ma_averageTotalError;
    float ma_maximumTotalError;
    float ma_95thPercentile;
    float ma_grayBalanceError;
    float mr_averageTotalError;
    float mr_95thPercentile;
    float mr_grayBalanceError;
    float mr_whitepoint;
    float mr_blackpoint;

private:
    void setAll(float value);
};

// Lenient, locale-independent number reading of element texts: leading white space and a
// leading "+" are skipped, trailing characters ignored. False when no number starts there
// (or it is out of range or not finite); `value` is then unchanged.
namespace ToleranceNumbers
{
bool ReadInt(const char* text, int& value);
bool ReadFloat(const char* text, float& value);
}  // namespace ToleranceNumbers
