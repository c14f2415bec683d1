// Page layout run, tightening step and reset of the patch settings.
#include "PageLayout.h"

#include "InstrumentCatalogue.h"
#include "TargetSettings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// How many cells of `step` um fit in `length` um; below 2 (zero, negative, or
// an unusable step) it is 1, and huge values are clamped to stay an int.
int cellsThatFit(double length, double step)
{
    if (!(step > 0) || !std::isfinite(length) || !std::isfinite(step))
        return 1;
    const double count = std::trunc(length / step);
    if (count < 2)
        return 1;
    if (count > std::numeric_limits<int>::max() / 4)
        return std::numeric_limits<int>::max() / 4;
    return static_cast<int>(count);
}

int ceilDiv(long long a, long long b)
{
    return static_cast<int>((a + b - 1) / b);
}

} // namespace

int PageLayout::runLayout(TargetSettings &s, int depth)
{
    const bool again = runOnce(s);
    int deepest = depth;
    if (again && depth < kMaxDepth)
        deepest = runLayout(s, depth + 1);
    if (depth == 0) {
        s.columnLimit = 0;
        s.rowLimit = 0;
    }
    return deepest;
}

bool PageLayout::runOnce(TargetSettings &s)
{
    // Every run starts again from the base size: an earlier enlargement is dropped.
    s.patchSizeX = s.minPatchSizeX;
    s.patchSizeY = s.minPatchSizeY;

    const QSizeF area = s.availableTargetSize();
    int columns = cellsThatFit(area.width(), s.minPatchSizeX + s.patchMarginX);
    int rows = cellsThatFit(area.height(), s.minPatchSizeY + s.patchMarginY);

    if (s.desiredPatchesX > 0 && s.desiredPatchesX < columns)
        columns = s.desiredPatchesX;
    if (s.columnLimit > 0 && s.columnLimit < columns)
        columns = s.columnLimit;
    if (s.desiredPatchesY > 0 && s.desiredPatchesY < rows)
        rows = s.desiredPatchesY;
    if (s.rowLimit > 0 && s.rowLimit < rows)
        rows = s.rowLimit;

    const int count = s.patchCount;
    bool again = false;
    if (count <= 0) {
        // Nothing to place: one empty cell on one page keeps the painter and
        // the writers, which expect a page, out of divisions by zero.
        s.patchesX = 1;
        s.patchesY = 1;
        s.numberOfPages = 1;
    } else {
        const int rowsNeeded = ceilDiv(count, columns);
        rows = std::min(rowsNeeded, rows);
        if (rows == 1)
            columns = std::min(columns, count);
        s.patchesX = columns;
        s.patchesY = rows;

        const long long perPage = static_cast<long long>(columns) * rows;
        if (s.verificationPatches) {
            const double v = s.verificationPatchCount();
            const double p = static_cast<double>(perPage);
            s.numberOfPages = static_cast<int>(std::ceil((count + v * count / p) / p));
        } else {
            s.numberOfPages = ceilDiv(count, perPage);
        }
        s.numberOfPages = std::max(s.numberOfPages, 1);

        if (s.optimizeTilePosition)
            again = tighten(s);
    }

    s.targetSize = QSizeF((s.patchSizeX + s.patchMarginX) * s.patchesX,
                          (s.patchSizeY + s.patchMarginY) * s.patchesY);
    return again;
}

bool PageLayout::tighten(TargetSettings &s)
{
    const long long pages = s.numberOfPages;
    const long long freePlaces = static_cast<long long>(s.patchesY) * s.patchesX * pages
                                 - (s.patchCount + static_cast<long long>(s.verificationPatchCount()) * pages);

    const int freeRows = static_cast<int>(
        std::trunc(static_cast<double>(freePlaces) / static_cast<double>(s.patchesX * pages)));
    if (freeRows > 0) {
        s.rowLimit = s.patchesY - freeRows;
        return true;
    }
    const int freeColumns = static_cast<int>(
        std::trunc(static_cast<double>(freePlaces) / static_cast<double>(s.patchesY * pages)));
    if (freeColumns > 0) {
        s.columnLimit = s.patchesX - freeColumns;
        return true;
    }
    if (s.fillPage) {
        // The separators are deliberately not subtracted: the filled grid is
        // wider than the area by the separators.
        const QSizeF area = s.availableTargetSize();
        s.patchSizeX = std::max(std::round(area.width() / s.patchesX), s.minPatchSizeX);
        s.patchSizeY = std::max(std::round(area.height() / s.patchesY), s.minPatchSizeY);
    }
    return false;
}

void PageLayout::resetToDefault(TargetSettings &s, DevOption comboInstrument)
{
    s.patchMarginX = 0;
    s.patchMarginY = 0;
    InstrumentCatalogue::updateMinimumPatchSize(s);
    s.patchSizeX = s.minPatchSizeX;
    s.patchSizeY = s.minPatchSizeY;
    if (comboInstrument == DevOption::TintoraVestraZqTextile) {
        s.patchMarginX = 1000;
        s.patchMarginY = 1000;
    }
    s.desiredPatchesX = 0;
    s.desiredPatchesY = 0;
    s.rowByRow = true;
    s.invertHorizontal = false;
    s.invertVertical = false;
}
