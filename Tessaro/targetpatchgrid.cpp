// The patches of a target: descriptions, display colours, tooltips, separator and border
// decisions, identities and the screen painting of one page.
#include "targetpatchgrid.h"

#include "ColorUtil.h"
#include "ColorUtilQt.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"

#include <QPainter>
#include <QStringList>

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A colour counts as light when each of its components is at least this.
constexpr int kLightThreshold = 129;
// Largest per-component difference of two neighbours that still needs a separator.
constexpr int kSeparatorTolerance = 29;
// Neighbours closer than this (ΔE*ab, CIE 1976) get an auto-positioning border.
constexpr double kBorderDeltaE = 30.0;

bool isLight(const QColor &c)
{
    return c.red() >= kLightThreshold && c.green() >= kLightThreshold && c.blue() >= kLightThreshold;
}

// QColor(int R, int G, int B) of the values truncated; invalid outside 0-255 or unset.
QColor colorFromRGB(const double *rgb)
{
    int v[3];
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(rgb[i]))
            return QColor();
        const double t = std::trunc(rgb[i]);
        if (t < 0.0 || t > 255.0)
            return QColor();
        v[i] = static_cast<int>(t);
    }
    return QColor(v[0], v[1], v[2]);
}

// Device value in per cent truncated for the spectral model; unset values count as 0.
int truncatedPercent(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::max(-1.0e6, std::min(1.0e6, std::trunc(v))));
}

QString joined(const double *values, int count, int decimals)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += QLatin1Char(';');
        text += QString::number(values[i], 'f', decimals);
    }
    return text;
}

// Numbers are joined with ";" first so that a decimal comma can be told from a separator.
QString finished(QString text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    text.replace(QLatin1Char(';'), QLatin1Char(','));
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------
// DisplayColourCache

size_t DisplayColourCache::ValuesHash::operator()(const std::vector<int> &v) const
{
    size_t h = v.size();
    for (int x : v)
        h = h * 1000003u ^ static_cast<size_t>(static_cast<unsigned>(x));
    return h;
}

void DisplayColourCache::prepare(const ReferenceFileData &data)
{
    std::vector<double> now;
    now.reserve(data.colorantLab.size() * 3);
    for (const LabTriple &lab : data.colorantLab) {
        now.push_back(lab.L);
        now.push_back(lab.a);
        now.push_back(lab.b);
    }
    if (&data == file && data.spectralUtil.get() == model && now == colorants)
        return;
    colours.clear();
    file = &data;
    model = data.spectralUtil.get();
    colorants = std::move(now);
}

void DisplayColourCache::clear()
{
    colours.clear();
    file = nullptr;
    model = nullptr;
    colorants.clear();
}

QColor DisplayColourCache::channelColor(const ReferenceFileData &data, const std::vector<int> &values)
{
    if (&data != file || data.spectralUtil.get() != model)
        prepare(data);
    auto it = colours.find(values);
    if (it != colours.end())
        return it->second;
    const QColor colour = ChannelColor(data, values);
    colours.emplace(values, colour);
    return colour;
}

// ---------------------------------------------------------------------------------------
// TargetPatch

void TargetPatch::rebuildTooltip()
{
    tooltipDirty = true;
    tipHasSet = set != nullptr;
    tipId = set ? set->GetIndex() : -1;
    std::snprintf(tipName, sizeof tipName, "%s", set ? set->GetName() : "");
}

const QString &TargetPatch::tooltip() const
{
    if (tooltipDirty)
        buildTooltip();
    return tooltipText;
}

void TargetPatch::buildTooltip() const
{
    tooltipDirty = false;
    QString text;
    bool flag = false;
    if (tipHasSet) {
        const int id = tipId;
        if (id >= 0)
            text += QStringLiteral("Reference ID ") + QString::number(id) + QLatin1Char('\n');
        const QString ownName = QString::fromUtf8(tipName);
        if (!ownName.isEmpty()) {
            text += QStringLiteral("Reference Name ") + ownName;
            flag = true;
        } else {
            flag = id >= 0;
        }
    } else if (!name.isEmpty()) {
        text += QStringLiteral("Reference Name ") + name;
        flag = true;
    }
    if (!data.dataText.isEmpty()) {
        if (flag)
            text += QStringLiteral("\n\n");
        text += QStringLiteral("Reference Data ") + data.dataText;
    }
    tooltipText = text;
}

QColor TargetPatch::effectiveColor() const
{
    return set ? data.color : QColor(Qt::white);
}

bool TargetPatch::lab(double out[3]) const
{
    if (labState == LabState::Unknown) {
        const QColor c = effectiveColor();
        const double rgb[3] = {static_cast<double>(c.red()), static_cast<double>(c.green()),
                               static_cast<double>(c.blue())};
        labState = ColorUtil::RGBtoLab(rgb, labCache) ? LabState::Valid : LabState::Failed;
    }
    if (labState != LabState::Valid)
        return false;
    out[0] = labCache[0];
    out[1] = labCache[1];
    out[2] = labCache[2];
    return true;
}

// ---------------------------------------------------------------------------------------
// TargetPatchGrid

void TargetPatchGrid::create(int pages, int columns_, int rows_)
{
    columns = columns_;
    rows = rows_;
    if (pages <= 0 || columns_ <= 0 || rows_ <= 0)
        return;
    const long count = static_cast<long>(pages) * columns_ * rows_;
    patches.reserve(patches.size() + static_cast<size_t>(count));
    const QString fresh = QStringLiteral("new");
    for (long i = 0; i < count; ++i) {
        auto patch = std::make_unique<TargetPatch>();
        patch->data.color = QColor(Qt::transparent);
        patch->data.dataText = fresh;
        patches.push_back(std::move(patch));
    }
}

void TargetPatchGrid::setPatchSize(double widthMm, double heightMm)
{
    sizeX = widthMm;
    sizeY = heightMm;
}

void TargetPatchGrid::setGap(double gapXMm, double gapYMm)
{
    gapX = gapXMm;
    gapY = gapYMm;
}

TargetPatch *TargetPatchGrid::patchAtIndex(long index) const
{
    if (index < 0 || index >= static_cast<long>(patches.size()))
        return nullptr;
    return patches[static_cast<size_t>(index)].get();
}

TargetPatch *TargetPatchGrid::patchAt(int col, int row, int page) const
{
    const long index = col + (static_cast<long>(row) + static_cast<long>(page - 1) * rows) * columns;
    return patchAtIndex(index);
}

void TargetPatchGrid::placeSet(ReferenceFileSet *set, int col, int row)
{
    TargetPatch *patch = patchAtIndex(col + static_cast<long>(row) * columns);
    if (!patch || col < 0 || row < 0) {
        overflow = true;
        return;
    }
    TargetPatchData described = set ? describeSet(*set, colourCache) : TargetPatchData();
    patch->data.color = described.color;
    patch->data.dataText = std::move(described.dataText);
    patch->set = set;
    patch->invalidateLab();
    patch->rebuildTooltip();
}

void TargetPatchGrid::markSeparator(int col, int row, bool mirrored)
{
    if (!blackWhiteSeparators || columns <= 0)
        return;
    if ((!mirrored && col == 0) || (mirrored && col == columns - 1))
        return;
    const long index = col + static_cast<long>(row) * columns;
    TargetPatch *patch = patchAtIndex(index);
    TargetPatch *neighbour = patchAtIndex(mirrored ? index + 1 : index - 1);
    if (!patch || !neighbour)
        return;
    const QColor c = patch->effectiveColor();
    if (!isLight(c))
        return;
    const QColor n = neighbour->effectiveColor();
    if (std::abs(n.red() - c.red()) > kSeparatorTolerance || std::abs(n.green() - c.green()) > kSeparatorTolerance ||
        std::abs(n.blue() - c.blue()) > kSeparatorTolerance)
        return;
    (mirrored ? patch : neighbour)->separator = true;
}

void TargetPatchGrid::assignIdsAndNames(bool renumber, bool rename)
{
    const long perPage = static_cast<long>(columns) * rows;
    if (perPage <= 0)
        return;
    for (size_t i = 0; i < patches.size(); ++i) {
        TargetPatch &patch = *patches[i];
        if (!patch.set)
            continue;
        const long index = static_cast<long>(i);
        patch.set->SetID(renumber ? static_cast<int>(index + 1) : -1);
        if (rename) {
            const long p = index / perPage;
            const long d = index % perPage;
            char name[ReferenceFileSet::kNameCapacity];
            std::snprintf(name, sizeof name, "%ld%s%ld", p + 1,
                          rowLetters(static_cast<int>(d / columns + 1)).toLatin1().constData(), d % columns + 1);
            patch.set->SetName(name);
        } else {
            patch.set->SetName("");
        }
        patch.rebuildTooltip();
    }
}

QString TargetPatchGrid::tooltipAt(int page, int col, int row) const
{
    const TargetPatch *patch = patchAt(col, row, page);
    return patch ? patch->tooltip() : QString();
}

bool TargetPatchGrid::similarColors(const TargetPatch &a, const TargetPatch &b)
{
    double la[3], lb[3];
    if (!a.lab(la) || !b.lab(lb))
        return false;
    const cmsCIELab ca{la[0], la[1], la[2]};
    const cmsCIELab cb{lb[0], lb[1], lb[2]};
    return cmsDeltaE(&ca, &cb) < kBorderDeltaE;
}

bool TargetPatchGrid::hasBorder(int page, int row, int col) const
{
    const long index = col + (static_cast<long>(row) + static_cast<long>(page - 1) * rows) * columns;
    const TargetPatch *patch = patchAtIndex(index);
    if (!patch)
        return false;
    if (!isLight(patch->effectiveColor()))
        return false;
    const long neighbours[4] = {index - columns, index - 1, index + 1, index + columns};
    for (long n : neighbours) {
        const TargetPatch *other = patchAtIndex(n);
        if (other && similarColors(*patch, *other))
            return true;
    }
    return false;
}

void TargetPatchGrid::paintPatches(QPainter &painter, int page, double x0, double y0) const
{
    if (columns <= 0 || rows <= 0 || page < 1)
        return;
    const double w = sizeX * scale;
    const double h = sizeY * scale;
    const double gap = gapX * scale;
    const double pitchX = w + gap;
    const double pitchY = h + gapY * scale;
    const bool separators = blackWhiteSeparators && !autopositioningBorders;
    const double xStart = x0 + startOffset * scale;
    const long first = static_cast<long>(page - 1) * columns * rows;
    double y = y0;
    for (int r = 0; r < rows; ++r) {
        double x = xStart;
        for (int c = 0; c < columns; ++c) {
            const TargetPatch *patch = patchAtIndex(first + static_cast<long>(r) * columns + c);
            if (!patch)
                return;
            painter.fillRect(QRectF(x, y, w, h), patch->data.color);
            if (c + 1 < columns && separators && patch->separator)
                painter.fillRect(QRectF(x + w, y, gap, h), Qt::black);
            x += pitchX;
        }
        y += pitchY;
    }
}

void TargetPatchGrid::paintBorders(QPainter &painter, int page, double x0, double y0) const
{
    if (columns <= 0 || rows <= 0 || page < 1)
        return;
    const double w = sizeX * scale;
    const double h = sizeY * scale;
    const double pitchX = w + gapX * scale;
    const double pitchY = h + gapY * scale;
    const double hx = gapX * scale / 2.0;
    const double hy = gapY * scale / 2.0;
    const double xStart = x0 + startOffset * scale;
    double y = y0;
    for (int r = 0; r < rows; ++r) {
        double x = xStart;
        for (int c = 0; c < columns; ++c) {
            if (hasBorder(page, r, c)) {
                painter.fillRect(QRectF(x - hx, y - hy, pitchX, hy), Qt::black);
                painter.fillRect(QRectF(x - hx, y - hy, hx, pitchY), Qt::black);
                painter.fillRect(QRectF(x + w, y - hy, hx, pitchY), Qt::black);
                painter.fillRect(QRectF(x - hx, y + h, pitchX, hy), Qt::black);
            }
            x += pitchX;
        }
        y += pitchY;
    }
}

TargetPatchData TargetPatchGrid::describeSet(const ReferenceFileSet &set, DisplayColourCache *cache)
{
    TargetPatchData result;
    result.color = QColor();
    const ReferenceFileData *file = set.GetData();
    if (!file)
        return result;
    const int extras = std::max(0, std::min<int>(file->extraChannelCount, ReferenceFileSet::kMaxChannels));
    auto mixed = [&](const std::vector<int> &values) {
        return cache ? cache->channelColor(*file, values) : ChannelColor(*file, values);
    };
    QString text;
    if (file->isRGB) {
        result.color = colorFromRGB(set.GetValuesRGB());
        text = QStringLiteral("RGB: (") + joined(set.GetValuesRGB(), 3, 0) + QLatin1Char(')');
    } else if (file->isCMYK && extras > 0) {
        std::vector<int> values;
        values.reserve(static_cast<size_t>(4 + extras));
        for (int i = 0; i < 4; ++i)
            values.push_back(truncatedPercent(set.GetValuesCMYK()[i]));
        for (int i = 0; i < extras; ++i)
            values.push_back(truncatedPercent(set.GetValuesNColor()[i]));
        result.color = mixed(values);
        text = QStringLiteral("CMYK+") + QString::number(extras) + QStringLiteral(": (") +
               joined(set.GetValuesCMYK(), 4, 1) + QStringLiteral(" + ") + joined(set.GetValuesNColor(), extras, 2) +
               QLatin1Char(')');
    } else if (file->isCMYK) {
        std::vector<int> values;
        values.reserve(4);
        for (int i = 0; i < 4; ++i)
            values.push_back(truncatedPercent(set.GetValuesCMYK()[i]));
        result.color = mixed(values);
        text = QStringLiteral("CMYK: (") + joined(set.GetValuesCMYK(), 4, 1) + QLatin1Char(')');
    } else if (file->hasLab) {
        result.color = LabToColor(set.GetValuesLAB());
        text = QStringLiteral("Lab: (") + joined(set.GetValuesLAB(), 3, 1) + QLatin1Char(')');
    } else if (file->hasXYZ) {
        result.color = XYZtoColor(set.GetValuesXYZ());
        text = QStringLiteral("XYZ: (") + joined(set.GetValuesXYZ(), 3, 2) + QLatin1Char(')');
    } else if (file->hasGray) {
        result.color = colorFromRGB(set.GetValuesRGB());
        text = QStringLiteral("GRAY: (") + QString::number(set.GetValueGRAY(), 'f', 3) + QLatin1Char(')');
    } else if (extras > 0) {
        std::vector<int> values;
        values.reserve(static_cast<size_t>(extras));
        for (int i = 0; i < extras; ++i)
            values.push_back(truncatedPercent(set.GetValuesNColor()[i]));
        result.color = mixed(values);
        text = QStringLiteral("NColor: (") + joined(set.GetValuesNColor(), extras, 2) + QLatin1Char(')');
    }
    result.dataText = finished(std::move(text));
    return result;
}

QString TargetPatchGrid::rowLetters(int row)
{
    // Spreadsheet columns: the two-letter rule extended, so rows beyond ZZ stay letters.
    QString letters;
    long n = row;
    while (n > 0) {
        --n;
        letters.prepend(QChar(static_cast<char16_t>(u'A' + n % 26)));
        n /= 26;
    }
    return letters;
}
