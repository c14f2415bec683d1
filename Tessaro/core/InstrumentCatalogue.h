// What the chosen Tintora instrument means for a target: the instrument and
// aperture flags of TargetSettings, the page furniture options and which of
// their check boxes the user may change, the minimum patch size, and the
// instrument entry restored from stored flags.
//
// Glossary: "family" is the classification of the six instrument flags used by
// the limits (Desk, Printon, Pendra only); the "base patch size" is
// minPatchSizeX/Y, the size every layout run starts from.
//
// The main window keeps the check boxes; this class only computes what they
// must show, so it is used and tested without widgets.
#pragma once

#include "DevOption.h"

#include <QList>
#include <QString>

class TargetSettings;

// Checked and enabled state of one option check box of the main window.
struct OptionBoxState
{
    bool checked = false;
    bool enabled = false;
};

// The option and aperture boxes of the main window after an instrument change.
// `checked` always equals the stored flag of TargetSettings.
struct InstrumentControls
{
    OptionBoxState autoPositioning;       // checkBoxAutoPositioning
    OptionBoxState manualPositioningVestra; // checkBoxManualPositioningVestra
    OptionBoxState manualPositioningPendra; // checkBoxManualPositioningPendra
    OptionBoxState startingLinesDesk;     // checkBoxStartingLinesDesk
    OptionBoxState autopositioningBorders; // checkBoxAutopositioningBorders
    OptionBoxState blackWhiteSeparators;  // checkBoxBlackWhiteSeparators
    OptionBoxState aperture2mm;           // checkBox2mmAperture
    OptionBoxState aperture6mm;           // checkBox6mmAperture
    OptionBoxState aperture8mm;           // checkBox8mmAperture
    OptionBoxState includeLeftHeader;     // checkBoxIncludeLeftHeader
    OptionBoxState includeRightHeader;    // checkBoxIncludeRightHeader
    OptionBoxState referenceArea;         // checkBoxReferenceArea
};

struct ComboEntry
{
    QString text;
    DevOption option;
};

class InstrumentCatalogue
{
public:
    enum Aperture { Aperture2mm, Aperture6mm, Aperture8mm };

    // Translated combo text of an instrument ("Tintora Vestra 8mm").
    static QString comboText(DevOption option);
    // The 13 entries in value order, as the combo is filled.
    static QList<ComboEntry> allComboEntries();
    // Entries of the given mode: "Custom" only in Advanced mode.
    static QList<ComboEntry> comboEntries(bool advancedMode);

    // Applies the instrument's defaults to the record: the six instrument
    // flags, the options, apertures, page content, the separator, the minimum
    // patch size (16 x 16 mm for the textile instrument). Returns what the
    // option boxes must show. The caller then refreshes the separator label,
    // runs PaperCatalogue::ResetPaperSizeSettings() and previews the target.
    static InstrumentControls applyDefaults(TargetSettings &settings, DevOption option);
    // Box states for the instrument as the record stands now (checked = flag).
    static InstrumentControls controlStates(const TargetSettings &settings, DevOption option);

    // The minimum patch size rule, writing minPatchSizeX/Y (um). May set
    // aperture2mm when no aperture applies (rule 3): the caller then checks
    // checkBox2mmAperture from the record.
    static void updateMinimumPatchSize(TargetSettings &settings);

    // The aperture slots: store the flag, recompute the minimum patch size.
    static void setAperture(TargetSettings &settings, Aperture aperture, bool checked);

    // The "Patch recognition borders" slot: stores the flag, clears
    // blackWhiteSeparators and raises both separators to at least 200 um.
    // Returns whether checkBoxBlackWhiteSeparators is enabled (it is always
    // unchecked afterwards).
    static bool setAutopositioningBorders(TargetSettings &settings, bool checked);

    // Restore of the combo from the stored flags. For Custom it also sets all
    // six instrument flags and advancedMode; the main window then sets
    // aperturesEnabled := true and easyMode := false.
    static DevOption restoreSelection(TargetSettings &settings);
    // The selection alone, without touching the record.
    static DevOption selectionForFlags(const TargetSettings &settings);

    // Families of the limits table (exclusive; none of them for mixed flags).
    static bool isPrintonFamily(const TargetSettings &settings);
    static bool isDeskFamily(const TargetSettings &settings);
    static bool isPendraOnlyFamily(const TargetSettings &settings);
};
