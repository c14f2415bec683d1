// GFileFormatTool: the process-wide table of named patch orders and the mapping of a
// position in a layout's reading order to a grid cell. Glossary: vertical layout =
// positions run down a column first; startX/startY = 1 when reading starts at the
// rightmost column / bottom row.
#include "GFileFormatTool.h"

std::map<std::string, GFileFormatTool::GFileFormatToolSDMap> GFileFormatTool::sFormatMap;
bool GFileFormatTool::sFormatMapBuilt = false;

std::map<std::string, GFileFormatTool::GFileFormatToolSDMap>& GFileFormatTool::FormatMap()
{
    if (!sFormatMapBuilt) {
        sFormatMap["default"] = GFileFormatToolSDMap(0, 0, false);
        sFormatMap["QUORVANE - Horizontal (default)"] = GFileFormatToolSDMap(0, 0, false);
        sFormatMap["QUORVANE - Horizontal (right left)"] = GFileFormatToolSDMap(1, 0, false);
        sFormatMap["QUORVANE - Vertical (left - right), ProfileMaker Reference File"] =
            GFileFormatToolSDMap(0, 0, true);
        sFormatMap["QUORVANE - Vertical (right - left)"] = GFileFormatToolSDMap(1, 0, true);
        sFormatMap["MonacoPROFILER"] = GFileFormatToolSDMap(0, 0, true);
        sFormatMap["MonacoProfiler (default, Vertical left - right)"] = GFileFormatToolSDMap(0, 0, true);
        sFormatMap["MonacoProfiler (Horizontal right - left)"] = GFileFormatToolSDMap(1, 0, false);
        sFormatMapBuilt = true;
    }
    return sFormatMap;
}

GFileFormatTool::GFileFormatTool() { FormatMap(); }

// A missing name (null) reads like "default" rather than adding an empty key.
GFileFormatTool::GFileFormatToolSDMap GFileFormatTool::GetSDMap(const char* name)
{
    return FormatMap()[name ? name : "default"];
}

int GFileFormatTool::MapHorizontalToVerticalIndex(const char* name, int index)
{
    const GFileFormatToolSDMap r = GetSDMap(name);
    if (r.isVertical)
        return index;
    // Without rows there is no stored row to map into.
    if (gridRows <= 0)
        return -1;
    return (index % gridRows) * gridColumns + index / gridRows;
}

bool GFileFormatTool::GetSDIndex(const char* name, int index, int& x, int& y)
{
    if (gridColumns <= 0 || gridRows <= 0)
        return false;
    const GFileFormatToolSDMap r = GetSDMap(name);
    int column;
    int row;
    if (r.isVertical) {
        column = index / gridRows;
        row = index % gridRows;
    } else {
        row = index / gridColumns;
        column = index % gridColumns;
    }
    x = (gridColumns - 1) * r.startX + column * r.stepX;
    y = (gridRows - 1) * r.startY + row * r.stepY;
    return true;
}
