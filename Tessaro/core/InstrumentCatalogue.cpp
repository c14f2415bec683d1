// Instrument defaults, minimum patch size and restore of the instrument combo.
#include "InstrumentCatalogue.h"

#include "TargetSettings.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// The six instrument flags, in the column order of the defaults table.
struct InstrumentFlags
{
    bool desk;
    bool printon;
    bool vestra;
    bool vestrazq;
    bool textile;
    bool pendra;
};

InstrumentFlags flagsOf(DevOption option)
{
    switch (option) {
    case DevOption::TintoraDesk:
        return {true, false, false, false, false, false};
    case DevOption::TintoraDeskPrinton:
        return {true, true, false, false, false, false};
    case DevOption::TintoraVestra2mm:
    case DevOption::TintoraVestra6mm:
    case DevOption::TintoraVestra8mm:
        return {false, false, true, false, false, false};
    case DevOption::TintoraPendra:
    case DevOption::TintoraPendrazq2mm:
    case DevOption::TintoraPendrazq6mm:
        return {false, false, false, false, false, true};
    case DevOption::TintoraVestraZq2mm:
    case DevOption::TintoraVestraZq6mm:
    case DevOption::TintoraVestraZq8mm:
        return {false, false, false, true, false, false};
    case DevOption::TintoraVestraZqTextile:
        return {false, false, false, true, true, false};
    case DevOption::Custom:
        break;
    }
    return {true, true, true, true, true, true};
}

enum class Group { Desk, Vestra, Pendra, Textile, Custom };

Group groupOf(DevOption option)
{
    switch (option) {
    case DevOption::TintoraDesk:
    case DevOption::TintoraDeskPrinton:
        return Group::Desk;
    case DevOption::TintoraVestra2mm:
    case DevOption::TintoraVestra6mm:
    case DevOption::TintoraVestra8mm:
    case DevOption::TintoraVestraZq2mm:
    case DevOption::TintoraVestraZq6mm:
    case DevOption::TintoraVestraZq8mm:
        return Group::Vestra;
    case DevOption::TintoraPendra:
    case DevOption::TintoraPendrazq2mm:
    case DevOption::TintoraPendrazq6mm:
        return Group::Pendra;
    case DevOption::TintoraVestraZqTextile:
        return Group::Textile;
    case DevOption::Custom:
        break;
    }
    return Group::Custom;
}

void setApertures(TargetSettings &s, bool a2, bool a6, bool a8)
{
    s.aperture2mm = a2;
    s.aperture6mm = a6;
    s.aperture8mm = a8;
}

constexpr double kTextileMinPatch = 16000; // um
constexpr double kTextileSeparator = 1000; // um
constexpr double kRecognitionBorderSeparator = 200; // um

} // namespace

QString InstrumentCatalogue::comboText(DevOption option)
{
    switch (option) {
    case DevOption::TintoraDesk:
        return QCoreApplication::translate("Tessaro", "TintoraDesk");
    case DevOption::TintoraDeskPrinton:
        return QCoreApplication::translate("Tessaro", "TintoraDesk Printon");
    case DevOption::TintoraVestra2mm:
        return QCoreApplication::translate("Tessaro", "Tintora Vestra 2mm");
    case DevOption::TintoraVestra6mm:
        return QCoreApplication::translate("Tessaro", "Tintora Vestra 6mm");
    case DevOption::TintoraVestra8mm:
        return QCoreApplication::translate("Tessaro", "Tintora Vestra 8mm");
    case DevOption::TintoraPendra:
        return QCoreApplication::translate("Tessaro", "Tintora Pendra");
    case DevOption::TintoraPendrazq2mm:
        return QCoreApplication::translate("Tessaro", "Tintora Pendra zq 2mm");
    case DevOption::TintoraPendrazq6mm:
        return QCoreApplication::translate("Tessaro", "Tintora Pendra zq 6mm");
    case DevOption::TintoraVestraZq2mm:
        return QCoreApplication::translate("Tessaro", "Tintora Vestra zq 2mm");
    case DevOption::TintoraVestraZq6mm:
        return QCoreApplication::translate("Tessaro", "Tintora Vestra zq 6mm");
    case DevOption::TintoraVestraZq8mm:
        return QCoreApplication::translate("Tessaro", "Tintora Vestra zq 8mm");
    case DevOption::TintoraVestraZqTextile:
        return QCoreApplication::translate("Tessaro", "Tintora Vestra zq (textile)");
    case DevOption::Custom:
        break;
    }
    return QCoreApplication::translate("Tessaro", "Custom");
}

QList<ComboEntry> InstrumentCatalogue::allComboEntries()
{
    QList<ComboEntry> entries;
    for (int i = 0; i < kDevOptionCount; ++i) {
        const auto option = static_cast<DevOption>(i);
        entries.append({comboText(option), option});
    }
    return entries;
}

QList<ComboEntry> InstrumentCatalogue::comboEntries(bool advancedMode)
{
    QList<ComboEntry> entries = allComboEntries();
    if (!advancedMode)
        entries.removeLast();
    return entries;
}

InstrumentControls InstrumentCatalogue::applyDefaults(TargetSettings &s, DevOption option)
{
    const InstrumentFlags f = flagsOf(option);
    s.deviceDesk = f.desk;
    s.devicePrinton = f.printon;
    s.deviceVestra = f.vestra;
    s.deviceVestrazq = f.vestrazq;
    s.deviceVestrazqTextile = f.textile;
    s.devicePendra = f.pendra;

    const Group group = groupOf(option);
    switch (group) {
    case Group::Desk:
        s.autopositioning = false;
        s.manualPosVestra = false;
        s.manualPosPendra = false;
        s.startingLinesTintoraDesk = true;
        s.autopositioningBorders = false;
        s.blackWhiteSeparators = true;
        if (option == DevOption::TintoraDeskPrinton)
            setApertures(s, true, false, false);
        else
            setApertures(s, false, true, false);
        break;
    case Group::Vestra:
        s.autopositioning = true;
        s.manualPosVestra = true;
        s.manualPosPendra = false;
        s.startingLinesTintoraDesk = false;
        s.autopositioningBorders = false;
        s.blackWhiteSeparators = false;
        setApertures(s,
                     option == DevOption::TintoraVestra2mm || option == DevOption::TintoraVestraZq2mm,
                     option == DevOption::TintoraVestra6mm || option == DevOption::TintoraVestraZq6mm,
                     option == DevOption::TintoraVestra8mm || option == DevOption::TintoraVestraZq8mm);
        break;
    case Group::Pendra:
        s.autopositioning = true;
        s.manualPosVestra = false;
        s.manualPosPendra = true;
        s.startingLinesTintoraDesk = false;
        s.autopositioningBorders = false;
        s.blackWhiteSeparators = false;
        if (option == DevOption::TintoraPendrazq6mm)
            setApertures(s, false, true, false);
        else
            setApertures(s, true, false, false);
        break;
    case Group::Textile:
        s.autopositioning = false;
        s.manualPosVestra = true;
        s.manualPosPendra = false;
        s.startingLinesTintoraDesk = false;
        s.autopositioningBorders = true;
        s.blackWhiteSeparators = false;
        setApertures(s, true, true, true);
        break;
    case Group::Custom:
        break;
    }

    updateMinimumPatchSize(s);
    if (group == Group::Textile) {
        s.minPatchSizeX = kTextileMinPatch;
        s.minPatchSizeY = kTextileMinPatch;
    }

    const double separator = group == Group::Textile ? kTextileSeparator : 0;
    s.patchMarginX = separator;
    s.patchMarginY = separator;

    switch (group) {
    case Group::Desk:
        s.showLeftHeader = true;
        s.showRightHeader = false;
        s.showReferenceArea = false;
        break;
    case Group::Vestra:
        s.showLeftHeader = true;
        s.showRightHeader = false;
        s.showReferenceArea = true;
        break;
    case Group::Pendra:
        s.showLeftHeader = true;
        s.showRightHeader = true;
        s.showReferenceArea = true;
        break;
    case Group::Textile:
        s.showLeftHeader = false;
        s.showRightHeader = false;
        s.showReferenceArea = false;
        break;
    case Group::Custom:
        break;
    }
    return controlStates(s, option);
}

InstrumentControls InstrumentCatalogue::controlStates(const TargetSettings &s, DevOption option)
{
    // Enabled states per box, in the column order of the defaults table.
    struct Enabled
    {
        bool autoPos, manualVestra, manualPendra, startingLines, borders, bwSeparators,
            apertures, leftHeader, rightHeader, referenceArea;
    };
    Enabled e{};
    switch (groupOf(option)) {
    case Group::Desk:
        e = {false, false, false, true, false, false, false, true, false, false};
        break;
    case Group::Vestra:
        e = {true, true, false, false, false, false, false, true, false, true};
        break;
    case Group::Pendra:
        e = {true, false, true, false, false, false, false, true, true, true};
        break;
    case Group::Textile:
        e = {true, true, false, false, true, false, false, true, false, true};
        break;
    case Group::Custom:
        e = {true, true, true, true, true, true, true, true, true, true};
        break;
    }

    InstrumentControls c;
    c.autoPositioning = {s.autopositioning, e.autoPos};
    c.manualPositioningVestra = {s.manualPosVestra, e.manualVestra};
    c.manualPositioningPendra = {s.manualPosPendra, e.manualPendra};
    c.startingLinesDesk = {s.startingLinesTintoraDesk, e.startingLines};
    c.autopositioningBorders = {s.autopositioningBorders, e.borders};
    c.blackWhiteSeparators = {s.blackWhiteSeparators, e.bwSeparators};
    c.aperture2mm = {s.aperture2mm, e.apertures};
    c.aperture6mm = {s.aperture6mm, e.apertures};
    c.aperture8mm = {s.aperture8mm, e.apertures};
    c.includeLeftHeader = {s.showLeftHeader, e.leftHeader};
    c.includeRightHeader = {s.showRightHeader, e.rightHeader};
    c.referenceArea = {s.showReferenceArea, e.referenceArea};
    return c;
}

void InstrumentCatalogue::updateMinimumPatchSize(TargetSettings &s)
{
    if (s.deviceDesk && !s.deviceVestra && !s.deviceVestrazq && !s.devicePendra) {
        // The Desk reads by its own track; the apertures do not matter.
        s.minPatchSizeX = s.devicePrinton ? 7000 : 12000;
        s.minPatchSizeY = 12000;
        return;
    }
    if (!s.deviceDesk && s.devicePendra && !s.devicePrinton && !s.deviceVestra
        && !s.deviceVestrazq) {
        if (s.aperture2mm) {
            s.minPatchSizeX = s.minPatchSizeY = 8000;
        } else if (s.aperture6mm) {
            s.minPatchSizeX = s.minPatchSizeY = 10000;
        }
        return;
    }
    if (s.aperture8mm) {
        s.minPatchSizeX = s.minPatchSizeY = 12000;
    } else if (s.aperture6mm) {
        s.minPatchSizeX = s.minPatchSizeY = 8000;
    } else {
        // An instrument always measures with some aperture: fall back to 2 mm.
        s.aperture2mm = true;
        s.minPatchSizeX = s.minPatchSizeY = 6000;
    }
}

void InstrumentCatalogue::setAperture(TargetSettings &s, Aperture aperture, bool checked)
{
    switch (aperture) {
    case Aperture2mm:
        s.aperture2mm = checked;
        break;
    case Aperture6mm:
        s.aperture6mm = checked;
        break;
    case Aperture8mm:
        s.aperture8mm = checked;
        break;
    }
    updateMinimumPatchSize(s);
}

bool InstrumentCatalogue::setAutopositioningBorders(TargetSettings &s, bool checked)
{
    s.autopositioningBorders = checked;
    s.blackWhiteSeparators = false;
    // The recognition borders need a gap between the patches to be seen.
    s.patchMarginX = std::max(s.patchMarginX, kRecognitionBorderSeparator);
    s.patchMarginY = std::max(s.patchMarginY, kRecognitionBorderSeparator);
    return !checked;
}

DevOption InstrumentCatalogue::selectionForFlags(const TargetSettings &s)
{
    const int key = (s.deviceDesk ? 1 : 0) + (s.devicePrinton ? 2 : 0) + (s.deviceVestra ? 4 : 0)
                    + (s.devicePendra ? 8 : 0) + (s.deviceVestrazq ? 16 : 0);
    const int apertures = (s.aperture2mm ? 1 : 0) + (s.aperture6mm ? 2 : 0) + (s.aperture8mm ? 4 : 0);
    switch (key) {
    case 1:
        return DevOption::TintoraDesk;
    case 2:
    case 3:
        return DevOption::TintoraDeskPrinton;
    case 4:
        switch (apertures) {
        case 1:
            return DevOption::TintoraVestra2mm;
        case 2:
            return DevOption::TintoraVestra6mm;
        case 4:
            return DevOption::TintoraVestra8mm;
        default:
            return DevOption::Custom;
        }
    case 8:
        return DevOption::TintoraPendra;
    case 16:
        switch (apertures) {
        case 1:
            return DevOption::TintoraVestraZq2mm;
        case 2:
            return DevOption::TintoraVestraZq6mm;
        case 4:
            return DevOption::TintoraVestraZq8mm;
        case 7:
            return DevOption::TintoraVestraZqTextile;
        default:
            return DevOption::Custom;
        }
    default:
        return DevOption::Custom;
    }
}

DevOption InstrumentCatalogue::restoreSelection(TargetSettings &s)
{
    const DevOption option = selectionForFlags(s);
    if (option == DevOption::Custom) {
        s.deviceDesk = s.devicePrinton = s.deviceVestra = true;
        s.deviceVestrazq = s.deviceVestrazqTextile = s.devicePendra = true;
        s.advancedMode = true;
    }
    return option;
}

bool InstrumentCatalogue::isPrintonFamily(const TargetSettings &s)
{
    return s.deviceDesk && s.devicePrinton && !s.deviceVestra && !s.deviceVestrazq
           && !s.devicePendra;
}

bool InstrumentCatalogue::isDeskFamily(const TargetSettings &s)
{
    return s.deviceDesk && !s.devicePrinton && !s.deviceVestra && !s.deviceVestrazq
           && !s.devicePendra;
}

bool InstrumentCatalogue::isPendraOnlyFamily(const TargetSettings &s)
{
    return s.devicePendra && !s.deviceDesk && !s.devicePrinton && !s.deviceVestra
           && !s.deviceVestrazq;
}
