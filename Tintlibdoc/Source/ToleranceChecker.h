// ToleranceChecker: turns a comparer's statistics and a tolerance set's limits into verdicts
// for one published evaluation scheme: a colour per patch, a colour and a limit text per
// report value (DOCReport::eErrorTypeQtRpt), and one colour for the whole report.
//
// Statistic of each report value: 0 averageDeltaE, 1 maximumDeltaE, 2 averageGrayDeltaE,
// 3 averageGrayDeltaCh, 4 maximumPaperWhiteDeltaE, 5 maximumPrimariesDeltaE,
// 6 maximumPrimariesDeltaH, 7 averageDeltaERelative, 8 95th percentile, 9 blackPointDifference,
// 10 whitePointDeltaE, 11 none, 12 maximumGrayIdeaDeltaE, 13 grayBalanceSpecialDeltaE,
// 14 none (paper white L, a, b), 15-18 G7 weighted averages and maxima, 19-21 G7 solids,
// 22-43 the Fogra PSD 2022 groups (FograPSD2022ToleranceChecker.h).
#pragma once

#include "EvalTypes.h"

#include <string>

class PatchComparer;
class ReferenceFileSet;
class TolerancesData;

class ToleranceChecker
{
public:
    // Neither argument is owned.
    ToleranceChecker(PatchComparer* comparer, TolerancesData* tolerances);
    // Virtual so the report generator can delete any checker through this base.
    virtual ~ToleranceChecker() = default;
    ToleranceChecker(const ToleranceChecker&) = delete;
    ToleranceChecker& operator=(const ToleranceChecker&) = delete;

    // Colour of patch `index`; `set` is its chart set, whose device values decide its classes.
    virtual DOCReport::eToleranceColourQtRpt checkSinglePatch(int index, ReferenceFileSet* set) = 0;
    // Limit of a value as text; `ok` (may be null) tells whether the checker knows the value.
    virtual std::string GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok) = 0;
    // Colour of a value; `ok` as above.
    virtual DOCReport::eToleranceColourQtRpt GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok) = 0;
    // Colour of the whole report: eGreen or eRed.
    virtual DOCReport::eToleranceColourQtRpt checkReport() = 0;
    virtual void reset() = 0;

    // "GREEN", "YELLOW", "RED"; "" for eNone and any other value.
    std::string colorString(DOCReport::eToleranceColourQtRpt colour) const;

protected:
    // A limit in fixed notation with one decimal, independent of the locale.
    static std::string LimitText(float limit);
    static void SetOk(bool* ok, bool value)
    {
        if (ok != nullptr)
            *ok = value;
    }
    // Reported Delta E of patch `index`; false when the comparison left the patch out.
    bool PatchDeltaE(int index, double& dE) const;
    // False for a patch the comparison left out: it gets no verdict (eNone).
    bool PatchCompared(int index) const;

    PatchComparer* comparer;
    TolerancesData* tolerances;
};
