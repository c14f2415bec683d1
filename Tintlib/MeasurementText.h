// Internal helpers shared by the reader and the writer of the measurement text.
#pragma once

#include "Tintlib.h"

#include <cstdint>

namespace tintlib
{
inline constexpr const char* kHeaderKeyword = "TINTORA_MEASUREMENT";
inline constexpr int kFormatVersion = 1;
inline constexpr int kMaxMeasuringMode = 3;   // M0 to M3

// W, H and S each at least 1 and their product within TINTORA_MAX_PATCHES.
bool GridIsAllocatable(int32_t patchesPerRow, int32_t rowsPerStrip, int32_t stripCount);
// A grid the parser accepts: allocatable, and 1 <= N <= W * H * S.
bool GridIsValid(int32_t patchesPerRow, int32_t rowsPerStrip, int32_t patchCount, int32_t stripCount);

void StoreMeasuringMode(int mode);
}
