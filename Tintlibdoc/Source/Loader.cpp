// Loader: the five placements of measured sets onto the target grid.
#include "Loader.h"

#include "ReferenceFileData.h"

#include <algorithm>

Loader::Loader(Tintora_target* target_, ReferenceFileData* source_) : target(target_), source(source_)
{
    MapValues();
}

void Loader::MapValues()
{
    loadCases.clear();
    loadCases["Agfa ColorTune"] = eFirstLoadCase;
    for (const char* name : {"QUORVANE - Vertical (left - right), ProfileMaker Reference File",
                             "MonacoProfiler (default, Vertical left - right)"})
        loadCases[name] = eSecondLoadCase;
    loadCases["QUORVANE - Vertical (right - left)"] = eThirdLoadCase;
    for (const char* name :
         {"QUORVANE - Horizontal (right left)", "MonacoProfiler (Horizontal right - left)", "Curve2"})
        loadCases[name] = eFourthLoadCase;
    for (const char* name :
         {"QUORVANE - Horizontal (default)", "QUORVANE Density", "Onyx", "ColorGATE", "Scanvec Amiable",
          "ColorBurst", "Roland VersaWorks", "DURST_DENSTEST", "GMG_Color", "DuPont Cromanet CS",
          "Ergosoft PosterPrint V9", "MonacoPROFILER", "Mimaki RasterLink", "Mimaki Profiling",
          "Bodoni Systems pressSIGN"})
        loadCases[name] = eGeneralLoadCase;
}

bool Loader::Load(const std::string& layoutName)
{
    if (!target || !source)
        return false;
    if (!target->rows && !Tintora_InitTarget(target))
        return false;
    spectralCount = layoutName.compare(0, 8, "QUORVANE") == 0 ? 41 : 36;
    auto it = loadCases.find(layoutName);
    if (it == loadCases.end())
        return true;
    switch (it->second) {
    case eFirstLoadCase: return FirstLoadCase();
    case eSecondLoadCase: return SecondLoadCase();
    case eThirdLoadCase: return ThirdLoadCase();
    case eFourthLoadCase: return FourthLoadCase();
    case eGeneralLoadCase: return GeneralLoadCase();
    }
    return true;
}

void Loader::Store(const ReferenceFileSet& set, Tintora_patch& patch) const
{
    const double* lab = set.GetValuesLAB();
    patch.L = lab[0];
    patch.a = lab[1];
    patch.b = lab[2];
    patch.measured = 1;
    // A plain set holds fewer values than a QUORVANE layout expects: the rest stays 0.
    int count = std::min(spectralCount, set.SpectralCount());
    count = std::clamp(count, 0, int(TINTORA_MAX_SPECTRAL));
    const double* spectrum = set.GetValuesSpectral();
    for (int k = 0; k < count; ++k)
        patch.spectrum[k] = spectrum[k];
    for (int k = count; k < spectralCount; ++k)
        patch.spectrum[k] = 0.0;
    patch.spectralCount = spectralCount;
}

namespace
{
// Grid arithmetic runs in 64 bits; the results are bounded by the set index.
struct GridPosition
{
    long long strip, row, column;
};
GridPosition At(long long strip, long long row, long long column) { return {strip, row, column}; }
}

template <typename PositionOf>
bool Loader::Place(PositionOf positionOf)
{
    if (!target || !source || !target->rows)
        return true;
    int count = std::min(target->patchCount, source->GetSetCount());
    for (int i = 0; i < count; ++i) {
        const ReferenceFileSet* set = source->GetSet(i);
        if (!set)
            continue;
        GridPosition p = positionOf(i, *set);
        if (p.strip >= target->stripCount)
            break;
        if (p.row >= target->rowsPerStrip || p.column >= target->patchesPerRow)
            continue;
        Tintora_patch* patch = Tintora_PatchAt(target, int(p.strip), int(p.row), int(p.column));
        if (patch) {
            Store(*set, *patch);
            patch->strip = int(p.strip);
            patch->row = int(p.row);
            patch->column = int(p.column);
        }
    }
    return true;
}

bool Loader::FirstLoadCase()
{
    return Place([](int, const ReferenceFileSet& set) {
        if (set.GetPage() < 0 || set.GetLoc_x() < 0 || set.GetLoc_y() < 0)
            return At(0, 0, 0);
        return At(set.GetPage(), set.GetLoc_y(), set.GetLoc_x());
    });
}

bool Loader::SecondLoadCase()
{
    const long long w = target ? target->patchesPerRow : 0, h = target ? target->rowsPerStrip : 0;
    if (w <= 0 || h <= 0)
        return true;
    return Place([w, h](int i, const ReferenceFileSet&) { return At(i / (w * h), i % h, (i / h) % w); });
}

bool Loader::ThirdLoadCase()
{
    const long long w = target ? target->patchesPerRow : 0, h = target ? target->rowsPerStrip : 0;
    if (w <= 0 || h <= 0)
        return true;
    return Place(
        [w, h](int i, const ReferenceFileSet&) { return At(i / (w * h), i % h, w - 1 - (i / h) % w); });
}

bool Loader::FourthLoadCase()
{
    const long long w = target ? target->patchesPerRow : 0, h = target ? target->rowsPerStrip : 0;
    if (w <= 0 || h <= 0)
        return true;
    return Place(
        [w, h](int i, const ReferenceFileSet&) { return At(i / (w * h), (i / w) % h, w - 1 - i % w); });
}

bool Loader::GeneralLoadCase()
{
    const long long w = target ? target->patchesPerRow : 0, h = target ? target->rowsPerStrip : 0;
    if (w <= 0 || h <= 0)
        return true;
    return Place([w, h](int i, const ReferenceFileSet&) { return At(i / (w * h), (i / w) % h, i % w); });
}
