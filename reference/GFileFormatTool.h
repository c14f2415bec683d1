// GFileFormatTool: the named patch orders (layouts) and the mapping of a position in a
// layout's reading order to a grid cell (column x, row y, both from 0).
#pragma once

#include <map>
#include <string>

class GFileFormatTool
{
public:
    struct GFileFormatToolSDMap
    {
        GFileFormatToolSDMap() : GFileFormatToolSDMap(0, 0, false) {}
        GFileFormatToolSDMap(int startX_, int startY_, bool vertical)
            : startX(startX_), startY(startY_), stepX(startX_ > 0 ? -1 : 1), stepY(startY_ > 0 ? -1 : 1),
              isVertical(vertical)
        {
        }
        int startX;
        int startY;
        int stepX;
        int stepY;
        bool isVertical;
    };

    GFileFormatTool();

    // Copy of the record of `name`; an unknown name is added with the default record.
    GFileFormatToolSDMap GetSDMap(const char* name);
    int MapHorizontalToVerticalIndex(const char* name, int index);
    bool GetSDIndex(const char* name, int index, int& x, int& y);

    int gridColumns = 0;
    int gridRows = 0;

    static std::map<std::string, GFileFormatToolSDMap>& FormatMap();

private:
    static std::map<std::string, GFileFormatToolSDMap> sFormatMap;
    static bool sFormatMapBuilt;
};
