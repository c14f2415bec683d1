// The instrument enumeration of the instrument combo: one value per Tintora model
// (with its aperture where the model name carries one) plus the free Custom entry.
//
// The value travels as combo item data (QVariant) and through data streams as a
// 32-bit integer; it is registered with the meta-type system under the name the
// main window uses, "Tessaro::DevOption".
#pragma once

#include <QDataStream>
#include <QMetaType>
#include <QVariant>

enum class DevOption : qint32 {
    TintoraDesk = 0,
    TintoraDeskPrinton = 1,
    TintoraVestra2mm = 2,
    TintoraVestra6mm = 3,
    TintoraVestra8mm = 4,
    TintoraPendra = 5,
    TintoraPendrazq2mm = 6,
    TintoraPendrazq6mm = 7,
    TintoraVestraZq2mm = 8,
    TintoraVestraZq6mm = 9,
    TintoraVestraZq8mm = 10,
    TintoraVestraZqTextile = 11,
    Custom = 12
};

constexpr int kDevOptionCount = 13;

Q_DECLARE_METATYPE(DevOption)

// Registers the type and, while the name is free, the alias
// "Tessaro::DevOption" (idempotent); call once at program start.
void registerDevOptionMetaType();

// Reads an instrument from combo item data holding either a DevOption or an
// integer; false (and *option untouched) for anything outside 0..12.
bool devOptionFromVariant(const QVariant &value, DevOption *option);
bool devOptionFromInt(int value, DevOption *option);

inline QDataStream &operator<<(QDataStream &out, DevOption option)
{
    return out << static_cast<qint32>(option);
}

// A value outside the enumeration sets the stream status to ReadCorruptData
// and leaves `option` unchanged.
QDataStream &operator>>(QDataStream &in, DevOption &option);
