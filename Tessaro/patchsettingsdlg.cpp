// Patch settings dialog: base patch width and height, column and row separators.
#include "patchsettingsdlg.h"

#include "TargetSettings.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kSliderMax = 30000;           // um
constexpr double kSeparatorSpinMax = 30000; // mm
constexpr double kBorderSeparatorMin = 0.2; // mm, with patch recognition borders

// Millimetres of a two-decimal spin box to whole micrometres. Rounded, not
// truncated: 4.35 mm is 4349.999... in binary and must stay 4350 um.
int toMicrometres(double millimetres)
{
    const double um = std::round(millimetres * 1000);
    if (!std::isfinite(um))
        return 0;
    return static_cast<int>(std::clamp(um, static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

int truncToInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(value),
                                       static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

} // namespace

PatchSettingsDlg::PatchSettingsDlg(TargetSettings *settings, QWidget *parent)
    : QDialog(parent), settings(settings)
{
    buildForm();

    const double width = settings->patchSizeX;
    const double height = settings->patchSizeY;
    horizontalSliderWidth->setRange(1, kSliderMax);
    editPatchWidth->setRange(0.01, settings->targetSize.width() / 1000);
    horizontalSliderHeight->setRange(1, kSliderMax);
    editPatchHeight->setRange(0.01, settings->targetSize.height() / 1000);
    horizontalSliderColumnSeparator->setRange(0, truncToInt(width));
    editPatchColumnSeparator->setRange(0, std::min(width / 1000, kSeparatorSpinMax));
    horizontalSliderRowSeparator->setRange(0, truncToInt(height));
    editPatchRowSeparator->setRange(0, std::min(height / 1000, kSeparatorSpinMax));

    horizontalSliderWidth->setValue(truncToInt(width));
    editPatchWidth->setValue(width / 1000);
    horizontalSliderHeight->setValue(truncToInt(height));
    editPatchHeight->setValue(height / 1000);
    horizontalSliderColumnSeparator->setValue(truncToInt(settings->patchMarginX));
    editPatchColumnSeparator->setValue(std::min(settings->patchMarginX / 1000, kSeparatorSpinMax));
    horizontalSliderRowSeparator->setValue(truncToInt(settings->patchMarginY));
    editPatchRowSeparator->setValue(std::min(settings->patchMarginY / 1000, kSeparatorSpinMax));

    connect(horizontalSliderWidth, SIGNAL(valueChanged(int)), this, SLOT(xWidthChanged(int)));
    connect(horizontalSliderHeight, SIGNAL(valueChanged(int)), this, SLOT(yHeightChanged(int)));
    connect(editPatchWidth, SIGNAL(valueChanged(double)), this, SLOT(xSpinWidthChanged(double)));
    connect(editPatchHeight, SIGNAL(valueChanged(double)), this, SLOT(ySpinHeightChanged(double)));
    connect(horizontalSliderColumnSeparator, SIGNAL(valueChanged(int)), this,
            SLOT(marginWidthChanged(int)));
    connect(horizontalSliderRowSeparator, SIGNAL(valueChanged(int)), this,
            SLOT(marginHeightChanged(int)));
    connect(editPatchColumnSeparator, SIGNAL(valueChanged(double)), this,
            SLOT(marginSpinWidthChanged(double)));
    connect(editPatchRowSeparator, SIGNAL(valueChanged(double)), this,
            SLOT(marginSpinHeightChanged(double)));
    connect(pushButtonPreview, SIGNAL(clicked()), this, SLOT(previewSelected()));
    connect(pushButtonOK, SIGNAL(clicked()), this, SLOT(ok()));
    syncing = true;

    if (settings->autopositioningBorders) {
        // The recognition borders need a visible gap between the patches.
        editPatchColumnSeparator->setMinimum(kBorderSeparatorMin);
        editPatchRowSeparator->setMinimum(kBorderSeparatorMin);
    }
}

void PatchSettingsDlg::buildForm()
{
    setObjectName(QStringLiteral("PatchSettings"));
    setWindowTitle(tr("Patch Settings"));

    auto *grid = new QGridLayout;
    auto addRow = [this, grid](int row, const QString &label, const char *sliderName,
                               const char *spinName, QSlider *&slider, QDoubleSpinBox *&spin) {
        grid->addWidget(new QLabel(label, this), row, 0);
        slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QLatin1String(sliderName));
        grid->addWidget(slider, row, 1);
        spin = new QDoubleSpinBox(this);
        spin->setObjectName(QLatin1String(spinName));
        spin->setDecimals(2);
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        spin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        spin->setMinimumWidth(67);
        grid->addWidget(spin, row, 2);
        grid->addWidget(new QLabel(tr("mm"), this), row, 3);
    };
    addRow(0, tr("Patch width:"), "horizontalSliderWidth", "editPatchWidth",
           horizontalSliderWidth, editPatchWidth);
    addRow(1, tr("Patch height:"), "horizontalSliderHeight", "editPatchHeight",
           horizontalSliderHeight, editPatchHeight);
    addRow(2, tr("Column separator:"), "horizontalSliderColumnSeparator",
           "editPatchColumnSeparator", horizontalSliderColumnSeparator, editPatchColumnSeparator);
    addRow(3, tr("Row separator:"), "horizontalSliderRowSeparator", "editPatchRowSeparator",
           horizontalSliderRowSeparator, editPatchRowSeparator);

    pushButtonPreview = new QPushButton(tr("Preview"), this);
    pushButtonPreview->setObjectName(QStringLiteral("pushButtonPreview"));
    pushButtonPreview->setAutoDefault(false);
    pushButtonOK = new QPushButton(tr("OK"), this);
    pushButtonOK->setObjectName(QStringLiteral("pushButtonOK"));
    pushButtonOK->setMaximumWidth(67);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pushButtonPreview);
    buttons->addWidget(pushButtonOK);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(338, 191);
}

void PatchSettingsDlg::limitSeparator(QSlider *separatorSlider, QDoubleSpinBox *separatorSpin,
                                      int edgeMicrometres, double edgeMillimetres)
{
    const int sliderValue = std::min(separatorSlider->value(), edgeMicrometres);
    const double spinValue = std::min(separatorSpin->value(), edgeMillimetres);
    separatorSlider->setMaximum(edgeMicrometres);
    separatorSpin->setMaximum(std::min(edgeMillimetres, kSeparatorSpinMax));
    separatorSlider->setValue(sliderValue);
    separatorSpin->setValue(spinValue);
}

void PatchSettingsDlg::xWidthChanged(int w)
{
    if (!syncing)
        return;
    syncing = false;
    editPatchWidth->setValue(w / 1000.0);
    limitSeparator(horizontalSliderColumnSeparator, editPatchColumnSeparator, w, w / 1000.0);
    syncing = true;
}

void PatchSettingsDlg::yHeightChanged(int h)
{
    if (!syncing)
        return;
    syncing = false;
    editPatchHeight->setValue(h / 1000.0);
    limitSeparator(horizontalSliderRowSeparator, editPatchRowSeparator, h, h / 1000.0);
    syncing = true;
}

void PatchSettingsDlg::xSpinWidthChanged(double w)
{
    if (!syncing)
        return;
    syncing = false;
    const int um = toMicrometres(w);
    horizontalSliderWidth->setValue(um);
    limitSeparator(horizontalSliderColumnSeparator, editPatchColumnSeparator, um, w);
    // The slider follows the separator in the spin box, with its decimals.
    horizontalSliderColumnSeparator->setValue(toMicrometres(editPatchColumnSeparator->value()));
    syncing = true;
}

void PatchSettingsDlg::ySpinHeightChanged(double h)
{
    if (!syncing)
        return;
    syncing = false;
    const int um = toMicrometres(h);
    horizontalSliderHeight->setValue(um);
    limitSeparator(horizontalSliderRowSeparator, editPatchRowSeparator, um, h);
    horizontalSliderRowSeparator->setValue(toMicrometres(editPatchRowSeparator->value()));
    syncing = true;
}

void PatchSettingsDlg::marginWidthChanged(int m)
{
    if (!syncing)
        return;
    syncing = false;
    editPatchColumnSeparator->setValue(m / 1000.0);
    syncing = true;
}

void PatchSettingsDlg::marginHeightChanged(int m)
{
    if (!syncing)
        return;
    syncing = false;
    editPatchRowSeparator->setValue(m / 1000.0);
    syncing = true;
}

void PatchSettingsDlg::marginSpinWidthChanged(double m)
{
    if (!syncing)
        return;
    syncing = false;
    horizontalSliderColumnSeparator->setValue(toMicrometres(m));
    syncing = true;
}

void PatchSettingsDlg::marginSpinHeightChanged(double m)
{
    if (!syncing)
        return;
    syncing = false;
    horizontalSliderRowSeparator->setValue(toMicrometres(m));
    syncing = true;
}

void PatchSettingsDlg::apply()
{
    settings->desiredPatchesX = 0;
    settings->desiredPatchesY = 0;
    settings->minPatchSizeX = toMicrometres(editPatchWidth->value());
    settings->minPatchSizeY = toMicrometres(editPatchHeight->value());
    settings->patchMarginX = toMicrometres(editPatchColumnSeparator->value());
    settings->patchMarginY = toMicrometres(editPatchRowSeparator->value());
}

void PatchSettingsDlg::previewSelected()
{
    apply();
    emit previewTarget();
}

void PatchSettingsDlg::ok()
{
    apply();
    accept();
}
