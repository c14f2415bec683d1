// CgatsReader: reads a CGATS reference file into ReferenceFileData.
//
// The keyword grammar and the data table are tokenised by the lcms2 IT8 parser; this file
// does what comes before (normalising old-style unquoted values, the header pass for the
// suite's own lines), around (a second, in-memory parse of files whose lines are wrapped
// in quotes) and after it (field assignment, flags, channel colours, sets).
//
// Glossary: extra channel = ink beyond CMYK; channel-information line = header line
// "ChannelInfo<n> ... Lab|RGB ..." carrying a channel's display colour; layout name = the
// patch order named by a "QUORVANE_INFO_4"/"QUORVANE_INFO_DOC" line.
#include "FileOperations.h"
#include "FixedText.h"
#include "ReferenceFileData.h"

#include <lcms2.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr std::size_t kMaxHeaderLine = 1007;
constexpr int kMaxExtraChannels = 11;
const char* const kQuotedKeywords[] = {"CREATED", "DESCRIPTOR", "ORIGINATOR", "MEASUREMENT_SOURCE"};
const char* const kPrimaryNames[4] = {"cyan", "magenta", "yellow", "black"};

// The reader reports through its result only; lcms2's messages are dropped.
void SilentLog(cmsContext, cmsUInt32Number, const char*) {}

struct ParserScope
{
    cmsContext context = nullptr;
    cmsHANDLE it8 = nullptr;
    ~ParserScope()
    {
        if (it8)
            cmsIT8Free(it8);
        if (context)
            cmsDeleteContext(context);
    }
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string Trim(const std::string& s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsSpace(s[b]))
        ++b;
    while (e > b && IsSpace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EqualsIgnoreCase(const std::string& a, const char* b) { return Lower(a) == Lower(b); }

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, std::strlen(prefix), prefix) == 0; }

std::string FirstWord(const std::string& line)
{
    std::size_t b = 0;
    while (b < line.size() && IsBlank(line[b]))
        ++b;
    std::size_t e = b;
    while (e < line.size() && !IsSpace(line[e]))
        ++e;
    return line.substr(b, e - b);
}

// Truncation toward zero without the undefined behaviour of an out-of-range cast.
int ToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

// A reference is text: NUL and other control characters mean a binary file.
bool LooksBinary(const std::string& text)
{
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && c != 0x1a)
            return true;
    }
    return false;
}

// --- Normalisation of old-style header lines ---------------------------------------------

// Puts the value of a CREATED / DESCRIPTOR / ORIGINATOR / MEASUREMENT_SOURCE line between
// double quotes. True when the line changed. Only lines that begin with the keyword as a
// whole word are touched: rebuilding a line from a keyword found after other text would
// drop that text.
bool QuoteKeywordValue(std::string& line)
{
    const char* keyword = nullptr;
    for (const char* k : kQuotedKeywords) {
        const std::size_t n = std::strlen(k);
        if (line.compare(0, n, k) == 0 && (line.size() == n || IsBlank(line[n]))) {
            keyword = k;
            break;
        }
    }
    if (!keyword)
        return false;
    const std::size_t klen = std::strlen(keyword);
    if (line.find('"', klen) != std::string::npos)
        return false;

    std::size_t end = line.size();
    while (end > klen && IsBlank(line[end - 1]))
        --end;
    if (end == klen) {
        // No value: an empty quoted text keeps the parser from taking the next line's
        // keyword as this keyword's value.
        const char separator = line.size() > klen ? line[klen] : ' ';
        line = std::string(keyword) + separator + "\"\"";
        return true;
    }
    // The opening quote goes right after the first blank; further blanks stay inside.
    const std::size_t valueStart = klen + 1;
    std::string out = line.substr(0, valueStart);
    out += '"';
    out.append(line, valueStart, end - valueStart);
    out += '"';
    if (end < line.size())
        out.append(line, end + 1, std::string::npos);
    line = std::move(out);
    return true;
}

enum class Normalisation
{
    Unreadable,    // the file cannot be read
    Unchanged,     // nothing to quote; `content` is the file as it is
    Changed,       // `content` holds the quoted copy; the file is not touched yet
    Replaced,      // the quoted copy took the file's place
    InMemoryOnly   // the quoted copy could not be stored; `content` holds it
};

// Reads the file and quotes old-style values in its header lines (data rows are never
// keyword lines and stay as they are), in memory only.
Normalisation NormaliseOldCgatsText(const char* path, std::string& content)
{
    std::string original;
    if (!FileOperations::ReadWholeFile(path, original))
        return Normalisation::Unreadable;
    // A binary file is never rewritten, whatever its bytes look like.
    if (LooksBinary(original)) {
        content = std::move(original);
        return Normalisation::Unchanged;
    }

    std::vector<std::string> lines = FileOperations::SplitLines(original);
    bool changed = false;
    bool inData = false;
    for (std::string& line : lines) {
        const std::string word = FirstWord(line);
        if (EqualsIgnoreCase(word, "BEGIN_DATA"))
            inData = true;
        else if (EqualsIgnoreCase(word, "END_DATA"))
            inData = false;
        else if (!inData && QuoteKeywordValue(line))
            changed = true;
    }
    if (!changed) {
        content = std::move(original);
        return Normalisation::Unchanged;
    }
    content.clear();
    content.reserve(original.size() + 64);
    for (const std::string& line : lines) {
        content += line;
        content += '\n';
    }
    return Normalisation::Changed;
}

// Stores a quoted copy in the file's place through a unique sibling file and one
// rename(), so the user's file is either the old or the new complete text, never missing
// or partial.
Normalisation StoreNormalised(const char* path, const std::string& content)
{
    return FileOperations::WriteFileReplacing(path, content) ? Normalisation::Replaced : Normalisation::InMemoryOnly;
}

// The normalisation step on its own: the file is rewritten when something changed.
Normalisation NormaliseOldCgats(const char* path, std::string& content)
{
    const Normalisation result = NormaliseOldCgatsText(path, content);
    return result == Normalisation::Changed ? StoreNormalised(path, content) : result;
}

// --- Header pass ---------------------------------------------------------------------------

// Layout name of a "QUORVANE_INFO_4 File_Format=<name>,Patches_X=..." line.
bool LayoutFromInfo4(const std::string& line, std::string& name)
{
    const std::size_t key = line.find("File_Format=");
    if (key == std::string::npos)
        return false;
    const std::size_t start = key + std::strlen("File_Format=");
    std::size_t end;
    const std::size_t patches = line.find("Patches_X=", start);
    if (patches != std::string::npos && patches > start) {
        end = patches - 1;
    } else {
        const std::size_t comma = line.rfind(',');
        if (comma == std::string::npos || comma < start)
            return false;
        end = comma;
    }
    name = line.substr(start, end - start);
    return true;
}

// Layout name of a QUORVANE_INFO_DOC line: the rest after "File_Format=" less its last
// character (the closing quote).
bool LayoutFromInfoDoc(const std::string& line, std::string& name)
{
    const std::size_t key = line.find("File_Format=");
    if (key == std::string::npos)
        return false;
    const std::size_t start = key + std::strlen("File_Format=");
    if (start >= line.size())
        return false;
    name = line.substr(start, line.size() - start - 1);
    return true;
}

std::string FileSuffix(const char* path)
{
    std::string base(path ? path : "");
    const std::size_t slash = base.rfind('/');
    if (slash != std::string::npos)
        base.erase(0, slash + 1);
    const std::size_t dot = base.find('.');
    return dot == std::string::npos ? std::string() : base.substr(dot + 1);
}

bool HeaderPass(ReferenceFileData& d, FILE* file, const std::string& suffix)
{
    d.headerLines.clear();
    std::string line;
    while (FileOperations::readLine(file, line, kMaxHeaderLine)) {
        if (line.empty())
            continue;
        const std::string word = FirstWord(line);
        if (EqualsIgnoreCase(word, "BEGIN_DATA"))
            return true;
        d.headerLines.push_back(line);
        std::string layout;
        bool found = false;
        if (suffix == "lab.txt" && EqualsIgnoreCase(word, "QUORVANE_INFO_4"))
            found = LayoutFromInfo4(line, layout);
        else if (suffix == "desk.ref" && EqualsIgnoreCase(word, "QUORVANE_INFO_DOC"))
            found = LayoutFromInfoDoc(line, layout);
        if (found) {
            CopyFixedText(d.fileFormat, layout.c_str());
            d.hasFileFormat = true;
        }
    }
    return false;
}

// The header pass over text in memory (the converted or unwrapped file).
bool HeaderPassFromText(ReferenceFileData& d, const std::string& text, const char* path)
{
    if (text.empty()) {
        d.headerLines.clear();
        return false;
    }
    FILE* f = ::fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (!f)
        return false;
    const bool ok = HeaderPass(d, f, FileSuffix(path));
    std::fclose(f);
    return ok;
}

// --- In-memory second parse ----------------------------------------------------------------

// Undoes a spreadsheet's quoting: lines wrapped in double quotes lose them and doubled
// quotes inside become single ones. An empty data block ("BEGIN_DATA" directly followed by
// "END_DATA") is dropped, because the parser counts it as one row and rejects a file that
// declares zero sets.
std::string UnwrapQuotedLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (const std::string& raw : FileOperations::SplitLines(text)) {
        std::string line = Trim(raw);
        if (line.empty())
            continue;
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
            line = line.substr(1, line.size() - 2);
            std::string out;
            out.reserve(line.size());
            for (std::size_t i = 0; i < line.size(); ++i) {
                out += line[i];
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"')
                    ++i;
            }
            line = std::move(out);
        }
        lines.push_back(std::move(line));
    }
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size() && EqualsIgnoreCase(FirstWord(lines[i]), "BEGIN_DATA") &&
            EqualsIgnoreCase(FirstWord(lines[i + 1]), "END_DATA")) {
            ++i;
            continue;
        }
        joined += lines[i];
        joined += '\n';
    }
    return joined;
}

cmsHANDLE LoadFromText(cmsContext context, const std::string& text)
{
    if (text.empty() || text.size() > FileOperations::kMaxFileBytes)
        return nullptr;
    return cmsIT8LoadFromMem(context, text.data(), static_cast<cmsUInt32Number>(text.size()));
}

// --- Working around the parser's tokeniser ---------------------------------------------
//
// The IT8 tokeniser of lcms2 2.14 glues an identifier that starts with a digit ("6CLR_1",
// a sample name "1A1") to the text of the identifier read before it, and keeps growing
// that text row by row. Field names are therefore taken from the data format block of the
// text itself, and such data cells are quoted before the text reaches the parser.

// A whole number token as the parser reads it: sign, digits, fraction, exponent.
bool IsNumberToken(const std::string& t)
{
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    return i == t.size();
}

bool StartsLikeNumber(const std::string& t)
{
    if (t.empty())
        return false;
    const char c = t[0];
    if (t.size() > 1 && c == '0' && (t[1] == 'x' || t[1] == 'X' || t[1] == 'b' || t[1] == 'B'))
        return false;   // hexadecimal and binary numbers are the parser's own
    return std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

// Blank-separated tokens of a line, quoted tokens kept whole with their quotes; a '#'
// outside quotes starts a comment that ends the line.
std::vector<std::string> Tokens(const std::string& line, std::string* comment = nullptr)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i]))
            ++i;
        if (i >= line.size())
            break;
        if (line[i] == '#') {
            if (comment)
                *comment = line.substr(i);
            break;
        }
        const std::size_t start = i;
        if (line[i] == '"' || line[i] == '\'') {
            const char q = line[i++];
            while (i < line.size() && line[i] != q)
                ++i;
            if (i < line.size())
                ++i;
        } else {
            while (i < line.size() && !IsSpace(line[i]))
                ++i;
        }
        tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

// The tokeniser also hands back the previous text for an empty quoted cell (""); such cells
// are replaced by this one-character text, read back as empty.
const char kEmptyCell[] = "\x1f";

// Quotes the data cells the tokeniser would misread. Returns `text` unchanged (and
// `changed` false) when it has none.
std::string QuoteDigitLedCells(const std::string& text, bool& changed)
{
    changed = false;
    std::vector<std::string> lines = FileOperations::SplitLines(text);
    bool inData = false;
    for (std::string& line : lines) {
        const std::string word = FirstWord(line);
        if (EqualsIgnoreCase(word, "BEGIN_DATA")) {
            inData = true;
            continue;
        }
        if (EqualsIgnoreCase(word, "END_DATA")) {
            inData = false;
            continue;
        }
        if (!inData)
            continue;
        std::string comment;
        std::vector<std::string> cells = Tokens(line, &comment);
        bool lineChanged = false;
        for (std::string& cell : cells) {
            if (cell == "\"\"" || cell == "''") {
                cell = std::string("\"") + kEmptyCell + "\"";
                lineChanged = true;
            } else if (StartsLikeNumber(cell) && !IsNumberToken(cell)) {
                cell = "\"" + cell + "\"";
                lineChanged = true;
            }
        }
        if (!lineChanged)
            continue;
        std::string rebuilt;
        for (const std::string& cell : cells)
            rebuilt += (rebuilt.empty() ? "" : "\t") + cell;
        if (!comment.empty())
            rebuilt += " " + comment;
        line = std::move(rebuilt);
        changed = true;
    }
    if (!changed)
        return text;
    std::string out;
    out.reserve(text.size() + 64);
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return out;
}

// Field names of the first data format block of `text`, quotes removed.
std::vector<std::string> DataFormatNames(const std::string& text)
{
    std::vector<std::string> names;
    bool inFormat = false;
    for (const std::string& line : FileOperations::SplitLines(text)) {
        std::vector<std::string> tokens = Tokens(line);
        std::size_t k = 0;
        if (!inFormat) {
            if (tokens.empty() || !EqualsIgnoreCase(tokens[0], "BEGIN_DATA_FORMAT"))
                continue;
            inFormat = true;
            k = 1;
        }
        for (; k < tokens.size(); ++k) {
            if (EqualsIgnoreCase(tokens[k], "END_DATA_FORMAT"))
                return names;
            std::string t = tokens[k];
            if (t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front())
                t = t.substr(1, t.size() - 2);
            names.push_back(t);
        }
    }
    return names;
}

// A property's text. A value written as "" in the header reads as empty (the tokeniser
// would hand back the text read before it).
const char* PropertyText(cmsHANDLE it8, const std::vector<std::string>& headerLines, const char* key)
{
    const char* value = cmsIT8GetProperty(it8, key);
    if (!value)
        return nullptr;
    for (auto it = headerLines.rbegin(); it != headerLines.rend(); ++it) {
        const std::vector<std::string> tokens = Tokens(*it);
        if (tokens.size() >= 1 && tokens[0] == key)
            return (tokens.size() >= 2 && (tokens[1] == "\"\"" || tokens[1] == "''")) ? "" : value;
    }
    return value;
}


// --- Field assignment ----------------------------------------------------------------------

struct FieldMap
{
    int rgb[3] = {-1, -1, -1};
    int cmyk[4] = {-1, -1, -1, -1};
    int lab[3] = {-1, -1, -1};
    int xyz[3] = {-1, -1, -1};
    int gray = -1;
    int id = -1;
    int name = -1;
    int locX = -1;
    int locY = -1;
    int page = -1;
    int spectral = -1;
    std::vector<int> extra;   // field index of each extra channel, in channel order
};

// Fields that take their slot by name. True when `name` is one of them.
bool TakeNamedField(FieldMap& m, const std::string& name, int i)
{
    struct Slot
    {
        const char* name;
        int* slot;
    };
    const Slot slots[] = {
        {"RGB_R", &m.rgb[0]},      {"RGB_G", &m.rgb[1]},        {"RGB_B", &m.rgb[2]},       {"CMYK_C", &m.cmyk[0]},
        {"CMYK_M", &m.cmyk[1]},    {"CMYK_Y", &m.cmyk[2]},      {"CMYK_K", &m.cmyk[3]},     {"LAB_L", &m.lab[0]},
        {"LAB_A", &m.lab[1]},      {"LAB_B", &m.lab[2]},        {"XYZ_X", &m.xyz[0]},       {"XYZ_Y", &m.xyz[1]},
        {"XYZ_Z", &m.xyz[2]},      {"GRAY", &m.gray},           {"SAMPLE_ID", &m.id},       {"SampleID", &m.id},
        {"Sample_Id", &m.id},      {"SAMPLE_NAME", &m.name},    {"Sample_Name", &m.name},   {"SAMPLE_LOC", &m.name},
        {"LOC_X", &m.locX},        {"LOC_Y", &m.locY},          {"PAGE", &m.page},
    };
    for (const Slot& s : slots) {
        if (name == s.name) {
            *s.slot = i;
            return true;
        }
    }
    if (StartsWith(name, "SPECTRAL_")) {
        if (m.spectral < 0)
            m.spectral = i;
        return true;
    }
    return false;
}

void AddExtra(FieldMap& m, int i)
{
    if (static_cast<int>(m.extra.size()) < kMaxExtraChannels)
        m.extra.push_back(i);
}

// The application takes four consecutive fields as CMYK when the header says the file is
// CMYK plus extra inks: its first four channel-information lines name the primaries in
// order, or it has a "PLUS_" line.
bool HeaderImpliesCmyk(const std::vector<std::string>& headerLines)
{
    int matched = 0;
    bool primariesInOrder = false;
    for (const std::string& line : headerLines) {
        if (StartsWith(line, "PLUS_"))
            return true;
        if (matched < 4 && IsChannelInfoLine(line)) {
            if (Lower(line).find(kPrimaryNames[matched]) == std::string::npos) {
                matched = 5;   // out of order: rule (a) cannot hold any more
                continue;
            }
            ++matched;
            primariesInOrder = matched == 4;
        }
    }
    return primariesInOrder;
}

void AssignApplicationRule(FieldMap& m, const std::vector<std::string>& names, ReferenceFileData& d)
{
    const bool assumeCmyk = HeaderImpliesCmyk(d.headerLines);
    int start = 0;
    if (assumeCmyk) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i].find('1') != std::string::npos || names[i].find("CMYK_C") != std::string::npos) {
                start = static_cast<int>(i);
                break;
            }
        }
    }
    int assumed[4] = {-1, -1, -1, -1};
    for (std::size_t f = 0; f < names.size(); ++f) {
        const int i = static_cast<int>(f);
        const std::string& name = names[f];
        if (name.find("CLR_") != std::string::npos)
            d.nColorFieldPattern = "%1CLR_";
        if (name.find("PC") != std::string::npos)
            d.nColorFieldPattern = "PC%1_";
        if (TakeNamedField(m, name, i))
            continue;
        if (assumeCmyk) {
            if (i < start)
                continue;
            if (i < start + 4) {
                assumed[i - start] = i;
                continue;
            }
        }
        AddExtra(m, i);
    }
    // Named CMYK_ fields win over the assumed positions.
    for (int k = 0; k < 4; ++k) {
        if (m.cmyk[k] < 0)
            m.cmyk[k] = assumed[k];
    }
}

void AssignReportLibraryRule(FieldMap& m, const std::vector<std::string>& names)
{
    for (std::size_t f = 0; f < names.size(); ++f) {
        const int i = static_cast<int>(f);
        const std::string& name = names[f];
        if (TakeNamedField(m, name, i))
            continue;
        if (name.size() >= 6 && name.compare(1, 4, "CLR_") == 0 && name[5] >= '1' && name[5] <= '4') {
            m.cmyk[name[5] - '1'] = i;
            continue;
        }
        AddExtra(m, i);
    }
}

bool AllFound(const int* slots, int n)
{
    for (int i = 0; i < n; ++i) {
        if (slots[i] < 0)
            return false;
    }
    return true;
}

// True when channel-information `line` is the one of device channel `key`
// ("ChannelInfo1" must not pick up the line of "ChannelInfo12").
bool LineHasKey(const std::string& line, const std::string& key)
{
    return StartsWith(line, key.c_str()) &&
           (line.size() == key.size() || !std::isdigit(static_cast<unsigned char>(line[key.size()])));
}
}   // namespace

bool ReferenceFileData::loadReferenceFileData(void* userData, const char* path, bool arrange)
{
    arrangeByLayout = arrange;
    CopyFixedText(fileName, path);
    if (!path)
        return false;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::string first;
    const bool haveLine = FileOperations::readLine(f, first, 4096);
    std::fclose(f);

    if (IsApplication() && haveLine) {
        if (StartsWith(first, "\xEF\xBB\xBF"))
            first.erase(0, 3);
        const std::string probe = Lower(Trim(first));
        if (!probe.empty() && probe[0] == '<')
            return loadCXFFileData(path, nullptr);
    }
    return loadCgatsFileData(userData, path);
}

bool ReferenceFileData::convertOldCgatsFormat(const char* path)
{
    std::string content;
    const Normalisation result = NormaliseOldCgats(path, content);
    return result == Normalisation::Unchanged || result == Normalisation::Replaced;
}

bool ReferenceFileData::loadCgatsHeaderData(const char* path)
{
    headerLines.clear();
    FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f)
        return false;
    const bool ok = HeaderPass(*this, f, FileSuffix(path));
    std::fclose(f);
    return ok;
}

bool ReferenceFileData::loadCgatsFileData(void* userData, const char* path)
{
    if (!path)
        return false;
    // An old-style file is read from its quoted copy in memory. The copy replaces the file
    // only once the load has succeeded, so a file that fails to load stays as it was; when
    // the copy cannot be stored (read-only folder) the file stays as it was too.
    std::string content;
    const Normalisation normalised = NormaliseOldCgatsText(path, content);
    if (normalised == Normalisation::Unreadable)
        return false;
    const bool fromMemory = normalised == Normalisation::Changed;
    if (fromMemory)
        HeaderPassFromText(*this, content, path);
    else
        loadCgatsHeaderData(path);

    if (LooksBinary(content))
        return false;

    ParserScope parser;
    parser.context = cmsCreateContext(nullptr, userData);
    if (!parser.context)
        return false;
    cmsSetLogErrorHandlerTHR(parser.context, SilentLog);
    bool quoted = false;
    std::string parsedText = QuoteDigitLedCells(content, quoted);
    if (fromMemory || quoted)
        parser.it8 = LoadFromText(parser.context, parsedText);
    else
        parser.it8 = cmsIT8LoadFromFile(parser.context, path);
    if (!parser.it8) {
        const std::string unwrapped = UnwrapQuotedLines(content);
        parsedText = QuoteDigitLedCells(unwrapped, quoted);
        parser.it8 = LoadFromText(parser.context, parsedText);
        if (!parser.it8)
            return false;
        // The header lines of a quoted file are its unwrapped lines.
        HeaderPassFromText(*this, unwrapped, path);
    }
    cmsHANDLE it8 = parser.it8;

    // Field assignment.
    char** sampleNames = nullptr;
    const int fieldCount = std::max(cmsIT8EnumDataFormat(it8, &sampleNames), 0);
    std::vector<std::string> names = DataFormatNames(parsedText);
    if (static_cast<int>(names.size()) != fieldCount) {
        names.clear();
        for (int i = 0; i < fieldCount; ++i)
            names.emplace_back(sampleNames && sampleNames[i] ? sampleNames[i] : "");
    }
    FieldMap m;
    if (IsApplication())
        AssignApplicationRule(m, names, *this);
    else
        AssignReportLibraryRule(m, names);

    // Flags.
    extraChannelCount = static_cast<int32_t>(m.extra.size());
    for (std::size_t k = 0; k < m.extra.size(); ++k)
        channelNames[k] = names[static_cast<std::size_t>(m.extra[k])];
    isRGB = AllFound(m.rgb, 3);
    isCMYK = AllFound(m.cmyk, 4);
    hasLab = AllFound(m.lab, 3);
    hasXYZ = AllFound(m.xyz, 3);
    hasGray = m.gray >= 0;
    hasSampleID = m.id >= 0;
    hasSampleName = m.name >= 0;
    hasPage = m.page >= 0;
    hasLocation = m.locX >= 0 && m.locY >= 0;

    // Channel colours.
    SetCMYKLabDefs();
    if (IsApplication())
        LoadChannelInfoLabValues();
    GetLabValuesExtraChannelsFromCgatsFileData(it8);

    // Properties.
    CopyFixedText(targetText, PropertyText(it8, headerLines, "TARGET"));
    CopyFixedText(created, PropertyText(it8, headerLines, "CREATED"));
    CopyFixedText(descriptor, PropertyText(it8, headerLines, "DESCRIPTOR"));
    CopyFixedText(originator, PropertyText(it8, headerLines, "ORIGINATOR"));
    const char* declared = cmsIT8GetProperty(it8, "NUMBER_OF_SETS");
    if (declared && !IsNumberToken(Trim(declared)))
        return false;
    const int rowCount = std::max(ToInt(cmsIT8GetPropertyDbl(it8, "NUMBER_OF_SETS")), 0);
    lgoRowLength = ToInt(cmsIT8GetPropertyDbl(it8, "LGOROWLENGTH"));

    // A table with fewer complete rows than it declares is truncated: rejected as a whole
    // rather than read as rows of zeros. The first missing cell ends the check, so an
    // absurd NUMBER_OF_SETS costs nothing.
    if (rowCount > 0 && fieldCount == 0)
        return false;
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < fieldCount; ++c) {
            if (!cmsIT8GetDataRowCol(it8, r, c))
                return false;
        }
    }

    // Sets.
    const int spectralCount = ::SpectralCount(GetFlavour());
    auto value = [it8](int row, int col) { return cmsIT8GetDataRowColDbl(it8, row, col); };
    for (int r = 0; r < rowCount; ++r) {
        auto set = std::make_unique<ReferenceFileSet>(this, r, false);
        if (m.id >= 0)
            set->SetOldID(ToInt(value(r, m.id)));
        if (m.name >= 0) {
            const char* name = cmsIT8GetDataRowCol(it8, r, m.name);
            set->SetOldName(name && std::strcmp(name, kEmptyCell) != 0 ? name : "");
        }
        if (hasLocation) {
            const int xy[2] = {ToInt(value(r, m.locX)), ToInt(value(r, m.locY))};
            set->SetLocation(xy);
        }
        if (m.page >= 0)
            set->SetPage(ToInt(value(r, m.page)));
        if (isRGB) {
            const double v[3] = {value(r, m.rgb[0]), value(r, m.rgb[1]), value(r, m.rgb[2])};
            set->SetRGB(v);
        }
        if (isCMYK) {
            const double v[4] = {value(r, m.cmyk[0]), value(r, m.cmyk[1]), value(r, m.cmyk[2]), value(r, m.cmyk[3])};
            set->SetCMYK(v);
        }
        if (hasLab) {
            const double v[3] = {value(r, m.lab[0]), value(r, m.lab[1]), value(r, m.lab[2])};
            set->SetLAB(v);
        }
        if (hasXYZ) {
            const double v[3] = {value(r, m.xyz[0]), value(r, m.xyz[1]), value(r, m.xyz[2])};
            set->SetXYZ(v);
        }
        if (hasGray)
            set->SetGray(value(r, m.gray));
        if (extraChannelCount > 0) {
            double v[kMaxChannels] = {};
            for (std::size_t k = 0; k < m.extra.size(); ++k)
                v[k] = value(r, m.extra[k]);
            set->SetNColor(v);
        }
        if (m.spectral >= 0) {
            // The spectrum runs over consecutive SPECTRAL_ fields; slots the file does not
            // fill (a 36-value file read by the application) stay 0 instead of taking the
            // values of whatever fields follow.
            double v[ReferenceFileSet::kMaxSpectral] = {};
            for (int j = 0; j < spectralCount; ++j) {
                const int col = m.spectral + j;
                if (col >= fieldCount || !StartsWith(names[static_cast<std::size_t>(col)], "SPECTRAL_"))
                    break;
                v[j] = value(r, col);
            }
            set->SetSpectral(v);
        }
        sets.push_back(std::move(set));
    }

    if (fromMemory)
        StoreNormalised(path, content);
    if (IsApplication() && computeLabOnLoad)
        InitLab();
    return true;
}

void ReferenceFileData::LoadChannelInfoLabValues()
{
    // Keys 0-3 of a CMYK file belong to the primaries (SetCMYKLabDefs). Only keys of
    // channels the file has are read: lines for further channels would invent channels.
    const int first = isCMYK ? 4 : 0;
    const int channels = std::clamp(extraChannelCount, 0, kMaxChannels);
    for (int n = first; n < first + channels; ++n) {
        const std::string key = "ChannelInfo" + std::to_string(n);
        const std::string* found = nullptr;
        for (const std::string& line : headerLines) {
            if (LineHasKey(line, key) && IsChannelInfoLine(line))
                found = &line;
        }
        if (!found)
            break;
        std::vector<std::string> tokens;
        if (ParseChannelInfoLine(*found, tokens) && AddColorValue(tokens, n - first))
            hasChannelInfo = true;
    }
}

void ReferenceFileData::GetLabValuesExtraChannelsFromCgatsFileData(void* parsedFile)
{
    cmsHANDLE it8 = static_cast<cmsHANDLE>(parsedFile);
    if (!it8)
        return;
    const int channels = std::clamp(extraChannelCount, 0, kMaxChannels);
    for (int k = 0; k < channels; ++k) {
        const std::string key = "PLUS_" + std::to_string(k + 1) + "_COLOR";
        const char* text = PropertyText(it8, headerLines, key.c_str());
        if (!text || !*text)
            continue;
        std::vector<std::string> tokens;
        std::string part;
        for (const char* p = text;; ++p) {
            if (*p == '|' || *p == '\0') {
                tokens.push_back(Trim(part));
                part.clear();
                if (*p == '\0')
                    break;
            } else {
                part += *p;
            }
        }
        AddColorValue(tokens, k);
    }
}
