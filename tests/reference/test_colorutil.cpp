// Tests of ColorUtil: the one-pixel conversions, their value conventions, and the
// module's behaviour before Init, after a failed Init and after Shutdown.
#include "ColorUtil.h"
#include "EmbeddedProfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace
{

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kSentinel = -12345.0;

bool InitWithEmbedded(bool withXYZtoRGB = true)
{
    return ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize(), withXYZtoRGB);
}

double DeltaE(const double x[3], const double y[3])
{
    return std::sqrt((x[0] - y[0]) * (x[0] - y[0]) + (x[1] - y[1]) * (x[1] - y[1]) +
                     (x[2] - y[2]) * (x[2] - y[2]));
}

class ColorUtilTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(InitWithEmbedded()) << ColorUtil::LastError(); }
    void TearDown() override { ColorUtil::Shutdown(); }
};

struct LabCase
{
    double in[3];
    double lab[3];
    double tolerance;
};

TEST_F(ColorUtilTest, RGBtoLabGivesD50LabOfSRGB)
{
    // D50 (Bradford-adapted) Lab of sRGB colours.
    const LabCase cases[] = {
        {{255, 255, 255}, {100.0, 0.0, 0.0}, 0.5},
        {{0, 0, 0}, {0.0, 0.0, 0.0}, 0.5},
        {{255, 0, 0}, {54.29, 80.80, 69.89}, 1.0},
        {{0, 0, 255}, {29.57, 68.30, -112.03}, 1.5},
        {{119, 119, 119}, {50.0, 0.0, 0.0}, 0.6},
    };
    for (const LabCase& c : cases) {
        double lab[3];
        ASSERT_TRUE(ColorUtil::RGBtoLab(c.in, lab));
        EXPECT_LT(DeltaE(lab, c.lab), c.tolerance)
            << "RGB " << c.in[0] << " " << c.in[1] << " " << c.in[2] << " -> " << lab[0] << " "
            << lab[1] << " " << lab[2];
    }
}

TEST_F(ColorUtilTest, RGBtoLabUsesLowByteOfTruncatedChannel)
{
    struct Case
    {
        double in[3];
        double sameAs[3];
    };
    const Case cases[] = {
        {{256, 0, 0}, {0, 0, 0}},
        {{255.99, 0.99, 17.5}, {255, 0, 17}},  // truncated, not rounded
        {{-1, 0, 0}, {255, 0, 0}},             // two's complement low byte
        {{300, 128.7, 512}, {44, 128, 0}},
        {{-0.5, 65536 + 7, 1e15}, {0, 7, 0}},  // 1e15 is a multiple of 256
    };
    for (const Case& c : cases) {
        double lab[3];
        double expected[3];
        ASSERT_TRUE(ColorUtil::RGBtoLab(c.in, lab));
        ASSERT_TRUE(ColorUtil::RGBtoLab(c.sameAs, expected));
        for (int i = 0; i < 3; ++i)
            EXPECT_DOUBLE_EQ(lab[i], expected[i]) << "channel " << i << " of input " << c.in[0] << " "
                                                  << c.in[1] << " " << c.in[2];
    }
}

TEST_F(ColorUtilTest, LabToRGBRoundTripsDisplayColours)
{
    for (double r : {0.0, 37.0, 128.0, 200.0, 255.0})
        for (double g : {0.0, 90.0, 255.0})
            for (double b : {0.0, 160.0, 255.0}) {
                const double rgb[3] = {r, g, b};
                double lab[3];
                double back[3];
                ASSERT_TRUE(ColorUtil::RGBtoLab(rgb, lab));
                ASSERT_TRUE(ColorUtil::LabToRGB(lab, back));
                for (int i = 0; i < 3; ++i)
                    EXPECT_NEAR(back[i], rgb[i], 1.0) << r << " " << g << " " << b << " channel " << i;
            }
}

TEST_F(ColorUtilTest, LabToRGBClipsOutOfGamutColours)
{
    const double cases[][3] = {{50, 200, 0}, {50, -200, 0}, {50, 0, -300}, {120, 0, 0}, {-20, 0, 0}};
    for (const auto& lab : cases) {
        double rgb[3];
        ASSERT_TRUE(ColorUtil::LabToRGB(lab, rgb));
        bool clipped = false;
        for (int i = 0; i < 3; ++i) {
            EXPECT_GE(rgb[i], 0.0);
            EXPECT_LE(rgb[i], 255.0);
            EXPECT_EQ(rgb[i], std::trunc(rgb[i]));
            clipped = clipped || rgb[i] == 0.0 || rgb[i] == 255.0;
        }
        EXPECT_TRUE(clipped) << lab[0] << " " << lab[1] << " " << lab[2];
    }
    const double red[3] = {50, 200, 0};
    double rgb[3];
    ASSERT_TRUE(ColorUtil::LabToRGB(red, rgb));
    EXPECT_EQ(rgb[0], 255.0);
    EXPECT_GT(rgb[0], rgb[1] + 100.0);
    EXPECT_GT(rgb[0], rgb[2] + 100.0);
}

TEST_F(ColorUtilTest, XYZtoLabScalesFromHundred)
{
    const double y = 18.4187;  // Y that gives L* 50
    const LabCase cases[] = {
        {{96.42, 100.0, 82.49}, {100.0, 0.0, 0.0}, 0.1},
        {{0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, 0.1},
        {{96.42 * y / 100.0, y, 82.49 * y / 100.0}, {50.0, 0.0, 0.0}, 0.1},
        // sRGB red, D50-adapted XYZ.
        {{43.61, 22.25, 1.39}, {54.29, 80.80, 69.89}, 0.3},
    };
    for (const LabCase& c : cases) {
        double lab[3];
        ASSERT_TRUE(ColorUtil::XYZtoLab(c.in, lab));
        EXPECT_LT(DeltaE(lab, c.lab), c.tolerance)
            << "XYZ " << c.in[0] << " " << c.in[1] << " " << c.in[2] << " -> " << lab[0] << " "
            << lab[1] << " " << lab[2];
    }
}

TEST_F(ColorUtilTest, XYZtoRGBGivesDisplayBytes)
{
    struct Case
    {
        double xyz[3];
        unsigned char rgb[3];
    };
    const Case cases[] = {
        {{96.42, 100.0, 82.49}, {255, 255, 255}},
        {{0.0, 0.0, 0.0}, {0, 0, 0}},
        {{43.61, 22.25, 1.39}, {255, 0, 0}},
        {{500.0, 500.0, 500.0}, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        unsigned char rgb[3];
        ASSERT_TRUE(ColorUtil::XYZtoRGB(c.xyz, rgb));
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(rgb[i], c.rgb[i], 1) << "channel " << i;
    }
}

TEST_F(ColorUtilTest, CMYKtoLabGivesPaperAndPlausibleSolids)
{
    const double paperCmyk[4] = {0, 0, 0, 0};
    double paper[3];
    ASSERT_TRUE(ColorUtil::CMYKtoLab(paperCmyk, paper));
    EXPECT_GT(paper[0], 90.0);
    EXPECT_LT(std::hypot(paper[1], paper[2]), 5.0);

    double lab[3];
    const double cyan[4] = {100, 0, 0, 0};
    ASSERT_TRUE(ColorUtil::CMYKtoLab(cyan, lab));
    EXPECT_LT(lab[1], -20.0);
    EXPECT_LT(lab[2], -30.0);
    EXPECT_LT(lab[0], 65.0);

    const double magenta[4] = {0, 100, 0, 0};
    ASSERT_TRUE(ColorUtil::CMYKtoLab(magenta, lab));
    EXPECT_GT(lab[1], 40.0);
    EXPECT_LT(lab[0], 60.0);

    const double yellow[4] = {0, 0, 100, 0};
    ASSERT_TRUE(ColorUtil::CMYKtoLab(yellow, lab));
    EXPECT_GT(lab[2], 60.0);
    EXPECT_GT(lab[0], 80.0);

    const double black[4] = {0, 0, 0, 100};
    ASSERT_TRUE(ColorUtil::CMYKtoLab(black, lab));
    EXPECT_LT(lab[0], 25.0);
    EXPECT_LT(std::hypot(lab[1], lab[2]), 3.0);

    const double rich[4] = {60, 50, 50, 100};
    double richLab[3];
    ASSERT_TRUE(ColorUtil::CMYKtoLab(rich, richLab));
    EXPECT_LT(richLab[0], lab[0] - 3.0) << "chromatic inks under black darken it";
}

TEST_F(ColorUtilTest, LightnessFallsAlongEveryInkRamp)
{
    for (int ink = 0; ink < 4; ++ink) {
        double previous = 1000.0;
        for (int step = 0; step <= 20; ++step) {
            double cmyk[4] = {0, 0, 0, 0};
            cmyk[ink] = step * 5.0;
            double lab[3];
            ASSERT_TRUE(ColorUtil::CMYKtoLab(cmyk, lab));
            EXPECT_LT(lab[0], previous) << "ink " << ink << " at " << cmyk[ink] << " %";
            previous = lab[0];
        }
    }
}

TEST_F(ColorUtilTest, NonFiniteInputIsRejectedAndOutputUntouched)
{
    const double rgb[3] = {kNaN, 0, 0};
    const double cmyk[4] = {0, 0, std::numeric_limits<double>::infinity(), 0};
    const double xyz[3] = {0, kNaN, 0};
    const double lab[3] = {50, 0, -std::numeric_limits<double>::infinity()};
    double out[3] = {kSentinel, kSentinel, kSentinel};
    unsigned char bytes[3] = {1, 2, 3};
    EXPECT_FALSE(ColorUtil::RGBtoLab(rgb, out));
    EXPECT_FALSE(ColorUtil::CMYKtoLab(cmyk, out));
    EXPECT_FALSE(ColorUtil::XYZtoLab(xyz, out));
    EXPECT_FALSE(ColorUtil::LabToRGB(lab, out));
    EXPECT_FALSE(ColorUtil::XYZtoRGB(xyz, bytes));
    for (double v : out) EXPECT_EQ(v, kSentinel);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(bytes[2], 3);
}

// Every conversion with valid input; true when all of them succeeded, false when all
// failed without touching their output. A mix fails the test.
bool RunAllConversions()
{
    const double rgb[3] = {10, 20, 30};
    const double cmyk[4] = {10, 20, 30, 40};
    const double xyz[3] = {40, 50, 60};
    const double lab[3] = {50, 10, 10};
    int succeeded = 0;
    int untouched = 0;
    auto check = [&](bool ok, const double* out, int n) {
        succeeded += ok;
        bool same = true;
        for (int i = 0; i < n; ++i) same = same && out[i] == kSentinel;
        untouched += !ok && same;
    };
    double out[3] = {kSentinel, kSentinel, kSentinel};
    check(ColorUtil::RGBtoLab(rgb, out), out, 3);
    std::fill(out, out + 3, kSentinel);
    check(ColorUtil::CMYKtoLab(cmyk, out), out, 3);
    std::fill(out, out + 3, kSentinel);
    check(ColorUtil::XYZtoLab(xyz, out), out, 3);
    std::fill(out, out + 3, kSentinel);
    check(ColorUtil::LabToRGB(lab, out), out, 3);
    unsigned char bytes[3] = {7, 7, 7};
    const bool bytesOk = ColorUtil::XYZtoRGB(xyz, bytes);
    succeeded += bytesOk;
    untouched += !bytesOk && bytes[0] == 7 && bytes[1] == 7 && bytes[2] == 7;
    EXPECT_TRUE(succeeded == 5 || untouched == 5) << succeeded << " succeeded, " << untouched << " untouched";
    return succeeded == 5;
}

TEST(ColorUtilLifecycle, ConversionsFailBeforeInitAndAfterShutdown)
{
    ColorUtil::Shutdown();
    EXPECT_FALSE(ColorUtil::IsReady());
    EXPECT_FALSE(RunAllConversions());

    ASSERT_TRUE(InitWithEmbedded()) << ColorUtil::LastError();
    EXPECT_TRUE(ColorUtil::IsReady());
    EXPECT_TRUE(ColorUtil::LastError().empty());
    EXPECT_TRUE(RunAllConversions());

    ColorUtil::Shutdown();
    EXPECT_FALSE(ColorUtil::IsReady());
    EXPECT_FALSE(RunAllConversions());
}

TEST(ColorUtilLifecycle, UnusableProfileDataIsRefused)
{
    const std::vector<unsigned char> garbage(4096, 0x5A);
    const unsigned char* cmyk = EmbeddedProfiles::OutputCMYK();
    const std::size_t size = EmbeddedProfiles::OutputCMYKSize();
    // A valid header whose tag table points past the end of the data.
    const std::vector<unsigned char> truncated(cmyk, cmyk + 512);
    // Header size field larger than the data handed over.
    const std::vector<unsigned char> header(cmyk, cmyk + 128);
    struct Case
    {
        const char* name;
        const unsigned char* data;
        std::size_t size;
    };
    const Case cases[] = {
        {"null", nullptr, 100},
        {"empty", cmyk, 0},
        {"garbage", garbage.data(), garbage.size()},
        {"truncated", truncated.data(), truncated.size()},
        {"header only", header.data(), header.size()},
        {"gray profile", EmbeddedProfiles::OutputGray(), EmbeddedProfiles::OutputGraySize()},
    };
    ASSERT_GT(size, 512u);
    for (const Case& c : cases) {
        ColorUtil::Shutdown();
        EXPECT_FALSE(ColorUtil::Init(c.data, c.size)) << c.name;
        EXPECT_FALSE(ColorUtil::IsReady()) << c.name;
        EXPECT_FALSE(ColorUtil::LastError().empty()) << c.name;
        EXPECT_FALSE(RunAllConversions()) << c.name;
    }
}

TEST(ColorUtilLifecycle, FailedInitKeepsEarlierTransforms)
{
    ASSERT_TRUE(InitWithEmbedded());
    const double cyan[4] = {100, 0, 0, 0};
    double before[3];
    ASSERT_TRUE(ColorUtil::CMYKtoLab(cyan, before));

    const unsigned char garbage[200] = {1, 2, 3};
    EXPECT_FALSE(ColorUtil::Init(garbage, sizeof garbage));
    EXPECT_FALSE(ColorUtil::LastError().empty());
    EXPECT_TRUE(ColorUtil::IsReady());
    double after[3];
    ASSERT_TRUE(ColorUtil::CMYKtoLab(cyan, after));
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(after[i], before[i]);

    // A later successful Init clears the message and replaces the transforms.
    ASSERT_TRUE(InitWithEmbedded());
    EXPECT_TRUE(ColorUtil::LastError().empty());
    ASSERT_TRUE(ColorUtil::CMYKtoLab(cyan, after));
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(after[i], before[i]);
    ColorUtil::Shutdown();
}

TEST(ColorUtilLifecycle, LibraryInitWithoutXYZtoRGB)
{
    ASSERT_TRUE(InitWithEmbedded(false));
    const double xyz[3] = {96.42, 100.0, 82.49};
    unsigned char bytes[3] = {9, 9, 9};
    EXPECT_FALSE(ColorUtil::XYZtoRGB(xyz, bytes));
    EXPECT_EQ(bytes[0], 9);
    double lab[3];
    EXPECT_TRUE(ColorUtil::XYZtoLab(xyz, lab));
    EXPECT_NEAR(lab[0], 100.0, 0.1);
    ColorUtil::Shutdown();
}

}  // namespace
