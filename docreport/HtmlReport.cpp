// HtmlReport: reading the "docReport" XML, choosing the value rows a report type evaluates,
// and writing the page with its two inline SVG charts (ΔE histogram, a*b* plot).
#include "HtmlReport.h"

#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace HtmlReport
{
namespace
{
// ---- reading -----------------------------------------------------------------------------

std::string ChildText(const tinyxml2::XMLElement* parent, const char* name)
{
    const tinyxml2::XMLElement* child = parent ? parent->FirstChildElement(name) : nullptr;
    const char* text = child ? child->GetText() : nullptr;
    return text ? text : "";
}

// Locale-independent, whole-text number; false for "", "1.2x" and the like.
bool ParseNumber(std::string_view text, double& value)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
        text.remove_suffix(1);
    if (text.empty())
        return false;
    if (text.front() == '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

std::string Fixed(double value, int decimals)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// ---- what each report type evaluates -----------------------------------------------------

// How a statistic is judged against its limit: passes when below it, or when at most it.
enum class Comparison
{
    None,
    Below,
    AtMost
};

struct RowLayout
{
    const char* element;
    const char* label;
    const char* limitField;  // element of the tolerance set; null when the row has no limit
    Comparison comparison;
};

struct GroupLayout
{
    const char* title;
    const char* note;
    std::vector<RowLayout> rows;
};

enum class Scheme
{
    General,
    G7Targeted,
    G7Proof,
    G7Press,
    FograAll,
    FograMA,
    FograMR
};

Scheme SchemeOf(const std::string& reportType)
{
    if (reportType == "IDEAllianceG7MasterPassFail-Targeted")
        return Scheme::G7Targeted;
    if (reportType == "IDEAllianceG7MasterPassFail-Colorspace-Proof")
        return Scheme::G7Proof;
    if (reportType == "IDEAllianceG7MasterPassFail-Colorspace-Press")
        return Scheme::G7Press;
    if (reportType == "FOGRA_PSD_2022")
        return Scheme::FograAll;
    if (reportType == "FOGRA_PSD_2022_Side-by-Side")
        return Scheme::FograMA;
    if (reportType == "FOGRA_PSD_2022_mediarelative")
        return Scheme::FograMR;
    return Scheme::General;
}

// The library writes limits of the general evaluation with 2 decimals, a checker's with 1.
int LimitDecimals(Scheme scheme) { return scheme == Scheme::General ? 2 : 1; }

const std::vector<GroupLayout>& GeneralGroups()
{
    static const std::vector<GroupLayout> groups = {
        {"Colour accuracy", "",
         {{"AverageTotal", "Average ΔE, all patches", "averageTotalError", Comparison::Below},
          {"MaximumTotal", "Maximum ΔE, all patches", "maximumTotalError", Comparison::Below},
          {"Media", "Paper white ΔE", "paperWhiteTotalError", Comparison::Below},
          {"Primaries", "Maximum ΔE, primaries", "primaryColorsTotalError", Comparison::Below},
          {"PrimariesH", "Maximum ΔH, primaries", "primaryColorsTotalError", Comparison::Below},
          {"AverageAllPatches", "Average ΔE, media relative", "averageTotalError", Comparison::Below},
          {"Quantile95", "95th percentile ΔE", "deviationBest90Error", Comparison::Below},
          {"Gamutcheck", "Gamut check", nullptr, Comparison::None}}},
        {"Gray balance", "",
         {{"AverageGrayscale", "Average ΔE, gray patches", "grayBalanceError", Comparison::Below},
          {"AverageGrayscaleC", "Average ΔCh, gray patches", "grayBalanceError", Comparison::Below},
          {"Grayscale", "Maximum ΔE, gray patches", "grayBalanceError", Comparison::Below},
          {"IdeSpecialgray", "ΔE, special gray", "grayBalanceIDEASpecialError", Comparison::Below}}},
    };
    return groups;
}

const GroupLayout& G7GrayGroup()
{
    static const GroupLayout group = {
        "G7 gray balance", "",
        {{"AverageWDeltaLstar", "Average weighted ΔL*", "averageWDeltaLstarError", Comparison::AtMost},
         {"MaximumWDeltaLstar", "Maximum weighted ΔL*", "maximumWDeltaLstarError", Comparison::AtMost},
         {"AverageWDeltaCh", "Average weighted ΔCh", "averageWDeltaChError", Comparison::AtMost},
         {"MaximumWDeltaCh", "Maximum weighted ΔCh", "maximumWDeltaChError", Comparison::AtMost}}};
    return group;
}

const GroupLayout& G7SolidsGroup()
{
    static const GroupLayout group = {
        "G7 substrate and solids", "The RGB overprint solids are judged as well; the report holds no value for them.",
        {{"Media", "Paper white ΔE", "paperWhiteTotalError", Comparison::AtMost},
         {"G7CMYSolids", "Maximum ΔE, CMY solids", "primaryColorsTotalError", Comparison::AtMost},
         {"G7KSolids", "ΔE, K solid", "blackColorTotalError", Comparison::AtMost}}};
    return group;
}

const GroupLayout& FograGroup(int index)
{
    static const GroupLayout groups[4] = {
        {"Contract proof (CP)", "",
         {{"FograPSD2022-CP-Substrate", "Paper white ΔE", "cp_paperWhiteTotalError", Comparison::AtMost},
          {"FograPSD2022-CP-MaximumTotal", "Maximum ΔE", "cp_maximumTotalError", Comparison::AtMost},
          {"FograPSD2022-CP-AverageTotal", "Average ΔE", "cp_averageTotalError", Comparison::AtMost},
          {"FograPSD2022-CP-MaximumGrayscale", "Maximum ΔCh, gray patches", "cp_grayBalanceError", Comparison::AtMost},
          {"FograPSD2022-CP-AverageGrayscale", "Average ΔCh, gray patches", "cp_averageGrayBalanceError",
           Comparison::AtMost},
          {"FograPSD2022-CP-PrimariesH", "Maximum ΔH, primaries", "cp_primaryColorsDeltaHTotalError",
           Comparison::AtMost},
          {"FograPSD2022-CP-Primaries", "Maximum ΔE, primaries", "cp_primaryColorsTotalError", Comparison::AtMost}}},
        {"Validation print (VP)", "",
         {{"FograPSD2022-VP-Substrate", "Paper white ΔE", "vp_paperWhiteTotalError", Comparison::AtMost},
          {"FograPSD2022-VP-AverageNoBoundaryColors", "Average ΔE without boundary colours",
           "vp_averageNoBoundaryColorsError", Comparison::AtMost},
          {"FograPSD2022-VP-Quantile95NoBoundaryColors", "95th percentile ΔE without boundary colours",
           "vp_95thPercentileNoBoundaryColors", Comparison::AtMost},
          {"FograPSD2022-VP-MaximumGrayscale", "Maximum ΔCh, gray patches", "vp_grayBalanceError", Comparison::AtMost},
          {"FograPSD2022-VP-AverageGrayscale", "Average ΔCh, gray patches", "vp_averageGrayBalanceError",
           Comparison::AtMost}}},
        {"Media absolute (MA)", "",
         {{"FograPSD2022-MA-Substrate", "Paper white ΔE", "ma_paperWhiteTotalError", Comparison::Below},
          {"FograPSD2022-MA-MaximumTotal", "Maximum ΔE", "ma_maximumTotalError", Comparison::Below},
          {"FograPSD2022-MA-AverageTotal", "Average ΔE", "ma_averageTotalError", Comparison::Below},
          {"FograPSD2022-MA-Quantile95", "95th percentile ΔE", "ma_95thPercentile", Comparison::Below},
          {"FograPSD2022-MA-MaximumGrayscale", "Maximum ΔCh, gray patches", "ma_grayBalanceError",
           Comparison::AtMost}}},
        {"Media relative (MR)", "",
         {{"FograPSD2022-MR-AverageTotal", "Average ΔE", "mr_averageTotalError", Comparison::Below},
          {"FograPSD2022-MR-Quantile95", "95th percentile ΔE", "mr_95thPercentile", Comparison::Below},
          {"FograPSD2022-MR-MaximumGrayscale", "Maximum ΔCh, gray patches", "mr_grayBalanceError",
           Comparison::AtMost},
          {"FograPSD2022-MR-Whitepoint", "White point ΔE", "mr_whitepoint", Comparison::Below},
          {"FograPSD2022-MR-Blackpoint", "Black point difference", "mr_blackpoint", Comparison::Below}}},
    };
    return groups[std::clamp(index, 0, 3)];
}

std::vector<GroupLayout> GroupsOf(Scheme scheme)
{
    switch (scheme) {
    case Scheme::General: return GeneralGroups();
    case Scheme::G7Targeted: return {G7GrayGroup(), G7SolidsGroup()};
    case Scheme::G7Proof:
        return {G7GrayGroup(), G7SolidsGroup(),
                {"Colour space accuracy", "",
                 {{"AverageTotal", "Average ΔE, all patches", "averageTotalError", Comparison::AtMost},
                  {"MaximumTotal", "Maximum ΔE, all patches", "maximumTotalError", Comparison::AtMost},
                  {"Quantile95", "95th percentile ΔE", "deviationBest90Error", Comparison::AtMost}}}};
    case Scheme::G7Press:
        return {G7GrayGroup(), G7SolidsGroup(),
                {"Colour space accuracy", "",
                 {{"AverageTotal", "Average ΔE, all patches", "averageTotalError", Comparison::AtMost},
                  {"Quantile95", "95th percentile ΔE", "deviationBest90Error", Comparison::AtMost}}}};
    case Scheme::FograAll: return {FograGroup(0), FograGroup(1), FograGroup(2), FograGroup(3)};
    case Scheme::FograMA: return {FograGroup(2)};
    case Scheme::FograMR: return {FograGroup(3)};
    }
    return {};
}

// The statistics the library writes for every report type, with the labels of the page.
const std::vector<std::pair<const char*, const char*>>& GeneralLabels()
{
    static const std::vector<std::pair<const char*, const char*>> labels = {
        {"AverageTotal", "Average ΔE, all patches"},
        {"MaximumTotal", "Maximum ΔE, all patches"},
        {"AverageGrayscale", "Average ΔE, gray patches"},
        {"AverageGrayscaleC", "Average ΔCh, gray patches"},
        {"Media", "Paper white ΔE"},
        {"Primaries", "Maximum ΔE, primaries"},
        {"PrimariesH", "Maximum ΔH, primaries"},
        {"AverageAllPatches", "Average ΔE, media relative"},
        {"Quantile95", "95th percentile ΔE"},
        {"Gamutcheck", "Gamut check"},
        {"Grayscale", "Maximum ΔE, gray patches"},
        {"IdeSpecialgray", "ΔE, special gray"},
    };
    return labels;
}

std::string LimitText(const RowLayout& layout, const Supplement& supplement, int decimals)
{
    if (layout.limitField == nullptr)
        return "";
    const auto found = supplement.tolerances.find(layout.limitField);
    if (found == supplement.tolerances.end())
        return "";
    return std::string(layout.comparison == Comparison::Below ? "< " : "≤ ") + Fixed(found->second, decimals);
}

// ---- page parts --------------------------------------------------------------------------

std::string VerdictBadge(const std::string& verdict)
{
    return std::string("<span class=\"badge ") + VerdictClass(verdict) + "\">" +
           Escape(verdict.empty() ? "—" : verdict) + "</span>";
}

std::string OrDash(const std::string& text) { return text.empty() ? "—" : Escape(text); }

// Display colour of a D50 Lab value as sRGB hex (Bradford adaptation); only a swatch, so
// out-of-gamut colours are clipped.
std::string LabToHex(double l, double a, double b)
{
    const double fy = (l + 16.0) / 116.0, fx = fy + a / 500.0, fz = fy - b / 200.0;
    const auto finv = [](double t) {
        const double d = 6.0 / 29.0;
        return t > d ? t * t * t : 3.0 * d * d * (t - 4.0 / 29.0);
    };
    const double x = 0.96422 * finv(fx), y = finv(fy), z = 0.82521 * finv(fz);
    const double xd = 0.9555766 * x - 0.0230393 * y + 0.0631636 * z;
    const double yd = -0.0282895 * x + 1.0099416 * y + 0.0210077 * z;
    const double zd = 0.0122982 * x - 0.0204830 * y + 1.3299098 * z;
    const double linear[3] = {3.2404542 * xd - 1.5371385 * yd - 0.4985314 * zd,
                              -0.9692660 * xd + 1.8760108 * yd + 0.0415560 * zd,
                              0.0556434 * xd - 0.2040259 * yd + 1.0572252 * zd};
    char hex[8];
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        const double c = std::clamp(linear[i], 0.0, 1.0);
        const double v = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
        channel[i] = static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
    }
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", channel[0], channel[1], channel[2]);
    return hex;
}

bool PatchLab(const Patch& p, bool reference, double lab[3])
{
    return reference ? ParseNumber(p.refL, lab[0]) && ParseNumber(p.refA, lab[1]) && ParseNumber(p.refB, lab[2])
                     : ParseNumber(p.l, lab[0]) && ParseNumber(p.a, lab[1]) && ParseNumber(p.b, lab[2]);
}

std::string Swatch(const Patch& p, bool reference)
{
    double lab[3];
    if (!PatchLab(p, reference, lab))
        return "<span class=\"swatch empty\"></span>";
    return "<span class=\"swatch\" style=\"background:" + LabToHex(lab[0], lab[1], lab[2]) + "\"></span>";
}

const char* kStyle = R"CSS(
:root{--ink:#1d232b;--muted:#5f6b7a;--line:#dde2e8;--soft:#f4f6f8;--pass:#1e7d3a;--pass-bg:#e3f4e8;
--fail:#c0262d;--fail-bg:#fbe5e6;--warn:#a15c00;--warn-bg:#fdf0d8;--none:#6b7480;--none-bg:#eceff2}
*{box-sizing:border-box}
html{-webkit-print-color-adjust:exact;print-color-adjust:exact}
body{margin:0;background:#eef1f4;color:var(--ink);font:14px/1.45 "Helvetica Neue",Helvetica,Arial,"Liberation Sans","DejaVu Sans",sans-serif}
main{max-width:1180px;margin:0 auto;padding:28px 32px 40px}
.sheet{background:#fff;border:1px solid var(--line);border-radius:10px;padding:24px 28px;margin-bottom:22px}
h1{font-size:13px;letter-spacing:.12em;text-transform:uppercase;color:var(--muted);margin:0 0 14px;font-weight:600}
h2{font-size:18px;margin:0 0 14px;font-weight:600}
h3{font-size:14px;margin:18px 0 8px;font-weight:600;display:flex;align-items:center;gap:10px}
.head{display:grid;grid-template-columns:320px 1fr;gap:28px;align-items:start}
.global{border-radius:10px;padding:22px 20px;text-align:center;color:#fff}
.global .icon{display:block;font-size:46px;line-height:1;font-weight:700}
.global .text{display:block;font-size:30px;font-weight:700;margin-top:6px}
.global .sub{display:block;font-size:13px;opacity:.9;margin-top:6px}
.global.pass{background:var(--pass)}.global.fail{background:var(--fail)}
.global.warn{background:#c77700}.global.none{background:var(--none)}
dl.facts{display:grid;grid-template-columns:repeat(2,minmax(0,1fr));gap:10px 28px;margin:0}
dl.facts div{border-bottom:1px solid var(--line);padding-bottom:6px;min-width:0}
dt{font-size:11px;text-transform:uppercase;letter-spacing:.06em;color:var(--muted)}
dd{margin:2px 0 0;font-size:15px;font-weight:500;overflow-wrap:anywhere}
.counts{display:flex;gap:10px;margin-top:14px;flex-wrap:wrap}
.count{background:var(--soft);border-radius:8px;padding:8px 12px;min-width:104px}
.count b{display:block;font-size:20px;font-variant-numeric:tabular-nums}
.count span{font-size:12px;color:var(--muted)}
table{border-collapse:collapse;width:100%;font-variant-numeric:tabular-nums}
th,td{padding:6px 10px;border-bottom:1px solid var(--line);text-align:left;vertical-align:middle}
th{font-size:11px;text-transform:uppercase;letter-spacing:.05em;color:var(--muted);font-weight:600;background:var(--soft)}
td.num,th.num{text-align:right;white-space:nowrap}
table.values td.label{width:46%}
table.values td.num{width:16%}
tr.fail td{background:#fff6f6}
.badge{display:inline-block;border-radius:999px;padding:2px 10px;font-size:12px;font-weight:600;white-space:nowrap}
.badge.pass{background:var(--pass-bg);color:var(--pass)}.badge.fail{background:var(--fail-bg);color:var(--fail)}
.badge.warn{background:var(--warn-bg);color:var(--warn)}.badge.none{background:var(--none-bg);color:var(--none)}
.note{color:var(--muted);font-size:12px;margin:6px 0 0}
.groups{display:grid;grid-template-columns:repeat(2,minmax(0,1fr));gap:4px 28px}
.groups.single{grid-template-columns:1fr}
details{margin-top:16px}summary{cursor:pointer;color:var(--muted);font-size:13px}
details table{margin-top:8px}details .badge{opacity:.75}
.charts{display:grid;grid-template-columns:minmax(0,1.25fr) minmax(0,1fr);gap:28px}
figure{margin:0}figcaption{font-size:12px;color:var(--muted);margin-top:6px}
svg{display:block;width:100%;height:auto}
svg text{font:11px "Helvetica Neue",Helvetica,Arial,"Liberation Sans","DejaVu Sans",sans-serif;fill:#5f6b7a}
.legend{display:flex;gap:14px;font-size:12px;color:var(--muted);margin-top:4px;flex-wrap:wrap}
.legend i{display:inline-block;width:10px;height:10px;border-radius:2px;margin-right:5px;vertical-align:-1px}
.swatch{display:inline-block;width:16px;height:16px;border-radius:3px;border:1px solid rgba(0,0,0,.18);vertical-align:middle}
.swatch+.swatch{margin-left:3px}.swatch.empty{background:repeating-linear-gradient(45deg,#eee 0 3px,#fff 3px 6px)}
table.patches td.name{font-weight:600}
table.patches tr.lab th,#sort-de{text-transform:none;font-size:12px}
table.patches th.group{text-align:center;border-left:1px solid var(--line)}
table.patches td.first{border-left:1px solid var(--line)}
button.sort{font:inherit;color:inherit;text-transform:inherit;letter-spacing:inherit;background:none;border:0;padding:0;cursor:pointer}
button.sort::after{content:" \2195";color:#9aa4af}
th[aria-sort=descending] button.sort::after{content:" \2193";color:var(--ink)}
th[aria-sort=ascending] button.sort::after{content:" \2191";color:var(--ink)}
footer{color:var(--muted);font-size:12px;text-align:center}
@media print{body{background:#fff}main{padding:0}.sheet{border:0;padding:0 0 12px}}
)CSS";

const char* kSortScript = R"JS(
(function(){var b=document.getElementById('sort-de');var t=document.getElementById('patch-table');if(!b||!t)return;
var th=b.parentNode,body=t.tBodies[0],state=0,names=['none','descending','ascending'];
function de(r){var x=parseFloat(r.getAttribute('data-de'));return isNaN(x)?-1:x;}
b.addEventListener('click',function(){state=(state+1)%3;var rows=Array.prototype.slice.call(body.rows);
rows.sort(function(x,y){if(state===0)return x.getAttribute('data-index')-y.getAttribute('data-index');
var d=de(x)-de(y);return state===1?-d:d;});
rows.forEach(function(r){body.appendChild(r);});th.setAttribute('aria-sort',names[state]);});})();
)JS";

std::string ValueTable(const std::vector<ValueRow>& rows, bool withLimit, bool muted)
{
    std::string out = "<table class=\"values\"><thead><tr><th>Value</th><th class=\"num\">Statistic</th>";
    if (withLimit)
        out += "<th class=\"num\">Limit</th>";
    out += "<th>Verdict</th></tr></thead><tbody>";
    for (const ValueRow& row : rows) {
        const char* cls = VerdictClass(row.verdict);
        out += "<tr data-element=\"" + Escape(row.element) + "\"" +
               (!muted && std::strcmp(cls, "fail") == 0 ? " class=\"fail\"" : "") + ">";
        out += "<td class=\"label\">" + Escape(row.label) + "</td>";
        out += "<td class=\"num stat\">" + OrDash(row.statistic) + "</td>";
        if (withLimit)
            out += "<td class=\"num limit\">" + OrDash(row.limit) + "</td>";
        out += "<td class=\"verdict\">" + VerdictBadge(row.verdict) + "</td></tr>";
    }
    out += "</tbody></table>";
    return out;
}

// The verdict of a group: red when a row is red, amber when a row is amber, else green.
std::string GroupVerdict(const ValueGroup& group)
{
    bool warn = false, any = false;
    for (const ValueRow& row : group.rows) {
        const std::string cls = VerdictClass(row.verdict);
        if (cls == "fail")
            return "Not Passed";
        warn = warn || cls == "warn";
        any = any || cls == "pass";
    }
    return warn ? "Passed , above average" : any ? "Passed" : "Not calculated";
}

// Ticks at 1, 2 or 5 times a power of ten, about `wanted` of them up to `top`.
double NiceStep(double top, int wanted)
{
    if (!(top > 0.0))
        return 1.0;
    const double raw = top / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * power)
            return m * power;
    return 10.0 * power;
}

std::string Num(double v) { return Fixed(v, 1); }

std::string Histogram(const Report& report)
{
    std::vector<std::pair<double, std::string>> values;
    double maximum = 0.0;
    for (const Patch& p : report.patches) {
        double de = 0.0;
        if (ParseNumber(p.deltaE, de) && de >= 0.0) {
            values.emplace_back(de, VerdictClass(p.verdict));
            maximum = std::max(maximum, de);
        }
    }
    if (values.empty())
        return "<p class=\"note\">No patch carries a ΔE value.</p>";
    const double step = NiceStep(maximum > 0.0 ? maximum : 1.0, 16);
    const int bins = std::max(1, static_cast<int>(std::floor(maximum / step)) + 1);
    static const char* const kClasses[] = {"pass", "warn", "fail", "none"};
    static const char* const kFills[] = {"#3d9a5b", "#e0a030", "#d0453c", "#9aa4af"};
    std::vector<std::array<int, 4>> counts(static_cast<std::size_t>(bins), std::array<int, 4>{});
    for (const auto& [de, cls] : values) {
        const int bin = std::min(bins - 1, static_cast<int>(std::floor(de / step)));
        int k = 3;
        for (int i = 0; i < 4; ++i)
            if (cls == kClasses[i])
                k = i;
        ++counts[static_cast<std::size_t>(bin)][static_cast<std::size_t>(k)];
    }
    int top = 1;
    for (const auto& c : counts)
        top = std::max(top, c[0] + c[1] + c[2] + c[3]);
    const double yStep = std::max(1.0, std::ceil(NiceStep(top, 5)));
    const double yTop = std::ceil(top / yStep) * yStep;

    const double w = 600, h = 300, left = 44, right = 12, topM = 12, bottom = 40;
    const double pw = w - left - right, ph = h - topM - bottom, bw = pw / bins;
    std::string s = "<svg id=\"histogram\" viewBox=\"0 0 600 300\" role=\"img\" aria-label=\"Histogram of ΔE\">";
    for (double y = 0; y <= yTop + 1e-9; y += yStep) {
        const double py = topM + ph - y / yTop * ph;
        s += "<line x1=\"" + Num(left) + "\" x2=\"" + Num(w - right) + "\" y1=\"" + Num(py) + "\" y2=\"" + Num(py) +
             "\" stroke=\"#e3e7ec\"/>";
        s += "<text x=\"" + Num(left - 6) + "\" y=\"" + Num(py + 4) + "\" text-anchor=\"end\">" + Fixed(y, 0) +
             "</text>";
    }
    for (int i = 0; i < bins; ++i) {
        double base = 0;
        const auto& c = counts[static_cast<std::size_t>(i)];
        const double lo = i * step, hi = (i + 1) * step;
        for (int k = 0; k < 4; ++k) {
            if (c[static_cast<std::size_t>(k)] == 0)
                continue;
            const double y0 = topM + ph - (base + c[static_cast<std::size_t>(k)]) / yTop * ph;
            const double bh = c[static_cast<std::size_t>(k)] / yTop * ph;
            s += "<rect x=\"" + Num(left + i * bw + 1) + "\" y=\"" + Num(y0) + "\" width=\"" +
                 Num(std::max(1.0, bw - 2)) + "\" height=\"" + Num(bh) + "\" fill=\"" + kFills[k] + "\"><title>ΔE " +
                 Fixed(lo, 2) + "–" + Fixed(hi, 2) + ": " + std::to_string(c[static_cast<std::size_t>(k)]) +
                 "</title></rect>";
            base += c[static_cast<std::size_t>(k)];
        }
        if (base > 0)
            s += "<text x=\"" + Num(left + (i + 0.5) * bw) + "\" y=\"" + Num(topM + ph - base / yTop * ph - 4) +
                 "\" text-anchor=\"middle\">" + std::to_string(static_cast<int>(base)) + "</text>";
    }
    const int labelEvery = std::max(1, bins / 8);
    const int decimals = step < 0.1 ? 2 : step < 1.0 ? (std::fmod(step * 10, 1.0) > 1e-9 ? 2 : 1) : 0;
    for (int i = 0; i <= bins; i += labelEvery) {
        const double px = left + i * bw;
        s += "<line x1=\"" + Num(px) + "\" x2=\"" + Num(px) + "\" y1=\"" + Num(topM + ph) + "\" y2=\"" +
             Num(topM + ph + 4) + "\" stroke=\"#9aa4af\"/>";
        s += "<text x=\"" + Num(px) + "\" y=\"" + Num(topM + ph + 16) + "\" text-anchor=\"middle\">" +
             Fixed(i * step, decimals) + "</text>";
    }
    s += "<line x1=\"" + Num(left) + "\" x2=\"" + Num(w - right) + "\" y1=\"" + Num(topM + ph) + "\" y2=\"" +
         Num(topM + ph) + "\" stroke=\"#9aa4af\"/>";
    s += "<text x=\"" + Num(left + pw / 2) + "\" y=\"" + Num(h - 6) + "\" text-anchor=\"middle\">ΔE</text>";
    s += "<text x=\"12\" y=\"" + Num(topM + ph / 2) + "\" text-anchor=\"middle\" transform=\"rotate(-90 12 " +
         Num(topM + ph / 2) + ")\">Patches</text>";
    s += "</svg>";
    return s;
}

std::string AbPlot(const Report& report)
{
    struct Point
    {
        double ref[3], meas[3];
        const Patch* patch;
    };
    std::vector<Point> points;
    double extent = 0.0;
    for (const Patch& p : report.patches) {
        Point pt{};
        pt.patch = &p;
        if (!PatchLab(p, true, pt.ref) || !PatchLab(p, false, pt.meas))
            continue;
        for (double v : {pt.ref[1], pt.ref[2], pt.meas[1], pt.meas[2]})
            extent = std::max(extent, std::fabs(v));
        points.push_back(pt);
    }
    if (points.empty())
        return "<p class=\"note\">No patch carries reference and measured Lab values.</p>";
    const double grid = extent > 60 ? 20.0 : 10.0;
    extent = std::max(grid, std::ceil(extent / grid) * grid);
    const double size = 440, m = 34, pw = size - 2 * m;
    const auto X = [&](double a) { return m + (a + extent) / (2 * extent) * pw; };
    const auto Y = [&](double b) { return m + (extent - b) / (2 * extent) * pw; };
    std::string s = "<svg id=\"ab-plot\" viewBox=\"0 0 440 440\" role=\"img\" "
                    "aria-label=\"Measured against reference a* b*\">";
    s += "<rect x=\"" + Num(m) + "\" y=\"" + Num(m) + "\" width=\"" + Num(pw) + "\" height=\"" + Num(pw) +
         "\" fill=\"#fbfcfd\" stroke=\"#dde2e8\"/>";
    for (double v = -extent; v <= extent + 1e-9; v += grid) {
        const bool axis = std::fabs(v) < 1e-9;
        const char* stroke = axis ? "#9aa4af" : "#e8ebef";
        s += "<line x1=\"" + Num(X(v)) + "\" x2=\"" + Num(X(v)) + "\" y1=\"" + Num(m) + "\" y2=\"" + Num(m + pw) +
             "\" stroke=\"" + stroke + "\"/>";
        s += "<line y1=\"" + Num(Y(v)) + "\" y2=\"" + Num(Y(v)) + "\" x1=\"" + Num(m) + "\" x2=\"" + Num(m + pw) +
             "\" stroke=\"" + stroke + "\"/>";
        s += "<text x=\"" + Num(X(v)) + "\" y=\"" + Num(m + pw + 14) + "\" text-anchor=\"middle\">" + Fixed(v, 0) +
             "</text>";
        s += "<text x=\"" + Num(m - 5) + "\" y=\"" + Num(Y(v) + 4) + "\" text-anchor=\"end\">" + Fixed(v, 0) +
             "</text>";
    }
    s += "<text x=\"" + Num(m + pw) + "\" y=\"" + Num(m - 8) + "\" text-anchor=\"end\">a* →</text>";
    s += "<text x=\"" + Num(m) + "\" y=\"" + Num(m - 8) + "\">↑ b*</text>";
    // Failing patches last, so they are drawn on top.
    std::stable_sort(points.begin(), points.end(), [](const Point& x, const Point& y) {
        return std::strcmp(VerdictClass(x.patch->verdict), "fail") != 0 &&
               std::strcmp(VerdictClass(y.patch->verdict), "fail") == 0;
    });
    for (const Point& pt : points) {
        const bool fail = std::strcmp(VerdictClass(pt.patch->verdict), "fail") == 0;
        s += "<g><title>" + Escape(pt.patch->name) + ": ΔE " + Escape(pt.patch->deltaE) + "</title>";
        s += "<line x1=\"" + Num(X(pt.ref[1])) + "\" y1=\"" + Num(Y(pt.ref[2])) + "\" x2=\"" + Num(X(pt.meas[1])) +
             "\" y2=\"" + Num(Y(pt.meas[2])) + "\" stroke=\"" + (fail ? "#d0453c" : "#8a949f") + "\" stroke-width=\"" +
             (fail ? "1.6" : "0.8") + "\"/>";
        s += "<circle cx=\"" + Num(X(pt.ref[1])) + "\" cy=\"" + Num(Y(pt.ref[2])) +
             "\" r=\"3.2\" fill=\"none\" stroke=\"#5f6b7a\" stroke-width=\"0.9\"/>";
        s += "<circle cx=\"" + Num(X(pt.meas[1])) + "\" cy=\"" + Num(Y(pt.meas[2])) + "\" r=\"" +
             (fail ? "4" : "3") + "\" fill=\"" + LabToHex(pt.meas[0], pt.meas[1], pt.meas[2]) + "\" stroke=\"" +
             (fail ? "#c0262d" : "#39424c") + "\" stroke-width=\"" + (fail ? "1.6" : "0.6") + "\"/></g>";
    }
    s += "</svg>";
    return s;
}

std::string FactsList(const Report& report, const Supplement& supplement)
{
    std::string dateTime = report.dateTime;
    if (const auto t = dateTime.find('T'); t != std::string::npos)
        dateTime[t] = ' ';
    const std::pair<const char*, std::string> facts[] = {
        {"Printer", report.printer},
        {"Media", report.media},
        {"Date", dateTime},
        {"Measurement device", report.device},
        {"Reference", supplement.reference},
        {"Tolerance set", report.toleranceSet},
        {"Colour distance formula", report.colorDistanceFormula},
        {"Report type", report.reportType},
    };
    static const char* const kIds[] = {"printer", "media", "date", "device", "reference", "tolerance", "formula",
                                       "report-type"};
    std::string out = "<dl class=\"facts\">";
    for (std::size_t i = 0; i < std::size(facts); ++i)
        out += std::string("<div><dt>") + facts[i].first + "</dt><dd id=\"fact-" + kIds[i] + "\">" +
               OrDash(facts[i].second) + "</dd></div>";
    out += "</dl>";
    return out;
}

std::string PatchTable(const Report& report)
{
    std::string out =
        "<table class=\"patches\" id=\"patch-table\"><thead>"
        "<tr><th rowspan=\"2\" class=\"num\">#</th><th rowspan=\"2\">Patch</th><th rowspan=\"2\">Colour</th>"
        "<th colspan=\"3\" class=\"group\">Reference</th><th colspan=\"3\" class=\"group\">Measured</th>"
        "<th rowspan=\"2\" class=\"num first\" aria-sort=\"none\"><button type=\"button\" class=\"sort\" id=\"sort-de\" "
        "title=\"Sort by ΔE\">ΔE</button></th><th rowspan=\"2\">Verdict</th></tr>"
        "<tr class=\"lab\"><th class=\"num first\">L*</th><th class=\"num\">a*</th><th class=\"num\">b*</th>"
        "<th class=\"num first\">L*</th><th class=\"num\">a*</th><th class=\"num\">b*</th></tr></thead><tbody>";
    for (std::size_t i = 0; i < report.patches.size(); ++i) {
        const Patch& p = report.patches[i];
        const bool fail = std::strcmp(VerdictClass(p.verdict), "fail") == 0;
        out += "<tr data-index=\"" + std::to_string(i) + "\" data-de=\"" + Escape(p.deltaE) + "\"" +
               (fail ? " class=\"fail\"" : "") + ">";
        out += "<td class=\"num\">" + std::to_string(i + 1) + "</td><td class=\"name\">" + Escape(p.name) + "</td>";
        out += "<td>" + Swatch(p, true) + Swatch(p, false) + "</td>";
        out += "<td class=\"num first\">" + OrDash(p.refL) + "</td><td class=\"num\">" + OrDash(p.refA) +
               "</td><td class=\"num\">" + OrDash(p.refB) + "</td>";
        out += "<td class=\"num first\">" + OrDash(p.l) + "</td><td class=\"num\">" + OrDash(p.a) +
               "</td><td class=\"num\">" + OrDash(p.b) + "</td>";
        out += "<td class=\"num first de\">" + OrDash(p.deltaE) + "</td><td class=\"verdict\">" +
               VerdictBadge(p.verdict) + "</td></tr>";
    }
    out += "</tbody></table>";
    return out;
}

std::string Counts(const Report& report)
{
    int pass = 0, warn = 0, fail = 0;
    double worst = -1.0;
    const Patch* worstPatch = nullptr;
    for (const Patch& p : report.patches) {
        const std::string cls = VerdictClass(p.verdict);
        pass += cls == "pass";
        warn += cls == "warn";
        fail += cls == "fail";
        double de = 0.0;
        if (ParseNumber(p.deltaE, de) && de > worst) {
            worst = de;
            worstPatch = &p;
        }
    }
    std::string out = "<div class=\"counts\">";
    out += "<div class=\"count\"><b id=\"count-patches\">" + std::to_string(report.patches.size()) +
           "</b><span>patches</span></div>";
    out += "<div class=\"count\"><b id=\"count-pass\">" + std::to_string(pass) + "</b><span>passed</span></div>";
    if (warn > 0)
        out += "<div class=\"count\"><b id=\"count-warn\">" + std::to_string(warn) +
               "</b><span>above average</span></div>";
    out += "<div class=\"count\"><b id=\"count-fail\">" + std::to_string(fail) + "</b><span>not passed</span></div>";
    if (worstPatch != nullptr)
        out += "<div class=\"count\"><b id=\"worst-de\">" + Escape(worstPatch->deltaE) + "</b><span>largest ΔE (" +
               Escape(worstPatch->name) + ")</span></div>";
    out += "</div>";
    return out;
}
}  // namespace

// ---- public ------------------------------------------------------------------------------

const char* VerdictClass(std::string_view verdict)
{
    if (verdict == "Passed")
        return "pass";
    if (verdict == "Not Passed")
        return "fail";
    if (verdict == "Passed , above average")
        return "warn";
    return "none";
}

std::string Escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

bool ParseReport(std::string_view xml, Report& report, std::string& error)
{
    tinyxml2::XMLDocument document;
    if (document.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS) {
        error = std::string("the report is no well-formed XML: ") + (document.ErrorStr() ? document.ErrorStr() : "");
        return false;
    }
    const tinyxml2::XMLElement* root = document.RootElement();
    if (root == nullptr || std::strcmp(root->Name(), "docReport") != 0) {
        error = "the report's root element is not docReport";
        return false;
    }
    if (root->FirstChildElement("GlobalPassed") == nullptr) {
        error = "the report has no GlobalPassed element";
        return false;
    }
    report = Report{};
    report.globalPassed = ChildText(root, "GlobalPassed");
    report.measurementName = ChildText(root, "MeasurementName");
    report.printer = ChildText(root, "Printer");
    report.creator = ChildText(root, "Creator");
    report.media = ChildText(root, "Media");
    report.dateTime = ChildText(root, "DateTime");
    report.device = ChildText(root, "MeasurementDevice");
    report.reportType = ChildText(root, "ReportType");
    report.colorDistanceFormula = ChildText(root, "ColorDistanceFormula");
    report.toleranceSet = ChildText(root, "ToleranceSet");
    // "Media" is both a general tag (the media name, no attribute) and a value element
    // (paper white, with the attribute): only elements that carry the attribute, and
    // "Gamutcheck", are values.
    for (const tinyxml2::XMLElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* verdict = e->Attribute("WithinTolerance");
        const bool gamut = std::strcmp(e->Name(), "Gamutcheck") == 0;
        if (verdict == nullptr && !gamut)
            continue;
        Value value;
        value.text = e->GetText() ? e->GetText() : "";
        value.hasVerdict = verdict != nullptr;
        value.verdict = verdict ? verdict : value.text;
        if (gamut && !value.hasVerdict)
            value.text.clear();
        report.values[e->Name()] = value;
    }
    if (const tinyxml2::XMLElement* list = root->FirstChildElement("Measurements")) {
        for (const tinyxml2::XMLElement* m = list->FirstChildElement("Measurement"); m;
             m = m->NextSiblingElement("Measurement")) {
            Patch p;
            p.name = m->Attribute("Name") ? m->Attribute("Name") : "";
            p.refL = ChildText(m, "Ref_L");
            p.refA = ChildText(m, "Ref_a");
            p.refB = ChildText(m, "Ref_b");
            p.l = ChildText(m, "L");
            p.a = ChildText(m, "a");
            p.b = ChildText(m, "b");
            p.deltaE = ChildText(m, "DeltaE");
            p.verdict = ChildText(m, "WithinTolerance");
            report.patches.push_back(std::move(p));
        }
    }
    return true;
}

bool LoadReport(const std::string& path, Report& report, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read " + path;
        return false;
    }
    if (!ParseReport(text, report, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool LoadSupplement(const std::string& jobPath, const std::string& docFolder, Supplement& supplement,
                    std::string& error)
{
    supplement = Supplement{};
    tinyxml2::XMLDocument job;
    if (job.LoadFile(jobPath.c_str()) != tinyxml2::XML_SUCCESS || job.RootElement() == nullptr) {
        error = "the job " + jobPath + " is no XML job; reference and limits are not shown";
        return false;
    }
    const tinyxml2::XMLElement* root = job.RootElement();
    std::string reference = ChildText(root, "DOCReferenceFile");
    if (StartsWith(reference, "DOCReferences"))
        reference.erase(0, std::min(reference.size(), std::strlen("DOCReferences") + 1));
    supplement.reference = reference;

    std::string tolerancePath = ChildText(root, "DOCSettingsFile");
    if (tolerancePath.empty()) {
        error = "the job names no tolerance set; limits are not shown";
        return false;
    }
    if (StartsWith(tolerancePath, "Tolerances"))
        tolerancePath = docFolder + "/Tolerances" + tolerancePath.substr(std::strlen("Tolerances"));
    tinyxml2::XMLDocument settings;
    if (settings.LoadFile(tolerancePath.c_str()) != tinyxml2::XML_SUCCESS || settings.RootElement() == nullptr) {
        error = "the tolerance set " + tolerancePath + " cannot be read; limits are not shown";
        return false;
    }
    for (const tinyxml2::XMLElement* e = settings.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
        double value = 0.0;
        if (e->GetText() && ParseNumber(e->GetText(), value))
            supplement.tolerances[e->Name()] = value;
    }
    return true;
}

std::vector<ValueGroup> EvaluatedGroups(const Report& report, const Supplement& supplement)
{
    const Scheme scheme = SchemeOf(report.reportType);
    std::vector<ValueGroup> groups;
    for (const GroupLayout& layout : GroupsOf(scheme)) {
        ValueGroup group{layout.title, layout.note, {}};
        for (const RowLayout& row : layout.rows) {
            const auto found = report.values.find(row.element);
            if (found == report.values.end())
                continue;
            group.rows.push_back(
                {row.element, row.label, found->second.text, LimitText(row, supplement, LimitDecimals(scheme)),
                 found->second.verdict});
        }
        if (!group.rows.empty())
            groups.push_back(std::move(group));
    }
    return groups;
}

std::vector<ValueRow> FurtherRows(const Report& report)
{
    const Scheme scheme = SchemeOf(report.reportType);
    if (scheme == Scheme::General)
        return {};
    std::vector<std::string> shown;
    for (const GroupLayout& layout : GroupsOf(scheme))
        for (const RowLayout& row : layout.rows)
            shown.emplace_back(row.element);
    std::vector<ValueRow> rows;
    for (const auto& [element, label] : GeneralLabels()) {
        if (std::find(shown.begin(), shown.end(), element) != shown.end())
            continue;
        const auto found = report.values.find(element);
        if (found != report.values.end())
            rows.push_back({element, label, found->second.text, "", found->second.verdict});
    }
    return rows;
}

std::string Render(const Report& report, const Supplement& supplement)
{
    const char* verdictClass = VerdictClass(report.globalPassed);
    static const std::map<std::string, const char*> kIcons = {
        {"pass", "✓"}, {"fail", "✗"}, {"warn", "!"}, {"none", "–"}};
    std::string title = "DOC report";
    if (!report.printer.empty())
        title += " – " + report.printer;
    if (!report.dateTime.empty())
        title += " – " + report.dateTime.substr(0, report.dateTime.find('T'));

    std::string out;
    out.reserve(64 * 1024 + report.patches.size() * 1200);
    out += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'; "
           "script-src 'unsafe-inline'; img-src data:\">";
    out += "<meta name=\"generator\" content=\"" + Escape(report.creator) + "\">";
    out += "<title>" + Escape(title) + "</title><style>" + kStyle + "</style></head><body><main>\n";

    // Verdict and job facts.
    out += "<section class=\"sheet\" id=\"summary\"><h1>DOC report</h1><div class=\"head\">";
    out += std::string("<div class=\"global ") + verdictClass + "\" id=\"global-verdict\" data-verdict=\"" +
           Escape(report.globalPassed) + "\"><span class=\"icon\" aria-hidden=\"true\">" + kIcons.at(verdictClass) +
           "</span><span class=\"text\">" + OrDash(report.globalPassed) + "</span><span class=\"sub\">" +
           Escape(report.reportType) + "</span></div>";
    out += "<div>" + FactsList(report, supplement) + Counts(report) + "</div></div></section>\n";

    // Value tables.
    const std::vector<ValueGroup> groups = EvaluatedGroups(report, supplement);
    out += "<section class=\"sheet\" id=\"values\"><h2>Evaluation</h2>";
    out += std::string("<div class=\"groups") + (groups.size() == 1 ? " single" : "") + "\">";
    for (const ValueGroup& group : groups) {
        out += "<div class=\"group\"><h3>" + Escape(group.title) + " " + VerdictBadge(GroupVerdict(group)) + "</h3>";
        out += ValueTable(group.rows, true, false);
        if (!group.note.empty())
            out += "<p class=\"note\">" + Escape(group.note) + "</p>";
        out += "</div>";
    }
    out += "</div>";
    if (groups.empty())
        out += "<p class=\"note\">The report holds no value that its type evaluates.</p>";
    if (supplement.tolerances.empty())
        out += "<p class=\"note\">The limits of the tolerance set were not available when this page was made.</p>";
    const std::vector<ValueRow> further = FurtherRows(report);
    if (!further.empty()) {
        out += "<details id=\"further\"><summary>Further statistics of the report (not part of this report type's "
               "verdict)</summary>";
        out += ValueTable(further, false, true) + "</details>";
    }
    out += "</section>\n";

    // Charts.
    out += "<section class=\"sheet\" id=\"charts\"><h2>Distribution</h2><div class=\"charts\">";
    bool present[3] = {false, false, false};
    for (const Patch& p : report.patches) {
        const std::string cls = VerdictClass(p.verdict);
        present[0] = present[0] || cls == "pass";
        present[1] = present[1] || cls == "warn";
        present[2] = present[2] || cls == "fail";
    }
    out += "<figure>" + Histogram(report) + "<div class=\"legend\">";
    if (present[0])
        out += "<span><i style=\"background:#3d9a5b\"></i>Passed</span>";
    if (present[1])
        out += "<span><i style=\"background:#e0a030\"></i>Passed, above average</span>";
    if (present[2])
        out += "<span><i style=\"background:#d0453c\"></i>Not passed</span>";
    out += "</div><figcaption>Number of patches per ΔE range, coloured by patch verdict.</figcaption></figure>";
    out += "<figure>" + AbPlot(report) +
           "<figcaption>a*b* of each patch: open circle the reference, filled dot the measurement in its own "
           "colour; not passed patches outlined in red.</figcaption></figure>";
    out += "</div></section>\n";

    // Patches.
    out += "<section class=\"sheet\" id=\"patches\"><h2>Patches</h2>";
    out += PatchTable(report);
    out += "<p class=\"note\">Click ΔE to sort by colour difference (largest first, then smallest first, then chart "
           "order).</p></section>\n";

    out += "<footer>Made from the XML report " + Escape(report.measurementName) +
           (report.creator.empty() ? "" : " · " + Escape(report.creator)) + "</footer>";
    out += "</main><script>" + std::string(kSortScript) + "</script></body></html>\n";
    return out;
}

bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string scratch;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        scratch = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                  std::to_string(stamp % 1000000007ULL);
        fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        error = "cannot create a file beside " + path + ": " + std::strerror(errno);
        return false;
    }
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const bool complete = written == content.size() && ::fsync(fd) == 0;
    const int saved = errno;
    const bool closed = ::close(fd) == 0;
    if (!complete || !closed || std::rename(scratch.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(complete && closed ? errno : saved);
        ::unlink(scratch.c_str());
        return false;
    }
    return true;
}
}  // namespace HtmlReport
