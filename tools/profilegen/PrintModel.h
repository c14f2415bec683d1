// PrintModel: a colorimetric model of four-colour offset print on coated paper, and its
// inversion with black generation. It is the data source of the suite's CMYK and gray
// output profiles.
//
// Glossary:
//   coverage   - nominal tone value of one ink, 0..1 (the value in the separation file)
//   dot gain   - mechanical tone value increase: the printed area exceeds the nominal one
//   Neugebauer primaries - the 16 colours of paper, solids and their overprints
//   Yule-Nielsen n       - exponent modelling the optical dot gain (light scattered in paper)
//   GCR        - grey component replacement: black ink takes over part of the neutral
//                component that cyan, magenta and yellow would otherwise build
//   TAC        - total area coverage, the sum of the four coverages
#pragma once

#include <array>
#include <vector>

namespace profilegen
{

struct LabColor
{
    double L;
    double a;
    double b;
};

// CIE 1976 colour difference.
double DeltaE76(const LabColor& x, const LabColor& y);

// One separation with the distance of its colour from the requested one.
struct Separation
{
    std::array<double, 4> cmyk;  // coverages 0..1
    double deltaE;               // 0 when the requested colour is printable
};

class PrintModel
{
public:
    PrintModel();

    // Colour (D50 Lab) printed by coverages `cmyk` (each 0..1, clamped).
    LabColor Print(const std::array<double, 4>& cmyk) const;
    LabColor PaperWhite() const;

    // Black amount the separation aims at for `target` (0..1): grows as the colour gets
    // darker and falls off with chroma, so saturated dark colours keep clean inks.
    double BlackTarget(const LabColor& target) const;

    // Printable coverages whose colour is closest to `target` (out-of-gamut colours are
    // clipped to the nearest printable one), with black near BlackTarget and the sum of
    // the coverages within the total area coverage limit.
    Separation Separate(const LabColor& target) const;

    static constexpr double kTotalAreaCoverage = 3.2;  // fraction, 320 %

private:
    double Residuals(const std::array<double, 4>& x, const LabColor& target, double blackTarget,
                     double r[5]) const;
    void Refine(std::array<double, 4>& x, const LabColor& target, double blackTarget) const;

    // Primaries raised to 1/n, per XYZ channel; index bit 0 cyan, 1 magenta, 2 yellow, 3 black.
    double primaries_[16][3];
    // Coarse forward table that seeds the inversion.
    static constexpr int kSeedSteps = 7;
    std::vector<std::array<double, 4>> seedCmyk_;
    std::vector<LabColor> seedLab_;
    double darkestL_;
};

}  // namespace profilegen
