// Defaults, factory papers and shared geometry of the target record.
#include "TargetSettings.h"

#include "TargetDefinitionWriter.h"
#include "UserSettingsFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Page furniture (um).
constexpr double kLeftMargin = 8000;
constexpr double kRightMargin = 7000;
constexpr double kTopMargin = 7000;
constexpr double kBottomMargin = 7000;
constexpr double kDeskStartingLinesWidth = 2000;
constexpr double kLeftHeaderWidth = 42000; // left header or reference area, counted once
constexpr double kRightHeaderWidth = 22000;
constexpr double kDeskExtraWidth = 19000;
constexpr double kDeskExtraHeight = 8000;
constexpr double kDeskHeaderExtraWidth = 13000;
constexpr double kAutopositioningBand = 9000;

// Truncation toward zero to a whole um, clamped so odd borders never overflow an int.
int truncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(value);
    if (t >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (t <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(t);
}

} // namespace

TargetSettings::TargetSettings()
    : paperA4(QStringLiteral("A4"), 297000, 210000),
      paperTintoraDesk(QStringLiteral("Tintoradesk"), 500000, 235000),
      paperTintoraDeskFlatbed(QStringLiteral("Tintoradesk Flatbed"), 500000, 410000),
      paperVestrazq(QStringLiteral("Tintora Vestra zq"), 305000, 230000),
      paperVestrazqTextile(QStringLiteral("Tintora Vestra zq textile"), 405000, 330000,
                           50000, 50000, 50000, 50000),
      paperVestraWrn(QStringLiteral("Tintora Vestra wrn model"), 330000, 255000,
                     0, 45000, 10000, 45000),
      paperPendrazq(QStringLiteral("Tintora Pendra zq"), 750000, 220000)
{
    restoreFactoryPapers();
}

QList<PaperSize> TargetSettings::factoryPapers() const
{
    return {paperA4, paperTintoraDesk, paperTintoraDeskFlatbed, paperVestrazq,
            paperVestrazqTextile, paperVestraWrn, paperPendrazq};
}

void TargetSettings::restoreFactoryPapers()
{
    papers = factoryPapers();
}

QPoint TargetSettings::headerOffset() const
{
    double x = borderLeft + kLeftMargin;
    if (showLeftHeader || showReferenceArea)
        x += kLeftHeaderWidth;
    if (deviceDesk)
        x += kDeskHeaderExtraWidth;
    return QPoint(truncToInt(x), truncToInt(borderTop + kTopMargin));
}

QPoint TargetSettings::patchAreaOrigin() const
{
    const QPoint origin = headerOffset();
    if (!autopositioning)
        return origin;
    return QPoint(truncToInt(origin.x() + kAutopositioningBand),
                  truncToInt(origin.y() + kAutopositioningBand));
}

QPointF TargetSettings::borderOrigin() const
{
    return QPointF(borderLeft, borderTop);
}

QSizeF TargetSettings::printableSize() const
{
    return QSizeF(pageSize.width() - borderLeft - borderRight,
                  pageSize.height() - borderTop - borderBottom);
}

QSizeF TargetSettings::availableTargetSize() const
{
    double w = pageSize.width() - borderLeft - borderRight - kLeftMargin - kRightMargin;
    double h = pageSize.height() - borderTop - borderBottom - kTopMargin - kBottomMargin;
    if (startingLinesTintoraDesk)
        w -= kDeskStartingLinesWidth;
    if (showLeftHeader || showReferenceArea)
        w -= kLeftHeaderWidth;
    if (showRightHeader)
        w -= kRightHeaderWidth;
    if (deviceDesk) {
        w -= kDeskExtraWidth;
        h -= kDeskExtraHeight;
    }
    if (autopositioning) {
        w -= kAutopositioningBand;
        h -= kAutopositioningBand;
    }

    // The Vestra heads reach only so far, whatever the paper.
    if ((deviceVestra || deviceVestrazq) && !deviceDesk && !devicePendra) {
        double capW = 0;
        double capH = 0;
        if (showLeftHeader || showReferenceArea) {
            capW = 250000;
            capH = 230000;
        } else if (autopositioning) {
            capW = 300000;
            capH = 230000;
        } else if (deviceVestrazq) {
            capW = 305000;
            capH = 230000;
        } else {
            capW = 295000;
            capH = 209000;
        }
        w = std::min(w, capW);
        h = std::min(h, capH);
        if (deviceVestrazqTextile)
            h += autopositioning ? 23000 : 11000;
    }
    return QSizeF(w, h);
}

int TargetSettings::verificationPatchCount() const
{
    return verificationPatches ? 2 * patchesX + 2 * patchesY - 4 : 0;
}

bool TargetSettings::writeTargetDefinition(const QString &path, int numberOfPatches) const
{
    return TargetDefinitionWriter::write(*this, path, numberOfPatches);
}

void TargetSettings::writeToStream(QDataStream &out) const
{
    UserSettingsFile::writeRecord(out, *this);
}

bool TargetSettings::readFromStream(QDataStream &in)
{
    return UserSettingsFile::readRecord(in, *this) == UserSettingsFile::eReadOk;
}
