// LzwEncoder: TIFF LZW (compression 5) for whole strips.
//
// The codes are those every TIFF reader expects: 8-bit literals, Clear = 256 at the start
// of each strip, EOI = 257 at its end, codes packed most significant bit first, the code
// width growing from 9 to 12 bits one code early, and a Clear code when the table holds
// 4094 entries. The string table is a direct [byte][code] array, so a look-up costs one
// load instead of a hash probe. Codes are handed out in the order strings are met, so
// along a run the codes walked are neighbours in memory and the look-ups stay in cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class LzwEncoder
{
public:
    LzwEncoder();

    // Replaces `out` with the encoded strip.
    void encodeStrip(const uint8_t *data, std::size_t size, std::vector<uint8_t> &out);

private:
    void clearTable();

    // [byte << 12 | code]: generation << 16 | code of the extended string. Entries of an
    // older generation are empty, so a Clear code costs no memset.
    std::vector<uint32_t> m_table;
    uint32_t m_generation = 0;
};
