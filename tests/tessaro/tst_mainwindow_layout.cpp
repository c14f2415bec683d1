// Widget tests of the main window's layout wiring: the instrument defaults reaching the
// option boxes and the paper combo, the layout and validation run on every change with the
// counters, the patch count, patch settings, new paper and warnings dialogs opened from the
// window, deleting a paper, and the page painter showing the patches with its page
// navigation. Every test starts on a fresh, empty documents folder; modal dialogs really
// run and are answered through QTimer::singleShot.
#include "MainWindowTestSupport.h"

#include "DevOption.h"
#include "SuiteEnvironment.h"
#include "UserInteraction.h"
#include "UserSettingsFile.h"
#include "tessaro.h"
#include "targetpage.h"
#include "targetpatchgrid.h"
#include "warningsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace {

const QString kVestraA3 = QStringLiteral("The maximum page size for Tintora Vestra is 297x210 mm");
const QString kPendraAperture = QStringLiteral("Tintora Pendra has only 2mm aperture mode");

// Runs `dialog` modally; `steps` run inside its event loop and should close it. A dialog
// still open after the steps is rejected, so a failing test never hangs.
int runModal(QDialog &dialog, const std::function<void(QDialog &)> &steps)
{
    QTimer::singleShot(0, &dialog, [&dialog, steps] {
        steps(dialog);
        if (dialog.isVisible())
            dialog.reject();
    });
    return dialog.exec();
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestMainWindowLayout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void artworkIcons();
    void instrumentDefaults_data();
    void instrumentDefaults();
    void deskTakesA4OutAndVestraBringsItBack();
    void layoutRunsOnEveryChange();
    void vestraOnA3HasOnePageSizeError();
    void customWith8mmWarnsForPendra();
    void patchCountDialogFollowsRule();
    void patchSettingsDialogPreviewsLive();
    void newPaperDialogRefusesDuplicateSilently();
    void deletePaperAsks();
    void warningsDialogListsItemsInOrder();
    void pageShowsPatchesAndTurnsPages();
    void sampleReferenceOnScreen();

private:
    Tessaro &startWindow();
    // Loads a fixture of tests/data/tessaro through the Browse button.
    void load(const QString &name);
    void chooseDevice(const QString &text);
    template <typename T>
    T *child(const char *name) const
    {
        T *widget = window->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString label(const char *name) const { return child<QLabel>(name)->text(); }
    QStringList messageTexts(int kind) const;
    // Types one character into the version box: a user change that refreshes.
    void touch();

    std::unique_ptr<QTemporaryDir> root;
    std::optional<SuiteEnvironment> environment;
    std::unique_ptr<Tessaro> window;
    ScriptedUserInteraction *script = nullptr;
};

void TestMainWindowLayout::initTestCase()
{
    QVERIFY(mainwindowtest::initColorUtil());
}

void TestMainWindowLayout::init()
{
    root = std::make_unique<QTemporaryDir>();
    SuitePlatform platform;
    QVERIFY(mainwindowtest::makePlatform(*root, platform));
    environment.emplace(platform);
}

void TestMainWindowLayout::cleanup()
{
    window.reset();
    script = nullptr;
    environment.reset();
    root.reset();
}

Tessaro &TestMainWindowLayout::startWindow()
{
    window.reset();
    window = mainwindowtest::scriptedWindow(*environment, script);
    return *window;
}

void TestMainWindowLayout::load(const QString &name)
{
    const QString target = mainwindowtest::copyFixture(*root, name);
    if (!window->currentReferencePath().isEmpty())
        script->messageAnswers.push_back(QMessageBox::Yes);
    script->openAnswers.push_back(target);
    window->selectReferenceFile();
    if (window->currentReferencePath() != target)
        qFatal("fixture %s did not load", qPrintable(name));
}

void TestMainWindowLayout::chooseDevice(const QString &text)
{
    auto *combo = child<QComboBox>("comboBoxDeviceSelection");
    const int index = combo->findText(text);
    if (index < 0)
        qFatal("no instrument %s", qPrintable(text));
    combo->setCurrentIndex(index);
}

QStringList TestMainWindowLayout::messageTexts(int kind) const
{
    QStringList texts;
    for (const ErrorWarningItem *item : window->validationMessages()) {
        if (item->kind() == kind)
            texts << item->description();
    }
    return texts;
}

void TestMainWindowLayout::touch()
{
    QTest::keyClicks(child<QLineEdit>("lineEditVersion"), QStringLiteral("1"));
}

void TestMainWindowLayout::artworkIcons()
{
    Tessaro &w = startWindow();
    const struct
    {
        const char *button;
        const char *resource;
    } buttons[] = {
        {"pushButtonInfo", ":/Buttons/Resources/Images/info.png"},
        {"pushButtonWarnings", ":/Buttons/Resources/Images/warning.png"},
        {"pushButtonErrors", ":/Buttons/Resources/Images/error.png"},
    };
    for (const auto &b : buttons) {
        QVERIFY2(QFile::exists(QString::fromLatin1(b.resource)), b.resource);
        const QIcon icon = child<QToolButton>(b.button)->icon();
        QVERIFY2(!icon.isNull(), b.button);
        QCOMPARE(iconImage(icon), iconImage(QIcon(QString::fromLatin1(b.resource))));
    }
    // The three kinds look different, so the counters can be told apart.
    QVERIFY(iconImage(child<QToolButton>("pushButtonInfo")->icon()) !=
            iconImage(child<QToolButton>("pushButtonErrors")->icon()));
    QVERIFY(QFile::exists(QStringLiteral(":/General/Resources/Images/tessaro.ico")));
    QVERIFY(!w.windowIcon().isNull());
    QVERIFY(!w.windowIcon().availableSizes().isEmpty());
}

void TestMainWindowLayout::instrumentDefaults_data()
{
    QTest::addColumn<QString>("instrument");
    QTest::addColumn<QString>("apertures"); // checked boxes: "2", "6", "8"
    QTest::addColumn<QString>("patchSize");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("autopositioning");
    QTest::addColumn<bool>("startingLines");
    QTest::addColumn<bool>("recognitionBorders");
    QTest::addColumn<bool>("leftHeader");
    QTest::addColumn<bool>("referenceArea");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<QString>("borderLeft");

    QTest::newRow("textile") << "Tintora Vestra zq (textile)" << "268" << "16.00x16.00" << "1.00x1.00" << false
                             << false << true << false << false << "Tintora Vestra zq textile (405x330)" << "50";
    QTest::newRow("Desk") << "TintoraDesk" << "6" << "12.00x12.00" << "0.00x0.00" << false << true << false << true
                          << false << "Tintoradesk (500x235)" << "0";
    QTest::newRow("Printon") << "TintoraDesk Printon" << "2" << "7.00x12.00" << "0.00x0.00" << false << true << false
                             << true << false << "Tintoradesk (500x235)" << "0";
    QTest::newRow("Vestra 6mm") << "Tintora Vestra 6mm" << "6" << "8.00x8.00" << "0.00x0.00" << true << false << false
                                << true << true << "A4 (297x210)" << "0";
}

void TestMainWindowLayout::instrumentDefaults()
{
    QFETCH(QString, instrument);
    QFETCH(QString, apertures);
    QFETCH(QString, patchSize);
    QFETCH(QString, separator);
    QFETCH(bool, autopositioning);
    QFETCH(bool, startingLines);
    QFETCH(bool, recognitionBorders);
    QFETCH(bool, leftHeader);
    QFETCH(bool, referenceArea);
    QFETCH(QString, paper);
    QFETCH(QString, borderLeft);

    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    chooseDevice(instrument);

    const TargetSettings &s = w.targetSettings();
    QCOMPARE(child<QCheckBox>("checkBox2mmAperture")->isChecked(), apertures.contains(QLatin1Char('2')));
    QCOMPARE(child<QCheckBox>("checkBox6mmAperture")->isChecked(), apertures.contains(QLatin1Char('6')));
    QCOMPARE(child<QCheckBox>("checkBox8mmAperture")->isChecked(), apertures.contains(QLatin1Char('8')));
    QCOMPARE(s.aperture2mm, apertures.contains(QLatin1Char('2')));
    QCOMPARE(s.aperture6mm, apertures.contains(QLatin1Char('6')));
    QCOMPARE(s.aperture8mm, apertures.contains(QLatin1Char('8')));
    // Only Custom lets the user change the apertures.
    QVERIFY(!child<QCheckBox>("checkBox2mmAperture")->isEnabled());
    QCOMPARE(label("labelPatchSizeValue"), patchSize);
    QCOMPARE(label("labelSeparatorValue"), separator);
    QCOMPARE(child<QCheckBox>("checkBoxAutoPositioning")->isChecked(), autopositioning);
    QCOMPARE(s.autopositioning, autopositioning);
    QCOMPARE(child<QCheckBox>("checkBoxStartingLinesDesk")->isChecked(), startingLines);
    QCOMPARE(s.startingLinesTintoraDesk, startingLines);
    QCOMPARE(child<QCheckBox>("checkBoxAutopositioningBorders")->isChecked(), recognitionBorders);
    QCOMPARE(child<QCheckBox>("checkBoxIncludeLeftHeader")->isChecked(), leftHeader);
    QCOMPARE(s.showLeftHeader, leftHeader);
    QCOMPARE(child<QCheckBox>("checkBoxReferenceArea")->isChecked(), referenceArea);
    QCOMPARE(s.showReferenceArea, referenceArea);
    QCOMPARE(child<QComboBox>("comboBoxPaperSize")->currentText(), paper);
    QCOMPARE(child<QLineEdit>("lineEditBorderLeft")->text(), borderLeft);
    QCOMPARE(s.borderLeft, borderLeft.toDouble() * 1000.0);
    // The page the painter draws is the chosen paper.
    const QStringList size = paper.section(QLatin1Char('('), 1).chopped(1).split(QLatin1Char('x'));
    QCOMPARE(s.pageSize, QSizeF(size[0].toDouble() * 1000.0, size[1].toDouble() * 1000.0));
}

void TestMainWindowLayout::deskTakesA4OutAndVestraBringsItBack()
{
    startWindow();
    load(QStringLiteral("cmyk20.ref"));
    auto *papers = child<QComboBox>("comboBoxPaperSize");
    QCOMPARE(papers->findText(QStringLiteral("A4 (297x210)")), 0);
    chooseDevice(QStringLiteral("TintoraDesk"));
    QCOMPARE(papers->findText(QStringLiteral("A4 (297x210)")), -1);
    QCOMPARE(papers->count(), int(window->targetSettings().papers.size()));
    QVERIFY(window->papers().a4Removed());
    chooseDevice(QStringLiteral("Tintora Vestra 6mm"));
    QCOMPARE(papers->itemText(0), QStringLiteral("A4 (297x210)"));
    QCOMPARE(papers->currentIndex(), 0);
    QVERIFY(!window->papers().a4Removed());
    QCOMPARE(window->targetSettings().pageSize, QSizeF(297000, 210000));
}

void TestMainWindowLayout::layoutRunsOnEveryChange()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    // Vestra 8 mm on A4 with the left header: 231 mm hold 19 patches of 12 mm.
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("19x2"));
    QCOMPARE(w.targetSettings().numberOfPages, 1);
    QCOMPARE(w.targetSettings().targetSize, QSizeF(19 * 12000, 2 * 12000));

    child<QRadioButton>("radioButtonAdvanced")->click();
    child<QCheckBox>("checkBoxIncludeLeftHeader")->click();
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("19x2")); // the reference area still takes 42 mm
    child<QCheckBox>("checkBoxReferenceArea")->click();
    // Without both the row holds 273 mm: all 20 patches in one row.
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("20x1"));
    QCOMPARE(w.targetSettings().targetSize, QSizeF(20 * 12000, 12000));
    // The validation ran with the new target: it is lower than 50 mm.
    QVERIFY(messageTexts(ErrorWarningItem::eError)
                .contains(QStringLiteral("The minimum target size for Tintora Vestra and Pendra, Pendra zq 2 mm and "
                                         "Pendra zq 6 mm is 50x50 mm")));

    // The borders set with "Set" narrow the area at once.
    child<QLineEdit>("lineEditBorderLeft")->setText(QStringLiteral("40"));
    child<QToolButton>("pushButtonSetPaperSize")->click();
    QCOMPARE(w.targetSettings().borderLeft, 40000.0);
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("19x2")); // 233 mm hold 19
    QCOMPARE(w.targetSettings().papers[0].borderLeft, 0.0);

    // Counters always match the list.
    int counts[3] = {0, 0, 0};
    for (const ErrorWarningItem *item : w.validationMessages())
        ++counts[item->kind()];
    QCOMPARE(label("labelErrorNo"), QString::number(counts[0]));
    QCOMPARE(label("labelWarningNo"), QString::number(counts[1]));
    QCOMPARE(label("labelInfoNo"), QString::number(counts[2]));
    QCOMPARE(counts[1], 1); // no version yet
    touch();
    QCOMPARE(label("labelWarningNo"), QStringLiteral("0"));
}

void TestMainWindowLayout::vestraOnA3HasOnePageSizeError()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    script->dialogHandlers.push_back([](QDialog &dialog) {
        return runModal(dialog, [](QDialog &d) {
            d.findChild<QLineEdit *>(QStringLiteral("lineEditPaperName"))->setText(QStringLiteral("A3"));
            d.findChild<QSpinBox *>(QStringLiteral("editPaperWidth"))->setValue(420);
            d.findChild<QSpinBox *>(QStringLiteral("editPaperHeight"))->setValue(297);
            d.findChild<QPushButton *>(QStringLiteral("pushButtonOK"))->click();
        });
    });
    child<QToolButton>("pushButtonNewPaper")->click();
    auto *papers = child<QComboBox>("comboBoxPaperSize");
    const int a3 = papers->findText(QStringLiteral("A3 (420x297)"));
    QVERIFY(a3 >= 0);
    papers->setCurrentIndex(a3);
    QCOMPARE(w.targetSettings().pageSize, QSizeF(420000, 297000));

    QCOMPARE(messageTexts(ErrorWarningItem::eError).count(kVestraA3), 1);
    int pageSizeItems = 0;
    for (const ErrorWarningItem *item : w.validationMessages())
        pageSizeItems += item->title() == QStringLiteral("Page Size");
    QCOMPARE(pageSizeItems, 1);
    QCOMPARE(label("labelErrorNo"), QString::number(messageTexts(ErrorWarningItem::eError).size()));

    // Back on A4 the error goes at the next refresh.
    papers->setCurrentIndex(papers->findText(QStringLiteral("A4 (297x210)")));
    QVERIFY(!messageTexts(ErrorWarningItem::eError).contains(kVestraA3));
}

void TestMainWindowLayout::customWith8mmWarnsForPendra()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    child<QRadioButton>("radioButtonAdvanced")->click();
    chooseDevice(QStringLiteral("Custom"));
    const TargetSettings &s = w.targetSettings();
    QVERIFY(s.deviceDesk && s.devicePrinton && s.deviceVestra && s.deviceVestrazq && s.devicePendra);
    auto *box8 = child<QCheckBox>("checkBox8mmAperture");
    QVERIFY(box8->isEnabled());
    if (!box8->isChecked())
        box8->click();
    QVERIFY(s.aperture8mm);
    QVERIFY(messageTexts(ErrorWarningItem::eWarning).contains(kPendraAperture));
    QCOMPARE(label("labelWarningNo"), QString::number(messageTexts(ErrorWarningItem::eWarning).size()));

    // Unchecking every aperture brings the 2 mm one back at once: no "select an aperture".
    for (const char *name : {"checkBox2mmAperture", "checkBox6mmAperture", "checkBox8mmAperture"}) {
        if (child<QCheckBox>(name)->isChecked())
            child<QCheckBox>(name)->click();
    }
    QVERIFY(child<QCheckBox>("checkBox2mmAperture")->isChecked());
    QVERIFY(s.aperture2mm);
    QVERIFY(!messageTexts(ErrorWarningItem::eWarning).contains(kPendraAperture));
    QVERIFY(!messageTexts(ErrorWarningItem::eWarning)
                 .contains(QStringLiteral("Select an aperture mode for better target info")));
}

void TestMainWindowLayout::patchCountDialogFollowsRule()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    // Two wished columns give 2 x 10 patches, so the dialog opens with Y at 10.
    w.targetSettings().desiredPatchesX = 2;
    touch();
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("2x10"));

    int yBefore = -1;
    int yAfter = -1;
    int ySpinAfter = -1;
    script->dialogHandlers.push_back([&](QDialog &dialog) {
        return runModal(dialog, [&](QDialog &d) {
            auto *x = d.findChild<QSlider *>(QStringLiteral("horizontalSliderX"));
            auto *y = d.findChild<QSlider *>(QStringLiteral("horizontalSliderY"));
            yBefore = y->value();
            x->setValue(15);
            yAfter = y->value();
            ySpinAfter = d.findChild<QSpinBox *>(QStringLiteral("editPatchCountY"))->value();
            d.findChild<QPushButton *>(QStringLiteral("pushButtonOK"))->click();
        });
    });
    child<QToolButton>("pushButtonModifyPatchCount")->click();
    QCOMPARE(script->dialogsRun, QStringList{QStringLiteral("PatchCountXY")});
    QCOMPARE(yBefore, 10);
    QCOMPARE(yAfter, 5);
    QCOMPARE(ySpinAfter, 5);
    QCOMPARE(w.targetSettings().desiredPatchesX, 15);
    QCOMPARE(w.targetSettings().desiredPatchesY, 5);
    // The window ran the layout with the wishes: 15 columns, the 20 patches need 2 rows.
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("15x2"));
}

void TestMainWindowLayout::patchSettingsDialogPreviewsLive()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    QCOMPARE(label("labelPatchSizeValue"), QStringLiteral("12.00x12.00"));

    QString sizeDuringPreview;
    QString countDuringPreview;
    script->dialogHandlers.push_back([&](QDialog &dialog) {
        return runModal(dialog, [&](QDialog &d) {
            d.findChild<QDoubleSpinBox *>(QStringLiteral("editPatchWidth"))->setValue(20.0);
            d.findChild<QDoubleSpinBox *>(QStringLiteral("editPatchColumnSeparator"))->setValue(0.5);
            d.findChild<QPushButton *>(QStringLiteral("pushButtonPreview"))->click();
            sizeDuringPreview = label("labelPatchSizeValue");
            countDuringPreview = label("labelPatchCountValue");
            d.reject(); // closed without OK: the preview stays
        });
    });
    child<QToolButton>("pushButtonModify")->click();
    QCOMPARE(script->dialogsRun, QStringList{QStringLiteral("PatchSettings")});
    QCOMPARE(sizeDuringPreview, QStringLiteral("20.00x12.00"));
    // 231 mm / 20.5 mm hold 11 columns.
    QCOMPARE(countDuringPreview, QStringLiteral("11x2"));
    QCOMPARE(w.targetSettings().minPatchSizeX, 20000.0);
    QCOMPARE(w.targetSettings().patchMarginX, 500.0);
    QCOMPARE(label("labelSeparatorValue"), QStringLiteral("0.50x0.00"));
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("11x2"));

    // Reset to Default goes back to the instrument's patch.
    child<QToolButton>("pushButtonResetToDefault")->click();
    QCOMPARE(label("labelPatchSizeValue"), QStringLiteral("12.00x12.00"));
    QCOMPARE(label("labelSeparatorValue"), QStringLiteral("0.00x0.00"));
}

void TestMainWindowLayout::newPaperDialogRefusesDuplicateSilently()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    auto fill = [](QDialog &d, int borderLeft) {
        d.findChild<QLineEdit *>(QStringLiteral("lineEditPaperName"))->setText(QStringLiteral("Test"));
        d.findChild<QSpinBox *>(QStringLiteral("editPaperWidth"))->setValue(300);
        d.findChild<QSpinBox *>(QStringLiteral("editPaperHeight"))->setValue(200);
        d.findChild<QSpinBox *>(QStringLiteral("editPaperBorderLeft"))->setValue(borderLeft);
        d.findChild<QPushButton *>(QStringLiteral("pushButtonOK"))->click();
    };
    QList<bool> stayedOpen;
    auto handler = [&](int borderLeft) {
        return [&, borderLeft](QDialog &dialog) {
            return runModal(dialog, [&, borderLeft](QDialog &d) {
                fill(d, borderLeft);
                stayedOpen << d.isVisible();
            });
        };
    };
    auto *papers = child<QComboBox>("comboBoxPaperSize");
    const int before = papers->count();
    const QString current = papers->currentText();

    script->dialogHandlers.push_back(handler(0));
    child<QToolButton>("pushButtonNewPaper")->click();
    QCOMPARE(papers->count(), before + 1);
    QCOMPARE(papers->itemText(before), QStringLiteral("Test (300x200)"));
    const PaperSize &added = w.targetSettings().papers.last();
    QCOMPARE(added.width, 300000);
    QCOMPARE(added.height, 200000);
    QCOMPARE(papers->currentText(), current); // adding does not select it

    script->dialogHandlers.push_back(handler(0));
    child<QToolButton>("pushButtonNewPaper")->click();
    QCOMPARE(papers->count(), before + 1);

    script->dialogHandlers.push_back(handler(5)); // another border: another paper
    child<QToolButton>("pushButtonNewPaper")->click();
    QCOMPARE(papers->count(), before + 2);

    QCOMPARE(stayedOpen, (QList<bool>{false, true, false}));
    QVERIFY(script->messages.isEmpty());
    QCOMPARE(papers->count(), int(w.targetSettings().papers.size()));
}

void TestMainWindowLayout::deletePaperAsks()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk20.ref"));
    auto *papers = child<QComboBox>("comboBoxPaperSize");
    const int count = papers->count();
    const int index = papers->findText(QStringLiteral("Tintoradesk Flatbed"), Qt::MatchStartsWith);
    QVERIFY(index > 0);
    papers->setCurrentIndex(index);
    const QString name = w.targetSettings().papers[index].name;

    script->messageAnswers.push_back(QMessageBox::No);
    child<QToolButton>("pushButtonDelete")->click();
    QCOMPARE(script->messages.size(), 1);
    QCOMPARE(script->messages[0].title, QStringLiteral("Delete paper"));
    QCOMPARE(script->messages[0].text, QStringLiteral("Delete paper: ") + name + QStringLiteral(" ?"));
    QCOMPARE(script->messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(papers->count(), count);

    script->messageAnswers.push_back(QMessageBox::Yes);
    child<QToolButton>("pushButtonDelete")->click();
    QCOMPARE(papers->count(), count - 1);
    QCOMPARE(papers->findText(name, Qt::MatchStartsWith), -1);
    QCOMPARE(papers->count(), int(w.targetSettings().papers.size()));
    // The paper now current gives the page.
    const PaperSize &shown = w.targetSettings().papers[papers->currentIndex()];
    QCOMPARE(w.targetSettings().pageSize, QSizeF(shown.width, shown.height));

    // Deleting every paper brings the instrument's own paper (A4 for the Vestra) back.
    while (papers->count() > 0 && w.targetSettings().papers.size() > 1) {
        script->messageAnswers.push_back(QMessageBox::Yes);
        child<QToolButton>("pushButtonDelete")->click();
    }
    script->messageAnswers.push_back(QMessageBox::Yes);
    child<QToolButton>("pushButtonDelete")->click();
    QCOMPARE(papers->count(), 1);
    QCOMPARE(papers->currentText(), QStringLiteral("A4 (297x210)"));
    QCOMPARE(w.targetSettings().pageSize, QSizeF(297000, 210000));
}

void TestMainWindowLayout::warningsDialogListsItemsInOrder()
{
    Tessaro &w = startWindow();
    load(QStringLiteral("cmyk.ref")); // 6 patches: a target too small, and no version
    const QList<ErrorWarningItem *> &items = w.validationMessages();
    QVERIFY(items.size() >= 2);
    QSet<int> kinds;
    for (const ErrorWarningItem *item : items)
        kinds.insert(item->kind());
    QVERIFY(kinds.contains(ErrorWarningItem::eError) && kinds.contains(ErrorWarningItem::eWarning));

    for (const char *button : {"pushButtonInfo", "pushButtonWarnings", "pushButtonErrors"}) {
        bool checked = false;
        script->dialogHandlers.push_back([&](QDialog &dialog) {
            return runModal(dialog, [&](QDialog &d) {
                auto *table = d.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
                QCOMPARE(table->rowCount(), int(items.size()));
                for (int row = 0; row < table->rowCount(); ++row) {
                    QCOMPARE(table->item(row, 0)->text(), items[row]->title());
                    QCOMPARE(table->item(row, 1)->text(), items[row]->description());
                    QVERIFY(table->item(row, 1)->icon().isNull());
                    static const char *const artwork[] = {":/Buttons/Resources/Images/error.png",
                                                          ":/Buttons/Resources/Images/warning.png",
                                                          ":/Buttons/Resources/Images/info.png"};
                    QCOMPARE(iconImage(table->item(row, 0)->icon()),
                             iconImage(QIcon(QString::fromLatin1(artwork[items[row]->kind()]))));
                }
                checked = true;
                d.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
            });
        });
        child<QToolButton>(button)->click();
        QVERIFY2(checked, button);
    }
    QCOMPARE(script->dialogsRun.size(), 3);
    // The dialog only shows: the findings are the same afterwards.
    QCOMPARE(w.validationMessages().size(), items.size());
}

void TestMainWindowLayout::pageShowsPatchesAndTurnsPages()
{
    Tessaro &w = startWindow();
    TargetPage *page = w.page();
    QVERIFY(page);
    QCOMPARE(page->objectName(), QStringLiteral("targetPage"));
    QCOMPARE(page->parentWidget(), child<QWidget>("pageHolder"));
    QVERIFY(!page->grid()); // nothing to show before a reference

    load(QStringLiteral("cmyk20.ref"));
    QCOMPARE(w.page(), page);
    QVERIFY(page->grid());
    QCOMPARE(label("labelPage"), QStringLiteral("Page 1/1"));
    int placed = 0;
    for (int i = 0; i < page->grid()->patchCount(); ++i)
        placed += page->grid()->patchAtIndex(i)->set != nullptr;
    QCOMPARE(placed, 20);
    QCOMPARE(page->grid()->columns, 19);
    QCOMPARE(page->grid()->rows, 2);
    QCOMPARE(w.patchOrderFlags(), int(TargetPage::RowByRow));
    // Shown, the page fills the page area with the paper's proportions and sets the scale.
    w.resize(1280, 900);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize area = child<QWidget>("scrollArea_2")->size();
    QTRY_VERIFY(page->width() == area.width() - 10 || page->height() == area.height() - 10);
    QVERIFY(page->width() <= area.width() - 10 && page->height() <= area.height() - 10);
    QVERIFY(qAbs(page->width() * 210.0 / 297.0 - page->height()) <= 1.0);
    QCOMPARE(w.targetSettings().scaleFactor, std::min(page->width() / 297000.0, page->height() / 210000.0));
    QVERIFY(page->isVisible());

    // 2 x 3 patches per page: 4 pages.
    w.targetSettings().desiredPatchesX = 2;
    w.targetSettings().desiredPatchesY = 3;
    touch();
    QCOMPARE(w.targetSettings().numberOfPages, 4);
    QCOMPARE(label("labelPage"), QStringLiteral("Page 1/4"));
    auto *slider = child<QSlider>("horizontalSliderPage");
    QCOMPARE(slider->maximum(), 4);
    QCOMPARE(page->grid()->patchCount(), 4 * 2 * 3);
    slider->setValue(3);
    QCOMPARE(label("labelPage"), QStringLiteral("Page 3/4"));
    QCOMPARE(page->pageNumber, 3);
    QVERIFY(page->footerText().endsWith(QStringLiteral(" Page 3 of 4")));

    // Any change returns to page 1; the order flags follow the boxes.
    child<QRadioButton>("radioButtonAdvanced")->click();
    child<QCheckBox>("checkBoxFlipHorizontal")->click();
    QCOMPARE(slider->value(), 1);
    QCOMPARE(page->pageNumber, 1);
    QCOMPARE(label("labelPage"), QStringLiteral("Page 1/4"));
    QCOMPARE(w.patchOrderFlags(), int(TargetPage::RowByRow | TargetPage::MirrorLeftRight));
    // Mirrored left to right: the first set sits in the last column.
    QCOMPARE(page->grid()->patchAt(1, 0, 1)->set, w.currentReference()->GetSet(0));
}

void TestMainWindowLayout::sampleReferenceOnScreen()
{
    // The shipped CMYK sample: 1485 patches over several pages of a Vestra 8 mm target.
    const QString sample = QStringLiteral(VANTREL_TEST_DATA_DIR "/../../samples/references/CMYK_1485.ref");
    if (!QFileInfo::exists(sample))
        QSKIP("the sample references are not in this tree");
    Tessaro &w = startWindow();
    script->openAnswers.push_back(sample);
    w.selectReferenceFile();
    QCOMPARE(w.currentReferencePath(), sample);
    QCOMPARE(w.targetSettings().patchCount, 1485);
    const TargetSettings &s = w.targetSettings();
    QVERIFY(s.numberOfPages > 1);
    QCOMPARE(label("labelPage"), QStringLiteral("Page 1/%1").arg(s.numberOfPages));
    QCOMPARE(label("labelPatchCountValue"), QStringLiteral("%1x%2").arg(s.patchesX).arg(s.patchesY));

    w.resize(1400, 900);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TargetPage *page = w.page();
    QTRY_VERIFY(page->width() > 400);
    const QImage shot = page->grab().toImage();
    // The first patches of the sample are light ink ramps; the page holds far more colours
    // than the white paper, black marks and grey text of a page without patches.
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3)
            colours.insert(shot.pixel(x, y));
    QVERIFY2(colours.size() > 200, qPrintable(QString::number(colours.size())));

    // TESSARO_SCREENSHOT names a file for the whole window.
    if (qEnvironmentVariableIsSet("TESSARO_SCREENSHOT")) {
        QCoreApplication::processEvents();
        QVERIFY(w.grab().save(qEnvironmentVariable("TESSARO_SCREENSHOT"), "PNG"));
    }
}

QTEST_MAIN(TestMainWindowLayout)
#include "tst_mainwindow_layout.moc"
