// Patch count dialog: wished columns and rows, and "Optimize tile position".
#include "patchcountxydlg.h"

#include "TargetSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

// Cells of `step` um in `length` um, truncated; 0 when not even one fits.
int maxCells(double length, double step)
{
    if (!(step > 0) || !std::isfinite(length) || !std::isfinite(step) || length <= 0)
        return 0;
    const double count = std::trunc(length / step);
    if (count >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(count);
}

// The partner value when `moved` changes to `value`: with n patches, a
// partner of `other` is lowered to n - value (0 when not positive) once
// n - other < value.
int loweredPartner(int value, int other, int patchCount)
{
    if (other <= patchCount && patchCount - other < value) {
        const int lowered = patchCount - value;
        return lowered > 0 ? lowered : 0;
    }
    return other;
}

} // namespace

PatchCountXYDlg::PatchCountXYDlg(TargetSettings *settings, QWidget *parent)
    : QDialog(parent), settings(settings)
{
    const QSizeF area = settings->availableTargetSize();
    const int maxColumns = maxCells(area.width(), settings->minPatchSizeX + settings->patchMarginX);
    const int maxRows = maxCells(area.height(), settings->minPatchSizeY + settings->patchMarginY);
    buildForm(maxColumns, maxRows);

    horizontalSliderX->setValue(settings->patchesX);
    editPatchCountX->setValue(settings->patchesX);
    horizontalSliderY->setValue(settings->patchesY);
    editPatchCountY->setValue(settings->patchesY);
    chkOptimizeTilePosition->setChecked(settings->optimizeTilePosition);

    connect(editPatchCountX, SIGNAL(valueChanged(int)), this, SLOT(xSpinPatchesChanged(int)));
    connect(editPatchCountY, SIGNAL(valueChanged(int)), this, SLOT(ySpinPatchesChanged(int)));
    connect(horizontalSliderX, SIGNAL(valueChanged(int)), this, SLOT(xPatchesChanged(int)));
    connect(horizontalSliderY, SIGNAL(valueChanged(int)), this, SLOT(yPatchesChanged(int)));
    connect(pushButtonPreview, SIGNAL(clicked()), this, SLOT(previewSelected()));
    connect(pushButtonOK, SIGNAL(clicked()), this, SLOT(ok()));
    syncing = true;
}

void PatchCountXYDlg::buildForm(int maxColumns, int maxRows)
{
    setObjectName(QStringLiteral("PatchCountXY"));
    setWindowTitle(tr("Patch Settings"));

    auto makeSlider = [this](const char *name, int max) {
        auto *slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QLatin1String(name));
        // Minimum first: a page without room for one patch gives 0 .. 0.
        slider->setMinimum(1);
        slider->setMaximum(max);
        return slider;
    };
    auto makeSpin = [this](const char *name, int max) {
        auto *spin = new QSpinBox(this);
        spin->setObjectName(QLatin1String(name));
        spin->setMinimum(1);
        spin->setMaximum(max);
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        spin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        spin->setMinimumWidth(76);
        return spin;
    };

    horizontalSliderX = makeSlider("horizontalSliderX", maxColumns);
    editPatchCountX = makeSpin("editPatchCountX", maxColumns);
    horizontalSliderY = makeSlider("horizontalSliderY", maxRows);
    editPatchCountY = makeSpin("editPatchCountY", maxRows);

    auto *labelX = new QLabel(tr("Patch count X:"), this);
    labelX->setObjectName(QStringLiteral("labelPatchCountX"));
    auto *labelY = new QLabel(tr("Patch count Y:"), this);
    labelY->setObjectName(QStringLiteral("label_2"));

    chkOptimizeTilePosition = new QCheckBox(tr("Optimize tile position"), this);
    chkOptimizeTilePosition->setObjectName(QStringLiteral("chkOptimizeTilePosition"));
    pushButtonPreview = new QPushButton(tr("Preview"), this);
    pushButtonPreview->setObjectName(QStringLiteral("pushButtonPreview"));
    pushButtonPreview->setAutoDefault(false);
    pushButtonOK = new QPushButton(tr("OK"), this);
    pushButtonOK->setObjectName(QStringLiteral("pushButtonOK"));
    pushButtonOK->setMaximumWidth(76);

    auto *grid = new QGridLayout;
    grid->addWidget(labelX, 0, 0);
    grid->addWidget(horizontalSliderX, 0, 1);
    grid->addWidget(editPatchCountX, 0, 2);
    grid->addWidget(labelY, 1, 0);
    grid->addWidget(horizontalSliderY, 1, 1);
    grid->addWidget(editPatchCountY, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkOptimizeTilePosition);
    buttons->addStretch();
    buttons->addWidget(pushButtonPreview);
    buttons->addWidget(pushButtonOK);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(346, 164);
}

void PatchCountXYDlg::xPatchesChanged(int x)
{
    if (!syncing)
        return;
    syncing = false;
    horizontalSliderY->setValue(loweredPartner(x, horizontalSliderY->value(), settings->patchCount));
    editPatchCountX->setValue(x);
    editPatchCountY->setValue(horizontalSliderY->value());
    syncing = true;
}

void PatchCountXYDlg::yPatchesChanged(int y)
{
    if (!syncing)
        return;
    syncing = false;
    horizontalSliderX->setValue(loweredPartner(y, horizontalSliderX->value(), settings->patchCount));
    editPatchCountX->setValue(horizontalSliderX->value());
    editPatchCountY->setValue(y);
    syncing = true;
}

void PatchCountXYDlg::xSpinPatchesChanged(int x)
{
    if (!syncing)
        return;
    syncing = false;
    editPatchCountY->setValue(loweredPartner(x, editPatchCountY->value(), settings->patchCount));
    horizontalSliderX->setValue(x);
    horizontalSliderY->setValue(editPatchCountY->value());
    syncing = true;
}

void PatchCountXYDlg::ySpinPatchesChanged(int y)
{
    if (!syncing)
        return;
    syncing = false;
    editPatchCountX->setValue(loweredPartner(y, editPatchCountX->value(), settings->patchCount));
    horizontalSliderY->setValue(y);
    horizontalSliderX->setValue(editPatchCountX->value());
    syncing = true;
}

void PatchCountXYDlg::applyToSettings()
{
    settings->desiredPatchesX = horizontalSliderX->value();
    settings->desiredPatchesY = horizontalSliderY->value();
    settings->optimizeTilePosition = chkOptimizeTilePosition->isChecked();
}

void PatchCountXYDlg::previewSelected()
{
    applyToSettings();
    emit previewTarget();
}

void PatchCountXYDlg::ok()
{
    applyToSettings();
    settings->patchesX = horizontalSliderX->value();
    settings->patchesY = horizontalSliderY->value();
    accept();
}

void PatchCountXYDlg::patchCountUpdated()
{
    horizontalSliderX->setValue(settings->patchesX);
    horizontalSliderY->setValue(settings->patchesY);
}
