// Which deliverable's rules a reference follows. Both deliverables share one model; the
// few places where their rules differ (reader rules, spectrum length, InitLab after a
// load, CMYK colorant defaults) ask the owning ReferenceFileData for its flavour.
#pragma once

enum class ReferenceFlavour
{
    Application,   // Tessaro: 41 spectral values, Lab computed on load
    ReportLibrary  // Tintlibdoc: 36 spectral values, Lab left as read
};

// Number of spectral values a plain set of the given flavour holds (380 nm, 10 nm steps).
inline int SpectralCount(ReferenceFlavour f) { return f == ReferenceFlavour::ReportLibrary ? 36 : 41; }
