// Warnings and errors dialog.
#include "warningsdialog.h"

#include "ErrorWarningItem.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

WarningsDialog::WarningsDialog(QWidget *parent, const QList<ErrorWarningItem *> &messages)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint)
{
    buildForm();
    fill(messages);
}

QIcon WarningsDialog::iconForKind(int kind)
{
    QString artwork;
    QStyle::StandardPixmap fallback;
    switch (kind) {
    case 0:
        artwork = QStringLiteral(":/Buttons/Resources/Images/error.png");
        fallback = QStyle::SP_MessageBoxCritical;
        break;
    case 1:
        artwork = QStringLiteral(":/Buttons/Resources/Images/warning.png");
        fallback = QStyle::SP_MessageBoxWarning;
        break;
    default:
        artwork = QStringLiteral(":/Buttons/Resources/Images/info.png");
        fallback = QStyle::SP_MessageBoxInformation;
        break;
    }
    if (QFile::exists(artwork))
        return QIcon(artwork);
    return QApplication::style()->standardIcon(fallback);
}

void WarningsDialog::buildForm()
{
    setWindowTitle(tr("Warnings and errors"));
    resize(481, 363);

    tableWidget = new QTableWidget(0, 2, this);
    tableWidget->setObjectName(QStringLiteral("tableWidget"));
    tableWidget->setHorizontalHeaderLabels({tr("Title"), tr("Description")});
    tableWidget->verticalHeader()->setVisible(false);
    tableWidget->horizontalHeader()->setStretchLastSection(true);

    okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    connect(okButton, SIGNAL(clicked()), this, SLOT(accept()));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tableWidget);
    layout->addLayout(buttons);
}

void WarningsDialog::fill(const QList<ErrorWarningItem *> &messages)
{
    int row = 0;
    for (const ErrorWarningItem *item : messages) {
        if (!item)
            continue;
        tableWidget->insertRow(row);
        auto *title = new QTableWidgetItem(iconForKind(item->kind()), item->title());
        title->setFlags(title->flags() & ~Qt::ItemIsEditable);
        tableWidget->setItem(row, 0, title);
        auto *description = new QTableWidgetItem(item->description());
        description->setFlags(description->flags() & ~Qt::ItemIsEditable);
        tableWidget->setItem(row, 1, description);
        ++row;
    }
    tableWidget->resizeColumnToContents(0);
}
