// Stores edited channel colours into a copy of a reference file (path + ".temp").
//
// An entry is the text the channel colour dialog makes for one colorant, in device-channel
// order: a double quote, the name, ",Lab,", L*, a* and b* each followed by a blank, and a
// closing double quote. The reference itself is never changed here.
#pragma once

#include <string>
#include <vector>

// The channel-information entry of one colorant (numbers with 6 significant digits).
std::string ChannelInfoEntry(const std::string& name, const double lab[3]);

// Writes the ".temp" copy with `entries`, choosing the CxF3 variant when the file's first
// line (trimmed) begins with "<", else the CGATS variant. On failure no ".temp" file is left
// (an older one is removed, so it cannot pass for this result).
bool StoreChannelInfo(const char* path, const std::vector<std::string>& entries);

// CGATS variant: the old "ChannelInfo" and "PLUS_" header lines are replaced by one
// "ChannelInfo<i>" line per entry (ending in CR LF), placed after the first four lines and
// always ahead of the data format and data blocks. True when the copy was written.
bool StoreChannelInfoCgats(const char* path, const std::vector<std::string>& entries);

// CxF3 variant: true when the ".temp" copy was written.
bool StoreChannelInfoCxf(const char* path, const std::vector<std::string>& entries);
