// ColorDifference: the colour-difference measures of the evaluation, all on lcms2 Lab values.
//
// Glossary: reference = the expected colour (always the first, "standard" argument of the
// asymmetric formulas), measured = the printed colour; DeltaCh = chromatic distance in the
// a*b* plane; DeltaH = hue difference; G7 weight = the G7 de-emphasis of dark device values.
#pragma once

#include "EvalTypes.h"
#include "Utils.h"

#include <lcms2.h>

namespace ColorDifference
{
// Delta E of the formula (Utils::ColorDistanceFormula); 0 for any other value.
double DeltaE(int formula, const cmsCIELab& reference, const cmsCIELab& measured);

// Replaces an a* or b* that is exactly 0 by 0.0001, so hue-based measures stay defined.
void SubstituteZeros(cmsCIELab& lab);

// sqrt(da^2 + db^2) of the colours as given (callers substitute zeros first).
double DeltaCh(const cmsCIELab& reference, const cmsCIELab& measured);

// sqrt(dE76^2 - dL^2 - dC^2) of the colours as given; a radicand that rounding makes
// negative counts as 0.
double DeltaH(const cmsCIELab& reference, const cmsCIELab& measured);

// G7 weight of a device value in percent: 1 up to 50 %, falling linearly to 0.25 at 100 %.
double G7Weight(double deviceValuePercent);
}  // namespace ColorDifference
