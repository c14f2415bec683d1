// Paper list and paper combo: selection, the border edits, the instrument's
// paper, A4 taken out for the Desk family in Easy mode, adding and deleting.
#include "InstrumentCatalogue.h"
#include "PaperCatalogue.h"
#include "TargetSettings.h"

#include <gtest/gtest.h>

namespace {

// The main window's deviceSelected: defaults, then the papers.
void chooseInstrument(TargetSettings &s, PaperCatalogue &papers, DevOption option)
{
    InstrumentCatalogue::applyDefaults(s, option);
    papers.ResetPaperSizeSettings(option);
}

int indexOfName(const TargetSettings &s, const QString &name)
{
    for (int i = 0; i < s.papers.size(); ++i) {
        if (s.papers[i].name == name)
            return i;
    }
    return -1;
}

int selectedCount(const TargetSettings &s)
{
    int n = 0;
    for (const PaperSize &p : s.papers)
        n += p.selected ? 1 : 0;
    return n;
}

} // namespace

TEST(PaperComboTest, TextsAndFillSelectsTheStoredPaper)
{
    TargetSettings s;
    PaperCatalogue papers(&s);
    const QStringList texts = papers.comboTexts();
    ASSERT_EQ(texts.size(), 7);
    EXPECT_EQ(texts[0], QStringLiteral("A4 (297x210)"));
    EXPECT_EQ(texts[1], QStringLiteral("Tintoradesk (500x235)"));

    s.papers[3].selected = true;
    s.borderLeft = 1234;
    papers.fillCombo();
    EXPECT_EQ(papers.currentIndex(), 3);
    EXPECT_EQ(s.pageSize, QSizeF(305000, 230000));
    EXPECT_DOUBLE_EQ(s.borderLeft, 1234); // the fill leaves the borders alone

    for (PaperSize &p : s.papers)
        p.selected = false;
    papers.fillCombo();
    EXPECT_EQ(papers.currentIndex(), 0);
    EXPECT_EQ(s.pageSize, QSizeF(297000, 210000));

    s.papers.clear();
    papers.fillCombo();
    EXPECT_EQ(papers.currentIndex(), -1);
    EXPECT_TRUE(papers.comboTexts().isEmpty());
}

TEST(PaperSelectionTest, SelectingTakesSizeAndBorders)
{
    TargetSettings s;
    PaperCatalogue papers(&s);
    const int textile = indexOfName(s, QStringLiteral("Tintora Vestra zq textile"));
    ASSERT_GE(textile, 0);
    ASSERT_TRUE(papers.selectPaper(textile));
    EXPECT_EQ(s.pageSize, QSizeF(405000, 330000));
    EXPECT_DOUBLE_EQ(s.borderLeft, 50000);
    EXPECT_DOUBLE_EQ(s.borderRight, 50000);
    EXPECT_DOUBLE_EQ(s.borderTop, 50000);
    EXPECT_DOUBLE_EQ(s.borderBottom, 50000);
    EXPECT_EQ(selectedCount(s), 1);
    EXPECT_TRUE(s.papers[textile].selected);
    EXPECT_EQ(papers.currentPaper(), s.papers[textile]);
    EXPECT_EQ(PaperCatalogue::borderText(s.borderTop), QStringLiteral("50"));

    EXPECT_FALSE(papers.selectPaper(7));
    EXPECT_FALSE(papers.selectPaper(-1));
    EXPECT_EQ(papers.currentIndex(), textile);
}

TEST(PaperBordersTest, SetChangesTheTargetButNotTheStoredPaper)
{
    TargetSettings s;
    PaperCatalogue papers(&s);
    const int wrn = indexOfName(s, QStringLiteral("Tintora Vestra wrn model"));
    papers.selectPaper(wrn);
    papers.setBorders(QStringLiteral("12.5"), QStringLiteral("3"), QStringLiteral("abc"),
                      QStringLiteral(" 0.25 "));
    EXPECT_DOUBLE_EQ(s.borderTop, 12500);
    EXPECT_DOUBLE_EQ(s.borderLeft, 3000);
    EXPECT_DOUBLE_EQ(s.borderRight, 0); // not a number
    EXPECT_DOUBLE_EQ(s.borderBottom, 250);
    EXPECT_EQ(s.papers[wrn], s.paperVestraWrn);
    EXPECT_DOUBLE_EQ(s.papers[wrn].borderBottom, 45000);

    // Choosing the paper again brings its own borders back.
    papers.selectPaper(wrn);
    EXPECT_DOUBLE_EQ(s.borderTop, 0);
    EXPECT_DOUBLE_EQ(s.borderLeft, 10000);
    EXPECT_DOUBLE_EQ(s.borderBottom, 45000);
}

TEST(InstrumentPaperTest, DeskSwapInEasyModeAndA4ComesBack)
{
    TargetSettings s;
    s.advancedMode = false;
    PaperCatalogue papers(&s);
    papers.fillCombo();

    chooseInstrument(s, papers, DevOption::TintoraDesk);
    EXPECT_TRUE(papers.a4Removed());
    EXPECT_EQ(indexOfName(s, QStringLiteral("A4")), -1);
    EXPECT_EQ(s.papers.size(), 6);
    ASSERT_GE(papers.currentIndex(), 0);
    EXPECT_EQ(s.papers[papers.currentIndex()].name, QStringLiteral("Tintoradesk"));
    EXPECT_EQ(s.pageSize, QSizeF(500000, 235000));
    EXPECT_EQ(selectedCount(s), 1);
    EXPECT_EQ(papers.comboTexts().size(), s.papers.size());

    chooseInstrument(s, papers, DevOption::TintoraVestra6mm);
    EXPECT_FALSE(papers.a4Removed());
    ASSERT_EQ(s.papers.size(), 7);
    EXPECT_EQ(s.papers[0], s.paperA4);
    EXPECT_EQ(papers.currentIndex(), 0);
    EXPECT_TRUE(s.papers[0].selected);
    EXPECT_EQ(selectedCount(s), 1);
    EXPECT_EQ(s.pageSize, QSizeF(297000, 210000));
    EXPECT_EQ(papers.comboTexts().first(), QStringLiteral("A4 (297x210)"));
}

TEST(InstrumentPaperTest, AdvancedModeKeepsA4ForTheDesk)
{
    TargetSettings s;
    s.advancedMode = true;
    PaperCatalogue papers(&s);
    papers.fillCombo();
    chooseInstrument(s, papers, DevOption::TintoraDesk);
    EXPECT_FALSE(papers.a4Removed());
    EXPECT_EQ(indexOfName(s, QStringLiteral("A4")), 0);
    EXPECT_EQ(s.papers[papers.currentIndex()].name, QStringLiteral("Tintoradesk"));

    // Easy mode with A4 out, then Advanced mode switched on: A4 returns.
    TargetSettings e;
    PaperCatalogue easy(&e);
    easy.fillCombo();
    chooseInstrument(e, easy, DevOption::TintoraDesk);
    ASSERT_TRUE(easy.a4Removed());
    e.advancedMode = true;
    easy.ResetPaperSizeSettings(DevOption::TintoraDesk);
    EXPECT_FALSE(easy.a4Removed());
    EXPECT_EQ(e.papers[0], e.paperA4);
    EXPECT_FALSE(e.papers[0].selected);
    EXPECT_EQ(e.papers[easy.currentIndex()].name, QStringLiteral("Tintoradesk"));
}

TEST(InstrumentPaperTest, TextileAddsItsDeletedPaperAtTheTop)
{
    TargetSettings s;
    PaperCatalogue papers(&s);
    papers.fillCombo();
    const int textile = indexOfName(s, QStringLiteral("Tintora Vestra zq textile"));
    ASSERT_TRUE(papers.deletePaper(textile, DevOption::TintoraVestra8mm));
    EXPECT_EQ(indexOfName(s, QStringLiteral("Tintora Vestra zq textile")), -1);

    chooseInstrument(s, papers, DevOption::TintoraVestraZqTextile);
    ASSERT_EQ(indexOfName(s, QStringLiteral("Tintora Vestra zq textile")), 0);
    EXPECT_EQ(papers.currentIndex(), 0);
    EXPECT_EQ(s.pageSize, QSizeF(405000, 330000));
    EXPECT_DOUBLE_EQ(s.borderLeft, 50000);
    EXPECT_DOUBLE_EQ(s.borderBottom, 50000);
    EXPECT_EQ(selectedCount(s), 1);

    // Plain Vestra zq instruments print on their own 305 x 230 paper.
    chooseInstrument(s, papers, DevOption::TintoraVestraZq6mm);
    EXPECT_EQ(s.papers[papers.currentIndex()].name, QStringLiteral("Tintora Vestra zq"));
    EXPECT_EQ(s.pageSize, QSizeF(305000, 230000));
    EXPECT_DOUBLE_EQ(s.borderLeft, 0);
}

TEST(InstrumentPaperTest, PendraUsesA4)
{
    TargetSettings s;
    PaperCatalogue papers(&s);
    papers.fillCombo();
    papers.selectPaper(indexOfName(s, QStringLiteral("Tintora Pendra zq")));
    chooseInstrument(s, papers, DevOption::TintoraPendrazq6mm);
    EXPECT_EQ(s.papers[papers.currentIndex()].name, QStringLiteral("A4"));
    EXPECT_EQ(s.pageSize, QSizeF(297000, 210000));
}

TEST(PaperDeleteTest, DeletingTheLastPaperAddsTheInstrumentPaper)
{
    TargetSettings s;
    InstrumentCatalogue::applyDefaults(s, DevOption::TintoraDesk);
    s.papers = {PaperSize(QStringLiteral("Mine"), 100000, 100000)};
    PaperCatalogue papers(&s);
    papers.fillCombo();
    EXPECT_FALSE(papers.deletePaper(1, DevOption::TintoraDesk));
    ASSERT_TRUE(papers.deletePaper(0, DevOption::TintoraDesk));
    ASSERT_EQ(s.papers.size(), 1);
    EXPECT_EQ(s.papers[0], s.paperTintoraDesk);
    EXPECT_TRUE(s.papers[0].selected);
    EXPECT_EQ(papers.currentIndex(), 0);
    EXPECT_EQ(s.pageSize, QSizeF(500000, 235000));
}

TEST(PaperDeleteTest, DeletingAnotherPaperKeepsTheCurrentOne)
{
    TargetSettings s;
    PaperCatalogue papers(&s);
    papers.fillCombo();
    papers.selectPaper(3);
    const PaperSize current = s.papers[3];
    ASSERT_TRUE(papers.deletePaper(1, DevOption::TintoraVestra8mm));
    EXPECT_EQ(papers.currentIndex(), 2);
    EXPECT_EQ(s.papers[2], current);

    // Deleting the current paper moves the combo to the paper in its place.
    ASSERT_TRUE(papers.deletePaper(2, DevOption::TintoraVestra8mm));
    EXPECT_EQ(papers.currentIndex(), 2);
    EXPECT_TRUE(s.papers[2].selected);
    EXPECT_EQ(s.pageSize, QSizeF(s.papers[2].width, s.papers[2].height));
}

TEST(PaperAddTest, DuplicatesAreRefusedAndNamesAloneDoNotMatch)
{
    TargetSettings s;
    const PaperSize test(QStringLiteral("Test"), 300000, 200000);
    EXPECT_TRUE(PaperCatalogue::addPaper(s, test));
    EXPECT_FALSE(PaperCatalogue::addPaper(s, test));
    EXPECT_EQ(s.papers.size(), 8);
    PaperSize bordered = test;
    bordered.borderLeft = 1000;
    EXPECT_TRUE(PaperCatalogue::addPaper(s, bordered));
    // A user A4 of another size is kept beside the factory A4.
    EXPECT_TRUE(PaperCatalogue::addPaper(s, PaperSize(QStringLiteral("A4"), 210000, 297000)));
    EXPECT_EQ(s.papers.size(), 10);
}
