// Spectra: reflectance spectra for the sample data, made from colours rather than measured.
//
// Glossary: spectrum = reflectance factors 0-1 from 380 nm to 780 nm in 10 nm steps;
// band = one of three smooth weights (blue, green, red) that sum to 1 at every
// wavelength, so equal band weights give a flat (neutral) spectrum; ink = a colorant given
// by the Lab of its solid on paper; mixture = paper times every ink's paper-relative
// transmission raised to its printed (dot-gained) coverage.
#pragma once

#include <array>
#include <vector>

namespace samplegen
{
constexpr int kSpectralCount = 41;
using Spectrum = std::array<double, kSpectralCount>;

struct Lab
{
    double L;
    double a;
    double b;
};

// D50 / 2 degree Lab of a spectrum (the suite's own integration).
Lab SpectrumLab(const Spectrum& s);

// A smooth spectrum of three band weights whose Lab is as close to `target` as reflectance
// factors between 0.001 and 1 allow (Gauss-Newton on the band weights).
Spectrum FitSpectrum(const Lab& target);

// Printed coverage of a nominal tone value `percent` (0-100): 12 % tone value increase at 50 %.
double PrintedCoverage(double percent);

class InkSet
{
public:
    // Paper and solids as Lab; the spectra are fitted once here.
    InkSet(const Lab& paper, const std::vector<Lab>& solids);
    // Spectrum of the ink percentages `percent` (one per ink, 0-100).
    Spectrum Mix(const std::vector<double>& percent) const;
    int InkCount() const { return static_cast<int>(transmission.size()); }

private:
    Spectrum paper;
    std::vector<Spectrum> transmission;   // solid / paper, per wavelength
};
}  // namespace samplegen
