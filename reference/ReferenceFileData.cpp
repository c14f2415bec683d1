// ReferenceFileData: the model operations of one loaded reference (set list, ordering,
// verification frame, set names, colorant table, black channel, layout look-ups).
// The readers live in CgatsReader.cpp and CxfReader.cpp.
//
// Glossary: verification set = white or dark patch the model adds around the pages,
// never reordered; frame = ring of verification sets on the border cells of each page;
// colorant table = Lab of every device channel, CMYK primaries first for a CMYK file.
#include "ReferenceFileData.h"

#include "ColorUtil.h"
#include "GFileFormatTool.h"
#include "LabToSpectralUtil.h"
#include "StringUtil.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
const char* const kPrimaryNames[4] = {"Cyan", "Magenta", "Yellow", "Black"};

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string Trim(const std::string& s)
{
    const char* ws = " \t\r\n\f\v";
    const std::size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos)
        return std::string();
    const std::size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

// atoi semantics without its undefined overflow: leading integer, 0 when none.
int ParseLeadingInt(const std::string& s)
{
    const char* p = s.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    char* end = nullptr;
    const long v = std::strtol(p, &end, 10);
    if (end == p)
        return 0;
    return static_cast<int>(std::clamp<long>(v, INT_MIN, INT_MAX));
}

// Spreadsheet-column letters for n >= 1: 1 -> A, 26 -> Z, 27 -> AA, 702 -> ZZ, 703 -> AAA.
std::string RowLetters(long n)
{
    std::string letters;
    while (n > 0) {
        --n;
        letters.insert(letters.begin(), static_cast<char>('A' + n % 26));
        n /= 26;
    }
    return letters;
}

void InsertAt(std::vector<std::unique_ptr<ReferenceFileSet>>& sets, long position,
              std::unique_ptr<ReferenceFileSet> set)
{
    if (position < 0)
        position = 0;
    if (position >= static_cast<long>(sets.size()))
        sets.push_back(std::move(set));
    else
        sets.insert(sets.begin() + position, std::move(set));
}
} // namespace

bool IsChannelInfoLine(const std::string& line)
{
    return StartsWith(line, "ChannelInfo") &&
           (line.find("Lab") != std::string::npos || line.find("RGB") != std::string::npos);
}

bool ParseChannelInfoLine(const std::string& line, std::vector<std::string>& tokens)
{
    if (!IsChannelInfoLine(line))
        return false;
    const bool isLab = line.find("Lab") != std::string::npos;
    const std::size_t kindPos = line.find(isLab ? "Lab" : "RGB");

    // Values: after the kind and its separator, trimmed, quotes removed, single blanks.
    std::string rest = kindPos + 4 <= line.size() ? line.substr(kindPos + 4) : std::string();
    rest = Trim(rest);
    rest.erase(std::remove(rest.begin(), rest.end(), '"'), rest.end());
    std::vector<std::string> values;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t blank = rest.find(' ', start);
        if (blank == std::string::npos) {
            values.push_back(rest.substr(start));
            break;
        }
        values.push_back(rest.substr(start, blank - start));
        start = blank + 1;
    }
    if (values.size() < 3)
        return false;

    std::string v[3] = {values[0], values[1], values[2]};
    if (!isLab) {
        const double rgb[3] = {StringUtil::ParseDouble(v[0]), StringUtil::ParseDouble(v[1]), StringUtil::ParseDouble(v[2])};
        double lab[3];
        if (!ColorUtil::RGBtoLab(rgb, lab))
            return false;
        for (int i = 0; i < 3; ++i) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.6g", lab[i]);
            v[i] = buf;
        }
    }

    // Name: after the first double quote, up to the character before the kind (normally
    // the comma).
    std::string name;
    const std::size_t quote = line.find('"');
    if (quote != std::string::npos && kindPos > quote + 1)
        name = line.substr(quote + 1, kindPos - 1 - (quote + 1));
    if (name.empty())
        name = "Dummy";

    tokens = {name, v[0], v[1], v[2]};
    return true;
}

ReferenceFileData::ReferenceFileData(ReferenceFlavour flavour_) : flavour(flavour_) {}

// Sets, names, triples and the spectral model are all owned by value or smart pointer.
ReferenceFileData::~ReferenceFileData() = default;

// ---------------------------------------------------------------------------------------
// Set list

ReferenceFileSet* ReferenceFileData::FindSetByIndex(int index) const
{
    for (const auto& s : sets)
        if (s->GetIndex() == index)
            return s.get();
    return nullptr;
}

void ReferenceFileData::AddFileSet(ReferenceFileSet* set, int position)
{
    if (!set)
        return;
    InsertAt(sets, position, std::unique_ptr<ReferenceFileSet>(set));
}

void ReferenceFileData::AppendSet(ReferenceFileSet* set)
{
    if (set)
        sets.emplace_back(set);
}

bool ReferenceFileData::RemoveFileSet(int index)
{
    for (auto it = sets.begin(); it != sets.end(); ++it) {
        if ((*it)->GetIndex() == index) {
            sets.erase(it);
            return true;
        }
    }
    return false;
}

int ReferenceFileData::GetMaxSetsID() const
{
    int maxId = -1;
    for (const auto& s : sets)
        maxId = std::max(maxId, s->GetIndex());
    return maxId;
}

void ReferenceFileData::ResetPrintOrder(int count)
{
    if (count <= 0)
        count = GetSetCount();
    printOrder.assign(static_cast<std::size_t>(count), -1);
}

// ---------------------------------------------------------------------------------------
// Ordering

void ReferenceFileData::BubbleSort()
{
    const std::size_t n = sets.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (sets[i]->idxInFile == -1)
            continue;
        for (std::size_t j = i; j < n; ++j) {
            if (sets[j]->idxInFile != -1 && sets[j]->idxInFile < sets[i]->idxInFile)
                std::swap(sets[i], sets[j]);
        }
    }
}

void ReferenceFileData::RandomizeData(bool random)
{
    if (!random) {
        BubbleSort();
        return;
    }
    // Re-seeded on every call so a given list always yields the same order.
    std::srand(543219876u);
    const int n = GetSetCount();
    for (int i = 0; i < n; ++i) {
        if (sets[i]->isVerification)
            continue;
        int j;
        do {
            j = std::rand() % n;
        } while (sets[j]->isVerification);
        std::swap(sets[i], sets[j]);
    }
}

// ---------------------------------------------------------------------------------------
// Verification patches

ReferenceFileSet* ReferenceFileData::CreateVerificationSet(bool white)
{
    auto* set = new ReferenceFileSet(this, -1, true);
    if (isCMYK || extraChannelCount > 0) {
        const double cmyk[4] = {white ? 0.0 : 60.0, white ? 0.0 : 50.0, white ? 0.0 : 50.0, white ? 0.0 : 45.0};
        set->SetCMYK(cmyk);
        if (extraChannelCount > 0) {
            const double zeros[kMaxChannels] = {};
            set->SetNColor(zeros);
        }
    } else if (isRGB) {
        const double v = white ? 255.0 : 0.0;
        const double rgb[3] = {v, v, v};
        set->SetRGB(rgb);
    }
    return set;
}

void ReferenceFileData::AddVerificationFrame(bool enable, int columns, int rows, int pages)
{
    verificationFrame = enable;
    if (!enable)
        return;

    sets.erase(std::remove_if(sets.begin(), sets.end(), [](const auto& s) { return s->isVerification; }),
               sets.end());
    frameColumns = columns;
    frameRows = rows;
    // A frame needs at least two columns and two rows, otherwise its left and right (or
    // top and bottom) patches would share cells.
    if (columns < 2 || rows < 2 || pages < 1)
        return;

    const long inner = static_cast<long>(columns - 2) * (rows - 2) * pages;
    for (long n = inner - static_cast<long>(sets.size()); n > 0; --n)
        sets.emplace_back(CreateVerificationSet(true));

    auto put = [this](long position, bool white) {
        InsertAt(sets, position, std::unique_ptr<ReferenceFileSet>(CreateVerificationSet(white)));
    };
    const bool oddColumns = columns % 2 == 1;
    const bool oddRows = rows % 2 == 1;
    for (int p = 0; p < pages; ++p) {
        const long base = static_cast<long>(p) * columns * rows;
        // Top row: alternate, but repeat the colour after the middle patch of an odd row
        // so that the pattern stays symmetric.
        bool white = true;
        for (int k = 0; k < columns; ++k) {
            put(base + k, white);
            if (!(oddColumns && k == columns / 2))
                white = !white;
        }
        bool f = white;
        for (int r = 1; r <= rows - 2; ++r) {
            put(base + static_cast<long>(r) * columns, !f);
            if (!(oddRows && r - 1 == (rows - 2) / 2))
                f = !f;
            put(base + static_cast<long>(r) * columns + columns - 1, !f);
        }
        white = !f;
        for (int k = 0; k < columns; ++k) {
            put(base + static_cast<long>(rows - 1) * columns + k, white);
            if (!(oddColumns && k == columns / 2))
                white = !white;
        }
    }
}

// ---------------------------------------------------------------------------------------
// Saving support

void ReferenceFileData::setSaveOptions(bool flag0, bool flag1, bool flag2, int columns, int rows)
{
    saveFlags[0] = flag0;
    saveFlags[1] = flag1;
    saveFlags[2] = flag2;
    setColumns = columns;
    setRows = rows;
}

std::string ReferenceFileData::SetName(int index, int page) const
{
    // Without a grid (columns or rows not set) the whole page is one row.
    const long perPage = (setColumns > 0 && setRows > 0) ? static_cast<long>(setColumns) * setRows : 0;
    const long p = static_cast<long>(index) - static_cast<long>(page) * perPage;
    const long columns = setColumns > 0 ? setColumns : std::max(p + 1, 1L);
    const long row = p >= 0 ? p / columns : 0;
    const long column = p >= 0 ? p % columns : p;
    return std::to_string(static_cast<long>(page) + 1) + RowLetters(row + 1) + std::to_string(column + 1);
}

char* ReferenceFileData::CreateSetName(int index, int page) const
{
    const std::string name = SetName(index, page);
    char* text = new char[name.size() + 1];
    std::memcpy(text, name.c_str(), name.size() + 1);
    return text;
}

int ReferenceFileData::GetNumberOfFields() const
{
    int n = 0;
    n += hasSampleName ? 1 : 0;
    n += hasSampleID ? 1 : 0;
    n += (hasGray && saveGray) ? 1 : 0;
    n += hasPage ? 1 : 0;
    n += hasLocation ? 2 : 0;
    n += (isRGB && saveRGB) ? 3 : 0;
    n += (isCMYK && saveCMYK) ? 4 : 0;
    n += (hasLab && saveLab) ? 3 : 0;
    n += (hasXYZ && saveXYZ) ? 3 : 0;
    n += saveNColor ? std::max(extraChannelCount, 0) : 0;
    return n;
}

// ---------------------------------------------------------------------------------------
// Colour information

bool ReferenceFileData::InitLab()
{
    if (hasLab)
        return true;
    if (isRGB) {
        for (auto& s : sets)
            s->SetLabFromRGB();
    } else if (isCMYK) {
        for (auto& s : sets)
            s->SetLabFromCMYK();
    } else if (hasXYZ) {
        for (auto& s : sets)
            s->SetLabFromXYZ();
    } else {
        return false;
    }
    hasLab = true;
    return true;
}

void ReferenceFileData::SetCMYKLabDefs()
{
    if (!isCMYK)
        return;
    if (flavour == ReferenceFlavour::ReportLibrary && extraChannelCount <= 0)
        return;

    LabTriple primaries[4];
    for (int i = 0; i < 4; ++i) {
        // The application prefers the colour a channel-information line gives the
        // primary; the last such line wins.
        bool fromHeader = false;
        if (flavour == ReferenceFlavour::Application) {
            for (auto it = headerLines.rbegin(); it != headerLines.rend(); ++it) {
                std::vector<std::string> tokens;
                if (it->find(kPrimaryNames[i]) != std::string::npos && ParseChannelInfoLine(*it, tokens)) {
                    primaries[i] = {StringUtil::ParseDouble(tokens[1]), StringUtil::ParseDouble(tokens[2]), StringUtil::ParseDouble(tokens[3])};
                    hasChannelInfo = true;
                    fromHeader = true;
                    break;
                }
            }
        }
        if (!fromHeader) {
            double cmyk[4] = {0.0, 0.0, 0.0, 0.0};
            cmyk[i] = 100.0;
            // Unset Lab when the conversion is not available; the entry must still exist
            // so that extra channels keep their positions behind the primaries.
            double lab[3] = {255.0, 255.0, 255.0};
            ColorUtil::CMYKtoLab(cmyk, lab);
            primaries[i] = {lab[0], lab[1], lab[2]};
        }
    }

    if (cmykPrimariesInColorants) {
        std::copy(primaries, primaries + 4, colorantLab.begin());
    } else {
        colorantLab.insert(colorantLab.begin(), primaries, primaries + 4);
        cmykPrimariesInColorants = true;
    }
}

bool ReferenceFileData::AddColorValue(const std::vector<std::string>& tokens, int channel)
{
    if (tokens.size() < 4 || channel < 0 || channel >= kMaxChannels)
        return false;
    const LabTriple lab{StringUtil::ParseDouble(tokens[1]), StringUtil::ParseDouble(tokens[2]), StringUtil::ParseDouble(tokens[3])};
    channelNames[channel] = tokens[0];
    channelLab[channel] = lab;
    // The triple is inserted, not replaced, at the channel's device position. When an
    // earlier channel got no colour that position lies beyond the end of the table; the
    // triple is then appended, so the table stays dense (in channel order of arrival).
    const std::size_t position = static_cast<std::size_t>(channel) + (isCMYK ? 4u : 0u);
    if (position >= colorantLab.size())
        colorantLab.push_back(lab);
    else
        colorantLab.insert(colorantLab.begin() + static_cast<long>(position), lab);
    return true;
}

std::string ReferenceFileData::GetChannelName(int channel) const
{
    if (isCMYK) {
        if (channel >= 0 && channel < 4)
            return kPrimaryNames[channel];
        channel -= 4;
    }
    if (channel < 0 || channel >= kMaxChannels || !channelNames[channel])
        return std::string();
    return *channelNames[channel];
}

std::vector<std::string> ReferenceFileData::GetColorantNames() const
{
    const int count = (isCMYK ? 4 : 0) + std::clamp(extraChannelCount, 0, kMaxChannels);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        names.push_back(GetChannelName(i));
    return names;
}

int ReferenceFileData::GetBlackChannel()
{
    if (blackChannel >= 0)
        return blackChannel;
    if (isCMYK) {
        blackChannel = 3;
        return blackChannel;
    }
    for (const std::string& line : headerLines) {
        if (!StartsWith(line, "PROCESSCOLOR_ID"))
            continue;
        const std::size_t quote = line.find('"');
        if (quote == std::string::npos)
            continue;
        std::string text = line.substr(quote + 1);
        const std::size_t comma = text.find(',');
        if (comma != std::string::npos)
            text.resize(comma);
        std::vector<std::string> tokens;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t b = text.find_first_not_of(" \t", pos);
            if (b == std::string::npos)
                break;
            const std::size_t e = text.find_first_of(" \t", b);
            tokens.push_back(text.substr(b, e == std::string::npos ? std::string::npos : e - b));
            pos = e == std::string::npos ? text.size() : e;
        }
        if (tokens.size() < 3)
            continue;
        std::string ink = tokens[2];
        ink.erase(std::remove(ink.begin(), ink.end(), '"'), ink.end());
        std::transform(ink.begin(), ink.end(), ink.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ink == "black" || ink == "k") {
            const int channel = ParseLeadingInt(tokens[1]);
            blackChannel = channel > INT_MIN ? channel - 1 : -1;
            return blackChannel;
        }
    }
    return -1;
}

// ---------------------------------------------------------------------------------------
// Layout look-ups

ReferenceFileSet* ReferenceFileData::GetFileSetByFormat(bool vertical, unsigned int position, const char* layoutName)
{
    const char* name = hasFileFormat ? fileFormat : layoutName;
    return vertical ? getFileSetVertically(position, name) : getFileSetHorizontally(position, name);
}

ReferenceFileSet* ReferenceFileData::getFileSetVertically(unsigned int position, const char* layoutName)
{
    if (position > static_cast<unsigned int>(INT_MAX))
        return nullptr;
    const int n = GetSetCount();
    GFileFormatTool tool;
    tool.gridColumns = lgoRowLength;
    tool.gridRows = lgoRowLength > 0 ? n / lgoRowLength : 0;
    const int i = tool.MapHorizontalToVerticalIndex(layoutName, static_cast<int>(position));
    return GetSet(i);
}

ReferenceFileSet* ReferenceFileData::getFileSetHorizontally(unsigned int position, const char* layoutName)
{
    if (position > static_cast<unsigned int>(INT_MAX))
        return nullptr;
    const int n = GetSetCount();
    GFileFormatTool tool;
    const GFileFormatTool::GFileFormatToolSDMap r = tool.GetSDMap(layoutName);
    if (lgoRowLength > 0) {
        if (r.isVertical) {
            tool.gridRows = lgoRowLength;
            tool.gridColumns = n / lgoRowLength;
        } else {
            tool.gridColumns = lgoRowLength;
            tool.gridRows = n / lgoRowLength;
        }
    }
    int x = 0;
    int y = 0;
    if (!tool.GetSDIndex(layoutName, static_cast<int>(position), x, y))
        return nullptr;
    // A column outside the grid (a vertical layout read past its last full column) would
    // otherwise wrap into a wrong row and pair the position with another patch.
    if (x < 0 || x >= tool.gridColumns)
        return nullptr;
    const long i = static_cast<long>(tool.gridColumns) * y + x;
    if (i < 0 || i >= n)
        return nullptr;
    return sets[static_cast<std::size_t>(i)].get();
}
