// Main window: the instrument combo and its restore, the instrument's option boxes, the
// minimum patch size, the paper combo and borders, the patch reset, the layout run and the
// validation findings. The rules live in the layout core (InstrumentCatalogue,
// PaperCatalogue, PageLayout, LayoutValidation); this file moves their results into the
// controls.
#include "tessaro.h"

#include "InstrumentCatalogue.h"
#include "LayoutValidation.h"
#include "PageLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

Tessaro::DevOption Tessaro::currentDevice() const
{
    const QComboBox *combo = ui.comboBoxDeviceSelection;
    DevOption option = DevOption::Custom;
    devOptionFromVariant(combo->itemData(combo->currentIndex()), &option);
    return option;
}

int Tessaro::deviceItem(DevOption option) const
{
    // Item data are compared as instruments, whatever form the variant has.
    const QComboBox *combo = ui.comboBoxDeviceSelection;
    for (int i = 0; i < combo->count(); ++i) {
        DevOption item;
        if (devOptionFromVariant(combo->itemData(i), &item) && item == option)
            return i;
    }
    return -1;
}

void Tessaro::fillDeviceCombo()
{
    QComboBox *combo = ui.comboBoxDeviceSelection;
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const ComboEntry &entry : InstrumentCatalogue::allComboEntries())
        combo->addItem(entry.text, QVariant::fromValue(entry.option));
    const DevOption restored = InstrumentCatalogue::restoreSelection(settings);
    if (restored == DevOption::Custom) {
        // The restore switched the record to Advanced mode with all instrument flags.
        aperturesEnabled = true;
        easyMode = false;
    }
    combo->setCurrentIndex(deviceItem(restored));
}

void Tessaro::applyInstrumentControls(const InstrumentControls &c)
{
    const std::pair<QCheckBox *, OptionBoxState> boxes[] = {
        {ui.checkBoxAutoPositioning, c.autoPositioning},
        {ui.checkBoxManualPositioningVestra, c.manualPositioningVestra},
        {ui.checkBoxManualPositioningPendra, c.manualPositioningPendra},
        {ui.checkBoxStartingLinesDesk, c.startingLinesDesk},
        {ui.checkBoxAutopositioningBorders, c.autopositioningBorders},
        {ui.checkBoxBlackWhiteSeparators, c.blackWhiteSeparators},
        {ui.checkBox2mmAperture, c.aperture2mm},
        {ui.checkBox6mmAperture, c.aperture6mm},
        {ui.checkBox8mmAperture, c.aperture8mm},
        {ui.checkBoxIncludeLeftHeader, c.includeLeftHeader},
        {ui.checkBoxIncludeRightHeader, c.includeRightHeader},
        {ui.checkBoxReferenceArea, c.referenceArea},
    };
    for (const auto &[box, state] : boxes) {
        const QSignalBlocker blocker(box);
        box->setChecked(state.checked);
        box->setEnabled(state.enabled);
    }
}

void Tessaro::updateMinimumPatchSize()
{
    InstrumentCatalogue::updateMinimumPatchSize(settings);
    // Without any aperture the rule takes the 2 mm one, and the box shows it.
    const QSignalBlocker blocker(ui.checkBox2mmAperture);
    ui.checkBox2mmAperture->setChecked(settings.aperture2mm);
}

void Tessaro::deviceSelected(int index)
{
    DevOption option;
    if (!devOptionFromVariant(ui.comboBoxDeviceSelection->itemData(index), &option))
        return;
    applyInstrumentControls(InstrumentCatalogue::applyDefaults(settings, option));
    updateValueLabels();
    paperCatalogue.ResetPaperSizeSettings(option);
    syncPaperCombo();
    previewTarget();
}

void Tessaro::aperture2mmSelected()
{
    InstrumentCatalogue::setAperture(settings, InstrumentCatalogue::Aperture2mm, ui.checkBox2mmAperture->isChecked());
    ui.checkBox2mmAperture->setChecked(settings.aperture2mm);
    previewTarget();
}

void Tessaro::aperture6mmSelected()
{
    InstrumentCatalogue::setAperture(settings, InstrumentCatalogue::Aperture6mm, ui.checkBox6mmAperture->isChecked());
    ui.checkBox2mmAperture->setChecked(settings.aperture2mm);
    previewTarget();
}

void Tessaro::aperture8mmSelected()
{
    InstrumentCatalogue::setAperture(settings, InstrumentCatalogue::Aperture8mm, ui.checkBox8mmAperture->isChecked());
    ui.checkBox2mmAperture->setChecked(settings.aperture2mm);
    previewTarget();
}

void Tessaro::autopositioningBordersSelected()
{
    // Recognition borders replace the black / white separators.
    const bool separatorsEnabled = InstrumentCatalogue::setAutopositioningBorders(
        settings, ui.checkBoxAutopositioningBorders->isChecked());
    ui.checkBoxBlackWhiteSeparators->setEnabled(separatorsEnabled);
    ui.checkBoxBlackWhiteSeparators->setChecked(false);
    previewTarget();
}

void Tessaro::syncPaperCombo()
{
    QComboBox *combo = ui.comboBoxPaperSize;
    {
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItems(paperCatalogue.comboTexts());
        combo->setCurrentIndex(paperCatalogue.currentIndex());
    }
    showBorders();
}

void Tessaro::showBorders()
{
    setBorderEdits(settings.borderLeft, settings.borderTop, settings.borderRight, settings.borderBottom);
    fitPageIntoContainer();
}

void Tessaro::fillPaperCombo()
{
    paperCatalogue.fillCombo();
    syncPaperCombo();
}

void Tessaro::paperSizeSelected(int index)
{
    if (paperCatalogue.selectPaper(index))
        showBorders();
    previewTarget();
}

void Tessaro::setPaperSizeSelected()
{
    paperCatalogue.setBorders(ui.lineEditBorderUp->text(), ui.lineEditBorderLeft->text(),
                              ui.lineEditBorderRight->text(), ui.lineEditBorderBottom->text());
    refresh();
}

void Tessaro::ResetPaperSizeSettings()
{
    paperCatalogue.ResetPaperSizeSettings(currentDevice());
    syncPaperCombo();
}

void Tessaro::RecoverA4Paper()
{
    paperCatalogue.RecoverA4Paper();
    syncPaperCombo();
}

void Tessaro::AddDefaultPaperSize()
{
    paperCatalogue.AddDefaultPaperSize(currentDevice());
    syncPaperCombo();
}

void Tessaro::onResetToDefault(bool redraw)
{
    PageLayout::resetToDefault(settings, currentDevice());
    {
        const QSignalBlocker blocker(ui.checkBox2mmAperture);
        ui.checkBox2mmAperture->setChecked(settings.aperture2mm);
    }
    updateValueLabels();
    ui.radioButtonRowByRow->setChecked(true);
    ui.checkBoxFlipHorizontal->setChecked(false);
    ui.checkBoxFlipVertical->setChecked(false);
    if (redraw)
        previewTarget();
}

void Tessaro::runLayout(int depth)
{
    PageLayout::runLayout(settings, depth);
    if (depth != 0)
        return;
    validate();
    if (reference && hasReference())
        updatePages();
}

void Tessaro::validate()
{
    qDeleteAll(messages);
    messages.clear();
    const QList<ValidationFinding> findings = LayoutValidation::findings(settings, hasReference());
    for (const ValidationFinding &finding : findings)
        messages.append(new ErrorWarningItem(finding.kind, finding.title, finding.description));
    const ValidationCounts counts = LayoutValidation::counts(findings);
    ui.labelErrorNo->setText(QString::number(counts.errors));
    ui.labelWarningNo->setText(QString::number(counts.warnings));
    ui.labelInfoNo->setText(QString::number(counts.infos));
}
