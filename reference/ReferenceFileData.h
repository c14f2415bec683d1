// ReferenceFileData: one loaded reference or measurement file and its owned sets.
//
// Glossary: extra channel = an ink beyond CMYK (N-colour); colorant table = Lab of every
// device channel (CMYK primaries first for a CMYK file); print order = saved position ->
// index into `sets`, filled by the page painter. The flavour passed at construction
// selects the deliverable's rules (see ReferenceFlavour.h).
#pragma once

#include "FixedText.h"
#include "ReferenceFileSet.h"
#include "ReferenceFlavour.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class LabToSpectralUtil;

struct LabTriple
{
    double L = 0.0;
    double a = 0.0;
    double b = 0.0;
};

class ReferenceFileData
{
public:
    static constexpr int kMaxChannels = ReferenceFileSet::kMaxChannels;
    static constexpr int kFileNameCapacity = 1024;
    static constexpr int kCreatedCapacity = 100;
    static constexpr int kTextCapacity = 255;

    explicit ReferenceFileData(ReferenceFlavour flavour = ReferenceFlavour::Application);
    ~ReferenceFileData();
    ReferenceFileData(const ReferenceFileData&) = delete;
    ReferenceFileData& operator=(const ReferenceFileData&) = delete;

    ReferenceFlavour GetFlavour() const { return flavour; }
    bool IsApplication() const { return flavour == ReferenceFlavour::Application; }

    // Loading (CGATS reader, CxF3 reader). `userData` goes to the lcms2 context.
    bool loadReferenceFileData(void* userData, const char* path, bool arrangeByLayout);
    bool loadCgatsFileData(void* userData, const char* path);
    bool loadCgatsHeaderData(const char* path);
    bool convertOldCgatsFormat(const char* path);
    void GetLabValuesExtraChannelsFromCgatsFileData(void* parsedFile);
    void LoadChannelInfoLabValues();
    bool loadCXFFileData(const char* path, const char* layoutName);
    bool loadCXFReferenceFileData(const char* path, char* layoutName) { return loadCXFFileData(path, layoutName); }

    // Set access.
    ReferenceFileSet* GetFileSetByFormat(bool vertical, unsigned int position, const char* layoutName);
    ReferenceFileSet* FindSetByIndex(int index) const;
    void AddFileSet(ReferenceFileSet* set, int position);   // takes ownership
    bool RemoveFileSet(int index);
    int GetMaxSetsID() const;
    int GetSetCount() const { return static_cast<int>(sets.size()); }
    ReferenceFileSet* GetSet(int i) const { return (i >= 0 && i < GetSetCount()) ? sets[i].get() : nullptr; }
    // Appends a set the caller created for this file; takes ownership.
    void AppendSet(ReferenceFileSet* set);

    // Ordering.
    void BubbleSort();
    void RandomizeData(bool random);

    // Verification patches.
    ReferenceFileSet* CreateVerificationSet(bool white);   // caller owns until inserted
    void AddVerificationFrame(bool enable, int columns, int rows, int pages);

    // Saving support.
    void setSaveOptions(bool flag0, bool flag1, bool flag2, int columns, int rows);
    char* CreateSetName(int index, int page) const;   // new[]'d; caller delete[]s
    std::string SetName(int index, int page) const;   // same text, owned by the caller
    int GetNumberOfFields() const;
    void ResetPrintOrder(int count);

    // Colour information.
    bool InitLab();
    void SetCMYKLabDefs();
    bool AddColorValue(const std::vector<std::string>& tokens, int channel);
    std::string GetChannelName(int channel) const;
    std::vector<std::string> GetColorantNames() const;
    int GetBlackChannel();

    // Spectral display model (application only; SpectralModel.cpp). InitSpectralModel
    // replaces `spectralUtil` with a model of `colorantLab` built from the library at
    // `libraryPath` and returns whether the library loaded. GetChannelColor mixes the
    // device values (per cent, device-channel order) to display RGB 0-255 (not range
    // checked); false, with `rgb` untouched, without a model or colour conversion.
    bool InitSpectralModel(const std::string& libraryPath);
    bool GetChannelColor(const std::vector<int>& values, double rgb[3]) const;

    // Fields in model order.
    std::vector<std::string> headerLines;
    int32_t extraChannelCount = 0;
    std::array<std::optional<std::string>, kMaxChannels> channelNames;
    std::array<std::optional<LabTriple>, kMaxChannels> channelLab;
    std::vector<LabTriple> colorantLab;
    std::unique_ptr<LabToSpectralUtil> spectralUtil;
    char fileName[kFileNameCapacity] = {};
    char created[kCreatedCapacity] = {};
    char descriptor[kTextCapacity] = {};
    char originator[kTextCapacity] = {};
    char targetText[kTextCapacity] = {};
    bool isRGB = false;
    bool isCMYK = false;
    bool hasLab = false;
    bool computeLabOnLoad = true;
    bool hasXYZ = false;
    bool hasGray = false;
    bool hasSampleID = false;
    bool hasSampleName = false;
    bool hasLocation = false;
    bool hasPage = false;
    bool saveFlags[3] = {true, false, false};
    int32_t setColumns = 0;
    int32_t setRows = 0;
    bool arrangeByLayout = false;
    bool saveRGB = true;
    bool saveCMYK = true;
    bool saveLab = true;
    bool saveXYZ = true;
    bool saveGray = true;
    bool saveNColor = true;
    int32_t lgoRowLength = 0;
    int32_t saveRowLength = 0;
    bool verificationFrame = false;
    int32_t frameColumns = 0;
    int32_t frameRows = 0;
    bool hasFileFormat = false;
    char fileFormat[kTextCapacity] = {};
    std::vector<std::unique_ptr<ReferenceFileSet>> sets;
    int32_t blackChannel = -1;
    int32_t blackInkPercent = 80;
    bool hasChannelInfo = false;
    std::string nColorFieldPattern = "%1CLR_";
    std::vector<int32_t> printOrder;

private:
    ReferenceFileSet* getFileSetVertically(unsigned int position, const char* layoutName);
    ReferenceFileSet* getFileSetHorizontally(unsigned int position, const char* layoutName);

    ReferenceFlavour flavour;
    // colorantLab already starts with the four CMYK primaries (SetCMYKLabDefs ran).
    bool cmykPrimariesInColorants = false;
};

// Channel-information header lines ("ChannelInfo<n>" ... "Lab" or "RGB"), shared by the
// colorant table and the CGATS reader.
// True when `line` begins with "ChannelInfo" and contains "Lab" or "RGB".
bool IsChannelInfoLine(const std::string& line);
// Reads one channel-information line into the tokens {name, L, a, b} that AddColorValue
// takes. A "RGB" line is converted to Lab through ColorUtil (6 significant digits); an
// empty name becomes "Dummy". False (tokens untouched) when the line is not a
// channel-information line, holds fewer than three values, or the conversion fails.
bool ParseChannelInfoLine(const std::string& line, std::vector<std::string>& tokens);
