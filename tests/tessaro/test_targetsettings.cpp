// Defaults, factory papers, paper equality and the shared geometry of TargetSettings.
#include "PaperSize.h"
#include "TargetSettings.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(TargetSettingsDefaults, NumbersAndSizes)
{
    const TargetSettings s;
    struct Case { const char *field; double actual; double expected; };
    const Case cases[] = {
        {"patchesX", double(s.patchesX), 45},
        {"patchesY", double(s.patchesY), 33},
        {"desiredPatchesX", double(s.desiredPatchesX), 0},
        {"desiredPatchesY", double(s.desiredPatchesY), 0},
        {"columnLimit", double(s.columnLimit), 0},
        {"rowLimit", double(s.rowLimit), 0},
        {"patchCount", double(s.patchCount), 1485},
        {"targetSize.w", s.targetSize.width(), 220000},
        {"targetSize.h", s.targetSize.height(), 170000},
        {"pageSize.w", s.pageSize.width(), 297000},
        {"pageSize.h", s.pageSize.height(), 210000},
        {"scaleFactor", s.scaleFactor, 0.001},
        {"numberOfPages", double(s.numberOfPages), 1},
        {"patchMarginX", s.patchMarginX, 500},
        {"patchMarginY", s.patchMarginY, 500},
        {"patchSizeX", s.patchSizeX, 5500},
        {"patchSizeY", s.patchSizeY, 5500},
        {"minPatchSizeX", s.minPatchSizeX, 5500},
        {"minPatchSizeY", s.minPatchSizeY, 5500},
        {"borderLeft", s.borderLeft, 0},
        {"borderRight", s.borderRight, 0},
        {"borderTop", s.borderTop, 0},
        {"borderBottom", s.borderBottom, 0},
        {"resolution (unset)", double(s.resolution), 0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(c.actual, c.expected) << c.field;
}

TEST(TargetSettingsDefaults, FlagsSelectVestraWithEightMillimetreAperture)
{
    const TargetSettings s;
    struct Case { const char *field; bool actual; bool expected; };
    const Case cases[] = {
        {"deviceDesk", s.deviceDesk, false},
        {"devicePrinton", s.devicePrinton, false},
        {"deviceVestra", s.deviceVestra, true},
        {"deviceVestrazq", s.deviceVestrazq, false},
        {"deviceVestrazqTextile", s.deviceVestrazqTextile, false},
        {"devicePendra", s.devicePendra, false},
        {"useRGB", s.useRGB, true},
        {"useCMYK", s.useCMYK, false},
        {"useNColor", s.useNColor, false},
        {"aperture2mm", s.aperture2mm, false},
        {"aperture6mm", s.aperture6mm, false},
        {"aperture8mm", s.aperture8mm, true},
        {"autopositioning", s.autopositioning, true},
        {"manualPosVestra", s.manualPosVestra, true},
        {"manualPosPendra", s.manualPosPendra, false},
        {"startingLinesTintoraDesk", s.startingLinesTintoraDesk, false},
        {"blackWhiteSeparators", s.blackWhiteSeparators, false},
        {"autopositioningBorders", s.autopositioningBorders, false},
        {"unscaledText", s.unscaledText, false},
        {"showLeftHeader", s.showLeftHeader, true},
        {"showReferenceArea", s.showReferenceArea, true},
        {"showRightHeader", s.showRightHeader, false},
        {"invertHorizontal", s.invertHorizontal, false},
        {"invertVertical", s.invertVertical, false},
        {"rowByRow", s.rowByRow, true},
        {"fillPage", s.fillPage, true},
        {"advancedMode", s.advancedMode, false},
        {"useReferenceID", s.useReferenceID, true},
        {"useReferenceName", s.useReferenceName, false},
        {"random", s.random, false},
        {"verificationPatches", s.verificationPatches, false},
        {"optimizeTilePosition", s.optimizeTilePosition, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.field;
}

TEST(TargetSettingsDefaults, TextsAreEmpty)
{
    const TargetSettings s;
    for (const QString *text : {&s.printerMedia, &s.targetName, &s.targetVersion, &s.comment,
                                &s.referenceFile, &s.referenceFileName, &s.reservedText,
                                &s.previewFile})
        EXPECT_TRUE(text->isEmpty());
}

struct FactoryPaper
{
    const char *name;
    int width, height;
    double top, bottom, left, right;
};

const FactoryPaper kFactory[] = {
    {"A4", 297000, 210000, 0, 0, 0, 0},
    {"Tintoradesk", 500000, 235000, 0, 0, 0, 0},
    {"Tintoradesk Flatbed", 500000, 410000, 0, 0, 0, 0},
    {"Tintora Vestra zq", 305000, 230000, 0, 0, 0, 0},
    {"Tintora Vestra zq textile", 405000, 330000, 50000, 50000, 50000, 50000},
    {"Tintora Vestra wrn model", 330000, 255000, 0, 45000, 10000, 45000},
    {"Tintora Pendra zq", 750000, 220000, 0, 0, 0, 0},
};

void expectFactoryList(const QList<PaperSize> &papers)
{
    ASSERT_EQ(papers.size(), 7);
    for (int i = 0; i < 7; ++i) {
        const FactoryPaper &f = kFactory[i];
        const PaperSize &p = papers[i];
        EXPECT_EQ(p.name, QString::fromUtf8(f.name)) << i;
        EXPECT_EQ(p.width, f.width) << f.name;
        EXPECT_EQ(p.height, f.height) << f.name;
        EXPECT_EQ(p.borderTop, f.top) << f.name;
        EXPECT_EQ(p.borderBottom, f.bottom) << f.name;
        EXPECT_EQ(p.borderLeft, f.left) << f.name;
        EXPECT_EQ(p.borderRight, f.right) << f.name;
        EXPECT_FALSE(p.selected) << f.name;
    }
}

TEST(TargetSettingsPapers, FactoryListInOrder)
{
    const TargetSettings s;
    expectFactoryList(s.papers);
    expectFactoryList(s.factoryPapers());
    EXPECT_EQ(s.papers[0], s.paperA4);
    EXPECT_EQ(s.papers[1], s.paperTintoraDesk);
    EXPECT_EQ(s.papers[2], s.paperTintoraDeskFlatbed);
    EXPECT_EQ(s.papers[3], s.paperVestrazq);
    EXPECT_EQ(s.papers[4], s.paperVestrazqTextile);
    EXPECT_EQ(s.papers[5], s.paperVestraWrn);
    EXPECT_EQ(s.papers[6], s.paperPendrazq);
    EXPECT_EQ(s.pageSize, QSizeF(s.paperA4.width, s.paperA4.height));
}

TEST(TargetSettingsPapers, RestoreFactoryListReplacesUserPapersAndSelection)
{
    TargetSettings s;
    s.papers.removeFirst();
    s.papers[0].selected = true;
    s.papers.append(PaperSize(QStringLiteral("Mine"), 100000, 100000));
    s.restoreFactoryPapers();
    expectFactoryList(s.papers);
}

TEST(TargetSettingsPapers, FactoryMembersSurviveDeletionFromList)
{
    TargetSettings s;
    s.papers.clear();
    EXPECT_EQ(s.paperA4.name, QStringLiteral("A4"));
    s.restoreFactoryPapers();
    expectFactoryList(s.papers);
}

TEST(PaperSize, ComboText)
{
    struct Case { PaperSize paper; const char *text; };
    const Case cases[] = {
        {PaperSize(QStringLiteral("A4"), 297000, 210000), "A4 (297x210)"},
        {PaperSize(QStringLiteral("Half"), 297500, 105250), "Half (297.5x105.25)"},
        {PaperSize(QStringLiteral("Odd"), 1234567, 1), "Odd (1234.57x0.001)"},
        {PaperSize(QStringLiteral("Huge"), 1234567890, 210000), "Huge (1.23457e+06x210)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.paper.comboText().toStdString(), c.text);
}

TEST(PaperSize, EqualityIgnoresSelectedOnly)
{
    const PaperSize base(QStringLiteral("P"), 100000, 200000, 1, 2, 3, 4, false);
    PaperSize selected = base;
    selected.selected = true;
    EXPECT_TRUE(base == selected);

    const std::function<void(PaperSize &)> changes[] = {
        [](PaperSize &p) { p.name = QStringLiteral("Q"); },
        [](PaperSize &p) { p.width += 1; },
        [](PaperSize &p) { p.height += 1; },
        [](PaperSize &p) { p.borderTop += 0.5; },
        [](PaperSize &p) { p.borderBottom += 0.5; },
        [](PaperSize &p) { p.borderLeft += 0.5; },
        [](PaperSize &p) { p.borderRight += 0.5; },
    };
    int index = 0;
    for (const auto &change : changes) {
        PaperSize other = base;
        change(other);
        EXPECT_TRUE(base != other) << "change " << index;
        ++index;
    }
}

TEST(TargetSettingsGeometry, HeaderOffsetAndPatchAreaOrigin)
{
    struct Case {
        const char *what;
        double borderLeft, borderTop;
        bool leftHeader, referenceArea, desk, autopositioning;
        QPoint header, origin;
    };
    const Case cases[] = {
        {"defaults", 0, 0, true, true, false, true, {50000, 7000}, {59000, 16000}},
        {"no header, no reference area", 0, 0, false, false, false, true, {8000, 7000}, {17000, 16000}},
        {"reference area alone counts once", 0, 0, false, true, false, false, {50000, 7000}, {50000, 7000}},
        {"desk", 0, 0, true, true, true, false, {63000, 7000}, {63000, 7000}},
        {"fractional borders truncate", 1500.9, 2999.99, true, false, false, true, {51500, 9999}, {60500, 18999}},
        {"pendra needs 10 mm with header", 10000, 0, true, false, false, false, {60000, 7000}, {60000, 7000}},
        {"negative borders truncate toward zero", -8000.5, -7000.5, false, false, false, false, {0, 0}, {0, 0}},
    };
    for (const Case &c : cases) {
        TargetSettings s;
        s.borderLeft = c.borderLeft;
        s.borderTop = c.borderTop;
        s.showLeftHeader = c.leftHeader;
        s.showReferenceArea = c.referenceArea;
        s.deviceDesk = c.desk;
        s.autopositioning = c.autopositioning;
        EXPECT_EQ(s.headerOffset(), c.header) << c.what;
        EXPECT_EQ(s.patchAreaOrigin(), c.origin) << c.what;
    }
}

TEST(TargetSettingsGeometry, HeaderOffsetOfAbsurdBorderDoesNotOverflow)
{
    TargetSettings s;
    s.borderLeft = 1e300;
    EXPECT_EQ(s.headerOffset().x(), std::numeric_limits<int>::max());
    EXPECT_EQ(s.patchAreaOrigin().x(), std::numeric_limits<int>::max());
}

TEST(TargetSettingsGeometry, BorderOriginAndPrintableSize)
{
    TargetSettings s;
    s.pageSize = QSizeF(330000, 255000);
    s.borderLeft = 10000;
    s.borderRight = 45000;
    s.borderTop = 1500.5;
    s.borderBottom = 45000;
    EXPECT_EQ(s.borderOrigin(), QPointF(10000, 1500.5));
    EXPECT_EQ(s.printableSize(), QSizeF(275000, 208499.5));
}

struct AreaCase
{
    const char *what;
    std::function<void(TargetSettings &)> setup;
    QSizeF expected;
};

TEST(TargetSettingsGeometry, AvailableTargetSize)
{
    auto noHeaders = [](TargetSettings &s) {
        s.showLeftHeader = false;
        s.showReferenceArea = false;
    };
    const AreaCase cases[] = {
        // Vestra 8 mm on A4 with header, reference area and autopositioning.
        {"vestra on A4", [](TargetSettings &) {}, {231000, 187000}},
        {"borders", [](TargetSettings &s) {
             s.borderLeft = 1000; s.borderRight = 2000; s.borderTop = 3000; s.borderBottom = 4000;
         }, {228000, 180000}},
        {"vestra cap with header", [](TargetSettings &s) { s.pageSize = QSizeF(500000, 410000); },
         {250000, 230000}},
        {"vestra cap with autopositioning", [&](TargetSettings &s) {
             noHeaders(s); s.pageSize = QSizeF(500000, 410000);
         }, {300000, 230000}},
        {"vestra zq cap, no autopositioning", [&](TargetSettings &s) {
             noHeaders(s); s.autopositioning = false; s.deviceVestra = false; s.deviceVestrazq = true;
             s.pageSize = QSizeF(500000, 410000);
         }, {305000, 230000}},
        {"vestra cap, no autopositioning", [&](TargetSettings &s) {
             noHeaders(s); s.autopositioning = false; s.pageSize = QSizeF(500000, 410000);
         }, {295000, 209000}},
        {"textile grows after the cap", [](TargetSettings &s) {
             s.deviceVestra = false; s.deviceVestrazq = true; s.deviceVestrazqTextile = true;
             s.pageSize = QSizeF(500000, 410000);
         }, {250000, 253000}},
        {"textile without autopositioning", [](TargetSettings &s) {
             s.deviceVestra = false; s.deviceVestrazq = true; s.deviceVestrazqTextile = true;
             s.autopositioning = false; s.pageSize = QSizeF(500000, 410000);
         }, {250000, 241000}},
        {"desk: furniture, no cap", [](TargetSettings &s) {
             s.deviceVestra = false; s.deviceDesk = true; s.autopositioning = false;
             s.startingLinesTintoraDesk = true; s.showReferenceArea = false;
             s.pageSize = QSizeF(500000, 410000);
         }, {500000 - 15000 - 2000 - 42000 - 19000, 410000 - 14000 - 8000}},
        {"pendra with right header, no cap", [](TargetSettings &s) {
             s.deviceVestra = false; s.devicePendra = true; s.showRightHeader = true;
             s.pageSize = QSizeF(650000, 220000);
         }, {650000 - 15000 - 42000 - 22000 - 9000, 220000 - 14000 - 9000}},
        {"vestra and pendra together are not capped", [](TargetSettings &s) {
             s.devicePendra = true; s.pageSize = QSizeF(500000, 410000);
         }, {500000 - 15000 - 42000 - 9000, 410000 - 14000 - 9000}},
        {"tiny paper goes negative", [](TargetSettings &s) { s.pageSize = QSizeF(10000, 10000); },
         {10000 - 15000 - 42000 - 9000, 10000 - 14000 - 9000}},
    };
    for (const AreaCase &c : cases) {
        TargetSettings s;
        c.setup(s);
        EXPECT_EQ(s.availableTargetSize(), c.expected) << c.what;
    }
}

TEST(TargetSettingsGeometry, VerificationPatchCount)
{
    TargetSettings s;
    s.patchesX = 10;
    s.patchesY = 10;
    EXPECT_EQ(s.verificationPatchCount(), 0);
    s.verificationPatches = true;
    EXPECT_EQ(s.verificationPatchCount(), 36);
    s.patchesX = 45;
    s.patchesY = 33;
    EXPECT_EQ(s.verificationPatchCount(), 2 * 45 + 2 * 33 - 4);
}

} // namespace
