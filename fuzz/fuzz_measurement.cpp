// Fuzz target: the measurement text of the stand-in instrument library (Tintora_ParseFile).
//
// Invariants: a rejected text leaves the record zero-filled; an accepted one respects its
// grid and is written back by Tintora_WriteFile into a text that parses again and is
// written out identically (write -> read -> write gives the same text).
#include "FuzzSupport.h"
#include "Tintlib.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace
{
struct Record
{
    Record() : target(new Tintora_target{}) {}
    ~Record()
    {
        Tintora_FreeTarget(target.get());
    }
    std::unique_ptr<Tintora_target> target;
};

bool AllZero(const Tintora_target& t)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&t);
    for (std::size_t i = 0; i < sizeof t; ++i) {
        if (bytes[i] != 0)
            return false;
    }
    return true;
}
}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Scratch& scratch = fuzz::Scratch::Get();
    const std::string path = scratch.Put("measurement.txt", data, size);
    Record first;
    if (!Tintora_ParseFile(first.target.get(), path.c_str())) {
        FUZZ_CHECK(AllZero(*first.target));
        return 0;
    }
    const Tintora_target& t = *first.target;
    FUZZ_CHECK(t.patchesPerRow >= 1 && t.rowsPerStrip >= 1 && t.stripCount >= 1);
    FUZZ_CHECK(int64_t(t.patchesPerRow) * t.rowsPerStrip * t.stripCount <= TINTORA_MAX_PATCHES);
    FUZZ_CHECK(t.patchCount >= 1 && t.patchCount <= t.patchesPerRow * t.rowsPerStrip * t.stripCount);
    FUZZ_CHECK(t.stripStatus != nullptr && t.stripStatusSize == t.stripCount);

    const std::string once = scratch.Dir() + "/once.txt";
    const std::string twice = scratch.Dir() + "/twice.txt";
    FUZZ_CHECK(Tintora_WriteFile(first.target.get(), once.c_str()));
    Record second;
    FUZZ_CHECK(Tintora_ParseFile(second.target.get(), once.c_str()));
    FUZZ_CHECK(Tintora_WriteFile(second.target.get(), twice.c_str()));
    std::string a, b;
    FUZZ_CHECK(fuzz::ReadBack(once, a) && fuzz::ReadBack(twice, b));
    FUZZ_CHECK(a == b);
    return 0;
}
