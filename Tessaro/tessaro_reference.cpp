// Main window: choosing and loading a reference, the spectral display model, the channel
// colour editing with its preview and update commands, and the Easy / Advanced switch.
#include "tessaro.h"

#include "BlackInkOptionsDialog.h"
#include "ChannelInfoStore.h"
#include "LabToSpectralUtil.h"
#include "UserInteraction.h"
#include "channelscolorpicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSaveFile>
#include <QTextEdit>
#include <QToolButton>

#include <cstdio>

namespace {

const QLatin1String kTempSuffix(".temp");

// Base name of a reference; a ".temp" working copy is named after the file it copies.
QString referenceBaseName(QString path)
{
    if (path.endsWith(kTempSuffix))
        path.chop(kTempSuffix.size());
    return QFileInfo(path).completeBaseName();
}

// `path` with " (2)" before its complete suffix: "a/b.ref" -> "a/b (2).ref".
QString secondName(const QString &path)
{
    const QFileInfo info(path);
    QString name = info.baseName() + QStringLiteral(" (2)");
    if (!info.completeSuffix().isEmpty())
        name += QLatin1Char('.') + info.completeSuffix();
    return info.dir().filePath(name);
}

} // namespace

void Tessaro::selectReferenceFile()
{
    if (hasReference()) {
        const QMessageBox::StandardButton answer = interaction->question(
            this, QMessageBox::Warning, tr("Unsaved changes"),
            tr("If you open a new reference file / Target definition file and have unsaved changes, they will be "
               "lost!\nWould you like to continue and loose all your changed since the last save?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    removeTempReference();

    const QString previousPath = referencePath;
    const QString previousFile = settings.referenceFile;
    const QString previousText = ui.lineEditRefFile->text();

    QString folder = environment.appDataFolder();
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Patterns are separated by blanks: the toolkit's dialog reads "*.ref;*.txt" as one pattern.
    const QString path = interaction->openFileName(
        nullptr, tr("Select reference or target definition file..."), folder,
        tr("Reference files (*.ref *.txt *.cxf);;Target definition (*.pxf);;All files (*.*)"));
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;

    referencePath = path;
    ui.lineEditRefFile->setText(QFileInfo(path).completeBaseName());
    settings.referenceFile = path;
    if (updateReferenceFile(true)) {
        if (reference->extraChannelCount > 0 && !reference->hasChannelInfo)
            modifyColorChannels();
        return;
    }
    referencePath = previousPath;
    settings.referenceFile = previousFile;
    ui.lineEditRefFile->setText(previousText);
}

bool Tessaro::updateReferenceFile(bool resetToDefault)
{
    if (referencePath.isEmpty())
        return false;
    if (!loadReference(resetToDefault))
        return false;
    ui.pageHolder->update();
    applyModeVisibility();
    return true;
}

QString Tessaro::spectralLibraryPath() const
{
    const QString folder = environment.appDataFolder();
    const QString path = folder + QLatin1Char('/') + QString::fromLatin1(LabToSpectralUtil::LibraryFileName());
    if (QFileInfo::exists(path))
        return path;
    // A new user gets the library that ships with the program; a file already there,
    // readable or not, is never replaced.
    QFile shipped(QStringLiteral(":/Spectral/MulticolorReference.txt"));
    if (!QDir().mkpath(folder) || !shipped.open(QIODevice::ReadOnly))
        return path;
    QSaveFile installed(path);
    if (installed.open(QIODevice::WriteOnly)) {
        installed.write(shipped.readAll());
        installed.commit();
    }
    return path;
}

bool Tessaro::initSpectralModel(ReferenceFileData &data)
{
    const QByteArray path = QFile::encodeName(spectralLibraryPath());
    if (data.InitSpectralModel(path.toStdString()))
        return true;
    interaction->warning(this, QString::fromLatin1(SuiteEnvironment::SuiteDisplayName),
                         QCoreApplication::translate("LabToSpectralUtil", "Unable to load the ") +
                             QString::fromLatin1(LabToSpectralUtil::LibraryFileName()) +
                             QCoreApplication::translate("LabToSpectralUtil", " file"));
    return false;
}

bool Tessaro::loadReference(bool resetToDefault)
{
    auto data = std::make_unique<ReferenceFileData>(ReferenceFlavour::Application);
    // The file system's own encoding, so paths outside Latin-1 open as well.
    const QByteArray path = QFile::encodeName(QFileInfo(settings.referenceFile).absoluteFilePath());
    if (!data->loadReferenceFileData(nullptr, path.constData(), ui.chbReadVertical->isChecked())) {
        interaction->critical(this, tr("Reference file error"), tr("Failed to load reference file.\nWrong file format."));
        return false;
    }
    const bool nColor = data->extraChannelCount > 0;
    if (!data->isRGB && !data->isCMYK && !nColor) {
        interaction->critical(this, tr("Reference file error"),
                              tr("The selected reference file contains no RGB, CMYK or N-color values."));
        return false;
    }
    if (nColor || data->isCMYK)
        initSpectralModel(*data);

    if (resetToDefault) {
        onResetToDefault(false);
        if (!data->isRGB && data->GetBlackChannel() == -1) {
            BlackInkOptionsDialog dialog(80, this);
            if (interaction->execDialog(dialog) != QDialog::Accepted)
                return false;
            data->blackInkPercent = dialog.value();
        }
    }

    reference = std::move(data);

    ui.lineEditTargetName->setText(referenceBaseName(settings.referenceFile));
    // The target is named as the edit shows it (the edit holds at most 20 characters).
    settings.targetName = ui.lineEditTargetName->text();

    if (nColor && !reference->isCMYK) {
        togglePS();
        ui.radioButtonTiff->setEnabled(false);
    } else {
        ui.radioButtonTiff->setEnabled(true);
    }
    ui.modifyButton->setVisible(nColor);
    reference->RandomizeData(settings.random);

    settings.useRGB = reference->isRGB;
    settings.useCMYK = reference->isCMYK && !nColor;
    settings.useNColor = nColor;

    QString colorSpace;
    if (reference->isRGB)
        colorSpace = QStringLiteral("RGB");
    else if (nColor)
        colorSpace = (reference->isCMYK ? QStringLiteral("CMYK + ") : QString()) + QStringLiteral("NColor: ") +
                     QString::number(reference->extraChannelCount);
    else if (reference->isCMYK)
        colorSpace = QStringLiteral("CMYK");
    else
        colorSpace = tr("none");
    ui.labelColorSpaveValue->setText(colorSpace);

    const int count = reference->GetSetCount();
    ui.labelPatchesValue->setText(QString::number(count));
    settings.patchCount = count;
    ui.commentTextEdit->clear();

    runLayout(0);
    ui.pushButtonSaveTarget->setEnabled(true);
    updateValueLabels();
    ui.pageHolder->update();
    return true;
}

void Tessaro::modifyColorChannels()
{
    if (!reference)
        return;
    const std::vector<std::string> names = reference->GetColorantNames();
    if (names.empty())
        return;
    if (!channelsPicker) {
        channelsPicker = new ChannelsColorPicker(this, interaction.get());
        connect(channelsPicker, SIGNAL(UpdateReferenceWithChannels()), this, SLOT(updateRefereceWithChannels()));
        connect(channelsPicker, SIGNAL(PreviewReferenceWithChannels()), this, SLOT(previewRefereceWithChannels()));
    } else {
        channelsPicker->reset();
    }
    QStringList channelNames;
    QList<bool> processInks;
    for (const std::string &name : names) {
        channelNames.append(QString::fromStdString(name));
        processInks.append(reference->isCMYK &&
                           (name == "Cyan" || name == "Magenta" || name == "Yellow" || name == "Black"));
    }
    channelsPicker->setChannels(channelNames, processInks);
    channelsPicker->setChannelLabs(reference->colorantLab);
    channelsPicker->prepareRows();
    interaction->execDialog(*channelsPicker);
}

void Tessaro::previewRefereceWithChannels()
{
    if (!channelsPicker)
        return;
    const QStringList entries = channelsPicker->channelInfo();
    if (entries.isEmpty() || !QFileInfo::exists(referencePath))
        return;
    std::vector<std::string> lines;
    for (const QString &entry : entries)
        lines.push_back(entry.toStdString());
    if (!StoreChannelInfo(QFile::encodeName(referencePath).constData(), lines))
        return;

    const QString stored = referencePath + kTempSuffix;
    if (referencePath.endsWith(kTempSuffix)) {
        // A preview is showing: the new copy takes the place of the old one.
        if (std::rename(QFile::encodeName(stored).constData(), QFile::encodeName(referencePath).constData()) != 0)
            return;
    } else {
        referencePath = stored;
    }
    settings.referenceFile = referencePath;
    updateReferenceFile(false);
    QFile::remove(referencePath + kTempSuffix);
}

void Tessaro::updateRefereceWithChannels()
{
    if (!channelsPicker)
        return;
    if (referencePath.endsWith(kTempSuffix)) {
        QFile::remove(referencePath);
        referencePath.chop(kTempSuffix.size());
        settings.referenceFile = referencePath;
    }

    MessageRequest request;
    request.icon = QMessageBox::Question;
    request.title = QString::fromLatin1(SuiteEnvironment::SuiteDisplayName);
    request.text = tr("Do you want to overwrite the reference file to add your modifications?");
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    request.defaultButton = QMessageBox::Yes;
    request.customButtons = {tr("Save as")};
    const int answer = interaction->message(this, request);

    const QStringList entries = channelsPicker->channelInfo();
    const QString tempPath = referencePath + kTempSuffix;
    bool stored = false;
    if (QFileInfo::exists(referencePath) && !entries.isEmpty()) {
        std::vector<std::string> lines;
        for (const QString &entry : entries)
            lines.push_back(entry.toStdString());
        stored = StoreChannelInfo(QFile::encodeName(referencePath).constData(), lines);
    }

    if (stored && answer == QMessageBox::Yes) {
        // One atomic replace: the reference is never removed before its successor is in place.
        if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(referencePath).constData()) != 0)
            QFile::remove(tempPath);
    } else if (stored && answer == QMessageBox::No) {
        referencePath = tempPath;
    } else if (stored) {
        const QString target = interaction->saveFileName(this, tr("Save reference file"),
                                                         QFileInfo(referencePath).absolutePath(),
                                                         tr("All files(*.*)"));
        QString moved;
        if (!target.isEmpty()) {
            if (QFile::rename(tempPath, target))
                moved = target;
            else if (QFile::rename(tempPath, secondName(target)))
                moved = secondName(target);
        }
        // Without a new name the edits stay in the working copy rather than being lost.
        referencePath = moved.isEmpty() ? tempPath : moved;
        if (!moved.isEmpty())
            ui.lineEditRefFile->setText(QFileInfo(moved).completeBaseName());
    }
    settings.referenceFile = referencePath;
    updateReferenceFile(false);
}

void Tessaro::toggleMode()
{
    if (ui.radioButtonEasy->isChecked()) {
        const QMessageBox::StandardButton answer = interaction->question(
            this, QMessageBox::Warning, tr("Unsaved changes"),
            tr("If you switch from Advanced to Easy mode, the Custom settings will be lost!\nWould you like to "
               "continue and loose all these changes?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            // Back to the mode the window is in.
            (easyMode ? ui.radioButtonEasy : ui.radioButtonAdvanced)->setChecked(true);
            return;
        }
        easyMode = true;
    } else if (ui.radioButtonAdvanced->isChecked()) {
        easyMode = false;
    }
    settings.advancedMode = !easyMode;
    applyModeVisibility();
    if (easyMode)
        deviceSelected(ui.comboBoxDeviceSelection->currentIndex());
}

void Tessaro::idFromRefFileSelected()
{
    settings.useReferenceID = ui.checkBoxIdFromRefFile->isChecked();
    relabelPatches();
    refresh();
}

void Tessaro::nameFromRefFileSelected()
{
    settings.useReferenceName = ui.checkBoxNameFromRefFile->isChecked();
    relabelPatches();
    refresh();
}

void Tessaro::addVerificationPatches()
{
    settings.verificationPatches = ui.checkBoxAddVerificationPatches->isChecked();
    previewTarget();
}

void Tessaro::randomSelected()
{
    settings.random = ui.checkBoxRandom->isChecked();
    if (reference) {
        reference->RandomizeData(settings.random);
        handReferenceToPainter();
    }
    refresh();
}
