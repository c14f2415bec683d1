// Dialog for the base patch width and height and the column and row
// separators. Sliders count micrometres, spin boxes millimetres with two
// decimals; the values go straight into the main window's TargetSettings on
// Preview and OK and become the base patch size of every layout run.
#pragma once

#include <QDialog>

class QDoubleSpinBox;
class QPushButton;
class QSlider;
class TargetSettings;

class PatchSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    // `settings` is not owned and must outlive the dialog.
    PatchSettingsDlg(TargetSettings *settings, QWidget *parent = nullptr);

signals:
    // Asks the main window for a layout run and repaint with the values written.
    void previewTarget();

public slots:
    void xWidthChanged(int w);          // um
    void yHeightChanged(int h);         // um
    void xSpinWidthChanged(double w);   // mm
    void ySpinHeightChanged(double h);  // mm
    void marginWidthChanged(int m);     // um
    void marginHeightChanged(int m);    // um
    void marginSpinWidthChanged(double m);  // mm
    void marginSpinHeightChanged(double m); // mm
    void previewSelected();
    void ok();

private:
    void buildForm();
    void apply();
    // A patch edge moved: the separator's maxima follow it and the separator
    // is dragged down to it when it was wider.
    static void limitSeparator(QSlider *separatorSlider, QDoubleSpinBox *separatorSpin,
                               int edgeMicrometres, double edgeMillimetres);

    TargetSettings *settings;
    // Off while a slot updates the partner widgets, so they do not call back.
    bool syncing = false;

    QSlider *horizontalSliderWidth = nullptr;
    QDoubleSpinBox *editPatchWidth = nullptr;
    QSlider *horizontalSliderHeight = nullptr;
    QDoubleSpinBox *editPatchHeight = nullptr;
    QSlider *horizontalSliderColumnSeparator = nullptr;
    QDoubleSpinBox *editPatchColumnSeparator = nullptr;
    QSlider *horizontalSliderRowSeparator = nullptr;
    QDoubleSpinBox *editPatchRowSeparator = nullptr;
    QPushButton *pushButtonPreview = nullptr;
    QPushButton *pushButtonOK = nullptr;
};
