// LzwEncoder: TIFF LZW (compression 5), one strip at a time.
//
// The codes are those every TIFF reader expects: 8-bit literals, Clear = 256 at the start
// of each strip, EOI = 257 at its end, codes packed most significant bit first, the code
// width growing from 9 to 12 bits one code early, and a Clear code when the table holds
// 4094 entries. The string table is a direct [byte][code] array, so a look-up costs one
// load instead of a hash probe. Codes are handed out in the order strings are met, so
// along a run the codes walked are neighbours in memory and the look-ups stay in cache.
//
// A strip is fed in pieces (the lines of a page as they are made), so the uncompressed
// strip is never held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class LzwEncoder
{
public:
    LzwEncoder();

    // Starts a strip whose codes go to `out` (cleared first); `out` must outlive the strip.
    void beginStrip(std::vector<uint8_t> &out);
    void add(const uint8_t *data, std::size_t size);
    // Ends the strip: last code, EOI, and the last byte padded with zero bits.
    void finishStrip();

    // The three steps for one piece of data.
    void encodeStrip(const uint8_t *data, std::size_t size, std::vector<uint8_t> &out);

private:
    void clearTable();
    void put(uint32_t code, int bits);

    // [byte << 12 | code]: generation << 16 | code of the extended string. Entries of an
    // older generation are empty, so a Clear code costs no memset.
    std::vector<uint32_t> m_table;
    uint32_t m_generation = 0;

    // State of the strip being encoded.
    std::vector<uint8_t> *m_out = nullptr;
    std::size_t m_pos = 0;         // bytes of *m_out written
    uint64_t m_bits = 0;           // fewer than 8 pending bits after each put
    int m_bitCount = 0;
    int m_width = 9;
    uint32_t m_maxCode = 511;
    uint32_t m_freeCode = 258;
    int32_t m_current = -1;        // code of the string matched so far; -1 before the first byte
};
