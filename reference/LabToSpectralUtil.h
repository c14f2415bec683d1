// LabToSpectralUtil: the synthetic-spectrum display model of a CMYK or N-colour reference.
//
// Glossary: library = "MulticolorReference.txt", a reference file of measured-like colours
// with Lab and 41-value spectra; colorant = one device channel (ink) with its Lab colour;
// spectrum = reflectance factors 0-1 from 380 nm to 780 nm in 10 nm steps; paper-relative
// mixture = the product of every ink's transmission relative to the paper, so an empty
// patch is a perfect white. Every ink gets a spectrum weighted from the library colours
// nearest to its Lab (CIEDE2000); a patch's ink percentages are mixed in the spectral
// domain and integrated under D50 / 2 degrees. Used only to paint patches on screen.
#pragma once

#include "ReferenceFileData.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class LabToSpectralUtil
{
public:
    static constexpr int kSpectralCount = 41;   // 380-780 nm, 10 nm steps
    using Spectrum = std::array<double, kSpectralCount>;

    // File name of the library inside the application data folder.
    static const char* LibraryFileName() { return "MulticolorReference.txt"; }

    LabToSpectralUtil() = default;
    ~LabToSpectralUtil();
    LabToSpectralUtil(const LabToSpectralUtil&) = delete;
    LabToSpectralUtil& operator=(const LabToSpectralUtil&) = delete;

    // Loads the library from `libraryPath` and synthesises one spectrum per colorant, then
    // finds the paper. Returns false when the library cannot be loaded; the model then has
    // no colorants and every mixture is a perfect white. The caller shows the message.
    bool init(const std::string& libraryPath, const std::vector<LabTriple>& colorantLabs);

    // Spectrum of `lab` weighted from the library (exact match, 1/dE00 mean within 10,
    // else nearest). A library without sets yields a perfect white (all 1.0).
    Spectrum labToSpectrum(const LabTriple& lab) const;
    // Sets paperSpectrum from the library's paper white (see the .cpp for the fallbacks).
    void findPaper();
    // Paper-relative mixture of `values` (per cent, device-channel order) as L, a, b.
    void mixToLab(const std::vector<int>& values, double lab[3]) const;
    // mixToLab, then ColorUtil::LabToRGB (0-255 doubles, not range-checked). Returns false
    // and leaves `rgb` untouched when the colour conversion module is not ready.
    bool mixToRGB(const std::vector<int>& values, double rgb[3]) const;

    // Integrates a reflectance spectrum under D50 / 2 degrees and converts it to Lab
    // (white point D50, a and b clamped to -128 ... 127). The library's Lab values are
    // made with the same rule, so a library colour maps back onto itself.
    static void SpectrumToLab(const Spectrum& reflectance, double lab[3]);
    // CIEDE2000 with kL = kC = kH = 1.
    static double DeltaE00(const LabTriple& x, const LabTriple& y);

    // Fields in model order.
    std::unique_ptr<ReferenceFileData> multicolorReference;
    std::vector<LabTriple> colorantLabs;
    std::vector<Spectrum> colorantSpectra;
    Spectrum paperSpectrum = PerfectWhite();

    static Spectrum PerfectWhite();
};
