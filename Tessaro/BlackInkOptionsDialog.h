// Question asked when a reference without RGB data has no black ink: the maximum ink
// percentage with which black graphics are built from all inks.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class BlackInkOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    BlackInkOptionsDialog(int defaultValue, QWidget *parent = nullptr);

    // The accepted value; -1 until the dialog is accepted.
    int value() const { return m_value; }

public slots:
    // Takes the entry: 0 when it is not a number, the preset when it is above 100.
    void ok();

private:
    int m_value = -1;
    int defaultValue;
    QLabel *label = nullptr;
    QLabel *label_2 = nullptr;
    QLineEdit *maxInk = nullptr;
    QDialogButtonBox *buttonBox = nullptr;
};
