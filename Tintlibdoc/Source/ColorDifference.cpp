// ColorDifference: Delta E formulas through lcms2, DeltaCh, DeltaH and the G7 weight.
#include "ColorDifference.h"

#include <algorithm>
#include <cmath>

const char* Eval::ColorDistanceFormulaName(int formula)
{
    switch (formula)
    {
    case Utils::eCIE1976: return "Delta E";
    case Utils::eCMC11: return "Delta E CMC1";
    case Utils::eCMC21: return "Delta E CMC2";
    case Utils::eCIE1994: return "Delta E 94";
    case Utils::eCIEDE2000: return "Delta E 2000";
    default: return "";
    }
}

namespace ColorDifference
{
// The reference is the first (standard) argument of every lcms2 call.
double DeltaE(int formula, const cmsCIELab& reference, const cmsCIELab& measured)
{
    const cmsCIELab* ref = &reference;
    const cmsCIELab* meas = &measured;
    switch (formula)
    {
    case Utils::eCIE1976: return cmsDeltaE(ref, meas);
    case Utils::eCMC11: return cmsCMCdeltaE(ref, meas, 1.0, 1.0);
    case Utils::eCMC21: return cmsCMCdeltaE(ref, meas, 2.0, 1.0);
    case Utils::eCIE1994: return cmsCIE94DeltaE(ref, meas);
    case Utils::eCIEDE2000: return cmsCIE2000DeltaE(ref, meas, 1.0, 1.0, 1.0);
    default: return 0.0;
    }
}

void SubstituteZeros(cmsCIELab& lab)
{
    if (lab.a == 0.0)
        lab.a = 0.0001;
    if (lab.b == 0.0)
        lab.b = 0.0001;
}

double DeltaCh(const cmsCIELab& reference, const cmsCIELab& measured)
{
    const double da = measured.a - reference.a;
    const double db = measured.b - reference.b;
    return std::sqrt(da * da + db * db);
}

// dH^2 = dE76^2 - dL^2 - dC^2 with C = sqrt(a^2 + b^2).
double DeltaH(const cmsCIELab& reference, const cmsCIELab& measured)
{
    const double dL = measured.L - reference.L;
    const double da = measured.a - reference.a;
    const double db = measured.b - reference.b;
    const double dC = std::hypot(measured.a, measured.b) - std::hypot(reference.a, reference.b);
    const double radicand = (dL * dL + da * da + db * db) - dL * dL - dC * dC;
    return radicand > 0.0 ? std::sqrt(radicand) : 0.0;
}

// w(v) = 1 - max(0, 0.75 (v - 50) / 50).
double G7Weight(double deviceValuePercent)
{
    return 1.0 - std::max(0.0, 0.75 * (deviceValuePercent - 50.0) / 50.0);
}
}  // namespace ColorDifference
