// ReferenceFileSet: one patch ("set") of a reference or measurement file.
//
// Glossary: old identity = SAMPLE_ID / SAMPLE_NAME as read; new identity = index and
// name given when the target is saved. Device values: CMYK and extra inks in per cent,
// RGB 0-255. Unset device and XYZ values are an all-ones quiet NaN, unset Lab is
// (255, 255, 255), unset gray -1, unset integers -1.
#pragma once

#include <cstdint>

class ReferenceFileData;

// Quiet NaN with every bit set: the model's "unset" marker for device and XYZ values.
double UnsetValue();
bool IsUnset(double v);

class ReferenceFileSet
{
public:
    static constexpr int kNameCapacity = 52;
    static constexpr int kMaxChannels = 12;   // slots of the device arrays and extra inks
    static constexpr int kMaxSpectral = 41;   // 380-780 nm in 10 nm steps

    ReferenceFileSet(ReferenceFileData* data, int idxInFile, bool isVerification);
    virtual ~ReferenceFileSet() = default;

    // Identity.
    void SetOldID(int id) { oldID = id; }
    void SetID(int id) { newID = id; }
    void SetOldName(const char* name);
    void SetName(const char* name);
    void SetIdxInFile(int idx) { idxInFile = idx; }
    int GetOldIndex() const { return oldID; }
    int GetNewIndex() const { return newID; }
    int GetIndex() const { return newID >= 0 ? newID : oldID; }
    const char* GetOldName() const { return oldName; }
    const char* GetNewName() const { return newName; }
    const char* GetName() const { return newName[0] ? newName : oldName; }
    int GetIdxInFile() const { return idxInFile; }
    ReferenceFileData* GetData() const { return data; }
    bool IsVerification() const { return isVerification; }

    // Values. SetRGB/SetCMYK/SetNColor also fill the 8- and 16-bit device arrays.
    void SetRGB(const double* v);
    void SetCMYK(const double* v);
    void SetNColor(const double* v);   // data->extraChannelCount values
    void SetLAB(const double* v);
    void SetXYZ(const double* v);
    void SetGray(double v) { valueGRAY = v; }
    virtual void SetSpectral(const double* v);
    void SetLocation(const int* xy) { loc_x = xy[0]; loc_y = xy[1]; }
    void SetPage(int p) { page = p; }

    const double* GetValuesRGB() const { return valuesRGB; }
    const double* GetValuesCMYK() const { return valuesCMYK; }
    const double* GetValuesNColor() const { return valuesNColor; }
    const double* GetValuesLAB() const { return valuesLAB; }
    const double* GetValuesXYZ() const { return valuesXYZ; }
    double GetValueGRAY() const { return valueGRAY; }
    virtual const double* GetValuesSpectral() const;
    const uint8_t* GetColors8Bit() const { return colors8Bit; }
    const uint16_t* GetColors16Bit() const { return colors16Bit; }
    int GetLoc_x() const { return loc_x; }
    int GetLoc_y() const { return loc_y; }
    int GetPage() const { return page; }
    // Number of spectral values SetSpectral copies for this set.
    virtual int SpectralCount() const;

    // Lab from the other value groups (ColorUtil conversions).
    void SetLabFromRGB();
    void SetLabFromCMYK();
    void SetLabFromXYZ();

    // Classification predicates used by the tolerance checks.
    bool IsPaperWhite() const;
    bool IsCMYKPrimaryColor() const;
    bool IsGrayScale() const;
    bool IsGamutDarkColor() const;
    bool isCMYKBoundaryColor() const;
    bool IsG7CMYSolid() const;
    bool IsG7RGBSolid() const;
    bool IsG7CMYGrayScale() const;
    bool IsG7KGrayScale() const;
    bool IsG7KSolid() const;
    bool IsGrayBalanceIDEASpecial() const;
    bool IsGrayScaleIDEA() const;
    bool IsRGBPrimaryColor() const;
    bool IsRGBSecondaryColor() const;
    bool IsRGBPaperWhite() const;
    bool IsRGBGrayScale() const;
    bool IsRGBGamutDarkColor() const;
    bool IsRGBBoundaryColor() const;

    // Fields in model order; public so readers and writers fill them directly.
    int32_t oldID = -1;
    char oldName[kNameCapacity] = {};
    int32_t newID = -1;
    char newName[kNameCapacity] = {};
    double valuesCMYK[4];
    double valuesRGB[3];
    double valuesLAB[3] = {255.0, 255.0, 255.0};
    double valuesXYZ[3];
    double valueGRAY = -1.0;
    double valuesNColor[kMaxChannels];
    double valuesSpectral[kMaxSpectral] = {};
    uint8_t colors8Bit[kMaxChannels] = {};
    uint16_t colors16Bit[kMaxChannels] = {};
    int32_t page = -1;
    int32_t loc_x = -1;
    int32_t loc_y = -1;
    ReferenceFileData* data = nullptr;
    int32_t idxInFile = -1;
    bool isVerification = false;
};

// The report library's set for layouts named "QUORVANE...": a 41-value spectrum of its own.
class QuorvaneReferenceFileSet : public ReferenceFileSet
{
public:
    using ReferenceFileSet::ReferenceFileSet;
    void SetSpectral(const double* v) override;
    const double* GetValuesSpectral() const override { return spectral41; }
    int SpectralCount() const override { return kMaxSpectral; }

    double spectral41[kMaxSpectral] = {};
};
