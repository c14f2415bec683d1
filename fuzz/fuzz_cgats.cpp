// Fuzz target: the CGATS reference reader in both flavours, normalisation included.
//
// Each input is stored as a reference file and loaded as Tessaro and as the report library
// load it. Invariants: a file that fails to load is byte for byte what it was; no stray
// file is left beside it; a file the load rewrote (normalised) loads again to the same
// sets; a loaded model written back through the reference writer loads again with the
// same number of sets. The normalisation step alone runs on a fresh copy as well.
#include "ReferenceFuzzSupport.h"
#include "ReferenceWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace
{
void LoadOne(ReferenceFlavour flavour, const char* name, const uint8_t* data, std::size_t size)
{
    fuzz::Scratch& scratch = fuzz::Scratch::Get();
    const std::string path = scratch.Put(name, data, size);
    ReferenceFileData d(flavour);
    const bool ok = flavour == ReferenceFlavour::Application ? d.loadReferenceFileData(nullptr, path.c_str(), false)
                                                             : d.loadCgatsFileData(nullptr, path.c_str());
    FUZZ_CHECK(fuzz::HoldsOnly({name}));
    if (!ok) {
        FUZZ_CHECK(fuzz::SameBytes(path, data, size));
        return;
    }
    fuzz::Walk(d);

    if (!fuzz::SameBytes(path, data, size)) {
        // Rewritten by the normalisation: what replaced the user's file must load the same.
        ReferenceFileData again(flavour);
        FUZZ_CHECK(again.loadCgatsFileData(nullptr, path.c_str()));
        FUZZ_CHECK(again.GetSetCount() == d.GetSetCount());
    }

    const std::string written = scratch.Dir() + "/written.ref";
    if (WriteReferenceFile(d, nullptr, written.c_str(), false)) {
        ReferenceFileData back(flavour);
        FUZZ_CHECK(back.loadCgatsFileData(nullptr, written.c_str()));
        FUZZ_CHECK(back.GetSetCount() == d.GetSetCount());
    }
    FUZZ_CHECK(fuzz::HoldsOnly({name, "written.ref"}) || fuzz::HoldsOnly({name}));
}

void NormaliseOnly(const uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::Scratch::Get().Put("old.txt", data, size);
    ReferenceFileData d;
    const bool ok = d.convertOldCgatsFormat(path.c_str());
    FUZZ_CHECK(fuzz::HoldsOnly({"old.txt"}));
    if (!ok)
        FUZZ_CHECK(fuzz::SameBytes(path, data, size));
}
}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::InitColour();
    LoadOne(ReferenceFlavour::Application, "ref.lab.txt", data, size);
    LoadOne(ReferenceFlavour::ReportLibrary, "ref.desk.ref", data, size);
    NormaliseOnly(data, size);
    return 0;
}
