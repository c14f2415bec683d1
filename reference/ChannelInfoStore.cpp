// ChannelInfoStore: channel-information entries into a ".temp" copy of a CGATS reference,
// and the choice between the CGATS and the CxF3 variant (see ChannelInfoStore.h).
#include "ChannelInfoStore.h"

#include "FileOperations.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace
{
constexpr std::size_t kFirstLinesKept = 4;

std::string G6(double v)
{
    if (!std::isfinite(v))
        v = 0.0;
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return result.ec == std::errc() ? std::string(buf, result.ptr) : std::string("0");
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Lines as separated by LF (a CR before it stays part of the line). An old Mac file with
// CR alone is split at CR, else it would be one line and the entries would land after
// its data.
std::vector<std::string> SplitKeepingEmpty(const std::string& text)
{
    const char sep = (text.find('\n') == std::string::npos && text.find('\r') != std::string::npos) ? '\r' : '\n';
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(sep, start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
}   // namespace

std::string ChannelInfoEntry(const std::string& name, const double lab[3])
{
    return "\"" + name + ",Lab," + G6(lab[0]) + " " + G6(lab[1]) + " " + G6(lab[2]) + " \"";
}

bool StoreChannelInfoCgats(const char* path, const std::vector<std::string>& entries)
{
    if (!path)
        return false;
    const std::string tempPath = std::string(path) + ".temp";
    std::string text;
    if (!FileOperations::ReadWholeFile(path, text)) {
        std::remove(tempPath.c_str());
        return false;
    }

    std::vector<std::string> lines = SplitKeepingEmpty(text);
    std::size_t dataStart = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (StartsWith(lines[i], "BEGIN_DATA")) {
            dataStart = i;
            break;
        }
    }
    std::vector<std::string> kept;
    kept.reserve(lines.size() + entries.size());
    std::size_t keptDataStart = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i < dataStart && (StartsWith(lines[i], "ChannelInfo") || StartsWith(lines[i], "PLUS_")))
            continue;
        if (i == dataStart)
            keptDataStart = kept.size();
        kept.push_back(std::move(lines[i]));
    }
    if (dataStart == lines.size())
        keptDataStart = kept.size();

    // After the first four lines, but never inside the data format or data block of a
    // file with a short header.
    const std::size_t at = std::min({kFirstLinesKept, keptDataStart, kept.size()});
    std::vector<std::string> inserted;
    for (std::size_t i = 0; i < entries.size(); ++i)
        inserted.push_back("ChannelInfo" + std::to_string(i) + "\t" + entries[i] + "\r");
    kept.insert(kept.begin() + static_cast<long>(at), inserted.begin(), inserted.end());

    std::string out;
    out.reserve(text.size() + 64 * entries.size());
    for (const std::string& line : kept) {
        out += line;
        out += '\n';
    }
    if (FileOperations::WriteFileReplacing(tempPath.c_str(), out))
        return true;
    std::remove(tempPath.c_str());
    return false;
}

bool StoreChannelInfo(const char* path, const std::vector<std::string>& entries)
{
    if (!path)
        return false;
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        std::remove((std::string(path) + ".temp").c_str());
        return false;
    }
    std::string first;
    FileOperations::readLine(f, first, 4096);
    std::fclose(f);
    if (StartsWith(first, "\xEF\xBB\xBF"))
        first.erase(0, 3);
    const std::size_t b = first.find_first_not_of(" \t\f\v");
    if (b != std::string::npos && first[b] == '<')
        return StoreChannelInfoCxf(path, entries);
    return StoreChannelInfoCgats(path, entries);
}
