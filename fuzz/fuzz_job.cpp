// Fuzz target: the job file loader, each input read as a version-3 job (measurement text,
// ".txt") and as a version-4 job (XML embedding the measurement, ".xml").
//
// Invariants: exactly one message for a failed load and none for a good one; the job file
// is never changed; the scratch file of the embedded measurement is gone afterwards; a
// loaded job holds a target without the instrument library's buffers.
#include "ErrorHandler.h"
#include "FuzzSupport.h"
#include "Job.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace
{
int gMessages = 0;
int CountMessage(char const*)
{
    ++gMessages;
    return 0;
}

void LoadOne(const char* name, const uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::Scratch::Get().Put(name, data, size);
    ErrorHandler handler(CountMessage);
    gMessages = 0;
    Job job;
    job.setErrorHandler(&handler);
    const bool ok = job.Load(path.c_str());
    FUZZ_CHECK(gMessages == (ok ? 0 : 1));
    FUZZ_CHECK(fuzz::HoldsOnly({name}));
    FUZZ_CHECK(fuzz::SameBytes(path, data, size));
    if (!ok)
        return;
    const Tintora_target* target = job.GetTintoraTarget();
    FUZZ_CHECK(target != nullptr && target->rows == nullptr && target->stripStatus == nullptr);
    Job copy(job);
    FUZZ_CHECK(copy.GetTintoraTarget() != nullptr && copy.GetTintoraTarget() != target);
    FUZZ_CHECK(copy.GetExtraTags().size() == job.GetExtraTags().size());
    FUZZ_CHECK(copy.GetCommandList() == job.GetCommandList());
    (void)job.HasOutputFileName();
}
}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Scratch::Get();   // points TMPDIR at the scratch folder before the first load
    LoadOne("job.txt", data, size);
    LoadOne("job.xml", data, size);
    return 0;
}
