// Shared pieces of the main window widget tests: colour conversion as the program starts
// it, a suite on empty temporary folders, fixture copies and a window whose every modal
// question a script answers.
#pragma once

#include "ColorUtil.h"
#include "ColorUtilQt.h"
#include "SuiteEnvironment.h"
#include "UserInteraction.h"
#include "tessaro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace mainwindowtest {

// ColorUtil on the embedded output profile.
inline bool initColorUtil()
{
    const QByteArray profile = OutputCMYKProfileBytes();
    return !profile.isEmpty()
           && ColorUtil::Init(reinterpret_cast<const unsigned char *>(profile.constData()),
                              static_cast<std::size_t>(profile.size()));
}

// Documents, program and temp folders below `root`, created empty.
inline bool makePlatform(const QTemporaryDir &root, SuitePlatform &platform)
{
    platform.documentsFolder = root.filePath(QStringLiteral("Documents"));
    platform.applicationFolder = root.filePath(QStringLiteral("Program"));
    platform.tempFolder = root.filePath(QStringLiteral("Temp"));
    for (const QString &folder : {platform.documentsFolder, platform.applicationFolder, platform.tempFolder})
        if (!QDir().mkpath(folder))
            return false;
    return root.isValid();
}

// Copies tests/data/tessaro/<name> to <root>/refs/<as, or name>, owner read-write, and
// returns the copy's path.
inline QString copyFixture(const QTemporaryDir &root, const QString &name, const QString &as = QString())
{
    const QString source = QStringLiteral(VANTREL_TEST_DATA_DIR "/tessaro/") + name;
    const QString target = root.filePath(QStringLiteral("refs/") + (as.isEmpty() ? name : as));
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (!QFile::copy(source, target))
        qFatal("cannot copy fixture %s", qPrintable(source));
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

// A main window on `environment`; `script` answers its questions and dialogs.
inline std::unique_ptr<Tessaro> scriptedWindow(SuiteEnvironment &environment, ScriptedUserInteraction *&script)
{
    auto interaction = std::make_unique<ScriptedUserInteraction>();
    script = interaction.get();
    return std::make_unique<Tessaro>(std::move(interaction), environment);
}

} // namespace mainwindowtest
