// The shipped Tessaro references load in both deliverables' readers with the expected
// sets, colour spaces, extra channels and channel colours.
#include "SampleFiles.h"

#include "ReferenceFileData.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace
{
struct ReferenceCase
{
    const char* file;
    int sets;
    bool cmyk;
    bool rgb;
    int extraChannels;
    int spectral;       // spectral values per set in the application (0: none)
    int rowLength;      // LGOROWLENGTH (1 for CxF3)
    std::vector<std::string> channelNames;      // as the report library names them
    std::vector<std::string> appChannelNames;   // as the application names them
};

void PrintTo(const ReferenceCase& c, std::ostream* os) { *os << c.file; }

const std::vector<ReferenceCase>& Cases()
{
    static const std::vector<ReferenceCase> cases = {
        {"CMYK_1485.ref", 1485, true, false, 0, 0, 33, {}, {}},
        {"CMYK_ControlStrip54.ref", 54, true, false, 0, 0, 9, {}, {}},
        {"RGB_216.ref", 216, false, true, 0, 0, 18, {}, {}},
        {"CMYK_Orange_Green.ref", 51, true, false, 2, 0, 12, {"Orange", "Green"}, {"Orange", "Green"}},
        // The application names the channels after their channel-information lines.
        {"NColor6_Photo.ref", 61, false, false, 6, 41, 10, {"PC6_1", "PC6_2", "PC6_3", "PC6_4", "PC6_5", "PC6_6"},
         {"Light Cyan", "Light Magenta", "Cyan", "Magenta", "Yellow", "Black"}},
        {"CMYK_ControlStrip54.cxf", 54, true, false, 0, 0, 1, {}, {}},
    };
    return cases;
}

std::string Path(const char* file) { return SamplesDir() + "/references/" + file; }

class SampleReference : public ::testing::TestWithParam<ReferenceCase>
{
protected:
    void SetUp() override { ASSERT_TRUE(InitColour()) << ColorUtil::LastError(); }
};

TEST_P(SampleReference, LoadsInTheApplication)
{
    const ReferenceCase& c = GetParam();
    ReferenceFileData data(ReferenceFlavour::Application);
    ASSERT_TRUE(data.loadReferenceFileData(nullptr, Path(c.file).c_str(), false)) << c.file;
    EXPECT_EQ(data.GetSetCount(), c.sets);
    EXPECT_EQ(data.isCMYK, c.cmyk);
    EXPECT_EQ(data.isRGB, c.rgb);
    EXPECT_TRUE(data.hasLab);
    EXPECT_EQ(data.lgoRowLength, c.rowLength);
    ASSERT_EQ(data.extraChannelCount, c.extraChannels);
    for (int k = 0; k < c.extraChannels; ++k) {
        ASSERT_TRUE(data.channelNames[k].has_value()) << k;
        EXPECT_EQ(*data.channelNames[k], c.appChannelNames[static_cast<std::size_t>(k)]);
        // Every extra channel of a sample carries its display colour.
        EXPECT_TRUE(data.channelLab[k].has_value()) << c.file << " channel " << k;
    }
    // One colorant per device channel: the primaries and every extra ink.
    EXPECT_EQ(data.colorantLab.size(), static_cast<std::size_t>((c.cmyk ? 4 : 0) + c.extraChannels));
    for (int i = 0; i < data.GetSetCount(); ++i) {
        const ReferenceFileSet* s = data.GetSet(i);
        EXPECT_EQ(s->GetOldIndex(), i + 1) << c.file;
        EXPECT_GT(std::string(s->GetName()).size(), 1u);
        const double* lab = s->GetValuesLAB();
        EXPECT_GE(lab[0], 0.0);
        EXPECT_LE(lab[0], 100.0);
        if (c.spectral > 0) {
            const double* sp = s->GetValuesSpectral();
            for (int k = 0; k < c.spectral; ++k) {
                EXPECT_GT(sp[k], 0.0);
                EXPECT_LE(sp[k], 1.0);
            }
        }
    }
}

// The report library reads CGATS with its own rules (no Lab computed on load), so the
// file's own Lab values and device values come through unchanged.
TEST_P(SampleReference, LoadsInTheReportLibrary)
{
    const ReferenceCase& c = GetParam();
    ReferenceFileData data(ReferenceFlavour::ReportLibrary);
    const std::string path = Path(c.file);
    const bool cxf = path.size() > 4 && path.compare(path.size() - 4, 4, ".cxf") == 0;
    ASSERT_TRUE(cxf ? data.loadCXFFileData(path.c_str(), nullptr)
                    : data.loadReferenceFileData(nullptr, path.c_str(), false));
    EXPECT_EQ(data.GetSetCount(), c.sets);
    EXPECT_EQ(data.isCMYK, c.cmyk);
    EXPECT_EQ(data.isRGB, c.rgb);
    ASSERT_EQ(data.extraChannelCount, c.extraChannels);
    for (int k = 0; k < c.extraChannels; ++k) {
        ASSERT_TRUE(data.channelNames[k].has_value()) << k;
        EXPECT_EQ(*data.channelNames[k], c.channelNames[static_cast<std::size_t>(k)]);
    }
    if (c.cmyk && c.extraChannels == 0) {
        // The chart holds paper white, and it prints as the profile's paper.
        int papers = 0;
        for (int i = 0; i < data.GetSetCount(); ++i) {
            const ReferenceFileSet* s = data.GetSet(i);
            if (!s->IsPaperWhite())
                continue;
            ++papers;
            const double paper[4] = {0, 0, 0, 0};
            double lab[3];
            ASSERT_TRUE(ColorUtil::CMYKtoLab(paper, lab));
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(s->GetValuesLAB()[k], lab[k], 0.006);
        }
        EXPECT_GE(papers, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleReference, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<ReferenceCase>& info) {
                             std::string n = info.param.file;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST(SampleReferences, SpotColoursComeFromThePlusLines)
{
    ASSERT_TRUE(InitColour());
    ReferenceFileData data(ReferenceFlavour::Application);
    ASSERT_TRUE(data.loadReferenceFileData(nullptr, Path("CMYK_Orange_Green.ref").c_str(), false));
    ASSERT_TRUE(data.channelLab[0].has_value());
    EXPECT_DOUBLE_EQ(data.channelLab[0]->L, 64.0);
    EXPECT_DOUBLE_EQ(data.channelLab[0]->a, 56.0);
    EXPECT_DOUBLE_EQ(data.channelLab[0]->b, 72.0);
    ASSERT_TRUE(data.channelLab[1].has_value());
    EXPECT_DOUBLE_EQ(data.channelLab[1]->a, -66.0);
    // The orange solid (first patch row of ink 5 at 100 %) is an orange colour.
    bool foundSolid = false;
    for (int i = 0; i < data.GetSetCount(); ++i) {
        const ReferenceFileSet* s = data.GetSet(i);
        const double* cmyk = s->GetValuesCMYK();
        const double* spot = s->GetValuesNColor();
        if (cmyk[0] + cmyk[1] + cmyk[2] + cmyk[3] == 0 && spot[0] == 100 && spot[1] == 0) {
            foundSolid = true;
            EXPECT_GT(s->GetValuesLAB()[1], 30.0);
            EXPECT_GT(s->GetValuesLAB()[2], 40.0);
        }
    }
    EXPECT_TRUE(foundSolid);
}

TEST(SampleReferences, SixInkFileIsNColourWithChannelInfo)
{
    ASSERT_TRUE(InitColour());
    ReferenceFileData data(ReferenceFlavour::Application);
    ASSERT_TRUE(data.loadReferenceFileData(nullptr, Path("NColor6_Photo.ref").c_str(), false));
    EXPECT_TRUE(data.hasChannelInfo);
    EXPECT_EQ(data.nColorFieldPattern, "PC%1_");
    ASSERT_TRUE(data.channelLab[0].has_value());
    EXPECT_DOUBLE_EQ(data.channelLab[0]->L, 74.0);   // light cyan
    ASSERT_TRUE(data.channelLab[5].has_value());
    EXPECT_DOUBLE_EQ(data.channelLab[5]->L, 16.0);   // black
    // Darker with more ink: the black ramp falls monotonically (the file's own Lab, as the
    // report library keeps it).
    ReferenceFileData plain(ReferenceFlavour::ReportLibrary);
    ASSERT_TRUE(plain.loadReferenceFileData(nullptr, Path("NColor6_Photo.ref").c_str(), false));
    double last = 101.0;
    for (int i = 0; i < plain.GetSetCount(); ++i) {
        const double* v = plain.GetSet(i)->GetValuesNColor();
        if (v[0] + v[1] + v[2] + v[3] + v[4] == 0 && v[5] > 0) {
            EXPECT_LT(plain.GetSet(i)->GetValuesLAB()[0], last);
            last = plain.GetSet(i)->GetValuesLAB()[0];
        }
    }
    EXPECT_LT(last, 30.0);
}
}  // namespace
