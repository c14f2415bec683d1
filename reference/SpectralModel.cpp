// ReferenceFileData's side of the spectral display model: building the model from the
// colorant table and asking it for the display colour of a patch.
#include "LabToSpectralUtil.h"
#include "ReferenceFileData.h"

bool ReferenceFileData::InitSpectralModel(const std::string& libraryPath)
{
    // A failed init still leaves a model: its patches then show as white, as documented.
    spectralUtil = std::make_unique<LabToSpectralUtil>();
    return spectralUtil->init(libraryPath, colorantLab);
}

bool ReferenceFileData::GetChannelColor(const std::vector<int>& values, double rgb[3]) const
{
    if (!spectralUtil)
        return false;
    return spectralUtil->mixToRGB(values, rgb);
}
