// StringUtil: locale-independent number parsing, splitting, whole-file I/O and the UTF-8
// clean-up that the XML readers run before parsing.
#include "StringUtil.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace StringUtil
{
namespace
{
bool IsAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back()))
        text.remove_suffix(1);
    // from_chars takes no sign of its own other than '-'.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

template <typename T>
T ParseWhole(std::string_view text)
{
    text = Trimmed(text);
    if (text.empty())
        return T(0);
    T value = T(0);
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return T(0);
    return value;
}

// Length of the valid UTF-8 sequence at `p` (1..4), or 0 when it is malformed.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t avail)
{
    unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    std::size_t len;
    unsigned int cp;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07u;
    } else {
        return 0;
    }
    if (avail < len)
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0u) != 0x80u)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    if ((len == 3 && cp < 0x800u) || (len == 4 && cp < 0x10000u) || cp > 0x10FFFFu
        || (cp >= 0xD800u && cp <= 0xDFFFu))
        return 0;
    return len;
}
}   // namespace

std::vector<std::string> Split(std::string_view text, char sep)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t pos = text.find(sep, start);
        if (pos == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, pos - start));
        start = pos + 1;
    }
}

double ParseDouble(std::string_view text) { return ParseWhole<double>(text); }

float ParseFloat(std::string_view text) { return ParseWhole<float>(text); }

bool ReadFile(const char* path, std::string& out)
{
    out.clear();
    if (!path)
        return false;
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        out.append(buffer, n);
        if (n < sizeof buffer) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (!ok)
        out.clear();
    return ok;
}

bool WriteFile(const char* path, std::string_view data)
{
    if (!path)
        return false;
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok)
        std::remove(path);
    return ok;
}

void RepairUtf8(std::string& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        std::size_t len = Utf8SequenceLength(bytes + i, size - i);
        if (len == 0)
            break;
        i += len;
    }
    if (i == size)
        return;

    std::string repaired;
    repaired.reserve(size + 16);
    repaired.append(text, 0, i);
    while (i < size) {
        std::size_t len = Utf8SequenceLength(bytes + i, size - i);
        if (len == 0) {
            repaired += "\xEF\xBF\xBD";
            ++i;
        } else {
            repaired.append(text, i, len);
            i += len;
        }
    }
    text.swap(repaired);
}

bool HasForbiddenXmlControl(std::string_view text)
{
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return true;
    }
    return false;
}
}   // namespace StringUtil
