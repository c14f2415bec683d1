// Qt-side colour helpers: QColor wrappers of ColorUtil and the embedded output profile.
#include "ColorUtilQt.h"

#include "ColorUtil.h"
#include "ReferenceFileData.h"

#include <QFile>

#include <cmath>

// The resource initialiser must be called from the global namespace.
static void initResourcesOnce()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(tessaro);
        return true;
    }();
    (void)done;
}

void InitTessaroResources()
{
    initResourcesOnce();
}

namespace {

// Truncates each component; invalid when any is not a number or lies outside 0-255.
QColor colorFromComponents(const double rgb[3])
{
    int bytes[3];
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(rgb[i]))
            return QColor();
        const double truncated = std::trunc(rgb[i]);
        if (truncated < 0.0 || truncated > 255.0)
            return QColor();
        bytes[i] = static_cast<int>(truncated);
    }
    return QColor::fromRgba64(static_cast<quint16>(bytes[0] * 257), static_cast<quint16>(bytes[1] * 257),
                              static_cast<quint16>(bytes[2] * 257), 65535);
}

} // namespace

QColor LabToColor(const double lab[3])
{
    double rgb[3];
    if (!ColorUtil::LabToRGB(lab, rgb))
        return QColor();
    return colorFromComponents(rgb);
}

QColor XYZtoColor(const double xyz[3])
{
    // ColorUtil takes the 0-100 scale and divides by 100 itself.
    unsigned char rgb[3];
    if (!ColorUtil::XYZtoRGB(xyz, rgb))
        return QColor();
    return QColor::fromRgba64(static_cast<quint16>(rgb[0] * 257), static_cast<quint16>(rgb[1] * 257),
                              static_cast<quint16>(rgb[2] * 257), 65535);
}

QColor ChannelColor(const ReferenceFileData &reference, const std::vector<int> &values)
{
    double rgb[3];
    if (!reference.GetChannelColor(values, rgb))
        return QColor();
    return colorFromComponents(rgb);
}

QByteArray OutputCMYKProfileBytes()
{
    initResourcesOnce();
    QFile file(QStringLiteral(":/Profiles/OutputCMYK.icc"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}
