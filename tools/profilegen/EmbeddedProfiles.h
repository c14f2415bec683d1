// The suite's ICC profiles, compiled into the binaries (bytes made by profilegen).
#pragma once

#include <cstddef>

namespace EmbeddedProfiles
{
// CMYK printer profile: ICC 2.1, output class, Lab connection space.
const unsigned char* OutputCMYK();
std::size_t OutputCMYKSize();
// Gray printer profile used for the plates of DCS files.
const unsigned char* OutputGray();
std::size_t OutputGraySize();
}
