// Paper record of the paper list.
#include "PaperSize.h"

PaperSize::PaperSize(const QString &name, int width, int height,
                     double borderTop, double borderBottom,
                     double borderLeft, double borderRight, bool selected)
    : name(name), width(width), height(height),
      borderTop(borderTop), borderBottom(borderBottom),
      borderLeft(borderLeft), borderRight(borderRight), selected(selected)
{
}

QString PaperSize::comboText() const
{
    return name + QStringLiteral(" (") + QString::number(width / 1000.0, 'g', 6)
           + QLatin1Char('x') + QString::number(height / 1000.0, 'g', 6) + QLatin1Char(')');
}

bool PaperSize::operator==(const PaperSize &other) const
{
    return name == other.name && width == other.width && height == other.height
           && borderTop == other.borderTop && borderBottom == other.borderBottom
           && borderLeft == other.borderLeft && borderRight == other.borderRight;
}
