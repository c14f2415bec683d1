// The main window's form: every control with its object name, initial state and place.
// The layout (grids, spacings) is ours; names, texts and initial states are fixed.
#include "tessaro_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

const char *const kGroupBoxStyle =
    "QGroupBox { background: transparent; border: 1px solid lightgray; border-radius: 4px;"
    " margin-top: 2ex; padding-top: 4px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 8px;"
    " padding: 0 3px; }";

const char *const kToolButtonStyle =
    "QToolButton { background: none; border: 1px solid gray; border-radius: 3px; padding: 2px 6px; }"
    "QToolButton:hover { background: rgb(210, 228, 250); }"
    "QToolButton:pressed { background: rgb(140, 180, 230); }";

template <typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton *toolButton(QWidget *parent, const char *name)
{
    auto *button = named(new QToolButton(parent), name);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setStyleSheet(QString::fromLatin1(kToolButtonStyle));
    return button;
}

QToolButton *counterButton(QWidget *parent, const char *name, const char *icon)
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(QIcon(QString::fromLatin1(icon)));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    return button;
}

QGroupBox *groupBox(QWidget *parent, const char *name)
{
    auto *box = named(new QGroupBox(parent), name);
    box->setStyleSheet(QString::fromLatin1(kGroupBoxStyle));
    return box;
}

QLineEdit *borderEdit(QWidget *parent, const char *name)
{
    auto *edit = named(new QLineEdit(parent), name);
    edit->setMaximumWidth(65);
    edit->setAlignment(Qt::AlignCenter);
    edit->setText(QStringLiteral("0.00"));
    return edit;
}

} // namespace

void TessaroForm::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(986, 816);
    window->setWindowIcon(QIcon(QStringLiteral(":/General/Resources/Images/tessaro.ico")));

    centralwidget = named(new QWidget(window), "centralwidget");
    auto *mainLayout = new QVBoxLayout(centralwidget);

    // Top bar: random order, page navigation and the three counters.
    auto *topBar = new QHBoxLayout;
    checkBoxRandom = named(new QCheckBox(centralwidget), "checkBoxRandom");
    topBar->addWidget(checkBoxRandom);
    topBar->addStretch();
    labelPage = named(new QLabel(centralwidget), "labelPage");
    labelPage->setMaximumWidth(100);
    labelPage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    topBar->addWidget(labelPage);
    horizontalSliderPage = named(new QSlider(Qt::Horizontal, centralwidget), "horizontalSliderPage");
    horizontalSliderPage->setMaximumWidth(100);
    horizontalSliderPage->setRange(1, 1);
    topBar->addWidget(horizontalSliderPage);
    topBar->addSpacing(20);
    pushButtonInfo = counterButton(centralwidget, "pushButtonInfo", ":/Buttons/Resources/Images/info.png");
    labelInfoNo = named(new QLabel(centralwidget), "labelInfoNo");
    pushButtonWarnings = counterButton(centralwidget, "pushButtonWarnings", ":/Buttons/Resources/Images/warning.png");
    labelWarningNo = named(new QLabel(centralwidget), "labelWarningNo");
    pushButtonErrors = counterButton(centralwidget, "pushButtonErrors", ":/Buttons/Resources/Images/error.png");
    labelErrorNo = named(new QLabel(centralwidget), "labelErrorNo");
    // Each count sits right of its icon with a gap before the next pair, so it is never
    // read as the count of the icon after it.
    const std::pair<QToolButton *, QLabel *> counters[] = {
        {pushButtonInfo, labelInfoNo}, {pushButtonWarnings, labelWarningNo}, {pushButtonErrors, labelErrorNo}};
    for (const auto &[button, count] : counters) {
        topBar->addWidget(button);
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(QStringLiteral("000")));
        topBar->addWidget(count);
        topBar->addSpacing(10);
    }
    mainLayout->addLayout(topBar);

    auto *body = new QHBoxLayout;
    mainLayout->addLayout(body, 1);

    // Left pane.
    scrollArea = named(new QScrollArea(centralwidget), "scrollArea");
    scrollArea->setWidgetResizable(true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollAreaLeftSide = named(new QWidget, "scrollAreaLeftSide");
    auto *left = new QVBoxLayout(scrollAreaLeftSide);

    widgetMode = named(new QWidget(scrollAreaLeftSide), "widgetMode");
    auto *modeLayout = new QHBoxLayout(widgetMode);
    modeLayout->setContentsMargins(0, 0, 0, 0);
    label_4 = named(new QLabel(widgetMode), "label_4");
    radioButtonEasy = named(new QRadioButton(widgetMode), "radioButtonEasy");
    radioButtonEasy->setChecked(true);
    radioButtonAdvanced = named(new QRadioButton(widgetMode), "radioButtonAdvanced");
    modeLayout->addWidget(label_4);
    modeLayout->addWidget(radioButtonEasy);
    modeLayout->addWidget(radioButtonAdvanced);
    modeLayout->addStretch();
    left->addWidget(widgetMode);

    groupBoxReferenceFile = groupBox(scrollAreaLeftSide, "groupBoxReferenceFile");
    auto *refLayout = new QGridLayout(groupBoxReferenceFile);
    radioButtonChart = named(new QRadioButton(groupBoxReferenceFile), "radioButtonChart");
    radioButtonDOC = named(new QRadioButton(groupBoxReferenceFile), "radioButtonDOC");
    refLayout->addWidget(radioButtonChart, 0, 0);
    refLayout->addWidget(radioButtonDOC, 0, 1, 1, 2);
    lineEditRefFile = named(new QLineEdit(groupBoxReferenceFile), "lineEditRefFile");
    lineEditRefFile->setEnabled(false);
    pushButtonBrowseRefFile = toolButton(groupBoxReferenceFile, "pushButtonBrowseRefFile");
    refLayout->addWidget(lineEditRefFile, 1, 0, 1, 2);
    refLayout->addWidget(pushButtonBrowseRefFile, 1, 2);
    checkBoxIdFromRefFile = named(new QCheckBox(groupBoxReferenceFile), "checkBoxIdFromRefFile");
    checkBoxIdFromRefFile->setChecked(true);
    checkBoxNameFromRefFile = named(new QCheckBox(groupBoxReferenceFile), "checkBoxNameFromRefFile");
    checkBoxAddVerificationPatches = named(new QCheckBox(groupBoxReferenceFile), "checkBoxAddVerificationPatches");
    chbReadVertical = named(new QCheckBox(groupBoxReferenceFile), "chbReadVertical");
    refLayout->addWidget(checkBoxIdFromRefFile, 2, 0);
    refLayout->addWidget(checkBoxNameFromRefFile, 2, 1, 1, 2);
    refLayout->addWidget(checkBoxAddVerificationPatches, 3, 0, 1, 3);
    refLayout->addWidget(chbReadVertical, 4, 0, 1, 3);
    labelColorSpace = named(new QLabel(groupBoxReferenceFile), "labelColorSpace");
    labelColorSpaveValue = named(new QLabel(groupBoxReferenceFile), "labelColorSpaveValue");
    modifyButton = toolButton(groupBoxReferenceFile, "modifyButton");
    modifyButton->setCheckable(true);
    refLayout->addWidget(labelColorSpace, 5, 0);
    refLayout->addWidget(labelColorSpaveValue, 5, 1);
    refLayout->addWidget(modifyButton, 5, 2);
    labelPatches = named(new QLabel(groupBoxReferenceFile), "labelPatches");
    labelPatchesValue = named(new QLabel(groupBoxReferenceFile), "labelPatchesValue");
    refLayout->addWidget(labelPatches, 6, 0);
    refLayout->addWidget(labelPatchesValue, 6, 1, 1, 2);
    left->addWidget(groupBoxReferenceFile);

    groupBoxMeasurementDevice = groupBox(scrollAreaLeftSide, "groupBoxMeasurementDevice");
    auto *deviceLayout = new QVBoxLayout(groupBoxMeasurementDevice);
    comboBoxDeviceSelection = named(new QComboBox(groupBoxMeasurementDevice), "comboBoxDeviceSelection");
    deviceLayout->addWidget(comboBoxDeviceSelection);
    left->addWidget(groupBoxMeasurementDevice);

    groupBoxTargetInfo = groupBox(scrollAreaLeftSide, "groupBoxTargetInfo");
    auto *infoLayout = new QFormLayout(groupBoxTargetInfo);
    labelTargetName = named(new QLabel(groupBoxTargetInfo), "labelTargetName");
    lineEditTargetName = named(new QLineEdit(groupBoxTargetInfo), "lineEditTargetName");
    labelVersion = named(new QLabel(groupBoxTargetInfo), "labelVersion");
    lineEditVersion = named(new QLineEdit(groupBoxTargetInfo), "lineEditVersion");
    labelPrinterMedia = named(new QLabel(groupBoxTargetInfo), "labelPrinterMedia");
    lineEditPrinterMedia = named(new QLineEdit(groupBoxTargetInfo), "lineEditPrinterMedia");
    infoLayout->addRow(labelTargetName, lineEditTargetName);
    infoLayout->addRow(labelVersion, lineEditVersion);
    infoLayout->addRow(labelPrinterMedia, lineEditPrinterMedia);
    left->addWidget(groupBoxTargetInfo);

    groupBoxTargetOptions = groupBox(scrollAreaLeftSide, "groupBoxTargetOptions");
    auto *optionsLayout = new QGridLayout(groupBoxTargetOptions);
    checkBoxManualPositioningVestra = named(new QCheckBox(groupBoxTargetOptions), "checkBoxManualPositioningVestra");
    checkBoxManualPositioningPendra = named(new QCheckBox(groupBoxTargetOptions), "checkBoxManualPositioningPendra");
    checkBoxAutoPositioning = named(new QCheckBox(groupBoxTargetOptions), "checkBoxAutoPositioning");
    checkBoxStartingLinesDesk = named(new QCheckBox(groupBoxTargetOptions), "checkBoxStartingLinesDesk");
    checkBoxBlackWhiteSeparators = named(new QCheckBox(groupBoxTargetOptions), "checkBoxBlackWhiteSeparators");
    checkBoxAutopositioningBorders = named(new QCheckBox(groupBoxTargetOptions), "checkBoxAutopositioningBorders");
    checkBox2mmAperture = named(new QCheckBox(groupBoxTargetOptions), "checkBox2mmAperture");
    checkBox6mmAperture = named(new QCheckBox(groupBoxTargetOptions), "checkBox6mmAperture");
    checkBox8mmAperture = named(new QCheckBox(groupBoxTargetOptions), "checkBox8mmAperture");
    optionsLayout->addWidget(checkBoxManualPositioningVestra, 0, 0, 1, 3);
    optionsLayout->addWidget(checkBoxManualPositioningPendra, 1, 0, 1, 3);
    optionsLayout->addWidget(checkBoxAutoPositioning, 2, 0, 1, 3);
    optionsLayout->addWidget(checkBoxStartingLinesDesk, 3, 0, 1, 3);
    optionsLayout->addWidget(checkBoxBlackWhiteSeparators, 4, 0, 1, 3);
    optionsLayout->addWidget(checkBoxAutopositioningBorders, 5, 0, 1, 3);
    optionsLayout->addWidget(checkBox2mmAperture, 6, 0);
    optionsLayout->addWidget(checkBox6mmAperture, 6, 1);
    optionsLayout->addWidget(checkBox8mmAperture, 6, 2);
    left->addWidget(groupBoxTargetOptions);

    groupBoxPaperSize = groupBox(scrollAreaLeftSide, "groupBoxPaperSize");
    auto *paperLayout = new QGridLayout(groupBoxPaperSize);
    comboBoxPaperSize = named(new QComboBox(groupBoxPaperSize), "comboBoxPaperSize");
    pushButtonNewPaper = toolButton(groupBoxPaperSize, "pushButtonNewPaper");
    pushButtonDelete = toolButton(groupBoxPaperSize, "pushButtonDelete");
    paperLayout->addWidget(comboBoxPaperSize, 0, 0, 1, 2);
    paperLayout->addWidget(pushButtonNewPaper, 1, 0);
    paperLayout->addWidget(pushButtonDelete, 1, 1);
    checkBoxIncludeLeftHeader = named(new QCheckBox(groupBoxPaperSize), "checkBoxIncludeLeftHeader");
    checkBoxIncludeLeftHeader->setChecked(true);
    checkBoxIncludeRightHeader = named(new QCheckBox(groupBoxPaperSize), "checkBoxIncludeRightHeader");
    checkBoxReferenceArea = named(new QCheckBox(groupBoxPaperSize), "checkBoxReferenceArea");
    checkBoxReferenceArea->setChecked(true);
    paperLayout->addWidget(checkBoxIncludeLeftHeader, 2, 0, 1, 2);
    paperLayout->addWidget(checkBoxIncludeRightHeader, 3, 0, 1, 2);
    paperLayout->addWidget(checkBoxReferenceArea, 4, 0, 1, 2);
    widgetPaperBorder = named(new QWidget(groupBoxPaperSize), "widgetPaperBorder");
    auto *borderLayout = new QGridLayout(widgetPaperBorder);
    borderLayout->setContentsMargins(0, 0, 0, 0);
    labelBorder = named(new QLabel(widgetPaperBorder), "labelBorder");
    lineEditBorderLeft = borderEdit(widgetPaperBorder, "lineEditBorderLeft");
    lineEditBorderUp = borderEdit(widgetPaperBorder, "lineEditBorderUp");
    lineEditBorderBottom = borderEdit(widgetPaperBorder, "lineEditBorderBottom");
    lineEditBorderRight = borderEdit(widgetPaperBorder, "lineEditBorderRight");
    pushButtonSetPaperSize = toolButton(widgetPaperBorder, "pushButtonSetPaperSize");
    // The edits sit where their border is: up on top, bottom below, left and right beside.
    borderLayout->addWidget(labelBorder, 0, 0, 1, 4);
    borderLayout->addWidget(lineEditBorderUp, 1, 1, 1, 2, Qt::AlignCenter);
    borderLayout->addWidget(lineEditBorderLeft, 2, 0, 1, 2);
    borderLayout->addWidget(lineEditBorderRight, 2, 2, 1, 2);
    borderLayout->addWidget(lineEditBorderBottom, 3, 1, 1, 2, Qt::AlignCenter);
    borderLayout->addWidget(pushButtonSetPaperSize, 2, 4);
    paperLayout->addWidget(widgetPaperBorder, 5, 0, 1, 2);
    left->addWidget(groupBoxPaperSize);

    groupBoxPatchSettings = groupBox(scrollAreaLeftSide, "groupBoxPatchSettings");
    auto *patchLayout = new QGridLayout(groupBoxPatchSettings);
    labelPatchCount = named(new QLabel(groupBoxPatchSettings), "labelPatchCount");
    labelPatchCountValue = named(new QLabel(groupBoxPatchSettings), "labelPatchCountValue");
    pushButtonModifyPatchCount = toolButton(groupBoxPatchSettings, "pushButtonModifyPatchCount");
    labelPatchSize = named(new QLabel(groupBoxPatchSettings), "labelPatchSize");
    labelPatchSizeValue = named(new QLabel(groupBoxPatchSettings), "labelPatchSizeValue");
    pushButtonModify = toolButton(groupBoxPatchSettings, "pushButtonModify");
    labelSeparator = named(new QLabel(groupBoxPatchSettings), "labelSeparator");
    labelSeparatorValue = named(new QLabel(groupBoxPatchSettings), "labelSeparatorValue");
    patchLayout->addWidget(labelPatchCount, 0, 0);
    patchLayout->addWidget(labelPatchCountValue, 0, 1);
    patchLayout->addWidget(pushButtonModifyPatchCount, 0, 2);
    patchLayout->addWidget(labelPatchSize, 1, 0);
    patchLayout->addWidget(labelPatchSizeValue, 1, 1);
    patchLayout->addWidget(pushButtonModify, 1, 2);
    patchLayout->addWidget(labelSeparator, 2, 0);
    patchLayout->addWidget(labelSeparatorValue, 2, 1);
    labelPatchesOrder = named(new QLabel(groupBoxPatchSettings), "labelPatchesOrder");
    radioButtonRowByRow = named(new QRadioButton(groupBoxPatchSettings), "radioButtonRowByRow");
    radioButtonRowByRow->setChecked(true);
    radioButtonColumnBycolumn = named(new QRadioButton(groupBoxPatchSettings), "radioButtonColumnBycolumn");
    checkBoxFlipVertical = named(new QCheckBox(groupBoxPatchSettings), "checkBoxFlipVertical");
    checkBoxFlipHorizontal = named(new QCheckBox(groupBoxPatchSettings), "checkBoxFlipHorizontal");
    patchLayout->addWidget(labelPatchesOrder, 3, 0, 1, 3);
    patchLayout->addWidget(radioButtonRowByRow, 4, 0);
    patchLayout->addWidget(radioButtonColumnBycolumn, 4, 1, 1, 2);
    patchLayout->addWidget(checkBoxFlipVertical, 5, 0);
    patchLayout->addWidget(checkBoxFlipHorizontal, 5, 1, 1, 2);
    pushButtonResetToDefault = toolButton(groupBoxPatchSettings, "pushButtonResetToDefault");
    patchLayout->addWidget(pushButtonResetToDefault, 6, 0, 1, 3, Qt::AlignLeft);
    left->addWidget(groupBoxPatchSettings);

    groupBoxComment = groupBox(scrollAreaLeftSide, "groupBoxComment");
    auto *commentLayout = new QVBoxLayout(groupBoxComment);
    commentTextEdit = named(new QTextEdit(groupBoxComment), "commentTextEdit");
    commentTextEdit->setAcceptDrops(false);
    commentTextEdit->setMaximumHeight(90);
    commentLayout->addWidget(commentTextEdit);
    left->addWidget(groupBoxComment);
    left->addStretch();

    scrollArea->setWidget(scrollAreaLeftSide);
    body->addWidget(scrollArea);

    // Page area with the output options below.
    auto *right = new QVBoxLayout;
    scrollArea_2 = named(new QScrollArea(centralwidget), "scrollArea_2");
    scrollArea_2->setAlignment(Qt::AlignCenter);
    pageHolder = named(new QWidget, "pageHolder");
    pageHolder->setMinimumSize(200, 150);
    scrollArea_2->setWidget(pageHolder);
    scrollArea_2->setWidgetResizable(true);
    right->addWidget(scrollArea_2, 1);

    widgetFormatOptions = named(new QWidget(centralwidget), "widgetFormatOptions");
    auto *formatLayout = new QHBoxLayout(widgetFormatOptions);
    formatLayout->setContentsMargins(0, 0, 0, 0);
    label = named(new QLabel(widgetFormatOptions), "label");
    radioButtonPS = named(new QRadioButton(widgetFormatOptions), "radioButtonPS");
    radioButtonTiff = named(new QRadioButton(widgetFormatOptions), "radioButtonTiff");
    radioButtonTiff->setChecked(true);
    checkBox16Bit = named(new QCheckBox(widgetFormatOptions), "checkBox16Bit");
    label_2 = named(new QLabel(widgetFormatOptions), "label_2");
    lineEditDpi = named(new QLineEdit(widgetFormatOptions), "lineEditDpi");
    lineEditDpi->setMaximumWidth(60);
    label_3 = named(new QLabel(widgetFormatOptions), "label_3");
    pushButtonSaveTarget = toolButton(widgetFormatOptions, "pushButtonSaveTarget");
    formatLayout->addWidget(label);
    formatLayout->addWidget(radioButtonPS);
    formatLayout->addWidget(radioButtonTiff);
    formatLayout->addWidget(checkBox16Bit);
    formatLayout->addSpacing(20);
    formatLayout->addWidget(label_2);
    formatLayout->addWidget(lineEditDpi);
    formatLayout->addWidget(label_3);
    formatLayout->addStretch();
    formatLayout->addWidget(pushButtonSaveTarget);
    right->addWidget(widgetFormatOptions);
    body->addLayout(right, 1);

    window->setCentralWidget(centralwidget);
    menubar = named(new QMenuBar(window), "menubar");
    window->setMenuBar(menubar);
    statusbar = named(new QStatusBar(window), "statusbar");
    window->setStatusBar(statusbar);

    retranslateUi(window);
}

void TessaroForm::retranslateUi(QMainWindow *window)
{
    auto tr = [](const char *text) { return QCoreApplication::translate("MainWindow", text); };
    window->setWindowTitle(tr("Create Color Target"));
    checkBoxRandom->setText(tr("Random"));
    labelPage->setText(tr("Page 2/6"));
    labelInfoNo->setText(tr("1"));
    labelWarningNo->setText(tr("1"));
    labelErrorNo->setText(tr("1"));
    label_4->setText(tr("Operation Mode:"));
    radioButtonEasy->setText(tr("Easy"));
    radioButtonAdvanced->setText(tr("Advanced"));
    groupBoxReferenceFile->setTitle(tr("Reference File"));
    radioButtonChart->setText(tr("Chart Measurement"));
    radioButtonDOC->setText(tr("Digital Output Control"));
    pushButtonBrowseRefFile->setText(tr("Browse"));
    checkBoxIdFromRefFile->setText(tr("Id from ref file"));
    checkBoxNameFromRefFile->setText(tr("Name from ref file"));
    checkBoxAddVerificationPatches->setText(tr("Add verification patches"));
    chbReadVertical->setText(tr("Read patches vertically"));
    labelColorSpace->setText(tr("Color space:"));
    labelColorSpaveValue->setText(tr("none"));
    labelPatches->setText(tr("Patches:"));
    labelPatchesValue->setText(tr("0"));
    modifyButton->setText(tr("Modify"));
    groupBoxMeasurementDevice->setTitle(tr("Measurement device"));
    groupBoxTargetInfo->setTitle(tr("Target Info"));
    labelTargetName->setText(tr("Target Name:"));
    labelVersion->setText(tr("Version:"));
    labelPrinterMedia->setText(tr("Printer / Media:"));
    groupBoxTargetOptions->setTitle(tr("Target Options"));
    checkBoxManualPositioningVestra->setText(tr("Manual Positioning Vestra"));
    checkBoxManualPositioningPendra->setText(tr("Manual Positioning Pendra"));
    checkBoxAutoPositioning->setText(tr("Autopositioning"));
    checkBoxStartingLinesDesk->setText(tr("Starting Lines TintoraDesk"));
    checkBoxBlackWhiteSeparators->setText(tr("Black / White separators"));
    checkBoxAutopositioningBorders->setText(tr("Patch recognition borders"));
    checkBox2mmAperture->setText(tr("2mm aperture"));
    checkBox6mmAperture->setText(tr("6mm aperture"));
    checkBox8mmAperture->setText(tr("8mm aperture"));
    groupBoxPaperSize->setTitle(tr("Paper Size"));
    pushButtonNewPaper->setText(tr("New Paper"));
    pushButtonDelete->setText(tr("Delete"));
    checkBoxIncludeLeftHeader->setText(tr("Include left header"));
    checkBoxIncludeRightHeader->setText(tr("Include right header"));
    checkBoxReferenceArea->setText(tr("Reference Area"));
    labelBorder->setText(tr("Border [mm]"));
    pushButtonSetPaperSize->setText(tr("Set"));
    groupBoxPatchSettings->setTitle(tr("Patch Settings"));
    labelPatchCount->setText(tr("Patch count:"));
    labelPatchCountValue->setText(tr("18x14"));
    pushButtonModifyPatchCount->setText(tr("Modify"));
    labelPatchSize->setText(tr("Patch size [mm]:"));
    labelPatchSizeValue->setText(tr("12.56x13.00"));
    pushButtonModify->setText(tr("Modify"));
    labelSeparator->setText(tr("Separator"));
    labelSeparatorValue->setText(tr("0.5x0.5"));
    labelPatchesOrder->setText(tr("Patches order:"));
    radioButtonRowByRow->setText(tr("Row by row"));
    radioButtonColumnBycolumn->setText(tr("Column by column"));
    checkBoxFlipVertical->setText(tr("Flip vertical"));
    checkBoxFlipHorizontal->setText(tr("Flip horizontal"));
    pushButtonResetToDefault->setText(tr("Reset to Default"));
    groupBoxComment->setTitle(tr("Comment"));
    label->setText(tr("Format options"));
    radioButtonPS->setText(tr("DCS (*.eps)"));
    radioButtonTiff->setText(tr("Tiff"));
    checkBox16Bit->setText(tr("16 Bit"));
    label_2->setText(tr("resolution"));
    label_3->setText(tr("dpi"));
    pushButtonSaveTarget->setText(tr("Save Target"));
}
