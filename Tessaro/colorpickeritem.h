// One row of the channel colour dialog: the name and the display colour (Lab) of one
// colorant, with a preview button, three Lab spin boxes and a colour picker.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QToolButton;
class UserInteraction;

class ColorPickerItem : public QWidget
{
    Q_OBJECT
public:
    // `interaction` answers the colour dialog; null uses the toolkit's own.
    explicit ColorPickerItem(QWidget *parent = nullptr, UserInteraction *interaction = nullptr);
    ~ColorPickerItem() override;

    // The name becomes the placeholder of the name edit, which itself stays empty.
    void setColorName(const QString &name);
    QString getColorName() const { return colorName; }
    void setLabValues(double L, double a, double b);
    // L, a, b as last saved by SaveLabValues(); empty before the first save.
    QList<double> getLabValues() const { return labValues; }
    void setNameReadOnly(bool readOnly);
    // Read-only rows lose their spin box arrows, the picker and the edit button.
    void setLabReadOnly(bool readOnly);

public slots:
    void LabValuesChanged(double value);
    void DefaulColorPickerClicked();
    void ChangeName(QString colorName);
    void SaveLabValues();

private:
    void buildForm();

    QList<double> labValues;
    QString colorName;
    UserInteraction *interaction;
    UserInteraction *ownInteraction = nullptr;

    QToolButton *colorPreview = nullptr;
    QLineEdit *ColorNameLineEdit = nullptr;
    QToolButton *toolButton = nullptr;
    QLabel *label_2 = nullptr;
    QLabel *label_3 = nullptr;
    QLabel *label_4 = nullptr;
    QDoubleSpinBox *LSpinBox = nullptr;
    QDoubleSpinBox *aSpinBox = nullptr;
    QDoubleSpinBox *bSpinBox = nullptr;
    QToolButton *defaultColorPickerButton = nullptr;
};
