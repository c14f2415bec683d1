// FograPSD2022ToleranceChecker: per-patch, per-value and report verdicts of the four groups.
#include "FograPSD2022ToleranceChecker.h"

#include "PatchComparer.h"
#include "ReferenceFileSet.h"
#include "Tolerances.h"

namespace
{
enum Group
{
    kCP,
    kVP,
    kMA,
    kMR
};

enum class Statistic
{
    PaperWhite,
    Maximum,
    Average,
    MaximumGrayCh,
    AverageGrayCh,
    PrimariesDeltaH,
    Primaries,
    AverageNoBoundary,
    Quantile95NoBoundary,
    Quantile95,
    AverageRelative,
    Quantile95Relative,
    MaximumGrayChRelative,
    WhitePoint,
    BlackPoint
};

// One report value of the groups: its statistic, its limit and whether equality fails.
struct FograValue
{
    Group group;
    Statistic statistic;
    float TolerancesData::*limit;
    bool failsWhenEqual;
};

constexpr int kFirstFograValue = DOCReport::eCPSubstrate;
constexpr int kLastFograValue = DOCReport::eMRBlackpoint;

const FograValue kValues[kLastFograValue - kFirstFograValue + 1] = {
    {kCP, Statistic::PaperWhite, &TolerancesData::cp_paperWhiteTotalError, false},                // 22
    {kCP, Statistic::Maximum, &TolerancesData::cp_maximumTotalError, false},                      // 23
    {kCP, Statistic::Average, &TolerancesData::cp_averageTotalError, false},                      // 24
    {kCP, Statistic::MaximumGrayCh, &TolerancesData::cp_grayBalanceError, false},                 // 25
    {kCP, Statistic::AverageGrayCh, &TolerancesData::cp_averageGrayBalanceError, false},          // 26
    {kCP, Statistic::PrimariesDeltaH, &TolerancesData::cp_primaryColorsDeltaHTotalError, false},  // 27
    {kCP, Statistic::Primaries, &TolerancesData::cp_primaryColorsTotalError, false},              // 28
    {kVP, Statistic::PaperWhite, &TolerancesData::vp_paperWhiteTotalError, false},                // 29
    {kVP, Statistic::AverageNoBoundary, &TolerancesData::vp_averageNoBoundaryColorsError, false}, // 30
    {kVP, Statistic::Quantile95NoBoundary, &TolerancesData::vp_95thPercentileNoBoundaryColors, false},  // 31
    {kVP, Statistic::MaximumGrayCh, &TolerancesData::vp_grayBalanceError, false},                 // 32
    {kVP, Statistic::AverageGrayCh, &TolerancesData::vp_averageGrayBalanceError, false},          // 33
    {kMA, Statistic::PaperWhite, &TolerancesData::ma_paperWhiteTotalError, true},                 // 34
    {kMA, Statistic::Maximum, &TolerancesData::ma_maximumTotalError, true},                       // 35
    {kMA, Statistic::Average, &TolerancesData::ma_averageTotalError, true},                       // 36
    {kMA, Statistic::Quantile95, &TolerancesData::ma_95thPercentile, true},                       // 37
    {kMA, Statistic::MaximumGrayCh, &TolerancesData::ma_grayBalanceError, false},                 // 38
    {kMR, Statistic::AverageRelative, &TolerancesData::mr_averageTotalError, true},               // 39
    {kMR, Statistic::Quantile95Relative, &TolerancesData::mr_95thPercentile, true},               // 40
    {kMR, Statistic::MaximumGrayChRelative, &TolerancesData::mr_grayBalanceError, false},         // 41
    {kMR, Statistic::WhitePoint, &TolerancesData::mr_whitepoint, true},                           // 42
    {kMR, Statistic::BlackPoint, &TolerancesData::mr_blackpoint, true},                           // 43
};

const FograValue* FindValue(int type)
{
    if (type < kFirstFograValue || type > kLastFograValue)
        return nullptr;
    return &kValues[type - kFirstFograValue];
}

constexpr float kQuantile = 0.95f;

double StatisticOf(const PatchComparer& c, Statistic s)
{
    switch (s)
    {
    case Statistic::PaperWhite: return c.maximumPaperWhiteDeltaE;
    case Statistic::Maximum: return c.maximumDeltaE;
    case Statistic::Average: return c.averageDeltaE;
    case Statistic::MaximumGrayCh: return c.maximumGrayDeltaCh;
    case Statistic::AverageGrayCh: return c.averageGrayDeltaCh;
    case Statistic::PrimariesDeltaH: return c.maximumPrimariesDeltaH;
    case Statistic::Primaries: return c.maximumPrimariesDeltaE;
    case Statistic::AverageNoBoundary: return c.averageNoBoundaryDeltaE;
    case Statistic::Quantile95NoBoundary: return c.GetQuantileNoBoundaryColors(kQuantile, 0);
    case Statistic::Quantile95: return c.GetQuantileAllPatches(kQuantile, 0, false);
    case Statistic::AverageRelative: return c.averageDeltaERelative;
    case Statistic::Quantile95Relative: return c.GetQuantileAllPatches(kQuantile, 0, true);
    case Statistic::MaximumGrayChRelative: return c.maximumGrayDeltaChRelative;
    case Statistic::WhitePoint: return c.whitePointDeltaE;
    case Statistic::BlackPoint: return c.blackPointDifference;
    }
    return Utils::UNCOMPUTED_DOUBLE_VALUE;
}

// x > t, or x >= t when equality fails; limits compare in double precision.
bool Exceeds(double x, float limit, bool failsWhenEqual)
{
    const double t = static_cast<double>(limit);
    return failsWhenEqual ? x >= t : x > t;
}
}  // namespace

FograPSD2022ToleranceChecker::FograPSD2022ToleranceChecker(PatchComparer* comparer_, TolerancesData* tolerances_)
    : FograPSD2022ToleranceChecker(comparer_, tolerances_, true, true, true, true)
{
}

FograPSD2022ToleranceChecker::FograPSD2022ToleranceChecker(PatchComparer* comparer_, TolerancesData* tolerances_,
                                                           bool cp_, bool vp_, bool ma_, bool mr_)
    : ToleranceChecker(comparer_, tolerances_), cp(cp_), vp(vp_), ma(ma_), mr(mr_)
{
}

bool FograPSD2022ToleranceChecker::groupEnabled(int group) const
{
    switch (group)
    {
    case kCP: return cp;
    case kVP: return vp;
    case kMA: return ma;
    case kMR: return mr;
    default: return false;
    }
}

bool FograPSD2022ToleranceChecker::valueFails(int type) const
{
    const FograValue* value = FindValue(type);
    if (value == nullptr || comparer == nullptr || tolerances == nullptr)
        return false;
    return Exceeds(StatisticOf(*comparer, value->statistic), tolerances->*value->limit, value->failsWhenEqual);
}

DOCReport::eToleranceColourQtRpt FograPSD2022ToleranceChecker::checkSinglePatch(int index, ReferenceFileSet* set)
{
    double dE = 0.0;
    if (set == nullptr || tolerances == nullptr || !PatchDeltaE(index, dE))
        return DOCReport::eNone;
    const TolerancesData& t = *tolerances;
    const double dCh = comparer->getDeltaCh_Grayscale(index);
    const double dH = comparer->GetPatchDeltaH(index);
    const bool paper = set->IsRGBPaperWhite() || set->IsPaperWhite();
    const bool gray = set->IsRGBGrayScale() || set->IsGrayScale();
    const bool primary = set->IsRGBPrimaryColor() || set->IsCMYKPrimaryColor();
    const bool boundary = set->IsRGBBoundaryColor() || set->isCMYKBoundaryColor();
    const bool dark = set->IsRGBGamutDarkColor() || set->IsGamutDarkColor();

    bool fails = false;
    if (cp)
        fails = (paper && Exceeds(dE, t.cp_paperWhiteTotalError, false)) ||
                (gray && Exceeds(dCh, t.cp_grayBalanceError, false)) ||
                (primary && Exceeds(dE, t.cp_primaryColorsTotalError, false)) ||
                (primary && Exceeds(dH, t.cp_primaryColorsDeltaHTotalError, false)) ||
                Exceeds(dE, t.cp_maximumTotalError, false);
    if (!fails && vp)
        fails = (paper && Exceeds(dE, t.vp_paperWhiteTotalError, false)) ||
                (gray && Exceeds(dCh, t.vp_grayBalanceError, false)) ||
                (!boundary && Exceeds(dE, t.vp_95thPercentileNoBoundaryColors, false));
    if (!fails && ma)
        fails = (paper && Exceeds(dE, t.ma_paperWhiteTotalError, true)) ||
                (gray && Exceeds(dCh, t.ma_grayBalanceError, false)) || Exceeds(dE, t.ma_maximumTotalError, true) ||
                Exceeds(dE, t.ma_95thPercentile, true);
    if (!fails && mr)
        fails = (paper && Exceeds(dE, t.mr_whitepoint, true)) || (gray && Exceeds(dCh, t.mr_grayBalanceError, false)) ||
                (dark && Exceeds(dE, t.mr_blackpoint, true)) || Exceeds(dE, t.mr_95thPercentile, true);
    return fails ? DOCReport::eRed : DOCReport::eGreen;
}

std::string FograPSD2022ToleranceChecker::GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok)
{
    const FograValue* value = FindValue(type);
    if (value == nullptr || tolerances == nullptr)
    {
        SetOk(ok, false);
        return "";
    }
    SetOk(ok, true);
    return LimitText(tolerances->*value->limit);
}

// Values 0-21 belong to the library's own evaluation and always read as passed here.
DOCReport::eToleranceColourQtRpt FograPSD2022ToleranceChecker::GetToleranceValImage(DOCReport::eErrorTypeQtRpt type,
                                                                                  bool* ok)
{
    SetOk(ok, true);
    const FograValue* value = FindValue(type);
    if (value == nullptr || !groupEnabled(value->group))
        return DOCReport::eGreen;
    return valueFails(type) ? DOCReport::eRed : DOCReport::eGreen;
}

DOCReport::eToleranceColourQtRpt FograPSD2022ToleranceChecker::checkReport()
{
    for (int type = kFirstFograValue; type <= kLastFograValue; ++type)
    {
        if (groupEnabled(FindValue(type)->group) && valueFails(type))
            return DOCReport::eRed;
    }
    return DOCReport::eGreen;
}
