// ReferenceFileSet: values, device scaling, Lab conversions and the classification
// predicates of one patch. Glossary: solid = one ink at 100 %; overprint = two solids on
// top of each other; boundary colour = a patch of the gamut-boundary list below.
#include "ReferenceFileSet.h"

#include "ColorUtil.h"
#include "FixedText.h"
#include "ReferenceFileData.h"

#include <cmath>
#include <cstring>

double UnsetValue()
{
    const uint64_t bits = ~uint64_t{0};
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Any NaN counts: no NaN is a usable device or XYZ value.
bool IsUnset(double v) { return std::isnan(v); }

namespace
{
// Device scaling truncates toward zero. Values are clamped to the integer range first
// (and NaN maps to 0) because converting an out-of-range double is undefined behaviour.
uint8_t ToByte(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v >= 255.0)
        return 255;
    return static_cast<uint8_t>(v);
}

uint16_t ToWord(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v >= 65535.0)
        return 65535;
    return static_cast<uint16_t>(v);
}

// trunc(v + 0.5), kept in double so an unset (NaN) value simply compares unequal.
double RoundHalfUp(double v) { return std::trunc(v + 0.5); }

bool AnyUnset(const double* v, int n)
{
    for (int i = 0; i < n; ++i)
        if (IsUnset(v[i]))
            return true;
    return false;
}

bool Is(double c, double m, double y, double k, const double (&e)[4])
{
    return c == e[0] && m == e[1] && y == e[2] && k == e[3];
}

template <std::size_t N>
bool InList(double c, double m, double y, double k, const double (&list)[N][4])
{
    for (const auto& e : list)
        if (Is(c, m, y, k, e))
            return true;
    return false;
}

// The 40 CMYK patches that outline the printable gamut.
const double kBoundaryList[40][4] = {
    {10, 0, 0, 0},    {0, 10, 0, 0},    {0, 0, 10, 0},    {10, 10, 0, 0},   {0, 10, 10, 0},
    {10, 0, 10, 0},   {20, 0, 0, 0},    {0, 20, 0, 0},    {0, 0, 20, 0},    {20, 20, 0, 0},
    {0, 20, 20, 0},   {20, 0, 20, 0},   {40, 0, 0, 0},    {0, 40, 0, 0},    {0, 0, 40, 0},
    {40, 40, 0, 0},   {0, 40, 40, 0},   {40, 0, 40, 0},   {70, 0, 0, 0},    {0, 70, 0, 0},
    {0, 0, 70, 0},    {70, 70, 0, 0},   {0, 70, 70, 0},   {70, 0, 70, 0},   {100, 0, 0, 0},
    {0, 100, 0, 0},   {0, 0, 100, 0},   {100, 100, 0, 0}, {0, 100, 100, 0}, {100, 0, 100, 0},
    {100, 40, 0, 0},  {40, 100, 0, 0},  {0, 100, 40, 0},  {0, 40, 100, 0},  {100, 0, 40, 0},
    {40, 0, 100, 0},  {0, 0, 0, 0},     {100, 0, 0, 100}, {0, 100, 0, 100}, {0, 0, 100, 100},
};

const double kGamutDark[5][4] = {
    {0, 0, 0, 100}, {100, 100, 100, 0}, {100, 0, 0, 100}, {0, 100, 0, 100}, {0, 0, 100, 100},
};

const double kGrayScaleIDEA[7][4] = {
    {3, 2, 2, 0},   {10, 7, 7, 0},   {25, 19, 19, 0},    {25, 18, 18, 0},
    {50, 40, 40, 0}, {90, 85, 85, 0}, {100, 100, 100, 0},
};

bool RgbIs(const double* rgb, double r, double g, double b)
{
    return RoundHalfUp(rgb[0]) == r && RoundHalfUp(rgb[1]) == g && RoundHalfUp(rgb[2]) == b;
}
} // namespace

ReferenceFileSet::ReferenceFileSet(ReferenceFileData* data_, int idxInFile_, bool isVerification_)
    : data(data_), idxInFile(idxInFile_), isVerification(isVerification_)
{
    const double unset = UnsetValue();
    for (double& v : valuesCMYK)
        v = unset;
    for (double& v : valuesRGB)
        v = unset;
    for (double& v : valuesXYZ)
        v = unset;
    for (double& v : valuesNColor)
        v = unset;
}

void ReferenceFileSet::SetOldName(const char* name) { CopyFixedText(oldName, name); }

void ReferenceFileSet::SetName(const char* name) { CopyFixedText(newName, name); }

void ReferenceFileSet::SetRGB(const double* v)
{
    for (int i = 0; i < 3; ++i) {
        valuesRGB[i] = v[i];
        colors8Bit[i] = ToByte(v[i]);
        colors16Bit[i] = ToWord(v[i] * 257.0);
    }
}

void ReferenceFileSet::SetCMYK(const double* v)
{
    for (int i = 0; i < 4; ++i) {
        valuesCMYK[i] = v[i];
        colors8Bit[i] = ToByte(v[i] * 2.55 + 0.5);
        colors16Bit[i] = ToWord(v[i] * 655.35);
    }
}

void ReferenceFileSet::SetNColor(const double* v)
{
    if (!data)
        return;
    const int offset = data->isCMYK ? 4 : 0;
    int count = data->extraChannelCount;
    if (count > kMaxChannels)
        count = kMaxChannels;
    for (int k = 0; k < count; ++k) {
        valuesNColor[k] = v[k];
        // A CMYK file has room for 8 extra channels in the device arrays; further
        // channels keep their per-cent value only.
        if (offset + k < kMaxChannels) {
            colors8Bit[offset + k] = ToByte(v[k] * 2.55 + 0.5);
            colors16Bit[offset + k] = ToWord(v[k] * 655.35);
        }
    }
}

void ReferenceFileSet::SetLAB(const double* v)
{
    for (int i = 0; i < 3; ++i)
        valuesLAB[i] = v[i];
}

void ReferenceFileSet::SetXYZ(const double* v)
{
    for (int i = 0; i < 3; ++i)
        valuesXYZ[i] = v[i];
}

int ReferenceFileSet::SpectralCount() const
{
    return data ? ::SpectralCount(data->GetFlavour()) : kMaxSpectral;
}

void ReferenceFileSet::SetSpectral(const double* v)
{
    std::memcpy(valuesSpectral, v, sizeof(double) * static_cast<std::size_t>(SpectralCount()));
}

const double* ReferenceFileSet::GetValuesSpectral() const { return valuesSpectral; }

void QuorvaneReferenceFileSet::SetSpectral(const double* v)
{
    std::memcpy(spectral41, v, sizeof spectral41);
}

// An unset source has no colour: Lab then stays as it was instead of taking the
// conversion of a NaN.
void ReferenceFileSet::SetLabFromRGB()
{
    if (!AnyUnset(valuesRGB, 3))
        ColorUtil::RGBtoLab(valuesRGB, valuesLAB);
}

void ReferenceFileSet::SetLabFromCMYK()
{
    if (!AnyUnset(valuesCMYK, 4))
        ColorUtil::CMYKtoLab(valuesCMYK, valuesLAB);
}

void ReferenceFileSet::SetLabFromXYZ()
{
    if (!AnyUnset(valuesXYZ, 3))
        ColorUtil::XYZtoLab(valuesXYZ, valuesLAB);
}

// Predicates: exact comparisons on the stored per-cent values unless a rounding is
// named; NaN (unset) never compares equal, so unset values never match.

bool ReferenceFileSet::IsPaperWhite() const
{
    const double* v = valuesCMYK;
    return v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == 0;
}

bool ReferenceFileSet::IsCMYKPrimaryColor() const
{
    static const double kList[6][4] = {
        {100, 0, 0, 0}, {0, 100, 0, 0}, {0, 0, 100, 0}, {100, 100, 0, 0}, {0, 100, 100, 0}, {100, 0, 100, 0},
    };
    const double* v = valuesCMYK;
    return InList(v[0], v[1], v[2], v[3], kList);
}

// A three-colour gray with cyan leading.
bool ReferenceFileSet::IsGrayScale() const
{
    const double c = valuesCMYK[0], m = valuesCMYK[1], y = valuesCMYK[2], k = valuesCMYK[3];
    if (!(k == 0 && m == y && m < c))
        return false;
    if (c >= 10 && c <= 20)
        return c - m < 10;
    if (c > 20)
        return c - m < 20;
    return false;
}

bool ReferenceFileSet::IsGamutDarkColor() const
{
    const double* v = valuesCMYK;
    return InList(v[0], v[1], v[2], v[3], kGamutDark);
}

bool ReferenceFileSet::isCMYKBoundaryColor() const
{
    const double* v = valuesCMYK;
    return InList(RoundHalfUp(v[0]), RoundHalfUp(v[1]), RoundHalfUp(v[2]), RoundHalfUp(v[3]), kBoundaryList);
}

bool ReferenceFileSet::IsG7CMYSolid() const
{
    static const double kList[3][4] = {{100, 0, 0, 0}, {0, 100, 0, 0}, {0, 0, 100, 0}};
    const double* v = valuesCMYK;
    return InList(v[0], v[1], v[2], v[3], kList);
}

bool ReferenceFileSet::IsG7RGBSolid() const
{
    static const double kList[3][4] = {{0, 100, 100, 0}, {100, 0, 100, 0}, {100, 100, 0, 0}};
    const double* v = valuesCMYK;
    return InList(v[0], v[1], v[2], v[3], kList);
}

// G7 gray balance: the M and Y that balance cyan C, within 1 %.
bool ReferenceFileSet::IsG7CMYGrayScale() const
{
    const double c = valuesCMYK[0], m = valuesCMYK[1], y = valuesCMYK[2], k = valuesCMYK[3];
    if (!(k == 0))
        return false;
    const double g = static_cast<float>(0.0000294 * c * c * c + 0.747 * c - 0.00041 * c * c);
    return std::fabs(m - g) <= 1.0 && std::fabs(y - g) <= 1.0;
}

bool ReferenceFileSet::IsG7KGrayScale() const
{
    const double* v = valuesCMYK;
    return v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == v[3];
}

bool ReferenceFileSet::IsG7KSolid() const
{
    const double* v = valuesCMYK;
    return v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == 100;
}

bool ReferenceFileSet::IsGrayBalanceIDEASpecial() const
{
    const double* v = valuesCMYK;
    return Is(std::floor(v[0]), std::floor(v[1]), std::floor(v[2]), std::floor(v[3]), {75, 66, 66, 0});
}

bool ReferenceFileSet::IsGrayScaleIDEA() const
{
    const double* v = valuesCMYK;
    return InList(std::floor(v[0]), std::floor(v[1]), std::floor(v[2]), std::floor(v[3]), kGrayScaleIDEA);
}

bool ReferenceFileSet::IsRGBPrimaryColor() const
{
    if (!data || !data->isRGB)
        return false;
    return RgbIs(valuesRGB, 255, 0, 0) || RgbIs(valuesRGB, 0, 255, 0) || RgbIs(valuesRGB, 0, 0, 255);
}

// Deliberately no test of isRGB: the tolerance checks call it on any file.
bool ReferenceFileSet::IsRGBSecondaryColor() const
{
    return RgbIs(valuesRGB, 255, 255, 0) || RgbIs(valuesRGB, 255, 0, 255) || RgbIs(valuesRGB, 0, 255, 255);
}

bool ReferenceFileSet::IsRGBPaperWhite() const
{
    return data && data->isRGB && RgbIs(valuesRGB, 255, 255, 255);
}

bool ReferenceFileSet::IsRGBGrayScale() const
{
    if (!data || !data->isRGB)
        return false;
    const double r = RoundHalfUp(valuesRGB[0]);
    const double g = RoundHalfUp(valuesRGB[1]);
    const double b = RoundHalfUp(valuesRGB[2]);
    return r == g && g == b && r != 0 && r != 255;
}

bool ReferenceFileSet::IsRGBGamutDarkColor() const
{
    return data && data->isRGB && RgbIs(valuesRGB, 0, 0, 0);
}

bool ReferenceFileSet::IsRGBBoundaryColor() const { return false; }
