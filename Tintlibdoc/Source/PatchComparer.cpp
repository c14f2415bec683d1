// PatchComparer: the comparison passes, the colour classes and the summary statistics.
//
// Skipped patches: a patch index for which the DOC reference has no set, for which a given
// chart reference has no set, or whose measured patch lies outside the target's grid is left
// out of both passes. It adds nothing to any list, map or statistic, so every statistic
// describes only patches that have a reference, a class and a measurement. The position
// table (ListPosition) keeps, for every patch index, its entry in the per-patch lists, so
// the checkers and the report find each patch's own values and a skipped patch shifts no
// other; the report generator compares only targets whose set counts match.
#include "PatchComparer.h"

#include "ColorDifference.h"
#include "GFileFormatTool.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "Tintlib.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace
{
constexpr char kMediaTypeOpen[] = "<DOCMediaType>";
constexpr char kMediaTypeClose[] = "</DOCMediaType>";
constexpr int kMediaRelative = 2;

// Bounded copy of a text field of the target record.
std::string RecordText(const char* field, size_t capacity) { return std::string(field, strnlen(field, capacity)); }

// The integer inside the first "<DOCMediaType>...</DOCMediaType>"; `fallback` when the
// element is missing, unterminated or holds no number.
int ReadDocMediaType(const std::string& info, int fallback)
{
    const size_t open = info.find(kMediaTypeOpen);
    if (open == std::string::npos)
        return fallback;
    const size_t start = open + sizeof kMediaTypeOpen - 1;
    const size_t close = info.find(kMediaTypeClose, start);
    if (close == std::string::npos)
        return fallback;
    const std::string text = info.substr(start, close - start);
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return fallback;
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value > 1000000)
            return fallback;
    }
    return static_cast<int>(negative ? -value : value);
}

cmsCIELab ToLab(const double* lab) { return cmsCIELab{lab[0], lab[1], lab[2]}; }

double MeanOf(const std::vector<double>& values)
{
    if (values.empty())
        return Utils::UNCOMPUTED_DOUBLE_VALUE;
    double sum = 0.0;
    for (double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

double MaxOf(const std::vector<double>& values, double initial)
{
    double m = initial;
    for (double v : values)
        m = std::max(m, v);
    return m;
}

cmsCIELab MeanLab(const std::vector<cmsCIELab>& values)
{
    cmsCIELab mean{0.0, 0.0, 0.0};
    if (values.empty())
        return mean;
    for (const cmsCIELab& v : values)
    {
        mean.L += v.L;
        mean.a += v.a;
        mean.b += v.b;
    }
    const double n = static_cast<double>(values.size());
    mean.L /= n;
    mean.a /= n;
    mean.b /= n;
    return mean;
}
}  // namespace

PatchComparer::PatchComparer() = default;

int PatchComparer::ListPosition(int index) const
{
    if (index < 0)
        return -1;
    const auto i = static_cast<size_t>(index);
    if (!comparedOnce)
        return i < deltaE.size() ? index : -1;
    return i < listPositions.size() ? listPositions[i] : -1;
}

bool PatchComparer::PatchDeltaE(int index, double& dE) const
{
    const int position = ListPosition(index);
    if (position < 0 || static_cast<size_t>(position) >= deltaE.size())
        return false;
    dE = deltaE[static_cast<size_t>(position)];
    return true;
}

// The strips lie one below the other in the row table (row H x s + r). Both reading orders
// fill one strip before the next, so the position within the strip picks the cell.
const Tintora_patch* PatchComparer::MeasuredPatch(const Tintora_target& target, bool vertical, int index)
{
    const int w = target.patchesPerRow;
    const int h = target.rowsPerStrip;
    if (w <= 0 || h <= 0 || index < 0)
        return nullptr;
    const long perStrip = static_cast<long>(w) * h;
    const long strip = index / perStrip;
    if (strip >= target.stripCount)
        return nullptr;
    GFileFormatTool grid;
    grid.gridColumns = w;
    grid.gridRows = h;
    const char* orderName = vertical ? Utils::LAYOUT_VERTICAL_LEFT_RIGHT : Utils::LAYOUT_HORIZONTAL_DEFAULT;
    int column = 0;
    int row = 0;
    if (!grid.GetSDIndex(orderName, static_cast<int>(index % perStrip), column, row))
        return nullptr;
    return Tintora_PatchAt(&target, static_cast<int>(strip), row, column);
}

double PatchComparer::valueAt(const std::map<int, double>& values, int index)
{
    const auto it = values.find(index);
    return it == values.end() ? 0.0 : it->second;
}

void PatchComparer::clearComparison()
{
    deltaE.clear();
    deltaEAbsolute.clear();
    primariesDeltaE.clear();
    paperWhiteDeltaE.clear();
    grayDeltaE.clear();
    grayDeltaCh.clear();
    grayDeltaChRelative.clear();
    deltaERelative.clear();
    patchLab.clear();
    patchRefLab.clear();
    wDeltaLstarByPatch.clear();
    wDeltaChByPatch.clear();
    cmySolidsDeltaE.clear();
    rgbSolidsDeltaE.clear();
    kSolidDeltaE.clear();
    noBoundaryDeltaE.clear();
    grayDeltaChByPatch.clear();
    primariesDeltaH.clear();
    grayIdeaDeltaE.clear();
    paperWhiteLab.clear();
    paperWhiteRefLab.clear();
    darkLab.clear();
    darkRefLab.clear();
    // Per-pass results of an earlier comparison must not survive into this one.
    grayBalanceSpecialDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    paperWhiteDeltaL = Utils::UNCOMPUTED_DOUBLE_VALUE;
    paperWhiteDeltaA = Utils::UNCOMPUTED_DOUBLE_VALUE;
    paperWhiteDeltaB = Utils::UNCOMPUTED_DOUBLE_VALUE;
    referenceWhite = cmsCIELab{0.0, 0.0, 0.0};
    measuredWhite = cmsCIELab{0.0, 0.0, 0.0};
    docMediaType = 0;
    // From the first comparison on, the position table is the only pairing of patch
    // indices with list entries.
    listPositions.clear();
    comparedOnce = true;
}

void PatchComparer::CompareReferenceFileData(ReferenceFileData* docReference, Tintora_target* target,
                                             ReferenceFileData* chartReference)
{
    clearComparison();
    if (docReference == nullptr || target == nullptr)
        return;

    docMediaType = ReadDocMediaType(RecordText(target->infoText, sizeof target->infoText), jobMediaType);
    const bool mediaRelative = docMediaType == kMediaRelative;

    GFileFormatTool grid;
    const std::string layoutName = RecordText(target->layoutName, sizeof target->layoutName);
    vertical = grid.GetSDMap(layoutName.c_str()).isVertical;

    std::vector<ComparedPatch> compared;
    const int patchCount = std::max(target->patchCount, 0);
    listPositions.assign(static_cast<size_t>(patchCount), -1);
    for (int i = 0; i < patchCount; ++i)
    {
        ReferenceFileSet* docSet = docReference->GetFileSetByFormat(vertical, static_cast<unsigned>(i), layoutName.c_str());
        if (docSet == nullptr)
            continue;
        ReferenceFileSet* chartSet = nullptr;
        if (chartReference != nullptr)
        {
            chartSet = chartReference->GetFileSetByFormat(vertical, static_cast<unsigned>(i), layoutName.c_str());
            if (chartSet == nullptr)
                continue;
        }
        const Tintora_patch* measuredPatch = MeasuredPatch(*target, vertical, i);
        if (measuredPatch == nullptr)
            continue;
        const cmsCIELab measured{measuredPatch->L, measuredPatch->a, measuredPatch->b};
        listPositions[static_cast<size_t>(i)] = static_cast<int>(compared.size());

        const cmsCIELab reference = ToLab(docSet->GetValuesLAB());
        const double refLab[3] = {reference.L, reference.a, reference.b};
        const double dE = ColorDifference::DeltaE(colorDistanceFormula, reference, measured);
        const double dCh = GetDelta_Ch(refLab, measured.L, measured.a, measured.b, false);
        const double dH = GetDelta_h(refLab, measured.L, measured.a, measured.b);

        deltaEAbsolute.push_back(dE);
        patchLab.push_back(measured);
        patchRefLab.push_back(reference);
        if (!mediaRelative)
            deltaE.push_back(dE);

        Branch branch = Branch::None;
        const ReferenceFileSet* classSet = nullptr;
        if (docReference->isCMYK || (chartReference != nullptr && chartReference->isCMYK))
        {
            branch = Branch::CMYK;
            classSet = docReference->isCMYK ? docSet : chartSet;
        }
        else if (docReference->isRGB || (chartReference != nullptr && chartReference->isRGB))
        {
            branch = Branch::RGB;
            classSet = docReference->isRGB ? docSet : chartSet;
        }

        bool grayBalance = false;
        if (branch == Branch::CMYK)
        {
            classifyCMYK(i, *classSet, reference, measured, dE, dCh, dH);
            grayBalance = classSet->IsGrayScale();
        }
        else if (branch == Branch::RGB)
        {
            classifyRGB(i, *classSet, reference, measured, dE, dCh, dH);
            grayBalance = classSet->IsRGBGrayScale();
        }
        compared.push_back(ComparedPatch{reference, measured, grayBalance});
    }

    referenceWhite = MeanLab(paperWhiteRefLab);
    measuredWhite = MeanLab(paperWhiteLab);

    for (const ComparedPatch& patch : compared)
    {
        const double refLab[3] = {patch.reference.L, patch.reference.a, patch.reference.b};
        const cmsCIELab& m = patch.measured;
        const double dERel = deltaERel(colorDistanceFormula, patch.reference, m);
        deltaERelative.push_back(dERel);
        if (patch.grayBalance)
            grayDeltaChRelative.push_back(GetDelta_Ch(refLab, m.L, m.a, m.b, true));
        if (mediaRelative)
            deltaE.push_back(dERel);
    }

    if (mediaRelative)
    {
        for (cmsCIELab& lab : patchLab)
            lab2relativ(&lab, 1);
        for (cmsCIELab& lab : patchRefLab)
            lab2relativ(&lab, 0);
    }

    if (chartReference != nullptr)
        ComputeDelta(docReference);
}

void PatchComparer::recordCommonClasses(int index, CommonClasses classes, const cmsCIELab& reference,
                                        const cmsCIELab& measured, double dE, double dCh, double dH)
{
    if (classes.primary)
    {
        primariesDeltaE.push_back(dE);
        primariesDeltaH[index] = dH;
    }
    if (classes.paperWhite)
    {
        paperWhiteDeltaE.push_back(dE);
        paperWhiteLab.push_back(measured);
        paperWhiteRefLab.push_back(reference);
        paperWhiteDeltaL = std::fabs(measured.L - reference.L);
        paperWhiteDeltaA = std::fabs(measured.a - reference.a);
        paperWhiteDeltaB = std::fabs(measured.b - reference.b);
    }
    if (classes.gray)
    {
        grayDeltaE.push_back(dE);
        grayDeltaCh.push_back(dCh);
        grayDeltaChByPatch[index] = dCh;
    }
    if (classes.dark)
    {
        darkLab.push_back(measured);
        darkRefLab.push_back(reference);
    }
}

void PatchComparer::classifyCMYK(int index, const ReferenceFileSet& s, const cmsCIELab& reference,
                                 const cmsCIELab& measured, double dE, double dCh, double dH)
{
    const double refLab[3] = {reference.L, reference.a, reference.b};
    const double measLab[3] = {measured.L, measured.a, measured.b};
    recordCommonClasses(index, {s.IsCMYKPrimaryColor(), s.IsPaperWhite(), s.IsGrayScale(), s.IsGamutDarkColor()},
                        reference, measured, dE, dCh, dH);
    if (s.IsGrayScaleIDEA())
        grayIdeaDeltaE.push_back(dE);
    if (s.IsGrayBalanceIDEASpecial())
        grayBalanceSpecialDeltaE = dE;
    const double* cmyk = s.GetValuesCMYK();
    if (s.IsG7KGrayScale())
        wDeltaLstarByPatch[index] = GetWeightedDeltaLStar(refLab, measLab, cmyk[3]);
    if (s.IsG7CMYGrayScale())
    {
        wDeltaLstarByPatch[index] = GetWeightedDeltaLStar(refLab, measLab, cmyk[0]);
        wDeltaChByPatch[index] = GetWeightedDeltaCh(refLab, measLab, cmyk[0]);
    }
    if (s.IsG7CMYSolid())
        cmySolidsDeltaE[index] = dE;
    if (s.IsG7RGBSolid())
        rgbSolidsDeltaE[index] = dE;
    if (s.IsG7KSolid())
        kSolidDeltaE[index] = dE;
    if (!s.isCMYKBoundaryColor())
        noBoundaryDeltaE[index] = dE;
}

void PatchComparer::classifyRGB(int index, const ReferenceFileSet& s, const cmsCIELab& reference,
                                const cmsCIELab& measured, double dE, double dCh, double dH)
{
    recordCommonClasses(index, {s.IsRGBPrimaryColor(), s.IsRGBPaperWhite(), s.IsRGBGrayScale(), s.IsRGBGamutDarkColor()},
                        reference, measured, dE, dCh, dH);
    if (!s.IsRGBBoundaryColor())
        noBoundaryDeltaE[index] = dE;
}

void PatchComparer::ComputeDelta(ReferenceFileData* /*unused*/)
{
    averageDeltaE = MeanOf(deltaEAbsolute);
    maximumDeltaE = MaxOf(deltaEAbsolute, 0.0);
    averageDeltaERelative = MeanOf(deltaERelative);
    maximumPrimariesDeltaE = MaxOf(primariesDeltaE, Utils::UNCOMPUTED_DOUBLE_VALUE);
    maximumPrimariesDeltaH = Utils::UNCOMPUTED_DOUBLE_VALUE;
    for (const auto& entry : primariesDeltaH)
        maximumPrimariesDeltaH = std::max(maximumPrimariesDeltaH, entry.second);
    maximumPaperWhiteDeltaE = MaxOf(paperWhiteDeltaE, Utils::UNCOMPUTED_DOUBLE_VALUE);
    averageGrayDeltaE = MeanOf(grayDeltaE);
    averageGrayDeltaCh = MeanOf(grayDeltaCh);
    maximumGrayDeltaCh = MaxOf(grayDeltaCh, 0.0);
    maximumGrayDeltaChRelative = MaxOf(grayDeltaChRelative, 0.0);
    maximumGrayIdeaDeltaE = MaxOf(grayIdeaDeltaE, Utils::UNCOMPUTED_DOUBLE_VALUE);

    // An empty map leaves its pair at -1; reset first so a repeated comparison does not
    // report the previous comparison's values.
    double* mapStatistics[] = {&averageWDeltaLstar,     &maximumWDeltaLstar,     &averageWDeltaCh,
                               &maximumWDeltaCh,        &averageCMYSolidsDeltaE, &maximumCMYSolidsDeltaE,
                               &averageRGBSolidsDeltaE, &maximumRGBSolidsDeltaE, &averageKSolidDeltaE,
                               &maximumKSolidDeltaE};
    for (double* statistic : mapStatistics)
        *statistic = Utils::UNCOMPUTED_DOUBLE_VALUE;
    computeAvgAndMax(&wDeltaLstarByPatch, &averageWDeltaLstar, &maximumWDeltaLstar);
    computeAvgAndMax(&wDeltaChByPatch, &averageWDeltaCh, &maximumWDeltaCh);
    computeAvgAndMax(&cmySolidsDeltaE, &averageCMYSolidsDeltaE, &maximumCMYSolidsDeltaE);
    computeAvgAndMax(&rgbSolidsDeltaE, &averageRGBSolidsDeltaE, &maximumRGBSolidsDeltaE);
    computeAvgAndMax(&kSolidDeltaE, &averageKSolidDeltaE, &maximumKSolidDeltaE);

    averageNoBoundaryDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    computeAvgAndMax(&noBoundaryDeltaE, &averageNoBoundaryDeltaE, nullptr);

    whitePointDeltaE = Utils::UNCOMPUTED_DOUBLE_VALUE;
    GamutCheck(&blackPointDifference, &whitePointDeltaE);
}

void PatchComparer::computeAvgAndMax(std::map<int, double>* values, double* average, double* maximum)
{
    if (values == nullptr || values->empty())
        return;
    double sum = 0.0;
    double largest = 0.0;
    for (const auto& entry : *values)
    {
        sum += entry.second;
        largest = std::max(largest, entry.second);
    }
    if (average != nullptr)
        *average = sum / static_cast<double>(values->size());
    if (maximum != nullptr)
        *maximum = largest;
}

void PatchComparer::GamutCheck(double* blackPoint, double* whitePoint)
{
    if (blackPoint != nullptr)
    {
        double smallestMeasured = 100.0;
        double smallestReference = 100.0;
        const size_t n = std::min(darkLab.size(), darkRefLab.size());
        for (size_t i = 0; i < n; ++i)
        {
            smallestMeasured = std::min(smallestMeasured, darkLab[i].L);
            smallestReference = std::min(smallestReference, darkRefLab[i].L);
        }
        *blackPoint = n == 0 ? 0.0 : std::fabs(smallestReference - smallestMeasured);
    }
    if (whitePoint != nullptr && !paperWhiteDeltaE.empty())
        *whitePoint = paperWhiteDeltaE.back();
}

double PatchComparer::GetQuantile(float q, int mode, const std::vector<double>* values) const
{
    const size_t n = values == nullptr ? 0 : values->size();
    double largestValue = 0.0;
    if (n > 0)
        largestValue = MaxOf(*values, 0.0);
    const float product = static_cast<float>(n) * q;
    const long k = static_cast<long>(product);
    if (k <= 0)
        return mode == 1 ? 0.0 : Utils::UNCOMPUTED_DOUBLE_VALUE;

    constexpr int kMaxCounts = 51;
    double lo = 0.0;
    double hi = largestValue;
    double threshold = largestValue / 2.0;
    long count = 0;
    double sum = 0.0;
    double largestBelow = 0.0;
    for (int pass = 1; pass <= kMaxCounts; ++pass)
    {
        count = 0;
        sum = 0.0;
        largestBelow = 0.0;
        for (double v : *values)
        {
            if (v < threshold)
            {
                ++count;
                sum += v;
                largestBelow = std::max(largestBelow, v);
            }
        }
        if (count == k || pass == kMaxCounts)
            break;
        if (count < k)
            lo = threshold;
        else
            hi = threshold;
        threshold = lo + (hi - lo) / 2.0;
    }
    if (mode == 0)
        return largestBelow;
    if (mode == 1)
        return count == 0 ? sum : sum / static_cast<double>(count);
    return Utils::UNCOMPUTED_DOUBLE_VALUE;
}

double PatchComparer::GetQuantileAllPatches(float q, int mode, bool relative) const
{
    return GetQuantile(q, mode, relative ? &deltaERelative : &deltaE);
}

double PatchComparer::GetQuantileNoBoundaryColors(float q, int mode) const
{
    std::vector<double> values;
    values.reserve(noBoundaryDeltaE.size());
    for (const auto& entry : noBoundaryDeltaE)
        values.push_back(entry.second);
    return GetQuantile(q, mode, &values);
}

double PatchComparer::GetDelta(Utils::ColorDistanceFormula formula, const double* refLab, double L, double a,
                               double b) const
{
    return ColorDifference::DeltaE(formula, ToLab(refLab), cmsCIELab{L, a, b});
}

double PatchComparer::GetDeltaRel(Utils::ColorDistanceFormula formula, const double* refLab, double L, double a,
                                  double b) const
{
    return deltaERel(formula, ToLab(refLab), cmsCIELab{L, a, b});
}

double PatchComparer::deltaERel(int formula, cmsCIELab reference, cmsCIELab measured) const
{
    lab2relativ(&reference, 0);
    lab2relativ(&measured, 1);
    return ColorDifference::DeltaE(formula, reference, measured);
}

double PatchComparer::GetDelta_h(const double* refLab, double L, double a, double b) const
{
    cmsCIELab reference = ToLab(refLab);
    cmsCIELab measured{L, a, b};
    ColorDifference::SubstituteZeros(reference);
    ColorDifference::SubstituteZeros(measured);
    return ColorDifference::DeltaH(reference, measured);
}

double PatchComparer::GetDelta_C(const double* refLab, double L, double a, double b) const
{
    return GetDelta_Ch(refLab, L, a, b, false);
}

double PatchComparer::GetDelta_Ch(const double* refLab, double L, double a, double b, bool relative) const
{
    cmsCIELab reference = ToLab(refLab);
    cmsCIELab measured{L, a, b};
    ColorDifference::SubstituteZeros(reference);
    ColorDifference::SubstituteZeros(measured);
    if (relative)
    {
        lab2relativ(&reference, 0);
        lab2relativ(&measured, 1);
    }
    return ColorDifference::DeltaCh(reference, measured);
}

double PatchComparer::GetWeightedDeltaLStar(const double* lab1, const double* lab2, double deviceValue) const
{
    return ColorDifference::G7Weight(deviceValue) * std::fabs(lab2[0] - lab1[0]);
}

double PatchComparer::GetWeightedDeltaCh(const double* lab1, const double* lab2, double deviceValue) const
{
    const double da = lab2[1] - lab1[1];
    const double db = lab2[2] - lab1[2];
    return ColorDifference::G7Weight(deviceValue) * std::sqrt(da * da + db * db);
}

// Scales XYZ so the chosen paper white maps onto the D50 white (0.9642, 1.0, 0.8249).
void PatchComparer::lab2relativ(cmsCIELab* lab, int white) const
{
    if (lab == nullptr)
        return;
    const cmsCIELab& whiteLab = white == 0 ? referenceWhite : measuredWhite;
    cmsCIEXYZ xyz;
    cmsCIEXYZ whiteXYZ;
    cmsLab2XYZ(nullptr, &xyz, lab);
    cmsLab2XYZ(nullptr, &whiteXYZ, &whiteLab);
    xyz.X = whiteXYZ.X == 0.0 ? 0.0 : xyz.X * (0.9642 / whiteXYZ.X);
    xyz.Y = whiteXYZ.Y == 0.0 ? 0.0 : xyz.Y * (1.0 / whiteXYZ.Y);
    xyz.Z = whiteXYZ.Z == 0.0 ? 0.0 : xyz.Z * (0.8249 / whiteXYZ.Z);
    cmsXYZ2Lab(nullptr, lab, &xyz);
}

ReferenceFileData* PatchComparer::GetReferenceFileData(std::string path)
{
    auto data = std::make_unique<ReferenceFileData>(ReferenceFlavour::ReportLibrary);
    if (!data->loadReferenceFileData(nullptr, path.c_str(), false))
        return nullptr;
    return data.release();
}
