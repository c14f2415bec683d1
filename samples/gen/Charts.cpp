// Charts: device values of the sample charts (see Charts.h).
#include "Charts.h"

#include <algorithm>
#include <cmath>

namespace samplegen
{
namespace
{
// The 40 CMYK patches that outline the printable gamut, as the evaluation classifies them.
const Cmyk kBoundary[40] = {
    {10, 0, 0, 0},    {0, 10, 0, 0},    {0, 0, 10, 0},    {10, 10, 0, 0},   {0, 10, 10, 0},
    {10, 0, 10, 0},   {20, 0, 0, 0},    {0, 20, 0, 0},    {0, 0, 20, 0},    {20, 20, 0, 0},
    {0, 20, 20, 0},   {20, 0, 20, 0},   {40, 0, 0, 0},    {0, 40, 0, 0},    {0, 0, 40, 0},
    {40, 40, 0, 0},   {0, 40, 40, 0},   {40, 0, 40, 0},   {70, 0, 0, 0},    {0, 70, 0, 0},
    {0, 0, 70, 0},    {70, 70, 0, 0},   {0, 70, 70, 0},   {70, 0, 70, 0},   {100, 0, 0, 0},
    {0, 100, 0, 0},   {0, 0, 100, 0},   {100, 100, 0, 0}, {0, 100, 100, 0}, {100, 0, 100, 0},
    {100, 40, 0, 0},  {40, 100, 0, 0},  {0, 100, 40, 0},  {0, 40, 100, 0},  {100, 0, 40, 0},
    {40, 0, 100, 0},  {0, 0, 0, 0},     {100, 0, 0, 100}, {0, 100, 0, 100}, {0, 0, 100, 100},
};

double G7Balance(double c) { return 0.0000294 * c * c * c - 0.00041 * c * c + 0.747 * c; }

template <typename T>
void AddUnique(std::vector<T>& list, const T& v)
{
    if (std::find(list.begin(), list.end(), v) == list.end())
        list.push_back(v);
}

double Tac(const Cmyk& v) { return v[0] + v[1] + v[2] + v[3]; }

// Radical inverse in base `b`: a deterministic, evenly spread sequence in [0, 1).
double Halton(int index, int b)
{
    double f = 1.0, r = 0.0;
    for (int i = index; i > 0; i /= b) {
        f /= b;
        r += f * (i % b);
    }
    return r;
}

double Step5(double x) { return 5.0 * std::round(x * 20.0); }   // 0-1 to per cent in 5 % steps
}  // namespace

std::vector<Cmyk> DocChartCmyk(int columns)
{
    std::vector<Cmyk> p;
    p.push_back({0, 0, 0, 0});
    for (const Cmyk& v : kBoundary)
        AddUnique(p, v);
    for (double k : {3, 5, 10, 15, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90, 95, 100})
        AddUnique(p, Cmyk{0, 0, 0, k});
    for (double c : {3, 5, 10, 15, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90, 100}) {
        const double my = std::round(G7Balance(c));
        AddUnique(p, Cmyk{c, my, my, 0});
    }
    AddUnique(p, Cmyk{25, 18, 18, 0});   // the second IDEAlliance quarter-tone gray
    AddUnique(p, Cmyk{60, 40, 40, 100});
    const double levels[4] = {0, 30, 60, 85};
    for (double k : {0.0, 40.0})
        for (double c : levels)
            for (double m : levels)
                for (double y : levels) {
                    const Cmyk v{c, m, y, k};
                    if (Tac(v) <= 300)
                        AddUnique(p, v);
                }
    // Whole rows, the last patch a second paper white.
    for (int i = 1; (p.size() + 1) % static_cast<std::size_t>(columns) != 0; ++i) {
        const Cmyk v{Step5(0.9 * Halton(i, 2)), Step5(0.9 * Halton(i, 3)), Step5(0.9 * Halton(i, 5)),
                     Step5(0.5 * Halton(i, 7))};
        if (Tac(v) <= 300)
            AddUnique(p, v);
    }
    p.push_back({0, 0, 0, 0});
    return p;
}

std::vector<Rgb> DocChartRgb(int columns)
{
    std::vector<Rgb> p;
    const double levels[5] = {0, 64, 128, 192, 255};
    for (double r : levels)
        for (double g : levels)
            for (double b : levels)
                p.push_back({r, g, b});
    for (int v = 16; p.size() % static_cast<std::size_t>(columns) != 0; v += 32)
        AddUnique(p, Rgb{double(v % 256), double(v % 256), double(v % 256)});
    return p;
}

std::vector<Cmyk> LargeCmykChart()
{
    std::vector<Cmyk> p;
    const double levels[9] = {0, 10, 20, 30, 40, 55, 70, 85, 100};
    for (double k : {0.0, 40.0})
        for (double c : levels)
            for (double m : levels)
                for (double y : levels)
                    p.push_back({c, m, y, k});
    // 21 black steps and 6 three-colour grays complete 1485 patches.
    for (double k : {3, 5, 7, 10, 15, 20, 25, 30, 35, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100})
        p.push_back({0, 0, 0, k});
    for (double c : {10, 25, 50, 75, 90, 100}) {
        const double my = std::round(G7Balance(c));
        p.push_back({c, c >= 100 ? 100 : my, c >= 100 ? 100 : my, 0});
    }
    return p;
}

std::vector<Cmyk> SmallCmykChart()
{
    std::vector<Cmyk> p;
    for (int ink = 0; ink < 4; ++ink)
        for (double t : {10, 25, 40, 50, 75, 100}) {
            Cmyk v{0, 0, 0, 0};
            v[static_cast<std::size_t>(ink)] = t;
            p.push_back(v);
        }
    for (const Cmyk& v : {Cmyk{100, 100, 0, 0}, Cmyk{0, 100, 100, 0}, Cmyk{100, 0, 100, 0}, Cmyk{40, 40, 0, 0},
                          Cmyk{0, 40, 40, 0}, Cmyk{40, 0, 40, 0}, Cmyk{70, 70, 0, 0}, Cmyk{0, 70, 70, 0},
                          Cmyk{70, 0, 70, 0}})
        p.push_back(v);
    for (double c : {10, 25, 40, 50, 60, 75, 90, 100}) {
        const double my = std::round(G7Balance(c));
        p.push_back({c, c >= 100 ? 100 : my, c >= 100 ? 100 : my, 0});
    }
    for (const Cmyk& v : {Cmyk{0, 0, 0, 0}, Cmyk{100, 100, 100, 100}, Cmyk{60, 40, 40, 100}, Cmyk{30, 20, 20, 20},
                          Cmyk{60, 50, 50, 40}, Cmyk{20, 40, 60, 0}, Cmyk{60, 20, 40, 10}, Cmyk{40, 60, 20, 10},
                          Cmyk{15, 30, 45, 5}, Cmyk{80, 30, 0, 0}, Cmyk{0, 30, 80, 0}, Cmyk{30, 80, 0, 0},
                          Cmyk{0, 0, 0, 0}})
        p.push_back(v);
    return p;
}

std::vector<Rgb> RgbChart()
{
    std::vector<Rgb> p;
    const double levels[6] = {0, 51, 102, 153, 204, 255};
    for (double r : levels)
        for (double g : levels)
            for (double b : levels)
                p.push_back({r, g, b});
    return p;
}

std::vector<std::vector<double>> SpotChart()
{
    std::vector<std::vector<double>> p;
    for (int ink = 0; ink < 6; ++ink)
        for (double t : {20, 40, 60, 80, 100}) {
            std::vector<double> v(6, 0.0);
            v[static_cast<std::size_t>(ink)] = t;
            p.push_back(v);
        }
    // Each spot ink over the process inks and over the other spot ink.
    for (int spot = 4; spot < 6; ++spot)
        for (int ink = 0; ink < 6; ++ink) {
            if (ink == spot)
                continue;
            for (double t : {50, 100}) {
                std::vector<double> v(6, 0.0);
                v[static_cast<std::size_t>(spot)] = 100;
                v[static_cast<std::size_t>(ink)] = t;
                p.push_back(v);
            }
        }
    p.push_back(std::vector<double>(6, 0.0));
    return p;
}

std::vector<std::vector<double>> SixInkChart()
{
    std::vector<std::vector<double>> p;
    p.push_back(std::vector<double>(6, 0.0));
    for (int ink = 0; ink < 6; ++ink)
        for (double t : {10, 25, 50, 75, 100}) {
            std::vector<double> v(6, 0.0);
            v[static_cast<std::size_t>(ink)] = t;
            p.push_back(v);
        }
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j)
            for (double t : {50, 100}) {
                std::vector<double> v(6, 0.0);
                v[static_cast<std::size_t>(i)] = t;
                v[static_cast<std::size_t>(j)] = t;
                p.push_back(v);
            }
    return p;
}

std::string PatchName(int index, int columns)
{
    int row = index / columns;
    std::string letters;
    do {
        letters.insert(letters.begin(), static_cast<char>('A' + row % 26));
        row = row / 26 - 1;
    } while (row >= 0);
    return letters + std::to_string(index % columns + 1);
}
}  // namespace samplegen
