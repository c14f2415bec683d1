// IdeAllianceG7MasterToleranceChecker: the rules of the four G7 Master Pass/Fail levels.
#include "IdeAllianceG7MasterToleranceChecker.h"

#include "PatchComparer.h"
#include "ReferenceFileSet.h"
#include "Tolerances.h"

using DOCReport::eGreen;
using DOCReport::eNone;
using DOCReport::eRed;
using DOCReport::eToleranceColourQtRpt;

namespace
{
constexpr float kQuantile = 0.95f;

bool Above(double statistic, float limit) { return statistic > static_cast<double>(limit); }

double Quantile95(const PatchComparer& comparer) { return comparer.GetQuantileAllPatches(kQuantile, 0, false); }
}  // namespace

// ---- Grayscale -------------------------------------------------------------------------

G7MPFGrayscaleToleranceChecker::G7MPFGrayscaleToleranceChecker(PatchComparer* comparer_, TolerancesData* tolerances_)
    : ToleranceChecker(comparer_, tolerances_)
{
}

eToleranceColourQtRpt G7MPFGrayscaleToleranceChecker::RedWhenAbove(double statistic, float limit)
{
    return Above(statistic, limit) ? eRed : eGreen;
}

eToleranceColourQtRpt G7MPFGrayscaleToleranceChecker::checkSinglePatch(int index, ReferenceFileSet* set)
{
    if (set == nullptr || comparer == nullptr || tolerances == nullptr || !PatchCompared(index))
        return eNone;
    const bool cmyGray = set->IsG7CMYGrayScale();
    if ((cmyGray || set->IsG7KGrayScale()) && Above(comparer->getWDeltaLStar(index), tolerances->maximumWDeltaLstarError))
        return eRed;
    if (cmyGray && Above(comparer->wDeltaCh(index), tolerances->maximumWDeltaChError))
        return eRed;
    return eGreen;
}

std::string G7MPFGrayscaleToleranceChecker::GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok)
{
    if (tolerances != nullptr)
    {
        switch (type)
        {
        case DOCReport::eAverageWDeltaLstar: SetOk(ok, true); return LimitText(tolerances->averageWDeltaLstarError);
        case DOCReport::eMaximumWDeltaLstar: SetOk(ok, true); return LimitText(tolerances->maximumWDeltaLstarError);
        case DOCReport::eAverageWDeltaCh: SetOk(ok, true); return LimitText(tolerances->averageWDeltaChError);
        case DOCReport::eMaximumWDeltaCh: SetOk(ok, true); return LimitText(tolerances->maximumWDeltaChError);
        default: break;
        }
    }
    SetOk(ok, false);
    return "";
}

eToleranceColourQtRpt G7MPFGrayscaleToleranceChecker::GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok)
{
    if (comparer != nullptr && tolerances != nullptr)
    {
        const PatchComparer& c = *comparer;
        const TolerancesData& t = *tolerances;
        switch (type)
        {
        case DOCReport::eAverageWDeltaLstar: SetOk(ok, true); return RedWhenAbove(c.averageWDeltaLstar, t.averageWDeltaLstarError);
        case DOCReport::eMaximumWDeltaLstar: SetOk(ok, true); return RedWhenAbove(c.maximumWDeltaLstar, t.maximumWDeltaLstarError);
        case DOCReport::eAverageWDeltaCh: SetOk(ok, true); return RedWhenAbove(c.averageWDeltaCh, t.averageWDeltaChError);
        case DOCReport::eMaximumWDeltaCh: SetOk(ok, true); return RedWhenAbove(c.maximumWDeltaCh, t.maximumWDeltaChError);
        default: break;
        }
    }
    SetOk(ok, false);
    return eGreen;
}

// The weighted DeltaCh maximum only marks patches; it is not part of the report verdict.
eToleranceColourQtRpt G7MPFGrayscaleToleranceChecker::checkReport()
{
    if (comparer == nullptr || tolerances == nullptr)
        return eRed;
    const PatchComparer& c = *comparer;
    const TolerancesData& t = *tolerances;
    const bool fails = Above(c.averageWDeltaLstar, t.averageWDeltaLstarError) ||
                       Above(c.maximumWDeltaLstar, t.maximumWDeltaLstarError) ||
                       Above(c.averageWDeltaCh, t.averageWDeltaChError);
    return fails ? eRed : eGreen;
}

// ---- Targeted --------------------------------------------------------------------------

G7MPFTargetedToleranceChecker::G7MPFTargetedToleranceChecker(PatchComparer* comparer_, TolerancesData* tolerances_)
    : G7MPFGrayscaleToleranceChecker(comparer_, tolerances_)
{
}

eToleranceColourQtRpt G7MPFTargetedToleranceChecker::checkSinglePatch(int index, ReferenceFileSet* set)
{
    const eToleranceColourQtRpt base = G7MPFGrayscaleToleranceChecker::checkSinglePatch(index, set);
    double dE = 0.0;
    if (base == eRed || base == eNone || !PatchDeltaE(index, dE))
        return base;
    const TolerancesData& t = *tolerances;
    const bool fails = (set->IsPaperWhite() && Above(dE, t.paperWhiteTotalError)) ||
                       (set->IsG7CMYSolid() && Above(dE, t.primaryColorsTotalError)) ||
                       (set->IsG7KSolid() && Above(dE, t.blackColorTotalError)) ||
                       (set->IsG7RGBSolid() && Above(dE, t.secondaryColorsTotalError));
    return fails ? eRed : eGreen;
}

// The texts of 4, 19, 20 and 21 leave `ok` as the caller set it.
std::string G7MPFTargetedToleranceChecker::GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok)
{
    if (tolerances != nullptr)
    {
        switch (type)
        {
        case DOCReport::eMedia: return LimitText(tolerances->paperWhiteTotalError);
        case DOCReport::eG7CMYSolids: return LimitText(tolerances->primaryColorsTotalError);
        case DOCReport::eG7RGBSolids: return LimitText(tolerances->secondaryColorsTotalError);
        case DOCReport::eG7KSolids: return LimitText(tolerances->blackColorTotalError);
        default: break;
        }
    }
    return G7MPFGrayscaleToleranceChecker::GetToleranceValText(type, ok);
}

eToleranceColourQtRpt G7MPFTargetedToleranceChecker::GetToleranceValImage(DOCReport::eErrorTypeQtRpt type, bool* ok)
{
    if (comparer != nullptr && tolerances != nullptr)
    {
        const PatchComparer& c = *comparer;
        const TolerancesData& t = *tolerances;
        switch (type)
        {
        case DOCReport::eMedia: SetOk(ok, true); return RedWhenAbove(c.maximumPaperWhiteDeltaE, t.paperWhiteTotalError);
        case DOCReport::eG7CMYSolids: SetOk(ok, true); return RedWhenAbove(c.maximumCMYSolidsDeltaE, t.primaryColorsTotalError);
        case DOCReport::eG7RGBSolids: SetOk(ok, true); return RedWhenAbove(c.maximumRGBSolidsDeltaE, t.secondaryColorsTotalError);
        case DOCReport::eG7KSolids: SetOk(ok, true); return RedWhenAbove(c.maximumKSolidDeltaE, t.blackColorTotalError);
        default: break;
        }
    }
    return G7MPFGrayscaleToleranceChecker::GetToleranceValImage(type, ok);
}

eToleranceColourQtRpt G7MPFTargetedToleranceChecker::checkReport()
{
    if (G7MPFGrayscaleToleranceChecker::checkReport() == eRed)
        return eRed;
    const PatchComparer& c = *comparer;
    const TolerancesData& t = *tolerances;
    const bool fails = Above(c.maximumPaperWhiteDeltaE, t.paperWhiteTotalError) ||
                       Above(c.maximumCMYSolidsDeltaE, t.primaryColorsTotalError) ||
                       Above(c.maximumRGBSolidsDeltaE, t.secondaryColorsTotalError) ||
                       Above(c.maximumKSolidDeltaE, t.blackColorTotalError);
    return fails ? eRed : eGreen;
}

// ---- Colorspace Proof ------------------------------------------------------------------

G7MPFColorspaceProofToleranceChecker::G7MPFColorspaceProofToleranceChecker(PatchComparer* comparer_,
                                                                           TolerancesData* tolerances_)
    : G7MPFTargetedToleranceChecker(comparer_, tolerances_)
{
}

eToleranceColourQtRpt G7MPFColorspaceProofToleranceChecker::checkSinglePatch(int index, ReferenceFileSet* set)
{
    const eToleranceColourQtRpt base = G7MPFTargetedToleranceChecker::checkSinglePatch(index, set);
    double dE = 0.0;
    if (base == eRed || base == eNone || !PatchDeltaE(index, dE))
        return base;
    return RedWhenAbove(dE, tolerances->maximumTotalError);
}

// A request handed on to the lower levels comes back with `ok` false unless they answer it
// and set it themselves.
std::string G7MPFColorspaceProofToleranceChecker::GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok)
{
    if (tolerances != nullptr)
    {
        switch (type)
        {
        case DOCReport::eAverageTotal: SetOk(ok, true); return LimitText(tolerances->averageTotalError);
        case DOCReport::eMaximumTotal: SetOk(ok, true); return LimitText(tolerances->maximumTotalError);
        case DOCReport::eQuantile95: SetOk(ok, true); return LimitText(tolerances->deviationBest90Error);
        default: break;
        }
    }
    SetOk(ok, false);
    return G7MPFTargetedToleranceChecker::GetToleranceValText(type, ok);
}

eToleranceColourQtRpt G7MPFColorspaceProofToleranceChecker::GetToleranceValImage(DOCReport::eErrorTypeQtRpt type,
                                                                                bool* ok)
{
    if (comparer != nullptr && tolerances != nullptr)
    {
        const PatchComparer& c = *comparer;
        const TolerancesData& t = *tolerances;
        switch (type)
        {
        case DOCReport::eAverageTotal: SetOk(ok, true); return RedWhenAbove(c.averageDeltaE, t.averageTotalError);
        case DOCReport::eMaximumTotal: SetOk(ok, true); return RedWhenAbove(c.maximumDeltaE, t.maximumTotalError);
        case DOCReport::eQuantile95: SetOk(ok, true); return RedWhenAbove(Quantile95(c), t.deviationBest90Error);
        default: break;
        }
    }
    return G7MPFTargetedToleranceChecker::GetToleranceValImage(type, ok);
}

eToleranceColourQtRpt G7MPFColorspaceProofToleranceChecker::checkReport()
{
    if (G7MPFTargetedToleranceChecker::checkReport() == eRed)
        return eRed;
    const PatchComparer& c = *comparer;
    const TolerancesData& t = *tolerances;
    const bool fails = Above(c.maximumDeltaE, t.maximumTotalError) || Above(Quantile95(c), t.deviationBest90Error) ||
                       Above(c.averageDeltaE, t.averageTotalError);
    return fails ? eRed : eGreen;
}

// ---- Colorspace Press ------------------------------------------------------------------

G7MPFColorspacePressToleranceChecker::G7MPFColorspacePressToleranceChecker(PatchComparer* comparer_,
                                                                           TolerancesData* tolerances_)
    : G7MPFTargetedToleranceChecker(comparer_, tolerances_)
{
}

eToleranceColourQtRpt G7MPFColorspacePressToleranceChecker::checkSinglePatch(int index, ReferenceFileSet* set)
{
    return G7MPFTargetedToleranceChecker::checkSinglePatch(index, set);
}

std::string G7MPFColorspacePressToleranceChecker::GetToleranceValText(DOCReport::eErrorTypeQtRpt type, bool* ok)
{
    if (tolerances != nullptr)
    {
        switch (type)
        {
        case DOCReport::eAverageTotal: SetOk(ok, true); return LimitText(tolerances->averageTotalError);
        case DOCReport::eQuantile95: SetOk(ok, true); return LimitText(tolerances->deviationBest90Error);
        default: break;
        }
    }
    SetOk(ok, false);
    return G7MPFTargetedToleranceChecker::GetToleranceValText(type, ok);
}

eToleranceColourQtRpt G7MPFColorspacePressToleranceChecker::GetToleranceValImage(DOCReport::eErrorTypeQtRpt type,
                                                                                bool* ok)
{
    if (comparer != nullptr && tolerances != nullptr)
    {
        const PatchComparer& c = *comparer;
        const TolerancesData& t = *tolerances;
        switch (type)
        {
        case DOCReport::eAverageTotal: SetOk(ok, true); return RedWhenAbove(c.averageDeltaE, t.averageTotalError);
        case DOCReport::eQuantile95: SetOk(ok, true); return RedWhenAbove(Quantile95(c), t.deviationBest90Error);
        default: break;
        }
    }
    return G7MPFTargetedToleranceChecker::GetToleranceValImage(type, ok);
}

eToleranceColourQtRpt G7MPFColorspacePressToleranceChecker::checkReport()
{
    if (G7MPFTargetedToleranceChecker::checkReport() == eRed)
        return eRed;
    const PatchComparer& c = *comparer;
    const TolerancesData& t = *tolerances;
    const bool fails = Above(c.averageDeltaE, t.averageTotalError) || Above(Quantile95(c), t.deviationBest90Error);
    return fails ? eRed : eGreen;
}
