// Instrument limits and general checks of a laid-out target.
#include "LayoutValidation.h"

#include "InstrumentCatalogue.h"
#include "TargetSettings.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Tessaro", text);
}

#define TR(text) QCoreApplication::translate("Tessaro", text)

struct Limits
{
    double x;
    double y;
};

// Maximum page size per instrument (rows 1 to 3 of the limits); one at most.
void checkMaximumPageSize(const TargetSettings &s, QList<ValidationFinding> &out)
{
    const double w = s.pageSize.width();
    const double h = s.pageSize.height();
    if (s.deviceVestrazq) {
        if (w > 305000 || h > 230000)
            out.append({ValidationFinding::eError, TR("Page Size"),
                        TR("The maximum page size for Tintora Vestra is 305x230 mm")});
    } else if (s.deviceVestra) {
        if (w > 297000 || h > 210000)
            out.append({ValidationFinding::eError, TR("Page Size"),
                        TR("The maximum page size for Tintora Vestra is 297x210 mm")});
    } else if (s.devicePendra) {
        if (w > 650000 || h > 220000)
            out.append({ValidationFinding::eError, TR("Page Size"),
                        TR("The maximum page size for Tintora Pendra, Pendra zq 2 mm and Pendra zq 6 mm is 650x220 mm")});
    }
}

// Patch chain (rows 8 to 14): the first step whose instrument and aperture
// hold is the only one tested.
void checkPatchSize(const TargetSettings &s, QList<ValidationFinding> &out)
{
    const double w = s.patchSizeX;
    const double h = s.patchSizeY;
    const bool printon = InstrumentCatalogue::isPrintonFamily(s);
    const bool desk = InstrumentCatalogue::isDeskFamily(s);
    const bool pendraOnly = InstrumentCatalogue::isPendraOnlyFamily(s);

    const char *text = nullptr;
    if (printon && s.aperture2mm) {
        if (w < 7000 || h < 12000)
            text = QT_TRANSLATE_NOOP("Tessaro", "The minimum patch size for TintoraDesk Printon with 2mm aperture is 7x12 mm");
    } else if (desk && s.aperture6mm) {
        if (w < 12000 || h < 12000)
            text = QT_TRANSLATE_NOOP("Tessaro", "The minimum patch size for TintoraDesk with 6mm aperture is 12x12 mm");
    } else if (pendraOnly && s.aperture2mm) {
        if (w < 8000 || h < 8000)
            text = QT_TRANSLATE_NOOP("Tessaro", "The minimum patch size for Tintora Pendra with 2mm aperture is 8x8 mm");
    } else if (pendraOnly && s.aperture6mm) {
        if (w < 10000 || h < 10000)
            text = QT_TRANSLATE_NOOP("Tessaro", "The minimum patch size for Tintora Pendra with 6mm aperture is 10x10 mm");
    } else if (s.aperture2mm) {
        if (w < 6000 || h < 6000)
            text = QT_TRANSLATE_NOOP("Tessaro", "The minimum patch size for 2mm aperture is 6x6 mm");
    } else if (s.aperture6mm) {
        if (w < 8000 || h < 8000)
            text = QT_TRANSLATE_NOOP("Tessaro", "The minimum patch size for 6mm aperture is 8x8 mm");
    } else if (s.aperture8mm) {
        // The 8 mm head reads the row separator as part of the patch.
        if (w < 12000 || (h - s.patchMarginY) < 12000)
            text = QT_TRANSLATE_NOOP("Tessaro", "The minimum patch size for 8mm aperture is 12x12 mm");
    }
    if (text)
        out.append({ValidationFinding::eWarning, TR("Patch Size"), tr(text)});
}

// Row 15: on a multi-page target a patch or separator above what the
// instrument needs hints at a better layout. 8 mm is tried before 2 mm here.
void checkOversizedPatches(const TargetSettings &s, QList<ValidationFinding> &out)
{
    if (s.numberOfPages < 2)
        return;
    Limits limit{};
    if (InstrumentCatalogue::isPrintonFamily(s) && s.aperture2mm)
        limit = {7000, 12000};
    else if (InstrumentCatalogue::isDeskFamily(s) && s.aperture6mm)
        limit = {12000, 12000};
    else if (InstrumentCatalogue::isPendraOnlyFamily(s) && s.aperture2mm)
        limit = {8000, 8000};
    else if (InstrumentCatalogue::isPendraOnlyFamily(s) && s.aperture6mm)
        limit = {10000, 10000};
    else if (s.aperture8mm)
        limit = {12000, 12000};
    else if (s.aperture6mm)
        limit = {8000, 8000};
    else if (s.aperture2mm)
        limit = {6000, 6000};
    else
        return;
    if (s.patchSizeX > limit.x || s.patchMarginX > limit.x || s.patchSizeY > limit.y
        || s.patchMarginY > limit.y)
        out.append({ValidationFinding::eInfo, TR("Patch Size"),
                    TR("Your target needs more than 1 page and the patch size is bigger than needed. You can adjust the patch size to maybe get a better result.")});
}

} // namespace

QList<ValidationFinding> LayoutValidation::findings(const TargetSettings &s, bool referenceLoaded)
{
    QList<ValidationFinding> out;
    if (!referenceLoaded) {
        out.append({ValidationFinding::eError, TR("Open Reference"),
                    TR("Use the Browse button to open a reference file.")});
        return out;
    }

    checkMaximumPageSize(s, out);

    const bool headInstrument = s.deviceVestra || s.deviceVestrazq || s.devicePendra;
    if (headInstrument && (s.pageSize.width() < 120000 || s.pageSize.height() < 70000))
        out.append({ValidationFinding::eError, TR("Page Size"),
                    TR("The minimum page size for Tintora Vestra and Pendra, Pendra zq 2 mm and Pendra zq 6 mm is 120x70 mm")});
    if (headInstrument && (s.targetSize.width() < 50000 || s.targetSize.height() < 50000))
        out.append({ValidationFinding::eError, TR("Target Size"),
                    TR("The minimum target size for Tintora Vestra and Pendra, Pendra zq 2 mm and Pendra zq 6 mm is 50x50 mm")});

    const bool anyAperture = s.aperture2mm || s.aperture6mm || s.aperture8mm;
    if (anyAperture) {
        if (s.devicePendra && s.aperture8mm)
            out.append({ValidationFinding::eWarning, TR("Aperture"),
                        TR("Tintora Pendra has only 2mm aperture mode")});
    } else {
        out.append({ValidationFinding::eWarning, TR("Aperture"),
                    TR("Select an aperture mode for better target info")});
    }

    checkPatchSize(s, out);
    checkOversizedPatches(s, out);

    if (s.devicePendra && s.headerOffset().x() < 60000)
        out.append({ValidationFinding::eError, TR("Left Border"),
                    TR("The minimum left border for Tintora Pendra, Pendra zq 2 mm and Pendra zq 6 mm is 60mm")});

    if (s.targetVersion.isEmpty())
        out.append({ValidationFinding::eWarning, TR("Version"),
                    TR("No target version given. Please enter a version number in the right pane.")});
    return out;
}

ValidationCounts LayoutValidation::counts(const QList<ValidationFinding> &findings)
{
    ValidationCounts c;
    for (const ValidationFinding &f : findings) {
        if (f.kind == ValidationFinding::eError)
            ++c.errors;
        else if (f.kind == ValidationFinding::eWarning)
            ++c.warnings;
        else if (f.kind == ValidationFinding::eInfo)
            ++c.infos;
    }
    return c;
}
