// Utils: folder names, layout names, path helpers and the text splitter.
#include "Utils.h"

const char* const Utils::REFERENCES = "References";
const char* const Utils::DOCREFERENCES = "DOCReferences";
const char* const Utils::TOLERANCES = "Tolerances";

const char* const Utils::LAYOUT_HORIZONTAL_DEFAULT = "QUORVANE - Horizontal (default)";
const char* const Utils::LAYOUT_HORIZONTAL_RIGHT_LEFT = "QUORVANE - Horizontal (right left)";
const char* const Utils::LAYOUT_DENSITY = "QUORVANE Density";
const char* const Utils::LAYOUT_VERTICAL_LEFT_RIGHT = "QUORVANE - Vertical (left - right), ProfileMaker Reference File";
const char* const Utils::LAYOUT_VERTICAL_RIGHT_LEFT = "QUORVANE - Vertical (right - left)";

std::string Utils::appVersion;

std::string Utils::GetReferencesPathRelatedToDOCFolder(const std::string&, const std::string& docFolder)
{
    return docFolder + "/" + REFERENCES;
}

std::string Utils::GetDOCReferencesPathRelatedToDOCFolder(const std::string&, const std::string& docFolder)
{
    return docFolder + "/" + DOCREFERENCES;
}

std::string Utils::GetDOCTolerancesPathRelatedToDOCFolder(const std::string&, const std::string& docFolder)
{
    return docFolder + "/" + TOLERANCES;
}

int Utils::Split(const std::string& text, std::vector<std::string>& list, const std::string& separator)
{
    list.clear();
    if (separator.empty()) {
        list.push_back(text);
        return 1;
    }
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type pos = text.find(separator, start);
        if (pos == std::string::npos) {
            list.push_back(text.substr(start));
            break;
        }
        list.push_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
    return static_cast<int>(list.size());
}
