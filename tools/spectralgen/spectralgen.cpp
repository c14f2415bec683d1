// spectralgen: writes the suite's spectral library "MulticolorReference.txt", a CGATS.17
// reference of CMYK and spot-ink colours with Lab and 41-value reflectance spectra.
//
// Glossary: density = optical density of one ink film (double pass through the film),
// a sum of Gaussian absorption bands; Neugebauer primary = one overprint of solid inks;
// Demichel weights = the area shares of the primaries for given dot coverages; dot gain =
// the extra apparent coverage of a halftone, largest at 50 %; Yule-Nielsen n = the
// exponent that models light scattered sideways in the paper under the dots.
//
// The spectra come from this small physical model, not from measurements. Lab is
// integrated from each written (rounded) spectrum by the display model's own
// LabToSpectralUtil::SpectrumToLab, so a library colour maps back onto itself.
// Output is deterministic: no clock, no randomness, C-locale number formatting.
//
// Usage: spectralgen <output file>
#include "LabToSpectralUtil.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace
{
constexpr int kCount = LabToSpectralUtil::kSpectralCount;   // 380-780 nm, 10 nm steps
using Spectrum = LabToSpectralUtil::Spectrum;

double Wavelength(int i) { return 380.0 + 10.0 * i; }   // nm

double Gauss(double x, double centre, double sigma)
{
    const double t = (x - centre) / sigma;
    return std::exp(-0.5 * t * t);
}

// Coated paper with a little optical brightener: flat in the visible, a blue lift around
// 440 nm and the UV drop of the coating below 410 nm.
Spectrum PaperSpectrum()
{
    Spectrum p{};
    for (int i = 0; i < kCount; ++i) {
        const double nm = Wavelength(i);
        double r = 0.885 + 0.045 * Gauss(nm, 440.0, 22.0) - 0.004 * (nm - 560.0) / 220.0;
        if (nm < 410.0)
            r -= 0.30 * Gauss(nm, 380.0, 18.0);
        p[i] = r;
    }
    return p;
}

struct Band
{
    double centre;    // nm
    double sigma;     // nm
    double density;   // peak optical density
};

struct Ink
{
    const char* name;
    double baseDensity;          // wavelength-independent part (pigment scatter, carbon)
    std::vector<Band> bands;
    std::array<double, 4> cmyk;  // near process equivalent of the solid, per cent
};

std::array<double, kCount> Density(const Ink& ink)
{
    std::array<double, kCount> d{};
    for (int i = 0; i < kCount; ++i) {
        double v = ink.baseDensity;
        for (const Band& b : ink.bands)
            v += b.density * Gauss(Wavelength(i), b.centre, b.sigma);
        d[i] = v;
    }
    return d;
}

// Process inks of a coated offset set; the band parameters are fitted so that the solids
// land on typical coated-offset colours (C 55/-37/-50, M 48/74/-3, Y 89/-5/93, K 16/0/0).
const Ink kCyan{"Cyan", 0.135, {{634.5, 47.6, 1.958}, {519.9, 53.8, 0.023}}, {100, 0, 0, 0}};
const Ink kMagenta{"Magenta", 0.095, {{522.6, 36.4, 2.198}, {469.3, 32.0, 0.257}, {392.4, 27.9, 0.231}}, {0, 100, 0, 0}};
const Ink kYellow{"Yellow", 0.027, {{442.6, 33.6, 1.564}, {394.8, 26.0, 0.258}}, {0, 0, 100, 0}};
const Ink kBlack{"Black", 1.715, {{420.0, 40.4, 0.022}}, {0, 0, 0, 100}};

// Spot inks, printed alone on the paper; CMYK holds a rough process build of the solid.
const std::vector<Ink> kSpotInks = {
    {"Orange", 0.012, {{482.0, 45.4, 2.573}}, {0, 60, 100, 0}},
    {"WarmRed", 0.067, {{524.2, 29.7, 2.726}, {421.6, 45.5, 1.352}}, {0, 80, 90, 0}},
    {"RubineRed", 0.022, {{523.4, 41.2, 2.090}, {431.0, 38.9, 0.356}}, {0, 100, 20, 5}},
    {"Rhodamine", 0.061, {{541.8, 26.4, 1.809}, {468.9, 41.3, 0.363}}, {0, 85, 0, 0}},
    {"Purple", 0.000, {{538.7, 52.9, 1.382}}, {45, 95, 0, 0}},
    {"Violet", 0.066, {{577.7, 56.5, 1.212}, {503.1, 29.9, 0.481}}, {80, 90, 0, 0}},
    {"ReflexBlue", 0.390, {{600.4, 48.5, 1.572}, {509.1, 16.0, 0.583}}, {100, 80, 0, 10}},
    {"ProcessBlue", 0.209, {{641.4, 61.6, 1.476}, {551.8, 15.0, 0.221}}, {100, 20, 0, 0}},
    {"Turquoise", 0.145, {{648.6, 60.9, 1.261}, {430.9, 25.8, 0.289}}, {80, 0, 30, 0}},
    {"Green", 0.102, {{642.5, 56.0, 1.630}, {419.5, 38.3, 1.248}}, {90, 0, 90, 0}},
    {"LemonYellow", 0.005, {{454.6, 30.0, 1.717}, {619.5, 20.7, 0.106}}, {5, 0, 90, 0}},
    {"Brown", 0.655, {{470.5, 60.5, 0.944}, {581.7, 39.9, 0.077}}, {10, 55, 80, 45}},
    {"Gold", 0.172, {{450.0, 48.4, 0.981}, {577.9, 32.5, 0.164}}, {5, 20, 75, 15}},
    {"LightCyan", 0.020, {{647.6, 63.8, 0.519}, {524.7, 150.0, 0.031}}, {40, 0, 0, 0}},
    {"LightMagenta", 0.000, {{531.9, 46.5, 0.491}, {395.0, 36.5, 0.242}}, {0, 40, 0, 0}},
    {"LightBlack", 0.502, {{420.0, 40.1, 0.022}}, {0, 0, 0, 45}},
    {"MetallicGray", 0.398, {{599.9, 73.4, 0.087}, {430.1, 40.9, 0.053}}, {5, 0, 0, 35}},
};

constexpr double kSurface = 0.004;   // first-surface reflection of an ink film (45/0 geometry)
constexpr double kDotGain = 0.14;    // apparent coverage added at 50 %
constexpr double kYuleNielsen = 1.8;
constexpr double kTrapping = 0.6;    // share of a film printed onto wet ink (print order C, M, Y, K)

double EffectiveCoverage(double percent)
{
    const double a = std::clamp(percent / 100.0, 0.0, 1.0);
    return a + kDotGain * 4.0 * a * (1.0 - a);
}

// Halftone print of up to four inks: Demichel weights over the Neugebauer primaries,
// each primary = paper through the summed ink densities (later films trapped), mixed by
// Yule-Nielsen.
Spectrum Print(const Spectrum& paper, const std::vector<const Ink*>& inks, const std::vector<double>& percents)
{
    const size_t n = inks.size();
    std::vector<std::array<double, kCount>> density;
    std::vector<double> coverage;
    for (size_t k = 0; k < n; ++k) {
        density.push_back(Density(*inks[k]));
        coverage.push_back(EffectiveCoverage(percents[k]));
    }

    Spectrum sum{};
    for (unsigned mask = 0; mask < (1u << n); ++mask) {
        double weight = 1.0;
        for (size_t k = 0; k < n; ++k)
            weight *= (mask & (1u << k)) ? coverage[k] : 1.0 - coverage[k];
        if (weight == 0.0)
            continue;
        for (int i = 0; i < kCount; ++i) {
            double d = 0.0;
            double trap = 1.0;
            for (size_t k = 0; k < n; ++k)
                if (mask & (1u << k)) {
                    d += trap * density[k][i];
                    trap = kTrapping;
                }
            const double r = mask == 0 ? paper[i] : kSurface + (1.0 - kSurface) * paper[i] * std::pow(10.0, -d);
            sum[i] += weight * std::pow(r, 1.0 / kYuleNielsen);
        }
    }
    for (double& v : sum)
        v = std::clamp(std::pow(v, kYuleNielsen), 0.0, 1.0);
    return sum;
}

struct Entry
{
    std::string name;
    std::array<double, 4> cmyk;
    Spectrum spectrum;
};

// Six decimals, so the Lab written next to it is exactly the Lab of what a reader gets.
Spectrum Rounded(const Spectrum& s)
{
    Spectrum r{};
    for (int i = 0; i < kCount; ++i)
        r[i] = std::round(s[i] * 1e6) / 1e6;
    return r;
}

std::string CmykName(const std::array<double, 4>& v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "C%gM%gY%gK%g", v[0], v[1], v[2], v[3]);
    return buf;
}

std::vector<Entry> BuildLibrary()
{
    const Spectrum paper = PaperSpectrum();
    const std::vector<const Ink*> process = {&kCyan, &kMagenta, &kYellow, &kBlack};
    std::vector<Entry> out;
    std::set<std::array<double, 4>> seen;

    auto addCmyk = [&](double c, double m, double y, double k) {
        const std::array<double, 4> v{c, m, y, k};
        if (!seen.insert(v).second)
            return;
        const std::string name = (c == 0 && m == 0 && y == 0 && k == 0) ? "Paper" : CmykName(v);
        out.push_back({name, v, Rounded(Print(paper, process, {c, m, y, k}))});
    };

    // Paper first: the display model takes the first all-zero set as its paper.
    addCmyk(0, 0, 0, 0);

    const double ramp[] = {5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    for (int ink = 0; ink < 4; ++ink)
        for (double t : ramp) {
            std::array<double, 4> v{0, 0, 0, 0};
            v[static_cast<size_t>(ink)] = t;
            addCmyk(v[0], v[1], v[2], v[3]);
        }
    for (double t : ramp) {
        addCmyk(t, t, 0, 0);
        addCmyk(0, t, t, 0);
        addCmyk(t, 0, t, 0);
    }
    for (double t : ramp)
        addCmyk(t, t * 0.8, t * 0.8, 0);   // three-colour gray, cyan leading

    const double grid[] = {0, 25, 50, 75, 100};
    for (double c : grid)
        for (double m : grid)
            for (double y : grid)
                if ((c > 0) + (m > 0) + (y > 0) >= 2)
                    addCmyk(c, m, y, 0);

    const double solids[][3] = {{100, 0, 0}, {0, 100, 0}, {0, 0, 100}, {100, 100, 0},
                                {0, 100, 100}, {100, 0, 100}, {100, 100, 100}, {40, 40, 40}};
    for (double k : {20.0, 50.0, 100.0})
        for (const auto& s : solids)
            addCmyk(s[0], s[1], s[2], k);

    const double tints[] = {20, 40, 60, 80, 100};
    for (const Ink& ink : kSpotInks)
        for (double t : tints) {
            std::array<double, 4> v{};
            for (size_t c = 0; c < 4; ++c)
                v[c] = std::round(ink.cmyk[c] * t) / 100.0;
            char name[64];
            std::snprintf(name, sizeof name, "%s_%g", ink.name, t);
            out.push_back({name, v, Rounded(Print(paper, {&ink}, {t}))});
        }
    return out;
}

bool Write(const char* path, const std::vector<Entry>& entries)
{
    const std::string partial = std::string(path) + ".part";
    FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f)
        return false;

    std::fprintf(f, "CGATS.17\n");
    std::fprintf(f, "ORIGINATOR\t\"Vantrel spectralgen\"\n");
    std::fprintf(f, "DESCRIPTOR\t\"Synthetic spectral library of process and spot inks on coated paper\"\n");
    std::fprintf(f, "CREATED\t\"2024-01-01\"\n");
    std::fprintf(f, "NUMBER_OF_FIELDS\t%d\n", 2 + 4 + 3 + kCount);
    std::fprintf(f, "BEGIN_DATA_FORMAT\n");
    std::fprintf(f, "SAMPLE_ID\tSAMPLE_NAME\tCMYK_C\tCMYK_M\tCMYK_Y\tCMYK_K\tLAB_L\tLAB_A\tLAB_B");
    for (int i = 0; i < kCount; ++i)
        std::fprintf(f, "\tSPECTRAL_%d", static_cast<int>(Wavelength(i)));
    std::fprintf(f, "\nEND_DATA_FORMAT\n");
    std::fprintf(f, "NUMBER_OF_SETS\t%zu\n", entries.size());
    std::fprintf(f, "BEGIN_DATA\n");
    int id = 1;
    for (const Entry& e : entries) {
        double lab[3];
        LabToSpectralUtil::SpectrumToLab(e.spectrum, lab);
        std::fprintf(f, "%d\t\"%s\"\t%.2f\t%.2f\t%.2f\t%.2f\t%.4f\t%.4f\t%.4f", id++, e.name.c_str(), e.cmyk[0],
                     e.cmyk[1], e.cmyk[2], e.cmyk[3], lab[0], lab[1], lab[2]);
        for (double v : e.spectrum)
            std::fprintf(f, "\t%.6f", v);
        std::fprintf(f, "\n");
    }
    std::fprintf(f, "END_DATA\n");

    const bool ok = std::ferror(f) == 0;
    if (std::fclose(f) != 0 || !ok) {
        std::remove(partial.c_str());
        return false;
    }
    if (std::rename(partial.c_str(), path) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: spectralgen <output file>\n");
        return 2;
    }
    if (!Write(argv[1], BuildLibrary())) {
        std::fprintf(stderr, "spectralgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
