// Utils: constants and small helpers shared by the report library.
#pragma once

#include <string>
#include <vector>

class Utils
{
public:
    enum ColorDistanceFormula
    {
        eCIE1976 = 0,    // "Delta E"
        eCMC11 = 1,      // "Delta E CMC1"
        eCMC21 = 2,      // "Delta E CMC2"
        eCIE1994 = 3,    // "Delta E 94"
        eCIEDE2000 = 4   // "Delta E 2000"
    };

    // Marks a statistic that had no patch to be computed from.
    static constexpr double UNCOMPUTED_DOUBLE_VALUE = -1.0;

    static const char* const REFERENCES;
    static const char* const DOCREFERENCES;
    static const char* const TOLERANCES;

    // Named patch orders shared with the reference library's layout table.
    static const char* const LAYOUT_HORIZONTAL_DEFAULT;
    static const char* const LAYOUT_HORIZONTAL_RIGHT_LEFT;
    static const char* const LAYOUT_DENSITY;
    static const char* const LAYOUT_VERTICAL_LEFT_RIGHT;
    static const char* const LAYOUT_VERTICAL_RIGHT_LEFT;

    // Host application version, set by Tintora_DOC_SetAppVersion.
    static std::string appVersion;

    // The first argument is not used; the folder is always below `docFolder`.
    static std::string GetReferencesPathRelatedToDOCFolder(const std::string& unused, const std::string& docFolder);
    static std::string GetDOCReferencesPathRelatedToDOCFolder(const std::string& unused, const std::string& docFolder);
    static std::string GetDOCTolerancesPathRelatedToDOCFolder(const std::string& unused, const std::string& docFolder);

    // Clears `list` and stores every piece between separators, empty pieces included;
    // returns the number of pieces ("a|b||c" at "|" gives a, b, "", c). An empty
    // separator yields the whole text as one piece.
    static int Split(const std::string& text, std::vector<std::string>& list, const std::string& separator);
};
