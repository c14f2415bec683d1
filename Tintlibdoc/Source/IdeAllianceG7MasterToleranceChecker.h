// IdeAllianceG7MasterToleranceChecker: the G7 Master Pass/Fail checkers. Each level first
// applies the rule of the level below it, whose eRed is final:
//   Grayscale  weighted Delta L* and weighted DeltaCh of the G7 gray ramps (values 15-18)
//   Targeted   + paper white and the CMY, RGB and K solids (values 4, 19, 20, 21)
//   Proof      + whole-chart average, maximum and 95th percentile (values 0, 1, 8)
//   Press      + whole-chart average and 95th percentile (values 0, 8); targeted patch rule
#pragma once

#include "ToleranceChecker.h"

class G7MPFGrayscaleToleranceChecker : public ToleranceChecker
{
public:
    G7MPFGrayscaleToleranceChecker(PatchComparer* comparer, TolerancesData* tolerances);

    DOCReport::eToleranceColourQtRpt checkSinglePatch(int index, ReferenceFileSet* set) override;
    std::string GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt checkReport() override;
    void reset() override {}

protected:
    // statistic > limit, compared in double precision.
    static DOCReport::eToleranceColourQtRpt RedWhenAbove(double statistic, float limit);
};

class G7MPFTargetedToleranceChecker : public G7MPFGrayscaleToleranceChecker
{
public:
    G7MPFTargetedToleranceChecker(PatchComparer* comparer, TolerancesData* tolerances);

    DOCReport::eToleranceColourQtRpt checkSinglePatch(int index, ReferenceFileSet* set) override;
    std::string GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt checkReport() override;
};

class G7MPFColorspaceProofToleranceChecker : public G7MPFTargetedToleranceChecker
{
public:
    G7MPFColorspaceProofToleranceChecker(PatchComparer* comparer, TolerancesData* tolerances);

    DOCReport::eToleranceColourQtRpt checkSinglePatch(int index, ReferenceFileSet* set) override;
    std::string GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt checkReport() override;
};

class G7MPFColorspacePressToleranceChecker : public G7MPFTargetedToleranceChecker
{
public:
    G7MPFColorspacePressToleranceChecker(PatchComparer* comparer, TolerancesData* tolerances);

    DOCReport::eToleranceColourQtRpt checkSinglePatch(int index, ReferenceFileSet* set) override;
    std::string GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok) override;
    DOCReport::eToleranceColourQtRpt checkReport() override;
};
