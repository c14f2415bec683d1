// FograPSD2022ToleranceChecker: the Fogra PSD 2022 evaluation in four groups, each enabled
// by its flag: cp (certified proof), vp (validation print), ma (side-by-side match) and
// mr (media-relative match).
//
// Report values 22-43: 22 CP substrate, 23 CP maximum, 24 CP average, 25 CP maximum gray
// DeltaCh, 26 CP average gray DeltaCh, 27 CP primaries DeltaH, 28 CP primaries DeltaE,
// 29 VP substrate, 30 VP non-boundary average, 31 VP non-boundary 95th percentile, 32 VP
// maximum gray, 33 VP average gray, 34 MA substrate, 35 MA maximum, 36 MA average, 37 MA
// 95th percentile, 38 MA maximum gray, 39 MR average, 40 MR 95th percentile, 41 MR maximum
// relative gray, 42 MR white point, 43 MR black point.
//
// cp and vp limits pass when equal; ma and mr limits fail when equal, except their
// gray-balance limits, which pass when equal.
#pragma once

#include "ToleranceChecker.h"

class FograPSD2022ToleranceChecker : public ToleranceChecker
{
public:
    // All four groups.
    FograPSD2022ToleranceChecker(PatchComparer* comparer, TolerancesData* tolerances);
    FograPSD2022ToleranceChecker(PatchComparer* comparer, TolerancesData* tolerances, bool cp, bool vp, bool ma,
                                 bool mr);

    DOCReport::eToleranceColourQtRpt checkSinglePatch(int index, ReferenceFileSet* set) override;
    std::string GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt checkReport() override;
    void reset() override {}

    bool cp;
    bool vp;
    bool ma;
    bool mr;

private:
    bool groupEnabled(int group) const;
    // True when value `type` (22-43) fails its limit; false for any other type.
    bool valueFails(int type) const;
};
