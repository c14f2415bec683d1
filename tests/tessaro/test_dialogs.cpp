// Widget tests of the patch count, patch settings, new paper and warnings
// dialogs on the offscreen platform.
#include "ErrorWarningItem.h"
#include "InstrumentCatalogue.h"
#include "PageLayout.h"
#include "TargetSettings.h"
#include "newpaperdlg.h"
#include "patchcountxydlg.h"
#include "patchsettingsdlg.h"
#include "warningsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

template <typename T>
T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Vestra 8 mm on A4: 19 columns and 15 rows of 12 mm patches fit.
TargetSettings vestraTarget(int patches)
{
    TargetSettings s;
    InstrumentCatalogue::applyDefaults(s, DevOption::TintoraVestra8mm);
    s.pageSize = QSizeF(297000, 210000);
    s.borderLeft = s.borderRight = s.borderTop = s.borderBottom = 0;
    s.patchCount = patches;
    return s;
}

} // namespace

TEST(PatchCountXYDlgTest, MaximaFromTheAvailableArea)
{
    TargetSettings s = vestraTarget(500);
    PatchCountXYDlg dlg(&s);
    EXPECT_EQ(dlg.objectName(), QStringLiteral("PatchCountXY"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Patch Settings"));
    EXPECT_EQ(child<QSlider>(&dlg, "horizontalSliderX")->maximum(), 19);
    EXPECT_EQ(child<QSpinBox>(&dlg, "editPatchCountX")->maximum(), 19);
    EXPECT_EQ(child<QSlider>(&dlg, "horizontalSliderY")->maximum(), 15);
    EXPECT_EQ(child<QSpinBox>(&dlg, "editPatchCountY")->maximum(), 15);

    TargetSettings tiny = vestraTarget(500);
    tiny.pageSize = QSizeF(60000, 30000);
    PatchCountXYDlg small(&tiny);
    EXPECT_EQ(child<QSlider>(&small, "horizontalSliderX")->maximum(), 0);
    EXPECT_EQ(child<QSlider>(&small, "horizontalSliderY")->maximum(), 0);
    EXPECT_EQ(child<QSpinBox>(&small, "editPatchCountX")->maximum(), 0);
}

TEST(PatchCountXYDlgTest, SliderXTo15With20PatchesLowersYTo5)
{
    TargetSettings s = vestraTarget(20);
    s.patchesX = 4;
    s.patchesY = 10;
    PatchCountXYDlg dlg(&s);
    auto *sliderX = child<QSlider>(&dlg, "horizontalSliderX");
    auto *sliderY = child<QSlider>(&dlg, "horizontalSliderY");
    auto *spinX = child<QSpinBox>(&dlg, "editPatchCountX");
    auto *spinY = child<QSpinBox>(&dlg, "editPatchCountY");
    ASSERT_EQ(sliderY->value(), 10);
    sliderX->setValue(15);
    EXPECT_EQ(sliderY->value(), 5);
    EXPECT_EQ(spinY->value(), 5);
    EXPECT_EQ(spinX->value(), 15);

    // The same rule from the spin boxes, the sliders following.
    spinY->setValue(12);
    EXPECT_EQ(spinX->value(), 8);
    EXPECT_EQ(sliderX->value(), 8);
    EXPECT_EQ(sliderY->value(), 12);
}

TEST(PatchCountXYDlgTest, RuleStaysQuietWithManyPatches)
{
    TargetSettings s = vestraTarget(500);
    s.patchesX = 19;
    s.patchesY = 10;
    PatchCountXYDlg dlg(&s);
    child<QSlider>(&dlg, "horizontalSliderX")->setValue(15);
    EXPECT_EQ(child<QSlider>(&dlg, "horizontalSliderY")->value(), 10);
    EXPECT_EQ(child<QSpinBox>(&dlg, "editPatchCountX")->value(), 15);
}

TEST(PatchCountXYDlgTest, PreviewWritesWishesAndTheLayoutAnswers)
{
    TargetSettings s = vestraTarget(500);
    PageLayout::runLayout(s);
    PatchCountXYDlg dlg(&s);
    int previews = 0;
    // The main window's wiring: preview runs the layout and reports the counts back.
    QObject::connect(&dlg, &PatchCountXYDlg::previewTarget, [&] {
        ++previews;
        PageLayout::runLayout(s);
        dlg.patchCountUpdated();
    });
    child<QSlider>(&dlg, "horizontalSliderX")->setValue(10);
    child<QSlider>(&dlg, "horizontalSliderY")->setValue(14);
    child<QCheckBox>(&dlg, "chkOptimizeTilePosition")->setChecked(true);
    child<QPushButton>(&dlg, "pushButtonPreview")->click();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(s.desiredPatchesX, 10);
    EXPECT_EQ(s.desiredPatchesY, 14);
    EXPECT_TRUE(s.optimizeTilePosition);
    // 500 patches on 10 x 14 need 4 pages; the tightening leaves 10 x 13.
    EXPECT_EQ(s.patchesY, 13);
    EXPECT_EQ(child<QSlider>(&dlg, "horizontalSliderY")->value(), 13);
    EXPECT_EQ(child<QSpinBox>(&dlg, "editPatchCountY")->value(), 13);

    // Escape after Preview keeps what the preview wrote.
    dlg.reject();
    EXPECT_EQ(s.desiredPatchesX, 10);
}

TEST(PatchCountXYDlgTest, OkStoresCountsAndAccepts)
{
    TargetSettings s = vestraTarget(500);
    PatchCountXYDlg dlg(&s);
    int previews = 0;
    QObject::connect(&dlg, &PatchCountXYDlg::previewTarget, [&] { ++previews; });
    child<QSpinBox>(&dlg, "editPatchCountX")->setValue(7);
    child<QSpinBox>(&dlg, "editPatchCountY")->setValue(9);
    child<QPushButton>(&dlg, "pushButtonOK")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(s.desiredPatchesX, 7);
    EXPECT_EQ(s.desiredPatchesY, 9);
    EXPECT_EQ(s.patchesX, 7);
    EXPECT_EQ(s.patchesY, 9);
}

class PatchSettingsDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        s.patchSizeX = 12000;
        s.patchSizeY = 10000;
        s.patchMarginX = 500;
        s.patchMarginY = 1500;
        s.targetSize = QSizeF(228000, 180000);
        s.desiredPatchesX = 4;
        s.desiredPatchesY = 4;
        dlg = std::make_unique<PatchSettingsDlg>(&s);
        width = child<QDoubleSpinBox>(dlg.get(), "editPatchWidth");
        widthSlider = child<QSlider>(dlg.get(), "horizontalSliderWidth");
        column = child<QDoubleSpinBox>(dlg.get(), "editPatchColumnSeparator");
        columnSlider = child<QSlider>(dlg.get(), "horizontalSliderColumnSeparator");
    }

    TargetSettings s;
    std::unique_ptr<PatchSettingsDlg> dlg;
    QDoubleSpinBox *width = nullptr;
    QSlider *widthSlider = nullptr;
    QDoubleSpinBox *column = nullptr;
    QSlider *columnSlider = nullptr;
};

TEST_F(PatchSettingsDlgTest, StartsFromTheSettings)
{
    EXPECT_EQ(dlg->objectName(), QStringLiteral("PatchSettings"));
    EXPECT_EQ(widthSlider->value(), 12000);
    EXPECT_EQ(widthSlider->maximum(), 30000);
    EXPECT_DOUBLE_EQ(width->value(), 12.0);
    EXPECT_DOUBLE_EQ(width->maximum(), 228.0);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(dlg.get(), "editPatchHeight")->maximum(), 180.0);
    EXPECT_EQ(columnSlider->value(), 500);
    EXPECT_EQ(columnSlider->maximum(), 12000);
    EXPECT_DOUBLE_EQ(column->value(), 0.5);
    EXPECT_DOUBLE_EQ(column->minimum(), 0.0);
    EXPECT_EQ(child<QSlider>(dlg.get(), "horizontalSliderRowSeparator")->maximum(), 10000);
}

TEST_F(PatchSettingsDlgTest, TypedWidthKeepsASmallerSeparator)
{
    width->setValue(6.3);
    EXPECT_EQ(widthSlider->value(), 6300);
    EXPECT_DOUBLE_EQ(column->value(), 0.5);
    EXPECT_EQ(columnSlider->value(), 500);
    EXPECT_EQ(columnSlider->maximum(), 6300);
    EXPECT_DOUBLE_EQ(column->maximum(), 6.3);

    // Below the separator the separator is dragged down, decimals kept.
    width->setValue(0.35);
    EXPECT_DOUBLE_EQ(column->value(), 0.35);
    EXPECT_EQ(columnSlider->value(), 350);
    EXPECT_EQ(widthSlider->value(), 350);

    // 4.35 mm is 4349.999... um in binary; the slider must still show 4350.
    width->setValue(4.35);
    EXPECT_EQ(widthSlider->value(), 4350);
}

TEST_F(PatchSettingsDlgTest, WidthSliderDragsTheSeparatorInMicrometres)
{
    widthSlider->setValue(300);
    EXPECT_DOUBLE_EQ(width->value(), 0.3);
    EXPECT_EQ(columnSlider->value(), 300);
    EXPECT_DOUBLE_EQ(column->value(), 0.3);

    columnSlider->setValue(120);
    EXPECT_DOUBLE_EQ(column->value(), 0.12);
    column->setValue(0.25);
    EXPECT_EQ(columnSlider->value(), 250);
}

TEST_F(PatchSettingsDlgTest, PreviewAndOkWriteTheBaseSize)
{
    int previews = 0;
    QObject::connect(dlg.get(), &PatchSettingsDlg::previewTarget, [&] { ++previews; });
    width->setValue(6.3);
    child<QDoubleSpinBox>(dlg.get(), "editPatchHeight")->setValue(7.25);
    child<QDoubleSpinBox>(dlg.get(), "editPatchRowSeparator")->setValue(0.75);
    child<QPushButton>(dlg.get(), "pushButtonPreview")->click();
    EXPECT_EQ(previews, 1);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 6300);
    EXPECT_DOUBLE_EQ(s.minPatchSizeY, 7250);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 500);
    EXPECT_DOUBLE_EQ(s.patchMarginY, 750);
    EXPECT_EQ(s.desiredPatchesX, 0);
    EXPECT_EQ(s.desiredPatchesY, 0);

    column->setValue(0.1);
    child<QPushButton>(dlg.get(), "pushButtonOK")->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(previews, 1);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 100);
}

TEST(PatchSettingsDlgBordersTest, RecognitionBordersKeepA02mmSeparator)
{
    TargetSettings s;
    s.patchSizeX = s.patchSizeY = 12000;
    s.patchMarginX = s.patchMarginY = 200;
    s.targetSize = QSizeF(200000, 150000);
    s.autopositioningBorders = true;
    PatchSettingsDlg dlg(&s);
    auto *column = child<QDoubleSpinBox>(&dlg, "editPatchColumnSeparator");
    EXPECT_DOUBLE_EQ(column->minimum(), 0.2);
    EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(&dlg, "editPatchRowSeparator")->minimum(), 0.2);
    column->setValue(0);
    EXPECT_DOUBLE_EQ(column->value(), 0.2);
}

namespace {

void fillPaper(NewPaperDlg &dlg, const QString &name, int w, int h, int left = 0)
{
    child<QLineEdit>(&dlg, "lineEditPaperName")->setText(name);
    child<QSpinBox>(&dlg, "editPaperWidth")->setValue(w);
    child<QSpinBox>(&dlg, "editPaperHeight")->setValue(h);
    child<QSpinBox>(&dlg, "editPaperBorderLeft")->setValue(left);
}

} // namespace

TEST(NewPaperDlgTest, AddsOnceAndRefusesDuplicatesSilently)
{
    TargetSettings s;
    const int before = static_cast<int>(s.papers.size());
    {
        NewPaperDlg dlg(&s);
        EXPECT_EQ(dlg.objectName(), QStringLiteral("NewPaper"));
        EXPECT_EQ(child<QSpinBox>(&dlg, "editPaperBorderTop")->maximum(), 65535);
        fillPaper(dlg, QStringLiteral("Test"), 300, 200);
        child<QSpinBox>(&dlg, "editPaperBorderTop")->setValue(5);
        child<QPushButton>(&dlg, "pushButtonOK")->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    ASSERT_EQ(s.papers.size(), before + 1);
    const PaperSize &added = s.papers.last();
    EXPECT_EQ(added.name, QStringLiteral("Test"));
    EXPECT_EQ(added.width, 300000);
    EXPECT_EQ(added.height, 200000);
    EXPECT_DOUBLE_EQ(added.borderTop, 5000);
    EXPECT_DOUBLE_EQ(added.borderLeft, 0);
    EXPECT_FALSE(added.selected);

    NewPaperDlg again(&s);
    fillPaper(again, QStringLiteral("Test"), 300, 200);
    child<QSpinBox>(&again, "editPaperBorderTop")->setValue(5);
    child<QPushButton>(&again, "pushButtonOK")->click();
    EXPECT_NE(again.result(), QDialog::Accepted);
    EXPECT_EQ(s.papers.size(), before + 1);

    // Another border makes it another paper.
    child<QSpinBox>(&again, "editPaperBorderLeft")->setValue(3);
    child<QPushButton>(&again, "pushButtonOK")->click();
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(s.papers.size(), before + 2);
}

TEST(NewPaperDlgTest, IncompleteInputIsRefused)
{
    TargetSettings s;
    const int before = static_cast<int>(s.papers.size());
    NewPaperDlg dlg(&s);
    fillPaper(dlg, QStringLiteral("Zero"), 0, 200);
    child<QPushButton>(&dlg, "pushButtonOK")->click();
    fillPaper(dlg, QString(), 300, 200);
    child<QPushButton>(&dlg, "pushButtonOK")->click();
    fillPaper(dlg, QStringLiteral("Flat"), 300, 0);
    child<QPushButton>(&dlg, "pushButtonOK")->click();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(s.papers.size(), before);
}

TEST(WarningsDialogTest, ListsItemsInOrderWithTheirIcons)
{
    ErrorWarningItem warning(1, QStringLiteral("Version"), QStringLiteral("No version"));
    ErrorWarningItem error(0, QStringLiteral("Page Size"), QStringLiteral("Too large"));
    ErrorWarningItem info(2, QStringLiteral("Patch Size"), QStringLiteral("Bigger than needed"));
    WarningsDialog dlg(nullptr, {&warning, &error, &info});
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Warnings and errors"));
    auto *table = child<QTableWidget>(&dlg, "tableWidget");
    ASSERT_EQ(table->rowCount(), 3);
    ASSERT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Title"));
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("Description"));
    EXPECT_TRUE(table->verticalHeader()->isHidden());
    EXPECT_TRUE(table->horizontalHeader()->stretchLastSection());

    const QList<ErrorWarningItem *> order{&warning, &error, &info};
    for (int row = 0; row < 3; ++row) {
        const QTableWidgetItem *title = table->item(row, 0);
        const QTableWidgetItem *description = table->item(row, 1);
        ASSERT_TRUE(title && description);
        EXPECT_EQ(title->text(), order[row]->title());
        EXPECT_EQ(description->text(), order[row]->description());
        EXPECT_FALSE(title->flags() & Qt::ItemIsEditable);
        EXPECT_FALSE(description->flags() & Qt::ItemIsEditable);
        EXPECT_TRUE(description->icon().isNull());
        EXPECT_EQ(title->icon().pixmap(16).toImage(),
                  WarningsDialog::iconForKind(order[row]->kind()).pixmap(16).toImage());
    }
    // The three kinds look different, so the comparison above tells them apart.
    const QImage e = WarningsDialog::iconForKind(0).pixmap(16).toImage();
    const QImage w = WarningsDialog::iconForKind(1).pixmap(16).toImage();
    const QImage i = WarningsDialog::iconForKind(2).pixmap(16).toImage();
    EXPECT_FALSE(e.isNull());
    EXPECT_NE(e, w);
    EXPECT_NE(w, i);
    EXPECT_NE(e, i);
    EXPECT_EQ(WarningsDialog::iconForKind(7).pixmap(16).toImage(), i);

    child<QPushButton>(&dlg, "okButton")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(WarningsDialogTest, EmptyListShowsAnEmptyTable)
{
    WarningsDialog dlg(nullptr, {});
    EXPECT_EQ(child<QTableWidget>(&dlg, "tableWidget")->rowCount(), 0);
}

int main(int argc, char **argv)
{
    // Test discovery runs this program without the test environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
