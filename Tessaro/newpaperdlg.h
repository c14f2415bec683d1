// Dialog for a new named paper with its size and four borders (whole mm).
// OK adds it to the paper list of TargetSettings unless the input is
// incomplete or the same paper is listed already; then OK does nothing.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;
class TargetSettings;

class NewPaperDlg : public QDialog
{
    Q_OBJECT
public:
    // `settings` is not owned and must outlive the dialog.
    NewPaperDlg(TargetSettings *settings, QWidget *parent = nullptr);

public slots:
    void ok();

private:
    void buildForm();

    TargetSettings *settings;

    QLineEdit *lineEditPaperName = nullptr;
    QSpinBox *editPaperWidth = nullptr;
    QSpinBox *editPaperHeight = nullptr;
    QSpinBox *editPaperBorderLeft = nullptr;
    QSpinBox *editPaperBorderRight = nullptr;
    QSpinBox *editPaperBorderTop = nullptr;
    QSpinBox *editPaperBorderBottom = nullptr;
    QPushButton *pushButtonOK = nullptr;
};
