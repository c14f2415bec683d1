// LabToSpectralUtil: ink spectra from Lab by library weighting, and the spectral mixture
// of a patch's ink percentages, integrated under D50 / 2 degrees to Lab and display RGB.
#include "LabToSpectralUtil.h"

#include "ColorUtil.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr int N = LabToSpectralUtil::kSpectralCount;

// Relative spectral power of D50 (the 730 nm value repeated up to 780 nm) and the
// CIE 1931 2-degree colour-matching functions, 380-780 nm in 10 nm steps.
struct IntegrationRow
{
    double S, x, y, z;
};
constexpr IntegrationRow kTable[N] = {
    {0.2445, 0.001368, 0.000039, 0.00645},  {0.2983, 0.004243, 0.00012, 0.02005},
    {0.4926, 0.014313, 0.000397, 0.067856}, {0.5646, 0.043503, 0.001205, 0.207397},
    {0.5998, 0.134384, 0.003998, 0.645599}, {0.5777, 0.283905, 0.011597, 1.385605},
    {0.7478, 0.348282, 0.022995, 1.747055}, {0.872, 0.336197, 0.037994, 1.77211},
    {0.9057, 0.290802, 0.059998, 1.669205}, {0.9133, 0.195358, 0.090973, 1.287643},
    {0.9507, 0.095642, 0.139023, 0.812943}, {0.9193, 0.032013, 0.208023, 0.465179},
    {0.957, 0.004898, 0.322998, 0.272003},  {0.9659, 0.009293, 0.503006, 0.158203},
    {0.9712, 0.063263, 0.710007, 0.078247}, {1.0209, 0.165497, 0.862, 0.04216},
    {1.0075, 0.290405, 0.953995, 0.020294}, {1.0231, 0.433456, 0.994949, 0.008743},
    {1.0, 0.594498, 0.994995, 0.003906},    {0.9774, 0.7621, 0.951996, 0.002106},
    {0.9892, 0.916306, 0.869995, 0.001648}, {0.9351, 1.026306, 0.757004, 0.001099},
    {0.9771, 1.062195, 0.630997, 0.000793}, {0.9929, 1.002594, 0.503006, 0.000336},
    {0.9907, 0.854446, 0.380997, 0.000183}, {0.9575, 0.642395, 0.264999, 0.000046},
    {0.9889, 0.447906, 0.175003, 0.000015}, {0.9571, 0.283493, 0.106995, 0.0},
    {0.9823, 0.164902, 0.061005, 0.0},      {1.0305, 0.087402, 0.031998, 0.0},
    {0.9918, 0.046768, 0.016998, 0.0},      {0.8742, 0.022705, 0.008209, 0.0},
    {0.9165, 0.011353, 0.004105, 0.0},      {0.9294, 0.00579, 0.002091, 0.0},
    {0.7689, 0.002899, 0.001047, 0.0},      {0.8656, 0.00144, 0.00052, 0.0},
    {0.8656, 0.00069, 0.000249, 0.0},       {0.8656, 0.000332, 0.00012, 0.0},
    {0.8656, 0.000166, 0.00006, 0.0},       {0.8656, 0.000083, 0.00003, 0.0},
    {0.8656, 0.0, 0.0, 0.0},
};

constexpr double kXn = 0.9642;
constexpr double kYn = 1.0;
constexpr double kZn = 0.8249;
constexpr double kEpsilon = 0.008856451586;   // (6/29)^3

double LabF(double t)
{
    return t > kEpsilon ? std::cbrt(t) : 7.787036979 * t + 0.13793103448275862;
}

constexpr double kExactMatch = 0.001;   // dE00 below which a library colour is taken as is
constexpr double kNeighbourhood = 10.0; // dE00 radius of the weighted mean
constexpr double kZeroTolerance = 0.001; // CMYK value counted as 0 for the paper white

LabTriple LabOfSet(const ReferenceFileSet& set)
{
    const double* v = set.GetValuesLAB();
    return LabTriple{v[0], v[1], v[2]};
}

LabToSpectralUtil::Spectrum SpectrumOfSet(const ReferenceFileSet& set)
{
    // Every set of an application-flavour file holds 41 spectral slots.
    LabToSpectralUtil::Spectrum s{};
    std::copy_n(set.GetValuesSpectral(), N, s.begin());
    return s;
}
} // namespace

LabToSpectralUtil::~LabToSpectralUtil() = default;

LabToSpectralUtil::Spectrum LabToSpectralUtil::PerfectWhite()
{
    Spectrum s;
    s.fill(1.0);
    return s;
}

double LabToSpectralUtil::DeltaE00(const LabTriple& x, const LabTriple& y)
{
    cmsCIELab l1{x.L, x.a, x.b};
    cmsCIELab l2{y.L, y.a, y.b};
    return cmsCIE2000DeltaE(&l1, &l2, 1.0, 1.0, 1.0);
}

void LabToSpectralUtil::SpectrumToLab(const Spectrum& reflectance, double lab[3])
{
    double k = 0.0, X = 0.0, Y = 0.0, Z = 0.0;
    for (int i = 0; i < N; ++i) {
        const IntegrationRow& r = kTable[i];
        k += r.S * r.y;
        X += reflectance[i] * r.S * r.x;
        Y += reflectance[i] * r.S * r.y;
        Z += reflectance[i] * r.S * r.z;
    }
    X /= k;
    Y /= k;
    Z /= k;

    const double fy = LabF(Y / kYn);
    lab[0] = Y > kEpsilon ? 116.0 * fy - 16.0 : 903.2963058 * Y;
    lab[1] = std::clamp(500.0 * (LabF(X / kXn) - fy), -128.0, 127.0);
    lab[2] = std::clamp(200.0 * (fy - LabF(Z / kZn)), -128.0, 127.0);
}

bool LabToSpectralUtil::init(const std::string& libraryPath, const std::vector<LabTriple>& labs)
{
    colorantLabs.clear();
    colorantSpectra.clear();
    paperSpectrum = PerfectWhite();

    multicolorReference = std::make_unique<ReferenceFileData>(ReferenceFlavour::Application);
    if (!multicolorReference->loadReferenceFileData(nullptr, libraryPath.c_str(), false)) {
        // A half-read library must not feed the weighting later.
        multicolorReference = std::make_unique<ReferenceFileData>(ReferenceFlavour::Application);
        return false;
    }

    colorantLabs.reserve(labs.size());
    colorantSpectra.reserve(labs.size());
    for (const LabTriple& lab : labs) {
        colorantLabs.push_back(lab);
        colorantSpectra.push_back(labToSpectrum(lab));
    }
    findPaper();
    return true;
}

// A library without any set (or one whose Lab values are all unusable) leaves nothing to
// weight; the result is then a perfect white, so the ink drops out of every mixture
// instead of reading outside the set list.
LabToSpectralUtil::Spectrum LabToSpectralUtil::labToSpectrum(const LabTriple& lab) const
{
    const int count = multicolorReference ? multicolorReference->GetSetCount() : 0;
    if (count == 0)
        return PerfectWhite();

    std::vector<double> distance(static_cast<size_t>(count));
    int nearest = -1;
    for (int s = 0; s < count; ++s) {
        const ReferenceFileSet& set = *multicolorReference->GetSet(s);
        const double d = DeltaE00(lab, LabOfSet(set));
        if (d < kExactMatch)
            return SpectrumOfSet(set);
        distance[static_cast<size_t>(s)] = d;
        if (nearest < 0 ? !std::isnan(d) : d < distance[static_cast<size_t>(nearest)])
            nearest = s;
    }
    if (nearest < 0)
        return PerfectWhite();

    if (distance[static_cast<size_t>(nearest)] >= kNeighbourhood)
        return SpectrumOfSet(*multicolorReference->GetSet(nearest));

    // Every d here is at least kExactMatch, so 1 / d is finite.
    Spectrum sum{};
    double weights = 0.0;
    for (int s = 0; s < count; ++s) {
        const double d = distance[static_cast<size_t>(s)];
        if (!(d <= kNeighbourhood))
            continue;
        const double* spectrum = multicolorReference->GetSet(s)->GetValuesSpectral();
        for (int i = 0; i < N; ++i)
            sum[static_cast<size_t>(i)] += spectrum[i] / d;
        weights += 1.0 / d;
    }
    for (double& v : sum)
        v /= weights;
    return sum;
}

// The paper is the first all-zero CMYK set of a CMYK library, else the lightest set of a
// Lab library. A CMYK library without an all-zero set, or a library with neither CMYK nor
// Lab data (or no set at all), gets a perfect white paper: the mixture then uses the ink
// spectra as they are instead of reading a set that is not there.
void LabToSpectralUtil::findPaper()
{
    paperSpectrum = PerfectWhite();
    if (!multicolorReference)
        return;
    const ReferenceFileData& lib = *multicolorReference;
    const int count = lib.GetSetCount();

    if (lib.isCMYK) {
        for (int s = 0; s < count; ++s) {
            const double* cmyk = lib.GetSet(s)->GetValuesCMYK();
            if (std::all_of(cmyk, cmyk + 4, [](double v) { return std::fabs(v) < kZeroTolerance; })) {
                paperSpectrum = SpectrumOfSet(*lib.GetSet(s));
                return;
            }
        }
        return;
    }
    if (lib.hasLab) {
        int best = -1;
        double bestL = 0.0;
        for (int s = 0; s < count; ++s) {
            const double L = lib.GetSet(s)->GetValuesLAB()[0];
            if (L > bestL) {
                bestL = L;
                best = s;
            }
        }
        if (best >= 0)
            paperSpectrum = SpectrumOfSet(*lib.GetSet(best));
    }
}

void LabToSpectralUtil::mixToLab(const std::vector<int>& values, double lab[3]) const
{
    Spectrum mixture = PerfectWhite();
    const size_t inks = std::min(colorantSpectra.size(), values.size());
    for (size_t c = 0; c < inks; ++c) {
        const double coverage = values[c] / 100.0;
        const Spectrum& ink = colorantSpectra[c];
        for (int i = 0; i < N; ++i) {
            const double paper = paperSpectrum[static_cast<size_t>(i)];
            if (paper == 0.0)
                continue;
            const double tint = paper + coverage * (ink[static_cast<size_t>(i)] - paper);
            mixture[static_cast<size_t>(i)] *= tint / paper;
        }
    }
    SpectrumToLab(mixture, lab);
}

bool LabToSpectralUtil::mixToRGB(const std::vector<int>& values, double rgb[3]) const
{
    double lab[3];
    mixToLab(values, lab);
    return ColorUtil::LabToRGB(lab, rgb);
}
