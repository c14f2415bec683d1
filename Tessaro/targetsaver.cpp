// The save flow of a target and its non-interactive question answerer.
#include "targetsaver.h"

#include "FixedText.h"
#include "ReferenceFileData.h"
#include "ReferenceWriter.h"
#include "SuiteEnvironment.h"
#include "TargetSettings.h"
#include "dcswriter.h"
#include "previewbitmap.h"
#include "targetpackage.h"
#include "targetpage.h"
#include "tiffwriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TargetSaver", text);
}

QString saveTitle()
{
    return tr("Save target");
}

// The folder a module path would have had, for messages about folders that could not be
// made.
QString intendedFolder(const SuiteEnvironment &environment, int module, const char *sub)
{
    return QDir::toNativeSeparators(environment.appDataFolder() + QLatin1Char('/') +
                                    SuiteEnvironment::moduleName(module) + QLatin1Char('/') +
                                    QLatin1String(sub));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

TargetSaver::TargetSaver(TargetSettings &settings, ReferenceFileData *reference, TargetPage *page,
                         const SuiteEnvironment &environment, UserInteraction &interaction,
                         QWidget *dialogParent)
    : m_settings(settings),
      m_reference(reference),
      m_page(page),
      m_environment(environment),
      m_interaction(interaction),
      m_parent(dialogParent)
{
}

bool TargetSaver::parseResolution(const QString &text, int *dpi)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < kMinDpi || value > kMaxDpi)
        return false;
    if (dpi)
        *dpi = value;
    return true;
}

TargetSaver::Result TargetSaver::refuse(Result result, const QString &text)
{
    m_interaction.warning(m_parent, saveTitle(), text);
    return result;
}

void TargetSaver::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busyChanged)
        busyChanged(busy);
}

TargetSaver::Result TargetSaver::save(const TargetSaveInputs &inputs)
{
    m_targetsFolder.clear();
    m_definitionPath.clear();
    m_referencePath.clear();
    m_previewPath.clear();
    m_archivePath.clear();
    m_pagePaths.clear();
    m_errors.clear();

    int resolution = 0;
    if (!parseResolution(inputs.dpiText, &resolution))
        return refuse(InvalidDpi, tr("Please enter a valid dpi value between 1 and 5000."));

    const QString name = m_settings.targetName;
    // Every file is named folder + "/" + name + ending; a separator would leave the folder.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return refuse(InvalidName, tr("The target name must not contain \"/\" or \"\\\"."));

    if (!m_reference || !m_page) {
        m_interaction.critical(m_parent, saveTitle(), tr("There is no target to save. Please open a reference file first."));
        return Failed;
    }

    const int module = inputs.docModule ? SuiteEnvironment::eModuleDOC : SuiteEnvironment::eModuleChart;
    m_targetsFolder = m_environment.targetsFolder(module);
    if (m_targetsFolder.isEmpty()) {
        m_errors.append(tr("Cannot create the folder %1.").arg(intendedFolder(m_environment, module, "Targets")));
        return finish();
    }

    m_definitionPath = m_targetsFolder + QLatin1Char('/') + name + QStringLiteral(".xml");
    if (QFileInfo::exists(m_definitionPath)) {
        const QMessageBox::StandardButton answer = m_interaction.question(
            m_parent, QMessageBox::Question, saveTitle(),
            tr("The selected target name already exists. Do you want to overwrite?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return Declined;
    }

    setBusy(true);
    m_settings.resolution = resolution;
    m_settings.comment = inputs.comment;

    const QString extension = inputs.dcs ? QStringLiteral(".eps") : QStringLiteral(".tiff");
    writePages(m_targetsFolder + QLatin1Char('/') + name, inputs.dcs, inputs.sixteenBit);
    writeReference(module);
    writePreview(module);
    writeDefinition();
    writeArchive(extension);
    return finish();
}

void TargetSaver::writePages(const QString &basePath, bool dcs, bool sixteenBit)
{
    const int pages = m_settings.numberOfPages;
    for (int k = 1; k <= pages; ++k)
        m_pagePaths.append(dcs ? DCSWriter::pageFilePath(basePath, k) : TiffWriter::pageFilePath(basePath, k));

    // The writers move the painter through the pages; it goes back to the page it showed.
    const int shownPage = m_page->pageNumber;
    const bool shownPatches = m_page->showPatches;
    auto writeAll = [&](auto &writer) {
        if (!writer.isValid()) {
            m_errors.append(tr("The page files cannot be written: %1").arg(writer.errorString()));
            return;
        }
        for (int k = 1; k <= pages; ++k) {
            if (!writer.writePage(basePath, k))
                m_errors.append(tr("Cannot write page %1 (%2): %3")
                                    .arg(k)
                                    .arg(native(m_pagePaths[k - 1]), writer.errorString()));
        }
    };
    if (dcs) {
        DCSWriter writer(m_page);
        writeAll(writer);
    } else {
        TiffWriter writer(m_page, sixteenBit);
        writeAll(writer);
    }
    m_page->pageNumber = shownPage;
    m_page->showPatches = shownPatches;
    m_page->update();
}

void TargetSaver::writeReference(int module)
{
    const QString name = m_settings.targetName;
    m_settings.referenceFileName = name + QStringLiteral(".ref");
    const QString folder = m_environment.referencesFolder(module);
    if (folder.isEmpty()) {
        m_errors.append(tr("Cannot create the folder %1.").arg(intendedFolder(m_environment, module, "References")));
        return;
    }
    m_referencePath = folder + QLatin1Char('/') + m_settings.referenceFileName;

    ReferenceFileData &ref = *m_reference;
    const auto &clock = m_environment.platform().now;
    const QDateTime now = clock ? clock() : QDateTime::currentDateTime();
    // Latin-1 header texts, cut to their fields.
    CopyFixedText(ref.created, now.toString(Qt::TextDate).toLatin1().constData());
    CopyFixedText(ref.originator,
                  (QStringLiteral("QUORVANE Vantrel ") + QLatin1String(SuiteEnvironment::SuiteVersion)).toLatin1().constData());
    CopyFixedText(ref.descriptor, name.toLatin1().constData());

    ref.saveRGB = m_settings.useRGB;
    ref.saveCMYK = m_settings.useCMYK || m_settings.useNColor;
    ref.saveLab = false;
    ref.saveXYZ = false;
    ref.saveGray = false;
    ref.saveNColor = m_settings.useNColor;
    ref.saveRowLength = m_settings.patchesX;
    ref.hasSampleID = true;
    ref.hasSampleName = true;
    ref.hasLocation = false;
    ref.hasPage = false;
    ref.setSaveOptions(m_settings.rowByRow, m_settings.invertHorizontal, m_settings.invertVertical,
                       m_settings.patchesX, m_settings.patchesY);

    // The file system's own encoding, so the file is found again under its name.
    if (!WriteReferenceFile(ref, nullptr, QFile::encodeName(m_referencePath).constData(), false))
        m_errors.append(tr("Cannot write the reference file %1.").arg(native(m_referencePath)));
}

void TargetSaver::writePreview(int module)
{
    const QString folder = m_environment.previewsFolder(module);
    if (folder.isEmpty()) {
        m_errors.append(tr("Cannot create the folder %1.").arg(intendedFolder(m_environment, module, "Previews")));
        return;
    }
    m_previewPath = folder + QLatin1Char('/') + m_settings.targetName + QStringLiteral(".bmp");
    m_settings.previewFile = m_previewPath;
    if (!savePreviewBitmap(*m_page, m_previewPath))
        m_errors.append(tr("Cannot write the preview bitmap %1.").arg(native(m_previewPath)));
}

void TargetSaver::writeDefinition()
{
    if (!m_settings.writeTargetDefinition(m_definitionPath, m_reference->GetSetCount()))
        m_errors.append(tr("Cannot write the target definition %1.").arg(native(m_definitionPath)));
}

void TargetSaver::writeArchive(const QString &extension)
{
    m_archivePath = m_targetsFolder + QLatin1Char('/') + m_settings.targetName + QStringLiteral(".zip");
    if (!m_errors.isEmpty()) {
        // An archive with missing or stale members would pass for a complete target.
        m_errors.append(tr("The archive %1 was not written, because files of the target are missing.")
                            .arg(native(m_archivePath)));
        return;
    }
    TargetPackage package;
    const QList<PackageEntry> entries = TargetPackage::entriesFor(
        m_settings.targetName, m_referencePath, m_definitionPath, m_pagePaths, extension, m_previewPath);
    if (!package.write(m_archivePath, entries))
        m_errors.append(tr("Cannot write the archive: %1").arg(package.errorString()));
}

TargetSaver::Result TargetSaver::finish()
{
    setBusy(false);
    if (!m_errors.isEmpty()) {
        m_interaction.critical(m_parent, saveTitle(),
                               tr("The target could not be saved completely.\n\n%1").arg(m_errors.join(QLatin1Char('\n'))));
        return Failed;
    }
    MessageRequest request;
    request.icon = QMessageBox::Information;
    request.title = tr("Tessaro");
    request.text = tr("Quorvane target successfully saved.\n");
    request.buttons = QMessageBox::Ok;
    m_interaction.message(m_parent, request);
    m_interaction.openUrl(QUrl::fromLocalFile(m_targetsFolder));
    return Saved;
}

HeadlessUserInteraction::HeadlessUserInteraction(bool overwrite, QIODevice *output)
    : m_overwrite(overwrite), m_output(output)
{
    if (!m_output) {
        m_stdout = std::make_unique<QFile>();
        if (m_stdout->open(stdout, QIODevice::WriteOnly | QIODevice::Text))
            m_output = m_stdout.get();
    }
}

HeadlessUserInteraction::~HeadlessUserInteraction() = default;

void HeadlessUserInteraction::print(const QString &line)
{
    if (!m_output)
        return;
    m_output->write(line.toUtf8());
    m_output->write("\n");
    if (auto *file = qobject_cast<QFile *>(m_output))
        file->flush();
}

int HeadlessUserInteraction::message(QWidget *, const MessageRequest &request)
{
    const bool yesNo = request.buttons.testFlag(QMessageBox::Yes) && request.buttons.testFlag(QMessageBox::No);
    int answer = QMessageBox::NoButton;
    if (yesNo)
        answer = m_overwrite ? QMessageBox::Yes : QMessageBox::No;
    else if (request.buttons.testFlag(QMessageBox::Ok))
        answer = QMessageBox::Ok;
    else if (request.defaultButton != QMessageBox::NoButton)
        answer = request.defaultButton;

    QString line = request.title + QStringLiteral(": ") + request.text.trimmed();
    if (yesNo)
        line += answer == QMessageBox::Yes ? QStringLiteral(" Yes") : QStringLiteral(" No");
    print(line);
    return answer;
}

QString HeadlessUserInteraction::openFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return QString();
}

QString HeadlessUserInteraction::saveFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return QString();
}

QColor HeadlessUserInteraction::color(QWidget *, const QColor &, const QString &)
{
    return QColor();
}

int HeadlessUserInteraction::execDialog(QDialog &dialog)
{
    dialog.reject();
    return QDialog::Rejected;
}

bool HeadlessUserInteraction::openUrl(const QUrl &)
{
    return false;
}
