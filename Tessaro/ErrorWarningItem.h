// One finding of the layout validation: its kind (error, warning, info), a title and a
// description, as listed by the warnings dialog and counted in the main window's top bar.
#pragma once

#include <QObject>
#include <QString>

class ErrorWarningItem : public QObject
{
    Q_OBJECT
public:
    enum eKind {
        eError = 0,
        eWarning = 1,
        eInfo = 2,
    };

    ErrorWarningItem(int kind, const QString &title, const QString &description);

    int kind() const { return m_kind; }
    QString title() const { return m_title; }
    QString description() const { return m_description; }

private:
    int m_kind;
    QString m_title;
    QString m_description;
};
