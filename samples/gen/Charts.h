// Charts: the device values of the sample charts and references, in file (reading) order.
//
// Glossary: DOC chart = the Digital Output Control chart a print is measured with; its
// patches stand row by row, `columns` per row, left to right; G7 gray = the cyan value with
// the magenta and yellow that balance it (m = y = 0.0000294 c^3 - 0.00041 c^2 + 0.747 c).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace samplegen
{
using Cmyk = std::array<double, 4>;   // per cent
using Rgb = std::array<double, 3>;    // 0-255

// The CMYK DOC chart: paper white first and last, the 40 gamut boundary colours, a K ramp,
// G7 / IDEAlliance grays (with the special gray 75/66/66), a rich black and a tint grid,
// padded with tints to whole rows of `columns`.
std::vector<Cmyk> DocChartCmyk(int columns);
// The RGB DOC chart: a 5-level cube and grays, padded with grays to whole rows.
std::vector<Rgb> DocChartRgb(int columns);

// Tessaro references.
std::vector<Cmyk> LargeCmykChart();   // 1485 patches
std::vector<Cmyk> SmallCmykChart();   // a control strip of 54 patches
std::vector<Rgb> RgbChart();          // 216 patches
// Percentages of CMYK plus two spot inks (6 values each).
std::vector<std::vector<double>> SpotChart();
// Percentages of six inks, each alone in steps, then pairs.
std::vector<std::vector<double>> SixInkChart();

// Name of position `index` on a chart of `columns` per row: row letters A..Z, AA.., then
// the column from 1 ("A1", "B12").
std::string PatchName(int index, int columns);
}  // namespace samplegen
