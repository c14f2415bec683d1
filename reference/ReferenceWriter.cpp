// ReferenceWriter: the CGATS.17 writer of references (see ReferenceWriter.h).
//
// Numbers are formatted here, independent of the C locale, so a desktop with a decimal
// comma still writes "12.5"; the IT8 object only stores the texts.
#include "ReferenceWriter.h"

#include "FileOperations.h"
#include "ReferenceFileData.h"

#include <lcms2.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{
const char* const kDefaultLayoutName = "QUORVANE - Horizontal (default)";

void SilentLog(cmsContext, cmsUInt32Number, const char*) {}

struct WriterScope
{
    cmsContext context = nullptr;
    cmsHANDLE it8 = nullptr;
    ~WriterScope()
    {
        if (it8)
            cmsIT8Free(it8);
        if (context)
            cmsDeleteContext(context);
    }
};

// CGATS has no marker for a missing value: an unset (NaN) value is written as 0.
std::string FormatNumber(double v, std::chars_format format, int precision)
{
    if (!std::isfinite(v))
        v = 0.0;
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, v, format, precision);
    if (result.ec != std::errc())
        return "0";
    return std::string(buf, result.ptr);
}

std::string Fixed(double v, int decimals) { return FormatNumber(v, std::chars_format::fixed, decimals); }
// The IT8 writer's default number format ("%.10g").
std::string Default(double v) { return FormatNumber(v, std::chars_format::general, 10); }
std::string G6(double v) { return FormatNumber(v, std::chars_format::general, 6); }

std::string Trim(const std::string& s)
{
    const char* ws = " \t\r\n\f\v";
    const std::size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos)
        return std::string();
    const std::size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

// A name as a data cell the parser reads back intact: no tabs, line ends or quotes inside,
// and always quoted, since the parser misreads unquoted names that start with a digit
// ("1A4"). Names with blanks are quoted by the IT8 writer itself.
std::string NameCell(const char* name)
{
    std::string s(name ? name : "");
    if (s.empty())
        return s;
    bool blank = false;
    for (char& c : s) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
        if (c == '"')
            c = '\'';
        blank = blank || c == ' ';
    }
    return blank ? s : "\"" + s + "\"";
}

// A text as a quoted property value the parser reads back: the IT8 writer puts it between
// double quotes without escaping, so a quote or a line end inside would end the value
// early and make the whole file unreadable.
std::string PropertyText(std::string s)
{
    for (char& c : s) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
        if (c == '"')
            c = '\'';
    }
    return s;
}

// A value read with its quotes that can be stored as it was: one quoted text.
bool IsQuotedText(const std::string& s)
{
    return s.size() >= 2 && s.front() == '"' && s.back() == '"' && s.find('"', 1) == s.size() - 1;
}

enum class FieldKind
{
    Id,
    Name,
    LocX,
    LocY,
    Page,
    Rgb,
    Cmyk,
    Extra,
    Lab,
    Xyz,
    Gray
};

struct Field
{
    std::string name;
    FieldKind kind;
    int channel;   // component of RGB / CMYK / Lab / XYZ, or the extra channel
};

std::string NColorFieldName(const std::string& pattern, int total, int k)
{
    std::string prefix = pattern;
    const std::string count = std::to_string(total);
    for (std::size_t at = prefix.find("%1"); at != std::string::npos; at = prefix.find("%1", at + count.size()))
        prefix.replace(at, 2, count);
    return prefix + std::to_string(k);
}

std::vector<Field> BuildFields(const ReferenceFileData& d)
{
    std::vector<Field> fields;
    if (d.hasSampleID)
        fields.push_back({"SAMPLE_ID", FieldKind::Id, 0});
    if (d.hasSampleName)
        fields.push_back({"SAMPLE_NAME", FieldKind::Name, 0});
    if (d.hasLocation) {
        fields.push_back({"LOC_X", FieldKind::LocX, 0});
        fields.push_back({"LOC_Y", FieldKind::LocY, 0});
    }
    if (d.hasPage)
        fields.push_back({"PAGE", FieldKind::Page, 0});
    if (d.isRGB && d.saveRGB) {
        fields.push_back({"RGB_R", FieldKind::Rgb, 0});
        fields.push_back({"RGB_G", FieldKind::Rgb, 1});
        fields.push_back({"RGB_B", FieldKind::Rgb, 2});
    }
    const int n = std::clamp(d.extraChannelCount, 0, ReferenceFileData::kMaxChannels);
    const char* const cmykNames[4] = {"CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K"};
    if (d.isCMYK && d.saveCMYK && (n == 0 || !d.saveNColor)) {
        for (int i = 0; i < 4; ++i)
            fields.push_back({cmykNames[i], FieldKind::Cmyk, i});
    } else if (d.isCMYK && d.saveCMYK && d.saveNColor) {
        for (int i = 0; i < 4 + n; ++i) {
            const std::string name = NColorFieldName(d.nColorFieldPattern, 4 + n, i + 1);
            fields.push_back(i < 4 ? Field{name, FieldKind::Cmyk, i} : Field{name, FieldKind::Extra, i - 4});
        }
    } else if (!d.isCMYK && n >= 1 && d.saveNColor) {
        for (int i = 0; i < n; ++i)
            fields.push_back({NColorFieldName(d.nColorFieldPattern, n, i + 1), FieldKind::Extra, i});
    }
    if (d.hasLab && d.saveLab) {
        fields.push_back({"LAB_L", FieldKind::Lab, 0});
        fields.push_back({"LAB_A", FieldKind::Lab, 1});
        fields.push_back({"LAB_B", FieldKind::Lab, 2});
    }
    if (d.hasXYZ && d.saveXYZ) {
        fields.push_back({"XYZ_X", FieldKind::Xyz, 0});
        fields.push_back({"XYZ_Y", FieldKind::Xyz, 1});
        fields.push_back({"XYZ_Z", FieldKind::Xyz, 2});
    }
    if (d.hasGray && d.saveGray)
        fields.push_back({"GRAY", FieldKind::Gray, 0});
    return fields;
}

std::string Cell(const ReferenceFileSet& s, const Field& f)
{
    switch (f.kind) {
    case FieldKind::Id:
        return std::to_string(s.GetIndex());
    case FieldKind::Name:
        return NameCell(s.GetName());
    case FieldKind::LocX:
        return std::to_string(s.GetLoc_x());
    case FieldKind::LocY:
        return std::to_string(s.GetLoc_y());
    case FieldKind::Page:
        return std::to_string(s.GetPage());
    case FieldKind::Rgb:
        return Default(s.GetValuesRGB()[f.channel]);
    case FieldKind::Cmyk:
        return Fixed(s.GetValuesCMYK()[f.channel], 4);
    case FieldKind::Extra:
        return Default(s.GetValuesNColor()[f.channel]);
    case FieldKind::Lab:
        return Fixed(s.GetValuesLAB()[f.channel], 2);
    case FieldKind::Xyz:
        return Default(s.GetValuesXYZ()[f.channel]);
    case FieldKind::Gray:
        return Default(s.GetValueGRAY());
    }
    return std::string();
}

bool SetProperties(ReferenceFileData& d, cmsHANDLE it8, int setCount, int fieldCount)
{
    if (!cmsIT8SetSheetType(it8, "CGATS.17"))
        return false;
    const struct
    {
        const char* key;
        const char* text;
    } texts[] = {{"CREATED", d.created}, {"DESCRIPTOR", d.descriptor}, {"ORIGINATOR", d.originator}, {"TARGET", d.targetText}};
    for (const auto& t : texts) {
        if (t.text[0] && !cmsIT8SetPropertyStr(it8, t.key, PropertyText(t.text).c_str()))
            return false;
    }

    const std::vector<std::string> colorants = d.GetColorantNames();
    if (!colorants.empty() && colorants.size() == d.colorantLab.size()) {
        for (std::size_t i = 0; i < colorants.size(); ++i) {
            const LabTriple& lab = d.colorantLab[i];
            const std::string key = "ChannelInfo" + std::to_string(i);
            const std::string value = PropertyText(colorants[i]) + ",Lab," + G6(lab.L) + " " + G6(lab.a) + " " + G6(lab.b) + " ";
            if (!cmsIT8SetPropertyStr(it8, key.c_str(), value.c_str()))
                return false;
        }
    }

    if (!cmsIT8SetPropertyDbl(it8, "NUMBER_OF_SETS", setCount) ||
        !cmsIT8SetPropertyDbl(it8, "NUMBER_OF_FIELDS", fieldCount) ||
        !cmsIT8SetPropertyDbl(it8, "LGOROWLENGTH", d.saveRowLength))
        return false;

    for (const std::string& line : d.headerLines) {
        if (line.compare(0, 15, "PROCESSCOLOR_ID") != 0)
            continue;
        const std::size_t tab = line.find('\t');
        const std::string key = Trim(line.substr(0, tab));
        const std::string value = tab == std::string::npos ? std::string() : Trim(line.substr(tab + 1));
        if (key.empty() || value.empty() || key.find(' ') != std::string::npos)
            continue;
        // A value read as one quoted text is stored as it was; any other is quoted so that a
        // text with blanks reads back as one value.
        const bool ok = IsQuotedText(value) ? cmsIT8SetPropertyUncooked(it8, key.c_str(), value.c_str())
                                            : cmsIT8SetPropertyStr(it8, key.c_str(), PropertyText(value).c_str());
        if (!ok)
            return false;
    }
    return true;
}

void FillFiller(ReferenceFileData& d, ReferenceFileSet& filler, int position)
{
    if (d.isRGB) {
        const double white[3] = {255.0, 255.0, 255.0};
        filler.SetRGB(white);
    }
    if (d.isCMYK) {
        const double paper[4] = {0.0, 0.0, 0.0, 0.0};
        filler.SetCMYK(paper);
    }
    if (d.extraChannelCount > 0) {
        const double zeros[ReferenceFileData::kMaxChannels] = {};
        filler.SetNColor(zeros);
    }
    const long columns = d.setColumns;
    const long perPage = (d.setColumns > 0 && d.setRows > 0) ? columns * d.setRows : 0;
    int page = 0;
    int row = 0;
    int column = position;
    if (perPage > 0) {
        page = static_cast<int>(position / perPage);
        const long p = position % perPage;
        row = static_cast<int>(p / columns);
        column = static_cast<int>(p % columns);
    }
    filler.SetPage(page + 1);
    filler.SetName(d.SetName(position, page).c_str());
    const int xy[2] = {row, column};
    filler.SetLocation(xy);
    filler.SetID(position + 1);
}
}   // namespace

bool WriteReferenceFile(ReferenceFileData& data, void* userData, const char* path, bool findByIndex)
{
    if (!path || !*path)
        return false;
    WriterScope writer;
    writer.context = cmsCreateContext(nullptr, userData);
    if (!writer.context)
        return false;
    cmsSetLogErrorHandlerTHR(writer.context, SilentLog);
    writer.it8 = cmsIT8Alloc(writer.context);
    if (!writer.it8)
        return false;
    cmsHANDLE it8 = writer.it8;

    // NUMBER_OF_FIELDS is the count of the fields declared below, so the header and the
    // data format can never disagree.
    const std::vector<Field> fields = BuildFields(data);
    const int setCount = data.GetSetCount();
    if (setCount > 0 && fields.empty())
        return false;
    if (!SetProperties(data, it8, setCount, static_cast<int>(fields.size())))
        return false;
    cmsIT8DefineDblFormat(it8, "%.10g");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!cmsIT8SetDataFormat(it8, static_cast<int>(i), fields[i].name.c_str()))
            return false;
    }

    const std::vector<int32_t>& order = data.printOrder;
    for (int q = 0; q < setCount; ++q) {
        int index = q;
        if (!order.empty())
            index = q < static_cast<int>(order.size()) ? order[static_cast<std::size_t>(q)] : -1;
        ReferenceFileSet* set = nullptr;
        if (index >= 0 && index < setCount) {
            if (findByIndex)
                set = data.FindSetByIndex(index + 1);
            else if (data.arrangeByLayout && data.lgoRowLength != 0)
                set = data.GetFileSetByFormat(true, static_cast<unsigned int>(index), kDefaultLayoutName);
            else
                set = data.GetSet(index);
        }
        ReferenceFileSet filler(&data, -1, false);
        if (!set) {
            FillFiller(data, filler, q);
            set = &filler;
        } else if (set->GetIndex() == -1) {
            set->SetID(q + 1);
        }
        for (std::size_t c = 0; c < fields.size(); ++c) {
            const std::string cell = Cell(*set, fields[c]);
            // An empty name stays an empty cell, which the IT8 writer writes as "".
            if (cell.empty())
                continue;
            if (!cmsIT8SetDataRowCol(it8, q, static_cast<int>(c), cell.c_str()))
                return false;
        }
    }

    const std::string target = FileOperations::ReplacementTarget(path);
    std::string temp;
    const int fd = FileOperations::CreateSiblingTemp(target, temp);
    if (fd < 0)
        return false;
    ::close(fd);
    if (!cmsIT8SaveToFile(it8, temp.c_str())) {
        ::unlink(temp.c_str());
        return false;
    }
    return FileOperations::CommitTemp(temp, target);
}
