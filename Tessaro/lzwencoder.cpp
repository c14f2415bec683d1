// TIFF LZW encoder, one strip at a time.
#include "lzwencoder.h"

#include <algorithm>

namespace {

constexpr uint32_t kClear = 256;
constexpr uint32_t kEndOfInformation = 257;
constexpr uint32_t kFirstFree = 258;
constexpr int kMinBits = 9;
// A reader resets when the table would reach 4095 entries; the encoder clears one
// entry earlier, as TIFF writers do.
constexpr uint32_t kTableFull = 4094;
constexpr std::size_t kTableSize = std::size_t(256) * 4096;

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
    m_width = kMinBits;
    m_maxCode = (1u << m_width) - 1;
    m_freeCode = kFirstFree;
}

void LzwEncoder::put(uint32_t code, int bits)
{
    m_bits = (m_bits << bits) | code;
    m_bitCount += bits;
    std::vector<uint8_t> &out = *m_out;
    if (m_pos + 8 > out.size())
        out.resize(out.size() * 2);
    while (m_bitCount >= 8) {
        m_bitCount -= 8;
        out[m_pos++] = static_cast<uint8_t>(m_bits >> m_bitCount);
    }
}

void LzwEncoder::beginStrip(std::vector<uint8_t> &out)
{
    m_out = &out;
    out.clear();
    out.resize(std::max<std::size_t>(out.capacity(), 4096));
    m_pos = 0;
    m_bits = 0;
    m_bitCount = 0;
    m_current = -1;
    clearTable();
    put(kClear, m_width);
}

void LzwEncoder::add(const uint8_t *data, std::size_t size)
{
    if (size == 0)
        return;
    std::size_t i = 0;
    if (m_current < 0)
        m_current = data[i++];

    // The loop keeps the state in locals; it goes back to the members at the end.
    uint32_t *table = m_table.data();
    uint32_t generation = m_generation << 16;
    uint32_t current = static_cast<uint32_t>(m_current);
    for (; i < size; ++i) {
        const uint32_t byte = data[i];
        uint32_t &entry = table[(byte << 12) | current];
        if ((entry & 0xFFFF0000u) == generation) {
            current = entry & 0xFFFFu;
            continue;
        }
        put(current, m_width);
        entry = generation | m_freeCode;
        ++m_freeCode;
        current = byte;
        if (m_freeCode == kTableFull) {
            put(kClear, m_width);
            clearTable();
            generation = m_generation << 16;
        } else if (m_freeCode > m_maxCode) {
            ++m_width;
            m_maxCode = (1u << m_width) - 1;
        }
    }
    m_current = static_cast<int32_t>(current);
}

void LzwEncoder::finishStrip()
{
    if (!m_out)
        return;
    if (m_current >= 0) {
        // The reader adds one more entry on the last code, which may widen the EOI code.
        put(static_cast<uint32_t>(m_current), m_width);
        ++m_freeCode;
        if (m_freeCode == kTableFull) {
            put(kClear, m_width);
            m_width = kMinBits;
        } else if (m_freeCode > m_maxCode) {
            ++m_width;
        }
    }
    put(kEndOfInformation, m_width);
    if (m_bitCount > 0)
        (*m_out)[m_pos++] = static_cast<uint8_t>(m_bits << (8 - m_bitCount));
    m_out->resize(m_pos);
    m_bitCount = 0;
    m_out = nullptr;
}

void LzwEncoder::encodeStrip(const uint8_t *data, std::size_t size, std::vector<uint8_t> &out)
{
    beginStrip(out);
    add(data, size);
    finishStrip();
}
