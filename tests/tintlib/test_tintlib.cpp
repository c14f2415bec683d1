// Tests of Tintlib: measurement text reading and writing, rejection of malformed
// texts, and the buffers of the measured-target record.
#include "Tintlib.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace
{
class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/tintlib-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (made)
            path = made;
    }
    ~TempDir()
    {
        if (!path.empty())
            std::system(("rm -rf '" + path + "'").c_str());
    }
    std::string File(const std::string& name) const { return path + "/" + name; }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::string p = File(name);
        FILE* f = std::fopen(p.c_str(), "wb");
        if (f) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
        return p;
    }
    std::string path;
};

bool IsAllZero(const Tintora_target& t)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&t);
    for (size_t i = 0; i < sizeof t; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

struct Target
{
    Target() { std::memset(static_cast<void*>(&t), 0, sizeof t); }
    ~Target() { Tintora_FreeTarget(&t); }
    Tintora_target t;
};

int32_t Int32At(const Tintora_target& t, size_t offset)
{
    int32_t v;
    std::memcpy(&v, reinterpret_cast<const char*>(&t) + offset, sizeof v);
    return v;
}

const std::string kFixture = std::string(VANTREL_TEST_DATA_DIR) + "/tintlib/press4_strip.txt";
}

TEST(TintlibParse, ReadsFixtureIntoTheDocumentedFields)
{
    Target target;
    ASSERT_EQ(Tintora_ParseFile(&target.t, kFixture.c_str()), 1);
    const Tintora_target& t = target.t;
    // Read through the byte offsets the report library relies on.
    EXPECT_EQ(Int32At(t, 32), 3);
    EXPECT_EQ(Int32At(t, 36), 2);
    EXPECT_EQ(Int32At(t, 40), 7);
    EXPECT_EQ(Int32At(t, 44), 2);
    EXPECT_EQ(Int32At(t, 7960), 5);
    EXPECT_EQ(Int32At(t, 8608), 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(&t) + 76, "QUORVANE - Horizontal (default)");
    EXPECT_STREQ(reinterpret_cast<const char*>(&t) + 388, "Press4_20240131.cxf");
    EXPECT_STREQ(reinterpret_cast<const char*>(&t) + 2164, "References/Press4.ref");
    EXPECT_STREQ(t.infoText, "<DOCMedia>Gloss 250</DOCMedia>\n<DOCMediaType>2</DOCMediaType>\n"
                             "Press 4, morning run\n  operator: night shift\n");
    EXPECT_EQ(Tintora_Get_MeasuringMode(), 2);

    ASSERT_NE(t.rows, nullptr);
    ASSERT_NE(t.stripStatus, nullptr);
    EXPECT_EQ(t.stripStatus[0], 6);
    EXPECT_EQ(t.stripStatus[1], 1);
    const Tintora_patch* p = Tintora_PatchAt(&t, 0, 0, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_DOUBLE_EQ(p->L, 95.1);
    EXPECT_DOUBLE_EQ(p->a, -0.5);
    EXPECT_DOUBLE_EQ(p->b, 2.25);
    EXPECT_EQ(p->spectralCount, 3);
    EXPECT_DOUBLE_EQ(p->spectrum[2], 0.92);
    EXPECT_EQ(p->measured, 1);
    const Tintora_patch* last = Tintora_PatchAt(&t, 1, 0, 0);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->spectralCount, 36);
    EXPECT_DOUBLE_EQ(last->spectrum[35], 0.9);
    EXPECT_EQ(Tintora_PatchAt(&t, 1, 1, 2)->measured, 0);
    EXPECT_EQ(Tintora_PatchAt(&t, 2, 0, 0), nullptr);
}

TEST(TintlibParse, RoundTripKeepsEveryField)
{
    TempDir dir;
    Target first;
    ASSERT_EQ(Tintora_ParseFile(&first.t, kFixture.c_str()), 1);
    first.t.firstPosition = 1;
    std::string written = dir.File("written.txt");
    ASSERT_EQ(Tintora_WriteFile(&first.t, written.c_str()), 1);

    Target second;
    ASSERT_EQ(Tintora_ParseFile(&second.t, written.c_str()), 1);
    const Tintora_target& a = first.t;
    const Tintora_target& b = second.t;
    EXPECT_EQ(b.patchesPerRow, a.patchesPerRow);
    EXPECT_EQ(b.rowsPerStrip, a.rowsPerStrip);
    EXPECT_EQ(b.patchCount, a.patchCount);
    EXPECT_EQ(b.stripCount, a.stripCount);
    EXPECT_EQ(b.measuringMode, a.measuringMode);
    EXPECT_EQ(b.scanMode, a.scanMode);
    EXPECT_EQ(b.nextStrip, a.nextStrip);
    EXPECT_EQ(b.firstPosition, 1);
    EXPECT_STREQ(b.layoutName, a.layoutName);
    EXPECT_STREQ(b.referenceFileName, a.referenceFileName);
    EXPECT_STREQ(b.outputFileName, a.outputFileName);
    EXPECT_STREQ(b.infoText, a.infoText);
    for (int s = 0; s < a.stripCount; ++s)
        for (int r = 0; r < a.rowsPerStrip; ++r)
            for (int c = 0; c < a.patchesPerRow; ++c) {
                const Tintora_patch* pa = Tintora_PatchAt(&a, s, r, c);
                const Tintora_patch* pb = Tintora_PatchAt(&b, s, r, c);
                ASSERT_TRUE(pa && pb);
                // Bit-exact: doubles are written in their shortest exact form.
                EXPECT_EQ(std::memcmp(pa, pb, sizeof *pa), 0) << s << "/" << r << "/" << c;
            }

    // Rewriting the reread record gives the same text.
    std::string rewritten = dir.File("rewritten.txt");
    ASSERT_EQ(Tintora_WriteFile(&b, rewritten.c_str()), 1);
    EXPECT_EQ(std::system(("cmp -s '" + written + "' '" + rewritten + "'").c_str()), 0);
}

TEST(TintlibParse, AcceptsBlanksTabsCrLfAndMultiLineTags)
{
    TempDir dir;
    std::string path = dir.Write("m.txt", "<Note>first\r\nsecond</Note>\r\nTINTORA_MEASUREMENT 1\r\n"
                                          "GRID\t2  1 2 1\r\nPATCH 0 0 1 1.5 2 3\r\nPATCH 0 0 0 -1e2 0 0\r\nEND\r\n\r\n");
    Target target;
    ASSERT_EQ(Tintora_ParseFile(&target.t, path.c_str()), 1);
    EXPECT_STREQ(target.t.infoText, "<Note>first\nsecond</Note>\n");
    EXPECT_DOUBLE_EQ(Tintora_PatchAt(&target.t, 0, 0, 0)->L, -100.0);
    EXPECT_EQ(target.t.measuringMode, 1);
    EXPECT_EQ(target.t.layoutName[0], '\0');
}

TEST(TintlibParse, MalformedTextGivesZeroAndAZeroedRecord)
{
    const std::string longName(TINTORA_LAYOUT_NAME_CAPACITY, 'x');
    const std::string longInfo(TINTORA_INFO_TEXT_CAPACITY, 'i');
    const std::string head = "TINTORA_MEASUREMENT 1\n";
    struct Case
    {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"no header", "GRID 1 1 1 1\nEND\n"},
        {"unknown version", "TINTORA_MEASUREMENT 2\nGRID 1 1 1 1\nEND\n"},
        {"no grid", head + "LAYOUT Onyx\nEND\n"},
        {"no end", head + "GRID 1 1 1 1\n"},
        {"text after end", head + "GRID 1 1 1 1\nEND\nLAYOUT Onyx\n"},
        {"unknown keyword", head + "GRID 1 1 1 1\nCOLOUR red\nEND\n"},
        {"grid count of 2^31", head + "GRID 2147483648 1 1 1\nEND\n"},
        {"grid of 2^31-1 strips", head + "GRID 1 1 1 2147483647\nEND\n"},
        {"grid product beyond the limit", head + "GRID 65535 65535 1 65535\nEND\n"},
        {"negative rows", head + "GRID 2 -1 1 1\nEND\n"},
        {"no patches", head + "GRID 2 2 0 1\nEND\n"},
        {"more patches than positions", head + "GRID 2 2 5 1\nEND\n"},
        {"grid with three numbers", head + "GRID 2 2 4\nEND\n"},
        {"second grid", head + "GRID 1 1 1 1\nGRID 1 1 1 1\nEND\n"},
        {"fewer patch lines than N", head + "GRID 2 1 2 1\nPATCH 0 0 0 1 2 3\nEND\n"},
        {"more patch lines than N", head + "GRID 2 1 1 1\nPATCH 0 0 0 1 2 3\nPATCH 0 0 1 1 2 3\nEND\n"},
        {"patch outside the grid", head + "GRID 2 1 1 1\nPATCH 0 0 2 1 2 3\nEND\n"},
        {"patch in a missing strip", head + "GRID 2 1 1 1\nPATCH 1 0 0 1 2 3\nEND\n"},
        {"patch twice", head + "GRID 2 1 2 1\nPATCH 0 0 0 1 2 3\nPATCH 0 0 0 1 2 3\nEND\n"},
        {"patch before grid", head + "PATCH 0 0 0 1 2 3\nGRID 1 1 1 1\nEND\n"},
        {"spectrum shorter than its count", head + "GRID 1 1 1 1\nPATCH 0 0 0 1 2 3 3 0.1 0.2\nEND\n"},
        {"spectrum beyond 41 values", head + "GRID 1 1 1 1\nPATCH 0 0 0 1 2 3 42\nEND\n"},
        {"decimal comma", head + "GRID 1 1 1 1\nPATCH 0 0 0 1,5 2 3\nEND\n"},
        {"second layout", head + "LAYOUT Onyx\nLAYOUT Curve2\nGRID 1 1 1 1\nEND\n"},
        {"layout too long for its field", head + "LAYOUT " + longName + "\nGRID 1 1 1 1\nEND\n"},
        {"information text too long", head + "INFO " + longInfo + "\nGRID 1 1 1 1\nEND\n"},
        {"unterminated tag", "<DOCMedia>Gloss\n" + head + "GRID 1 1 1 1\nEND\n"},
        {"measuring mode out of range", head + "MEASURING_MODE 7\nGRID 1 1 1 1\nEND\n"},
        {"zero byte inside", head + std::string("LAYOUT a\0b\n", 11) + "GRID 1 1 1 1\nEND\n"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        std::string path = dir.Write("bad.txt", c.text);
        Target target;
        // Mark a field so that "left zeroed" is observable.
        target.t.patchCount = 99;
        EXPECT_EQ(Tintora_ParseFile(&target.t, path.c_str()), 0) << c.name;
        EXPECT_TRUE(IsAllZero(target.t)) << c.name;
    }
}

TEST(TintlibParse, UnreadableInputGivesZeroedRecord)
{
    TempDir dir;
    std::string big = dir.File("big.txt");
    int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    // Sparse: the size check must refuse it before reading 17 MiB.
    ASSERT_EQ(::ftruncate(fd, 17L * 1024 * 1024), 0);
    ::close(fd);
    for (const std::string& path : {dir.File("missing.txt"), dir.path, big}) {
        Target target;
        target.t.stripCount = 5;
        EXPECT_EQ(Tintora_ParseFile(&target.t, path.c_str()), 0) << path;
        EXPECT_TRUE(IsAllZero(target.t)) << path;
    }
    Target target;
    EXPECT_EQ(Tintora_ParseFile(&target.t, nullptr), 0);
    EXPECT_EQ(Tintora_ParseFile(nullptr, kFixture.c_str()), 0);
}

TEST(TintlibParse, FailedParseKeepsTheMeasuringMode)
{
    TempDir dir;
    Target ok;
    ASSERT_EQ(Tintora_ParseFile(&ok.t, dir.Write("m3.txt", "TINTORA_MEASUREMENT 1\nMEASURING_MODE 3\nGRID 1 1 1 1\nEND\n").c_str()), 1);
    EXPECT_EQ(Tintora_Get_MeasuringMode(), 3);
    Target bad;
    EXPECT_EQ(Tintora_ParseFile(&bad.t, dir.Write("m0.txt", "TINTORA_MEASUREMENT 1\nMEASURING_MODE 0\nEND\n").c_str()), 0);
    EXPECT_EQ(Tintora_Get_MeasuringMode(), 3);
}

TEST(TintlibParse, ReparsingAFilledRecordReleasesItsBuffers)
{
    // Runs under the leak checker: the first parse's rows must not be lost.
    Target target;
    ASSERT_EQ(Tintora_ParseFile(&target.t, kFixture.c_str()), 1);
    ASSERT_NE(target.t.rows, nullptr);
    ASSERT_EQ(Tintora_ParseFile(&target.t, kFixture.c_str()), 1);
    EXPECT_EQ(Tintora_PatchAt(&target.t, 0, 1, 1)->L, 16.0);
}

TEST(TintlibWrite, RefusesRecordsItsReaderWouldReject)
{
    TempDir dir;
    std::string path = dir.File("out.txt");
    Target empty;
    EXPECT_EQ(Tintora_WriteFile(&empty.t, path.c_str()), 0);   // no grid

    Target partial;
    partial.t.patchesPerRow = 2;
    partial.t.rowsPerStrip = 1;
    partial.t.stripCount = 1;
    partial.t.patchCount = 2;
    ASSERT_EQ(Tintora_InitTarget(&partial.t), 1);
    Tintora_PatchAt(&partial.t, 0, 0, 0)->measured = 1;
    EXPECT_EQ(Tintora_WriteFile(&partial.t, path.c_str()), 0);   // 1 of 2 patches
    Tintora_PatchAt(&partial.t, 0, 0, 1)->measured = 1;
    EXPECT_EQ(Tintora_WriteFile(&partial.t, path.c_str()), 1);
    EXPECT_EQ(Tintora_WriteFile(&partial.t, dir.File("no/such/folder.txt").c_str()), 0);
}

TEST(TintlibTarget, InitAllocatesRowsFromTheGridAndFreeReleasesThem)
{
    struct Case
    {
        int32_t w, h, s;
    };
    for (Case c : {Case{1, 1, 1}, Case{4, 3, 1}, Case{3, 2, 5}, Case{8192, 1, 1}}) {
        Target target;
        target.t.patchesPerRow = c.w;
        target.t.rowsPerStrip = c.h;
        target.t.stripCount = c.s;
        ASSERT_EQ(Tintora_InitTarget(&target.t), 1);
        ASSERT_NE(target.t.rows, nullptr);
        EXPECT_EQ(target.t.rowTableSize, c.h * c.s);
        for (int s = 0; s < c.s; ++s)
            for (int r = 0; r < c.h; ++r) {
                // Row r of strip s sits at index H * s + r.
                Tintora_patch* row = target.t.rows[c.h * s + r];
                ASSERT_NE(row, nullptr);
                EXPECT_EQ(Tintora_PatchAt(&target.t, s, r, 0), &row[0]);
                EXPECT_EQ(Tintora_PatchAt(&target.t, s, r, c.w - 1), &row[c.w - 1]);
                EXPECT_EQ(row[c.w - 1].measured, 0);
                row[c.w - 1].measured = 1;   // writable to the last record
            }
        EXPECT_EQ(Tintora_PatchAt(&target.t, 0, 0, c.w), nullptr);
        // A second Init replaces the rows without leaking the first ones.
        ASSERT_EQ(Tintora_InitTarget(&target.t), 1);
        EXPECT_EQ(target.t.rows[0][c.w - 1].measured, 0);
        Tintora_FreeTarget(&target.t);
        EXPECT_EQ(target.t.rows, nullptr);
        EXPECT_EQ(target.t.stripStatus, nullptr);
        Tintora_FreeTarget(&target.t);   // twice is harmless
    }
}

TEST(TintlibTarget, InitRefusesEmptyOrAbsurdGrids)
{
    struct Case
    {
        int32_t w, h, s;
    };
    for (Case c : {Case{0, 1, 1}, Case{1, 0, 1}, Case{1, 1, 0}, Case{-4, 3, 1}, Case{2147483647, 1, 1},
                   Case{65536, 65536, 65536}, Case{8193, 1, 1}, Case{91, 91, 1}}) {
        Target target;
        target.t.patchesPerRow = c.w;
        target.t.rowsPerStrip = c.h;
        target.t.stripCount = c.s;
        EXPECT_EQ(Tintora_InitTarget(&target.t), 0) << c.w << "x" << c.h << "x" << c.s;
        EXPECT_EQ(target.t.rows, nullptr);
        EXPECT_EQ(target.t.rowTableSize, 0);
    }
    EXPECT_EQ(Tintora_InitTarget(nullptr), 0);
    Tintora_FreeTarget(nullptr);
}

TEST(TintlibTarget, FreeUsesTheAllocatedSizeNotTheCurrentGrid)
{
    Target target;
    target.t.patchesPerRow = 2;
    target.t.rowsPerStrip = 3;
    target.t.stripCount = 2;
    ASSERT_EQ(Tintora_InitTarget(&target.t), 1);
    // A caller that edits the grid afterwards must not make Free over- or under-release.
    target.t.rowsPerStrip = 50;
    target.t.stripCount = 0;
    Tintora_FreeTarget(&target.t);
    EXPECT_EQ(target.t.rows, nullptr);
}

TEST(TintlibInstrument, StandInHasNoInstrument) { EXPECT_EQ(Tintora_GetInstrument(0, 0), 0); }
