// TIFF LZW encoder for whole strips.
#include "lzwencoder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kClear = 256;
constexpr uint32_t kEndOfInformation = 257;
constexpr uint32_t kFirstFree = 258;
constexpr int kMinBits = 9;
// A reader resets when the table would reach 4095 entries; the encoder clears one
// entry earlier, as TIFF writers do.
constexpr uint32_t kTableFull = 4094;
constexpr std::size_t kTableSize = std::size_t(256) * 4096;

// Packs codes MSB first into a growing byte buffer.
class BitWriter
{
public:
    explicit BitWriter(std::vector<uint8_t> &out)
        : m_out(out)
    {
        m_out.resize(std::max<std::size_t>(m_out.capacity(), 4096));
    }

    void put(uint32_t code, int bits)
    {
        m_accumulator = (m_accumulator << bits) | code;
        m_count += bits;
        if (m_pos + 8 > m_out.size())
            m_out.resize(m_out.size() * 2);
        while (m_count >= 8) {
            m_count -= 8;
            m_out[m_pos++] = static_cast<uint8_t>(m_accumulator >> m_count);
        }
    }

    // Pads the last byte with zero bits and trims the buffer to what was written.
    void finish()
    {
        if (m_count > 0)
            m_out[m_pos++] = static_cast<uint8_t>(m_accumulator << (8 - m_count));
        m_out.resize(m_pos);
    }

private:
    std::vector<uint8_t> &m_out;
    std::size_t m_pos = 0;
    uint64_t m_accumulator = 0; // fewer than 8 pending bits after each put
    int m_count = 0;
};

} // namespace

LzwEncoder::LzwEncoder()
    : m_table(kTableSize, 0)
{
}

void LzwEncoder::clearTable()
{
    if (++m_generation > 0xFFFF) {
        std::fill(m_table.begin(), m_table.end(), 0u);
        m_generation = 1;
    }
}

void LzwEncoder::encodeStrip(const uint8_t *data, std::size_t size, std::vector<uint8_t> &out)
{
    out.clear();
    BitWriter bits(out);
    int width = kMinBits;
    uint32_t maxCode = (1u << width) - 1;
    uint32_t freeCode = kFirstFree;
    clearTable();
    bits.put(kClear, width);
    if (size == 0) {
        bits.put(kEndOfInformation, width);
        bits.finish();
        return;
    }

    uint32_t *table = m_table.data();
    uint32_t generation = m_generation << 16;
    uint32_t current = data[0];
    for (std::size_t i = 1; i < size; ++i) {
        const uint32_t byte = data[i];
        uint32_t &entry = table[(byte << 12) | current];
        if ((entry & 0xFFFF0000u) == generation) {
            current = entry & 0xFFFFu;
            continue;
        }
        bits.put(current, width);
        entry = generation | freeCode;
        ++freeCode;
        current = byte;
        if (freeCode == kTableFull) {
            bits.put(kClear, width);
            clearTable();
            generation = m_generation << 16;
            width = kMinBits;
            maxCode = (1u << width) - 1;
            freeCode = kFirstFree;
        } else if (freeCode > maxCode) {
            ++width;
            maxCode = (1u << width) - 1;
        }
    }

    // The reader adds one more entry on the last code, which may widen the EOI code.
    bits.put(current, width);
    ++freeCode;
    if (freeCode == kTableFull) {
        bits.put(kClear, width);
        width = kMinBits;
    } else if (freeCode > maxCode) {
        ++width;
    }
    bits.put(kEndOfInformation, width);
    bits.finish();
}
