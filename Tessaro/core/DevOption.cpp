// Meta-type registration and stream reading of the instrument enumeration.
#include "DevOption.h"

void registerDevOptionMetaType()
{
    qRegisterMetaType<DevOption>();
    // The main window looks the type up by its qualified name; the name is
    // only claimed while no other type holds it, so a window class declaring
    // its own Tessaro::DevOption never meets a conflicting registration.
    const QByteArray qualified("Tessaro::DevOption");
    if (!QMetaType::fromName(qualified).isValid())
        QMetaType::registerNormalizedTypedef(qualified, QMetaType::fromType<DevOption>());
}

bool devOptionFromInt(int value, DevOption *option)
{
    if (value < 0 || value >= kDevOptionCount)
        return false;
    if (option)
        *option = static_cast<DevOption>(value);
    return true;
}

bool devOptionFromVariant(const QVariant &value, DevOption *option)
{
    if (!value.isValid())
        return false;
    if (value.metaType() == QMetaType::fromType<DevOption>())
        return devOptionFromInt(static_cast<int>(value.value<DevOption>()), option);
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok && devOptionFromInt(number, option);
}

QDataStream &operator>>(QDataStream &in, DevOption &option)
{
    qint32 raw = 0;
    in >> raw;
    if (in.status() != QDataStream::Ok)
        return in;
    if (!devOptionFromInt(raw, &option))
        in.setStatus(QDataStream::ReadCorruptData);
    return in;
}
