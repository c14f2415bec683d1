// Where the suite keeps its files: the application data folder named by the
// suite settings file, its module folders, the daily log files and temporary
// file names.
//
// Glossary: A = application data folder; module = one program area of the suite
// ("Chart", "DOC", ...) with its own folder below A; kind = one of the daily logs.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

// The platform folders and clock the environment depends on; tests put temporary
// folders and a fixed clock here.
struct SuitePlatform
{
    QString documentsFolder;   // the user's documents folder
    QString applicationFolder; // folder that holds the application and "vantrel.ini"
    QString tempFolder;        // the system temporary folder
    std::function<QDateTime()> now; // current local time; empty = system clock
    // When not empty, the application data folder itself, in place of the suite
    // setting "AppDataPath" (a batch run's output folder).
    QString appDataOverride;

    // The platform's standard locations and the system clock.
    static SuitePlatform standard();
    // Folder holding the application for an executable in `executableFolder`: three
    // levels up, which for an application bundle is the folder the bundle lies in.
    static QString applicationFolderOf(const QString &executableFolder);
};

class SuiteEnvironment
{
public:
    enum eModule {
        eModuleSpot = 2,
        eModuleChart = 3,
        eModuleDOC = 4,
        eModuleQualify = 5,
        eModuleDQC = 6,
        eModuleImageQ = 7,
    };

    enum eLogKind {
        eErrorLog = 0,
        eMessageLog = 1,
        eTintoraLog = 2,
        eFirmwareUpdateLog = 3,
    };

    enum eSuiteSetting {
        eSettingAppDataPath = 7,
    };

    static const char *const SuiteDisplayName;   // "Quorvane Vantrel"
    static const char *const SuiteVersion;       // "4.7.19"
    static const char *const MakerFolder;        // "Quorvane/"
    static const char *const SuiteFolderDefault; // "Vantrel"
    static const char *const FolderNameFile;     // "vantrel.ini"
    static const char *const SettingsFileSuffix; // ".ini"
    static const char *const TempNameStem;       // "/vttemp"

    explicit SuiteEnvironment(SuitePlatform platform);

    // The environment of this process, on the standard platform folders.
    static const SuiteEnvironment &standard();

    // Documents folder + "/Quorvane/" + the suite folder name; computed once, then kept.
    QString defaultAppDataFolder() const;
    // Default folder + "/" + "Quorvane Vantrel.ini".
    QString suiteSettingsFile() const;
    // A: the suite setting "AppDataPath" with every "\" turned into "/".
    QString appDataFolder() const;

    // One key of the suite settings file with its default; an invalid value for a
    // missing key without default. The file is read anew on every call.
    QVariant suiteSetting(int keyNumber) const;
    static QString suiteSettingKey(int keyNumber);

    // "Spot", "Chart", "DOC", "Qualify", "DQC", "ImageQ"; empty for other numbers.
    static QString moduleName(int module);
    // A + "/" + module + "/" + subFolder, created with every missing parent.
    // Empty when the module is unknown or the folder cannot be created.
    QString moduleFolder(int module, const QString &subFolder) const;
    QString targetsFolder(int module) const { return moduleFolder(module, QStringLiteral("Targets")); }
    QString referencesFolder(int module) const { return moduleFolder(module, QStringLiteral("References")); }
    QString previewsFolder(int module) const { return moduleFolder(module, QStringLiteral("Previews")); }

    // "ErrorLog", "MessageLog", "TintoraLog", "FirwareUpdate"; empty for other kinds.
    static QString logKindName(int kind);
    // A + "/Log/" + "yyyy-MM-dd" + " " + kind name + ".txt" for the given day.
    QString logFilePath(int kind, const QDate &day) const;
    // Appends "<date> <time> - <text>\n" to today's log of that kind. Callers may
    // ignore the result: logging never interrupts the program.
    bool logLine(const QString &text, int kind = eErrorLog) const;

    // A fresh, exclusively created empty file in the temporary folder, named
    // "vttemp" + a unique part + suffix. The caller owns and removes it.
    // Empty when no file could be created.
    QString tempFileName(const QString &suffix = QString()) const;

    const SuitePlatform &platform() const { return m_platform; }

private:
    QDateTime currentDateTime() const;
    QString suiteFolderName() const;

    SuitePlatform m_platform;
    mutable std::optional<QString> m_defaultAppDataFolder;
};
