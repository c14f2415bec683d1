// Suite folders, suite settings, daily logs and temporary files.
#include "SuiteEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

const char *const SuiteEnvironment::SuiteDisplayName = "Quorvane Vantrel";
const char *const SuiteEnvironment::SuiteVersion = "4.7.19";
const char *const SuiteEnvironment::MakerFolder = "Quorvane/";
const char *const SuiteEnvironment::SuiteFolderDefault = "Vantrel";
const char *const SuiteEnvironment::FolderNameFile = "vantrel.ini";
const char *const SuiteEnvironment::SettingsFileSuffix = ".ini";
const char *const SuiteEnvironment::TempNameStem = "/vttemp";

namespace {

// Longest first line of "vantrel.ini" taken as a folder name.
constexpr qint64 kMaxFolderNameLine = 4096;

struct SettingKey
{
    const char *key;
    QVariant defaultValue; // invalid = no default
};

// Key numbers of the suite settings file; the number is the index.
const SettingKey *settingKeys(int *count)
{
    static const SettingKey keys[] = {
        {"RGB_Profiler/Program", QString()},
        {"CMYK_Profiler/Program", QString()},
        {"Tintora/DensityCorrFactorA", 1.0},
        {"Tintora/Use_Transmission_Contrast_Adaptation", false},
        {"Tintora/ComPort", 0},
        {"WizardMode", QStringLiteral("Easy")},
        {"CurrentMeasureJob", QVariant()},
        {"AppDataPath", QVariant()}, // default computed per run
        {"Tintora/Disable_Binary_File_Generation", QVariant()},
        {"Connect_on_startup", true},
        {"Use_Cloud_Connection", false},
        {"TcpIP/Enable", false},
        {"TcpIP/Port", 9760},
        {"TcpIP/IP", QStringLiteral("169.254.1.1")}, // instrument's link-local address
        {"DemoInstrument", 0},
        {"Options/ShowStatistics", QVariant()},
        {"Options/DeskExplorer", QVariant()},
        {"Options/ScreenshotViewer", QVariant()},
        {"Options/Qualify", QVariant()},
        {"DeskFolders/DateTime", QVariant()},
        {"DeskFolders/TreeViewGeometry", QVariant()},
        {"Options/AutoReportGeneration", true},
        {"Tintora/ConnType", 1},
        {"Tintora/Baudrate", 0},
        {"Language", QString()},
        {"AppDataPathChange", QString()},
        {"AppDataMoveContent", true},
        {"AppDataVersion", QString()},
        {"Instrument/SerialNumber", QString()},
        {"Instrument/ModelName", QString()},
        {"Instrument/ModuleNumber", QString()},
        {"SOAP/Account", QString()},
        {"SOAP/Password", QString()},
        {"SOAP/Url", QString()},
        {"InternetConnection", true},
        {"ShowMeasurementConditionWarnings", 0},
        {"Options/Enable_TransmissionWorkflow", false},
    };
    *count = int(sizeof(keys) / sizeof(keys[0]));
    return keys;
}

QString forwardSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

SuitePlatform SuitePlatform::standard()
{
    SuitePlatform platform;
    platform.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    platform.tempFolder = QDir::tempPath();
    // Without an application object the executable's folder is unknown; the
    // folder-name file is then simply not found.
    if (QCoreApplication::instance())
        platform.applicationFolder = applicationFolderOf(QCoreApplication::applicationDirPath());
    return platform;
}

QString SuitePlatform::applicationFolderOf(const QString &executableFolder)
{
    if (executableFolder.isEmpty())
        return QString();
    return QDir::cleanPath(executableFolder + QStringLiteral("/../../.."));
}

SuiteEnvironment::SuiteEnvironment(SuitePlatform platform)
    : m_platform(std::move(platform))
{
}

const SuiteEnvironment &SuiteEnvironment::standard()
{
    static const SuiteEnvironment environment(SuitePlatform::standard());
    return environment;
}

QDateTime SuiteEnvironment::currentDateTime() const
{
    return m_platform.now ? m_platform.now() : QDateTime::currentDateTime();
}

QString SuiteEnvironment::suiteFolderName() const
{
    if (!m_platform.applicationFolder.isEmpty()) {
        QFile file(m_platform.applicationFolder + QLatin1Char('/') + QLatin1String(FolderNameFile));
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            const QString line = QString::fromUtf8(file.readLine(kMaxFolderNameLine)).trimmed();
            if (!line.isEmpty())
                return line;
        }
    }
    return QString::fromLatin1(SuiteFolderDefault);
}

QString SuiteEnvironment::defaultAppDataFolder() const
{
    if (!m_defaultAppDataFolder) {
        const QString base = forwardSlashes(m_platform.documentsFolder + QLatin1Char('/')
                                            + QLatin1String(MakerFolder));
        m_defaultAppDataFolder = base + suiteFolderName();
    }
    return *m_defaultAppDataFolder;
}

QString SuiteEnvironment::suiteSettingsFile() const
{
    return defaultAppDataFolder() + QLatin1Char('/') + QLatin1String(SuiteDisplayName)
           + QLatin1String(SettingsFileSuffix);
}

QString SuiteEnvironment::suiteSettingKey(int keyNumber)
{
    int count = 0;
    const SettingKey *keys = settingKeys(&count);
    if (keyNumber >= 0 && keyNumber < count)
        return QString::fromLatin1(keys[keyNumber].key);
    return QStringLiteral("UserData");
}

QVariant SuiteEnvironment::suiteSetting(int keyNumber) const
{
    int count = 0;
    const SettingKey *keys = settingKeys(&count);
    QVariant defaultValue;
    if (keyNumber == eSettingAppDataPath)
        defaultValue = defaultAppDataFolder();
    else if (keyNumber >= 0 && keyNumber < count)
        defaultValue = keys[keyNumber].defaultValue;

    const QSettings settings(suiteSettingsFile(), QSettings::IniFormat);
    return settings.value(suiteSettingKey(keyNumber), defaultValue);
}

QString SuiteEnvironment::appDataFolder() const
{
    if (!m_platform.appDataOverride.isEmpty())
        return forwardSlashes(m_platform.appDataOverride);
    const QString path = suiteSetting(eSettingAppDataPath).toString();
    // An empty entry would put every file at the root of the file system.
    if (path.isEmpty())
        return forwardSlashes(defaultAppDataFolder());
    return forwardSlashes(path);
}

QString SuiteEnvironment::moduleName(int module)
{
    switch (module) {
    case eModuleSpot: return QStringLiteral("Spot");
    case eModuleChart: return QStringLiteral("Chart");
    case eModuleDOC: return QStringLiteral("DOC");
    case eModuleQualify: return QStringLiteral("Qualify");
    case eModuleDQC: return QStringLiteral("DQC");
    case eModuleImageQ: return QStringLiteral("ImageQ");
    default: return QString();
    }
}

QString SuiteEnvironment::moduleFolder(int module, const QString &subFolder) const
{
    const QString name = moduleName(module);
    if (name.isEmpty())
        return QString();
    const QString path = appDataFolder() + QLatin1Char('/') + name + QLatin1Char('/') + subFolder;
    if (!QDir().mkpath(path))
        return QString();
    return path;
}

QString SuiteEnvironment::logKindName(int kind)
{
    switch (kind) {
    case eErrorLog: return QStringLiteral("ErrorLog");
    case eMessageLog: return QStringLiteral("MessageLog");
    case eTintoraLog: return QStringLiteral("TintoraLog");
    case eFirmwareUpdateLog: return QStringLiteral("FirwareUpdate");
    default: return QString();
    }
}

QString SuiteEnvironment::logFilePath(int kind, const QDate &day) const
{
    return appDataFolder() + QStringLiteral("/Log/") + day.toString(QStringLiteral("yyyy-MM-dd"))
           + QLatin1Char(' ') + logKindName(kind) + QStringLiteral(".txt");
}

bool SuiteEnvironment::logLine(const QString &text, int kind) const
{
    try {
        const QDateTime now = currentDateTime();
        if (!QDir().mkpath(appDataFolder() + QStringLiteral("/Log")))
            return false;
        QFile file(logFilePath(kind, now.date()));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return false;
        const QString line = now.date().toString(Qt::TextDate) + QLatin1Char(' ')
                             + now.time().toString(Qt::TextDate) + QStringLiteral(" - ") + text
                             + QLatin1Char('\n');
        const QByteArray bytes = line.toUtf8();
        return file.write(bytes) == bytes.size() && file.flush();
    } catch (...) {
        // Logging must never take the program down.
        return false;
    }
}

QString SuiteEnvironment::tempFileName(const QString &suffix) const
{
    // Created exclusively by the template, so no other process can slip a file or
    // link in under the same name between choosing it and opening it.
    const QString folder = m_platform.tempFolder.isEmpty() ? QDir::tempPath() : m_platform.tempFolder;
    QTemporaryFile file(folder + QLatin1String(TempNameStem) + QStringLiteral("XXXXXX") + suffix);
    file.setAutoRemove(false);
    if (!file.open())
        return QString();
    const QString name = file.fileName();
    file.close();
    return name;
}
