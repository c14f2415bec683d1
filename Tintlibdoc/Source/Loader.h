// Loader: copies the measured colours of a CxF measurement into the patch grid of a
// Tintora_target in the reading order of the target's layout.
//
// Grid terms: W patches per row, H rows per strip, S strips, N patches; set i of the
// measurement goes to strip s, row r, column c as the layout's load case prescribes.
#pragma once

#include "Tintlib.h"

#include <map>
#include <string>

class ReferenceFileData;
class ReferenceFileSet;

class Loader
{
public:
    enum LoadCase
    {
        eFirstLoadCase,     // position as located in the file (page, LOC_Y, LOC_X)
        eSecondLoadCase,    // column by column, top to bottom, left to right
        eThirdLoadCase,     // column by column, top to bottom, right to left
        eFourthLoadCase,    // row by row, right to left
        eGeneralLoadCase    // row by row, left to right
    };

    Loader(Tintora_target* target, ReferenceFileData* source);

    // Fills the grid for `layoutName`. False only when there is no target or source or
    // the grid cannot be allocated; a name missing from the table copies nothing.
    bool Load(const std::string& layoutName);

    void MapValues();
    bool FirstLoadCase();
    bool SecondLoadCase();
    bool ThirdLoadCase();
    bool FourthLoadCase();
    bool GeneralLoadCase();

    const std::map<std::string, LoadCase>& GetLoadCases() const { return loadCases; }
    int GetSpectralCount() const { return spectralCount; }

private:
    // Visits the sets in source order; stops at the first position beyond the last
    // strip, skips positions outside a row or strip.
    template <typename PositionOf>
    bool Place(PositionOf positionOf);
    void Store(const ReferenceFileSet& set, Tintora_patch& patch) const;

    std::map<std::string, LoadCase> loadCases;
    Tintora_target* target;
    ReferenceFileData* source;
    int spectralCount = 36;
};
