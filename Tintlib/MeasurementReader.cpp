// Tintora_ParseFile: the reader of the measurement text (format in README.md).
//
// The reader is strict: a line it does not understand, a value out of range, a text
// too long for its record field or patch data that disagrees with the grid rejects
// the whole file, and the record is left zero-filled. Input size is bounded before
// anything is allocated, and the grid is checked before the patch records are.
#include "MeasurementText.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace
{
using std::string_view;

bool ReadWholeFile(const char* path, std::string& text)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    struct stat st;
    bool ok = ::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= TINTORA_MAX_MEASUREMENT_BYTES;
    if (ok) {
        text.resize(size_t(st.st_size));
        ok = std::fread(text.data(), 1, text.size(), f) == text.size();
    }
    std::fclose(f);
    return ok;
}

// Splits at LF; a CR before the LF (or a lone CR) ends the line too.
std::vector<string_view> SplitLines(string_view text)
{
    std::vector<string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

string_view Trim(string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::vector<string_view> Tokens(string_view s)
{
    std::vector<string_view> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i]))
            ++i;
        size_t start = i;
        while (i < s.size() && !IsBlank(s[i]))
            ++i;
        if (i > start)
            out.push_back(s.substr(start, i - start));
    }
    return out;
}

bool ToInt(string_view s, int32_t& v)
{
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// Locale-independent, so a desktop with a decimal comma reads "12.5" the same.
bool ToDouble(string_view s, double& v)
{
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

template <size_t N>
bool StoreText(char (&field)[N], string_view value)
{
    if (value.size() >= N || value.find('\0') != string_view::npos)
        return false;
    std::memcpy(field, value.data(), value.size());
    field[value.size()] = '\0';
    return true;
}

// "<Name>" at the start of `line`: returns Name, or empty when the line is no tag line.
string_view OpeningTag(string_view line)
{
    if (line.size() < 3 || line[0] != '<' || line[1] == '/')
        return {};
    size_t close = line.find('>');
    if (close == string_view::npos || close == 1)
        return {};
    string_view name = line.substr(1, close - 1);
    for (char c : name)
        if (IsBlank(c) || c == '<')
            return {};
    return name;
}

bool EndsWithClosingTag(string_view line, string_view name, size_t from)
{
    std::string closing = "</" + std::string(name) + ">";
    return line.size() >= from + closing.size() && line.substr(line.size() - closing.size()) == closing;
}

class Reader
{
public:
    explicit Reader(Tintora_target& t) : target(t) {}

    bool Parse(string_view text)
    {
        std::vector<string_view> lines = SplitLines(text);
        bool seenHeader = false;
        bool seenEnd = false;
        for (size_t i = 0; i < lines.size(); ++i) {
            string_view line = lines[i];
            if (seenEnd) {
                if (!Trim(line).empty())
                    return false;
                continue;
            }
            string_view trimmed = Trim(line);
            if (trimmed.empty() || trimmed.front() == '#')
                continue;
            if (string_view name = OpeningTag(line); !name.empty()) {
                if (!TagLines(lines, i, name))
                    return false;
                continue;
            }
            std::vector<string_view> tokens = Tokens(line);
            string_view key = tokens.front();
            if (!seenHeader) {
                int32_t version = 0;
                if (key != tintlib::kHeaderKeyword || tokens.size() != 2 || !ToInt(tokens[1], version) ||
                    version != tintlib::kFormatVersion)
                    return false;
                target.formatVersion = version;
                seenHeader = true;
                continue;
            }
            if (key == "END") {
                if (tokens.size() != 1)
                    return false;
                seenEnd = true;
            } else if (key == "INFO") {
                // Verbatim after the keyword and one blank, so indentation survives.
                string_view rest = line.substr(line.find("INFO") + 4);
                if (!rest.empty() && IsBlank(rest.front()))
                    rest.remove_prefix(1);
                if (!AppendInfo(rest))
                    return false;
            } else if (key == "PATCH") {
                if (!seenGrid || !Patch(tokens))
                    return false;
            } else if (!Keyword(key, line, tokens)) {
                return false;
            }
        }
        return seenHeader && seenEnd && seenGrid && Finish();
    }

private:
    // A tag line, or a tag whose value spans several lines, goes to the information
    // text as written, each line ending with a line feed.
    bool TagLines(const std::vector<string_view>& lines, size_t& i, string_view name)
    {
        size_t from = name.size() + 2;
        for (size_t j = i; j < lines.size(); ++j) {
            if (EndsWithClosingTag(lines[j], name, j == i ? from : 0)) {
                for (size_t k = i; k <= j; ++k)
                    if (!AppendInfo(lines[k]))
                        return false;
                i = j;
                return true;
            }
        }
        return false;
    }

    bool AppendInfo(string_view line)
    {
        if (infoLength + line.size() + 1 >= sizeof(target.infoText) || line.find('\0') != string_view::npos)
            return false;
        std::memcpy(target.infoText + infoLength, line.data(), line.size());
        infoLength += line.size();
        target.infoText[infoLength++] = '\n';
        target.infoText[infoLength] = '\0';
        return true;
    }

    bool Keyword(string_view key, string_view line, const std::vector<string_view>& tokens)
    {
        // Text values: the rest of the line after the keyword, blanks around it dropped.
        string_view value = Trim(line.substr(line.find(key) + key.size()));
        auto once = [&](bool& seen) {
            if (seen)
                return false;
            seen = true;
            return true;
        };
        auto intValue = [&](bool& seen, int32_t& field, int32_t lo, int32_t hi) {
            int32_t v = 0;
            if (!once(seen) || tokens.size() != 2 || !ToInt(tokens[1], v) || v < lo || v > hi)
                return false;
            field = v;
            return true;
        };
        if (key == "LAYOUT")
            return once(seenLayout) && StoreText(target.layoutName, value);
        if (key == "CHART_REFERENCE")
            return once(seenReference) && StoreText(target.referenceFileName, value);
        if (key == "OUTPUT_FILE")
            return once(seenOutput) && StoreText(target.outputFileName, value);
        if (key == "MEASURING_MODE")
            return intValue(seenMode, target.measuringMode, 0, tintlib::kMaxMeasuringMode);
        if (key == "SCAN_MODE")
            return intValue(seenScanMode, target.scanMode, 0, 255);
        if (key == "NEXT_STRIP")
            return intValue(seenNextStrip, target.nextStrip, 0, TINTORA_MAX_PATCHES);
        if (key == "FIRST_POSITION")
            return intValue(seenFirstPosition, target.firstPosition, 0, 1);
        if (key == "GRID")
            return once(seenGrid) && Grid(tokens);
        return false;
    }

    bool Grid(const std::vector<string_view>& tokens)
    {
        int32_t v[4];
        if (tokens.size() != 5)
            return false;
        for (int k = 0; k < 4; ++k)
            if (!ToInt(tokens[size_t(k) + 1], v[k]))
                return false;
        if (!tintlib::GridIsValid(v[0], v[1], v[2], v[3]))
            return false;
        target.patchesPerRow = v[0];
        target.rowsPerStrip = v[1];
        target.patchCount = v[2];
        target.stripCount = v[3];
        return true;
    }

    // PATCH s r c L a b [count v1 ... vcount]
    bool Patch(const std::vector<string_view>& tokens)
    {
        if (tokens.size() < 7)
            return false;
        if (patchLines >= target.patchCount)
            return false;
        if (!target.rows && !Tintora_InitTarget(&target))
            return false;
        int32_t s = 0, r = 0, c = 0;
        if (!ToInt(tokens[1], s) || !ToInt(tokens[2], r) || !ToInt(tokens[3], c))
            return false;
        Tintora_patch* patch = Tintora_PatchAt(&target, s, r, c);
        if (!patch || patch->measured)
            return false;
        double lab[3];
        for (int k = 0; k < 3; ++k)
            if (!ToDouble(tokens[size_t(k) + 4], lab[k]))
                return false;
        int32_t count = 0;
        if (tokens.size() > 7 && (!ToInt(tokens[7], count) || count < 0 || count > TINTORA_MAX_SPECTRAL ||
                                  tokens.size() != size_t(8 + count)))
            return false;
        for (int32_t k = 0; k < count; ++k)
            if (!ToDouble(tokens[size_t(8 + k)], patch->spectrum[k]))
                return false;
        patch->strip = s;
        patch->row = r;
        patch->column = c;
        patch->spectralCount = count;
        patch->L = lab[0];
        patch->a = lab[1];
        patch->b = lab[2];
        patch->measured = 1;
        ++patchLines;
        return true;
    }

    bool Finish()
    {
        // Patch data, when present, must describe exactly the N patches of the grid.
        if (patchLines != 0 && patchLines != target.patchCount)
            return false;
        auto* status = static_cast<int32_t*>(std::calloc(size_t(target.stripCount), sizeof(int32_t)));
        if (!status)
            return false;
        target.stripStatus = status;
        target.stripStatusSize = target.stripCount;
        for (int32_t i = 0; target.rows && i < target.rowTableSize; ++i)
            for (int32_t c = 0; c < target.patchesPerRow; ++c)
                status[i / target.rowsPerStrip] += target.rows[i][c].measured;
        if (!seenMode)
            target.measuringMode = 1;
        return true;
    }

    Tintora_target& target;
    size_t infoLength = 0;
    int32_t patchLines = 0;
    bool seenLayout = false, seenReference = false, seenOutput = false, seenMode = false;
    bool seenScanMode = false, seenNextStrip = false, seenFirstPosition = false, seenGrid = false;
};
}

extern "C" TINTLIB_API int Tintora_ParseFile(Tintora_target* target, const char* path)
{
    if (!target)
        return 0;
    Tintora_FreeTarget(target);
    std::memset(static_cast<void*>(target), 0, sizeof *target);
    bool ok = false;
    try {
        std::string text;
        ok = path && ReadWholeFile(path, text) && Reader(*target).Parse(text);
    } catch (...) {
        ok = false;   // out of memory: reported as a failed parse, never thrown to a C caller
    }
    if (!ok) {
        Tintora_FreeTarget(target);
        std::memset(static_cast<void*>(target), 0, sizeof *target);
        return 0;
    }
    tintlib::StoreMeasuringMode(target->measuringMode);
    return 1;
}
