// ColorUtil: the ICC conversions shared by both deliverables.
//
// One pixel per call through lcms2 transforms that live for the whole process.
// Value scales at this interface: RGB 0-255, CMYK 0-100 %, XYZ 0-100 (white Y = 100),
// Lab with L 0-100. The CMYK output profile is handed in as bytes so the module never
// depends on the working directory; the Qt-only helpers live in the application.
#pragma once

#include <cstddef>
#include <string>

class ColorUtil
{
public:
    // Opens the built-in sRGB, Lab (D50) and XYZ profiles and the CMYK output profile
    // from `cmykProfile`, then creates the transforms in the documented order.
    // `withXYZtoRGB` also creates the application's XYZ-to-RGB transform.
    // Returns false when a profile or transform cannot be made (no data, bytes that are
    // not an ICC profile, a profile that is not CMYK); LastError() then tells why and the
    // module keeps its previous state (not ready, or the transforms of an earlier
    // successful call). A second successful call replaces the transforms.
    static bool Init(const unsigned char* cmykProfile, std::size_t size, bool withXYZtoRGB = true);
    static bool IsReady();
    static const std::string& LastError();
    // Releases every transform and profile; the module is not ready afterwards.
    static void Shutdown();

    // Each returns false and leaves the output untouched when the module is not ready or
    // an input value is not finite (NaN marks unset values in the reference model).
    // Not thread-safe: lcms2 transforms cache the last pixel; call from one thread only.
    static bool RGBtoLab(const double rgb[3], double lab[3]);
    static bool CMYKtoLab(const double cmyk[4], double lab[3]);
    static bool XYZtoLab(const double xyz[3], double lab[3]);
    static bool LabToRGB(const double lab[3], double rgb[3]);
    // Application only (needs Init with withXYZtoRGB): three bytes of display RGB.
    static bool XYZtoRGB(const double xyz[3], unsigned char rgb[3]);
};
