// The controls of the main window, built in code: one pointer per control, named after
// the control's object name (kind + role), as the page painter, the dialogs and the tests
// find them.
#pragma once

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenuBar;
class QRadioButton;
class QScrollArea;
class QSlider;
class QStatusBar;
class QTextEdit;
class QToolButton;
class QWidget;

struct TessaroForm
{
    // Creates every control inside `window` (object name "MainWindow", 986 x 816) and sets
    // the texts of the "MainWindow" translation context.
    void setupUi(QMainWindow *window);
    void retranslateUi(QMainWindow *window);

    QWidget *centralwidget = nullptr;

    // Top bar.
    QCheckBox *checkBoxRandom = nullptr;
    QLabel *labelPage = nullptr;
    QSlider *horizontalSliderPage = nullptr;
    QToolButton *pushButtonInfo = nullptr;
    QLabel *labelInfoNo = nullptr;
    QToolButton *pushButtonWarnings = nullptr;
    QLabel *labelWarningNo = nullptr;
    QToolButton *pushButtonErrors = nullptr;
    QLabel *labelErrorNo = nullptr;

    // Left pane.
    QScrollArea *scrollArea = nullptr;
    QWidget *scrollAreaLeftSide = nullptr;
    QWidget *widgetMode = nullptr;
    QLabel *label_4 = nullptr;
    QRadioButton *radioButtonEasy = nullptr;
    QRadioButton *radioButtonAdvanced = nullptr;

    QGroupBox *groupBoxReferenceFile = nullptr;
    QRadioButton *radioButtonChart = nullptr;
    QRadioButton *radioButtonDOC = nullptr;
    QLineEdit *lineEditRefFile = nullptr;
    QToolButton *pushButtonBrowseRefFile = nullptr;
    QCheckBox *checkBoxIdFromRefFile = nullptr;
    QCheckBox *checkBoxNameFromRefFile = nullptr;
    QCheckBox *checkBoxAddVerificationPatches = nullptr;
    QCheckBox *chbReadVertical = nullptr;
    QLabel *labelColorSpace = nullptr;
    QLabel *labelColorSpaveValue = nullptr;
    QLabel *labelPatches = nullptr;
    QLabel *labelPatchesValue = nullptr;
    QToolButton *modifyButton = nullptr;

    QGroupBox *groupBoxMeasurementDevice = nullptr;
    QComboBox *comboBoxDeviceSelection = nullptr;

    QGroupBox *groupBoxTargetInfo = nullptr;
    QLabel *labelTargetName = nullptr;
    QLineEdit *lineEditTargetName = nullptr;
    QLabel *labelVersion = nullptr;
    QLineEdit *lineEditVersion = nullptr;
    QLabel *labelPrinterMedia = nullptr;
    QLineEdit *lineEditPrinterMedia = nullptr;

    QGroupBox *groupBoxTargetOptions = nullptr;
    QCheckBox *checkBoxManualPositioningVestra = nullptr;
    QCheckBox *checkBoxManualPositioningPendra = nullptr;
    QCheckBox *checkBoxAutoPositioning = nullptr;
    QCheckBox *checkBoxStartingLinesDesk = nullptr;
    QCheckBox *checkBoxBlackWhiteSeparators = nullptr;
    QCheckBox *checkBoxAutopositioningBorders = nullptr;
    QCheckBox *checkBox2mmAperture = nullptr;
    QCheckBox *checkBox6mmAperture = nullptr;
    QCheckBox *checkBox8mmAperture = nullptr;

    QGroupBox *groupBoxPaperSize = nullptr;
    QComboBox *comboBoxPaperSize = nullptr;
    QToolButton *pushButtonNewPaper = nullptr;
    QToolButton *pushButtonDelete = nullptr;
    QCheckBox *checkBoxIncludeLeftHeader = nullptr;
    QCheckBox *checkBoxIncludeRightHeader = nullptr;
    QCheckBox *checkBoxReferenceArea = nullptr;
    QWidget *widgetPaperBorder = nullptr;
    QLabel *labelBorder = nullptr;
    QLineEdit *lineEditBorderLeft = nullptr;
    QLineEdit *lineEditBorderUp = nullptr;
    QLineEdit *lineEditBorderBottom = nullptr;
    QLineEdit *lineEditBorderRight = nullptr;
    QToolButton *pushButtonSetPaperSize = nullptr;

    QGroupBox *groupBoxPatchSettings = nullptr;
    QLabel *labelPatchCount = nullptr;
    QLabel *labelPatchCountValue = nullptr;
    QToolButton *pushButtonModifyPatchCount = nullptr;
    QLabel *labelPatchSize = nullptr;
    QLabel *labelPatchSizeValue = nullptr;
    QToolButton *pushButtonModify = nullptr;
    QLabel *labelSeparator = nullptr;
    QLabel *labelSeparatorValue = nullptr;
    QLabel *labelPatchesOrder = nullptr;
    QRadioButton *radioButtonRowByRow = nullptr;
    QRadioButton *radioButtonColumnBycolumn = nullptr;
    QCheckBox *checkBoxFlipVertical = nullptr;
    QCheckBox *checkBoxFlipHorizontal = nullptr;
    QToolButton *pushButtonResetToDefault = nullptr;

    QGroupBox *groupBoxComment = nullptr;
    QTextEdit *commentTextEdit = nullptr;

    // Page area and output options.
    QScrollArea *scrollArea_2 = nullptr;
    QWidget *pageHolder = nullptr;
    QWidget *widgetFormatOptions = nullptr;
    QLabel *label = nullptr;
    QRadioButton *radioButtonPS = nullptr;
    QRadioButton *radioButtonTiff = nullptr;
    QCheckBox *checkBox16Bit = nullptr;
    QLabel *label_2 = nullptr;
    QLineEdit *lineEditDpi = nullptr;
    QLabel *label_3 = nullptr;
    QToolButton *pushButtonSaveTarget = nullptr;

    QMenuBar *menubar = nullptr;
    QStatusBar *statusbar = nullptr;
};
