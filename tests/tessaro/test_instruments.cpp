// Instrument catalogue: defaults of each instrument, minimum patch size,
// restore of the combo entry from stored flags, option rules and the target
// area cap.
#include "DevOption.h"
#include "InstrumentCatalogue.h"
#include "TargetSettings.h"

#include <QBuffer>
#include <QDataStream>
#include <QMetaType>

#include <gtest/gtest.h>

namespace {

// Stands in for an instrument enumeration of another class in combo data.
enum OtherInstrumentEnum { OtherVestra8mm = 4, OtherBeyond = 40 };

} // namespace

Q_DECLARE_METATYPE(OtherInstrumentEnum)

namespace {

TargetSettings settingsFor(DevOption option)
{
    TargetSettings s;
    InstrumentCatalogue::applyDefaults(s, option);
    return s;
}

} // namespace

TEST(DevOptionTest, RegisteredUnderQualifiedNameAndStreamsAsInt32)
{
    registerDevOptionMetaType();
    const QMetaType type = QMetaType::fromName("Tessaro::DevOption");
    ASSERT_TRUE(type.isValid());
    EXPECT_EQ(type.id(), QMetaType::fromType<DevOption>().id());

    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << DevOption::TintoraVestraZqTextile;
    }
    ASSERT_EQ(bytes.size(), 4);
    EXPECT_EQ(bytes, QByteArray::fromHex("0000000b"));

    DevOption read = DevOption::TintoraDesk;
    QDataStream in(bytes);
    in >> read;
    EXPECT_EQ(in.status(), QDataStream::Ok);
    EXPECT_EQ(read, DevOption::TintoraVestraZqTextile);

    // 13 is not an instrument: the stream reports it and the value is kept.
    QDataStream bad(QByteArray::fromHex("0000000d"));
    DevOption kept = DevOption::TintoraPendra;
    bad >> kept;
    EXPECT_EQ(bad.status(), QDataStream::ReadCorruptData);
    EXPECT_EQ(kept, DevOption::TintoraPendra);
    EXPECT_LT(DevOption::TintoraDesk, DevOption::Custom);
}

TEST(DevOptionTest, ComboDataOutsideTheEnumerationIsRejected)
{
    DevOption option = DevOption::TintoraDesk;
    EXPECT_TRUE(devOptionFromVariant(QVariant::fromValue(DevOption::Custom), &option));
    EXPECT_EQ(option, DevOption::Custom);
    EXPECT_TRUE(devOptionFromVariant(QVariant(5), &option));
    EXPECT_EQ(option, DevOption::TintoraPendra);
    EXPECT_FALSE(devOptionFromVariant(QVariant(13), &option));
    EXPECT_FALSE(devOptionFromVariant(QVariant(-1), &option));
    EXPECT_FALSE(devOptionFromVariant(QVariant(), &option));
    EXPECT_FALSE(devOptionFromVariant(QVariant(QStringLiteral("Custom")), &option));
    EXPECT_EQ(option, DevOption::TintoraPendra);

    // Another enumeration with the same values is read by value.
    EXPECT_TRUE(devOptionFromVariant(QVariant::fromValue(OtherVestra8mm), &option));
    EXPECT_EQ(option, DevOption::TintoraVestra8mm);
    EXPECT_FALSE(devOptionFromVariant(QVariant::fromValue(OtherBeyond), &option));
}

TEST(InstrumentComboTest, EntriesInValueOrderWithCustomOnlyInAdvancedMode)
{
    const QList<ComboEntry> all = InstrumentCatalogue::comboEntries(true);
    ASSERT_EQ(all.size(), 13);
    const char *texts[] = {"TintoraDesk", "TintoraDesk Printon", "Tintora Vestra 2mm",
                           "Tintora Vestra 6mm", "Tintora Vestra 8mm", "Tintora Pendra",
                           "Tintora Pendra zq 2mm", "Tintora Pendra zq 6mm",
                           "Tintora Vestra zq 2mm", "Tintora Vestra zq 6mm",
                           "Tintora Vestra zq 8mm", "Tintora Vestra zq (textile)", "Custom"};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(all[i].text, QString::fromLatin1(texts[i]));
        EXPECT_EQ(static_cast<int>(all[i].option), i);
    }
    const QList<ComboEntry> easy = InstrumentCatalogue::comboEntries(false);
    ASSERT_EQ(easy.size(), 12);
    for (const ComboEntry &e : easy)
        EXPECT_NE(e.option, DevOption::Custom);
}

TEST(InstrumentDefaultsTest, TextileInstrument)
{
    TargetSettings s;
    const InstrumentControls c = InstrumentCatalogue::applyDefaults(s, DevOption::TintoraVestraZqTextile);
    EXPECT_TRUE(s.deviceVestrazq);
    EXPECT_TRUE(s.deviceVestrazqTextile);
    EXPECT_FALSE(s.deviceVestra || s.deviceDesk || s.devicePrinton || s.devicePendra);
    EXPECT_TRUE(s.aperture2mm && s.aperture6mm && s.aperture8mm);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 1000);
    EXPECT_DOUBLE_EQ(s.patchMarginY, 1000);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 16000);
    EXPECT_DOUBLE_EQ(s.minPatchSizeY, 16000);
    EXPECT_FALSE(s.autopositioning);
    EXPECT_FALSE(s.showLeftHeader);
    EXPECT_FALSE(s.showReferenceArea);
    EXPECT_FALSE(s.showRightHeader);
    EXPECT_TRUE(s.autopositioningBorders);
    EXPECT_TRUE(s.manualPosVestra);

    EXPECT_FALSE(c.autoPositioning.checked);
    EXPECT_TRUE(c.autoPositioning.enabled);
    EXPECT_TRUE(c.autopositioningBorders.checked);
    EXPECT_TRUE(c.autopositioningBorders.enabled);
    EXPECT_FALSE(c.includeLeftHeader.checked);
    EXPECT_TRUE(c.includeLeftHeader.enabled);
    EXPECT_FALSE(c.referenceArea.checked);
    EXPECT_TRUE(c.referenceArea.enabled);
    EXPECT_FALSE(c.includeRightHeader.enabled);
    EXPECT_TRUE(c.aperture2mm.checked && c.aperture6mm.checked && c.aperture8mm.checked);
    EXPECT_FALSE(c.aperture8mm.enabled);
}

struct MinimumCase
{
    DevOption option;
    double x, y;      // um
    bool a2, a6, a8;  // aperture flags after the defaults
};

class InstrumentMinimumTest : public testing::TestWithParam<MinimumCase> {};

TEST_P(InstrumentMinimumTest, ApertureAndMinimumPatchSize)
{
    const MinimumCase &m = GetParam();
    const TargetSettings s = settingsFor(m.option);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, m.x);
    EXPECT_DOUBLE_EQ(s.minPatchSizeY, m.y);
    EXPECT_EQ(s.aperture2mm, m.a2);
    EXPECT_EQ(s.aperture6mm, m.a6);
    EXPECT_EQ(s.aperture8mm, m.a8);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 0);
    EXPECT_DOUBLE_EQ(s.patchMarginY, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Instruments, InstrumentMinimumTest,
    testing::Values(MinimumCase{DevOption::TintoraDesk, 12000, 12000, false, true, false},
                    MinimumCase{DevOption::TintoraDeskPrinton, 7000, 12000, true, false, false},
                    MinimumCase{DevOption::TintoraVestra2mm, 6000, 6000, true, false, false},
                    MinimumCase{DevOption::TintoraVestra6mm, 8000, 8000, false, true, false},
                    MinimumCase{DevOption::TintoraVestra8mm, 12000, 12000, false, false, true},
                    MinimumCase{DevOption::TintoraPendra, 8000, 8000, true, false, false},
                    MinimumCase{DevOption::TintoraPendrazq2mm, 8000, 8000, true, false, false},
                    MinimumCase{DevOption::TintoraPendrazq6mm, 10000, 10000, false, true, false},
                    MinimumCase{DevOption::TintoraVestraZq2mm, 6000, 6000, true, false, false},
                    MinimumCase{DevOption::TintoraVestraZq6mm, 8000, 8000, false, true, false},
                    MinimumCase{DevOption::TintoraVestraZq8mm, 12000, 12000, false, false, true}));

TEST(InstrumentDefaultsTest, DeskFamilyOptions)
{
    TargetSettings s;
    s.autopositioning = true;
    s.showReferenceArea = true;
    const InstrumentControls c = InstrumentCatalogue::applyDefaults(s, DevOption::TintoraDeskPrinton);
    EXPECT_TRUE(s.deviceDesk && s.devicePrinton);
    EXPECT_FALSE(s.autopositioning);
    EXPECT_TRUE(s.startingLinesTintoraDesk);
    EXPECT_TRUE(s.blackWhiteSeparators);
    EXPECT_TRUE(c.blackWhiteSeparators.checked);
    EXPECT_FALSE(c.blackWhiteSeparators.enabled);
    EXPECT_TRUE(c.startingLinesDesk.enabled);
    EXPECT_FALSE(c.autoPositioning.enabled);
    EXPECT_TRUE(s.showLeftHeader);
    EXPECT_FALSE(s.showReferenceArea);
    EXPECT_FALSE(c.referenceArea.enabled);
}

TEST(InstrumentDefaultsTest, PendraShowsBothHeaders)
{
    const TargetSettings s = settingsFor(DevOption::TintoraPendra);
    EXPECT_TRUE(s.devicePendra);
    EXPECT_TRUE(s.showLeftHeader && s.showRightHeader && s.showReferenceArea);
    EXPECT_TRUE(s.manualPosPendra);
    EXPECT_FALSE(s.manualPosVestra);
}

TEST(InstrumentDefaultsTest, CustomSetsAllFlagsAndKeepsOptions)
{
    TargetSettings s;
    s.autopositioning = false;
    s.blackWhiteSeparators = true;
    s.showRightHeader = true;
    s.aperture2mm = false;
    s.aperture6mm = false;
    s.aperture8mm = true;
    s.patchMarginX = 700;
    const InstrumentControls c = InstrumentCatalogue::applyDefaults(s, DevOption::Custom);
    EXPECT_TRUE(s.deviceDesk && s.devicePrinton && s.deviceVestra && s.deviceVestrazq
                && s.deviceVestrazqTextile && s.devicePendra);
    EXPECT_FALSE(s.autopositioning);
    EXPECT_TRUE(s.blackWhiteSeparators);
    EXPECT_TRUE(s.showRightHeader);
    EXPECT_TRUE(s.aperture8mm);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 0);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 12000); // rule 3 with 8 mm
    EXPECT_TRUE(c.autoPositioning.enabled && c.blackWhiteSeparators.enabled
                && c.aperture2mm.enabled && c.aperture8mm.enabled && c.includeRightHeader.enabled);
    EXPECT_FALSE(c.autoPositioning.checked);
    EXPECT_TRUE(c.aperture8mm.checked);
}

TEST(MinimumPatchSizeTest, UncheckingTheLastApertureInCustomFallsBackTo2mm)
{
    TargetSettings s = settingsFor(DevOption::Custom);
    InstrumentCatalogue::setAperture(s, InstrumentCatalogue::Aperture2mm, false);
    InstrumentCatalogue::setAperture(s, InstrumentCatalogue::Aperture6mm, false);
    InstrumentCatalogue::setAperture(s, InstrumentCatalogue::Aperture8mm, false);
    EXPECT_TRUE(s.aperture2mm);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 6000);
    EXPECT_DOUBLE_EQ(s.minPatchSizeY, 6000);
    InstrumentCatalogue::setAperture(s, InstrumentCatalogue::Aperture6mm, true);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 8000);
}

TEST(MinimumPatchSizeTest, PendraWith8mmOnlyKeepsTheMinimum)
{
    TargetSettings s = settingsFor(DevOption::TintoraPendra);
    s.minPatchSizeX = 4321;
    s.minPatchSizeY = 1234;
    s.aperture2mm = false;
    InstrumentCatalogue::setAperture(s, InstrumentCatalogue::Aperture8mm, true);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 4321);
    EXPECT_DOUBLE_EQ(s.minPatchSizeY, 1234);
    EXPECT_FALSE(s.aperture2mm);
}

TEST(MinimumPatchSizeTest, DeskIgnoresTheApertures)
{
    TargetSettings s = settingsFor(DevOption::TintoraDesk);
    InstrumentCatalogue::setAperture(s, InstrumentCatalogue::Aperture6mm, false);
    InstrumentCatalogue::setAperture(s, InstrumentCatalogue::Aperture8mm, true);
    EXPECT_DOUBLE_EQ(s.minPatchSizeX, 12000);
    EXPECT_FALSE(s.aperture2mm);
}

struct RestoreCase
{
    const char *name;
    bool desk, printon, vestra, pendra, vestrazq;
    bool a2, a6, a8;
    DevOption expected;
};

class RestoreTest : public testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreTest, SelectionFromStoredFlags)
{
    const RestoreCase &r = GetParam();
    TargetSettings s;
    s.deviceDesk = r.desk;
    s.devicePrinton = r.printon;
    s.deviceVestra = r.vestra;
    s.devicePendra = r.pendra;
    s.deviceVestrazq = r.vestrazq;
    s.deviceVestrazqTextile = false;
    s.aperture2mm = r.a2;
    s.aperture6mm = r.a6;
    s.aperture8mm = r.a8;
    s.advancedMode = false;
    const DevOption got = InstrumentCatalogue::restoreSelection(s);
    EXPECT_EQ(got, r.expected) << r.name;
    const bool custom = r.expected == DevOption::Custom;
    EXPECT_EQ(s.advancedMode, custom) << r.name;
    if (custom) {
        EXPECT_TRUE(s.deviceDesk && s.devicePrinton && s.deviceVestra && s.deviceVestrazq
                    && s.deviceVestrazqTextile && s.devicePendra);
    } else {
        EXPECT_EQ(s.deviceDesk, r.desk) << r.name;
        EXPECT_EQ(s.devicePendra, r.pendra) << r.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, RestoreTest,
    testing::Values(
        RestoreCase{"desk", true, false, false, false, false, false, true, false, DevOption::TintoraDesk},
        RestoreCase{"printon", true, true, false, false, false, true, false, false, DevOption::TintoraDeskPrinton},
        RestoreCase{"printon without desk", false, true, false, false, false, true, false, false, DevOption::TintoraDeskPrinton},
        RestoreCase{"vestra 2", false, false, true, false, false, true, false, false, DevOption::TintoraVestra2mm},
        RestoreCase{"vestra 6", false, false, true, false, false, false, true, false, DevOption::TintoraVestra6mm},
        RestoreCase{"vestra 8", false, false, true, false, false, false, false, true, DevOption::TintoraVestra8mm},
        RestoreCase{"vestra two apertures", false, false, true, false, false, true, true, false, DevOption::Custom},
        RestoreCase{"vestra no aperture", false, false, true, false, false, false, false, false, DevOption::Custom},
        RestoreCase{"pendra zq 6", false, false, false, true, false, false, true, false, DevOption::TintoraPendra},
        RestoreCase{"zq 2", false, false, false, false, true, true, false, false, DevOption::TintoraVestraZq2mm},
        RestoreCase{"zq 8", false, false, false, false, true, false, false, true, DevOption::TintoraVestraZq8mm},
        RestoreCase{"zq textile", false, false, false, false, true, true, true, true, DevOption::TintoraVestraZqTextile},
        RestoreCase{"zq 2 and 8", false, false, false, false, true, true, false, true, DevOption::Custom},
        RestoreCase{"desk and vestra", true, false, true, false, false, false, false, true, DevOption::Custom},
        RestoreCase{"nothing", false, false, false, false, false, false, false, true, DevOption::Custom}));

TEST(InstrumentOptionsTest, RecognitionBordersLockSeparatorsAndKeepAGap)
{
    TargetSettings s;
    s.blackWhiteSeparators = true;
    s.patchMarginX = 0;
    s.patchMarginY = 500;
    EXPECT_FALSE(InstrumentCatalogue::setAutopositioningBorders(s, true));
    EXPECT_TRUE(s.autopositioningBorders);
    EXPECT_FALSE(s.blackWhiteSeparators);
    EXPECT_DOUBLE_EQ(s.patchMarginX, 200);
    EXPECT_DOUBLE_EQ(s.patchMarginY, 500);

    s.blackWhiteSeparators = true;
    EXPECT_TRUE(InstrumentCatalogue::setAutopositioningBorders(s, false));
    EXPECT_FALSE(s.autopositioningBorders);
    EXPECT_FALSE(s.blackWhiteSeparators);
}

TEST(TargetAreaCapTest, VestraCapsAndTextileBonus)
{
    // A paper large enough that only the cap decides.
    TargetSettings s = settingsFor(DevOption::TintoraVestra8mm);
    s.pageSize = QSizeF(900000, 900000);
    s.borderLeft = s.borderRight = s.borderTop = s.borderBottom = 0;
    EXPECT_EQ(s.availableTargetSize(), QSizeF(250000, 230000));
    s.showLeftHeader = s.showReferenceArea = false;
    EXPECT_EQ(s.availableTargetSize(), QSizeF(300000, 230000));
    s.autopositioning = false;
    EXPECT_EQ(s.availableTargetSize(), QSizeF(295000, 209000));

    TargetSettings t = settingsFor(DevOption::TintoraVestraZqTextile);
    t.pageSize = QSizeF(900000, 900000);
    t.borderLeft = t.borderRight = t.borderTop = t.borderBottom = 0;
    EXPECT_EQ(t.availableTargetSize(), QSizeF(305000, 230000 + 11000));
    t.autopositioning = true;
    EXPECT_EQ(t.availableTargetSize(), QSizeF(300000, 230000 + 23000));

    // Custom has Desk and Pendra set: no cap at all.
    TargetSettings c = settingsFor(DevOption::Custom);
    c.pageSize = QSizeF(900000, 900000);
    c.borderLeft = c.borderRight = c.borderTop = c.borderBottom = 0;
    EXPECT_GT(c.availableTargetSize().width(), 305000);
    EXPECT_GT(c.availableTargetSize().height(), 253000);
}
