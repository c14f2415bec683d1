// Tests of Loader: the five placements of measured sets onto the target grid, the
// end of a placement past the last strip, and the 41/36 spectral count.
#include "Job.h"
#include "Loader.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// A grid record of our own; its rows are left to the loader to allocate.
TintoraTargetPtr Grid(int w, int h, int n, int s)
{
    TintoraTargetPtr t = NewTintoraTarget();
    t->patchesPerRow = w;
    t->rowsPerStrip = h;
    t->patchCount = n;
    t->stripCount = s;
    return t;
}

// Set i carries L* = i, so the grid shows where each set went.
void AddSets(ReferenceFileData& data, int count, bool quorvane)
{
    for (int i = 0; i < count; ++i) {
        ReferenceFileSet* set = quorvane ? new QuorvaneReferenceFileSet(&data, i, false)
                                         : new ReferenceFileSet(&data, i, false);
        double lab[3] = {double(i), i + 0.5, -double(i)};
        set->SetLAB(lab);
        double spectrum[ReferenceFileSet::kMaxSpectral];
        for (int k = 0; k < ReferenceFileSet::kMaxSpectral; ++k)
            spectrum[k] = 0.01 * (k + 1) + i;
        set->SetSpectral(spectrum);
        data.AppendSet(set);
    }
}

// Set index at every grid position, strip by strip, row by row; -1 where none went.
std::vector<std::vector<int>> Placement(const Tintora_target& t)
{
    std::vector<std::vector<int>> rows;
    for (int s = 0; s < t.stripCount; ++s)
        for (int r = 0; r < t.rowsPerStrip; ++r) {
            std::vector<int> row;
            for (int c = 0; c < t.patchesPerRow; ++c) {
                const Tintora_patch* p = Tintora_PatchAt(&t, s, r, c);
                row.push_back(p && p->measured ? int(p->L) : -1);
            }
            rows.push_back(row);
        }
    return rows;
}

using Rows = std::vector<std::vector<int>>;
}

TEST(Loader, ReadingOrderOfEachLoadCase)
{
    struct Case
    {
        const char* layout;
        Rows expected;   // W = 3, H = 2, S = 2: two strips of two rows
    };
    const Case cases[] = {
        {"QUORVANE - Horizontal (default)", {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, 10, 11}}},
        {"Onyx", {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, 10, 11}}},
        {"QUORVANE - Horizontal (right left)", {{2, 1, 0}, {5, 4, 3}, {8, 7, 6}, {11, 10, 9}}},
        {"Curve2", {{2, 1, 0}, {5, 4, 3}, {8, 7, 6}, {11, 10, 9}}},
        {"QUORVANE - Vertical (left - right), ProfileMaker Reference File", {{0, 2, 4}, {1, 3, 5}, {6, 8, 10}, {7, 9, 11}}},
        {"MonacoProfiler (default, Vertical left - right)", {{0, 2, 4}, {1, 3, 5}, {6, 8, 10}, {7, 9, 11}}},
        {"QUORVANE - Vertical (right - left)", {{4, 2, 0}, {5, 3, 1}, {10, 8, 6}, {11, 9, 7}}},
    };
    for (const Case& c : cases) {
        TintoraTargetPtr target = Grid(3, 2, 12, 2);
        ReferenceFileData data(ReferenceFlavour::ReportLibrary);
        AddSets(data, 12, std::string(c.layout).rfind("QUORVANE", 0) == 0);
        Loader loader(target.get(), &data);
        ASSERT_TRUE(loader.Load(c.layout)) << c.layout;
        EXPECT_EQ(Placement(*target), c.expected) << c.layout;
    }
}

TEST(Loader, GridExamplesOfFourByThree)
{
    struct Case
    {
        const char* layout;
        int set, row, column;
    };
    for (Case c : {Case{"QUORVANE - Horizontal (default)", 5, 1, 1}, Case{"QUORVANE - Vertical (right - left)", 5, 2, 2},
                   Case{"MonacoProfiler (Horizontal right - left)", 0, 0, 3}}) {
        TintoraTargetPtr target = Grid(4, 3, 12, 1);
        ReferenceFileData data(ReferenceFlavour::ReportLibrary);
        AddSets(data, 12, false);
        Loader loader(target.get(), &data);
        ASSERT_TRUE(loader.Load(c.layout));
        const Tintora_patch* p = Tintora_PatchAt(target.get(), 0, c.row, c.column);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->measured, 1) << c.layout;
        EXPECT_EQ(p->L, c.set) << c.layout;
        EXPECT_EQ(p->a, c.set + 0.5) << c.layout;
        EXPECT_EQ(p->b, -c.set) << c.layout;
    }
}

TEST(Loader, SetBeyondTheLastStripEndsThePlacement)
{
    // N = 13 on a 4 x 3 x 1 grid: set 12 would be strip 1.
    TintoraTargetPtr target = Grid(4, 3, 13, 1);
    ReferenceFileData data(ReferenceFlavour::ReportLibrary);
    AddSets(data, 13, false);
    Loader loader(target.get(), &data);
    ASSERT_TRUE(loader.Load("QUORVANE - Horizontal (default)"));
    EXPECT_EQ(Placement(*target), (Rows{{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}}));
}

TEST(Loader, FirstLoadCaseUsesPageAndLocation)
{
    struct Located
    {
        int page, x, y;
    };
    // Set 0 lacks a location and goes to (0, 0, 0); set 3 is on page 1 of a one-strip
    // target and ends the placement, so set 4 is never placed.
    const Located located[] = {{-1, 5, 5}, {0, 2, 1}, {0, 3, 0}, {1, 0, 0}, {0, 1, 1}};
    TintoraTargetPtr target = Grid(4, 2, 5, 1);
    ReferenceFileData data(ReferenceFlavour::ReportLibrary);
    AddSets(data, 5, false);
    for (int i = 0; i < 5; ++i) {
        data.GetSet(i)->SetPage(located[i].page);
        int xy[2] = {located[i].x, located[i].y};
        data.GetSet(i)->SetLocation(xy);
    }
    Loader loader(target.get(), &data);
    ASSERT_TRUE(loader.Load("Agfa ColorTune"));
    EXPECT_EQ(Placement(*target), (Rows{{0, -1, -1, 2}, {-1, -1, 1, -1}}));
}

TEST(Loader, FirstLoadCaseSkipsPositionsOutsideTheRows)
{
    TintoraTargetPtr target = Grid(2, 1, 3, 1);
    ReferenceFileData data(ReferenceFlavour::ReportLibrary);
    AddSets(data, 3, false);
    const int loc[3][2] = {{5, 0}, {0, 4}, {1, 0}};   // column too big, row too big, fine
    for (int i = 0; i < 3; ++i) {
        data.GetSet(i)->SetPage(0);
        data.GetSet(i)->SetLocation(loc[i]);
    }
    Loader loader(target.get(), &data);
    ASSERT_TRUE(loader.Load("Agfa ColorTune"));
    EXPECT_EQ(Placement(*target), (Rows{{-1, 2}}));
}

TEST(Loader, SpectralCountFollowsTheLayoutName)
{
    struct Case
    {
        const char* layout;
        bool quorvaneSets;
        int expectedCount;
    };
    for (Case c : {Case{"QUORVANE Density", true, 41}, Case{"Onyx", true, 36}, Case{"Onyx", false, 36},
                   // A plain 36-value set under a QUORVANE layout: the missing values stay 0.
                   Case{"QUORVANE - Horizontal (default)", false, 41}}) {
        TintoraTargetPtr target = Grid(2, 1, 2, 1);
        ReferenceFileData data(ReferenceFlavour::ReportLibrary);
        AddSets(data, 2, c.quorvaneSets);
        Loader loader(target.get(), &data);
        ASSERT_TRUE(loader.Load(c.layout));
        EXPECT_EQ(loader.GetSpectralCount(), c.expectedCount) << c.layout;
        const Tintora_patch* p = Tintora_PatchAt(target.get(), 0, 0, 1);
        ASSERT_NE(p, nullptr);
        int available = data.GetSet(1)->SpectralCount();
        for (int k = 0; k < TINTORA_MAX_SPECTRAL; ++k) {
            double expected = (k < c.expectedCount && k < available) ? 0.01 * (k + 1) + 1 : 0.0;
            EXPECT_DOUBLE_EQ(p->spectrum[k], expected) << c.layout << " value " << k;
        }
    }
}

TEST(Loader, UnknownLayoutCopiesNothing)
{
    TintoraTargetPtr target = Grid(2, 2, 4, 1);
    ReferenceFileData data(ReferenceFlavour::ReportLibrary);
    AddSets(data, 4, false);
    Loader loader(target.get(), &data);
    EXPECT_TRUE(loader.Load("Unknown RIP"));
    ASSERT_NE(target->rows, nullptr);   // the grid exists, empty
    EXPECT_EQ(Placement(*target), (Rows{{-1, -1}, {-1, -1}}));
}

TEST(Loader, FewerSetsThanPatchesFillsWhatThereIs)
{
    TintoraTargetPtr target = Grid(2, 2, 4, 1);
    ReferenceFileData data(ReferenceFlavour::ReportLibrary);
    AddSets(data, 3, false);
    Loader loader(target.get(), &data);
    ASSERT_TRUE(loader.Load("ColorGATE"));
    EXPECT_EQ(Placement(*target), (Rows{{0, 1}, {2, -1}}));
}

TEST(Loader, GridThatCannotBeAllocatedFails)
{
    TintoraTargetPtr target = Grid(2147483647, 2, 4, 1);
    ReferenceFileData data(ReferenceFlavour::ReportLibrary);
    AddSets(data, 4, false);
    Loader loader(target.get(), &data);
    EXPECT_FALSE(loader.Load("Onyx"));
    EXPECT_FALSE(Loader(nullptr, &data).Load("Onyx"));
    EXPECT_FALSE(Loader(target.get(), nullptr).Load("Onyx"));
}

TEST(Loader, TableHoldsEveryLayoutOfTheFiveCases)
{
    Loader loader(nullptr, nullptr);
    const auto& cases = loader.GetLoadCases();
    EXPECT_EQ(cases.size(), 22u);
    EXPECT_EQ(cases.at("Agfa ColorTune"), Loader::eFirstLoadCase);
    EXPECT_EQ(cases.at("Bodoni Systems pressSIGN"), Loader::eGeneralLoadCase);
    EXPECT_EQ(cases.at("MonacoPROFILER"), Loader::eGeneralLoadCase);
    EXPECT_EQ(cases.at("MonacoProfiler (Horizontal right - left)"), Loader::eFourthLoadCase);
}
