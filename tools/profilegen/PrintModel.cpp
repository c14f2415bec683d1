// PrintModel: Yule-Nielsen modified Neugebauer model of coated offset print, and its
// inversion (black generation, then a bounded least-squares solve for the coverages).
#include "PrintModel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace profilegen
{
namespace
{

// D50 reference white of the profile connection space.
constexpr double kWhite[3] = {0.9642, 1.0, 0.8249};

// Measured-like colours of a coated sheet printed in the order K, C, M, Y: paper, the
// three chromatic solids and their overprints (index bits: 0 cyan, 1 magenta, 2 yellow).
constexpr LabColor kChromaticPrimaries[8] = {
    {95.0, 0.0, -2.0},     // paper
    {55.0, -37.0, -50.0},  // cyan
    {48.0, 74.0, -3.0},    // magenta
    {24.0, 20.0, -46.0},   // cyan + magenta (blue)
    {89.0, -5.0, 93.0},    // yellow
    {50.0, -64.0, 26.0},   // cyan + yellow (green)
    {47.0, 67.0, 46.0},    // magenta + yellow (red)
    {22.0, 1.0, 0.0},      // three-colour black
};
constexpr LabColor kBlackSolid = {16.0, 0.0, 0.0};

// Fraction of the light reflected by the ink surface before it enters the ink film; it
// bounds how dark overprints with black can get.
constexpr double kSurfaceReflection = 0.009;
constexpr double kYuleNielsenN = 1.8;
// Mechanical tone value increase at 50 % nominal coverage (C, M, Y, K).
constexpr double kDotGain[4] = {0.09, 0.09, 0.08, 0.11};

// Weight of the black target (colour difference per unit of black away from it) and of
// coverage beyond the TAC limit in the separation's least-squares problem.
constexpr double kBlackWeight = 4.0;
constexpr double kTacWeight = 300.0;

double LabF(double t)
{
    constexpr double e = 216.0 / 24389.0;
    constexpr double k = 24389.0 / 27.0;
    return t > e ? std::cbrt(t) : (k * t + 16.0) / 116.0;
}

double LabFInverse(double f)
{
    constexpr double k = 24389.0 / 27.0;
    const double t = f * f * f;
    return t > 216.0 / 24389.0 ? t : (116.0 * f - 16.0) / k;
}

LabColor XYZtoLab(const double xyz[3])
{
    const double fx = LabF(xyz[0] / kWhite[0]);
    const double fy = LabF(xyz[1] / kWhite[1]);
    const double fz = LabF(xyz[2] / kWhite[2]);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

void LabToXYZ(const LabColor& lab, double xyz[3])
{
    const double fy = (lab.L + 16.0) / 116.0;
    const double fx = fy + lab.a / 500.0;
    const double fz = fy - lab.b / 200.0;
    xyz[0] = kWhite[0] * LabFInverse(fx);
    xyz[1] = kWhite[1] * LabFInverse(fy);
    xyz[2] = kWhite[2] * LabFInverse(fz);
}

double Clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// Solves the n x n system `m` x = `v` (n <= 5) by Gaussian elimination with pivoting.
bool Solve(int n, double m[5][5], double v[5], double x[5])
{
    for (int c = 0; c < n; ++c) {
        int p = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[p][c])) p = r;
        if (std::fabs(m[p][c]) < 1e-14) return false;
        if (p != c) {
            for (int k = 0; k < n; ++k) std::swap(m[c][k], m[p][k]);
            std::swap(v[c], v[p]);
        }
        for (int r = c + 1; r < n; ++r) {
            const double f = m[r][c] / m[c][c];
            for (int k = c; k < n; ++k) m[r][k] -= f * m[c][k];
            v[r] -= f * v[c];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        double s = v[r];
        for (int k = r + 1; k < n; ++k) s -= m[r][k] * x[k];
        x[r] = s / m[r][r];
    }
    return true;
}

}  // namespace

double DeltaE76(const LabColor& x, const LabColor& y)
{
    const double dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return std::sqrt(dL * dL + da * da + db * db);
}

PrintModel::PrintModel()
{
    double paper[3];
    double black[3];
    LabToXYZ(kChromaticPrimaries[0], paper);
    LabToXYZ(kBlackSolid, black);
    for (int m = 0; m < 16; ++m) {
        double xyz[3];
        LabToXYZ(kChromaticPrimaries[m & 7], xyz);
        for (int j = 0; j < 3; ++j) {
            double v = xyz[j];
            if (m & 8) {
                // Black under the chromatic inks: its transmittance multiplies theirs
                // below the surface reflection.
                const double s = kSurfaceReflection * kWhite[j];
                const double t = (black[j] - s) / (paper[j] - s);
                v = s + (v - s) * t;
            }
            primaries_[m][j] = std::pow(v, 1.0 / kYuleNielsenN);
        }
    }

    for (int c = 0; c < kSeedSteps; ++c)
        for (int mg = 0; mg < kSeedSteps; ++mg)
            for (int y = 0; y < kSeedSteps; ++y)
                for (int k = 0; k < kSeedSteps; ++k) {
                    const double d = kSeedSteps - 1;
                    seedCmyk_.push_back({c / d, mg / d, y / d, k / d});
                    seedLab_.push_back(Print(seedCmyk_.back()));
                }

    // Darkest neutral within the TAC limit: full black over equal chromatic inks.
    const double cmy = (kTotalAreaCoverage - 1.0) / 3.0;
    darkestL_ = Print({cmy, cmy, cmy, 1.0}).L;
}

LabColor PrintModel::Print(const std::array<double, 4>& cmyk) const
{
    double a[4];
    for (int i = 0; i < 4; ++i) {
        const double v = Clamp01(cmyk[i]);
        a[i] = v + 4.0 * kDotGain[i] * v * (1.0 - v);
    }
    double sum[3] = {0.0, 0.0, 0.0};
    for (int m = 0; m < 16; ++m) {
        // Demichel weight: the fraction of the area covered by exactly this ink combination.
        double w = 1.0;
        for (int i = 0; i < 4; ++i) w *= (m >> i & 1) ? a[i] : 1.0 - a[i];
        for (int j = 0; j < 3; ++j) sum[j] += w * primaries_[m][j];
    }
    double xyz[3];
    for (int j = 0; j < 3; ++j) xyz[j] = std::pow(sum[j], kYuleNielsenN);
    return XYZtoLab(xyz);
}

LabColor PrintModel::PaperWhite() const { return Print({0.0, 0.0, 0.0, 0.0}); }

double PrintModel::BlackTarget(const LabColor& target) const
{
    // Medium GCR: black starts at L 82 for neutrals and reaches full black at the darkest
    // printable neutral.
    constexpr double kStartL = 82.0;
    const double t = Clamp01((kStartL - target.L) / (kStartL - darkestL_));
    const double chroma = std::hypot(target.a, target.b);
    const double neutrality = 1.0 / (1.0 + (chroma / 35.0) * (chroma / 35.0));
    return std::pow(t, 1.4) * (0.25 + 0.75 * neutrality);
}

double PrintModel::Residuals(const std::array<double, 4>& x, const LabColor& target,
                             double blackTarget, double r[5]) const
{
    const LabColor lab = Print(x);
    r[0] = lab.L - target.L;
    r[1] = lab.a - target.a;
    r[2] = lab.b - target.b;
    r[3] = kBlackWeight * (x[3] - blackTarget);
    r[4] = kTacWeight * std::max(0.0, x[0] + x[1] + x[2] + x[3] - kTotalAreaCoverage);
    double cost = 0.0;
    for (int i = 0; i < 5; ++i) cost += r[i] * r[i];
    return cost;
}

// Levenberg-Marquardt on the box of coverages with an active set: a coverage at a bound whose
// gradient points outwards is held fixed for the step.
void PrintModel::Refine(std::array<double, 4>& x, const LabColor& target, double blackTarget) const
{
    constexpr double h = 1e-6;
    double r[5];
    double cost = Residuals(x, target, blackTarget, r);
    double lambda = 1e-3;
    for (int iteration = 0; iteration < 100 && cost > 1e-16; ++iteration) {
        double jac[5][4];
        for (int i = 0; i < 4; ++i) {
            std::array<double, 4> xp = x;
            const double step = x[i] + h > 1.0 ? -h : h;
            xp[i] += step;
            double rp[5];
            Residuals(xp, target, blackTarget, rp);
            for (int k = 0; k < 5; ++k) jac[k][i] = (rp[k] - r[k]) / step;
        }
        double g[4];
        for (int i = 0; i < 4; ++i) {
            g[i] = 0.0;
            for (int k = 0; k < 5; ++k) g[i] += jac[k][i] * r[k];
        }
        int freeVars[4];
        int n = 0;
        for (int i = 0; i < 4; ++i) {
            const bool blocked = (x[i] <= 0.0 && g[i] > 0.0) || (x[i] >= 1.0 && g[i] < 0.0);
            if (!blocked) freeVars[n++] = i;
        }
        if (n == 0) break;

        bool improved = false;
        while (lambda < 1e10) {
            double m[5][5];
            double v[5];
            double delta[5];
            for (int p = 0; p < n; ++p) {
                for (int q = 0; q < n; ++q) {
                    double s = 0.0;
                    for (int k = 0; k < 5; ++k) s += jac[k][freeVars[p]] * jac[k][freeVars[q]];
                    m[p][q] = s;
                }
                m[p][p] += lambda * (m[p][p] + 1e-9);
                v[p] = -g[freeVars[p]];
            }
            std::array<double, 4> trial = x;
            if (Solve(n, m, v, delta)) {
                for (int p = 0; p < n; ++p)
                    trial[freeVars[p]] = Clamp01(x[freeVars[p]] + delta[p]);
            }
            double rt[5];
            const double trialCost = Residuals(trial, target, blackTarget, rt);
            if (trialCost < cost) {
                const double gain = cost - trialCost;
                x = trial;
                cost = trialCost;
                std::copy(rt, rt + 5, r);
                lambda = std::max(lambda / 3.0, 1e-9);
                improved = gain > 1e-12 * (1.0 + cost);
                break;
            }
            lambda *= 4.0;
        }
        if (!improved) break;
    }
}

Separation PrintModel::Separate(const LabColor& target) const
{
    const double blackTarget = BlackTarget(target);

    // Seed from the closest entry of the coarse table under the same cost.
    std::size_t best = 0;
    double bestCost = 0.0;
    for (std::size_t i = 0; i < seedCmyk_.size(); ++i) {
        const std::array<double, 4>& s = seedCmyk_[i];
        const double dE = DeltaE76(seedLab_[i], target);
        const double dk = kBlackWeight * (s[3] - blackTarget);
        const double over = kTacWeight * std::max(0.0, s[0] + s[1] + s[2] + s[3] - kTotalAreaCoverage);
        const double cost = dE * dE + dk * dk + over * over;
        if (i == 0 || cost < bestCost) {
            best = i;
            bestCost = cost;
        }
    }
    std::array<double, 4> x = seedCmyk_[best];
    Refine(x, target, blackTarget);

    // The TAC penalty leaves at most a trace above the limit; take it from the chromatic inks.
    const double total = x[0] + x[1] + x[2] + x[3];
    if (total > kTotalAreaCoverage) {
        const double cmy = x[0] + x[1] + x[2];
        const double scale = std::max(0.0, kTotalAreaCoverage - x[3]) / cmy;
        for (int i = 0; i < 3; ++i) x[i] *= scale;
    }
    return {x, DeltaE76(Print(x), target)};
}

}  // namespace profilegen
