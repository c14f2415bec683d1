// Every modal question, message box, file dialog, colour dialog and modal dialog run of
// the application goes through one UserInteraction, so that tests can answer them.
// QtUserInteraction shows the real toolkit dialogs; ScriptedUserInteraction answers from
// queues and records what was asked.
#pragma once

#include <QColor>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>

class QDialog;
class QWidget;

// One message box: its icon, texts and buttons.
struct MessageRequest
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    // Buttons with their own text, after the standard ones (e.g. "Save as").
    QStringList customButtons;
};

class UserInteraction
{
public:
    // Answer value of the custom button i of a MessageRequest.
    static constexpr int CustomButtonBase = 0x10000000;

    virtual ~UserInteraction() = default;

    // Shows the box modally. Returns the standard button clicked, CustomButtonBase + i for
    // custom button i, or QMessageBox::NoButton when the box was closed otherwise.
    virtual int message(QWidget *parent, const MessageRequest &request) = 0;
    // Empty when cancelled.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    // An invalid colour when cancelled.
    virtual QColor color(QWidget *parent, const QColor &initial, const QString &title) = 0;
    // Runs a prepared dialog modally; returns its result code (QDialog::Accepted / Rejected).
    virtual int execDialog(QDialog &dialog) = 0;
    // Opens `url` in the desktop's handler (e.g. a folder in the file browser); true when
    // it was handed on. The base implementation opens nothing.
    virtual bool openUrl(const QUrl &url);

    // Convenience forms of message().
    QMessageBox::StandardButton question(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                         const QString &text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    void warning(QWidget *parent, const QString &title, const QString &text);
    void critical(QWidget *parent, const QString &title, const QString &text);
};

// The toolkit's own dialogs.
class QtUserInteraction : public UserInteraction
{
public:
    int message(QWidget *parent, const MessageRequest &request) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QColor color(QWidget *parent, const QColor &initial, const QString &title) override;
    int execDialog(QDialog &dialog) override;
    bool openUrl(const QUrl &url) override;
};

// Answers from queues filled beforehand and records every request; nothing is shown.
// An empty queue answers "cancelled" (NoButton, empty name, invalid colour, Rejected).
class ScriptedUserInteraction : public UserInteraction
{
public:
    struct FileRequest
    {
        QString caption;
        QString folder;
        QString filter;
    };
    using DialogHandler = std::function<int(QDialog &)>;

    int message(QWidget *parent, const MessageRequest &request) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QColor color(QWidget *parent, const QColor &initial, const QString &title) override;
    int execDialog(QDialog &dialog) override;
    // Records the URL and opens nothing.
    bool openUrl(const QUrl &url) override;

    std::deque<int> messageAnswers;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QColor> colorAnswers;
    std::deque<DialogHandler> dialogHandlers;

    QList<MessageRequest> messages;
    QList<FileRequest> openRequests;
    QList<FileRequest> saveRequests;
    QStringList colorTitles;
    QStringList dialogsRun; // object name, or class name when the dialog has none
    QList<QUrl> openedUrls;
};
