// The patches of a target: one TargetPatch per position of every page, with the patch
// geometry, display colours, readable descriptions, tooltips, separator and
// auto-positioning border decisions, target IDs and names, and the screen painting of the
// patches and borders of one page.
//
// Glossary: separator = a black bar filling the gap to the right of a light patch whose
// right-hand neighbour is similar, so the instrument sees the step; auto-positioning
// border = a black frame of half a gap around a light patch with a similar neighbour.
// Rows are counted over all pages where a parameter says so (row + (page - 1) x rows).
// Lengths here are millimetres; `scale` is pixels per millimetre.
#pragma once

#include "ReferenceFileSet.h"

#include <QColor>
#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;
class ReferenceFileData;
struct LabTriple;

// Display colour and description of a patch's reference data.
struct TargetPatchData
{
    QColor color{245, 245, 245};
    QString dataText;
};

// Display colours of the spectral model of one reference, kept across set-ups so a
// refresh does not mix the same inks again. It forgets everything when the reference, its
// model or its colorant table is not the one it was filled for.
class DisplayColourCache
{
public:
    // Checks that the memo belongs to `file` as it stands now; clears it otherwise.
    void prepare(const ReferenceFileData &file);
    // ChannelColor of `values` (per cent, device-channel order), computed once.
    QColor channelColor(const ReferenceFileData &file, const std::vector<int> &values);
    void clear();
    size_t size() const { return colours.size(); }

private:
    struct ValuesHash
    {
        size_t operator()(const std::vector<int> &v) const;
    };
    const ReferenceFileData *file = nullptr;
    const void *model = nullptr;
    std::vector<double> colorants; // L, a, b of every colorant
    std::unordered_map<std::vector<int>, QColor, ValuesHash> colours;
};

class TargetPatch
{
public:
    // Marks the tooltip for rebuilding from the set (or the own name) and the data text;
    // the text itself is built when it is first asked for, so a set-up of thousands of
    // patches builds none of the texts nobody hovers over.
    // The set's identity is taken now, so a later read never touches the set.
    void rebuildTooltip();
    const QString &tooltip() const;
    bool hasTooltip() const { return !tooltip().isEmpty(); }
    // The colour the separator and border tests see: white without a set.
    QColor effectiveColor() const;
    // CIE Lab of effectiveColor(), computed once per colour; false when the conversion fails.
    bool lab(double out[3]) const;
    // Drops the cached Lab after the colour or the set changed.
    void invalidateLab() { labState = LabState::Unknown; }

    TargetPatchData data;
    ReferenceFileSet *set = nullptr; // not owned
    bool separator = false;
    QString name;

private:
    void buildTooltip() const;

    mutable bool tooltipDirty = false;
    mutable QString tooltipText;
    // Identity of the set when the tooltip was last rebuilt.
    bool tipHasSet = false;
    int tipId = -1;
    char tipName[ReferenceFileSet::kNameCapacity] = {};
    enum class LabState { Unknown, Valid, Failed };
    mutable LabState labState = LabState::Unknown;
    mutable double labCache[3] = {0.0, 0.0, 0.0};
};

class TargetPatchGrid
{
public:
    TargetPatchGrid() = default;
    TargetPatchGrid(const TargetPatchGrid &) = delete;
    TargetPatchGrid &operator=(const TargetPatchGrid &) = delete;

    // Appends pages x columns x rows fresh patches (transparent, data text "new").
    void create(int pages, int columns, int rows);

    void setPatchSize(double widthMm, double heightMm);
    void setGap(double gapXMm, double gapYMm);
    void setScale(double pixelsPerMm) { scale = pixelsPerMm; }
    void setBlackWhiteSeparators(bool on) { blackWhiteSeparators = on; }
    void setAutopositioningBorders(bool on) { autopositioningBorders = on; }
    void setStartOffset(double mm) { startOffset = mm; }

    // The patch at col + (row + (page - 1) x rows) x columns; null outside the list.
    TargetPatch *patchAt(int col, int row, int page) const;
    // Patch by flat list index; null outside the list.
    TargetPatch *patchAtIndex(long index) const;
    int patchCount() const { return static_cast<int>(patches.size()); }

    // Places `set` at (col, row), row counted over all pages; beyond the list it only sets
    // `overflow`.
    void placeSet(ReferenceFileSet *set, int col, int row);
    // Separator decision for the freshly placed position (col, row over all pages).
    void markSeparator(int col, int row, bool mirrored);
    // Target IDs (index + 1) and names ("1A1") of the placed sets, or their reset to the
    // sets' own identity; rebuilds the tooltips.
    void assignIdsAndNames(bool renumber, bool rename);
    // Tooltip of the patch at that position; empty outside the list.
    QString tooltipAt(int page, int col, int row) const;
    // Auto-positioning border test of the patch at (page, row, col).
    bool hasBorder(int page, int row, int col) const;

    // Screen painting of one page; (x0, y0) is the first patch's top-left corner in pixels.
    void paintPatches(QPainter &painter, int page, double x0, double y0) const;
    void paintBorders(QPainter &painter, int page, double x0, double y0) const;

    double width() const { return columns * (sizeX + gapX) * scale; }
    double height() const { return rows * (sizeY + gapY) * scale; }

    // Text and display colour of a set's reference data (first matching kind of its file);
    // spectral-model colours go through `cache` when one is given.
    static TargetPatchData describeSet(const ReferenceFileSet &set, DisplayColourCache *cache = nullptr);
    // Memo used by placeSet; not owned, may be null.
    void setColourCache(DisplayColourCache *cache) { colourCache = cache; }
    // Spreadsheet-column letters of a 1-based row: 1 "A", 26 "Z", 27 "AA", 53 "BA".
    static QString rowLetters(int row);
    // Two 8-bit RGB colours closer than ΔE*ab 30 (both converted through ColorUtil).
    static bool similarColors(const TargetPatch &a, const TargetPatch &b);

    bool overflow = false;
    std::vector<std::unique_ptr<TargetPatch>> patches;
    int columns = 0;
    int rows = 0;
    bool blackWhiteSeparators = false;
    bool autopositioningBorders = false;
    double gapX = 1.0;   // mm
    double gapY = 1.0;   // mm
    double sizeX = 18.0; // mm
    double sizeY = 18.0; // mm
    double scale = 1.0;  // pixels per mm
    double startOffset = 0.0; // mm

private:
    DisplayColourCache *colourCache = nullptr;
};
