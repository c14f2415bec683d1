// Widget tests of the main window: defaults, reference loading and its failures, the
// black-ink and channel questions, the mode switch, the ".temp" working copies and the
// user settings file carried from one start to the next. Every test runs on a fresh,
// empty documents folder; every modal question is answered by a script.
#include "MainWindowTestSupport.h"

#include "LabToSpectralUtil.h"
#include "SuiteEnvironment.h"
#include "UserInteraction.h"
#include "UserSettingsFile.h"
#include "channelscolorpicker.h"
#include "colorpickeritem.h"
#include "tessaro.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QPixmap>
#include <QSaveFile>
#include <QSet>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <optional>

namespace {

const QString kUnsavedTitle = QStringLiteral("Unsaved changes");
const QString kLoadFailed = QStringLiteral("Failed to load reference file.\nWrong file format.");
const QString kNoValues = QStringLiteral("The selected reference file contains no RGB, CMYK or N-color values.");

// Index of the combo item holding `option`, -1 when none does.
int deviceItem(const QComboBox *combo, DevOption option)
{
    for (int i = 0; i < combo->count(); ++i) {
        DevOption item;
        if (devOptionFromVariant(combo->itemData(i), &item) && item == option)
            return i;
    }
    return -1;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defaultsShown();
    void loadReference_data();
    void loadReference();
    void failedLoadKeepsPrevious_data();
    void failedLoadKeepsPrevious();
    void cancelledOpenKeepsEverything();
    void unsavedQuestionNoKeepsReference();
    void cancelBlackInkKeepsPrevious();
    void targetRenamedAfterFile();
    void settingsRestoredAtNextStart();
    void wrongMagicIgnored();
    void unreadableLibraryWarns();
    void modeSwitch();
    void previewWritesTempCopyDeletedOnClose();
    void updateWithChannelsOverwrites();
    void updateWithChannelsSaveAsTakesSecondName();
    void readVerticallyKeepsPatchSettings();
    void targetNameTypedPerKeystroke();
    void rendersWithReference();

private:
    Tessaro &startWindow();
    QString fixture(const QString &name, const QString &as = QString());
    // Opens `path` through the Browse button; answers the unsaved-changes question with
    // Yes when a reference is loaded.
    void browse(const QString &path);
    QString appData() const { return environment->appDataFolder(); }
    QString text(const char *label) const;
    bool hidden(const char *name) const;
    int countMessages(const QString &title) const;

    std::unique_ptr<QTemporaryDir> root;
    std::optional<SuiteEnvironment> environment;
    std::unique_ptr<Tessaro> window;
    ScriptedUserInteraction *script = nullptr;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(mainwindowtest::initColorUtil());
}

void TestMainWindow::init()
{
    root = std::make_unique<QTemporaryDir>();
    SuitePlatform platform;
    QVERIFY(mainwindowtest::makePlatform(*root, platform));
    environment.emplace(platform);
}

void TestMainWindow::cleanup()
{
    window.reset();
    script = nullptr;
    environment.reset();
    root.reset();
}

Tessaro &TestMainWindow::startWindow()
{
    window.reset();
    window = mainwindowtest::scriptedWindow(*environment, script);
    return *window;
}

QString TestMainWindow::fixture(const QString &name, const QString &as)
{
    return mainwindowtest::copyFixture(*root, name, as);
}

void TestMainWindow::browse(const QString &path)
{
    if (!window->currentReferencePath().isEmpty())
        script->messageAnswers.push_back(QMessageBox::Yes);
    script->openAnswers.push_back(path);
    window->selectReferenceFile();
}

QString TestMainWindow::text(const char *name) const
{
    auto *label = window->findChild<QLabel *>(QString::fromLatin1(name));
    if (label)
        return label->text();
    auto *edit = window->findChild<QLineEdit *>(QString::fromLatin1(name));
    return edit ? edit->text() : QStringLiteral("<no such control>");
}

bool TestMainWindow::hidden(const char *name) const
{
    auto *widget = window->findChild<QWidget *>(QString::fromLatin1(name));
    return !widget || widget->isHidden();
}

int TestMainWindow::countMessages(const QString &title) const
{
    int n = 0;
    for (const MessageRequest &request : std::as_const(script->messages))
        n += request.title == title;
    return n;
}

void TestMainWindow::defaultsShown()
{
    Tessaro &w = startWindow();
    QCOMPARE(w.objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Create Color Target"));
    QCOMPARE(w.findChild<QComboBox *>("comboBoxDeviceSelection")->currentText(), QStringLiteral("Tintora Vestra 8mm"));
    QCOMPARE(w.findChild<QComboBox *>("comboBoxDeviceSelection")->count(), 13);
    QCOMPARE(w.findChild<QComboBox *>("comboBoxPaperSize")->currentText(), QStringLiteral("A4 (297x210)"));
    QCOMPARE(w.findChild<QComboBox *>("comboBoxPaperSize")->count(), 7);
    QCOMPARE(text("labelErrorNo"), QStringLiteral("1"));
    QCOMPARE(text("labelWarningNo"), QStringLiteral("0"));
    QCOMPARE(text("labelInfoNo"), QStringLiteral("0"));
    QCOMPARE(w.validationMessages().size(), 1);
    QCOMPARE(w.validationMessages()[0]->kind(), int(ErrorWarningItem::eError));
    QCOMPARE(w.validationMessages()[0]->title(), QStringLiteral("Open Reference"));
    QCOMPARE(w.validationMessages()[0]->description(), QStringLiteral("Use the Browse button to open a reference file."));
    QCOMPARE(text("labelPage"), QStringLiteral("Page 1/1"));
    QCOMPARE(text("lineEditDpi"), QStringLiteral("300"));
    QCOMPARE(text("labelColorSpaveValue"), QStringLiteral("none"));
    QVERIFY(!w.findChild<QToolButton *>("pushButtonSaveTarget")->isEnabled());
    QVERIFY(w.findChild<QRadioButton *>("radioButtonChart")->isChecked());
    QVERIFY(w.findChild<QRadioButton *>("radioButtonTiff")->isChecked());
    QVERIFY(w.findChild<QRadioButton *>("radioButtonEasy")->isChecked());
    QVERIFY(w.isEasyMode());
    QVERIFY(!w.findChild<QLineEdit *>("lineEditRefFile")->isEnabled());
    QCOMPARE(w.findChild<QLineEdit *>("lineEditTargetName")->maxLength(), 20);
    QCOMPARE(w.findChild<QLineEdit *>("lineEditVersion")->maxLength(), 15);
    QCOMPARE(w.findChild<QLineEdit *>("lineEditPrinterMedia")->maxLength(), 20);
    // Only the reference group is left in the pane.
    QVERIFY(!hidden("groupBoxReferenceFile"));
    for (const char *name : {"widgetMode", "groupBoxMeasurementDevice", "groupBoxTargetInfo", "groupBoxTargetOptions",
                             "groupBoxPaperSize", "groupBoxPatchSettings", "groupBoxComment", "modifyButton",
                             "checkBoxIdFromRefFile", "checkBoxNameFromRefFile", "checkBoxAddVerificationPatches"})
        QVERIFY2(hidden(name), name);
    QVERIFY(w.findChild<QWidget *>("pageHolder"));
    QVERIFY(script->messages.isEmpty());
}

void TestMainWindow::loadReference_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("colorSpace");
    QTest::addColumn<int>("patches");
    QTest::addColumn<bool>("useRGB");
    QTest::addColumn<bool>("useCMYK");
    QTest::addColumn<bool>("useNColor");
    QTest::addColumn<bool>("dcsForced");
    QTest::addColumn<bool>("blackInkAsked");
    QTest::addColumn<bool>("channelDialogOpened");
    QTest::addColumn<bool>("displayModel");

    QTest::newRow("CMYK") << "cmyk.ref" << "CMYK" << 6 << false << true << false << false << false << false << true;
    QTest::newRow("RGB") << "rgb.txt" << "RGB" << 4 << true << false << false << false << false << false << false;
    QTest::newRow("RGB with CMYK") << "rgb_cmyk.txt" << "RGB" << 3 << true << true << false << false << false << false << true;
    QTest::newRow("N-colour") << "ncolor.txt" << "NColor: 3" << 5 << false << false << true << true << true << true << true;
    QTest::newRow("CMYK + spots") << "cmyk_spot.txt" << "CMYK + NColor: 2" << 3 << false << false << true << false
                                  << false << false << true;
}

void TestMainWindow::loadReference()
{
    QFETCH(QString, file);
    QFETCH(QString, colorSpace);
    QFETCH(int, patches);
    QFETCH(bool, useRGB);
    QFETCH(bool, useCMYK);
    QFETCH(bool, useNColor);
    QFETCH(bool, dcsForced);
    QFETCH(bool, blackInkAsked);
    QFETCH(bool, channelDialogOpened);
    QFETCH(bool, displayModel);

    Tessaro &w = startWindow();
    if (blackInkAsked) {
        script->dialogHandlers.push_back([](QDialog &dialog) {
            dialog.findChild<QLineEdit *>(QStringLiteral("maxInk"))->setText(QStringLiteral("60"));
            dialog.accept();
            return int(QDialog::Accepted);
        });
    }
    if (channelDialogOpened)
        script->dialogHandlers.push_back([](QDialog &) { return int(QDialog::Rejected); });
    const QString path = fixture(file);
    browse(path);

    QVERIFY(w.currentReference());
    QCOMPARE(w.currentReferencePath(), path);
    QCOMPARE(w.targetSettings().referenceFile, path);
    QCOMPARE(text("labelColorSpaveValue"), colorSpace);
    QCOMPARE(text("labelPatchesValue"), QString::number(patches));
    QCOMPARE(w.targetSettings().patchCount, patches);
    QCOMPARE(w.targetSettings().useRGB, useRGB);
    QCOMPARE(w.targetSettings().useCMYK, useCMYK);
    QCOMPARE(w.targetSettings().useNColor, useNColor);
    const QString base = QFileInfo(path).completeBaseName();
    QCOMPARE(text("lineEditRefFile"), base);
    QCOMPARE(text("lineEditTargetName"), base);
    QCOMPARE(w.targetSettings().targetName, base);

    QCOMPARE(w.findChild<QRadioButton *>("radioButtonPS")->isChecked(), dcsForced);
    QCOMPARE(w.findChild<QRadioButton *>("radioButtonTiff")->isChecked(), !dcsForced);
    QCOMPARE(w.findChild<QRadioButton *>("radioButtonTiff")->isEnabled(), !dcsForced);
    QCOMPARE(w.findChild<QCheckBox *>("checkBox16Bit")->isEnabled(), !dcsForced);
    QCOMPARE(!hidden("modifyButton"), useNColor);

    const QStringList expectedDialogs = [&] {
        QStringList d;
        if (blackInkAsked)
            d << QStringLiteral("BlackInkOptionsDialog");
        if (channelDialogOpened)
            d << QStringLiteral("ChannelsColorPicker");
        return d;
    }();
    QCOMPARE(script->dialogsRun, expectedDialogs);
    if (blackInkAsked)
        QCOMPARE(w.currentReference()->blackInkPercent, 60);
    if (channelDialogOpened) {
        QVERIFY(w.channelsColorPicker());
        QCOMPARE(w.channelsColorPicker()->rows().size(), 3);
    }

    // Loaded state: saving possible, the pane opened in Easy mode, the version warning only.
    QVERIFY(w.findChild<QToolButton *>("pushButtonSaveTarget")->isEnabled());
    for (const char *name : {"widgetMode", "groupBoxMeasurementDevice", "groupBoxTargetInfo", "groupBoxPaperSize",
                             "groupBoxPatchSettings"})
        QVERIFY2(!hidden(name), name);
    for (const char *name : {"groupBoxTargetOptions", "groupBoxComment", "widgetPaperBorder",
                             "checkBoxAddVerificationPatches"})
        QVERIFY2(hidden(name), name);
    QCOMPARE(deviceItem(w.findChild<QComboBox *>("comboBoxDeviceSelection"), DevOption::Custom), -1);
    // The few patches of these fixtures make a target below the Vestra's 50 x 50 mm, and no
    // version is given yet.
    QCOMPARE(text("labelErrorNo"), QStringLiteral("1"));
    QCOMPARE(text("labelWarningNo"), QStringLiteral("1"));
    QCOMPARE(text("labelInfoNo"), QStringLiteral("0"));
    QCOMPARE(w.validationMessages().size(), 2);
    QCOMPARE(w.validationMessages()[0]->title(), QStringLiteral("Target Size"));
    QCOMPARE(w.validationMessages()[1]->title(), QStringLiteral("Version"));

    // Colour references got their display model from the installed library without a box.
    QCOMPARE(bool(w.currentReference()->spectralUtil), displayModel);
    if (w.currentReference()->spectralUtil) {
        QVERIFY(QFileInfo::exists(appData() + QStringLiteral("/MulticolorReference.txt")));
        const LabToSpectralUtil &model = *w.currentReference()->spectralUtil;
        QCOMPARE(model.colorantSpectra.size(), w.currentReference()->colorantLab.size());
        if (w.currentReference()->isCMYK)
            QVERIFY(!model.colorantSpectra.empty());
    }
    QCOMPARE(countMessages(QStringLiteral("Quorvane Vantrel")), 0);
    QCOMPARE(countMessages(QStringLiteral("Reference file error")), 0);
}

void TestMainWindow::failedLoadKeepsPrevious_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a reference") << "not_a_reference.txt" << kLoadFailed;
    QTest::newRow("no device values") << "lab_only.txt" << kNoValues;
}

void TestMainWindow::failedLoadKeepsPrevious()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    Tessaro &w = startWindow();
    const QString good = fixture(QStringLiteral("cmyk.ref"));
    browse(good);
    const ReferenceFileData *before = w.currentReference();
    QVERIFY(before);

    browse(fixture(file));
    QCOMPARE(script->messages.size(), 2);
    QCOMPARE(script->messages[0].title, kUnsavedTitle);
    QCOMPARE(script->messages[1].icon, QMessageBox::Critical);
    QCOMPARE(script->messages[1].title, QStringLiteral("Reference file error"));
    QCOMPARE(script->messages[1].text, message);
    QCOMPARE(w.currentReference(), before);
    QCOMPARE(w.currentReferencePath(), good);
    QCOMPARE(w.targetSettings().referenceFile, good);
    QCOMPARE(text("lineEditRefFile"), QStringLiteral("cmyk"));
    QCOMPARE(text("labelColorSpaveValue"), QStringLiteral("CMYK"));
    QCOMPARE(text("labelPatchesValue"), QStringLiteral("6"));
}

void TestMainWindow::cancelledOpenKeepsEverything()
{
    Tessaro &w = startWindow();
    script->openAnswers.push_back(QString());
    w.selectReferenceFile();
    QCOMPARE(script->openRequests.size(), 1);
    QCOMPARE(script->openRequests[0].caption, QStringLiteral("Select reference or target definition file..."));
    QCOMPARE(script->openRequests[0].folder, appData());
    QVERIFY(script->openRequests[0].filter.startsWith(QStringLiteral("Reference files (")));
    QVERIFY(!w.currentReference());
    QVERIFY(w.currentReferencePath().isEmpty());

    // A chosen file that does not exist is no choice either.
    script->openAnswers.push_back(root->filePath(QStringLiteral("missing.ref")));
    w.selectReferenceFile();
    QVERIFY(!w.currentReference());
    QVERIFY(w.currentReferencePath().isEmpty());
    QVERIFY(script->messages.isEmpty());
}

void TestMainWindow::unsavedQuestionNoKeepsReference()
{
    Tessaro &w = startWindow();
    const QString good = fixture(QStringLiteral("cmyk.ref"));
    browse(good);
    const ReferenceFileData *before = w.currentReference();
    script->messageAnswers.push_back(QMessageBox::No);
    script->openAnswers.push_back(fixture(QStringLiteral("rgb.txt")));
    w.selectReferenceFile();
    QCOMPARE(script->messages.size(), 1);
    QCOMPARE(script->messages[0].icon, QMessageBox::Warning);
    QCOMPARE(script->messages[0].title, kUnsavedTitle);
    QVERIFY(script->messages[0].text.startsWith(QStringLiteral("If you open a new reference file")));
    QCOMPARE(script->openRequests.size(), 1); // the first load's only
    QCOMPARE(w.currentReference(), before);
}

void TestMainWindow::cancelBlackInkKeepsPrevious()
{
    Tessaro &w = startWindow();
    const QString good = fixture(QStringLiteral("cmyk.ref"));
    browse(good);
    const ReferenceFileData *before = w.currentReference();
    script->dialogHandlers.push_back([](QDialog &dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    });
    browse(fixture(QStringLiteral("ncolor.txt")));
    QCOMPARE(script->dialogsRun, QStringList{QStringLiteral("BlackInkOptionsDialog")});
    QCOMPARE(w.currentReference(), before);
    QCOMPARE(w.currentReferencePath(), good);
    QCOMPARE(text("lineEditRefFile"), QStringLiteral("cmyk"));
    QCOMPARE(text("labelColorSpaveValue"), QStringLiteral("CMYK"));
    QCOMPARE(text("lineEditTargetName"), QStringLiteral("cmyk"));
    QVERIFY(w.findChild<QRadioButton *>("radioButtonTiff")->isChecked());
    QVERIFY(w.findChild<QRadioButton *>("radioButtonTiff")->isEnabled());
    QVERIFY(hidden("modifyButton"));
}

void TestMainWindow::targetRenamedAfterFile()
{
    Tessaro &w = startWindow();
    browse(fixture(QStringLiteral("rgb.txt")));
    auto *name = w.findChild<QLineEdit *>("lineEditTargetName");
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("My own name"));
    QCOMPARE(w.targetSettings().targetName, QStringLiteral("My own name"));
    browse(fixture(QStringLiteral("cmyk.ref"), QStringLiteral("patches.ref")));
    QCOMPARE(name->text(), QStringLiteral("patches"));
    QCOMPARE(w.targetSettings().targetName, QStringLiteral("patches"));
}

void TestMainWindow::settingsRestoredAtNextStart()
{
    // A settings file with a user paper that is not selected.
    TargetSettings stored;
    stored.papers.append(PaperSize(QStringLiteral("Poster"), 420000, 297000, 1000, 2000, 3000, 4000));
    stored.deviceVestra = true;
    stored.aperture8mm = false;
    stored.aperture6mm = true;
    stored.targetVersion = QStringLiteral("v2");
    QVERIFY(UserSettingsFile::save(stored, *environment));

    {
        Tessaro &w = startWindow();
        auto *papers = w.findChild<QComboBox *>("comboBoxPaperSize");
        QCOMPARE(papers->count(), 8);
        QCOMPARE(papers->currentText(), QStringLiteral("A4 (297x210)"));
        QCOMPARE(w.findChild<QComboBox *>("comboBoxDeviceSelection")->currentText(),
                 QStringLiteral("Tintora Vestra 6mm"));
        QCOMPARE(text("lineEditVersion"), QStringLiteral("v2"));
        papers->setCurrentIndex(7);
        QCOMPARE(w.targetSettings().pageSize, QSizeF(420000, 297000));
        QCOMPARE(w.targetSettings().borderLeft, 3000.0);
        QCOMPARE(text("lineEditBorderLeft"), QStringLiteral("3"));
        QTest::keyClicks(w.findChild<QLineEdit *>("lineEditPrinterMedia"), QStringLiteral("Press 4"));
        w.findChild<QCheckBox *>("checkBoxRandom")->click();
        QVERIFY(w.saveUserSettings());
        window.reset();
    }

    Tessaro &again = startWindow();
    auto *papers = again.findChild<QComboBox *>("comboBoxPaperSize");
    QCOMPARE(papers->count(), 8);
    QCOMPARE(papers->itemText(7), QStringLiteral("Poster (420x297)"));
    // The wiring applies the instrument's defaults, which select the Vestra's own paper.
    QCOMPARE(papers->currentText(), QStringLiteral("A4 (297x210)"));
    QCOMPARE(again.targetSettings().papers[7].selected, false);
    QCOMPARE(again.targetSettings().papers[0].selected, true);
    QCOMPARE(again.targetSettings().pageSize, QSizeF(297000, 210000));
    QCOMPARE(again.findChild<QComboBox *>("comboBoxDeviceSelection")->currentText(),
             QStringLiteral("Tintora Vestra 6mm"));
    QCOMPARE(text("lineEditPrinterMedia"), QStringLiteral("Press 4"));
    QCOMPARE(text("lineEditVersion"), QStringLiteral("v2"));
    QCOMPARE(text("lineEditBorderBottom"), QStringLiteral("0"));
    QVERIFY(again.findChild<QCheckBox *>("checkBoxRandom")->isChecked());
    QVERIFY(again.targetSettings().random);
    // The stored paper keeps its borders for the next choice.
    papers->setCurrentIndex(7);
    QCOMPARE(again.targetSettings().pageSize, QSizeF(420000, 297000));
    QCOMPARE(text("lineEditBorderBottom"), QStringLiteral("2"));
}

void TestMainWindow::wrongMagicIgnored()
{
    TargetSettings other;
    other.targetVersion = QStringLiteral("not mine");
    other.deviceVestra = false;
    other.devicePendra = true;
    QByteArray bytes = UserSettingsFile::toBytes(other);
    bytes[3] = char(bytes[3] ^ 0x01); // magic 223457 no more
    QDir().mkpath(appData());
    QFile file(UserSettingsFile::filePath(*environment));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    Tessaro &w = startWindow();
    QCOMPARE(w.findChild<QComboBox *>("comboBoxDeviceSelection")->currentText(), QStringLiteral("Tintora Vestra 8mm"));
    QCOMPARE(text("lineEditVersion"), QString());
    QCOMPARE(w.targetSettings().papers.size(), 7);
    QCOMPARE(text("labelErrorNo"), QStringLiteral("1"));
}

void TestMainWindow::unreadableLibraryWarns()
{
    // A folder where the library should be: not replaced, and not readable as a file.
    QVERIFY(QDir().mkpath(appData() + QStringLiteral("/MulticolorReference.txt")));
    Tessaro &w = startWindow();
    browse(fixture(QStringLiteral("cmyk.ref")));
    QVERIFY(w.currentReference());
    QCOMPARE(countMessages(QStringLiteral("Quorvane Vantrel")), 1);
    const MessageRequest &box = script->messages.last();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.text, QStringLiteral("Unable to load the MulticolorReference.txt file"));
    // The model exists but mixes nothing: every patch shows white.
    QVERIFY(w.currentReference()->spectralUtil);
    QVERIFY(w.currentReference()->spectralUtil->colorantSpectra.empty());
}

void TestMainWindow::modeSwitch()
{
    Tessaro &w = startWindow();
    browse(fixture(QStringLiteral("cmyk.ref")));
    auto *easy = w.findChild<QRadioButton *>("radioButtonEasy");
    auto *advanced = w.findChild<QRadioButton *>("radioButtonAdvanced");
    auto *devices = w.findChild<QComboBox *>("comboBoxDeviceSelection");

    advanced->click();
    QVERIFY(!w.isEasyMode());
    QVERIFY(w.targetSettings().advancedMode);
    QVERIFY(!hidden("groupBoxTargetOptions"));
    QVERIFY(!hidden("widgetPaperBorder"));
    QCOMPARE(deviceItem(devices, DevOption::Custom), devices->count() - 1);
    QVERIFY(script->messages.isEmpty()); // Advanced is chosen without a question

    script->messageAnswers.push_back(QMessageBox::No);
    easy->click();
    QCOMPARE(script->messages.last().title, kUnsavedTitle);
    QVERIFY(script->messages.last().text.startsWith(QStringLiteral("If you switch from Advanced to Easy mode")));
    QVERIFY(advanced->isChecked());
    QVERIFY(!w.isEasyMode());
    QVERIFY(!hidden("groupBoxTargetOptions"));

    script->messageAnswers.push_back(QMessageBox::Yes);
    easy->click();
    QVERIFY(w.isEasyMode());
    QVERIFY(!w.targetSettings().advancedMode);
    QVERIFY(hidden("groupBoxTargetOptions"));
    QCOMPARE(deviceItem(devices, DevOption::Custom), -1);

    // Asked again on a click while already in Easy mode; No keeps Easy mode.
    const int asked = script->messages.size();
    script->messageAnswers.push_back(QMessageBox::No);
    easy->click();
    QCOMPARE(script->messages.size(), asked + 1);
    QVERIFY(easy->isChecked());
    QVERIFY(w.isEasyMode());
}

void TestMainWindow::previewWritesTempCopyDeletedOnClose()
{
    Tessaro &w = startWindow();
    const QString path = fixture(QStringLiteral("cmyk_spot.txt"));
    browse(path);
    QVERIFY(script->dialogsRun.isEmpty()); // the file has channel information
    script->dialogHandlers.push_back([](QDialog &dialog) {
        auto *picker = qobject_cast<ChannelsColorPicker *>(&dialog);
        // Row 4 is Orange; make it darker and preview.
        picker->rows()[4]->findChild<QDoubleSpinBox *>(QStringLiteral("LSpinBox"))->setValue(40);
        picker->findChild<QPushButton *>(QStringLiteral("PreviewButton"))->click();
        return int(QDialog::Rejected);
    });
    w.findChild<QToolButton *>("modifyButton")->click();
    QCOMPARE(script->dialogsRun, QStringList{QStringLiteral("ChannelsColorPicker")});
    const QString temp = path + QStringLiteral(".temp");
    QCOMPARE(w.currentReferencePath(), temp);
    QVERIFY(QFileInfo::exists(temp));
    QVERIFY(!QFileInfo::exists(temp + QStringLiteral(".temp")));
    QCOMPARE(w.currentReference()->colorantLab.size(), std::size_t(6));
    QCOMPARE(w.currentReference()->colorantLab[4].L, 40.0);
    // The working copy is named after the file it copies.
    QCOMPARE(w.targetSettings().targetName, QStringLiteral("cmyk_spot"));
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QVERIFY(original.readAll().contains("Orange,Lab,65 50 70 "));

    w.close();
    QVERIFY(!QFileInfo::exists(temp));
    QVERIFY(QFileInfo::exists(path));
}

void TestMainWindow::updateWithChannelsOverwrites()
{
    Tessaro &w = startWindow();
    const QString path = fixture(QStringLiteral("ncolor.txt"));
    script->dialogHandlers.push_back([](QDialog &dialog) {
        dialog.accept();
        return int(QDialog::Accepted);
    });
    script->dialogHandlers.push_back([](QDialog &dialog) {
        auto *picker = qobject_cast<ChannelsColorPicker *>(&dialog);
        auto *row = picker->rows()[0];
        row->findChild<QDoubleSpinBox *>(QStringLiteral("LSpinBox"))->setValue(50);
        row->findChild<QDoubleSpinBox *>(QStringLiteral("aSpinBox"))->setValue(20);
        row->findChild<QDoubleSpinBox *>(QStringLiteral("bSpinBox"))->setValue(-10);
        picker->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        return int(QDialog::Accepted);
    });
    script->messageAnswers.push_back(QMessageBox::Yes); // overwrite the reference
    browse(path);

    QCOMPARE(script->dialogsRun, (QStringList{QStringLiteral("BlackInkOptionsDialog"), QStringLiteral("ChannelsColorPicker")}));
    QCOMPARE(script->messages.size(), 1);
    QCOMPARE(script->messages[0].text, QStringLiteral("Do you want to overwrite the reference file to add your modifications?"));
    QCOMPARE(script->messages[0].customButtons, QStringList{QStringLiteral("Save as")});
    QCOMPARE(w.currentReferencePath(), path);
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".temp")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY2(content.contains("ChannelInfo0\t\"3CLR_1,Lab,50 20 -10 \""), content.constData());
    QVERIFY(w.currentReference()->hasChannelInfo);
    QCOMPARE(w.currentReference()->colorantLab[0].a, 20.0);
}

void TestMainWindow::updateWithChannelsSaveAsTakesSecondName()
{
    Tessaro &w = startWindow();
    const QString path = fixture(QStringLiteral("cmyk_spot.txt"));
    browse(path);
    const QString wanted = root->filePath(QStringLiteral("refs/edited.txt"));
    QFile blocker(wanted);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.write("taken");
    blocker.close();

    script->dialogHandlers.push_back([](QDialog &dialog) {
        qobject_cast<ChannelsColorPicker *>(&dialog)->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        return int(QDialog::Accepted);
    });
    script->messageAnswers.push_back(UserInteraction::CustomButtonBase); // "Save as"
    script->saveAnswers.push_back(wanted);
    w.findChild<QToolButton *>("modifyButton")->click();

    const QString second = root->filePath(QStringLiteral("refs/edited (2).txt"));
    QCOMPARE(script->saveRequests.size(), 1);
    QCOMPARE(script->saveRequests[0].caption, QStringLiteral("Save reference file"));
    QCOMPARE(w.currentReferencePath(), second);
    QVERIFY(QFileInfo::exists(second));
    QCOMPARE(text("lineEditRefFile"), QStringLiteral("edited (2)"));
    QFile taken(wanted);
    QVERIFY(taken.open(QIODevice::ReadOnly));
    QCOMPARE(taken.readAll(), QByteArray("taken"));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".temp")));
}

void TestMainWindow::readVerticallyKeepsPatchSettings()
{
    Tessaro &w = startWindow();
    browse(fixture(QStringLiteral("cmyk.ref")));
    w.targetSettings().patchMarginX = 700;
    w.targetSettings().desiredPatchesX = 4;
    const ReferenceFileData *before = w.currentReference();
    w.findChild<QCheckBox *>("chbReadVertical")->click();
    QVERIFY(w.currentReference() != before);
    // The wished counts stay; the separator is the instrument's again, as after every load.
    QCOMPARE(w.targetSettings().desiredPatchesX, 4);
    QCOMPARE(w.targetSettings().patchMarginX, 0.0);
    QVERIFY(script->dialogsRun.isEmpty());
    // A fresh load through Browse resets them.
    browse(fixture(QStringLiteral("cmyk.ref")));
    QCOMPARE(w.targetSettings().patchMarginX, 0.0);
    QCOMPARE(w.targetSettings().desiredPatchesX, 0);
}

void TestMainWindow::targetNameTypedPerKeystroke()
{
    Tessaro &w = startWindow();
    browse(fixture(QStringLiteral("rgb.txt")));
    auto *name = w.findChild<QLineEdit *>("lineEditTargetName");
    name->clear();
    QTest::keyClicks(name, QStringLiteral("abc"));
    QCOMPARE(w.targetSettings().targetName, QStringLiteral("abc"));
    QTest::keyClicks(name, QStringLiteral("defghijklmnopqrstuvwxyz"));
    QCOMPARE(name->text().size(), 20);
    QCOMPARE(w.targetSettings().targetName, name->text());
    // One character in the version box removes the version warning.
    QCOMPARE(text("labelWarningNo"), QStringLiteral("1"));
    QTest::keyClicks(w.findChild<QLineEdit *>("lineEditVersion"), QStringLiteral("1"));
    QCOMPARE(text("labelWarningNo"), QStringLiteral("0"));
}

void TestMainWindow::rendersWithReference()
{
    Tessaro &w = startWindow();
    browse(fixture(QStringLiteral("cmyk.ref")));
    w.resize(1280, 900);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPixmap shot = w.grab();
    QCOMPARE(shot.size() / shot.devicePixelRatio(), w.size());
    // A rendered form has many colours; a blank or failed grab has one.
    const QImage image = shot.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 4);
    // TESSARO_SCREENSHOT names a file to keep the picture in; otherwise it stays temporary.
    const QString target = qEnvironmentVariableIsSet("TESSARO_SCREENSHOT")
                               ? qEnvironmentVariable("TESSARO_SCREENSHOT")
                               : root->filePath(QStringLiteral("mainwindow.png"));
    QVERIFY(shot.save(target, "PNG"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
