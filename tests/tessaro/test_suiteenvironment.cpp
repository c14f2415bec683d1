// The suite environment: application data folder with and without "vantrel.ini"
// and the suite settings file, suite setting defaults, module folders, the daily
// log and temporary files.
#include "SuiteEnvironment.h"
#include "UserSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

class SuiteEnvironmentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_docs = m_dir.path() + QStringLiteral("/Documents");
        m_app = m_dir.path() + QStringLiteral("/Programs");
        m_tmp = m_dir.path() + QStringLiteral("/tmp");
        ASSERT_TRUE(QDir().mkpath(m_docs));
        ASSERT_TRUE(QDir().mkpath(m_app));
        ASSERT_TRUE(QDir().mkpath(m_tmp));
    }

    SuitePlatform platform() const
    {
        SuitePlatform p;
        p.documentsFolder = m_docs;
        p.applicationFolder = m_app;
        p.tempFolder = m_tmp;
        p.now = [this] { return m_now; };
        return p;
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_docs, m_app, m_tmp;
    QDateTime m_now{QDate(2024, 3, 5), QTime(14, 7, 9)};
};

TEST_F(SuiteEnvironmentTest, WithoutAnyFileTheDataLivesInDocumentsQuorvaneVantrel)
{
    const SuiteEnvironment env(platform());
    const QString expected = m_docs + QStringLiteral("/Quorvane/Vantrel");
    EXPECT_EQ(env.defaultAppDataFolder(), expected);
    EXPECT_EQ(env.appDataFolder(), expected);
    EXPECT_EQ(env.suiteSettingsFile(), expected + QStringLiteral("/Quorvane Vantrel.ini"));
    EXPECT_EQ(UserSettingsFile::filePath(env), expected + QStringLiteral("/TessaroDefaultValues.txt"));
}

TEST_F(SuiteEnvironmentTest, FolderNameFileNamesTheSuiteFolder)
{
    struct Case { const char *what; QByteArray content; const char *folder; };
    const Case cases[] = {
        {"plain line", "Vantrel Test\n", "Vantrel Test"},
        {"CRLF and second line", "Vantrel Test\r\nignored\n", "Vantrel Test"},
        {"no line end", "Other", "Other"},
        {"empty first line", "\nNotThis\n", "Vantrel"},
        {"empty file", "", "Vantrel"},
    };
    for (const Case &c : cases) {
        writeFile(m_app + QStringLiteral("/vantrel.ini"), c.content);
        const SuiteEnvironment env(platform());
        EXPECT_EQ(env.appDataFolder(), m_docs + QStringLiteral("/Quorvane/") + QString::fromUtf8(c.folder))
            << c.what;
    }
}

TEST_F(SuiteEnvironmentTest, UnreadableFolderNameFileGivesVantrel)
{
    ASSERT_TRUE(QDir().mkpath(m_app + QStringLiteral("/vantrel.ini")));
    const SuiteEnvironment env(platform());
    EXPECT_EQ(env.appDataFolder(), m_docs + QStringLiteral("/Quorvane/Vantrel"));
}

TEST_F(SuiteEnvironmentTest, DefaultFolderIsComputedOnceAndKept)
{
    writeFile(m_app + QStringLiteral("/vantrel.ini"), "First\n");
    const SuiteEnvironment env(platform());
    EXPECT_EQ(env.defaultAppDataFolder(), m_docs + QStringLiteral("/Quorvane/First"));
    writeFile(m_app + QStringLiteral("/vantrel.ini"), "Second\n");
    EXPECT_EQ(env.defaultAppDataFolder(), m_docs + QStringLiteral("/Quorvane/First"));
}

TEST_F(SuiteEnvironmentTest, BackslashesOfTheDocumentsFolderBecomeSlashes)
{
    SuitePlatform p = platform();
    p.documentsFolder = QStringLiteral("C:\\Users\\op\\Documents");
    const SuiteEnvironment env(p);
    EXPECT_EQ(env.defaultAppDataFolder(), QStringLiteral("C:/Users/op/Documents/Quorvane/Vantrel"));
}

TEST_F(SuiteEnvironmentTest, AppDataPathOfTheSuiteSettingsFileWins)
{
    const SuiteEnvironment env(platform());
    const QString target = m_dir.path() + QStringLiteral("/Elsewhere/Data");
    {
        QSettings ini(env.suiteSettingsFile(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("AppDataPath"), target);
    }
    EXPECT_EQ(env.appDataFolder(), target);
    EXPECT_EQ(UserSettingsFile::filePath(env), target + QStringLiteral("/TessaroDefaultValues.txt"));
}

TEST_F(SuiteEnvironmentTest, AppDataPathWithBackslashesIsUsedWithSlashes)
{
    const SuiteEnvironment env(platform());
    {
        QSettings ini(env.suiteSettingsFile(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("AppDataPath"), QStringLiteral("D:\\Shared\\Vantrel Data"));
    }
    EXPECT_EQ(env.appDataFolder(), QStringLiteral("D:/Shared/Vantrel Data"));

    // The same entry written by hand, with the ini format's escaped backslashes.
    writeFile(env.suiteSettingsFile(), "[General]\nAppDataPath=E:\\\\Suite\\\\Data\n");
    EXPECT_EQ(env.appDataFolder(), QStringLiteral("E:/Suite/Data"));
}

TEST_F(SuiteEnvironmentTest, EmptyAppDataPathFallsBackToTheDefault)
{
    const SuiteEnvironment env(platform());
    writeFile(env.suiteSettingsFile(), "[General]\nAppDataPath=\n");
    EXPECT_EQ(env.appDataFolder(), m_docs + QStringLiteral("/Quorvane/Vantrel"));
}

TEST_F(SuiteEnvironmentTest, SuiteSettingsAreReadAnewWithTheirDefaults)
{
    const SuiteEnvironment env(platform());
    EXPECT_EQ(env.suiteSetting(2).toDouble(), 1.0);
    EXPECT_EQ(env.suiteSetting(5).toString(), QStringLiteral("Easy"));
    EXPECT_FALSE(env.suiteSetting(6).isValid()) << "no default";
    EXPECT_TRUE(env.suiteSetting(9).toBool());
    EXPECT_EQ(env.suiteSetting(12).toInt(), 9760);
    EXPECT_EQ(env.suiteSetting(22).toInt(), 1);
    EXPECT_FALSE(env.suiteSetting(99).isValid());
    EXPECT_EQ(env.suiteSetting(7).toString(), env.defaultAppDataFolder());

    writeFile(env.suiteSettingsFile(), "[General]\nWizardMode=Expert\n[TcpIP]\nPort=1234\n");
    EXPECT_EQ(env.suiteSetting(5).toString(), QStringLiteral("Expert"));
    EXPECT_EQ(env.suiteSetting(12).toInt(), 1234);
}

TEST_F(SuiteEnvironmentTest, SuiteSettingKeys)
{
    const std::pair<int, const char *> cases[] = {
        {0, "RGB_Profiler/Program"}, {7, "AppDataPath"}, {12, "TcpIP/Port"},
        {36, "Options/Enable_TransmissionWorkflow"}, {37, "UserData"}, {-1, "UserData"},
    };
    for (const auto &[number, key] : cases)
        EXPECT_EQ(SuiteEnvironment::suiteSettingKey(number).toStdString(), key) << number;
}

TEST_F(SuiteEnvironmentTest, ModuleFoldersAreCreatedBelowTheDataFolder)
{
    const SuiteEnvironment env(platform());
    const QString a = env.appDataFolder();
    EXPECT_EQ(env.targetsFolder(SuiteEnvironment::eModuleChart), a + QStringLiteral("/Chart/Targets"));
    EXPECT_EQ(env.referencesFolder(SuiteEnvironment::eModuleDOC), a + QStringLiteral("/DOC/References"));
    EXPECT_EQ(env.previewsFolder(SuiteEnvironment::eModuleChart), a + QStringLiteral("/Chart/Previews"));
    for (const char *sub : {"/Chart/Targets", "/DOC/References", "/Chart/Previews"})
        EXPECT_TRUE(QFileInfo(a + QString::fromLatin1(sub)).isDir()) << sub;
    EXPECT_TRUE(env.targetsFolder(1).isEmpty());
    EXPECT_TRUE(env.targetsFolder(8).isEmpty());
}

TEST_F(SuiteEnvironmentTest, ModuleFolderThatCannotBeCreatedGivesEmptyPath)
{
    const SuiteEnvironment env(platform());
    writeFile(env.appDataFolder() + QStringLiteral("/DOC"), "a file, not a folder");
    EXPECT_TRUE(env.targetsFolder(SuiteEnvironment::eModuleDOC).isEmpty());
}

TEST_F(SuiteEnvironmentTest, ModuleAndLogKindNames)
{
    const std::pair<int, const char *> modules[] = {
        {2, "Spot"}, {3, "Chart"}, {4, "DOC"}, {5, "Qualify"}, {6, "DQC"}, {7, "ImageQ"}, {1, ""}, {8, ""},
    };
    for (const auto &[number, name] : modules)
        EXPECT_EQ(SuiteEnvironment::moduleName(number).toStdString(), name) << number;
    const std::pair<int, const char *> kinds[] = {
        {0, "ErrorLog"}, {1, "MessageLog"}, {2, "TintoraLog"}, {3, "FirwareUpdate"}, {4, ""}, {-1, ""},
    };
    for (const auto &[kind, name] : kinds)
        EXPECT_EQ(SuiteEnvironment::logKindName(kind).toStdString(), name) << kind;
}

TEST_F(SuiteEnvironmentTest, LogLinesGoToTheDailyFileOfTheirKind)
{
    const SuiteEnvironment env(platform());
    const QString logFolder = env.appDataFolder() + QStringLiteral("/Log");
    EXPECT_FALSE(QDir(logFolder).exists());

    ASSERT_TRUE(env.logLine(QStringLiteral("[Tessaro] Error: Cannot read user settings")));
    m_now = QDateTime(QDate(2024, 3, 5), QTime(23, 59, 59));
    ASSERT_TRUE(env.logLine(QStringLiteral("second"), SuiteEnvironment::eErrorLog));
    m_now = QDateTime(QDate(2024, 3, 6), QTime(0, 0, 1));
    ASSERT_TRUE(env.logLine(QStringLiteral("next day")));
    ASSERT_TRUE(env.logLine(QStringLiteral("message"), SuiteEnvironment::eMessageLog));

    EXPECT_EQ(readFile(logFolder + QStringLiteral("/2024-03-05 ErrorLog.txt")).toStdString(),
              "Tue Mar 5 2024 14:07:09 - [Tessaro] Error: Cannot read user settings\n"
              "Tue Mar 5 2024 23:59:59 - second\n");
    EXPECT_EQ(readFile(logFolder + QStringLiteral("/2024-03-06 ErrorLog.txt")).toStdString(),
              "Wed Mar 6 2024 00:00:01 - next day\n");
    EXPECT_EQ(readFile(logFolder + QStringLiteral("/2024-03-06 MessageLog.txt")).toStdString(),
              "Wed Mar 6 2024 00:00:01 - message\n");
    EXPECT_EQ(env.logFilePath(SuiteEnvironment::eTintoraLog, QDate(2025, 12, 31)),
              env.appDataFolder() + QStringLiteral("/Log/2025-12-31 TintoraLog.txt"));
}

TEST_F(SuiteEnvironmentTest, LoggingFailureIsQuiet)
{
    const SuiteEnvironment env(platform());
    writeFile(env.appDataFolder(), "a file where the data folder should be");
    EXPECT_FALSE(env.logLine(QStringLiteral("lost")));
}

TEST_F(SuiteEnvironmentTest, TempFileNamesAreFreshExclusiveFiles)
{
    const SuiteEnvironment env(platform());
    std::set<QString> names;
    for (int i = 0; i < 50; ++i) {
        const QString name = env.tempFileName(i % 2 ? QString::number(i) : QString());
        ASSERT_FALSE(name.isEmpty());
        const QFileInfo info(name);
        EXPECT_EQ(info.path(), m_tmp);
        EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("vttemp"))) << name.toStdString();
        if (i % 2) {
            EXPECT_TRUE(info.fileName().endsWith(QString::number(i))) << name.toStdString();
        }
        EXPECT_TRUE(info.isFile());
        EXPECT_EQ(info.size(), 0);
        EXPECT_TRUE(names.insert(name).second) << "drawn twice: " << name.toStdString();
    }
}

TEST_F(SuiteEnvironmentTest, TempFileNameFailsWhenTheFolderIsMissing)
{
    SuitePlatform p = platform();
    p.tempFolder = m_dir.path() + QStringLiteral("/no/such/folder");
    const SuiteEnvironment env(p);
    EXPECT_TRUE(env.tempFileName(QStringLiteral("0")).isEmpty());
}

TEST(SuitePlatform, ApplicationFolderIsThreeLevelsAboveTheExecutable)
{
    EXPECT_EQ(SuitePlatform::applicationFolderOf(QStringLiteral("/Apps/Tessaro.app/Contents/MacOS")),
              QStringLiteral("/Apps"));
    EXPECT_EQ(SuitePlatform::applicationFolderOf(QStringLiteral("/opt/quorvane/vantrel/tessaro/bin")),
              QStringLiteral("/opt/quorvane"));
    EXPECT_TRUE(SuitePlatform::applicationFolderOf(QString()).isEmpty());
}

TEST(SuitePlatform, StandardLocationsWithoutApplicationObject)
{
    const SuitePlatform p = SuitePlatform::standard();
    EXPECT_FALSE(p.documentsFolder.isEmpty());
    EXPECT_EQ(p.tempFolder, QDir::tempPath());
    EXPECT_TRUE(p.applicationFolder.isEmpty());
    EXPECT_EQ(QString::fromLatin1(SuiteEnvironment::SuiteVersion), QStringLiteral("4.7.19"));
}

} // namespace
