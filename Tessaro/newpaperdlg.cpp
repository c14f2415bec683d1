// New paper dialog.
#include "newpaperdlg.h"

#include "PaperCatalogue.h"
#include "TargetSettings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

NewPaperDlg::NewPaperDlg(TargetSettings *settings, QWidget *parent)
    : QDialog(parent), settings(settings)
{
    buildForm();
    connect(pushButtonOK, SIGNAL(clicked()), this, SLOT(ok()));
}

void NewPaperDlg::buildForm()
{
    setObjectName(QStringLiteral("NewPaper"));
    setWindowTitle(tr("New Paper"));

    auto *grid = new QGridLayout;
    int row = 0;
    auto addSpin = [this, grid, &row](const QString &label, const char *name) {
        grid->addWidget(new QLabel(label, this), row, 0);
        auto *spin = new QSpinBox(this);
        spin->setObjectName(QLatin1String(name));
        spin->setRange(0, 65535); // 65535 mm stays well inside an int of micrometres
        spin->setValue(0);
        spin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        spin->setFixedWidth(70);
        grid->addWidget(spin, row, 1);
        grid->addWidget(new QLabel(tr("mm"), this), row, 2);
        ++row;
        return spin;
    };

    grid->addWidget(new QLabel(tr("Paper name:"), this), row, 0);
    lineEditPaperName = new QLineEdit(this);
    lineEditPaperName->setObjectName(QStringLiteral("lineEditPaperName"));
    grid->addWidget(lineEditPaperName, row, 1, 1, 2);
    ++row;
    editPaperWidth = addSpin(tr("Paper width:"), "editPaperWidth");
    editPaperHeight = addSpin(tr("Paper height:"), "editPaperHeight");
    grid->addWidget(new QLabel(tr("Paper border"), this), row++, 0, 1, 3);
    editPaperBorderLeft = addSpin(tr("           Left:"), "editPaperBorderLeft");
    editPaperBorderRight = addSpin(tr("           Right:"), "editPaperBorderRight");
    editPaperBorderTop = addSpin(tr("           Top:"), "editPaperBorderTop");
    editPaperBorderBottom = addSpin(tr("           Bottom:"), "editPaperBorderBottom");

    pushButtonOK = new QPushButton(tr("OK"), this);
    pushButtonOK->setObjectName(QStringLiteral("pushButtonOK"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pushButtonOK);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(340, 302);
}

void NewPaperDlg::ok()
{
    const QString name = lineEditPaperName->text();
    if (name.isEmpty() || editPaperWidth->value() <= 0 || editPaperHeight->value() <= 0)
        return;
    const PaperSize paper(name, editPaperWidth->value() * 1000, editPaperHeight->value() * 1000,
                          editPaperBorderTop->value() * 1000.0,
                          editPaperBorderBottom->value() * 1000.0,
                          editPaperBorderLeft->value() * 1000.0,
                          editPaperBorderRight->value() * 1000.0, false);
    // A paper already listed is refused without a message; the user may
    // correct the input or close the dialog.
    if (!PaperCatalogue::addPaper(*settings, paper))
        return;
    accept();
}
