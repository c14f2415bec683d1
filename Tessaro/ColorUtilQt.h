// Qt-side colour helpers of the application: ColorUtil results as QColor values and the
// embedded CMYK output profile. Colours carry 16-bit channels equal to byte x 257 and are
// opaque; a result outside 0-255 gives an invalid QColor.
#pragma once

#include <QByteArray>
#include <QColor>

#include <vector>

class ReferenceFileData;

// Lab (L 0-100) through ColorUtil::LabToRGB; invalid when the conversion fails or a
// truncated component lies outside 0-255.
QColor LabToColor(const double lab[3]);
// XYZ on the 0-100 scale; invalid when the conversion fails.
QColor XYZtoColor(const double xyz[3]);
// Display colour of a patch of a CMYK or N-colour reference from its spectral model
// (device values in per cent, device-channel order); invalid without a model.
QColor ChannelColor(const ReferenceFileData &reference, const std::vector<int> &values);
// The whole resource ":/Profiles/OutputCMYK.icc", read afresh on each call; empty when missing.
QByteArray OutputCMYKProfileBytes();
// Registers the application's compiled-in resources (profiles, spectral library); safe to
// call more than once.
void InitTessaroResources();
