// Instrument access and the buffers of the measured-target record.
#include "MeasurementText.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace
{
std::atomic<int> gMeasuringMode{1};
}

namespace tintlib
{
bool GridIsAllocatable(int32_t patchesPerRow, int32_t rowsPerStrip, int32_t stripCount)
{
    if (patchesPerRow < 1 || rowsPerStrip < 1 || stripCount < 1)
        return false;
    // 64-bit products: three counts below 2^31 cannot overflow them.
    int64_t positions = int64_t(patchesPerRow) * rowsPerStrip * stripCount;
    return positions <= TINTORA_MAX_PATCHES;
}

bool GridIsValid(int32_t patchesPerRow, int32_t rowsPerStrip, int32_t patchCount, int32_t stripCount)
{
    return GridIsAllocatable(patchesPerRow, rowsPerStrip, stripCount) && patchCount >= 1 &&
           int64_t(patchCount) <= int64_t(patchesPerRow) * rowsPerStrip * stripCount;
}

void StoreMeasuringMode(int mode) { gMeasuringMode.store(mode); }
}

extern "C" {

TINTLIB_API int Tintora_GetInstrument(int /*port*/, int /*model*/) { return 0; }

TINTLIB_API int Tintora_Get_MeasuringMode(void) { return gMeasuringMode.load(); }

static void FreeRows(Tintora_target* target)
{
    if (target->rows) {
        for (int32_t i = 0; i < target->rowTableSize; ++i)
            std::free(target->rows[i]);
        std::free(target->rows);
    }
    target->rows = nullptr;
    target->rowTableSize = 0;
}

TINTLIB_API void Tintora_FreeTarget(Tintora_target* target)
{
    if (!target)
        return;
    FreeRows(target);
    std::free(target->stripStatus);
    target->stripStatus = nullptr;
    target->stripStatusSize = 0;
}

TINTLIB_API int Tintora_InitTarget(Tintora_target* target)
{
    if (!target)
        return 0;
    FreeRows(target);
    if (!tintlib::GridIsAllocatable(target->patchesPerRow, target->rowsPerStrip, target->stripCount))
        return 0;
    int32_t rowCount = target->rowsPerStrip * target->stripCount;
    auto** rows = static_cast<Tintora_patch**>(std::calloc(size_t(rowCount), sizeof(Tintora_patch*)));
    if (!rows)
        return 0;
    target->rows = rows;
    target->rowTableSize = rowCount;
    for (int32_t i = 0; i < rowCount; ++i) {
        rows[i] = static_cast<Tintora_patch*>(std::calloc(size_t(target->patchesPerRow), sizeof(Tintora_patch)));
        if (!rows[i]) {
            FreeRows(target);
            return 0;
        }
    }
    return 1;
}
}
