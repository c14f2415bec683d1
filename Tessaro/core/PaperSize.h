// One named paper of the paper list: size and borders in micrometres, plus the
// flag of the paper currently chosen in the paper combo.
#pragma once

#include <QString>

class PaperSize
{
public:
    PaperSize() = default;
    PaperSize(const QString &name, int width, int height,
              double borderTop = 0, double borderBottom = 0,
              double borderLeft = 0, double borderRight = 0,
              bool selected = false);

    // Combo text, e.g. "A4 (297x210)": sizes in mm, shortest form with up to 6 significant digits.
    QString comboText() const;

    // Same paper when name, size and borders agree; the selected flag is not compared.
    bool operator==(const PaperSize &other) const;
    bool operator!=(const PaperSize &other) const { return !(*this == other); }

    QString name;
    int width = 0;           // um
    int height = 0;          // um
    double borderTop = 0;    // um
    double borderBottom = 0; // um
    double borderLeft = 0;   // um
    double borderRight = 0;  // um
    bool selected = false;
};
