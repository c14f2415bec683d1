// TolerancesData: the tolerance keys and the reader of tolerance XML files.
#include "Tolerances.h"

#include <tinyxml2.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <new>

namespace
{
// A tolerance file is a few kilobytes; anything far larger is not one.
constexpr std::streamoff kMaxFileBytes = 16 * 1024 * 1024;

const TolerancesData::Key kKeys[TolerancesData::kKeyCount] = {
    {"averageTotalError", &TolerancesData::averageTotalError},
    {"maximumTotalError", &TolerancesData::maximumTotalError},
    {"primaryColorsTotalError", &TolerancesData::primaryColorsTotalError},
    {"paperWhiteTotalError", &TolerancesData::paperWhiteTotalError},
    {"grayBalanceError", &TolerancesData::grayBalanceError},
    {"deviationBest90Error", &TolerancesData::deviationBest90Error},
    {"grayBalanceIDEASpecialError", &TolerancesData::grayBalanceIDEASpecialError},
    {"paperWhiteTotalLError", &TolerancesData::paperWhiteTotalLError},
    {"paperWhiteTotalaError", &TolerancesData::paperWhiteTotalaError},
    {"paperWhiteTotalbError", &TolerancesData::paperWhiteTotalbError},
    {"averageWDeltaLstarError", &TolerancesData::averageWDeltaLstarError},
    {"maximumWDeltaLstarError", &TolerancesData::maximumWDeltaLstarError},
    {"averageWDeltaChError", &TolerancesData::averageWDeltaChError},
    {"maximumWDeltaChError", &TolerancesData::maximumWDeltaChError},
    {"blackColorTotalError", &TolerancesData::blackColorTotalError},
    {"secondaryColorsTotalError", &TolerancesData::secondaryColorsTotalError},
    {"deviationTotalError", &TolerancesData::deviationTotalError},
    {"cp_paperWhiteTotalError", &TolerancesData::cp_paperWhiteTotalError},
    {"cp_maximumTotalError", &TolerancesData::cp_maximumTotalError},
    {"cp_averageTotalError", &TolerancesData::cp_averageTotalError},
    {"cp_grayBalanceError", &TolerancesData::cp_grayBalanceError},
    {"cp_averageGrayBalanceError", &TolerancesData::cp_averageGrayBalanceError},
    {"cp_primaryColorsTotalError", &TolerancesData::cp_primaryColorsTotalError},
    {"cp_primaryColorsDeltaHTotalError", &TolerancesData::cp_primaryColorsDeltaHTotalError},
    {"vp_paperWhiteTotalError", &TolerancesData::vp_paperWhiteTotalError},
    {"vp_averageNoBoundaryColorsError", &TolerancesData::vp_averageNoBoundaryColorsError},
    {"vp_95thPercentileNoBoundaryColors", &TolerancesData::vp_95thPercentileNoBoundaryColors},
    {"vp_grayBalanceError", &TolerancesData::vp_grayBalanceError},
    {"vp_averageGrayBalanceError", &TolerancesData::vp_averageGrayBalanceError},
    {"ma_paperWhiteTotalError", &TolerancesData::ma_paperWhiteTotalError},
    {"ma_averageTotalError", &TolerancesData::ma_averageTotalError},
    {"ma_maximumTotalError", &TolerancesData::ma_maximumTotalError},
    {"ma_95thPercentile", &TolerancesData::ma_95thPercentile},
    {"ma_grayBalanceError", &TolerancesData::ma_grayBalanceError},
    {"mr_averageTotalError", &TolerancesData::mr_averageTotalError},
    {"mr_95thPercentile", &TolerancesData::mr_95thPercentile},
    {"mr_grayBalanceError", &TolerancesData::mr_grayBalanceError},
    {"mr_whitepoint", &TolerancesData::mr_whitepoint},
    {"mr_blackpoint", &TolerancesData::mr_blackpoint},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Start and end of the number candidate: blanks and one "+" skipped.
bool NumberSpan(const char* text, const char*& begin, const char*& end)
{
    if (text == nullptr)
        return false;
    while (IsBlank(*text))
        ++text;
    if (*text == '+' && text[1] != '-' && text[1] != '+')
        ++text;
    begin = text;
    end = text + std::strlen(text);
    return begin != end;
}

bool ReadFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFileBytes)
        return false;
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(&bytes[0], size))
        return false;
    return true;
}

// Offset of the first "<" that does not open a declaration ("<?", "<!"); each declaration
// is skipped up to the end of its line.
size_t DocumentStart(const std::string& text)
{
    size_t pos = text.find('<');
    while (pos != std::string::npos && pos + 1 < text.size() && (text[pos + 1] == '?' || text[pos + 1] == '!'))
    {
        const size_t lineEnd = text.find('\n', pos);
        if (lineEnd == std::string::npos)
            return std::string::npos;
        pos = text.find('<', lineEnd);
    }
    return pos;
}
}  // namespace

bool ToleranceNumbers::ReadInt(const char* text, int& value)
{
    const char* begin;
    const char* end;
    if (!NumberSpan(text, begin, end))
        return false;
    int parsed = 0;
    const auto result = std::from_chars(begin, end, parsed, 10);
    if (result.ec != std::errc())
        return false;
    value = parsed;
    return true;
}

bool ToleranceNumbers::ReadFloat(const char* text, float& value)
{
    const char* begin;
    const char* end;
    if (!NumberSpan(text, begin, end))
        return false;
    float parsed = 0.0f;
    const auto result = std::from_chars(begin, end, parsed, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

TolerancesData::TolerancesData(float value) { setAll(value); }

const TolerancesData::Key* TolerancesData::Keys() { return kKeys; }

void TolerancesData::setAll(float value)
{
    for (const Key& key : kKeys)
        this->*key.field = value;
}

void TolerancesData::resetAtributes() { setAll(0.0f); }

bool TolerancesData::LoadFromXML(const std::string& path)
{
    try
    {
        std::string bytes;
        if (!ReadFile(path, bytes))
            return false;
        const size_t start = DocumentStart(bytes);
        if (start == std::string::npos)
            return false;

        tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
        if (doc.Parse(bytes.data() + start, bytes.size() - start) != tinyxml2::XML_SUCCESS)
            return false;
        const tinyxml2::XMLElement* settings = doc.FirstChildElement("settings");
        if (settings == nullptr)
            return false;

        for (const tinyxml2::XMLElement* e = settings->FirstChildElement("reportType"); e != nullptr;
             e = e->NextSiblingElement("reportType"))
        {
            const char* text = e->GetText();
            reportTypes.insert(text != nullptr ? text : "");
        }
        if (reportTypes.empty())
            return false;

        const tinyxml2::XMLElement* formula = settings->FirstChildElement("colorDistanceFormula");
        if (formula == nullptr)
            return false;
        ToleranceNumbers::ReadInt(formula->GetText(), colorDistanceFormula);

        for (const Key& key : kKeys)
        {
            const tinyxml2::XMLElement* e = settings->FirstChildElement(key.name);
            if (e != nullptr)
                ToleranceNumbers::ReadFloat(e->GetText(), this->*key.field);
        }
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}
