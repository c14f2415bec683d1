// Tintora_WriteFile: writes a record as measurement text that Tintora_ParseFile reads
// back to the same fields (format in README.md).
#include "MeasurementText.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{
// Shortest text that reads back to the same double, independent of the locale.
void AppendDouble(std::string& out, double v)
{
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    out.append(buffer, r.ptr);
}

template <size_t N>
bool FieldIsText(const char (&field)[N])
{
    size_t n = ::strnlen(field, N);
    if (n == N)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (field[i] == '\n' || field[i] == '\r')
            return false;
    return true;
}

void AppendTextLine(std::string& out, const char* key, const char* value)
{
    if (!*value)
        return;
    out += key;
    out += ' ';
    out += value;
    out += '\n';
}

bool Compose(const Tintora_target& t, std::string& out)
{
    if (!tintlib::GridIsValid(t.patchesPerRow, t.rowsPerStrip, t.patchCount, t.stripCount) ||
        !FieldIsText(t.layoutName) || !FieldIsText(t.referenceFileName) || !FieldIsText(t.outputFileName) ||
        ::strnlen(t.infoText, sizeof t.infoText) == sizeof t.infoText || std::strchr(t.infoText, '\r'))
        return false;
    // Text values lose surrounding blanks on reading; refuse what would not read back.
    for (const char* field : {t.layoutName, t.referenceFileName, t.outputFileName}) {
        size_t n = std::strlen(field);
        if (n && (field[0] == ' ' || field[0] == '\t' || field[n - 1] == ' ' || field[n - 1] == '\t'))
            return false;
    }
    out += tintlib::kHeaderKeyword;
    out += ' ' + std::to_string(tintlib::kFormatVersion) + '\n';
    AppendTextLine(out, "LAYOUT", t.layoutName);
    AppendTextLine(out, "CHART_REFERENCE", t.referenceFileName);
    AppendTextLine(out, "OUTPUT_FILE", t.outputFileName);
    for (const char* line = t.infoText; *line;) {
        const char* end = std::strchr(line, '\n');
        size_t n = end ? size_t(end - line) : std::strlen(line);
        out += "INFO ";
        out.append(line, n);
        out += '\n';
        line += end ? n + 1 : n;
    }
    if (t.measuringMode < 0 || t.measuringMode > tintlib::kMaxMeasuringMode || t.firstPosition < 0 ||
        t.firstPosition > 1 || t.scanMode < 0 || t.scanMode > 255 || t.nextStrip < 0 ||
        t.nextStrip > TINTORA_MAX_PATCHES)
        return false;
    out += "MEASURING_MODE " + std::to_string(t.measuringMode) + '\n';
    out += "SCAN_MODE " + std::to_string(t.scanMode) + '\n';
    out += "NEXT_STRIP " + std::to_string(t.nextStrip) + '\n';
    out += "FIRST_POSITION " + std::to_string(t.firstPosition) + '\n';
    out += "GRID " + std::to_string(t.patchesPerRow) + ' ' + std::to_string(t.rowsPerStrip) + ' ' +
           std::to_string(t.patchCount) + ' ' + std::to_string(t.stripCount) + '\n';

    int32_t measured = 0;
    for (int32_t s = 0; s < t.stripCount; ++s)
        for (int32_t r = 0; r < t.rowsPerStrip; ++r)
            for (int32_t c = 0; c < t.patchesPerRow; ++c) {
                const Tintora_patch* p = Tintora_PatchAt(&t, s, r, c);
                if (!p || !p->measured)
                    continue;
                if (p->spectralCount < 0 || p->spectralCount > TINTORA_MAX_SPECTRAL)
                    return false;
                ++measured;
                out += "PATCH " + std::to_string(s) + ' ' + std::to_string(r) + ' ' + std::to_string(c);
                for (double v : {p->L, p->a, p->b}) {
                    out += ' ';
                    AppendDouble(out, v);
                }
                if (p->spectralCount > 0) {
                    out += ' ' + std::to_string(p->spectralCount);
                    for (int32_t k = 0; k < p->spectralCount; ++k) {
                        out += ' ';
                        AppendDouble(out, p->spectrum[k]);
                    }
                }
                out += '\n';
            }
    // The reader takes either no patch data or exactly N patches.
    if (measured != 0 && measured != t.patchCount)
        return false;
    out += "END\n";
    return true;
}
}

extern "C" TINTLIB_API int Tintora_WriteFile(const Tintora_target* target, const char* path)
{
    if (!target || !path)
        return 0;
    try {
        std::string text;
        if (!Compose(*target, text))
            return 0;
        FILE* f = std::fopen(path, "wb");
        if (!f)
            return 0;
        bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        ok = (std::fclose(f) == 0) && ok;
        return ok ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
