// Fuzz target: the CxF3 reader in both flavours.
//
// Each input is stored as a file and read as Tessaro reads a CxF3 reference and as the
// report library reads a measurement (with a Quorvane layout, so its own set variant is
// made). Invariants: the file is never changed, nothing is left beside it, the model stays
// within its channel slots.
#include "ReferenceFuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace
{
void LoadOne(ReferenceFlavour flavour, const char* layout, const uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::Scratch::Get().Put("file.cxf", data, size);
    ReferenceFileData d(flavour);
    if (d.loadCXFFileData(path.c_str(), layout))
        fuzz::Walk(d);
    FUZZ_CHECK(fuzz::HoldsOnly({"file.cxf"}));
    FUZZ_CHECK(fuzz::SameBytes(path, data, size));
}
}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::InitColour();
    LoadOne(ReferenceFlavour::Application, nullptr, data, size);
    LoadOne(ReferenceFlavour::ReportLibrary, "QUORVANE - Horizontal (default)", data, size);
    return 0;
}
