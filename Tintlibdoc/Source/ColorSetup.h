// ColorSetup: one-time initialisation of the colour conversions before the first
// reference is loaded, from the profile bytes compiled into the library.
#pragma once

#include <string>

// True once the conversions are ready; on failure `error` says why and a later call
// tries again.
bool EnsureColorConversions(std::string& error);
