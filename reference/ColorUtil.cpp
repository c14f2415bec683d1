// ColorUtil: the process-wide lcms2 profiles and transforms, and the one-pixel conversions
// that use them.
//
// Everything lives in one lcms2 context of the module, whose error handler keeps the last
// message for LastError() instead of printing it. Not thread-safe: lcms2 transforms keep a
// one-pixel cache, so all calls come from one thread.
#include "ColorUtil.h"

#include <lcms2.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>

namespace
{

struct Module
{
    cmsContext context = nullptr;
    cmsHPROFILE srgb = nullptr;
    cmsHPROFILE lab = nullptr;
    cmsHPROFILE xyz = nullptr;
    cmsHPROFILE cmyk = nullptr;
    cmsHTRANSFORM rgbToLab = nullptr;
    cmsHTRANSFORM cmykToLab = nullptr;
    cmsHTRANSFORM xyzToLab = nullptr;
    cmsHTRANSFORM labToRgb = nullptr;
    cmsHTRANSFORM xyzToRgb = nullptr;

    void Release()
    {
        for (cmsHTRANSFORM* t : {&rgbToLab, &cmykToLab, &xyzToLab, &labToRgb, &xyzToRgb}) {
            if (*t) cmsDeleteTransform(*t);
            *t = nullptr;
        }
        for (cmsHPROFILE* p : {&srgb, &lab, &xyz, &cmyk}) {
            if (*p) cmsCloseProfile(*p);
            *p = nullptr;
        }
        if (context) cmsDeleteContext(context);
        context = nullptr;
    }
};

Module g_module;
bool g_ready = false;
std::string g_lastError;
// Last message of lcms2 in the module's context.
std::string g_lcmsMessage;

void OnLcmsError(cmsContext, cmsUInt32Number, const char* text)
{
    g_lcmsMessage = text ? text : "";
}

bool Fail(Module& pending, const std::string& what)
{
    g_lastError = what;
    if (!g_lcmsMessage.empty()) g_lastError += ": " + g_lcmsMessage;
    pending.Release();
    return false;
}

bool AllFinite(const double* v, int n)
{
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// The low 8 bits of the integer part of `v` (two's complement for negative values), so
// 256 gives 0 and -1 gives 255. `v` must be finite.
unsigned char LowByte(double v)
{
    double r = std::fmod(std::trunc(v), 256.0);
    if (r < 0.0) r += 256.0;
    return static_cast<unsigned char>(r);
}

}  // namespace

bool ColorUtil::Init(const unsigned char* cmykProfile, std::size_t size, bool withXYZtoRGB)
{
    g_lcmsMessage.clear();
    Module pending;
    if (!cmykProfile || size == 0) return Fail(pending, "No CMYK output profile data");
    if (size > std::numeric_limits<cmsUInt32Number>::max())
        return Fail(pending, "CMYK output profile is too large");

    pending.context = cmsCreateContext(nullptr, nullptr);
    if (!pending.context) return Fail(pending, "Cannot create the colour management context");
    cmsSetLogErrorHandlerTHR(pending.context, OnLcmsError);

    cmsContext ctx = pending.context;
    pending.srgb = cmsCreate_sRGBProfileTHR(ctx);
    pending.lab = cmsCreateLab4ProfileTHR(ctx, nullptr);
    pending.xyz = cmsCreateXYZProfileTHR(ctx);
    if (!pending.srgb || !pending.lab || !pending.xyz)
        return Fail(pending, "Cannot create the built-in profiles");
    pending.cmyk = cmsOpenProfileFromMemTHR(ctx, cmykProfile, static_cast<cmsUInt32Number>(size));
    if (!pending.cmyk) return Fail(pending, "Cannot open the CMYK output profile");
    if (cmsGetColorSpace(pending.cmyk) != cmsSigCmykData)
        return Fail(pending, "The CMYK output profile is not a CMYK profile");

    constexpr cmsUInt32Number intent = INTENT_RELATIVE_COLORIMETRIC;
    pending.rgbToLab = cmsCreateTransformTHR(ctx, pending.srgb, TYPE_RGB_8, pending.lab, TYPE_Lab_DBL, intent, 0);
    if (!pending.rgbToLab) return Fail(pending, "Cannot create the RGB to Lab transform");
    pending.cmykToLab = cmsCreateTransformTHR(ctx, pending.cmyk, TYPE_CMYK_DBL, pending.lab, TYPE_Lab_DBL, intent, 0);
    if (!pending.cmykToLab) return Fail(pending, "Cannot create the CMYK to Lab transform");
    pending.xyzToLab = cmsCreateTransformTHR(ctx, pending.xyz, TYPE_XYZ_DBL, pending.lab, TYPE_Lab_DBL, intent, 0);
    if (!pending.xyzToLab) return Fail(pending, "Cannot create the XYZ to Lab transform");
    pending.labToRgb = cmsCreateTransformTHR(ctx, pending.lab, TYPE_Lab_DBL, pending.srgb, TYPE_RGB_8, intent, 0);
    if (!pending.labToRgb) return Fail(pending, "Cannot create the Lab to RGB transform");
    if (withXYZtoRGB) {
        pending.xyzToRgb = cmsCreateTransformTHR(ctx, pending.xyz, TYPE_XYZ_DBL, pending.srgb, TYPE_RGB_8, intent, 0);
        if (!pending.xyzToRgb) return Fail(pending, "Cannot create the XYZ to RGB transform");
    }

    g_module.Release();
    g_module = pending;
    g_ready = true;
    g_lastError.clear();
    return true;
}

bool ColorUtil::IsReady() { return g_ready; }

const std::string& ColorUtil::LastError() { return g_lastError; }

void ColorUtil::Shutdown()
{
    g_module.Release();
    g_ready = false;
}

bool ColorUtil::RGBtoLab(const double rgb[3], double lab[3])
{
    if (!g_ready || !AllFinite(rgb, 3)) return false;
    const unsigned char bytes[3] = {LowByte(rgb[0]), LowByte(rgb[1]), LowByte(rgb[2])};
    cmsCIELab out;
    cmsDoTransform(g_module.rgbToLab, bytes, &out, 1);
    lab[0] = out.L;
    lab[1] = out.a;
    lab[2] = out.b;
    return true;
}

bool ColorUtil::CMYKtoLab(const double cmyk[4], double lab[3])
{
    if (!g_ready || !AllFinite(cmyk, 4)) return false;
    const double in[4] = {cmyk[0], cmyk[1], cmyk[2], cmyk[3]};
    cmsCIELab out;
    cmsDoTransform(g_module.cmykToLab, in, &out, 1);
    lab[0] = out.L;
    lab[1] = out.a;
    lab[2] = out.b;
    return true;
}

bool ColorUtil::XYZtoLab(const double xyz[3], double lab[3])
{
    if (!g_ready || !AllFinite(xyz, 3)) return false;
    const cmsCIEXYZ in = {xyz[0] / 100.0, xyz[1] / 100.0, xyz[2] / 100.0};
    cmsCIELab out;
    cmsDoTransform(g_module.xyzToLab, &in, &out, 1);
    lab[0] = out.L;
    lab[1] = out.a;
    lab[2] = out.b;
    return true;
}

bool ColorUtil::LabToRGB(const double lab[3], double rgb[3])
{
    if (!g_ready || !AllFinite(lab, 3)) return false;
    const cmsCIELab in = {lab[0], lab[1], lab[2]};
    unsigned char out[3];
    cmsDoTransform(g_module.labToRgb, &in, out, 1);
    for (int i = 0; i < 3; ++i) rgb[i] = out[i];
    return true;
}

bool ColorUtil::XYZtoRGB(const double xyz[3], unsigned char rgb[3])
{
    if (!g_ready || !g_module.xyzToRgb || !AllFinite(xyz, 3)) return false;
    const cmsCIEXYZ in = {xyz[0] / 100.0, xyz[1] / 100.0, xyz[2] / 100.0};
    unsigned char out[3];
    cmsDoTransform(g_module.xyzToRgb, &in, out, 1);
    for (int i = 0; i < 3; ++i) rgb[i] = out[i];
    return true;
}
