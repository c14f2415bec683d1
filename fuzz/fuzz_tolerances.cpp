// Fuzz target: the tolerance file loader (TolerancesData::LoadFromXML).
//
// Invariants: the file is never changed; a good load has a report type and leaves every
// limit finite (a limit is either the constructed value or a finite number read).
#include "FuzzSupport.h"
#include "Tolerances.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::Scratch::Get().Put("tolerances.xml", data, size);
    TolerancesData tolerances(-1.0f);
    const bool ok = tolerances.LoadFromXML(path);
    FUZZ_CHECK(fuzz::SameBytes(path, data, size));
    if (!ok)
        return 0;
    FUZZ_CHECK(!tolerances.reportTypes.empty());
    const TolerancesData::Key* keys = TolerancesData::Keys();
    for (int k = 0; k < TolerancesData::kKeyCount; ++k)
        FUZZ_CHECK(std::isfinite(tolerances.*keys[k].field));
    return 0;
}
