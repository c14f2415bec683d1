// PatchComparer: pairs every measured patch of a target with its DOC reference set,
// computes the colour differences and sorts them into colour classes, and derives the
// summary statistics that the tolerance checkers and the report writer read.
//
// Glossary: DOC reference = the expected Lab of every patch; chart reference = the reference
// of the printed chart, whose device values decide the colour classes when the DOC reference
// has none; class set = the set whose device values are tested; media relative = both colours
// rescaled to their own paper white (reference against the reference white, measurement
// against the measured white); G7 weight = see ColorDifference::G7Weight.
#pragma once

#include "EvalTypes.h"
#include "Utils.h"

#include <lcms2.h>

#include <map>
#include <string>
#include <vector>

class ReferenceFileData;
class ReferenceFileSet;
struct Tintora_patch;
struct Tintora_target;

class PatchComparer
{
public:
    PatchComparer();
    ~PatchComparer() = default;
    PatchComparer(const PatchComparer&) = delete;
    PatchComparer& operator=(const PatchComparer&) = delete;

    // Fills the comparer; computes the statistics when `chartReference` is not null.
    // Owns none of the arguments.
    void CompareReferenceFileData(ReferenceFileData* docReference, Tintora_target* target,
                                  ReferenceFileData* chartReference);
    // Summary statistics from the lists and maps; the argument is not used.
    void ComputeDelta(ReferenceFileData* unused);
    // Mean and largest value of a map; each written only when its pointer is set and the
    // map is not empty.
    void computeAvgAndMax(std::map<int, double>* values, double* average, double* maximum);
    void GamutCheck(double* blackPointDifference, double* whitePointDeltaE);

    // Threshold search: mode 0 gives the largest value below the threshold under which
    // trunc(n * q) values lie, mode 1 the mean of those values; -1 when trunc(n * q) is 0.
    double GetQuantile(float q, int mode, const std::vector<double>* values) const;
    double GetQuantileAllPatches(float q, int mode, bool relative) const;
    double GetQuantileNoBoundaryColors(float q, int mode) const;

    // Difference measures: `refLab` points to L*, a*, b* of the reference.
    double GetDelta(Utils::ColorDistanceFormula formula, const double* refLab, double L, double a, double b) const;
    double GetDeltaRel(Utils::ColorDistanceFormula formula, const double* refLab, double L, double a,
                       double b) const;
    double GetDelta_h(const double* refLab, double L, double a, double b) const;
    double GetDelta_C(const double* refLab, double L, double a, double b) const;
    double GetDelta_Ch(const double* refLab, double L, double a, double b, bool relative) const;
    double GetWeightedDeltaLStar(const double* lab1, const double* lab2, double deviceValue) const;
    double GetWeightedDeltaCh(const double* lab1, const double* lab2, double deviceValue) const;
    // In place to media-relative colour; `white` 0 = referenceWhite, 1 = measuredWhite.
    void lab2relativ(cmsCIELab* lab, int white) const;

    // Readers; the comparer keeps ownership. The per-patch lists (deltaE, deltaEAbsolute,
    // deltaERelative, patchLab, patchRefLab) hold compared patches only: look a patch index
    // up with ListPosition before reading them.
    const std::vector<double>& GetPatchDeltaE() const { return deltaE; }
    const std::vector<cmsCIELab>& GetPatchLab() const { return patchLab; }
    const std::vector<cmsCIELab>& GetPatchRefLab() const { return patchRefLab; }
    // Value stored for a patch index; 0 when there is none.
    double GetPatchDeltaH(int index) const { return valueAt(primariesDeltaH, index); }
    double getDeltaCh_Grayscale(int index) const { return valueAt(grayDeltaChByPatch, index); }
    double getDelta_noBoundaryColors(int index) const { return valueAt(noBoundaryDeltaE, index); }
    double getWDeltaLStar(int index) const { return valueAt(wDeltaLstarByPatch, index); }
    double wDeltaCh(int index) const { return valueAt(wDeltaChByPatch, index); }

    // Entry of the per-patch lists that belongs to patch `index`; -1 when the patch was not
    // compared (no DOC or chart set, or no measured grid cell), so it has no value and no
    // verdict. Lists filled without a comparison pair entry i with patch i.
    int ListPosition(int index) const;
    // Reported Delta E of patch `index`; false when the patch was not compared.
    bool PatchDeltaE(int index, double& dE) const;
    // The grid cell holding the measurement of patch `index` in the reading order of the
    // target (vertical: column by column within each strip); null when there is none.
    static const Tintora_patch* MeasuredPatch(const Tintora_target& target, bool vertical, int index);
    // Media type for a target whose information text names none (a job element placed
    // after the measurement reaches the job but not the text). 0 (absolute) by default.
    void SetJobMediaType(int mediaType) { jobMediaType = mediaType; }

    // Loads a reference file for a caller that owns the result; null when loading fails.
    static ReferenceFileData* GetReferenceFileData(std::string path);

    // Media type of the last comparison (2 = media relative).
    int GetDocMediaType() const { return docMediaType; }

    // Fields in model order.
    cmsCIELab referenceWhite{0.0, 0.0, 0.0};
    cmsCIELab measuredWhite{0.0, 0.0, 0.0};
    // Held as int: a tolerance file may name a formula outside the enumeration, which then
    // gives Delta E 0 for every patch.
    int colorDistanceFormula = Utils::eCIEDE2000;
    std::vector<double> deltaE;
    std::vector<double> deltaEAbsolute;
    std::vector<double> primariesDeltaE;
    std::vector<double> paperWhiteDeltaE;
    std::vector<double> grayDeltaE;
    std::vector<double> grayDeltaCh;
    std::vector<double> grayDeltaChRelative;
    std::vector<double> deltaERelative;
    std::vector<cmsCIELab> patchLab;
    std::vector<cmsCIELab> patchRefLab;
    std::map<int, double> wDeltaLstarByPatch;
    std::map<int, double> wDeltaChByPatch;
    std::map<int, double> cmySolidsDeltaE;
    std::map<int, double> rgbSolidsDeltaE;
    std::map<int, double> kSolidDeltaE;
    std::map<int, double> noBoundaryDeltaE;
    std::map<int, double> grayDeltaChByPatch;
    std::map<int, double> primariesDeltaH;
    std::vector<double> grayIdeaDeltaE;
    double maximumGrayIdeaDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double grayBalanceSpecialDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double paperWhiteDeltaL = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double paperWhiteDeltaA = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double paperWhiteDeltaB = Utils::UNCOMPUTED_DOUBLE_VALUE;
    std::vector<cmsCIELab> paperWhiteLab;
    std::vector<cmsCIELab> paperWhiteRefLab;
    std::vector<cmsCIELab> darkLab;
    std::vector<cmsCIELab> darkRefLab;

    // Summary statistics (ComputeDelta); -1 = not computed.
    double averageDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageDeltaERelative = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumPrimariesDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumPrimariesDeltaH = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumPaperWhiteDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageGrayDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageGrayDeltaCh = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumGrayDeltaCh = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumGrayDeltaChRelative = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageWDeltaLstar = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumWDeltaLstar = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageWDeltaCh = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumWDeltaCh = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageKSolidDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumKSolidDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageCMYSolidsDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumCMYSolidsDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageRGBSolidsDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double maximumRGBSolidsDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double averageNoBoundaryDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double blackPointDifference = Utils::UNCOMPUTED_DOUBLE_VALUE;
    double whitePointDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;

    bool vertical = false;

private:
    enum class Branch
    {
        None,
        CMYK,
        RGB
    };
    // One patch of the first pass, kept for the media-relative second pass.
    struct ComparedPatch
    {
        cmsCIELab reference;
        cmsCIELab measured;
        bool grayBalance;
    };

    static double valueAt(const std::map<int, double>& values, int index);
    void clearComparison();
    double deltaERel(int formula, cmsCIELab reference, cmsCIELab measured) const;
    // The classes both colour models have; each flag is the model's own test of the set.
    struct CommonClasses
    {
        bool primary, paperWhite, gray, dark;
    };
    void recordCommonClasses(int index, CommonClasses classes, const cmsCIELab& reference,
                             const cmsCIELab& measured, double dE, double dCh, double dH);
    void classifyCMYK(int index, const ReferenceFileSet& classSet, const cmsCIELab& reference,
                      const cmsCIELab& measured, double dE, double dCh, double dH);
    void classifyRGB(int index, const ReferenceFileSet& classSet, const cmsCIELab& reference,
                     const cmsCIELab& measured, double dE, double dCh, double dH);

    int docMediaType = 0;
    int jobMediaType = 0;
    // List position of every patch index of the last comparison; -1 = not compared.
    std::vector<int> listPositions;
    bool comparedOnce = false;
};
