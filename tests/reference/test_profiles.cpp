// Tests of the suite's generated ICC profiles: headers and tags, the colour behaviour of
// the CMYK tables (round trip, black generation, ink limit, gamut clipping), the gray
// plate profile, and that profilegen writes the embedded bytes deterministically.
#include "EmbeddedProfiles.h"

#include <lcms2.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<unsigned char>;

struct ProfileCloser
{
    void operator()(void* h) const { cmsCloseProfile(h); }
};
using ProfilePtr = std::unique_ptr<void, ProfileCloser>;

struct TransformDeleter
{
    void operator()(void* t) const { cmsDeleteTransform(t); }
};
using TransformPtr = std::unique_ptr<void, TransformDeleter>;

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes EmbeddedCmyk()
{
    return Bytes(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYK() + EmbeddedProfiles::OutputCMYKSize());
}

Bytes EmbeddedGray()
{
    return Bytes(EmbeddedProfiles::OutputGray(), EmbeddedProfiles::OutputGray() + EmbeddedProfiles::OutputGraySize());
}

ProfilePtr Open(const Bytes& bytes)
{
    return ProfilePtr(cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
}

std::string Description(cmsHPROFILE h)
{
    char text[256] = {};
    cmsGetProfileInfoASCII(h, cmsInfoDescription, "en", "US", text, sizeof text);
    return text;
}

// Type signature of a tag as stored in the file.
std::string TagType(cmsHPROFILE h, cmsTagSignature sig)
{
    char raw[4] = {};
    if (cmsReadRawTag(h, sig, raw, 4) < 4) return "";
    return std::string(raw, 4);
}

double DeltaE(const cmsCIELab& x, const cmsCIELab& y) { return cmsDeltaE(&x, &y); }

// CMYK (per cent) <-> Lab through the CMYK output profile, both directions.
class CmykProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bytes_ = EmbeddedCmyk();
        profile_ = Open(bytes_);
        ASSERT_TRUE(profile_);
        lab_.reset(cmsCreateLab4Profile(nullptr));
        toLab_.reset(cmsCreateTransform(profile_.get(), TYPE_CMYK_DBL, lab_.get(), TYPE_Lab_DBL,
                                        INTENT_RELATIVE_COLORIMETRIC, 0));
        toCmyk_.reset(cmsCreateTransform(lab_.get(), TYPE_Lab_DBL, profile_.get(), TYPE_CMYK_DBL,
                                         INTENT_RELATIVE_COLORIMETRIC, 0));
        ASSERT_TRUE(toLab_);
        ASSERT_TRUE(toCmyk_);
    }

    cmsCIELab ToLab(const std::array<double, 4>& cmyk) const
    {
        cmsCIELab lab;
        cmsDoTransform(toLab_.get(), cmyk.data(), &lab, 1);
        return lab;
    }

    std::array<double, 4> ToCmyk(const cmsCIELab& lab) const
    {
        std::array<double, 4> cmyk;
        cmsDoTransform(toCmyk_.get(), &lab, cmyk.data(), 1);
        return cmyk;
    }

    Bytes bytes_;
    ProfilePtr profile_;
    ProfilePtr lab_;
    TransformPtr toLab_;
    TransformPtr toCmyk_;
};

TEST_F(CmykProfileTest, HeaderAndTags)
{
    cmsHPROFILE h = profile_.get();
    EXPECT_DOUBLE_EQ(cmsGetProfileVersion(h), 2.1);
    EXPECT_EQ(cmsGetDeviceClass(h), cmsSigOutputClass);
    EXPECT_EQ(cmsGetColorSpace(h), cmsSigCmykData);
    EXPECT_EQ(cmsGetPCS(h), cmsSigLabData);
    EXPECT_EQ(Description(h), "Vantrel Coated CMYK");

    // Raw header: version 2.1.0, 'prtr', 'CMYK', 'Lab ', 'acsp', fixed creation date.
    ASSERT_GE(bytes_.size(), 128u);
    const unsigned char version[4] = {0x02, 0x10, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(&bytes_[8], version, 4), 0);
    EXPECT_EQ(std::memcmp(&bytes_[12], "prtrCMYKLab ", 12), 0);
    EXPECT_EQ(std::memcmp(&bytes_[36], "acsp", 4), 0);
    const unsigned char date[12] = {0x07, 0xE8, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&bytes_[24], date, 12), 0);
    const std::uint32_t declared = (std::uint32_t{bytes_[0]} << 24) | (bytes_[1] << 16) | (bytes_[2] << 8) | bytes_[3];
    EXPECT_EQ(declared, bytes_.size());

    for (cmsTagSignature sig : {cmsSigAToB0Tag, cmsSigAToB1Tag, cmsSigBToA0Tag, cmsSigBToA1Tag, cmsSigGamutTag}) {
        EXPECT_TRUE(cmsIsTag(h, sig)) << std::hex << sig;
        EXPECT_EQ(TagType(h, sig), "mft2") << std::hex << sig;
    }
    EXPECT_EQ(TagType(h, cmsSigProfileDescriptionTag), "desc");
    EXPECT_EQ(TagType(h, cmsSigCopyrightTag), "text");
    char copyright[256] = {};
    cmsGetProfileInfoASCII(h, cmsInfoCopyright, "en", "US", copyright, sizeof copyright);
    EXPECT_NE(std::string(copyright).find("Vantrel"), std::string::npos);

    const auto* white = static_cast<const cmsCIEXYZ*>(cmsReadTag(h, cmsSigMediaWhitePointTag));
    ASSERT_NE(white, nullptr);
    EXPECT_NEAR(white->X, 0.9642, 1e-3);
    EXPECT_NEAR(white->Y, 1.0, 1e-3);
    EXPECT_NEAR(white->Z, 0.8249, 1e-3);

    EXPECT_LE(bytes_.size(), 300u * 1024u);
}

TEST_F(CmykProfileTest, SolidsAndOverprintsArePlausibleCoatedPrint)
{
    struct Case
    {
        const char* name;
        std::array<double, 4> cmyk;
        cmsCIELab expected;
        double tolerance;
    };
    const Case cases[] = {
        {"paper", {0, 0, 0, 0}, {95, 0, -2}, 1.0},
        {"cyan", {100, 0, 0, 0}, {55, -37, -50}, 1.0},
        {"magenta", {0, 100, 0, 0}, {48, 74, -3}, 1.0},
        {"yellow", {0, 0, 100, 0}, {89, -5, 93}, 1.0},
        {"black", {0, 0, 0, 100}, {16, 0, 0}, 1.0},
        {"blue", {100, 100, 0, 0}, {24, 20, -46}, 2.0},
        {"green", {100, 0, 100, 0}, {50, -64, 26}, 2.0},
        {"red", {0, 100, 100, 0}, {47, 67, 46}, 2.0},
    };
    for (const Case& c : cases) {
        const cmsCIELab lab = ToLab(c.cmyk);
        EXPECT_LT(DeltaE(lab, c.expected), c.tolerance)
            << c.name << ": " << lab.L << " " << lab.a << " " << lab.b;
    }
    // Black over the chromatic inks is the darkest colour.
    const cmsCIELab rich = ToLab({100, 100, 100, 100});
    EXPECT_LT(rich.L, 12.0);
    EXPECT_GT(rich.L, 3.0);
}

TEST_F(CmykProfileTest, EveryInkShowsDotGain)
{
    // Murray-Davies tone value of each 50 % tint from the luminance channel that the ink
    // absorbs most: printed tints cover more than their nominal half.
    const int channel[4] = {0, 1, 2, 1};  // X for cyan, Y for magenta and black, Z for yellow
    for (int ink = 0; ink < 4; ++ink) {
        std::array<double, 4> solid = {0, 0, 0, 0};
        std::array<double, 4> half = {0, 0, 0, 0};
        solid[ink] = 100;
        half[ink] = 50;
        cmsCIEXYZ paper, tint, full;
        const cmsCIELab paperLab = ToLab({0, 0, 0, 0});
        const cmsCIELab tintLab = ToLab(half);
        const cmsCIELab solidLab = ToLab(solid);
        cmsLab2XYZ(nullptr, &paper, &paperLab);
        cmsLab2XYZ(nullptr, &tint, &tintLab);
        cmsLab2XYZ(nullptr, &full, &solidLab);
        const double* p = &paper.X;
        const double* t = &tint.X;
        const double* s = &full.X;
        const int j = channel[ink];
        const double toneValue = (p[j] - t[j]) / (p[j] - s[j]);
        EXPECT_GT(toneValue, 0.58) << "ink " << ink;
        EXPECT_LT(toneValue, 0.80) << "ink " << ink;
    }
}

TEST_F(CmykProfileTest, DeviceToLabToDeviceRoundTrip)
{
    // Printable colours come back through B2A0 and A2B0 to the same Lab.
    double worst = 0.0;
    double sum = 0.0;
    int count = 0;
    for (double c = 0; c <= 100; c += 20)
        for (double m = 0; m <= 100; m += 20)
            for (double y = 0; y <= 100; y += 20)
                for (double k = 0; k <= 100; k += 20) {
                    if (c + m + y + k > 320) continue;
                    const cmsCIELab lab = ToLab({c, m, y, k});
                    const std::array<double, 4> cmyk = ToCmyk(lab);
                    const double dE = DeltaE(lab, ToLab(cmyk));
                    EXPECT_LT(dE, 3.0) << c << " " << m << " " << y << " " << k << " -> " << cmyk[0] << " "
                                       << cmyk[1] << " " << cmyk[2] << " " << cmyk[3];
                    worst = std::max(worst, dE);
                    sum += dE;
                    ++count;
                }
    ASSERT_GT(count, 1000);
    EXPECT_LT(sum / count, 0.8) << "worst " << worst;
}

TEST_F(CmykProfileTest, ColorimetricAndSaturationTablesShareThePerceptualOnes)
{
    cmsHPROFILE h = profile_.get();
    // A tag read back links to the first tag with the same data; follow the chain.
    auto root = [&](cmsTagSignature sig) {
        for (int hops = 0; hops < 4; ++hops) {
            const cmsTagSignature next = cmsTagLinkedTo(h, sig);
            if (next == 0) break;
            sig = next;
        }
        return sig;
    };
    EXPECT_EQ(root(cmsSigAToB1Tag), cmsSigAToB0Tag);
    EXPECT_EQ(root(cmsSigAToB2Tag), cmsSigAToB0Tag);
    EXPECT_EQ(root(cmsSigBToA1Tag), cmsSigBToA0Tag);
    EXPECT_EQ(root(cmsSigBToA2Tag), cmsSigBToA0Tag);
    // Linked tags are stored once: A2B1 points at the bytes of A2B0.
    cmsUInt32Number a2b0 = cmsReadRawTag(h, cmsSigAToB0Tag, nullptr, 0);
    EXPECT_GT(a2b0, 80000u);
    EXPECT_LT(bytes_.size(), 2 * a2b0 + 220000u);
}

TEST_F(CmykProfileTest, BlackGenerationGrowsWithDarknessOfNeutrals)
{
    double previousK = -1.0;
    for (double L = 95; L >= 10; L -= 5) {
        const std::array<double, 4> cmyk = ToCmyk({L, 0, 0});
        EXPECT_GE(cmyk[3], previousK - 0.5) << "L " << L;
        previousK = cmyk[3];
        if (L >= 85) {
            EXPECT_LT(cmyk[3], 1.0) << "light neutrals are built without black, L " << L;
        }
    }
    const std::array<double, 4> dark = ToCmyk({20, 0, 0});
    EXPECT_GT(dark[3], 50.0);
    EXPECT_GT(dark[0], 10.0) << "chromatic inks still carry part of a dark neutral";
    // Saturated colours of the same lightness take less black.
    const std::array<double, 4> saturated = ToCmyk({40, 60, 40});
    const std::array<double, 4> neutral = ToCmyk({40, 0, 0});
    EXPECT_LT(saturated[3], neutral[3]);
}

TEST_F(CmykProfileTest, SeparationsStayWithinInkLimit)
{
    for (double L = 0; L <= 100; L += 10)
        for (double a = -120; a <= 120; a += 30)
            for (double b = -120; b <= 120; b += 30) {
                const std::array<double, 4> cmyk = ToCmyk({L, a, b});
                double total = 0.0;
                for (double v : cmyk) {
                    EXPECT_GE(v, 0.0);
                    EXPECT_LE(v, 100.0);
                    total += v;
                }
                EXPECT_LE(total, 320.5) << L << " " << a << " " << b;
            }
}

TEST_F(CmykProfileTest, OutOfGamutColoursClipToNearbyPrintableColours)
{
    // The clipped colour is no farther from the request than the closest printable
    // primary, and it keeps the hue side of the request.
    std::vector<cmsCIELab> primaries;
    for (int mask = 0; mask < 16; ++mask) {
        const std::array<double, 4> cmyk = {mask & 1 ? 100.0 : 0.0, mask & 2 ? 100.0 : 0.0,
                                            mask & 4 ? 100.0 : 0.0, mask & 8 ? 100.0 : 0.0};
        if (cmyk[0] + cmyk[1] + cmyk[2] + cmyk[3] <= 320) primaries.push_back(ToLab(cmyk));
    }
    const cmsCIELab requests[] = {{50, 100, 0}, {50, -100, 0}, {90, 0, 120}, {30, 40, -90},
                                  {100, 0, 0},  {0, 0, 0},     {70, -80, -60}, {60, 90, 90}};
    for (const cmsCIELab& request : requests) {
        const cmsCIELab printed = ToLab(ToCmyk(request));
        double nearestPrimary = 1e9;
        for (const cmsCIELab& p : primaries) nearestPrimary = std::min(nearestPrimary, DeltaE(request, p));
        EXPECT_LE(DeltaE(request, printed), nearestPrimary + 1.0)
            << request.L << " " << request.a << " " << request.b << " printed as " << printed.L << " "
            << printed.a << " " << printed.b;
        if (std::hypot(request.a, request.b) > 50) {
            EXPECT_GT(request.a * printed.a + request.b * printed.b, 0.0);
        }
    }
}

TEST_F(CmykProfileTest, GamutTagSeparatesPrintableFromUnprintable)
{
    // Colours well inside the gamut read 0, colours far outside read non-zero; near the
    // gamut surface the tag tolerates a few units of colour difference.
    const auto* gamut = static_cast<cmsPipeline*>(cmsReadTag(profile_.get(), cmsSigGamutTag));
    ASSERT_NE(gamut, nullptr);
    ASSERT_EQ(cmsPipelineInputChannels(gamut), 3u);
    ASSERT_EQ(cmsPipelineOutputChannels(gamut), 1u);
    auto outOfGamut = [&](const cmsCIELab& lab) {
        cmsUInt16Number in[3];
        cmsUInt16Number out[1];
        cmsFloat2LabEncodedV2(in, &lab);  // a v2 table takes v2 Lab encoding
        cmsPipelineEval16(in, out, gamut);
        return out[0];
    };
    for (const std::array<double, 4>& cmyk :
         {std::array<double, 4>{20, 10, 10, 0}, {50, 40, 40, 20}, {20, 50, 60, 10}, {60, 10, 20, 10}})
        EXPECT_EQ(outOfGamut(ToLab(cmyk)), 0) << cmyk[0] << " " << cmyk[1] << " " << cmyk[2] << " " << cmyk[3];
    for (const cmsCIELab& lab : {cmsCIELab{50, 110, 0}, cmsCIELab{90, -90, -90}, cmsCIELab{30, 0, 110}})
        EXPECT_GT(outOfGamut(lab), 0) << lab.L << " " << lab.a << " " << lab.b;
}

TEST(GrayProfileTest, HeaderAndDotGainCurve)
{
    const Bytes bytes = EmbeddedGray();
    ProfilePtr gray = Open(bytes);
    ASSERT_TRUE(gray);
    EXPECT_DOUBLE_EQ(cmsGetProfileVersion(gray.get()), 2.1);
    EXPECT_EQ(cmsGetDeviceClass(gray.get()), cmsSigOutputClass);
    EXPECT_EQ(cmsGetColorSpace(gray.get()), cmsSigGrayData);
    EXPECT_EQ(Description(gray.get()), "Vantrel Coated Gray");
    EXPECT_EQ(TagType(gray.get(), cmsSigGrayTRCTag), "curv");

    ProfilePtr lab(cmsCreateLab4Profile(nullptr));
    TransformPtr toLab(cmsCreateTransform(gray.get(), TYPE_GRAY_DBL, lab.get(), TYPE_Lab_DBL,
                                          INTENT_RELATIVE_COLORIMETRIC, 0));
    ASSERT_TRUE(toLab);
    auto lightness = [&](double gray01) {
        cmsCIELab out;
        cmsDoTransform(toLab.get(), &gray01, &out, 1);
        return out;
    };
    const cmsCIELab paper = lightness(1.0);
    const cmsCIELab solid = lightness(0.0);
    EXPECT_NEAR(paper.L, 95.0, 0.5);
    EXPECT_NEAR(solid.L, 16.0, 0.5);
    EXPECT_NEAR(paper.a, 0.0, 0.1);
    EXPECT_NEAR(paper.b, 0.0, 0.1);
    double previous = -1.0;
    for (int i = 0; i <= 20; ++i) {
        const double L = lightness(i / 20.0).L;
        EXPECT_GT(L, previous) << "gray " << i / 20.0;
        previous = L;
    }
    // A 50 % tint prints darker than its nominal area, as black does in the CMYK profile.
    cmsCIEXYZ p, t, s;
    const cmsCIELab tint = lightness(0.5);
    cmsLab2XYZ(nullptr, &p, &paper);
    cmsLab2XYZ(nullptr, &t, &tint);
    cmsLab2XYZ(nullptr, &s, &solid);
    const double toneValue = (p.Y - t.Y) / (p.Y - s.Y);
    EXPECT_GT(toneValue, 0.6);
    EXPECT_LT(toneValue, 0.8);
}

// A fresh temporary directory, removed with its files at the end of the test.
class TempDir
{
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vantrel-profiles-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data())) path_ = buffer.data();
    }
    ~TempDir()
    {
        for (const std::string& f : files_) std::remove(f.c_str());
        if (!path_.empty()) rmdir(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name)
    {
        files_.push_back(path_ + "/" + name);
        return files_.back();
    }

private:
    std::string path_;
    std::vector<std::string> files_;
};

std::string Quote(const std::string& s) { return "'" + s + "'"; }

int RunProfilegen(const std::string& args)
{
    const std::string exe = std::string(VANTREL_BINARY_DIR) + "/tools/profilegen/profilegen";
    const int status = std::system((Quote(exe) + " " + args + " 2>/dev/null").c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProfileGeneratorTest, EmbeddedBytesAreTheGeneratedFiles)
{
    const std::string dir = std::string(VANTREL_BINARY_DIR) + "/profiles/";
    EXPECT_EQ(ReadFile(dir + "OutputCMYK.icc"), EmbeddedCmyk());
    EXPECT_EQ(ReadFile(dir + "OutputGray.icc"), EmbeddedGray());
}

TEST(ProfileGeneratorTest, GeneratorIsDeterministic)
{
    TempDir temp;
    ASSERT_FALSE(temp.Path().empty());
    const std::string cmyk1 = temp.File("first-cmyk.icc"), gray1 = temp.File("first-gray.icc");
    const std::string cmyk2 = temp.File("second-cmyk.icc"), gray2 = temp.File("second-gray.icc");
    ASSERT_EQ(RunProfilegen(Quote(cmyk1) + " " + Quote(gray1)), 0);
    ASSERT_EQ(RunProfilegen(Quote(cmyk2) + " " + Quote(gray2)), 0);
    const Bytes first = ReadFile(cmyk1);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, ReadFile(cmyk2));
    EXPECT_EQ(ReadFile(gray1), ReadFile(gray2));
    EXPECT_EQ(first, EmbeddedCmyk());
    EXPECT_EQ(ReadFile(gray1), EmbeddedGray());
}

TEST(ProfileGeneratorTest, GeneratorFailsCleanly)
{
    TempDir temp;
    ASSERT_FALSE(temp.Path().empty());
    EXPECT_EQ(RunProfilegen(""), 2);
    EXPECT_EQ(RunProfilegen(Quote(temp.Path() + "/only-one.icc")), 2);
    // An unwritable destination fails without leaving a partial file behind.
    const std::string missing = temp.Path() + "/no-such-dir/OutputCMYK.icc";
    EXPECT_EQ(RunProfilegen(Quote(missing) + " " + Quote(temp.Path() + "/no-such-dir/OutputGray.icc")), 1);
    EXPECT_TRUE(ReadFile(missing).empty());
    EXPECT_TRUE(ReadFile(missing + ".tmp").empty());
}

}  // namespace
