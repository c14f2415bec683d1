// Tests of the colour-difference measures: every Delta E formula against an independent
// reference, DeltaCh and DeltaH with zero substitution, and the G7 weight.
#include "ColorDifference.h"
#include "EvalTypes.h"
#include "PatchComparer.h"
#include "Utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
struct LabPair
{
    cmsCIELab reference;
    cmsCIELab measured;
};

// --- Independent implementations ---------------------------------------------------------

double Sq(double v) { return v * v; }
double Chroma(const cmsCIELab& c) { return std::sqrt(c.a * c.a + c.b * c.b); }
double HueDegrees(const cmsCIELab& c)
{
    const double h = std::atan2(c.b, c.a) * 180.0 / M_PI;
    return h < 0.0 ? h + 360.0 : h;
}
double Rad(double degrees) { return degrees * M_PI / 180.0; }

double DeltaE76(const cmsCIELab& r, const cmsCIELab& m)
{
    return std::sqrt(Sq(m.L - r.L) + Sq(m.a - r.a) + Sq(m.b - r.b));
}

// Squared hue difference: dE76^2 - dL^2 - dC^2, never below 0.
double DeltaH2(const cmsCIELab& r, const cmsCIELab& m)
{
    const double v = Sq(DeltaE76(r, m)) - Sq(m.L - r.L) - Sq(Chroma(m) - Chroma(r));
    return v > 0.0 ? v : 0.0;
}

// CMC l:c (Clarke, McDonald and Rigg 1984), the reference being the standard.
double DeltaECMC(const cmsCIELab& r, const cmsCIELab& m, double l, double c)
{
    const double C1 = Chroma(r);
    const double h1 = HueDegrees(r);
    const double SL = r.L < 16.0 ? 0.511 : 0.040975 * r.L / (1.0 + 0.01765 * r.L);
    const double SC = 0.0638 * C1 / (1.0 + 0.0131 * C1) + 0.638;
    const double F = std::sqrt(std::pow(C1, 4) / (std::pow(C1, 4) + 1900.0));
    const double T = (h1 >= 164.0 && h1 <= 345.0) ? 0.56 + std::fabs(0.2 * std::cos(Rad(h1 + 168.0)))
                                                   : 0.36 + std::fabs(0.4 * std::cos(Rad(h1 + 35.0)));
    const double SH = SC * (F * T + 1.0 - F);
    const double dL = m.L - r.L;
    const double dC = Chroma(m) - C1;
    return std::sqrt(Sq(dL / (l * SL)) + Sq(dC / (c * SC)) + DeltaH2(r, m) / Sq(SH));
}

// The CIE 1994 form that lcms2's cmsCIE94DeltaE evaluates: kL = kC = kH = 1, the chroma
// weights taken from the geometric mean of both chromas, SC = 1 + 0.048 C and
// SH = 1 + 0.014 C. (The CIE 116 constants 0.045 / 0.015 with the reference chroma give
// values a few per cent lower; the report prints what lcms2 computes.)
double DeltaE94(const cmsCIELab& r, const cmsCIELab& m)
{
    const double C = std::sqrt(Chroma(r) * Chroma(m));
    const double SC = 1.0 + 0.048 * C;
    const double SH = 1.0 + 0.014 * C;
    return std::sqrt(Sq(m.L - r.L) + Sq(Chroma(m) - Chroma(r)) / Sq(SC) + DeltaH2(r, m) / Sq(SH));
}

// Pairs spread over lightness (including L* < 16 for CMC), chroma and hue (both branches of
// the CMC hue term), with reference and measurement of different chroma so that the
// asymmetric formulas show their argument order.
const std::vector<LabPair> kPairs = {
    {{50.0, 20.0, 30.0}, {55.0, 25.0, 20.0}},   {{92.0, -0.5, 2.0}, {90.5, 0.8, 3.5}},
    {{10.0, 3.0, -4.0}, {12.5, 1.0, -2.0}},     {{45.0, -40.0, -30.0}, {47.0, -35.0, -38.0}},
    {{60.0, 70.0, 10.0}, {58.0, 62.0, 18.0}},   {{30.0, -5.0, -50.0}, {33.0, 4.0, -44.0}},
    {{75.0, -60.0, 60.0}, {73.0, -55.0, 70.0}}, {{25.0, 0.5, 0.5}, {24.0, -0.7, 1.2}},
};

// CIEDE2000 test data of Sharma, Wu and Dalal (2005), Table 1: Lab of both samples and the
// published Delta E00 (4 decimals).
struct SharmaPair
{
    double L1, a1, b1, L2, a2, b2, dE00;
};
const SharmaPair kSharma[] = {
    {50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485, 2.0425},
    {50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485, 2.8615},
    {50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485, 3.4412},
    {50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485, 1.0000},
    {50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485, 1.0000},
    {50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485, 1.0000},
    {50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000, 2.3669},
    {50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000, 2.3669},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009, 7.1792},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010, 7.1792},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011, 7.2195},
    {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012, 7.2195},
    {50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900, 4.8045},
    {50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900, 4.8045},
    {50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900, 4.7461},
    {50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000, 4.3065},
    {50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000, 27.1492},
    {50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000, 22.8977},
    {50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000, 31.9030},
    {50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000, 19.4535},
    {50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854, 1.0000},
    {50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000, 1.0000},
    {50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757, 1.0000},
    {50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350, 1.0000},
    {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
    {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.2630},
    {61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620, 1.8731},
    {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
    {22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619, 2.0373},
    {36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
    {90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447, 1.4441},
    {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
    {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
    {2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514, 0.9082},
};

constexpr double kTolerance = 1e-4;
}  // namespace

TEST(ColorDifference, Ciede2000MatchesSharmaWuDalalTestData)
{
    PatchComparer comparer;
    int pairNumber = 1;
    for (const SharmaPair& p : kSharma)
    {
        SCOPED_TRACE("pair " + std::to_string(pairNumber++));
        const cmsCIELab first{p.L1, p.a1, p.b1};
        const cmsCIELab second{p.L2, p.a2, p.b2};
        EXPECT_NEAR(ColorDifference::DeltaE(Utils::eCIEDE2000, first, second), p.dE00, kTolerance);
        // CIEDE2000 is symmetric, so the published value holds in both orders.
        EXPECT_NEAR(ColorDifference::DeltaE(Utils::eCIEDE2000, second, first), p.dE00, kTolerance);
        const double ref[3] = {p.L1, p.a1, p.b1};
        EXPECT_NEAR(comparer.GetDelta(Utils::eCIEDE2000, ref, p.L2, p.a2, p.b2), p.dE00, kTolerance);
    }
}

TEST(ColorDifference, OtherFormulasMatchIndependentImplementations)
{
    for (size_t i = 0; i < kPairs.size(); ++i)
    {
        SCOPED_TRACE("pair " + std::to_string(i));
        const cmsCIELab& r = kPairs[i].reference;
        const cmsCIELab& m = kPairs[i].measured;
        EXPECT_NEAR(ColorDifference::DeltaE(Utils::eCIE1976, r, m), DeltaE76(r, m), kTolerance);
        EXPECT_NEAR(ColorDifference::DeltaE(Utils::eCMC11, r, m), DeltaECMC(r, m, 1.0, 1.0), kTolerance);
        EXPECT_NEAR(ColorDifference::DeltaE(Utils::eCMC21, r, m), DeltaECMC(r, m, 2.0, 1.0), kTolerance);
        EXPECT_NEAR(ColorDifference::DeltaE(Utils::eCIE1994, r, m), DeltaE94(r, m), kTolerance);
    }
}

TEST(ColorDifference, CmcTakesTheReferenceAsStandard)
{
    const cmsCIELab r{50.0, 20.0, 30.0};
    const cmsCIELab m{55.0, 25.0, 20.0};
    const double forward = ColorDifference::DeltaE(Utils::eCMC11, r, m);
    EXPECT_NEAR(forward, DeltaECMC(r, m, 1.0, 1.0), kTolerance);
    // The reversed call weights by the other colour and gives a clearly different value.
    EXPECT_GT(std::fabs(forward - ColorDifference::DeltaE(Utils::eCMC11, m, r)), 0.5);

    PatchComparer comparer;
    const double ref[3] = {r.L, r.a, r.b};
    EXPECT_NEAR(comparer.GetDelta(Utils::eCMC11, ref, m.L, m.a, m.b), forward, 1e-12);
}

TEST(ColorDifference, IdenticalColoursGiveZeroForEveryMeasure)
{
    PatchComparer comparer;
    for (const LabPair& pair : kPairs)
    {
        const cmsCIELab& c = pair.reference;
        const double ref[3] = {c.L, c.a, c.b};
        for (int formula = 0; formula <= 4; ++formula)
            EXPECT_NEAR(ColorDifference::DeltaE(formula, c, c), 0.0, 1e-12) << "formula " << formula;
        EXPECT_NEAR(comparer.GetDelta_C(ref, c.L, c.a, c.b), 0.0, 1e-12);
        EXPECT_NEAR(comparer.GetDelta_h(ref, c.L, c.a, c.b), 0.0, 1e-6);
    }
}

TEST(ColorDifference, UnknownFormulaGivesZero)
{
    const cmsCIELab r{50.0, 20.0, 30.0};
    const cmsCIELab m{55.0, 25.0, 20.0};
    for (int formula : {-1, 5, 99})
        EXPECT_EQ(ColorDifference::DeltaE(formula, r, m), 0.0) << formula;
}

TEST(ColorDifference, ZeroSubstitutionBeforeChromaAndHue)
{
    PatchComparer comparer;
    // Both neutral: both become (0.0001, 0.0001), so nothing is left.
    const double neutral[3] = {50.0, 0.0, 0.0};
    EXPECT_EQ(comparer.GetDelta_Ch(neutral, 60.0, 0.0, 0.0, false), 0.0);
    EXPECT_EQ(comparer.GetDelta_h(neutral, 60.0, 0.0, 0.0), 0.0);

    // Only the reference is neutral: its a* and b* count as 0.0001.
    const double expectedCh = std::sqrt(Sq(3.0 - 0.0001) + Sq(4.0 - 0.0001));
    EXPECT_DOUBLE_EQ(comparer.GetDelta_Ch(neutral, 50.0, 3.0, 4.0, false), expectedCh);
    EXPECT_DOUBLE_EQ(comparer.GetDelta_C(neutral, 50.0, 3.0, 4.0), expectedCh);

    // Delta E is computed on the colours as given.
    EXPECT_DOUBLE_EQ(comparer.GetDelta(Utils::eCIE1976, neutral, 50.0, 3.0, 4.0), 5.0);
}

TEST(ColorDifference, HueDifferenceMatchesDefinition)
{
    PatchComparer comparer;
    // A pure hue rotation at constant chroma: Delta H equals Delta E76.
    const double ref[3] = {50.0, 10.0, 0.0};
    const cmsCIELab r{50.0, 10.0, 0.0001};
    const cmsCIELab m{50.0, 0.0001, 10.0};
    EXPECT_NEAR(comparer.GetDelta_h(ref, 50.0, 0.0, 10.0), std::sqrt(DeltaH2(r, m)), 1e-9);
    EXPECT_NEAR(comparer.GetDelta_h(ref, 50.0, 0.0, 10.0), std::sqrt(200.0), 1e-3);

    // A pure chroma change along one hue: the radicand is ~0 and never negative.
    for (const LabPair& pair : kPairs)
    {
        const cmsCIELab& c = pair.reference;
        const double refLab[3] = {c.L, c.a, c.b};
        const double h = comparer.GetDelta_h(refLab, c.L + 1.0, c.a * 1.37, c.b * 1.37);
        EXPECT_FALSE(std::isnan(h));
        EXPECT_NEAR(h, 0.0, 1e-5);
    }
}

TEST(ColorDifference, G7WeightFallsFromOneToAQuarter)
{
    struct Case
    {
        double device;
        double weight;
    };
    for (const Case c : {Case{0.0, 1.0}, Case{25.0, 1.0}, Case{50.0, 1.0}, Case{75.0, 0.625}, Case{100.0, 0.25}})
        EXPECT_DOUBLE_EQ(ColorDifference::G7Weight(c.device), c.weight) << c.device;

    PatchComparer comparer;
    const double lab1[3] = {20.0, 1.0, 2.0};
    const double lab2[3] = {24.0, 4.0, 6.0};
    EXPECT_DOUBLE_EQ(comparer.GetWeightedDeltaLStar(lab1, lab2, 75.0), 0.625 * 4.0);
    EXPECT_DOUBLE_EQ(comparer.GetWeightedDeltaLStar(lab2, lab1, 75.0), 0.625 * 4.0);
    EXPECT_DOUBLE_EQ(comparer.GetWeightedDeltaCh(lab1, lab2, 100.0), 0.25 * 5.0);
    EXPECT_DOUBLE_EQ(comparer.GetWeightedDeltaCh(lab2, lab1, 40.0), 5.0);
}

TEST(ColorDifference, DisplayNames)
{
    EXPECT_STREQ(Eval::ColorDistanceFormulaName(Utils::eCIE1976), "Delta E");
    EXPECT_STREQ(Eval::ColorDistanceFormulaName(Utils::eCMC11), "Delta E CMC1");
    EXPECT_STREQ(Eval::ColorDistanceFormulaName(Utils::eCMC21), "Delta E CMC2");
    EXPECT_STREQ(Eval::ColorDistanceFormulaName(Utils::eCIE1994), "Delta E 94");
    EXPECT_STREQ(Eval::ColorDistanceFormulaName(Utils::eCIEDE2000), "Delta E 2000");
    EXPECT_STREQ(Eval::ColorDistanceFormulaName(5), "");
}
