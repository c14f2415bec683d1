// Spectra: band-weight spectra fitted to Lab colours and a multiplicative ink mixture.
#include "Spectra.h"

#include "LabToSpectralUtil.h"

#include <algorithm>
#include <cmath>

namespace samplegen
{
namespace
{
constexpr double kMinReflectance = 0.001;

double Logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }

// Blue falls off above 490 nm, red rises above 580 nm, green fills the middle.
std::array<double, 3> Bands(int i)
{
    const double nm = 380.0 + 10.0 * i;
    const double blue = Logistic((490.0 - nm) / 16.0);
    const double red = Logistic((nm - 580.0) / 16.0);
    return {blue, std::max(0.0, 1.0 - blue - red), red};
}

Spectrum FromWeights(const std::array<double, 3>& w)
{
    Spectrum s{};
    for (int i = 0; i < kSpectralCount; ++i) {
        const std::array<double, 3> b = Bands(i);
        s[i] = std::clamp(w[0] * b[0] + w[1] * b[1] + w[2] * b[2], kMinReflectance, 1.0);
    }
    return s;
}

std::array<double, 3> Residual(const std::array<double, 3>& w, const Lab& target)
{
    const Lab lab = SpectrumLab(FromWeights(w));
    return {lab.L - target.L, lab.a - target.a, lab.b - target.b};
}

// Solves the 3 x 3 system m x = r by Cramer's rule; false when it is singular.
bool Solve3(const double m[3][3], const std::array<double, 3>& r, std::array<double, 3>& x)
{
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    if (std::fabs(d) < 1e-12)
        return false;
    for (int c = 0; c < 3; ++c) {
        double t[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                t[i][j] = j == c ? r[i] : m[i][j];
        x[c] = det(t) / d;
    }
    return true;
}
}  // namespace

Lab SpectrumLab(const Spectrum& s)
{
    LabToSpectralUtil::Spectrum r{};
    std::copy(s.begin(), s.end(), r.begin());
    double lab[3];
    LabToSpectralUtil::SpectrumToLab(r, lab);
    return {lab[0], lab[1], lab[2]};
}

Spectrum FitSpectrum(const Lab& target)
{
    // Start from the neutral spectrum of the target's lightness.
    const double fy = (target.L + 16.0) / 116.0;
    const double y = target.L > 8.0 ? fy * fy * fy : target.L / 903.3;
    std::array<double, 3> w = {y, y, y};
    const double step = 1e-5;
    for (int iteration = 0; iteration < 40; ++iteration) {
        const std::array<double, 3> r = Residual(w, target);
        if (std::fabs(r[0]) + std::fabs(r[1]) + std::fabs(r[2]) < 1e-6)
            break;
        double jacobian[3][3];
        for (int k = 0; k < 3; ++k) {
            std::array<double, 3> wk = w;
            wk[k] += step;
            const std::array<double, 3> rk = Residual(wk, target);
            for (int i = 0; i < 3; ++i)
                jacobian[i][k] = (rk[i] - r[i]) / step;
        }
        std::array<double, 3> delta{};
        if (!Solve3(jacobian, r, delta))
            break;
        for (int k = 0; k < 3; ++k)
            w[k] = std::clamp(w[k] - 0.8 * delta[k], kMinReflectance, 1.2);
    }
    return FromWeights(w);
}

double PrintedCoverage(double percent)
{
    const double c = std::clamp(percent / 100.0, 0.0, 1.0);
    return c + 0.48 * c * (1.0 - c);
}

InkSet::InkSet(const Lab& paperLab, const std::vector<Lab>& solids) : paper(FitSpectrum(paperLab))
{
    for (const Lab& solid : solids) {
        const Spectrum s = FitSpectrum(solid);
        Spectrum t{};
        for (int i = 0; i < kSpectralCount; ++i)
            t[i] = std::min(1.0, s[i] / paper[i]);
        transmission.push_back(t);
    }
}

Spectrum InkSet::Mix(const std::vector<double>& percent) const
{
    Spectrum s = paper;
    for (std::size_t k = 0; k < transmission.size() && k < percent.size(); ++k) {
        const double coverage = PrintedCoverage(percent[k]);
        if (coverage <= 0.0)
            continue;
        for (int i = 0; i < kSpectralCount; ++i)
            s[i] *= std::pow(transmission[k][i], coverage);
    }
    for (double& v : s)
        v = std::max(v, kMinReflectance);
    return s;
}
}  // namespace samplegen
