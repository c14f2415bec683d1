// Dialog listing the findings of the last layout validation, one row per
// item with the icon of its kind (error, warning, info).
#pragma once

#include <QDialog>
#include <QIcon>
#include <QList>

class ErrorWarningItem;
class QPushButton;
class QTableWidget;

class WarningsDialog : public QDialog
{
    Q_OBJECT
public:
    WarningsDialog(QWidget *parent, const QList<ErrorWarningItem *> &messages);

    // Icon of a finding kind: the application's artwork when it is compiled
    // in, otherwise the style's message box icon. Kinds other than 0 and 1
    // are infos.
    static QIcon iconForKind(int kind);

private:
    void buildForm();
    void fill(const QList<ErrorWarningItem *> &messages);

    QTableWidget *tableWidget = nullptr;
    QPushButton *okButton = nullptr;
};
