// One colorant row of the channel colour dialog.
#include "colorpickeritem.h"

#include "ColorUtil.h"
#include "UserInteraction.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

const char *const kPreviewStyle =
    "QToolButton {background-color: rgba(%1, %2, %3, 255);border-radius:3px;border: 1px solid gray;}";

const char *const kSpinBoxStyle =
    "QDoubleSpinBox { border: 1px solid gray; }"
    "QDoubleSpinBox:hover, QDoubleSpinBox:focus { background: rgb(228, 238, 255); }"
    "QDoubleSpinBox::up-button, QDoubleSpinBox::down-button { width: 16px; }"
    "QDoubleSpinBox::up-arrow { image: url(:/Buttons/Resources/Images/arrow_up.png); }"
    "QDoubleSpinBox::down-arrow { image: url(:/Buttons/Resources/Images/arrow_down.png); }";

QDoubleSpinBox *makeSpinBox(QWidget *parent, const char *name, double minimum, double maximum, double value)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(2);
    box->setSingleStep(1.0);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setStyleSheet(QString::fromLatin1(kSpinBoxStyle));
    return box;
}

// Style sheets take whole numbers; the conversion may return fractions or leave the gamut.
int styleComponent(double value)
{
    if (!std::isfinite(value))
        return 255;
    return static_cast<int>(std::clamp(std::trunc(value), 0.0, 255.0));
}

} // namespace

ColorPickerItem::ColorPickerItem(QWidget *parent, UserInteraction *interaction_)
    : QWidget(parent), interaction(interaction_)
{
    if (!interaction) {
        ownInteraction = new QtUserInteraction;
        interaction = ownInteraction;
    }
    buildForm();
    connect(LSpinBox, SIGNAL(valueChanged(double)), this, SLOT(LabValuesChanged(double)));
    connect(aSpinBox, SIGNAL(valueChanged(double)), this, SLOT(LabValuesChanged(double)));
    connect(bSpinBox, SIGNAL(valueChanged(double)), this, SLOT(LabValuesChanged(double)));
    connect(defaultColorPickerButton, SIGNAL(clicked()), this, SLOT(DefaulColorPickerClicked()));
    connect(ColorNameLineEdit, SIGNAL(textEdited(QString)), this, SLOT(ChangeName(QString)));
    // The edit button leads to the name edit.
    connect(toolButton, &QToolButton::clicked, ColorNameLineEdit, [this] { ColorNameLineEdit->setFocus(); });
}

ColorPickerItem::~ColorPickerItem()
{
    delete ownInteraction;
}

void ColorPickerItem::buildForm()
{
    setObjectName(QStringLiteral("ColorPickerItem"));
    resize(544, 79);
    auto *layout = new QHBoxLayout(this);

    colorPreview = new QToolButton(this);
    colorPreview->setObjectName(QStringLiteral("colorPreview"));
    colorPreview->setMinimumSize(60, 50);
    colorPreview->setStyleSheet(QStringLiteral(
        "QToolButton {background-color: rgba(255, 255, 255, 255);border-radius:3px;border: 1px solid gray;}"));
    layout->addWidget(colorPreview);

    ColorNameLineEdit = new QLineEdit(this);
    ColorNameLineEdit->setObjectName(QStringLiteral("ColorNameLineEdit"));
    ColorNameLineEdit->setFrame(false);
    ColorNameLineEdit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    ColorNameLineEdit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(ColorNameLineEdit, 1);

    toolButton = new QToolButton(this);
    toolButton->setObjectName(QStringLiteral("toolButton"));
    toolButton->setIcon(QIcon(QStringLiteral(":/Buttons/Resources/Images/editText.png")));
    toolButton->setText(QStringLiteral("..."));
    layout->addWidget(toolButton);

    label_2 = new QLabel(tr("L"), this);
    label_2->setObjectName(QStringLiteral("label_2"));
    LSpinBox = makeSpinBox(this, "LSpinBox", 0, 100, 100);
    label_3 = new QLabel(tr("a"), this);
    label_3->setObjectName(QStringLiteral("label_3"));
    aSpinBox = makeSpinBox(this, "aSpinBox", -128, 127, 0);
    label_4 = new QLabel(tr("b"), this);
    label_4->setObjectName(QStringLiteral("label_4"));
    bSpinBox = makeSpinBox(this, "bSpinBox", -128, 127, 0);
    layout->addWidget(label_2);
    layout->addWidget(LSpinBox);
    layout->addWidget(label_3);
    layout->addWidget(aSpinBox);
    layout->addWidget(label_4);
    layout->addWidget(bSpinBox);

    defaultColorPickerButton = new QToolButton(this);
    defaultColorPickerButton->setObjectName(QStringLiteral("defaultColorPickerButton"));
    defaultColorPickerButton->setCheckable(true);
    defaultColorPickerButton->setAutoRaise(true);
    defaultColorPickerButton->setMinimumSize(30, 30);
    defaultColorPickerButton->setIcon(QIcon(QStringLiteral(":/Buttons/Resources/Images/color_picker.png")));
    defaultColorPickerButton->setIconSize(QSize(30, 30));
    QSizePolicy policy = defaultColorPickerButton->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    defaultColorPickerButton->setSizePolicy(policy);
    layout->addWidget(defaultColorPickerButton);
}

void ColorPickerItem::setColorName(const QString &name)
{
    colorName = name;
    ColorNameLineEdit->setPlaceholderText(name);
}

void ColorPickerItem::setLabValues(double L, double a, double b)
{
    LSpinBox->setValue(L);
    aSpinBox->setValue(a);
    bSpinBox->setValue(b);
}

void ColorPickerItem::setNameReadOnly(bool readOnly)
{
    ColorNameLineEdit->setReadOnly(readOnly);
}

void ColorPickerItem::setLabReadOnly(bool readOnly)
{
    const QAbstractSpinBox::ButtonSymbols symbols =
        readOnly ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows;
    for (QDoubleSpinBox *box : {LSpinBox, aSpinBox, bSpinBox}) {
        box->setReadOnly(readOnly);
        box->setButtonSymbols(symbols);
    }
    defaultColorPickerButton->setVisible(!readOnly);
    toolButton->setVisible(!readOnly);
}

void ColorPickerItem::LabValuesChanged(double)
{
    const double lab[3] = {LSpinBox->value(), aSpinBox->value(), bSpinBox->value()};
    double rgb[3];
    if (!ColorUtil::LabToRGB(lab, rgb))
        return;
    colorPreview->setStyleSheet(QString::fromLatin1(kPreviewStyle)
                                    .arg(styleComponent(rgb[0]))
                                    .arg(styleComponent(rgb[1]))
                                    .arg(styleComponent(rgb[2])));
}

void ColorPickerItem::DefaulColorPickerClicked()
{
    const QColor chosen = interaction->color(this, Qt::white, QString());
    if (!chosen.isValid())
        return;
    const double rgb[3] = {double(chosen.red()), double(chosen.green()), double(chosen.blue())};
    double lab[3];
    if (!ColorUtil::RGBtoLab(rgb, lab))
        return;
    setLabValues(lab[0], lab[1], lab[2]);
}

void ColorPickerItem::ChangeName(QString name)
{
    colorName = name.isEmpty() ? ColorNameLineEdit->placeholderText() : name;
}

void ColorPickerItem::SaveLabValues()
{
    labValues = {LSpinBox->value(), aSpinBox->value(), bSpinBox->value()};
}
