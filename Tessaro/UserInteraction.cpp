// The toolkit and the scripted implementations of UserInteraction.
#include "UserInteraction.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QPushButton>

QMessageBox::StandardButton UserInteraction::question(QWidget *parent, QMessageBox::Icon icon,
                                                      const QString &title, const QString &text,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    MessageRequest request;
    request.icon = icon;
    request.title = title;
    request.text = text;
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    const int answer = message(parent, request);
    if (answer >= CustomButtonBase)
        return QMessageBox::NoButton;
    return static_cast<QMessageBox::StandardButton>(answer);
}

void UserInteraction::warning(QWidget *parent, const QString &title, const QString &text)
{
    MessageRequest request;
    request.icon = QMessageBox::Warning;
    request.title = title;
    request.text = text;
    message(parent, request);
}

void UserInteraction::critical(QWidget *parent, const QString &title, const QString &text)
{
    MessageRequest request;
    request.icon = QMessageBox::Critical;
    request.title = title;
    request.text = text;
    message(parent, request);
}

bool UserInteraction::openUrl(const QUrl &)
{
    return false;
}

int QtUserInteraction::message(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    QList<QPushButton *> custom;
    for (const QString &text : request.customButtons)
        custom.append(box.addButton(text, QMessageBox::ActionRole));
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    const int index = custom.indexOf(qobject_cast<QPushButton *>(clicked));
    if (clicked && index >= 0)
        return CustomButtonBase + index;
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

QString QtUserInteraction::openFileName(QWidget *parent, const QString &caption, const QString &folder,
                                        const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtUserInteraction::saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                                        const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QColor QtUserInteraction::color(QWidget *parent, const QColor &initial, const QString &title)
{
    return QColorDialog::getColor(initial, parent, title);
}

int QtUserInteraction::execDialog(QDialog &dialog)
{
    return dialog.exec();
}

bool QtUserInteraction::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

int ScriptedUserInteraction::message(QWidget *, const MessageRequest &request)
{
    messages.append(request);
    if (messageAnswers.empty())
        return QMessageBox::NoButton;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

QString ScriptedUserInteraction::openFileName(QWidget *, const QString &caption, const QString &folder,
                                              const QString &filter)
{
    openRequests.append({caption, folder, filter});
    if (openAnswers.empty())
        return QString();
    const QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString ScriptedUserInteraction::saveFileName(QWidget *, const QString &caption, const QString &folder,
                                              const QString &filter)
{
    saveRequests.append({caption, folder, filter});
    if (saveAnswers.empty())
        return QString();
    const QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

QColor ScriptedUserInteraction::color(QWidget *, const QColor &, const QString &title)
{
    colorTitles.append(title);
    if (colorAnswers.empty())
        return QColor();
    const QColor answer = colorAnswers.front();
    colorAnswers.pop_front();
    return answer;
}

int ScriptedUserInteraction::execDialog(QDialog &dialog)
{
    dialogsRun.append(dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                                    : dialog.objectName());
    if (dialogHandlers.empty()) {
        dialog.reject();
        return QDialog::Rejected;
    }
    DialogHandler handler = std::move(dialogHandlers.front());
    dialogHandlers.pop_front();
    return handler(dialog);
}

bool ScriptedUserInteraction::openUrl(const QUrl &url)
{
    openedUrls.append(url);
    return true;
}
