// SampleFiles: text output of the sample generator: numbers, folders and the file formats
// that are written here rather than through the reference writer (CxF3 measurements and
// references, tolerance sets, jobs).
#pragma once

#include "Spectra.h"

#include <string>
#include <vector>

namespace samplegen
{
// Fixed notation with `decimals` decimals, C locale, never "-0.00".
std::string Fixed(double v, int decimals);
// Creates `path` and its parents; false when a folder cannot be made.
bool MakeFolders(const std::string& path);
// Writes `text` to `path` (folders created); false on any failure.
bool WriteText(const std::string& path, const std::string& text);
std::string XmlEscape(const std::string& text);

// One patch of a CxF3 file.
struct CxfPatch
{
    std::string name;
    Lab lab;
    bool hasSpectrum = false;
    Spectrum spectrum{};
    bool hasCmyk = false;
    double cmyk[4] = {};
};

struct CxfHeader
{
    std::string creator;
    std::string creationDate;   // ISO 8601
    std::string description;
    std::string deviceModel;    // empty: no colour specification is written
};

// A CxF3 document with one "Target" object per patch, in order.
std::string CxfDocument(const CxfHeader& header, const std::vector<CxfPatch>& patches);

// One tolerance limit of a tolerance set.
struct Limit
{
    const char* key;
    double value;
};
// A tolerance set: the report types, the formula and every limit in the order given.
std::string ToleranceDocument(const std::vector<std::string>& reportTypes, int formula,
                              const std::vector<Limit>& limits);
}  // namespace samplegen
