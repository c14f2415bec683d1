// EvalTypes: the small shared vocabulary of the evaluation code: display names of the
// colour-difference formulas, verdict colours and report value numbers.
//
// The report value numbering (DOCReport::eErrorTypeQtRpt) is shared by the tolerance
// checkers and the report generator, which print and judge the same values.
#pragma once

namespace Eval
{
// Display name of a colour-difference formula (Utils::ColorDistanceFormula), "" outside 0-4.
const char* ColorDistanceFormulaName(int formula);
}  // namespace Eval

namespace DOCReport
{
// Colour of a verdict.
enum eToleranceColourQtRpt : int
{
    eNone = 0,
    eGreen = 1,
    eYellow = 2,
    eRed = 3
};

// The values a report can show; see the statistic each one prints in ToleranceChecker.h.
enum eErrorTypeQtRpt : int
{
    eAverageTotal = 0,
    eMaximumTotal = 1,
    eAverageGrayscale = 2,
    eAverageGrayscaleC = 3,
    eMedia = 4,
    ePrimaries = 5,
    ePrimariesH = 6,
    eAverageAllPatches = 7,
    eQuantile95 = 8,
    eBlackPoint = 9,
    eWhitePoint = 10,
    eGamutcheck = 11,
    eGrayscale = 12,
    eIdeSpecialgray = 13,
    eMediaIDE = 14,
    eAverageWDeltaLstar = 15,
    eMaximumWDeltaLstar = 16,
    eAverageWDeltaCh = 17,
    eMaximumWDeltaCh = 18,
    eG7CMYSolids = 19,
    eG7RGBSolids = 20,
    eG7KSolids = 21,
    eCPSubstrate = 22,
    eCPMaximumTotal = 23,
    eCPAverageTotal = 24,
    eCPMaximumGrayscale = 25,
    eCPAverageGrayscale = 26,
    eCPPrimariesH = 27,
    eCPPrimaries = 28,
    eVPSubstrate = 29,
    eVPAverageNoBoundaryColors = 30,
    eVPQuantile95NoBoundaryColors = 31,
    eVPMaximumGrayscale = 32,
    eVPAverageGrayscale = 33,
    eMASubstrate = 34,
    eMAMaximumTotal = 35,
    eMAAverageTotal = 36,
    eMAQuantile95 = 37,
    eMAMaximumGrayscale = 38,
    eMRAverageTotal = 39,
    eMRQuantile95 = 40,
    eMRMaximumGrayscale = 41,
    eMRWhitepoint = 42,
    eMRBlackpoint = 43
};
}  // namespace DOCReport
