// The TIFF LZW strip encoder, decoded by libtiff's own LZW codec: every strip must come
// back byte for byte, whatever its length and content, including the lengths at which
// the code width grows or the table fills just before the end of the strip. libtiff
// stops once it has the strip's bytes, so a strict decoder written from the TIFF rules
// also checks the end-of-information code and the padding of the last byte.
#include "lzwencoder.h"

#include <tiffio.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// A TIFF in memory, for libtiff's client procedures.
struct MemoryFile
{
    std::string bytes;
    toff_t pos = 0;
};

tmsize_t memRead(thandle_t h, void *buf, tmsize_t size)
{
    auto *m = static_cast<MemoryFile *>(h);
    const toff_t n = std::min<toff_t>(static_cast<toff_t>(size), m->pos < m->bytes.size() ? m->bytes.size() - m->pos : 0);
    std::memcpy(buf, m->bytes.data() + m->pos, n);
    m->pos += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t memWrite(thandle_t h, void *buf, tmsize_t size)
{
    auto *m = static_cast<MemoryFile *>(h);
    if (m->pos + static_cast<toff_t>(size) > m->bytes.size())
        m->bytes.resize(m->pos + static_cast<toff_t>(size));
    std::memcpy(m->bytes.data() + m->pos, buf, static_cast<std::size_t>(size));
    m->pos += static_cast<toff_t>(size);
    return size;
}

toff_t memSeek(thandle_t h, toff_t off, int whence)
{
    auto *m = static_cast<MemoryFile *>(h);
    if (whence == SEEK_CUR)
        off += m->pos;
    else if (whence == SEEK_END)
        off += m->bytes.size();
    m->pos = off;
    return off;
}

int memClose(thandle_t) { return 0; }
toff_t memSize(thandle_t h) { return static_cast<MemoryFile *>(h)->bytes.size(); }
int memMap(thandle_t, void **, toff_t *) { return 0; }
void memUnmap(thandle_t, void *, toff_t) {}

TIFF *openMemory(MemoryFile &file, const char *mode)
{
    file.pos = 0;
    return TIFFClientOpen("memory", mode, &file, memRead, memWrite, memSeek, memClose, memSize, memMap, memUnmap);
}

// Decodes one strip by the TIFF 6.0 rules and fails unless it starts with Clear, ends
// with EOI at the right width and has nothing but zero padding after it.
std::vector<uint8_t> strictDecode(const std::vector<uint8_t> &in)
{
    std::size_t bitPos = 0;
    auto read = [&](int width) -> int {
        if (bitPos + static_cast<std::size_t>(width) > in.size() * 8)
            return -1;
        int code = 0;
        for (int i = 0; i < width; ++i, ++bitPos)
            code = (code << 1) | ((in[bitPos / 8] >> (7 - bitPos % 8)) & 1);
        return code;
    };
    std::vector<std::vector<uint8_t>> table;
    auto reset = [&] {
        table.assign(258, {});
        for (int i = 0; i < 256; ++i)
            table[static_cast<std::size_t>(i)] = {static_cast<uint8_t>(i)};
    };
    std::vector<uint8_t> out;
    int width = 9;
    int old = -1;
    int code = read(width);
    EXPECT_EQ(code, 256) << "a strip starts with Clear";
    for (;;) {
        if (code < 0) {
            ADD_FAILURE() << "the strip ends without EOI";
            return out;
        }
        if (code == 257)
            break;
        if (code == 256) {
            reset();
            width = 9;
            old = -1;
        } else if (old < 0) {
            if (code > 255) {
                ADD_FAILURE() << "first code after Clear is no literal: " << code;
                return out;
            }
            out.push_back(static_cast<uint8_t>(code));
            old = code;
        } else {
            std::vector<uint8_t> entry;
            if (code < static_cast<int>(table.size())) {
                entry = table[static_cast<std::size_t>(code)];
            } else if (code == static_cast<int>(table.size())) {
                entry = table[static_cast<std::size_t>(old)];
                entry.push_back(entry.front());
            } else {
                ADD_FAILURE() << "code " << code << " beyond the table of " << table.size();
                return out;
            }
            out.insert(out.end(), entry.begin(), entry.end());
            std::vector<uint8_t> added = table[static_cast<std::size_t>(old)];
            added.push_back(entry.front());
            table.push_back(std::move(added));
            if (table.size() > 4094) {
                ADD_FAILURE() << "the table grows past 4094 entries without a Clear code";
                return out;
            }
            old = code;
            // Early change: the width grows as the table reaches 511, 1023 and 2047 entries.
            if (table.size() == 511 || table.size() == 1023 || table.size() == 2047)
                ++width;
        }
        code = read(width);
    }
    EXPECT_LT(in.size() * 8 - bitPos, 8u) << "bytes after EOI";
    for (; bitPos < in.size() * 8; ++bitPos)
        EXPECT_EQ((in[bitPos / 8] >> (7 - bitPos % 8)) & 1, 0) << "padding bit " << bitPos;
    return out;
}

// Stores `data` as the single strip of a one-row 8-bit gray image, encoded by
// LzwEncoder, and returns what libtiff decodes from it.
std::vector<uint8_t> roundTrip(LzwEncoder &encoder, const std::vector<uint8_t> &data, std::size_t *encodedSize = nullptr)
{
    MemoryFile file;
    TIFF *out = openMemory(file, "w");
    EXPECT_NE(out, nullptr);
    if (!out)
        return {};
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(data.size()));
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, 1u);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, 1u);
    std::vector<uint8_t> encoded;
    encoder.encodeStrip(data.data(), data.size(), encoded);
    if (encodedSize)
        *encodedSize = encoded.size();
    EXPECT_EQ(strictDecode(encoded), data) << "strict decoder";
    EXPECT_GE(TIFFWriteRawStrip(out, 0, encoded.data(), static_cast<tmsize_t>(encoded.size())), 0);
    TIFFClose(out);

    TIFF *in = openMemory(file, "r");
    EXPECT_NE(in, nullptr);
    if (!in)
        return {};
    std::vector<uint8_t> decoded(data.size() + 16, 0xA5);
    const tmsize_t n = TIFFReadEncodedStrip(in, 0, decoded.data(), static_cast<tmsize_t>(data.size()));
    TIFFClose(in);
    EXPECT_EQ(n, static_cast<tmsize_t>(data.size()));
    decoded.resize(std::max<tmsize_t>(n, 0));
    return decoded;
}

std::vector<uint8_t> randomBytes(std::size_t n, unsigned seed, int alphabet = 256)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, alphabet - 1);
    std::vector<uint8_t> v(n);
    for (auto &b : v)
        b = static_cast<uint8_t>(byte(rng));
    return v;
}

// Raster-like content: runs of one 4-byte pixel with lengths from 1 to 300 pixels.
std::vector<uint8_t> pixelRuns(std::size_t pixels, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v;
    v.reserve(pixels * 4);
    while (v.size() < pixels * 4) {
        const uint8_t px[4] = {uint8_t(rng()), uint8_t(rng() % 4 == 0 ? 0 : rng()), 0, uint8_t(rng())};
        const std::size_t run = 1 + rng() % 300;
        for (std::size_t i = 0; i < run && v.size() < pixels * 4; ++i)
            v.insert(v.end(), px, px + 4);
    }
    return v;
}

struct Case
{
    const char *name;
    std::vector<uint8_t> data;
};

TEST(LzwEncoder, LibtiffDecodesEveryKindOfStrip)
{
    const std::vector<Case> cases = {
        {"one byte", {42}},
        {"two equal bytes", {7, 7}},
        {"all zero, 1 MiB", std::vector<uint8_t>(1 << 20, 0)},
        {"all 255, odd length", std::vector<uint8_t>(99999, 255)},
        {"random, table refills many times", randomBytes(300000, 1)},
        {"four symbols", randomBytes(200000, 2, 4)},
        {"pixel runs", pixelRuns(120000, 3)},
    };
    LzwEncoder encoder; // one encoder for all: its table must not leak between strips
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(roundTrip(encoder, c.data), c.data);
    }
}

TEST(LzwEncoder, StripEndsAtEveryCodeWidthAndTableState)
{
    // Random bytes add about one table entry per byte, so the lengths of these windows
    // end a strip just before, at and after the 9 > 10 > 11 > 12-bit steps and the full
    // table, where the end-of-information code changes its width.
    const std::vector<uint8_t> source = randomBytes(8300, 4);
    LzwEncoder encoder;
    for (const auto &[from, to] : {std::pair{240, 290}, {490, 530}, {1010, 1050}, {2030, 2070}, {4060, 4120}, {8150, 8300}}) {
        for (int length = from; length <= to; ++length) {
            const std::vector<uint8_t> data(source.begin(), source.begin() + length);
            ASSERT_EQ(roundTrip(encoder, data), data) << "length " << length;
        }
    }
}

TEST(LzwEncoder, PiecesGiveTheSameCodesAsOneCall)
{
    // The writer feeds a strip line by line; where the pieces end must not matter.
    const std::vector<Case> cases = {
        {"random", randomBytes(50000, 6)},
        {"pixel runs", pixelRuns(40000, 7)},
        {"zeros", std::vector<uint8_t>(70000, 0)},
    };
    LzwEncoder encoder;
    for (const Case &c : cases) {
        std::vector<uint8_t> whole;
        encoder.encodeStrip(c.data.data(), c.data.size(), whole);
        for (std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(1000), std::size_t(14028)}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            std::vector<uint8_t> pieces;
            encoder.beginStrip(pieces);
            for (std::size_t at = 0; at < c.data.size(); at += piece)
                encoder.add(c.data.data() + at, std::min(piece, c.data.size() - at));
            encoder.finishStrip();
            EXPECT_EQ(pieces, whole);
        }
    }
}

TEST(LzwEncoder, RunsCompressWell)
{
    LzwEncoder encoder;
    std::size_t zeros = 0, runs = 0;
    EXPECT_EQ(roundTrip(encoder, std::vector<uint8_t>(1 << 20, 0), &zeros).size(), std::size_t(1) << 20);
    const auto raster = pixelRuns(250000, 5);
    roundTrip(encoder, raster, &runs);
    EXPECT_LT(zeros, 4096u) << "a 1 MiB run needs about 1450 codes";
    EXPECT_LT(runs, raster.size() / 4) << "raster runs compress at least 4:1";
}

} // namespace
