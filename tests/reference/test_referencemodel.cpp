// Tests of the reference model: unset values, device scaling, identity, predicates,
// ordering, verification frame, set names, field count, colorant table, black channel,
// Lab initialisation and spectra, in both flavours.
#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace
{
const double kU = UnsetValue();

ReferenceFileSet* AddCMYK(ReferenceFileData& d, double c, double m, double y, double k, int idx)
{
    auto* s = new ReferenceFileSet(&d, idx, false);
    const double v[4] = {c, m, y, k};
    s->SetCMYK(v);
    s->SetOldID(idx + 1);
    d.AppendSet(s);
    return s;
}

class ColorUtilEnv : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()))
            << ColorUtil::LastError();
    }
    static void TearDownTestSuite() { ColorUtil::Shutdown(); }
};
} // namespace

// ---------------------------------------------------------------------------------------
// Unset values and a fresh set

TEST(ReferenceModel, UnsetValueIsAllOnesQuietNaN)
{
    const double u = UnsetValue();
    uint64_t bits = 0;
    std::memcpy(&bits, &u, sizeof bits);
    EXPECT_EQ(bits, ~uint64_t{0});
    EXPECT_TRUE(std::isnan(u));
    EXPECT_TRUE(IsUnset(u));
    EXPECT_FALSE(IsUnset(0.0));
    EXPECT_FALSE(IsUnset(255.0));
    EXPECT_FALSE(u == u);   // every equality test against an unset value is false
}

TEST(ReferenceModel, NewSetHasEveryValueUnset)
{
    ReferenceFileData d;
    ReferenceFileSet s(&d, 7, true);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(IsUnset(s.GetValuesCMYK()[i]));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(IsUnset(s.GetValuesRGB()[i]));
        EXPECT_TRUE(IsUnset(s.GetValuesXYZ()[i]));
        EXPECT_EQ(s.GetValuesLAB()[i], 255.0);
    }
    for (int i = 0; i < ReferenceFileSet::kMaxChannels; ++i)
        EXPECT_TRUE(IsUnset(s.GetValuesNColor()[i]));
    EXPECT_EQ(s.GetValueGRAY(), -1.0);
    EXPECT_EQ(s.GetOldIndex(), -1);
    EXPECT_EQ(s.GetNewIndex(), -1);
    EXPECT_EQ(s.GetPage(), -1);
    EXPECT_EQ(s.GetLoc_x(), -1);
    EXPECT_EQ(s.GetLoc_y(), -1);
    EXPECT_EQ(s.GetIdxInFile(), 7);
    EXPECT_TRUE(s.IsVerification());
    EXPECT_EQ(s.GetData(), &d);
    EXPECT_STREQ(s.GetName(), "");
}

TEST(ReferenceModel, FileDefaults)
{
    ReferenceFileData d;
    EXPECT_EQ(d.GetFlavour(), ReferenceFlavour::Application);
    EXPECT_TRUE(d.computeLabOnLoad);
    EXPECT_TRUE(d.saveFlags[0]);
    EXPECT_FALSE(d.saveFlags[1]);
    EXPECT_FALSE(d.saveFlags[2]);
    EXPECT_EQ(d.blackChannel, -1);
    EXPECT_EQ(d.blackInkPercent, 80);
    EXPECT_EQ(d.nColorFieldPattern, "%1CLR_");
    EXPECT_EQ(d.GetMaxSetsID(), -1);
    EXPECT_TRUE(d.colorantLab.empty());
}

// ---------------------------------------------------------------------------------------
// Identity and fixed texts

TEST(ReferenceModel, IndexAndNameFallBackToOldIdentity)
{
    ReferenceFileData d;
    ReferenceFileSet s(&d, 0, false);
    s.SetOldID(12);
    s.SetOldName("A1");
    EXPECT_EQ(s.GetIndex(), 12);
    EXPECT_STREQ(s.GetName(), "A1");
    s.SetID(0);   // 0 is a valid new index
    s.SetName("1B3");
    EXPECT_EQ(s.GetIndex(), 0);
    EXPECT_STREQ(s.GetName(), "1B3");
    EXPECT_EQ(s.GetOldIndex(), 12);
    EXPECT_STREQ(s.GetOldName(), "A1");
    s.SetID(-1);
    s.SetName("");
    EXPECT_EQ(s.GetIndex(), 12);
    EXPECT_STREQ(s.GetName(), "A1");
}

TEST(ReferenceModel, TextsLongerThanCapacityAreCut)
{
    ReferenceFileData d;
    ReferenceFileSet s(&d, 0, false);
    const std::string longName(200, 'n');
    s.SetOldName(longName.c_str());
    s.SetName(longName.c_str());
    EXPECT_EQ(std::strlen(s.GetOldName()), 51u);
    EXPECT_EQ(std::strlen(s.GetNewName()), 51u);
    EXPECT_EQ(s.newID, -1);   // the field after oldName is untouched
    EXPECT_TRUE(IsUnset(s.valuesCMYK[0]));   // the field after newName too
    ReferenceFileData d2;
    const std::string longPath(3000, 'p');
    CopyFixedText(d2.fileName, longPath.c_str());
    CopyFixedText(d2.created, longPath.c_str());
    EXPECT_EQ(std::strlen(d2.fileName), 1023u);
    EXPECT_EQ(std::strlen(d2.created), 99u);
    EXPECT_EQ(d2.descriptor[0], '\0');
}

// ---------------------------------------------------------------------------------------
// Device scaling

struct CmykScaleCase
{
    double value;
    uint8_t byte;
    uint16_t word;
};

TEST(ReferenceModel, CmykScaling)
{
    const CmykScaleCase cases[] = {
        {0, 0, 0}, {40, 102, 26214}, {100, 255, 65535}, {0.2, 1, 131}, {0.19, 0, 124},
        {50, 127, 32767},   // 50 x 2.55 is just below 127.5 in binary floating point
    };
    ReferenceFileData d;
    d.isCMYK = true;
    for (const auto& c : cases) {
        ReferenceFileSet s(&d, 0, false);
        const double v[4] = {c.value, c.value, c.value, c.value};
        s.SetCMYK(v);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s.GetColors8Bit()[i], c.byte) << c.value;
            EXPECT_EQ(s.GetColors16Bit()[i], c.word) << c.value;
            EXPECT_EQ(s.GetValuesCMYK()[i], c.value);
        }
    }
}

TEST(ReferenceModel, RgbScaling)
{
    struct Case
    {
        double value;
        uint8_t byte;
        uint16_t word;
    } const cases[] = {{0, 0, 0}, {255, 255, 65535}, {128.7, 128, 33075}, {1.9, 1, 488}};
    ReferenceFileData d;
    d.isRGB = true;
    for (const auto& c : cases) {
        ReferenceFileSet s(&d, 0, false);
        const double v[3] = {c.value, c.value, c.value};
        s.SetRGB(v);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(s.GetColors8Bit()[i], c.byte) << c.value;
            EXPECT_EQ(s.GetColors16Bit()[i], c.word) << c.value;
        }
    }
}

TEST(ReferenceModel, OutOfRangeDeviceValuesClampInsteadOfWrapping)
{
    ReferenceFileData d;
    ReferenceFileSet s(&d, 0, false);
    const double cmyk[4] = {150, -20, kU, 100};
    s.SetCMYK(cmyk);
    EXPECT_EQ(s.GetColors8Bit()[0], 255);
    EXPECT_EQ(s.GetColors16Bit()[0], 65535);
    EXPECT_EQ(s.GetColors8Bit()[1], 0);
    EXPECT_EQ(s.GetColors16Bit()[1], 0);
    EXPECT_EQ(s.GetColors8Bit()[2], 0);
    EXPECT_TRUE(IsUnset(s.GetValuesCMYK()[2]));
}

TEST(ReferenceModel, NColorOffsetDependsOnCmyk)
{
    for (bool cmyk : {true, false}) {
        ReferenceFileData d;
        d.isCMYK = cmyk;
        d.extraChannelCount = 2;
        ReferenceFileSet s(&d, 0, false);
        const double v[2] = {40, 100};
        s.SetNColor(v);
        const int o = cmyk ? 4 : 0;
        EXPECT_EQ(s.GetColors8Bit()[o], 102) << cmyk;
        EXPECT_EQ(s.GetColors16Bit()[o], 26214) << cmyk;
        EXPECT_EQ(s.GetColors8Bit()[o + 1], 255) << cmyk;
        EXPECT_EQ(s.GetColors16Bit()[o + 1], 65535) << cmyk;
        EXPECT_EQ(s.GetValuesNColor()[0], 40);
        EXPECT_EQ(s.GetValuesNColor()[1], 100);
        EXPECT_TRUE(IsUnset(s.GetValuesNColor()[2]));
        // The slots of the other layout stay untouched.
        EXPECT_EQ(s.GetColors8Bit()[cmyk ? 0 : 4], 0) << cmyk;
    }
}

TEST(ReferenceModel, TooManyExtraChannelsOnCmykStayInsideTheArrays)
{
    ReferenceFileData d;
    d.isCMYK = true;
    d.extraChannelCount = 10;   // only 8 fit behind C, M, Y, K
    ReferenceFileSet s(&d, 0, false);
    const double cmyk[4] = {40, 40, 40, 40};
    s.SetCMYK(cmyk);
    s.SetPage(5);
    const int loc[2] = {3, 4};
    s.SetLocation(loc);
    double v[10];
    for (int k = 0; k < 10; ++k)
        v[k] = 100;
    s.SetNColor(v);
    // Neighbours of the device arrays: colors16Bit follows colors8Bit, page and location
    // follow colors16Bit. An overrun would change them.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.GetColors8Bit()[i], 102);
        EXPECT_EQ(s.GetColors16Bit()[i], 26214);
    }
    for (int i = 4; i < 12; ++i) {
        EXPECT_EQ(s.GetColors8Bit()[i], 255);
        EXPECT_EQ(s.GetColors16Bit()[i], 65535);
    }
    EXPECT_EQ(s.GetPage(), 5);
    EXPECT_EQ(s.GetLoc_x(), 3);
    EXPECT_EQ(s.GetLoc_y(), 4);
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(s.GetValuesNColor()[k], 100);
}

TEST(ReferenceModel, MoreThanTwelveExtraChannelsReadOnlyTwelveValues)
{
    ReferenceFileData d;
    d.extraChannelCount = 20;
    ReferenceFileSet s(&d, 0, false);
    std::vector<double> v(12, 40.0);   // ASan would flag a read of the 13th value
    s.SetNColor(v.data());
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(s.GetColors8Bit()[k], 102);
    EXPECT_EQ(s.GetPage(), -1);
}

// ---------------------------------------------------------------------------------------
// Classification predicates

namespace
{
enum Pred
{
    PaperWhite,
    Primary,
    GrayScale,
    GamutDark,
    Boundary,
    G7CMYSolid,
    G7RGBSolid,
    G7CMYGray,
    G7KGray,
    G7KSolid,
    IdeaSpecial,
    IdeaGray,
    kPredCount
};

const char* const kPredNames[kPredCount] = {"IsPaperWhite",  "IsCMYKPrimaryColor", "IsGrayScale",
                                            "IsGamutDarkColor", "isCMYKBoundaryColor", "IsG7CMYSolid",
                                            "IsG7RGBSolid",  "IsG7CMYGrayScale",   "IsG7KGrayScale",
                                            "IsG7KSolid",    "IsGrayBalanceIDEASpecial", "IsGrayScaleIDEA"};

bool Eval(const ReferenceFileSet& s, int p)
{
    switch (p) {
    case PaperWhite: return s.IsPaperWhite();
    case Primary: return s.IsCMYKPrimaryColor();
    case GrayScale: return s.IsGrayScale();
    case GamutDark: return s.IsGamutDarkColor();
    case Boundary: return s.isCMYKBoundaryColor();
    case G7CMYSolid: return s.IsG7CMYSolid();
    case G7RGBSolid: return s.IsG7RGBSolid();
    case G7CMYGray: return s.IsG7CMYGrayScale();
    case G7KGray: return s.IsG7KGrayScale();
    case G7KSolid: return s.IsG7KSolid();
    case IdeaSpecial: return s.IsGrayBalanceIDEASpecial();
    case IdeaGray: return s.IsGrayScaleIDEA();
    }
    return false;
}

struct PredicateCase
{
    double cmyk[4];
    std::set<int> expected;   // predicates that hold; all others must not
};
} // namespace

TEST(ReferenceModel, CmykPredicateTable)
{
    const PredicateCase cases[] = {
        {{0, 0, 0, 0}, {PaperWhite, Boundary, G7KGray, G7CMYGray}},
        {{100, 0, 0, 0}, {Primary, Boundary, G7CMYSolid}},
        {{0, 100, 0, 0}, {Primary, Boundary, G7CMYSolid}},
        {{0, 0, 100, 0}, {Primary, Boundary, G7CMYSolid}},
        {{100, 100, 0, 0}, {Primary, Boundary, G7RGBSolid}},
        {{0, 100, 100, 0}, {Primary, Boundary, G7RGBSolid}},
        {{100, 0, 100, 0}, {Primary, Boundary, G7RGBSolid}},
        {{100, 0, 0, 0.5}, {}},   // exact comparisons: no rounding for primaries
        {{100, 100, 100, 0}, {GamutDark, G7CMYGray, IdeaGray}},
        {{0, 0, 0, 100}, {GamutDark, G7KGray, G7KSolid}},   // K alone is no boundary colour
        {{100, 0, 0, 100}, {GamutDark, Boundary}},
        {{0, 0, 100, 100}, {GamutDark, Boundary}},
        {{0, 0, 0, 35}, {G7KGray}},
        {{15, 6, 6, 0}, {GrayScale}},
        {{9, 5, 5, 0}, {}},            // C below 10
        {{30, 10, 10, 0}, {}},         // difference 20 is not below 20
        {{25, 10, 10, 0}, {GrayScale}},
        {{20, 11, 11, 0}, {GrayScale}},
        {{20, 10, 10, 0}, {}},   // C = 20 needs a difference below 10
        {{15, 6, 7, 0}, {}},             // M must equal Y
        {{15, 6, 6, 1}, {}},             // K must be 0
        {{50, 40, 40, 0}, {GrayScale, G7CMYGray, IdeaGray}},
        {{50, 41, 39, 0}, {G7CMYGray}},
        {{50, 41.5, 40, 0}, {}},
        {{50, 40, 38.9, 0}, {}},
        {{50, 40, 40, 0.5}, {IdeaGray}},   // IDEA floors every channel, G7 needs K = 0
        {{3, 2, 2, 0}, {IdeaGray, G7CMYGray}},
        {{25.9, 18.2, 18.99, 0.7}, {IdeaGray}},
        {{75.9, 66.2, 66.7, 0.3}, {IdeaSpecial}},
        {{75, 66, 66, 0}, {IdeaSpecial, GrayScale, G7CMYGray}},   // G7 balance of C 75 is M = Y = 66.1
        {{19.6, 0, 0, 0}, {Boundary}},   // rounds to 20
        {{24.6, 0, 0, 0}, {}},           // rounds to 25
        {{10.4, 9.5, 0, 0}, {Boundary}},
        {{100, 40, 0, 0}, {Boundary}},
        {{0, 40, 100, 0}, {Boundary}},
        {{70, 0, 70, 0}, {Boundary}},
        {{0, 0.4, 0, 0}, {Boundary, G7CMYGray}},   // paper only after rounding
        {{kU, kU, kU, kU}, {}},
        {{0, 0, 0, kU}, {}},
        {{kU, 0, 0, 0}, {}},
        {{100, 100, 100, kU}, {}},
    };
    ReferenceFileData d;
    d.isCMYK = true;
    for (const auto& c : cases) {
        ReferenceFileSet s(&d, 0, false);
        s.SetCMYK(c.cmyk);
        for (int p = 0; p < kPredCount; ++p) {
            EXPECT_EQ(Eval(s, p), c.expected.count(p) == 1)
                << kPredNames[p] << " for (" << c.cmyk[0] << ", " << c.cmyk[1] << ", " << c.cmyk[2] << ", "
                << c.cmyk[3] << ")";
        }
        EXPECT_FALSE(s.IsRGBBoundaryColor());
    }
}

TEST(ReferenceModel, BoundaryListHasFortyEntries)
{
    // Count the grid points (0..100 in 10 % steps, K 0 or 100) that are boundary colours.
    ReferenceFileData d;
    int count = 0;
    for (int c = 0; c <= 100; c += 10)
        for (int m = 0; m <= 100; m += 10)
            for (int y = 0; y <= 100; y += 10)
                for (int k : {0, 100}) {
                    ReferenceFileSet s(&d, 0, false);
                    const double v[4] = {double(c), double(m), double(y), double(k)};
                    s.SetCMYK(v);
                    count += s.isCMYKBoundaryColor() ? 1 : 0;
                }
    EXPECT_EQ(count, 40);
}

TEST(ReferenceModel, RgbPredicateTable)
{
    enum
    {
        RPrimary,
        RSecondary,
        RWhite,
        RGray,
        RDark,
        kRCount
    };
    struct Case
    {
        double rgb[3];
        bool isRGB;
        std::set<int> expected;
    } const cases[] = {
        {{255, 0, 0}, true, {RPrimary}},
        {{0, 255, 0}, true, {RPrimary}},
        {{0, 0, 255}, true, {RPrimary}},
        {{254.6, 0.4, 0}, true, {RPrimary}},
        {{254.4, 0, 0}, true, {}},
        {{255, 0, 0}, false, {}},
        {{255, 255, 0}, true, {RSecondary}},
        {{255, 0, 255}, false, {RSecondary}},   // no test of isRGB
        {{0, 255, 255}, false, {RSecondary}},
        {{255, 255, 255}, true, {RWhite}},
        {{255, 255, 255}, false, {}},
        {{128, 128, 128}, true, {RGray}},
        {{127.6, 128.4, 128}, true, {RGray}},
        {{128, 128, 128}, false, {}},
        {{0.4, 0, 0}, true, {RDark}},
        {{0, 0, 0}, false, {}},
        {{kU, kU, kU}, true, {}},
        {{kU, 255, 255}, false, {}},
    };
    for (const auto& c : cases) {
        ReferenceFileData d;
        d.isRGB = c.isRGB;
        ReferenceFileSet s(&d, 0, false);
        s.SetRGB(c.rgb);
        const bool got[kRCount] = {s.IsRGBPrimaryColor(), s.IsRGBSecondaryColor(), s.IsRGBPaperWhite(),
                                   s.IsRGBGrayScale(), s.IsRGBGamutDarkColor()};
        for (int p = 0; p < kRCount; ++p)
            EXPECT_EQ(got[p], c.expected.count(p) == 1)
                << "predicate " << p << " for (" << c.rgb[0] << ", " << c.rgb[1] << ", " << c.rgb[2]
                << ") isRGB " << c.isRGB;
        EXPECT_FALSE(s.IsRGBBoundaryColor());
    }
}

TEST(ReferenceModel, LabOnlyFileHasNoRgbOrCmykClasses)
{
    ReferenceFileData d;
    d.hasLab = true;
    auto* s = new ReferenceFileSet(&d, 0, false);
    const double lab[3] = {100, 0, 0};
    s->SetLAB(lab);
    d.AppendSet(s);
    EXPECT_TRUE(d.InitLab());
    EXPECT_EQ(s->GetValuesLAB()[0], 100);
    EXPECT_FALSE(s->IsRGBPaperWhite() || s->IsRGBPrimaryColor() || s->IsRGBSecondaryColor() ||
                 s->IsRGBGrayScale() || s->IsRGBGamutDarkColor() || s->IsRGBBoundaryColor());
    EXPECT_FALSE(s->IsPaperWhite() || s->IsG7KGrayScale() || s->isCMYKBoundaryColor());
}

// ---------------------------------------------------------------------------------------
// Set list

TEST(ReferenceModel, SetListOperations)
{
    ReferenceFileData d;
    for (int i = 0; i < 3; ++i)
        AddCMYK(d, 0, 0, 0, 0, i);   // old IDs 1, 2, 3
    auto* front = new ReferenceFileSet(&d, 3, false);
    front->SetOldID(9);
    d.AddFileSet(front, 0);
    auto* back = new ReferenceFileSet(&d, 4, false);
    back->SetOldID(4);
    d.AddFileSet(back, 99);   // beyond the end: appended
    ASSERT_EQ(d.GetSetCount(), 5);
    EXPECT_EQ(d.GetSet(0), front);
    EXPECT_EQ(d.GetSet(4), back);
    EXPECT_EQ(d.GetSet(5), nullptr);
    EXPECT_EQ(d.GetSet(-1), nullptr);
    EXPECT_EQ(d.GetMaxSetsID(), 9);
    EXPECT_EQ(d.FindSetByIndex(2), d.GetSet(2));
    EXPECT_EQ(d.FindSetByIndex(42), nullptr);
    d.GetSet(1)->SetID(20);   // the new index hides the old one
    EXPECT_EQ(d.FindSetByIndex(1), nullptr);
    EXPECT_EQ(d.GetMaxSetsID(), 20);
    EXPECT_TRUE(d.RemoveFileSet(9));
    EXPECT_FALSE(d.RemoveFileSet(9));
    EXPECT_EQ(d.GetSetCount(), 4);
    EXPECT_EQ(d.GetSet(0)->GetIndex(), 20);
}

TEST(ReferenceModel, ResetPrintOrder)
{
    ReferenceFileData d;
    for (int i = 0; i < 3; ++i)
        AddCMYK(d, 0, 0, 0, 0, i);
    d.ResetPrintOrder(0);
    EXPECT_EQ(d.printOrder, std::vector<int32_t>(3, -1));
    d.printOrder[1] = 2;
    d.ResetPrintOrder(5);
    EXPECT_EQ(d.printOrder, std::vector<int32_t>(5, -1));
    d.ResetPrintOrder(-2);
    EXPECT_EQ(d.printOrder, std::vector<int32_t>(3, -1));
}

TEST(ReferenceModel, SetSaveOptions)
{
    ReferenceFileData d;
    d.setSaveOptions(false, true, true, 12, 8);
    EXPECT_FALSE(d.saveFlags[0]);
    EXPECT_TRUE(d.saveFlags[1]);
    EXPECT_TRUE(d.saveFlags[2]);
    EXPECT_EQ(d.setColumns, 12);
    EXPECT_EQ(d.setRows, 8);
}

// ---------------------------------------------------------------------------------------
// Ordering

namespace
{
// 10 file sets with two verification sets at positions 2 and 7.
void BuildOrderingFile(ReferenceFileData& d)
{
    for (int i = 0; i < 10; ++i)
        AddCMYK(d, i, 0, 0, 0, i);
    d.AddFileSet(d.CreateVerificationSet(true), 2);
    d.AddFileSet(d.CreateVerificationSet(false), 7);
}

std::vector<int> Order(const ReferenceFileData& d)
{
    std::vector<int> v;
    for (int i = 0; i < d.GetSetCount(); ++i)
        v.push_back(d.GetSet(i)->GetIdxInFile());
    return v;
}

const std::vector<int> kFileOrder = {0, 1, -1, 2, 3, 4, 5, -1, 6, 7, 8, 9};
} // namespace

TEST(ReferenceModel, RandomOrderIsRepeatableAndKeepsVerificationSets)
{
    ReferenceFileData a;
    BuildOrderingFile(a);
    ReferenceFileSet* v2 = a.GetSet(2);
    ReferenceFileSet* v7 = a.GetSet(7);
    a.RandomizeData(true);
    const std::vector<int> first = Order(a);
    EXPECT_NE(first, kFileOrder);
    EXPECT_EQ(a.GetSet(2), v2);
    EXPECT_EQ(a.GetSet(7), v7);
    std::multiset<int> got(first.begin(), first.end());
    EXPECT_EQ(got, std::multiset<int>(kFileOrder.begin(), kFileOrder.end()));

    // The generator is re-seeded on every call: disturbing it in between changes nothing.
    std::srand(1);
    for (int i = 0; i < 17; ++i)
        (void)std::rand();
    a.RandomizeData(false);
    EXPECT_EQ(Order(a), kFileOrder);
    a.RandomizeData(true);
    EXPECT_EQ(Order(a), first);

    ReferenceFileData b;
    BuildOrderingFile(b);
    b.RandomizeData(true);
    EXPECT_EQ(Order(b), first);
}

TEST(ReferenceModel, RandomizeOnlyVerificationSetsTerminates)
{
    ReferenceFileData d;
    d.isCMYK = true;
    for (int i = 0; i < 3; ++i)
        d.AppendSet(d.CreateVerificationSet(i % 2 == 0));
    ReferenceFileSet* first = d.GetSet(0);
    d.RandomizeData(true);
    EXPECT_EQ(d.GetSet(0), first);
    ReferenceFileData empty;
    empty.RandomizeData(true);
    EXPECT_EQ(empty.GetSetCount(), 0);
}

TEST(ReferenceModel, BubbleSortRestoresFileOrderAroundVerificationSets)
{
    ReferenceFileData d;
    BuildOrderingFile(d);
    // Scramble the file sets by hand, keeping the verification sets in place.
    std::swap(d.sets[0], d.sets[11]);
    std::swap(d.sets[3], d.sets[9]);
    std::swap(d.sets[1], d.sets[5]);
    ReferenceFileSet* v2 = d.GetSet(2);
    d.BubbleSort();
    EXPECT_EQ(Order(d), kFileOrder);
    EXPECT_EQ(d.GetSet(2), v2);
}

// ---------------------------------------------------------------------------------------
// Verification patches

namespace
{
// W = white verification set, D = dark one, digits = file sets by idxInFile + 1.
std::string Pattern(const ReferenceFileData& d, int columns)
{
    std::string out;
    for (int i = 0; i < d.GetSetCount(); ++i) {
        const ReferenceFileSet* s = d.GetSet(i);
        if (i > 0 && i % columns == 0)
            out += '|';
        if (!s->IsVerification())
            out += static_cast<char>('1' + s->GetIdxInFile());
        else if (d.isRGB)
            out += s->GetValuesRGB()[0] == 255 ? 'W' : (s->GetValuesRGB()[0] == 0 ? 'D' : '?');
        else if (s->IsPaperWhite())
            out += 'W';
        else {
            const double* v = s->GetValuesCMYK();
            out += (v[0] == 60 && v[1] == 50 && v[2] == 50 && v[3] == 45) ? 'D' : '?';
        }
    }
    return out;
}
} // namespace

TEST(ReferenceModel, VerificationFrameLayouts)
{
    struct Case
    {
        int sets, columns, rows, pages;
        bool rgb;
        const char* expected;
    } const cases[] = {
        {2, 4, 3, 1, false, "WDWD|D12D|DWDW"},
        {2, 4, 4, 1, false, "WDWD|D12W|WWWD|DWDW"},          // two white fillers
        {2, 4, 3, 1, true, "WDWD|D12D|DWDW"},
        {5, 4, 3, 1, false, "WDWD|D12D|DWDW|345"},           // beyond capacity: after the page
        {3, 5, 3, 1, false, "WDWWD|D123D|DWDDW"},            // odd columns repeat after the middle
        {5, 5, 5, 1, false, "WDWWD|D123W|W45WW|WWWWD|DWDDW"},  // odd rows keep the colour in the middle
        {4, 4, 3, 2, false, "WDWD|D12D|DWDW|WDWD|D34D|DWDW"},
        {1, 2, 2, 1, false, "WD|DW|1"},
    };
    for (const auto& c : cases) {
        ReferenceFileData d;
        d.isCMYK = !c.rgb;
        d.isRGB = c.rgb;
        for (int i = 0; i < c.sets; ++i) {
            auto* s = new ReferenceFileSet(&d, i, false);
            d.AppendSet(s);
        }
        d.AddVerificationFrame(true, c.columns, c.rows, c.pages);
        EXPECT_EQ(Pattern(d, c.columns), c.expected) << c.columns << "x" << c.rows << "x" << c.pages;
        EXPECT_TRUE(d.verificationFrame);
        EXPECT_EQ(d.frameColumns, c.columns);
        EXPECT_EQ(d.frameRows, c.rows);
        // A second call replaces the frame instead of adding another one.
        d.AddVerificationFrame(true, c.columns, c.rows, c.pages);
        EXPECT_EQ(Pattern(d, c.columns), c.expected) << "second call";
    }
}

TEST(ReferenceModel, DisabledFrameKeepsExistingVerificationSets)
{
    ReferenceFileData d;
    d.isCMYK = true;
    d.AppendSet(new ReferenceFileSet(&d, 0, false));
    d.AppendSet(new ReferenceFileSet(&d, 1, false));
    d.AddVerificationFrame(true, 4, 3, 1);
    ASSERT_EQ(d.GetSetCount(), 12);
    d.AddVerificationFrame(false, 6, 6, 3);
    EXPECT_FALSE(d.verificationFrame);
    EXPECT_EQ(d.GetSetCount(), 12);
    EXPECT_EQ(d.frameColumns, 4);
    // Then a random order leaves every frame patch in its cell.
    d.RandomizeData(true);
    EXPECT_EQ(Pattern(d, 4).substr(0, 6), "WDWD|D");
    EXPECT_EQ(Pattern(d, 4).substr(8), "D|DWDW");
}

TEST(ReferenceModel, DegenerateFrameGridAddsNoFrame)
{
    ReferenceFileData d;
    d.isCMYK = true;
    d.AppendSet(new ReferenceFileSet(&d, 0, false));
    d.AppendSet(d.CreateVerificationSet(true));
    d.AddVerificationFrame(true, 1, 5, 1);
    EXPECT_EQ(d.GetSetCount(), 1);   // old verification set removed, nothing added
    d.AddVerificationFrame(true, 4, 0, 1);
    EXPECT_EQ(d.GetSetCount(), 1);
}

TEST(ReferenceModel, CreateVerificationSetValuesByFileKind)
{
    struct Case
    {
        bool cmyk, rgb;
        int extra;
    } const cases[] = {{true, false, 2}, {false, false, 3}, {true, false, 0}, {false, true, 0}, {false, false, 0}};
    for (const auto& c : cases) {
        ReferenceFileData d;
        d.isCMYK = c.cmyk;
        d.isRGB = c.rgb;
        d.extraChannelCount = c.extra;
        for (bool white : {true, false}) {
            std::unique_ptr<ReferenceFileSet> s(d.CreateVerificationSet(white));
            EXPECT_EQ(s->GetIdxInFile(), -1);
            EXPECT_TRUE(s->IsVerification());
            EXPECT_EQ(s->GetData(), &d);
            const double* v = s->GetValuesCMYK();
            if (c.cmyk || c.extra > 0) {
                EXPECT_EQ(v[0], white ? 0 : 60);
                EXPECT_EQ(v[1], white ? 0 : 50);
                EXPECT_EQ(v[2], white ? 0 : 50);
                EXPECT_EQ(v[3], white ? 0 : 45);
                for (int k = 0; k < c.extra; ++k)
                    EXPECT_EQ(s->GetValuesNColor()[k], 0);
                EXPECT_TRUE(IsUnset(s->GetValuesRGB()[0]));
            } else if (c.rgb) {
                for (int i = 0; i < 3; ++i)
                    EXPECT_EQ(s->GetValuesRGB()[i], white ? 255 : 0);
                EXPECT_TRUE(IsUnset(v[0]));
            } else {
                EXPECT_TRUE(IsUnset(v[0]));
                EXPECT_TRUE(IsUnset(s->GetValuesRGB()[0]));
            }
        }
    }
}

// ---------------------------------------------------------------------------------------
// Set names and field count

TEST(ReferenceModel, CreateSetNameTable)
{
    struct Case
    {
        int columns, rows, index, page;
        const char* name;
    } const cases[] = {
        {12, 10, 0, 0, "1A1"},    {12, 10, 27, 0, "1C4"},    {12, 10, 11, 0, "1A12"},
        {12, 10, 120, 1, "2A1"},  {12, 10, 239, 1, "2J12"},  {1, 1000, 25, 0, "1Z1"},
        {1, 1000, 26, 0, "1AA1"}, {1, 1000, 51, 0, "1AZ1"},  {1, 1000, 52, 0, "1BA1"},
        {1, 1000, 701, 0, "1ZZ1"}, {1, 1000, 702, 0, "1AAA1"}, {4, 3, 13, 1, "2A2"},
    };
    for (const auto& c : cases) {
        ReferenceFileData d;
        d.setSaveOptions(true, false, false, c.columns, c.rows);
        char* name = d.CreateSetName(c.index, c.page);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, c.name) << c.index;
        delete[] name;
        EXPECT_EQ(d.SetName(c.index, c.page), c.name);
    }
}

TEST(ReferenceModel, CreateSetNameWithoutGridDoesNotDivideByZero)
{
    ReferenceFileData d;   // setColumns = setRows = 0
    EXPECT_EQ(d.SetName(5, 0), "1A6");
}

TEST(ReferenceModel, NumberOfFields)
{
    ReferenceFileData d;
    EXPECT_EQ(d.GetNumberOfFields(), 0);
    d.hasSampleName = d.hasSampleID = true;
    d.isCMYK = true;
    d.hasLab = true;
    d.extraChannelCount = 2;
    EXPECT_EQ(d.GetNumberOfFields(), 1 + 1 + 4 + 3 + 2);
    d.hasLocation = d.hasPage = true;
    d.hasGray = true;
    EXPECT_EQ(d.GetNumberOfFields(), 11 + 2 + 1 + 1);
    d.saveGray = d.saveCMYK = d.saveNColor = false;
    EXPECT_EQ(d.GetNumberOfFields(), 15 - 1 - 4 - 2);
    d.isRGB = d.hasXYZ = true;
    EXPECT_EQ(d.GetNumberOfFields(), 8 + 3 + 3);
    d.saveRGB = d.saveXYZ = d.saveLab = false;
    EXPECT_EQ(d.GetNumberOfFields(), 14 - 9);
}

// ---------------------------------------------------------------------------------------
// Colorant table

TEST(ReferenceModel, AddColorValueNeedsFourTokens)
{
    ReferenceFileData d;
    d.extraChannelCount = 1;
    EXPECT_FALSE(d.AddColorValue({"Orange", "60", "40"}, 0));
    EXPECT_FALSE(d.channelNames[0].has_value());
    EXPECT_FALSE(d.channelLab[0].has_value());
    EXPECT_TRUE(d.colorantLab.empty());
    EXPECT_FALSE(d.AddColorValue({"Orange", "1", "2", "3"}, -1));
    EXPECT_FALSE(d.AddColorValue({"Orange", "1", "2", "3"}, 12));
    EXPECT_TRUE(d.colorantLab.empty());
}

TEST(ReferenceModel, AddColorValueInsertsAtDevicePosition)
{
    ReferenceFileData d(ReferenceFlavour::ReportLibrary);
    d.isCMYK = true;
    d.extraChannelCount = 2;
    d.colorantLab.assign(4, LabTriple{50, 0, 0});   // stand-ins for the primaries
    EXPECT_TRUE(d.AddColorValue({"Orange", "60.5", "x", "70"}, 1));
    ASSERT_EQ(d.colorantLab.size(), 5u);   // position 5 lies beyond the end: appended
    EXPECT_EQ(d.colorantLab[4].L, 60.5);
    EXPECT_EQ(d.colorantLab[4].a, 0);   // a non-numeric Lab token reads as 0
    EXPECT_EQ(d.colorantLab[4].b, 70);
    EXPECT_TRUE(d.AddColorValue({"Green", "80", "-60", "10"}, 0));
    ASSERT_EQ(d.colorantLab.size(), 6u);
    EXPECT_EQ(d.colorantLab[4].L, 80);   // inserted at 0 + 4, ahead of Orange
    EXPECT_EQ(d.colorantLab[5].L, 60.5);
    EXPECT_EQ(d.colorantLab[0].L, 50);
    // A second colour for a channel replaces its own triple but is inserted again.
    EXPECT_TRUE(d.AddColorValue({"Green2", "81", "-61", "11"}, 0));
    EXPECT_EQ(d.channelLab[0]->L, 81);
    EXPECT_EQ(*d.channelNames[0], "Green2");
    EXPECT_EQ(d.colorantLab.size(), 7u);
    EXPECT_EQ(d.GetColorantNames(), (std::vector<std::string>{"Cyan", "Magenta", "Yellow", "Black", "Green2", "Orange"}));
}

TEST(ReferenceModel, AddColorValueWithoutCmykUsesChannelPosition)
{
    ReferenceFileData d;
    d.extraChannelCount = 3;
    EXPECT_TRUE(d.AddColorValue({"A", "1", "2", "3"}, 0));
    EXPECT_TRUE(d.AddColorValue({"C", "7", "8", "9"}, 2));   // channel 1 has no colour yet
    EXPECT_TRUE(d.AddColorValue({"B", "4", "5", "6"}, 1));
    ASSERT_EQ(d.colorantLab.size(), 3u);
    EXPECT_EQ(d.colorantLab[0].L, 1);
    EXPECT_EQ(d.colorantLab[1].L, 4);
    EXPECT_EQ(d.colorantLab[2].L, 7);
    EXPECT_EQ(d.GetChannelName(1), "B");
    EXPECT_EQ(d.GetChannelName(3), "");
    EXPECT_EQ(d.GetChannelName(-1), "");
    EXPECT_EQ(d.GetChannelName(40), "");
}

TEST(ReferenceModel, ColorantNames)
{
    ReferenceFileData d;
    d.isCMYK = true;
    d.extraChannelCount = 2;
    d.channelNames[1] = "Orange";
    EXPECT_EQ(d.GetChannelName(2), "Yellow");
    EXPECT_EQ(d.GetChannelName(5), "Orange");
    EXPECT_EQ(d.GetColorantNames(), (std::vector<std::string>{"Cyan", "Magenta", "Yellow", "Black", "", "Orange"}));
    d.isCMYK = false;
    EXPECT_EQ(d.GetColorantNames(), (std::vector<std::string>{"", "Orange"}));
    d.extraChannelCount = -1;
    EXPECT_TRUE(d.GetColorantNames().empty());
}

// ---------------------------------------------------------------------------------------
// Black channel

TEST(ReferenceModel, BlackChannelCases)
{
    struct Case
    {
        bool cmyk;
        std::vector<std::string> header;
        int expected;
    } const cases[] = {
        {true, {"PROCESSCOLOR_ID \"1 1 Black, 0 0 0\""}, 3},   // CMYK: no scan
        {false, {"PROCESSCOLOR_ID \"1 3 Black, 0 0 0\""}, 2},
        {false, {"PROCESSCOLOR_ID \"1 2 Cyan\"", "PROCESSCOLOR_ID \"1 5 \"K\" x\""}, 4},
        {false, {"PROCESSCOLOR_ID \"1 4 BLACK\""}, 3},
        {false, {"PROCESSCOLOR_ID \"1 4 Orange, Black\""}, -1},   // cut at the comma first
        {false, {" PROCESSCOLOR_ID \"1 4 Black\""}, -1},          // must begin the line
        {false, {"PROCESSCOLOR_ID 1 4 Black"}, -1},               // no quote
        {false, {"PROCESSCOLOR_ID \"1 4\""}, -1},
        {false, {}, -1},
    };
    for (const auto& c : cases) {
        ReferenceFileData d;
        d.isCMYK = c.cmyk;
        d.headerLines = c.header;
        EXPECT_EQ(d.GetBlackChannel(), c.expected) << (c.header.empty() ? "" : c.header.back());
        EXPECT_EQ(d.blackChannel, c.expected);
    }
}

TEST(ReferenceModel, BlackChannelIsKeptOnceFoundAndRescannedUntilThen)
{
    ReferenceFileData d;
    EXPECT_EQ(d.GetBlackChannel(), -1);
    d.headerLines.push_back("PROCESSCOLOR_ID \"1 6 k\"");
    EXPECT_EQ(d.GetBlackChannel(), 5);
    d.headerLines.clear();
    EXPECT_EQ(d.GetBlackChannel(), 5);
}

// ---------------------------------------------------------------------------------------
// Channel-information lines

TEST(ReferenceModel, ParseChannelInfoLabLines)
{
    struct Case
    {
        const char* line;
        bool ok;
        std::vector<std::string> tokens;
    } const cases[] = {
        {"ChannelInfo4 \"Orange,Lab,60.5 40 70 \"", true, {"Orange", "60.5", "40", "70"}},
        {"ChannelInfo0\t\"Cyan,Lab,55 -37 -50\"", true, {"Cyan", "55", "-37", "-50"}},
        {"ChannelInfo4 \",Lab,1 2 3\"", true, {"Dummy", "1", "2", "3"}},
        {"ChannelInfo4 \"Orange,Lab,60 40\"", false, {}},
        {"ChannelInfo4 \"Orange,Cmyk,60 40 1\"", false, {}},
        {"XChannelInfo4 \"Orange,Lab,60 40 1\"", false, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> tokens;
        EXPECT_EQ(ParseChannelInfoLine(c.line, tokens), c.ok) << c.line;
        EXPECT_EQ(tokens, c.tokens) << c.line;
    }
    EXPECT_TRUE(IsChannelInfoLine("ChannelInfo7 RGB"));
    EXPECT_FALSE(IsChannelInfoLine("ChannelInfo7 lab"));
}

TEST(ReferenceModel, SetCmykLabDefsReportLibraryNeedsExtraChannels)
{
    ReferenceFileData d(ReferenceFlavour::ReportLibrary);
    d.isCMYK = true;
    d.SetCMYKLabDefs();
    EXPECT_TRUE(d.colorantLab.empty());
    ReferenceFileData rgb;
    rgb.isRGB = true;
    rgb.SetCMYKLabDefs();
    EXPECT_TRUE(rgb.colorantLab.empty());
}

// ---------------------------------------------------------------------------------------
// Lab and spectra

TEST(ReferenceModel, InitLabWithoutSourceFails)
{
    ReferenceFileData d;
    auto* s = new ReferenceFileSet(&d, 0, false);
    d.AppendSet(s);
    EXPECT_FALSE(d.InitLab());
    EXPECT_FALSE(d.hasLab);
    EXPECT_EQ(s->GetValuesLAB()[0], 255);
}

TEST(ReferenceModel, SpectralCountByFlavourAndVariant)
{
    struct Case
    {
        ReferenceFlavour flavour;
        bool quorvane;
        int count;
    } const cases[] = {
        {ReferenceFlavour::ReportLibrary, false, 36},
        {ReferenceFlavour::Application, false, 41},
        {ReferenceFlavour::ReportLibrary, true, 41},
        {ReferenceFlavour::Application, true, 41},
    };
    double v[41];
    for (int i = 0; i < 41; ++i)
        v[i] = 0.01 * (i + 1);
    for (const auto& c : cases) {
        ReferenceFileData d(c.flavour);
        std::unique_ptr<ReferenceFileSet> s(c.quorvane ? new QuorvaneReferenceFileSet(&d, 0, false)
                                                       : new ReferenceFileSet(&d, 0, false));
        s->SetSpectral(v);
        EXPECT_EQ(s->SpectralCount(), c.count);
        const double* got = s->GetValuesSpectral();
        for (int i = 0; i < 41; ++i)
            EXPECT_EQ(got[i], i < c.count ? v[i] : 0.0) << "slot " << i << " count " << c.count;
        if (c.quorvane) {
            EXPECT_NE(got, s->valuesSpectral);
            EXPECT_EQ(s->valuesSpectral[0], 0.0);   // the inherited array is not used
        }
    }
}

namespace
{
// Counts its destructions; the file destroys sets through the plain type.
struct CountedSet : QuorvaneReferenceFileSet
{
    CountedSet(ReferenceFileData* d, int idx, int* counter) : QuorvaneReferenceFileSet(d, idx, false), count(counter) {}
    ~CountedSet() override { ++*count; }
    int* count;
};
} // namespace

TEST(ReferenceModel, DestructorAndRemovalFreeSets)
{
    int destroyed = 0;
    auto* d = new ReferenceFileData;
    for (int i = 0; i < 5; ++i) {
        auto* s = new CountedSet(d, i, &destroyed);
        s->SetOldID(i);
        d->AppendSet(s);
    }
    d->AppendSet(d->CreateVerificationSet(true));
    d->channelNames[0] = "Orange";
    d->channelLab[0] = LabTriple{1, 2, 3};
    EXPECT_FALSE(d->InitSpectralModel("/nonexistent/MulticolorReference.txt"));
    EXPECT_NE(d->spectralUtil, nullptr);
    EXPECT_TRUE(d->RemoveFileSet(2));
    EXPECT_EQ(destroyed, 1);
    delete d;   // under ASan a leak of the model or of any set fails here too
    EXPECT_EQ(destroyed, 5);
}

// ---------------------------------------------------------------------------------------
// Conversions (embedded output profile)

class ReferenceModelColor : public ColorUtilEnv
{
};

TEST_F(ReferenceModelColor, InitLabPrefersRgbThenCmykThenXyz)
{
    const double rgb[3] = {200, 30, 40};
    const double cmyk[4] = {10, 80, 20, 5};
    const double xyz[3] = {20, 30, 40};
    double labRgb[3], labCmyk[3], labXyz[3];
    ASSERT_TRUE(ColorUtil::RGBtoLab(rgb, labRgb));
    ASSERT_TRUE(ColorUtil::CMYKtoLab(cmyk, labCmyk));
    ASSERT_TRUE(ColorUtil::XYZtoLab(xyz, labXyz));

    struct Case
    {
        bool rgb, cmyk, xyz;
        const double* lab;
    } const cases[] = {
        {true, true, true, labRgb}, {false, true, true, labCmyk}, {false, false, true, labXyz}, {true, false, true, labRgb},
    };
    for (const auto& c : cases) {
        ReferenceFileData d;
        d.isRGB = c.rgb;
        d.isCMYK = c.cmyk;
        d.hasXYZ = c.xyz;
        auto* s = new ReferenceFileSet(&d, 0, false);
        s->SetRGB(rgb);
        s->SetCMYK(cmyk);
        s->SetXYZ(xyz);
        d.AppendSet(s);
        auto* unsetSet = new ReferenceFileSet(&d, 1, false);   // no device values at all
        d.AppendSet(unsetSet);
        ASSERT_TRUE(d.InitLab());
        EXPECT_TRUE(d.hasLab);
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(s->GetValuesLAB()[i], c.lab[i]) << c.rgb << c.cmyk << c.xyz;
            EXPECT_EQ(unsetSet->GetValuesLAB()[i], 255.0);
        }
        // A second call does not convert again.
        s->valuesLAB[0] = 1.5;
        EXPECT_TRUE(d.InitLab());
        EXPECT_EQ(s->GetValuesLAB()[0], 1.5);
    }
}

TEST_F(ReferenceModelColor, SetCmykLabDefsComputesSolids)
{
    for (ReferenceFlavour f : {ReferenceFlavour::Application, ReferenceFlavour::ReportLibrary}) {
        ReferenceFileData d(f);
        d.isCMYK = true;
        d.extraChannelCount = 1;
        d.SetCMYKLabDefs();
        ASSERT_EQ(d.colorantLab.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            double cmyk[4] = {0, 0, 0, 0};
            cmyk[i] = 100;
            double lab[3];
            ASSERT_TRUE(ColorUtil::CMYKtoLab(cmyk, lab));
            EXPECT_DOUBLE_EQ(d.colorantLab[i].L, lab[0]);
            EXPECT_DOUBLE_EQ(d.colorantLab[i].a, lab[1]);
            EXPECT_DOUBLE_EQ(d.colorantLab[i].b, lab[2]);
        }
        EXPECT_LT(d.colorantLab[3].L, d.colorantLab[2].L);   // black is darker than yellow
        // A channel colour goes behind the primaries; a second call keeps it there.
        ASSERT_TRUE(d.AddColorValue({"Orange", "60", "40", "70"}, 0));
        d.SetCMYKLabDefs();
        ASSERT_EQ(d.colorantLab.size(), 5u);
        EXPECT_EQ(d.colorantLab[4].L, 60);
    }
}

TEST_F(ReferenceModelColor, SetCmykLabDefsApplicationTakesHeaderPrimaries)
{
    ReferenceFileData d(ReferenceFlavour::Application);
    d.isCMYK = true;
    d.headerLines = {
        "ChannelInfo1 \"Magenta,Lab,40 60 -5 \"",
        "ChannelInfo1 \"Magenta,Lab,12.5 74 -3 \"",   // the last line naming the primary wins
        "ChannelInfo3 \"Black,RGB,0 0 0 \"",
        "Comment Cyan Lab 1 2 3",                   // not a channel-information line
    };
    d.SetCMYKLabDefs();
    ASSERT_EQ(d.colorantLab.size(), 4u);
    EXPECT_TRUE(d.hasChannelInfo);
    EXPECT_EQ(d.colorantLab[1].L, 12.5);
    EXPECT_EQ(d.colorantLab[1].a, 74);
    EXPECT_EQ(d.colorantLab[1].b, -3);
    const double black[3] = {0, 0, 0};
    double labBlack[3];
    ASSERT_TRUE(ColorUtil::RGBtoLab(black, labBlack));
    EXPECT_NEAR(d.colorantLab[3].L, labBlack[0], 1e-4);   // through RGB, 6 significant digits
    const double cyan[4] = {100, 0, 0, 0};
    double labCyan[3];
    ASSERT_TRUE(ColorUtil::CMYKtoLab(cyan, labCyan));
    EXPECT_DOUBLE_EQ(d.colorantLab[0].L, labCyan[0]);

    // The report library ignores the header lines.
    ReferenceFileData r(ReferenceFlavour::ReportLibrary);
    r.isCMYK = true;
    r.extraChannelCount = 1;
    r.headerLines = d.headerLines;
    r.SetCMYKLabDefs();
    ASSERT_EQ(r.colorantLab.size(), 4u);
    EXPECT_NE(r.colorantLab[1].L, 12.5);
    EXPECT_FALSE(r.hasChannelInfo);
}

TEST_F(ReferenceModelColor, ParseChannelInfoRgbLine)
{
    std::vector<std::string> tokens;
    ASSERT_TRUE(ParseChannelInfoLine("ChannelInfo5 \"Green,RGB,0 255 0 \"", tokens));
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0], "Green");
    const double rgb[3] = {0, 255, 0};
    double lab[3];
    ASSERT_TRUE(ColorUtil::RGBtoLab(rgb, lab));
    char buf[32];
    for (int i = 0; i < 3; ++i) {
        std::snprintf(buf, sizeof buf, "%.6g", lab[i]);
        EXPECT_EQ(tokens[i + 1], buf);
    }
    EXPECT_LT(std::stod(tokens[2]), -50.0);   // green has a strongly negative a*
}
