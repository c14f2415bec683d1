// Tests of the synthetic-spectrum display model (LabToSpectralUtil), its hooks on
// ReferenceFileData and the generated spectral library "MulticolorReference.txt".
#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "LabToSpectralUtil.h"
#include "ReferenceFileData.h"

#include <gtest/gtest.h>
#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using Spectrum = LabToSpectralUtil::Spectrum;
constexpr int N = LabToSpectralUtil::kSpectralCount;

// Independent copy of the D50 / 2-degree integration, kept apart from the model's so a
// slip in either shows up as a mismatch.
const double kS[N] = {0.2445, 0.2983, 0.4926, 0.5646, 0.5998, 0.5777, 0.7478, 0.872, 0.9057, 0.9133, 0.9507,
                      0.9193, 0.957,  0.9659, 0.9712, 1.0209, 1.0075, 1.0231, 1.0,   0.9774, 0.9892, 0.9351,
                      0.9771, 0.9929, 0.9907, 0.9575, 0.9889, 0.9571, 0.9823, 1.0305, 0.9918, 0.8742, 0.9165,
                      0.9294, 0.7689, 0.8656, 0.8656, 0.8656, 0.8656, 0.8656, 0.8656};
const double kX[N] = {0.001368, 0.004243, 0.014313, 0.043503, 0.134384, 0.283905, 0.348282, 0.336197, 0.290802,
                      0.195358, 0.095642, 0.032013, 0.004898, 0.009293, 0.063263, 0.165497, 0.290405, 0.433456,
                      0.594498, 0.7621,   0.916306, 1.026306, 1.062195, 1.002594, 0.854446, 0.642395, 0.447906,
                      0.283493, 0.164902, 0.087402, 0.046768, 0.022705, 0.011353, 0.00579,  0.002899, 0.00144,
                      0.00069,  0.000332, 0.000166, 0.000083, 0.0};
const double kY[N] = {0.000039, 0.00012,  0.000397, 0.001205, 0.003998, 0.011597, 0.022995, 0.037994, 0.059998,
                      0.090973, 0.139023, 0.208023, 0.322998, 0.503006, 0.710007, 0.862,    0.953995, 0.994949,
                      0.994995, 0.951996, 0.869995, 0.757004, 0.630997, 0.503006, 0.380997, 0.264999, 0.175003,
                      0.106995, 0.061005, 0.031998, 0.016998, 0.008209, 0.004105, 0.002091, 0.001047, 0.00052,
                      0.000249, 0.00012,  0.00006,  0.00003,  0.0};
const double kZ[N] = {0.00645,  0.02005,  0.067856, 0.207397, 0.645599, 1.385605, 1.747055, 1.77211, 1.669205,
                      1.287643, 0.812943, 0.465179, 0.272003, 0.158203, 0.078247, 0.04216,  0.020294, 0.008743,
                      0.003906, 0.002106, 0.001648, 0.001099, 0.000793, 0.000336, 0.000183, 0.000046, 0.000015,
                      0.0,      0.0,      0.0,      0.0,      0.0,      0.0,      0.0,      0.0,      0.0,
                      0.0,      0.0,      0.0,      0.0,      0.0};

struct Lab
{
    double L, a, b;
};

double F(double t) { return t > 0.008856451586 ? std::cbrt(t) : 7.787036979 * t + 0.13793103448275862; }

// Lab of a (possibly paper-relative) spectrum; a and b unclamped.
Lab ReferenceLab(const Spectrum& m)
{
    double k = 0, X = 0, Y = 0, Z = 0;
    for (int i = 0; i < N; ++i) {
        k += kS[i] * kY[i];
        X += m[i] * kS[i] * kX[i];
        Y += m[i] * kS[i] * kY[i];
        Z += m[i] * kS[i] * kZ[i];
    }
    X /= k;
    Y /= k;
    Z /= k;
    return {Y > 0.008856451586 ? 116 * F(Y) - 16 : 903.2963058 * Y, 500 * (F(X / 0.9642) - F(Y)),
            200 * (F(Y) - F(Z / 0.8249))};
}

Lab Clamped(Lab v)
{
    v.a = std::clamp(v.a, -128.0, 127.0);
    v.b = std::clamp(v.b, -128.0, 127.0);
    return v;
}

double DE00(const Lab& x, const Lab& y)
{
    cmsCIELab p{x.L, x.a, x.b}, q{y.L, y.a, y.b};
    return cmsCIE2000DeltaE(&p, &q, 1, 1, 1);
}

// CIEDE2000 of two neutral colours (a = b = 0): only the lightness term remains.
double NeutralDE00(double L1, double L2)
{
    const double m = (L1 + L2) / 2 - 50;
    const double sl = 1 + 0.015 * m * m / std::sqrt(20 + m * m);
    return std::fabs(L1 - L2) / sl;
}

Spectrum SetSpectrum(const ReferenceFileData& lib, int index)
{
    Spectrum s{};
    std::copy_n(lib.GetSet(index)->GetValuesSpectral(), N, s.begin());
    return s;
}

LabTriple SetLab(const ReferenceFileData& lib, int index)
{
    const double* v = lib.GetSet(index)->GetValuesLAB();
    return {v[0], v[1], v[2]};
}

Lab Mix(const LabToSpectralUtil& util, const std::vector<int>& values)
{
    double lab[3];
    util.mixToLab(values, lab);
    return {lab[0], lab[1], lab[2]};
}

void ExpectLabNear(const Lab& got, const Lab& want, double tol)
{
    EXPECT_NEAR(got.L, want.L, tol);
    EXPECT_NEAR(got.a, want.a, tol);
    EXPECT_NEAR(got.b, want.b, tol);
}

// A perfect white (M = 1): L is exactly 100; the integration table's own white lies a
// few hundredths off the D50 white point, which is what a and b show.
void ExpectPerfectWhite(const Lab& got)
{
    Spectrum ones;
    ones.fill(1.0);
    const Lab white = ReferenceLab(ones);
    ASSERT_EQ(white.L, 100.0);
    ASSERT_LT(std::fabs(white.a), 0.1);
    ASSERT_LT(std::fabs(white.b), 0.1);
    ExpectLabNear(got, white, 1e-12);
}

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const char* kGeneratedLibrary = VANTREL_BINARY_DIR "/samples/MulticolorReference.txt";

class LabToSpectralTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()))
            << ColorUtil::LastError();
        char pattern[] = "/tmp/vantrel_spectral_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // The reader may rewrite a file or put a ".tmp" next to it, so every load works on a copy.
    std::string Copy(const fs::path& source)
    {
        const fs::path target = dir / source.filename();
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        return target.string();
    }
    std::string Fixture(const char* name)
    {
        return Copy(fs::path(VANTREL_TEST_DATA_DIR) / "reference" / "spectral" / name);
    }

    // Loads the three-colour library (neutral L 46, 52, 90) into `util` with `colorants`.
    void InitThreeSets(LabToSpectralUtil& util, const std::vector<LabTriple>& colorants = {})
    {
        ASSERT_TRUE(util.init(Fixture("three_sets.txt"), colorants));
        ASSERT_EQ(util.multicolorReference->GetSetCount(), 3);
    }

    fs::path dir;
};

TEST_F(LabToSpectralTest, LibraryColourTakesItsSpectrumUnchanged)
{
    LabToSpectralUtil util;
    InitThreeSets(util);
    const ReferenceFileData& lib = *util.multicolorReference;
    // A colour within dE00 0.001 of a set takes that set's spectrum bit for bit.
    const struct
    {
        LabTriple lab;
        int set;
    } cases[] = {{{46, 0, 0}, 0}, {{52, 0, 0}, 1}, {{52.0008, 0, 0}, 1}, {{90, 0, 0}, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lab.L);
        const Spectrum got = util.labToSpectrum(c.lab);
        const Spectrum want = SetSpectrum(lib, c.set);
        for (int i = 0; i < N; ++i)
            EXPECT_EQ(got[i], want[i]) << "index " << i;
    }
    // The fixture's spectra were read completely: the second set is 0.90 - 0.015 i.
    for (int i = 0; i < N; ++i)
        EXPECT_NEAR(SetSpectrum(lib, 1)[i], 0.90 - 0.015 * i, 1e-12);
}

TEST_F(LabToSpectralTest, ColourFarFromEveryLibraryColourTakesTheNearest)
{
    LabToSpectralUtil util;
    InitThreeSets(util);
    const ReferenceFileData& lib = *util.multicolorReference;
    const struct
    {
        LabTriple lab;
        int nearest;
    } cases[] = {{{20, 0, 0}, 0}, {{0, 0, 0}, 0}, {{55, 60, 40}, 1}, {{92, -40, 70}, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lab.L);
        double best = 1e9;
        for (int s = 0; s < 3; ++s) {
            const LabTriple l = SetLab(lib, s);
            best = std::min(best, DE00({c.lab.L, c.lab.a, c.lab.b}, {l.L, l.a, l.b}));
        }
        ASSERT_GT(best, 10.0);
        const LabTriple n = SetLab(lib, c.nearest);
        ASSERT_DOUBLE_EQ(DE00({c.lab.L, c.lab.a, c.lab.b}, {n.L, n.a, n.b}), best);
        const Spectrum got = util.labToSpectrum(c.lab);
        const Spectrum want = SetSpectrum(lib, c.nearest);
        for (int i = 0; i < N; ++i)
            EXPECT_EQ(got[i], want[i]);
    }
}

TEST_F(LabToSpectralTest, ColourNearLibraryColoursTakesInverseDistanceMean)
{
    LabToSpectralUtil util;
    InitThreeSets(util);
    const ReferenceFileData& lib = *util.multicolorReference;
    const double setL[3] = {46, 52, 90};
    // Neutral queries, so dE00 reduces to |dL| / SL: at L 56 the L 46 set lies at 9.97
    // (inside the radius of 10), at L 57 at 10.96 (outside).
    const struct
    {
        double L;
        bool use[3];
    } cases[] = {{50, {true, true, false}}, {56, {true, true, false}}, {57, {false, true, false}},
                 {84, {false, false, true}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.L);
        Spectrum want{};
        double weights = 0;
        for (int s = 0; s < 3; ++s) {
            const double d = NeutralDE00(c.L, setL[s]);
            ASSERT_EQ(d <= 10.0, c.use[s]) << "set " << s << " at " << d;
            if (!c.use[s])
                continue;
            weights += 1 / d;
            for (int i = 0; i < N; ++i)
                want[i] += SetSpectrum(lib, s)[i] / d;
        }
        const Spectrum got = util.labToSpectrum({c.L, 0, 0});
        for (int i = 0; i < N; ++i)
            EXPECT_NEAR(got[i], want[i] / weights, 1e-9) << "index " << i;
    }
}

TEST_F(LabToSpectralTest, InitSynthesisesOneSpectrumPerColorantInOrder)
{
    LabToSpectralUtil util;
    const std::vector<LabTriple> colorants = {{52, 0, 0}, {20, 0, 0}, {50, 0, 0}};
    InitThreeSets(util, colorants);
    const ReferenceFileData& lib = *util.multicolorReference;

    ASSERT_EQ(util.colorantLabs.size(), 3u);
    ASSERT_EQ(util.colorantSpectra.size(), 3u);
    for (size_t c = 0; c < colorants.size(); ++c) {
        EXPECT_EQ(util.colorantLabs[c].L, colorants[c].L);
        const Spectrum direct = util.labToSpectrum(colorants[c]);
        for (int i = 0; i < N; ++i)
            EXPECT_EQ(util.colorantSpectra[c][i], direct[i]);
    }
    EXPECT_EQ(util.colorantSpectra[0][5], SetSpectrum(lib, 1)[5]);
    EXPECT_EQ(util.colorantSpectra[1][5], SetSpectrum(lib, 0)[5]);
    // A Lab library's paper is its lightest colour.
    const Spectrum paper = SetSpectrum(lib, 2);
    for (int i = 0; i < N; ++i)
        EXPECT_EQ(util.paperSpectrum[i], paper[i]);
}

TEST_F(LabToSpectralTest, EmptyPatchIsPerfectWhite)
{
    LabToSpectralUtil util;
    InitThreeSets(util, {{46, 0, 0}, {52, 0, 0}});
    for (const std::vector<int>& values : {std::vector<int>{}, {0}, {0, 0}, {0, 0, 0, 0}})
        ExpectPerfectWhite(Mix(util, values));
}

TEST_F(LabToSpectralTest, TintsMixRelativeToThePaper)
{
    LabToSpectralUtil util;
    InitThreeSets(util, {{46, 0, 0}, {52, 0, 0}});
    const Spectrum P = SetSpectrum(*util.multicolorReference, 2);
    const Spectrum A = SetSpectrum(*util.multicolorReference, 0);
    const Spectrum B = SetSpectrum(*util.multicolorReference, 1);
    const struct
    {
        std::vector<int> values;
        double cA, cB;
    } cases[] = {{{100, 0}, 1.0, 0.0}, {{0, 100}, 0.0, 1.0}, {{50}, 0.5, 0.0}, {{25, 60}, 0.25, 0.6},
                 {{100, 100}, 1.0, 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cA * 1000 + c.cB);
        Spectrum m{};
        for (int i = 0; i < N; ++i)
            m[i] = (P[i] + c.cA * (A[i] - P[i])) / P[i] * (P[i] + c.cB * (B[i] - P[i])) / P[i];
        ExpectLabNear(Mix(util, c.values), Clamped(ReferenceLab(m)), 1e-9);
    }
    // 100 % of one ink is exactly that ink's spectrum divided by the paper.
    Spectrum ratio{};
    for (int i = 0; i < N; ++i)
        ratio[i] = A[i] / P[i];
    ExpectLabNear(Mix(util, {100}), ReferenceLab(ratio), 1e-9);
}

TEST_F(LabToSpectralTest, ValuesAndColorantsWithoutPartnerAreIgnored)
{
    LabToSpectralUtil util;
    InitThreeSets(util, {{46, 0, 0}, {52, 0, 0}});
    ExpectLabNear(Mix(util, {100, 50, 80, 90}), Mix(util, {100, 50}), 0);
    ExpectLabNear(Mix(util, {30}), Mix(util, {30, 0}), 0);
    const Lab single = Mix(util, {100});
    EXPECT_LT(single.L, 100 - 1);   // the ink does take part
}

TEST_F(LabToSpectralTest, SaturatedMixtureClampsAAndBExactly)
{
    LabToSpectralUtil util;
    const std::string path = Fixture("saturated.txt");
    ReferenceFileData probe;
    ASSERT_TRUE(probe.loadReferenceFileData(nullptr, path.c_str(), false));
    const std::vector<LabTriple> colorants = {SetLab(probe, 1), SetLab(probe, 2)};
    ASSERT_TRUE(util.init(path, colorants));

    const Spectrum P = SetSpectrum(probe, 0);
    const struct
    {
        std::vector<int> values;
        int set;
        double a, b;
    } cases[] = {{{100, 0}, 1, 127.0, -128.0}, {{0, 100}, 2, -128.0, 127.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        Spectrum m{};
        const Spectrum S = SetSpectrum(probe, c.set);
        for (int i = 0; i < N; ++i)
            m[i] = S[i] / P[i];
        const Lab raw = ReferenceLab(m);
        ASSERT_TRUE(raw.a > 127 || raw.a < -128) << raw.a;
        ASSERT_TRUE(raw.b > 127 || raw.b < -128) << raw.b;
        const Lab got = Mix(util, c.values);
        EXPECT_EQ(got.a, c.a);
        EXPECT_EQ(got.b, c.b);
        EXPECT_NEAR(got.L, raw.L, 1e-9);   // L is never clamped
    }
}

TEST_F(LabToSpectralTest, MissingLibraryFailsAndMixesWhite)
{
    LabToSpectralUtil util;
    EXPECT_FALSE(util.init((dir / LabToSpectralUtil::LibraryFileName()).string(), {{50, 60, 0}, {80, 0, 90}}));
    EXPECT_STREQ(LabToSpectralUtil::LibraryFileName(), "MulticolorReference.txt");
    EXPECT_TRUE(util.colorantLabs.empty());
    EXPECT_TRUE(util.colorantSpectra.empty());
    ASSERT_NE(util.multicolorReference, nullptr);
    EXPECT_EQ(util.multicolorReference->GetSetCount(), 0);
    ExpectPerfectWhite(Mix(util, {100, 100}));
}

TEST_F(LabToSpectralTest, LibraryWithoutSetsFallsBackToPerfectWhite)
{
    for (bool cmyk : {false, true}) {
        SCOPED_TRACE(cmyk);
        LabToSpectralUtil util;
        util.multicolorReference = std::make_unique<ReferenceFileData>();
        util.multicolorReference->isCMYK = cmyk;
        util.multicolorReference->hasLab = true;
        util.paperSpectrum.fill(0.5);
        util.findPaper();
        const Spectrum ink = util.labToSpectrum({50, 10, 10});
        for (int i = 0; i < N; ++i) {
            EXPECT_EQ(util.paperSpectrum[i], 1.0);
            EXPECT_EQ(ink[i], 1.0);
        }
    }
    // Without any library object at all.
    LabToSpectralUtil bare;
    bare.findPaper();
    EXPECT_EQ(bare.labToSpectrum({50, 0, 0})[20], 1.0);
    ExpectPerfectWhite(Mix(bare, {100}));
}

TEST_F(LabToSpectralTest, CmykLibraryWithoutPaperWhiteUsesPerfectWhitePaper)
{
    LabToSpectralUtil util;
    const std::string path = Fixture("cmyk_no_white.txt");
    ASSERT_TRUE(util.init(path, {{55, -37, -50}}));
    const ReferenceFileData& lib = *util.multicolorReference;
    ASSERT_TRUE(lib.isCMYK);
    ASSERT_EQ(lib.GetSetCount(), 2);
    for (int i = 0; i < N; ++i)
        EXPECT_EQ(util.paperSpectrum[i], 1.0);
    // With a white paper the solid is the ink spectrum itself.
    ExpectLabNear(Mix(util, {100}), Clamped(ReferenceLab(SetSpectrum(lib, 0))), 1e-9);
}

TEST_F(LabToSpectralTest, CmykLibraryPaperIsFirstAllZeroSet)
{
    // Set 0 has K = 0.002 (not zero), set 2 has M = 0.0005 (zero within 0.001), set 3 is
    // lighter than the paper but inked.
    LabToSpectralUtil util;
    ASSERT_TRUE(util.init(Fixture("cmyk_paper.txt"), {}));
    const ReferenceFileData& lib = *util.multicolorReference;
    ASSERT_TRUE(lib.isCMYK);
    ASSERT_EQ(lib.GetSetCount(), 4);
    const Spectrum paper = SetSpectrum(lib, 2);
    for (int i = 0; i < N; ++i)
        EXPECT_EQ(util.paperSpectrum[i], paper[i]) << "index " << i;
}

TEST_F(LabToSpectralTest, GeneratedLibraryLoadsWithConsistentSpectraAndLab)
{
    const std::string path = Copy(kGeneratedLibrary);
    ReferenceFileData lib;
    ASSERT_TRUE(lib.loadReferenceFileData(nullptr, path.c_str(), false));
    ASSERT_TRUE(lib.isCMYK);
    ASSERT_TRUE(lib.hasLab);
    ASSERT_GE(lib.GetSetCount(), 200);

    // Parse the data rows ourselves: every one of the 41 spectral columns must arrive.
    std::istringstream text(ReadFile(path));
    std::string line;
    while (std::getline(text, line) && line != "BEGIN_DATA") {
    }
    std::vector<std::vector<double>> rows;
    while (std::getline(text, line) && line != "END_DATA") {
        std::istringstream cells(line);
        std::vector<std::string> tokens{std::istream_iterator<std::string>(cells), {}};
        ASSERT_EQ(tokens.size(), 9u + N) << line;
        std::vector<double> spectrum;
        for (size_t t = 9; t < tokens.size(); ++t)
            spectrum.push_back(std::strtod(tokens[t].c_str(), nullptr));
        rows.push_back(spectrum);
    }
    ASSERT_EQ(static_cast<int>(rows.size()), lib.GetSetCount());

    const double* paperCmyk = lib.GetSet(0)->GetValuesCMYK();
    EXPECT_EQ(paperCmyk[0] + paperCmyk[1] + paperCmyk[2] + paperCmyk[3], 0.0);
    EXPECT_STREQ(lib.GetSet(0)->GetName(), "Paper");

    double worst = 0;
    for (int s = 0; s < lib.GetSetCount(); ++s) {
        const Spectrum sp = SetSpectrum(lib, s);
        for (int i = 0; i < N; ++i) {
            ASSERT_NEAR(sp[i], rows[s][i], 1e-12) << "set " << s << " index " << i;
            ASSERT_GE(sp[i], 0.0);
            ASSERT_LE(sp[i], 1.0);
        }
        const LabTriple stored = SetLab(lib, s);
        const Lab mine = ReferenceLab(sp);
        double model[3];
        LabToSpectralUtil::SpectrumToLab(sp, model);
        ExpectLabNear({model[0], model[1], model[2]}, mine, 1e-9);
        worst = std::max(worst, DE00(mine, {stored.L, stored.a, stored.b}));
    }
    EXPECT_LT(worst, 0.01);

    // Plausible coated-offset colours for paper and the process solids.
    auto findByCmyk = [&](double c, double m, double y, double k) {
        for (int s = 0; s < lib.GetSetCount(); ++s) {
            const double* v = lib.GetSet(s)->GetValuesCMYK();
            if (v[0] == c && v[1] == m && v[2] == y && v[3] == k)
                return s;
        }
        return -1;
    };
    const struct
    {
        double cmyk[4];
        Lab lab;
    } solids[] = {{{0, 0, 0, 0}, {95, 0, -2}},       {{100, 0, 0, 0}, {55, -37, -50}},
                  {{0, 100, 0, 0}, {48, 74, -3}},    {{0, 0, 100, 0}, {89, -5, 93}},
                  {{0, 0, 0, 100}, {16, 0, 0}}};
    for (const auto& solid : solids) {
        const int s = findByCmyk(solid.cmyk[0], solid.cmyk[1], solid.cmyk[2], solid.cmyk[3]);
        ASSERT_GE(s, 0);
        const LabTriple l = SetLab(lib, s);
        EXPECT_LT(DE00({l.L, l.a, l.b}, solid.lab), 2.0) << lib.GetSet(s)->GetName();
    }
}

TEST_F(LabToSpectralTest, GeneratorIsDeterministic)
{
#ifndef SPECTRALGEN_EXE
    GTEST_SKIP() << "generator not built in this tree";
#else
    const fs::path first = dir / "first.txt";
    const fs::path second = dir / "second.txt";
    for (const fs::path& out : {first, second}) {
        const std::string command = std::string("\"") + SPECTRALGEN_EXE + "\" \"" + out.string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    const std::string a = ReadFile(first);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, ReadFile(second));
    EXPECT_EQ(a, ReadFile(kGeneratedLibrary));
    EXPECT_FALSE(fs::exists(dir / "first.txt.part"));
#endif
}

TEST_F(LabToSpectralTest, ReferenceChannelColourComesFromItsModel)
{
    const std::string path = Copy(kGeneratedLibrary);
    ReferenceFileData lib;
    ASSERT_TRUE(lib.loadReferenceFileData(nullptr, path.c_str(), false));

    ReferenceFileData ref;
    double rgb[3] = {-1, -2, -3};
    EXPECT_FALSE(ref.GetChannelColor({100, 0, 0, 0}, rgb));
    EXPECT_EQ(rgb[0], -1);
    EXPECT_EQ(rgb[1], -2);
    EXPECT_EQ(rgb[2], -3);

    // Colorants C, M, Y, K taken from the library's own solids.
    ref.colorantLab = {SetLab(lib, 11), SetLab(lib, 22), SetLab(lib, 33), SetLab(lib, 44)};
    const char* names[] = {"C100M0Y0K0", "C0M100Y0K0", "C0M0Y100K0", "C0M0Y0K100"};
    for (int c = 0; c < 4; ++c)
        ASSERT_STREQ(lib.GetSet(11 * (c + 1))->GetName(), names[c]);
    ASSERT_TRUE(ref.InitSpectralModel(path));
    ASSERT_NE(ref.spectralUtil, nullptr);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(ref.spectralUtil->colorantSpectra[c][17], SetSpectrum(lib, 11 * (c + 1))[17]);
    // A CMYK library's paper is its first all-zero set.
    EXPECT_EQ(ref.spectralUtil->paperSpectrum[9], SetSpectrum(lib, 0)[9]);

    ASSERT_TRUE(ref.GetChannelColor({0, 0, 0, 0}, rgb));
    for (double v : rgb)
        EXPECT_NEAR(v, 255.0, 1.0);

    ASSERT_TRUE(ref.GetChannelColor({100, 0, 0, 0}, rgb));
    double lab[3], want[3];
    ref.spectralUtil->mixToLab({100, 0, 0, 0}, lab);
    ASSERT_TRUE(ColorUtil::LabToRGB(lab, want));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rgb[i], want[i]);
    EXPECT_LT(rgb[0], rgb[1]);   // cyan: little red, much green and blue
    EXPECT_LT(rgb[0], rgb[2]);

    // A failed library load still leaves a model, which shows patches white.
    ReferenceFileData broken;
    broken.colorantLab = ref.colorantLab;
    EXPECT_FALSE(broken.InitSpectralModel((dir / "missing" / LabToSpectralUtil::LibraryFileName()).string()));
    ASSERT_NE(broken.spectralUtil, nullptr);
    ASSERT_TRUE(broken.GetChannelColor({100, 100, 100, 100}, rgb));
    for (double v : rgb)
        EXPECT_NEAR(v, 255.0, 1.0);
}

TEST_F(LabToSpectralTest, MixToRGBNeedsTheColourModule)
{
    LabToSpectralUtil util;
    InitThreeSets(util, {{46, 0, 0}});
    ColorUtil::Shutdown();
    double rgb[3] = {7, 8, 9};
    EXPECT_FALSE(util.mixToRGB({100}, rgb));
    EXPECT_EQ(rgb[0], 7);
    EXPECT_EQ(rgb[2], 9);
    ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()));
    EXPECT_TRUE(util.mixToRGB({100}, rgb));
    EXPECT_LT(rgb[0], 200);
}
} // namespace
