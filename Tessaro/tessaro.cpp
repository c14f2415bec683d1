// Main window: construction and wiring, mode visibility, the refresh sequence, page
// navigation, the counters and the slots that only store an option and refresh.
#include "tessaro.h"

#include "InstrumentCatalogue.h"
#include "UserInteraction.h"
#include "UserSettingsFile.h"
#include "targetpage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>
#include <QToolButton>

Tessaro::Tessaro(std::unique_ptr<UserInteraction> interaction_, const SuiteEnvironment &environment_,
                 QWidget *parent)
    : QMainWindow(parent),
      interaction(interaction_ ? std::move(interaction_) : std::make_unique<QtUserInteraction>()),
      environment(environment_)
{
    registerDevOptionMetaType();
    ui.setupUi(this);
    fixLeftPaneWidth();
    installBorderValidators();
    setupPageNavigation();

    createConnections();
    ui.lineEditDpi->setText(QStringLiteral("300"));
    ui.pushButtonSaveTarget->setEnabled(false);
    readSettings();
    applyModeVisibility();
    deviceSelected(ui.comboBoxDeviceSelection->currentIndex());
    createTargetPage();
    validate();
}

Tessaro::~Tessaro()
{
    // The painter first: its grid points into the reference, and it reads `settings`, which
    // goes before the form's widgets do.
    delete targetPage;
    targetPage = nullptr;
    reference.reset();
    qDeleteAll(messages);
    messages.clear();
}

bool Tessaro::saveUserSettings() const
{
    return UserSettingsFile::save(settings, environment);
}

void Tessaro::fixLeftPaneWidth()
{
    // The left pane never scrolls sideways.
    const int width = ui.scrollAreaLeftSide->sizeHint().width() +
                      ui.scrollArea->verticalScrollBar()->sizeHint().width() + 2 * ui.scrollArea->frameWidth();
    ui.scrollArea->setFixedWidth(width);
}

void Tessaro::installBorderValidators()
{
    for (QLineEdit *edit : {ui.lineEditBorderLeft, ui.lineEditBorderUp, ui.lineEditBorderBottom,
                            ui.lineEditBorderRight})
        edit->setValidator(new QDoubleValidator(0.0, 0.0, 2, this));
}

void Tessaro::setupPageNavigation()
{
    setPageLabel(1, 1);
    ui.horizontalSliderPage->setRange(1, 1);
    connect(ui.horizontalSliderPage, SIGNAL(valueChanged(int)), this, SLOT(currentPageChanged()));
}

void Tessaro::createConnections()
{
    connect(ui.pushButtonBrowseRefFile, SIGNAL(clicked()), this, SLOT(selectReferenceFile()));
    connect(ui.modifyButton, SIGNAL(clicked()), this, SLOT(modifyColorChannels()));
    ui.modifyButton->hide();
    connect(ui.radioButtonEasy, SIGNAL(clicked()), this, SLOT(toggleMode()));
    connect(ui.radioButtonAdvanced, SIGNAL(clicked()), this, SLOT(toggleMode()));
    connect(ui.pushButtonNewPaper, SIGNAL(clicked()), this, SLOT(addNewPaper()));
    connect(ui.pushButtonDelete, SIGNAL(clicked()), this, SLOT(deletePaper()));
    connect(ui.pushButtonModify, SIGNAL(clicked()), this, SLOT(changePatchSettings()));
    connect(ui.pushButtonModifyPatchCount, SIGNAL(clicked()), this, SLOT(changePathcCountXY()));
    connect(ui.checkBoxIdFromRefFile, SIGNAL(clicked()), this, SLOT(idFromRefFileSelected()));
    ui.checkBoxIdFromRefFile->hide();
    connect(ui.checkBoxNameFromRefFile, SIGNAL(clicked()), this, SLOT(nameFromRefFileSelected()));
    ui.checkBoxNameFromRefFile->hide();
    connect(ui.checkBoxAddVerificationPatches, SIGNAL(clicked()), this, SLOT(addVerificationPatches()));
    connect(ui.lineEditTargetName, SIGNAL(textEdited(QString)), this, SLOT(targetNameChanged(QString)));
    connect(ui.lineEditPrinterMedia, SIGNAL(textEdited(QString)), this, SLOT(printerMediaChanged(QString)));
    connect(ui.lineEditVersion, SIGNAL(textEdited(QString)), this, SLOT(versionChanged(QString)));
    connect(ui.checkBoxAutoPositioning, SIGNAL(clicked()), this, SLOT(autoPositioningSelected()));
    connect(ui.checkBoxManualPositioningVestra, SIGNAL(clicked()), this, SLOT(manualPositioningVestraSelected()));
    connect(ui.checkBoxManualPositioningPendra, SIGNAL(clicked()), this, SLOT(manualPositioningPendraSelected()));
    connect(ui.checkBoxStartingLinesDesk, SIGNAL(clicked()), this, SLOT(startingLinesTintoraDeskSelected()));
    connect(ui.checkBox2mmAperture, SIGNAL(clicked()), this, SLOT(aperture2mmSelected()));
    connect(ui.checkBox6mmAperture, SIGNAL(clicked()), this, SLOT(aperture6mmSelected()));
    connect(ui.checkBox8mmAperture, SIGNAL(clicked()), this, SLOT(aperture8mmSelected()));
    connect(ui.checkBoxBlackWhiteSeparators, SIGNAL(clicked()), this, SLOT(blackWhiteSeparatorsSelected()));
    connect(ui.checkBoxAutopositioningBorders, SIGNAL(clicked()), this, SLOT(autopositioningBordersSelected()));
    connect(ui.comboBoxDeviceSelection, SIGNAL(currentIndexChanged(int)), this, SLOT(deviceSelected(int)));
    connect(ui.comboBoxPaperSize, SIGNAL(currentIndexChanged(int)), this, SLOT(paperSizeSelected(int)));
    connect(ui.checkBoxIncludeLeftHeader, SIGNAL(clicked()), this, SLOT(includeLeftHeaderSelected()));
    connect(ui.checkBoxIncludeRightHeader, SIGNAL(clicked()), this, SLOT(includeRightHeaderSelected()));
    connect(ui.checkBoxReferenceArea, SIGNAL(clicked()), this, SLOT(referenceAreaSelected()));
    connect(ui.pushButtonSetPaperSize, SIGNAL(clicked()), this, SLOT(setPaperSizeSelected()));
    connect(ui.radioButtonRowByRow, SIGNAL(clicked()), this, SLOT(rowByRowSelected()));
    connect(ui.radioButtonColumnBycolumn, SIGNAL(clicked()), this, SLOT(columnBycolumnSelected()));
    connect(ui.checkBoxFlipHorizontal, SIGNAL(clicked()), this, SLOT(flipHorizontalSelected()));
    connect(ui.checkBoxFlipVertical, SIGNAL(clicked()), this, SLOT(flipVerticalSelected()));
    connect(ui.checkBoxRandom, SIGNAL(clicked()), this, SLOT(randomSelected()));
    connect(ui.chbReadVertical, SIGNAL(clicked()), this, SLOT(updateReferenceFile()));
    connect(ui.pushButtonResetToDefault, SIGNAL(clicked()), this, SLOT(onResetToDefault()));
    connect(ui.pushButtonInfo, SIGNAL(clicked()), this, SLOT(showWarningsDialog()));
    connect(ui.pushButtonWarnings, SIGNAL(clicked()), this, SLOT(showWarningsDialog()));
    connect(ui.pushButtonErrors, SIGNAL(clicked()), this, SLOT(showWarningsDialog()));
    connect(ui.pushButtonSaveTarget, SIGNAL(clicked()), this, SLOT(saveTarget()));
    connect(ui.radioButtonPS, SIGNAL(clicked()), this, SLOT(togglePS()));
    connect(ui.radioButtonTiff, SIGNAL(clicked()), this, SLOT(toggleTiff()));

    ui.radioButtonChart->setChecked(true);
    ui.lineEditTargetName->setMaxLength(20);
    ui.lineEditVersion->setMaxLength(15);
    ui.lineEditPrinterMedia->setMaxLength(20);
}

void Tessaro::setBorderEdits(double left, double top, double right, double bottom)
{
    const std::pair<QLineEdit *, double> edits[] = {
        {ui.lineEditBorderLeft, left}, {ui.lineEditBorderUp, top},
        {ui.lineEditBorderRight, right}, {ui.lineEditBorderBottom, bottom}};
    for (const auto &[edit, value] : edits) {
        const QSignalBlocker blocker(edit);
        edit->setText(QString::number(value / 1000.0, 'g', 6));
    }
}

void Tessaro::readSettings()
{
    UserSettingsFile::restore(settings, environment);

    ui.checkBoxIdFromRefFile->setChecked(settings.useReferenceID);
    ui.checkBoxNameFromRefFile->setChecked(settings.useReferenceName);
    ui.checkBoxAddVerificationPatches->setChecked(settings.verificationPatches);
    ui.lineEditTargetName->setText(settings.targetName);
    ui.lineEditVersion->setText(settings.targetVersion);
    ui.lineEditPrinterMedia->setText(settings.printerMedia);

    // The restore may select Custom, which switches to Advanced mode.
    fillDeviceCombo();

    ui.checkBoxAutoPositioning->setChecked(settings.autopositioning);
    ui.checkBoxManualPositioningVestra->setChecked(settings.manualPosVestra);
    ui.checkBoxManualPositioningPendra->setChecked(settings.manualPosPendra);
    ui.checkBoxStartingLinesDesk->setChecked(settings.startingLinesTintoraDesk);
    ui.checkBoxBlackWhiteSeparators->setChecked(settings.blackWhiteSeparators);
    ui.checkBoxAutopositioningBorders->setChecked(settings.autopositioningBorders);
    ui.checkBox2mmAperture->setChecked(settings.aperture2mm);
    ui.checkBox6mmAperture->setChecked(settings.aperture6mm);
    ui.checkBox8mmAperture->setChecked(settings.aperture8mm);
    for (QCheckBox *box : {ui.checkBox2mmAperture, ui.checkBox6mmAperture, ui.checkBox8mmAperture})
        box->setEnabled(aperturesEnabled);

    fillPaperCombo();

    ui.checkBoxIncludeLeftHeader->setChecked(settings.showLeftHeader);
    ui.checkBoxIncludeRightHeader->setChecked(settings.showRightHeader);
    ui.checkBoxReferenceArea->setChecked(settings.showReferenceArea);
    setBorderEdits(settings.borderLeft, settings.borderTop, settings.borderRight, settings.borderBottom);
    updateMinimumPatchSize();

    easyMode = !settings.advancedMode;
    ui.radioButtonEasy->setChecked(easyMode);
    ui.radioButtonAdvanced->setChecked(!easyMode);
    updateValueLabels();

    ui.radioButtonRowByRow->setChecked(settings.rowByRow);
    ui.radioButtonColumnBycolumn->setChecked(!settings.rowByRow);
    ui.checkBoxFlipHorizontal->setChecked(settings.invertHorizontal);
    ui.checkBoxFlipVertical->setChecked(settings.invertVertical);
    ui.checkBoxRandom->setChecked(settings.random);
}

void Tessaro::applyModeVisibility()
{
    QWidget *const advancedControls[] = {
        ui.groupBoxTargetOptions,  ui.checkBoxIncludeLeftHeader, ui.checkBoxIncludeRightHeader,
        ui.checkBoxReferenceArea,  ui.widgetPaperBorder,         ui.labelPatchesOrder,
        ui.radioButtonRowByRow,    ui.radioButtonColumnBycolumn, ui.checkBoxFlipHorizontal,
        ui.checkBoxFlipVertical,   ui.groupBoxComment};

    if (!hasReference()) {
        for (QWidget *w : {ui.widgetMode, static_cast<QWidget *>(ui.groupBoxMeasurementDevice),
                           static_cast<QWidget *>(ui.groupBoxTargetInfo),
                           static_cast<QWidget *>(ui.checkBoxIdFromRefFile),
                           static_cast<QWidget *>(ui.checkBoxNameFromRefFile),
                           static_cast<QWidget *>(ui.checkBoxAddVerificationPatches),
                           static_cast<QWidget *>(ui.groupBoxTargetOptions),
                           static_cast<QWidget *>(ui.groupBoxPaperSize),
                           static_cast<QWidget *>(ui.groupBoxPatchSettings),
                           static_cast<QWidget *>(ui.groupBoxComment)})
            w->hide();
        ui.lineEditRefFile->clear();
    } else {
        for (QWidget *w : {ui.widgetMode, static_cast<QWidget *>(ui.groupBoxMeasurementDevice),
                           static_cast<QWidget *>(ui.groupBoxTargetInfo),
                           static_cast<QWidget *>(ui.groupBoxPaperSize),
                           static_cast<QWidget *>(ui.groupBoxPatchSettings)})
            w->show();
        ResetPaperSizeSettings();
        QComboBox *combo = ui.comboBoxDeviceSelection;
        if (easyMode) {
            ui.checkBoxIdFromRefFile->hide();
            ui.checkBoxNameFromRefFile->hide();
            ui.checkBoxAddVerificationPatches->hide();
            const int custom = deviceItem(DevOption::Custom);
            if (custom >= 0)
                combo->removeItem(custom);
            for (QWidget *w : advancedControls)
                w->hide();
        } else {
            ui.checkBoxAddVerificationPatches->show();
            if (deviceItem(DevOption::Custom) < 0)
                combo->addItem(InstrumentCatalogue::comboText(DevOption::Custom),
                               QVariant::fromValue(DevOption::Custom));
            for (QWidget *w : advancedControls)
                w->show();
        }
    }
    ui.checkBoxAddVerificationPatches->hide();
    deviceSelected(ui.comboBoxDeviceSelection->currentIndex());
}

void Tessaro::refresh()
{
    runLayout(0);
    updateValueLabels();
    ui.pageHolder->update();
}

void Tessaro::previewTarget()
{
    refresh();
    updateValueLabels();
}

void Tessaro::updateValueLabels()
{
    ui.labelPatchCountValue->setText(QStringLiteral("%1x%2").arg(settings.patchesX).arg(settings.patchesY));
    emit patchCountUpdated();
    auto millimetres = [](double x, double y) {
        return QString::asprintf("%.2fx%.2f", x / 1000.0, y / 1000.0).replace(QLatin1Char(','), QLatin1Char('.'));
    };
    ui.labelPatchSizeValue->setText(millimetres(settings.patchSizeX, settings.patchSizeY));
    ui.labelSeparatorValue->setText(millimetres(settings.patchMarginX, settings.patchMarginY));
}

void Tessaro::setPageLabel(int page, int count)
{
    ui.labelPage->setText(tr("Page") + QLatin1Char(' ') + QString::number(page) + QLatin1Char('/') +
                          QString::number(count));
}

void Tessaro::currentPageChanged()
{
    const int page = ui.horizontalSliderPage->value();
    setPageLabel(page, ui.horizontalSliderPage->maximum());
    showPainterPage(page);
}

void Tessaro::targetNameChanged(const QString &text)
{
    settings.targetName = text;
    refresh();
}

void Tessaro::printerMediaChanged(const QString &text)
{
    settings.printerMedia = text;
    refresh();
}

void Tessaro::versionChanged(const QString &text)
{
    settings.targetVersion = text;
    refresh();
}

void Tessaro::autoPositioningSelected()
{
    settings.autopositioning = ui.checkBoxAutoPositioning->isChecked();
    previewTarget();
}

void Tessaro::manualPositioningVestraSelected()
{
    settings.manualPosVestra = ui.checkBoxManualPositioningVestra->isChecked();
    previewTarget();
}

void Tessaro::manualPositioningPendraSelected()
{
    settings.manualPosPendra = ui.checkBoxManualPositioningPendra->isChecked();
    previewTarget();
}

void Tessaro::startingLinesTintoraDeskSelected()
{
    settings.startingLinesTintoraDesk = ui.checkBoxStartingLinesDesk->isChecked();
    previewTarget();
}

void Tessaro::blackWhiteSeparatorsSelected()
{
    settings.blackWhiteSeparators = ui.checkBoxBlackWhiteSeparators->isChecked();
    previewTarget();
}

void Tessaro::includeLeftHeaderSelected()
{
    settings.showLeftHeader = ui.checkBoxIncludeLeftHeader->isChecked();
    previewTarget();
}

void Tessaro::includeRightHeaderSelected()
{
    settings.showRightHeader = ui.checkBoxIncludeRightHeader->isChecked();
    previewTarget();
}

void Tessaro::referenceAreaSelected()
{
    settings.showReferenceArea = ui.checkBoxReferenceArea->isChecked();
    previewTarget();
}

void Tessaro::rowByRowSelected()
{
    settings.rowByRow = ui.radioButtonRowByRow->isChecked();
    refresh();
}

void Tessaro::columnBycolumnSelected()
{
    rowByRowSelected();
}

void Tessaro::flipHorizontalSelected()
{
    settings.invertHorizontal = ui.checkBoxFlipHorizontal->isChecked();
    refresh();
}

void Tessaro::flipVerticalSelected()
{
    settings.invertVertical = ui.checkBoxFlipVertical->isChecked();
    refresh();
}

void Tessaro::togglePS()
{
    ui.radioButtonPS->setChecked(true);
    ui.radioButtonTiff->setChecked(false);
    ui.checkBox16Bit->setEnabled(false);
}

void Tessaro::toggleTiff()
{
    ui.radioButtonPS->setChecked(false);
    ui.radioButtonTiff->setChecked(true);
    ui.checkBox16Bit->setEnabled(true);
}

void Tessaro::removeTempReference() const
{
    // Only a copy made by the channel editing ends in ".temp"; the user's files never do.
    if (referencePath.endsWith(QLatin1String(".temp"), Qt::CaseSensitive))
        QFile::remove(referencePath);
}

void Tessaro::closeEvent(QCloseEvent *event)
{
    removeTempReference();
    QMainWindow::closeEvent(event);
}
