// ReferenceFuzzSupport: what the reference fuzz targets share: the colour conversion set
// up once as the deliverables do at start, and a walk over a loaded model that touches
// every set through the accessors the layout and the report use.
#pragma once

#include "ColorUtil.h"
#include "EmbeddedProfiles.h"
#include "FuzzSupport.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"

namespace fuzz
{
inline void InitColour()
{
    static const bool ready = ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize());
    FUZZ_CHECK(ready);
}

inline void Walk(ReferenceFileData& d)
{
    FUZZ_CHECK(d.extraChannelCount >= 0 && d.extraChannelCount <= ReferenceFileData::kMaxChannels);
    for (int k = 0; k < d.extraChannelCount; ++k)
        (void)d.GetChannelName(k);
    (void)d.GetColorantNames();
    (void)d.GetBlackChannel();
    (void)d.GetMaxSetsID();
    for (int i = 0; i < d.GetSetCount(); ++i) {
        ReferenceFileSet* s = d.GetSet(i);
        FUZZ_CHECK(s != nullptr);
        (void)d.SetName(i, 1);
    }
}
}   // namespace fuzz
