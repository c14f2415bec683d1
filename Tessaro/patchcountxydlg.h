// Dialog for the wished number of patch columns and rows and the tightening
// option. Every value has a slider and a spin box that follow each other; the
// values go straight into the main window's TargetSettings on Preview and OK.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSlider;
class QSpinBox;
class TargetSettings;

class PatchCountXYDlg : public QDialog
{
    Q_OBJECT
public:
    // `settings` is not owned and must outlive the dialog.
    PatchCountXYDlg(TargetSettings *settings, QWidget *parent = nullptr);

signals:
    // Asks the main window for a layout run and repaint with the values written.
    void previewTarget();

public slots:
    void xPatchesChanged(int x);
    void yPatchesChanged(int y);
    void xSpinPatchesChanged(int x);
    void ySpinPatchesChanged(int y);
    void previewSelected();
    void ok();
    // Follows the counts the layout chose (the main window's patchCountUpdated()).
    void patchCountUpdated();

private:
    void buildForm(int maxColumns, int maxRows);
    void applyToSettings();

    TargetSettings *settings;
    // Off while a slot updates the partner widgets, so they do not call back.
    bool syncing = false;

    QSlider *horizontalSliderX = nullptr;
    QSpinBox *editPatchCountX = nullptr;
    QSlider *horizontalSliderY = nullptr;
    QSpinBox *editPatchCountY = nullptr;
    QCheckBox *chkOptimizeTilePosition = nullptr;
    QPushButton *pushButtonPreview = nullptr;
    QPushButton *pushButtonOK = nullptr;
};
