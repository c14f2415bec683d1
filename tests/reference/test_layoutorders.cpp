// Tests of the named patch orders: the layout table, grid mapping and the reference
// look-ups by position (vertical and horizontal).
#include "GFileFormatTool.h"
#include "ReferenceFileData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const char* const kHorizontalDefault = "QUORVANE - Horizontal (default)";
const char* const kHorizontalRightLeft = "QUORVANE - Horizontal (right left)";
const char* const kVerticalLeftRight = "QUORVANE - Vertical (left - right), ProfileMaker Reference File";
const char* const kVerticalRightLeft = "QUORVANE - Vertical (right - left)";

// A reference of n sets whose old IDs equal their file index.
void Fill(ReferenceFileData& d, int n, int rowLength)
{
    for (int i = 0; i < n; ++i) {
        auto* s = new ReferenceFileSet(&d, i, false);
        s->SetOldID(i);
        d.AppendSet(s);
    }
    d.lgoRowLength = rowLength;
}

int IndexOf(ReferenceFileSet* s) { return s ? s->GetIdxInFile() : -1; }
} // namespace

TEST(LayoutOrders, TableHoldsTheEightLayouts)
{
    struct Row
    {
        const char* name;
        int startX, startY, stepX, stepY;
        bool vertical;
    } const rows[] = {
        {"default", 0, 0, 1, 1, false},
        {kHorizontalDefault, 0, 0, 1, 1, false},
        {kHorizontalRightLeft, 1, 0, -1, 1, false},
        {kVerticalLeftRight, 0, 0, 1, 1, true},
        {kVerticalRightLeft, 1, 0, -1, 1, true},
        {"MonacoPROFILER", 0, 0, 1, 1, true},
        {"MonacoProfiler (default, Vertical left - right)", 0, 0, 1, 1, true},
        {"MonacoProfiler (Horizontal right - left)", 1, 0, -1, 1, false},
    };
    GFileFormatTool tool;
    EXPECT_EQ(tool.gridColumns, 0);
    EXPECT_EQ(tool.gridRows, 0);
    auto& map = GFileFormatTool::FormatMap();
    for (const auto& r : rows) {
        ASSERT_EQ(map.count(r.name), 1u) << r.name;
        const auto rec = tool.GetSDMap(r.name);
        EXPECT_EQ(rec.startX, r.startX) << r.name;
        EXPECT_EQ(rec.startY, r.startY) << r.name;
        EXPECT_EQ(rec.stepX, r.stepX) << r.name;
        EXPECT_EQ(rec.stepY, r.stepY) << r.name;
        EXPECT_EQ(rec.isVertical, r.vertical) << r.name;
    }
    // Names are told apart byte by byte: case matters.
    EXPECT_NE(tool.GetSDMap("MonacoPROFILER").isVertical, tool.GetSDMap("MONACOPROFILER").isVertical);
}

TEST(LayoutOrders, TableIsOrderedByteWise)
{
    GFileFormatTool tool;
    std::vector<std::string> names;
    for (const auto& entry : GFileFormatTool::FormatMap())
        names.push_back(entry.first);
    // Upper case sorts before lower case, "P" before "r", "default" after every capital.
    const auto pos = [&](const std::string& n) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == n)
                return static_cast<int>(i);
        return -1;
    };
    EXPECT_LT(pos("MonacoPROFILER"), pos("MonacoProfiler (Horizontal right - left)"));
    EXPECT_LT(pos("MonacoProfiler (Horizontal right - left)"), pos("MonacoProfiler (default, Vertical left - right)"));
    EXPECT_LT(pos(kHorizontalDefault), pos(kHorizontalRightLeft));
    EXPECT_LT(pos(kVerticalLeftRight), pos(kVerticalRightLeft));
    EXPECT_LT(pos(kVerticalRightLeft), pos("default"));
}

TEST(LayoutOrders, UnknownNameIsAddedWithDefaultRecord)
{
    GFileFormatTool tool;
    auto& map = GFileFormatTool::FormatMap();
    const std::size_t before = map.size();
    ASSERT_EQ(map.count("QUORVANE Density"), 0u);
    const auto rec = tool.GetSDMap("QUORVANE Density");
    EXPECT_EQ(map.size(), before + 1);
    ASSERT_EQ(map.count("QUORVANE Density"), 1u);
    EXPECT_EQ(rec.startX, 0);
    EXPECT_EQ(rec.startY, 0);
    EXPECT_EQ(rec.stepX, 1);
    EXPECT_EQ(rec.stepY, 1);
    EXPECT_FALSE(rec.isVertical);
    tool.GetSDMap("QUORVANE Density");
    EXPECT_EQ(map.size(), before + 1);
    // Constructing another tool does not rebuild or shrink the table.
    GFileFormatTool second;
    EXPECT_EQ(map.size(), before + 1);
}

TEST(LayoutOrders, SdIndexTable)
{
    struct Case
    {
        const char* name;
        int columns, rows, index, x, y;
    } const cases[] = {
        {"Onyx", 4, 3, 5, 1, 1},   // unknown: reads like "default"
        {"default", 4, 3, 5, 1, 1},
        {"default", 4, 3, 11, 3, 2},
        {kHorizontalRightLeft, 4, 3, 0, 3, 0},
        {kHorizontalRightLeft, 4, 3, 5, 2, 1},
        {kVerticalLeftRight, 4, 3, 1, 0, 1},
        {kVerticalLeftRight, 4, 3, 3, 1, 0},
        {kVerticalRightLeft, 4, 3, 0, 3, 0},
        {kVerticalRightLeft, 4, 3, 4, 2, 1},
        {"MonacoProfiler (Horizontal right - left)", 5, 2, 7, 2, 1},
    };
    for (const auto& c : cases) {
        GFileFormatTool tool;
        tool.gridColumns = c.columns;
        tool.gridRows = c.rows;
        int x = -9, y = -9;
        ASSERT_TRUE(tool.GetSDIndex(c.name, c.index, x, y)) << c.name;
        EXPECT_EQ(x, c.x) << c.name << " " << c.index;
        EXPECT_EQ(y, c.y) << c.name << " " << c.index;
    }
}

TEST(LayoutOrders, SdIndexNeedsAGrid)
{
    for (auto dims : {std::pair<int, int>{0, 3}, {4, 0}, {0, 0}, {-1, 3}}) {
        GFileFormatTool tool;
        tool.gridColumns = dims.first;
        tool.gridRows = dims.second;
        int x = 42, y = 43;
        EXPECT_FALSE(tool.GetSDIndex("default", 1, x, y));
        EXPECT_EQ(x, 42);
        EXPECT_EQ(y, 43);
    }
}

TEST(LayoutOrders, MapHorizontalToVerticalIndex)
{
    GFileFormatTool tool;
    tool.gridColumns = 4;
    tool.gridRows = 3;
    const int expected[12] = {0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(tool.MapHorizontalToVerticalIndex(kHorizontalDefault, i), expected[i]) << i;
    EXPECT_EQ(tool.MapHorizontalToVerticalIndex("MonacoPROFILER", 7), 7);
    // No rows: no division by zero, no index.
    tool.gridRows = 0;
    EXPECT_EQ(tool.MapHorizontalToVerticalIndex(kHorizontalDefault, 5), -1);
    EXPECT_EQ(tool.MapHorizontalToVerticalIndex(kVerticalLeftRight, 5), 5);
}

TEST(LayoutOrders, VerticalLookUp)
{
    struct Case
    {
        const char* fileFormat;   // header layout, or null
        const char* name;
        int rowLength;
        std::vector<std::pair<unsigned, int>> positions;   // position -> file index (-1 none)
    } const cases[] = {
        {nullptr, kHorizontalDefault, 4, {{0, 0}, {1, 4}, {2, 8}, {3, 1}, {11, 11}}},
        {"MonacoPROFILER", kHorizontalDefault, 4, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {11, 11}}},
        {kHorizontalDefault, "MonacoPROFILER", 4, {{1, 4}, {3, 1}}},   // the header layout wins
        {nullptr, kHorizontalDefault, 0, {{0, -1}, {1, -1}}},          // no row length: none
        {nullptr, kVerticalLeftRight, 0, {{0, 0}, {5, 5}, {12, -1}}},
        {nullptr, nullptr, 4, {{1, 4}}},                                // no name reads like "default"
    };
    for (const auto& c : cases) {
        ReferenceFileData d;
        Fill(d, 12, c.rowLength);
        if (c.fileFormat) {
            d.hasFileFormat = true;
            CopyFixedText(d.fileFormat, c.fileFormat);
        }
        for (const auto& p : c.positions)
            EXPECT_EQ(IndexOf(d.GetFileSetByFormat(true, p.first, c.name)), p.second)
                << (c.name ? c.name : "(null)") << " position " << p.first;
    }
}

TEST(LayoutOrders, HorizontalLookUp)
{
    struct Case
    {
        const char* name;
        int sets, rowLength;
        std::vector<std::pair<unsigned, int>> positions;
    } const cases[] = {
        {kHorizontalRightLeft, 12, 4, {{0, 3}, {5, 6}, {11, 8}, {12, -1}, {40, -1}}},
        {kVerticalLeftRight, 12, 3, {{1, 4}, {3, 1}, {11, 11}, {12, -1}}},
        {kVerticalRightLeft, 12, 3, {{0, 3}, {1, 7}, {3, 2}}},
        {kVerticalRightLeft, 13, 3, {{11, 8}, {12, -1}}},   // past the last full column
        {"default", 13, 4, {{12, 12}}},                      // a partial last row still reads
        {"default", 12, 4, {{0, 0}, {7, 7}, {12, -1}}},
        {"default", 12, 0, {{0, -1}, {3, -1}}},
        {kVerticalLeftRight, 12, 0, {{0, -1}}},
        {"default", 0, 4, {{0, -1}}},
        {"default", 12, 4, {{0x80000000u, -1}, {0xFFFFFFFFu, -1}}},
    };
    for (const auto& c : cases) {
        ReferenceFileData d;
        Fill(d, c.sets, c.rowLength);
        for (const auto& p : c.positions)
            EXPECT_EQ(IndexOf(d.GetFileSetByFormat(false, p.first, c.name)), p.second)
                << c.name << " position " << p.first;
    }
}

TEST(LayoutOrders, LookUpReturnsTheOwnedSet)
{
    ReferenceFileData d;
    Fill(d, 6, 3);
    ReferenceFileSet* s = d.GetFileSetByFormat(false, 4, "default");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s, d.GetSet(4));
    EXPECT_EQ(d.GetFileSetByFormat(true, 0xFFFFFFFFu, "default"), nullptr);
}
