// TargetSaver: the whole save flow of a target, without widgets of its own, so that the
// main window and a batch run share it. It checks the resolution, asks before replacing a
// saved target, writes the page files, the reference in printed order, the preview bitmap
// and the XML target definition, packs them into the target archive and reports the
// outcome through a UserInteraction.
//
// HeadlessUserInteraction answers the flow's questions without a desktop: the overwrite
// question from a flag, every message printed as a line of text.
//
// Glossary: module folder = "Chart" (chart measurement) or "DOC" (digital output control)
// below the application data folder, each with "Targets", "References" and "Previews".
#pragma once

#include "UserInteraction.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QFile;
class QIODevice;
class QWidget;
class ReferenceFileData;
class SuiteEnvironment;
class TargetPage;
class TargetSettings;

// The save inputs of the form.
struct TargetSaveInputs
{
    QString dpiText;         // resolution box, decimal dpi
    bool docModule = false;  // "Digital Output Control" chosen, else "Chart Measurement"
    bool dcs = false;        // DCS (*.eps) pages, else TIFF
    bool sixteenBit = false; // 16-bit TIFF samples (ignored for DCS)
    QString comment;         // plain text of the comment box
};

class TargetSaver
{
public:
    enum Result {
        Saved,      // every file and the archive written
        InvalidDpi, // refused: the resolution is not a number in 1..5000
        InvalidName,// refused: the target name would leave the target folders
        Declined,   // the user did not confirm overwriting an existing target
        Failed,     // something could not be written; errors() tells what
    };

    static constexpr int kMinDpi = 1;
    static constexpr int kMaxDpi = 5000;

    // None of the objects is owned; all must outlive the saver. `page` shows `reference`'s
    // placed sets and has a size (the preview bitmap is rendered from it, shown or not);
    // `dialogParent` only parents the boxes.
    TargetSaver(TargetSettings &settings, ReferenceFileData *reference, TargetPage *page,
                const SuiteEnvironment &environment, UserInteraction &interaction,
                QWidget *dialogParent = nullptr);

    // Called with true once the user has confirmed and writing starts, with false when
    // writing is over (before the final box): the window shows its wait cursor in between.
    std::function<void(bool busy)> busyChanged;

    // Runs the flow. Files written before a failure are kept; the archive appears only
    // when it and every file in it were written completely.
    Result save(const TargetSaveInputs &inputs);

    // The resolution in dots per inch when `text` is a decimal integer in 1..5000.
    static bool parseResolution(const QString &text, int *dpi);

    // Paths of the last save (empty until known).
    QString targetsFolder() const { return m_targetsFolder; }
    QString definitionPath() const { return m_definitionPath; }
    QString referencePath() const { return m_referencePath; }
    QString previewPath() const { return m_previewPath; }
    QString archivePath() const { return m_archivePath; }
    QStringList pagePaths() const { return m_pagePaths; }
    // What could not be written, one line each.
    QStringList errors() const { return m_errors; }

private:
    Result refuse(Result result, const QString &text);
    void setBusy(bool busy);
    void writePages(const QString &basePath, bool dcs, bool sixteenBit);
    void writeReference(int module);
    void writePreview(int module);
    void writeDefinition();
    void writeArchive(const QString &extension);
    Result finish();

    TargetSettings &m_settings;
    ReferenceFileData *m_reference;
    TargetPage *m_page;
    const SuiteEnvironment &m_environment;
    UserInteraction &m_interaction;
    QWidget *m_parent;

    QString m_targetsFolder;
    QString m_definitionPath;
    QString m_referencePath;
    QString m_previewPath;
    QString m_archivePath;
    QStringList m_pagePaths;
    QStringList m_errors;
    bool m_busy = false;
};

// Non-interactive answers for batch runs: the overwrite question (any Yes/No question)
// is answered from `overwrite`, every other box is acknowledged with its Ok (or default)
// button. Each box is printed as one line "title: text" to `output` (standard output when
// null). File, colour and modal dialogs are cancelled; no URL is opened.
class HeadlessUserInteraction : public UserInteraction
{
public:
    explicit HeadlessUserInteraction(bool overwrite, QIODevice *output = nullptr);
    ~HeadlessUserInteraction() override;

    int message(QWidget *parent, const MessageRequest &request) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override;
    QColor color(QWidget *parent, const QColor &initial, const QString &title) override;
    int execDialog(QDialog &dialog) override;
    bool openUrl(const QUrl &url) override;

private:
    void print(const QString &line);

    bool m_overwrite;
    QIODevice *m_output;
    std::unique_ptr<QFile> m_stdout;
};
