#include "EmbeddedProfiles.h"

extern const unsigned char kOutputCMYKProfile[];
extern const std::size_t kOutputCMYKProfileSize;
extern const unsigned char kOutputGrayProfile[];
extern const std::size_t kOutputGrayProfileSize;

namespace EmbeddedProfiles
{
const unsigned char* OutputCMYK() { return kOutputCMYKProfile; }
std::size_t OutputCMYKSize() { return kOutputCMYKProfileSize; }
const unsigned char* OutputGray() { return kOutputGrayProfile; }
std::size_t OutputGraySize() { return kOutputGrayProfileSize; }
}
