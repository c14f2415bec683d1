// The page layout run: how many patch columns and rows one page holds, how
// many pages the target needs and how large the patch grid is, with the
// optional tightening of the grid (so the last page is not half empty) and the
// enlargement of the patches to fill the page. Also the reset of the patch
// settings to the instrument's defaults.
//
// Glossary: the "base patch size" is minPatchSizeX/Y, where every run starts;
// "limits" are columnLimit/rowLimit, set by the tightening between the nested
// runs of one refresh and 0 outside it; "depth" counts the nested runs.
// All lengths in micrometres (um).
#pragma once

#include "DevOption.h"

class TargetSettings;

class PageLayout
{
public:
    // Nested runs stop after this depth, keeping the grid of the last run.
    static constexpr int kMaxDepth = 5;

    // The layout run. Writes patchSizeX/Y, patchesX/Y, numberOfPages and
    // targetSize. At depth 0 it ends with columnLimit = rowLimit = 0; the
    // caller then runs the validation and the page update. Returns the depth
    // of the deepest nested run (0 when no tightening asked for another run).
    static int runLayout(TargetSettings &settings, int depth = 0);

    // onResetToDefault without the widgets: separators 0 (1 x 1 mm for the
    // textile instrument in the combo), the minimum patch size recomputed and
    // taken as patch size, no wished counts, row-by-row order without flips.
    // The caller then refreshes the separator label, checks
    // radioButtonRowByRow, unchecks both flip boxes and, when redrawing,
    // previews the target.
    static void resetToDefault(TargetSettings &settings, DevOption comboInstrument);

private:
    // One run without the nested ones; true when the tightening asks for another.
    static bool runOnce(TargetSettings &settings);
    static bool tighten(TargetSettings &settings);
};
