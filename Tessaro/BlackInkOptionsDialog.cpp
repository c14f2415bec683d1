// The maximum-ink question for references without a black channel.
#include "BlackInkOptionsDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>

BlackInkOptionsDialog::BlackInkOptionsDialog(int defaultValue_, QWidget *parent)
    : QDialog(parent), defaultValue(defaultValue_)
{
    setObjectName(QStringLiteral("BlackInkOptionsDialog"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(tr("Black ink not found!"));
    resize(409, 170);

    auto *layout = new QGridLayout(this);
    label = new QLabel(tr("The reference file has no black ink!\n\nThe black will be constructed by combining "
                          "all the available inks.\nPlease specify the max percentage of ink you want to use:"),
                       this);
    label->setObjectName(QStringLiteral("label"));
    label_2 = new QLabel(tr("Max ink:"), this);
    label_2->setObjectName(QStringLiteral("label_2"));
    maxInk = new QLineEdit(QString::number(defaultValue), this);
    maxInk->setObjectName(QStringLiteral("maxInk"));
    maxInk->setValidator(new QIntValidator(maxInk));
    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(label_2, 1, 0);
    layout->addWidget(maxInk, 1, 1);
    layout->addWidget(buttonBox, 2, 0, 1, 2);

    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, SIGNAL(accepted()), this, SLOT(ok()));
}

void BlackInkOptionsDialog::ok()
{
    bool isNumber = false;
    const int entered = maxInk->text().toInt(&isNumber, 10);
    m_value = isNumber ? entered : 0;
    if (m_value > 100)
        m_value = defaultValue;
}
