// Layout validation: the instrument limits in their fixed order, the version
// warning and the counters.
#include "InstrumentCatalogue.h"
#include "LayoutValidation.h"
#include "PageLayout.h"
#include "TargetSettings.h"

#include <gtest/gtest.h>

namespace {

using F = ValidationFinding;

// A target of `option` on the given page, laid out, with a version typed in.
TargetSettings laidOut(DevOption option, QSizeF page, int patches = 200)
{
    TargetSettings s;
    InstrumentCatalogue::applyDefaults(s, option);
    s.pageSize = page;
    s.borderLeft = s.borderRight = s.borderTop = s.borderBottom = 0;
    s.patchCount = patches;
    s.targetVersion = QStringLiteral("1.0");
    PageLayout::runLayout(s);
    return s;
}

QList<F> withTitle(const QList<F> &all, const QString &title)
{
    QList<F> out;
    for (const F &f : all) {
        if (f.title == title)
            out.append(f);
    }
    return out;
}

const QSizeF kA4(297000, 210000);
const QSizeF kA3(420000, 297000);

} // namespace

TEST(ValidationTest, WithoutReferenceOnlyOpenReference)
{
    TargetSettings s;
    s.targetVersion.clear();
    const QList<F> list = LayoutValidation::findings(s, false);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0], (F{F::eError, QStringLiteral("Open Reference"),
                          QStringLiteral("Use the Browse button to open a reference file.")}));
    const ValidationCounts c = LayoutValidation::counts(list);
    EXPECT_EQ(c.errors, 1);
    EXPECT_EQ(c.warnings, 0);
    EXPECT_EQ(c.infos, 0);
}

TEST(ValidationTest, CleanVestraTargetHasNoFindings)
{
    const TargetSettings s = laidOut(DevOption::TintoraVestra8mm, kA4);
    EXPECT_TRUE(LayoutValidation::findings(s, true).isEmpty());
}

TEST(ValidationTest, VersionWarningComesAndGoes)
{
    TargetSettings s = laidOut(DevOption::TintoraVestra8mm, kA4);
    s.targetVersion.clear();
    const QList<F> list = LayoutValidation::findings(s, true);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0], (F{F::eWarning, QStringLiteral("Version"),
                          QStringLiteral("No target version given. Please enter a version number in the right pane.")}));
    s.targetVersion = QStringLiteral("x");
    EXPECT_TRUE(LayoutValidation::findings(s, true).isEmpty());
}

TEST(ValidationTest, VestraOnA3GivesOnePageSizeError)
{
    const TargetSettings s = laidOut(DevOption::TintoraVestra8mm, kA3);
    const QList<F> pageSize = withTitle(LayoutValidation::findings(s, true), QStringLiteral("Page Size"));
    ASSERT_EQ(pageSize.size(), 1);
    EXPECT_EQ(pageSize[0].kind, F::eError);
    EXPECT_EQ(pageSize[0].description,
              QStringLiteral("The maximum page size for Tintora Vestra is 297x210 mm"));
}

struct PageCase
{
    DevOption option;
    QSizeF page;
    const char *text; // nullptr: no page size finding
};

class PageSizeLimitTest : public testing::TestWithParam<PageCase> {};

TEST_P(PageSizeLimitTest, OneFindingOfTheInstrument)
{
    const PageCase &p = GetParam();
    const TargetSettings s = laidOut(p.option, p.page);
    const QList<F> pageSize = withTitle(LayoutValidation::findings(s, true), QStringLiteral("Page Size"));
    if (!p.text) {
        EXPECT_TRUE(pageSize.isEmpty());
        return;
    }
    ASSERT_EQ(pageSize.size(), 1);
    EXPECT_EQ(pageSize[0].description, QString::fromLatin1(p.text));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageSizeLimitTest,
    testing::Values(
        PageCase{DevOption::TintoraVestraZq8mm, QSizeF(305000, 230000), nullptr},
        PageCase{DevOption::TintoraVestraZq8mm, QSizeF(305001, 230000),
                 "The maximum page size for Tintora Vestra is 305x230 mm"},
        PageCase{DevOption::TintoraVestra6mm, QSizeF(297000, 210001),
                 "The maximum page size for Tintora Vestra is 297x210 mm"},
        PageCase{DevOption::TintoraPendra, QSizeF(750000, 220000),
                 "The maximum page size for Tintora Pendra, Pendra zq 2 mm and Pendra zq 6 mm is 650x220 mm"},
        PageCase{DevOption::TintoraPendra, QSizeF(119000, 210000),
                 "The minimum page size for Tintora Vestra and Pendra, Pendra zq 2 mm and Pendra zq 6 mm is 120x70 mm"},
        PageCase{DevOption::TintoraDesk, QSizeF(900000, 50000), nullptr},
        // Custom has every flag: the Vestra zq maximum applies.
        PageCase{DevOption::Custom, QSizeF(420000, 297000),
                 "The maximum page size for Tintora Vestra is 305x230 mm"}));

TEST(ValidationTest, CustomWith8mmRaisesThePendraApertureWarning)
{
    TargetSettings s;
    s.aperture2mm = false;
    s.aperture6mm = false;
    s.aperture8mm = true;
    InstrumentCatalogue::applyDefaults(s, DevOption::Custom);
    s.pageSize = kA4;
    s.targetVersion = QStringLiteral("1");
    PageLayout::runLayout(s);
    const QList<F> aperture = withTitle(LayoutValidation::findings(s, true), QStringLiteral("Aperture"));
    ASSERT_EQ(aperture.size(), 1);
    EXPECT_EQ(aperture[0], (F{F::eWarning, QStringLiteral("Aperture"),
                              QStringLiteral("Tintora Pendra has only 2mm aperture mode")}));
}

TEST(ValidationTest, NoApertureAsksForOne)
{
    TargetSettings s = laidOut(DevOption::TintoraVestra8mm, kA4);
    s.aperture8mm = false;
    const QList<F> list = LayoutValidation::findings(s, true);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].description, QStringLiteral("Select an aperture mode for better target info"));
}

TEST(ValidationTest, PrintonSmallPatchGivesOnlyThePrintonWarning)
{
    TargetSettings s = laidOut(DevOption::TintoraDeskPrinton, QSizeF(500000, 235000));
    ASSERT_TRUE(s.aperture2mm);
    s.patchSizeX = 6000;
    s.patchSizeY = 12000;
    const QList<F> patch = withTitle(LayoutValidation::findings(s, true), QStringLiteral("Patch Size"));
    ASSERT_EQ(patch.size(), 1);
    EXPECT_EQ(patch[0], (F{F::eWarning, QStringLiteral("Patch Size"),
                           QStringLiteral("The minimum patch size for TintoraDesk Printon with 2mm aperture is 7x12 mm")}));
    s.patchSizeX = 7000;
    EXPECT_TRUE(withTitle(LayoutValidation::findings(s, true), QStringLiteral("Patch Size")).isEmpty());
}

struct PatchCase
{
    DevOption option;
    double x, y, marginY;
    const char *text; // nullptr: no patch size warning
};

class PatchChainTest : public testing::TestWithParam<PatchCase> {};

TEST_P(PatchChainTest, FirstApplicableStepDecides)
{
    const PatchCase &p = GetParam();
    TargetSettings s = laidOut(p.option, kA4, 10);
    s.numberOfPages = 1;
    s.patchSizeX = p.x;
    s.patchSizeY = p.y;
    s.patchMarginY = p.marginY;
    const QList<F> patch = withTitle(LayoutValidation::findings(s, true), QStringLiteral("Patch Size"));
    if (!p.text) {
        EXPECT_TRUE(patch.isEmpty());
        return;
    }
    ASSERT_EQ(patch.size(), 1);
    EXPECT_EQ(patch[0].description, QString::fromLatin1(p.text));
}

INSTANTIATE_TEST_SUITE_P(
    Patches, PatchChainTest,
    testing::Values(
        PatchCase{DevOption::TintoraDesk, 11999, 12000, 0,
                  "The minimum patch size for TintoraDesk with 6mm aperture is 12x12 mm"},
        PatchCase{DevOption::TintoraPendra, 8000, 7999, 0,
                  "The minimum patch size for Tintora Pendra with 2mm aperture is 8x8 mm"},
        PatchCase{DevOption::TintoraPendrazq6mm, 9000, 10000, 0,
                  "The minimum patch size for Tintora Pendra with 6mm aperture is 10x10 mm"},
        PatchCase{DevOption::TintoraVestra2mm, 5999, 6000, 0,
                  "The minimum patch size for 2mm aperture is 6x6 mm"},
        PatchCase{DevOption::TintoraVestraZq6mm, 8000, 7000, 0,
                  "The minimum patch size for 6mm aperture is 8x8 mm"},
        PatchCase{DevOption::TintoraVestra8mm, 12000, 12500, 1000,
                  "The minimum patch size for 8mm aperture is 12x12 mm"},
        PatchCase{DevOption::TintoraVestra8mm, 12000, 13000, 1000, nullptr},
        // The textile instrument has all apertures: 2 mm is tried first.
        PatchCase{DevOption::TintoraVestraZqTextile, 7000, 7000, 1000, nullptr}));

TEST(ValidationTest, MultiPageHintTakes8mmBefore2mm)
{
    TargetSettings s = laidOut(DevOption::TintoraVestraZqTextile, QSizeF(305000, 230000));
    s.numberOfPages = 2;
    s.patchMarginX = s.patchMarginY = 1000;
    s.patchSizeX = s.patchSizeY = 7000; // above the 2 mm need, below the 8 mm one
    EXPECT_TRUE(withTitle(LayoutValidation::findings(s, true), QStringLiteral("Patch Size")).isEmpty());
    s.patchSizeX = 13000;
    const QList<F> patch = withTitle(LayoutValidation::findings(s, true), QStringLiteral("Patch Size"));
    ASSERT_EQ(patch.size(), 1);
    EXPECT_EQ(patch[0].kind, F::eInfo);
    s.numberOfPages = 1;
    EXPECT_TRUE(withTitle(LayoutValidation::findings(s, true), QStringLiteral("Patch Size")).isEmpty());
}

TEST(ValidationTest, PendraLeftBorder)
{
    const QString text = QStringLiteral(
        "The minimum left border for Tintora Pendra, Pendra zq 2 mm and Pendra zq 6 mm is 60mm");
    TargetSettings s = laidOut(DevOption::TintoraPendra, kA4);
    s.borderLeft = 40000;
    ASSERT_TRUE(s.showLeftHeader);
    s.showReferenceArea = false;
    EXPECT_TRUE(withTitle(LayoutValidation::findings(s, true), QStringLiteral("Left Border")).isEmpty());

    s.showLeftHeader = false;
    const QList<F> border = withTitle(LayoutValidation::findings(s, true), QStringLiteral("Left Border"));
    ASSERT_EQ(border.size(), 1);
    EXPECT_EQ(border[0], (F{F::eError, QStringLiteral("Left Border"), text}));

    s.borderLeft = 52000; // 52 + 8 = 60
    EXPECT_TRUE(withTitle(LayoutValidation::findings(s, true), QStringLiteral("Left Border")).isEmpty());
    s.borderLeft = 10000; // with the header: 10 + 8 + 42 = 60
    s.showLeftHeader = true;
    EXPECT_TRUE(withTitle(LayoutValidation::findings(s, true), QStringLiteral("Left Border")).isEmpty());
    s.borderLeft = 9999;
    EXPECT_EQ(withTitle(LayoutValidation::findings(s, true), QStringLiteral("Left Border")).size(), 1);
}

TEST(ValidationTest, FindingsInTheirFixedOrderAndCounted)
{
    TargetSettings s;
    InstrumentCatalogue::applyDefaults(s, DevOption::TintoraPendra);
    s.aperture2mm = false;
    s.aperture8mm = true;
    s.pageSize = QSizeF(100000, 60000);
    s.targetSize = QSizeF(40000, 60000);
    s.patchSizeX = 10000;
    s.patchSizeY = 12000;
    s.patchMarginY = 13000;
    s.numberOfPages = 3;
    s.targetVersion.clear();

    const QList<F> list = LayoutValidation::findings(s, true);
    QStringList titles;
    QList<int> kinds;
    for (const F &f : list) {
        titles << f.title;
        kinds << f.kind;
    }
    EXPECT_EQ(titles, (QStringList{"Page Size", "Target Size", "Aperture", "Patch Size",
                                   "Patch Size", "Left Border", "Version"}));
    EXPECT_EQ(kinds, (QList<int>{F::eError, F::eError, F::eWarning, F::eWarning, F::eInfo,
                                 F::eError, F::eWarning}));
    const ValidationCounts c = LayoutValidation::counts(list);
    EXPECT_EQ(c.errors, 3);
    EXPECT_EQ(c.warnings, 3);
    EXPECT_EQ(c.infos, 1);
}
