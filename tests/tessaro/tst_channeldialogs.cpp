// Widget tests of the channel colour dialog, its rows, the black-ink question and the
// Qt-side colour helpers.
#include "BlackInkOptionsDialog.h"
#include "ColorUtil.h"
#include "ColorUtilQt.h"
#include "UserInteraction.h"
#include "channelscolorpicker.h"
#include "colorpickeritem.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestChannelDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void blackInkValue_data();
    void blackInkValue();
    void blackInkStartsUnset();
    void entryAfterSave();
    void entryBeforeSave();
    void clearedNameFallsBack();
    void processRowsAreReadOnly();
    void previewKeepsDialogOpen();
    void okClosesBeforeUpdate();
    void pickerTakesChosenColour();
    void pickerCancelChangesNothing();
    void previewFollowsLab();
    void resetRemovesRows();
    void colorHelpers();
};

void TestChannelDialogs::initTestCase()
{
    const QByteArray profile = OutputCMYKProfileBytes();
    QVERIFY(!profile.isEmpty());
    QVERIFY(ColorUtil::Init(reinterpret_cast<const unsigned char *>(profile.constData()),
                            static_cast<std::size_t>(profile.size())));
}

void TestChannelDialogs::blackInkValue_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("expected");
    QTest::newRow("above 100 becomes the preset") << "150" << 80;
    QTest::newRow("101 becomes the preset") << "101" << 80;
    QTest::newRow("100 is taken") << "100" << 100;
    QTest::newRow("zero is taken") << "0" << 0;
    QTest::newRow("negative is taken") << "-5" << -5;
    QTest::newRow("empty reads 0") << "" << 0;
    QTest::newRow("text reads 0") << "abc" << 0;
}

void TestChannelDialogs::blackInkValue()
{
    QFETCH(QString, entry);
    QFETCH(int, expected);
    BlackInkOptionsDialog dialog(80);
    auto *maxInk = dialog.findChild<QLineEdit *>(QStringLiteral("maxInk"));
    QVERIFY(maxInk);
    QCOMPARE(maxInk->text(), QStringLiteral("80"));
    maxInk->setText(entry);
    dialog.accept();
    QCOMPARE(dialog.value(), expected);
}

void TestChannelDialogs::blackInkStartsUnset()
{
    BlackInkOptionsDialog dialog(80);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Black ink not found!"));
    QCOMPARE(dialog.value(), -1);
    dialog.reject();
    QCOMPARE(dialog.value(), -1);
}

void TestChannelDialogs::entryAfterSave()
{
    ChannelsColorPicker picker;
    picker.setChannels({QStringLiteral("Orange")}, {false});
    picker.setChannelLabs({LabTriple{50, 20, -10}});
    picker.prepareRows();
    emit picker.SaveSelectedColors();
    QCOMPARE(picker.channelInfo(), QStringList{QStringLiteral("\"Orange,Lab,50 20 -10 \"")});
}

void TestChannelDialogs::entryBeforeSave()
{
    ChannelsColorPicker picker;
    picker.setChannels({QStringLiteral("Orange")}, {false});
    picker.setChannelLabs({LabTriple{50, 20, -10}});
    // Values reach the entry only through SaveSelectedColors().
    QCOMPARE(picker.channelInfo(), QStringList{QStringLiteral("\"Orange,Lab,\"")});
}

void TestChannelDialogs::clearedNameFallsBack()
{
    ColorPickerItem item;
    item.setColorName(QStringLiteral("Orange"));
    auto *edit = item.findChild<QLineEdit *>(QStringLiteral("ColorNameLineEdit"));
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(edit->placeholderText(), QStringLiteral("Orange"));
    QTest::keyClicks(edit, QStringLiteral("Rust"));
    QCOMPARE(item.getColorName(), QStringLiteral("Rust"));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(item.getColorName(), QStringLiteral("Orange"));
}

void TestChannelDialogs::processRowsAreReadOnly()
{
    ChannelsColorPicker picker;
    picker.setChannels({"Cyan", "Magenta", "Yellow", "Black", "Orange", "Green"},
                       {true, true, true, true, false, false});
    picker.prepareRows();
    QCOMPARE(picker.rows().size(), 6);
    for (int i = 0; i < 6; ++i) {
        const bool readOnly = i < 4;
        ColorPickerItem *row = picker.rows()[i];
        QCOMPARE(row->findChild<QLineEdit *>(QStringLiteral("ColorNameLineEdit"))->isReadOnly(), readOnly);
        auto *L = row->findChild<QDoubleSpinBox *>(QStringLiteral("LSpinBox"));
        QCOMPARE(L->isReadOnly(), readOnly);
        QCOMPARE(L->buttonSymbols(),
                 readOnly ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
        QCOMPARE(row->findChild<QToolButton *>(QStringLiteral("defaultColorPickerButton"))->isHidden(), readOnly);
        QCOMPARE(row->findChild<QToolButton *>(QStringLiteral("toolButton"))->isHidden(), readOnly);
    }
}

void TestChannelDialogs::previewKeepsDialogOpen()
{
    ChannelsColorPicker picker;
    picker.setChannels({QStringLiteral("Orange")}, {false});
    picker.prepareRows();
    picker.show();
    QSignalSpy save(&picker, &ChannelsColorPicker::SaveSelectedColors);
    QSignalSpy preview(&picker, &ChannelsColorPicker::PreviewReferenceWithChannels);
    QSignalSpy update(&picker, &ChannelsColorPicker::UpdateReferenceWithChannels);
    QTest::mouseClick(picker.findChild<QPushButton *>(QStringLiteral("PreviewButton")), Qt::LeftButton);
    QCOMPARE(save.count(), 1);
    QCOMPARE(preview.count(), 1);
    QCOMPARE(update.count(), 0);
    QVERIFY(picker.isVisible());
    // The row saved its values with the signal.
    QCOMPARE(picker.rows()[0]->getLabValues(), (QList<double>{100, 0, 0}));
}

void TestChannelDialogs::okClosesBeforeUpdate()
{
    ChannelsColorPicker picker;
    picker.setChannels({QStringLiteral("Orange")}, {false});
    picker.prepareRows();
    picker.show();
    bool visibleAtUpdate = true;
    int updates = 0;
    connect(&picker, &ChannelsColorPicker::UpdateReferenceWithChannels, this, [&] {
        visibleAtUpdate = picker.isVisible();
        ++updates;
    });
    QTest::mouseClick(picker.findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
    QCOMPARE(updates, 1);
    QVERIFY(!visibleAtUpdate);
}

void TestChannelDialogs::pickerTakesChosenColour()
{
    ScriptedUserInteraction script;
    script.colorAnswers.push_back(QColor(200, 40, 10));
    ColorPickerItem item(nullptr, &script);
    item.findChild<QToolButton *>(QStringLiteral("defaultColorPickerButton"))->click();
    QCOMPARE(script.colorTitles, QStringList{QString()});
    const double rgb[3] = {200, 40, 10};
    double lab[3];
    QVERIFY(ColorUtil::RGBtoLab(rgb, lab));
    item.SaveLabValues();
    const QList<double> saved = item.getLabValues();
    QCOMPARE(saved.size(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(std::abs(saved[i] - lab[i]) <= 0.005, qPrintable(QString::number(saved[i])));
}

void TestChannelDialogs::pickerCancelChangesNothing()
{
    ScriptedUserInteraction script; // no answer: cancelled
    ColorPickerItem item(nullptr, &script);
    item.setLabValues(40, 5, 6);
    item.findChild<QToolButton *>(QStringLiteral("defaultColorPickerButton"))->click();
    item.SaveLabValues();
    QCOMPARE(item.getLabValues(), (QList<double>{40, 5, 6}));
}

void TestChannelDialogs::previewFollowsLab()
{
    ColorPickerItem item;
    auto *preview = item.findChild<QToolButton *>(QStringLiteral("colorPreview"));
    item.setLabValues(50, 60, 40);
    const double lab[3] = {50, 60, 40};
    double rgb[3];
    QVERIFY(ColorUtil::LabToRGB(lab, rgb));
    const QString expected = QStringLiteral("rgba(%1, %2, %3, 255)")
                                 .arg(int(std::clamp(rgb[0], 0.0, 255.0)))
                                 .arg(int(std::clamp(rgb[1], 0.0, 255.0)))
                                 .arg(int(std::clamp(rgb[2], 0.0, 255.0)));
    QVERIFY2(preview->styleSheet().contains(expected), qPrintable(preview->styleSheet()));
    QVERIFY(!preview->styleSheet().contains(QStringLiteral("rgba(255, 255, 255, 255)")));
}

void TestChannelDialogs::resetRemovesRows()
{
    ChannelsColorPicker picker;
    picker.setChannels({"A", "B"}, {false, false});
    picker.prepareRows();
    picker.setChannels({"C"}, {false}); // not yet in the layout
    picker.reset();
    QTRY_COMPARE(picker.findChildren<ColorPickerItem *>().size(), 0);
    QVERIFY(picker.rows().isEmpty());
    QVERIFY(picker.channelInfo().isEmpty());
}

void TestChannelDialogs::colorHelpers()
{
    const double lab[3] = {50, 0, 0};
    const QColor gray = LabToColor(lab);
    QVERIFY(gray.isValid());
    QCOMPARE(gray.alpha(), 255);
    const QRgba64 wide = gray.rgba64();
    QCOMPARE(wide.red() % 257, 0);
    QCOMPARE(wide.red() / 257, gray.red());
    QVERIFY(std::abs(gray.red() - gray.green()) <= 1);

    const double white[3] = {96.42, 100.0, 82.49};
    const QColor fromXyz = XYZtoColor(white);
    QVERIFY(fromXyz.isValid());
    QVERIFY(fromXyz.red() >= 250 && fromXyz.green() >= 250 && fromXyz.blue() >= 250);

    const QByteArray profile = OutputCMYKProfileBytes();
    QVERIFY(profile.size() > 128);
    QCOMPARE(profile.mid(36, 4), QByteArray("acsp"));
    QCOMPARE(profile.mid(16, 4), QByteArray("CMYK"));
}

QTEST_MAIN(TestChannelDialogs)
#include "tst_channeldialogs.moc"
