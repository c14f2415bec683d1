// HtmlReport: the readable view of a DOC report. Reads the "docReport" XML the library
// wrote and renders one self-contained HTML page (inline CSS and SVG, a few lines of inline
// script for sorting, no external resources) for the print-shop operator.
//
// Glossary: value row = one statistic of the report with its limit and verdict; group =
// the rows one evaluation scheme judges together (a Fogra PSD 2022 condition, the G7 gray
// balance); verdict text = "Passed", "Not Passed", "Passed , above average", "Not calculated".
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace HtmlReport
{
// One value element of the report: its text (the statistic; "" when not computed) and its
// "WithinTolerance" verdict text.
struct Value
{
    std::string text;
    std::string verdict;
    bool hasVerdict = false;  // false for "Gamutcheck", whose text is the verdict itself
};

struct Patch
{
    std::string name;
    std::string refL, refA, refB;  // reference Lab as written in the report
    std::string l, a, b;           // measured Lab
    std::string deltaE;
    std::string verdict;
};

// Everything the XML report holds except the spectra.
struct Report
{
    std::string globalPassed;
    std::string measurementName;
    std::string printer;
    std::string creator;
    std::string media;
    std::string dateTime;
    std::string device;
    std::string reportType;
    std::string colorDistanceFormula;
    std::string toleranceSet;
    std::map<std::string, Value> values;  // by element name
    std::vector<Patch> patches;
};

// What the report itself does not hold but the page shows when the host knows it.
struct Supplement
{
    std::string reference;                     // DOC reference as the library names it; "" unknown
    std::map<std::string, double> tolerances;  // limits of the tolerance set by element name
};

// One row of a value table as the page shows it.
struct ValueRow
{
    std::string element;  // XML element name
    std::string label;
    std::string statistic;  // the report's text, "" when not computed
    std::string limit;      // e.g. "< 3.00", "≤ 4.0"; "" when unknown or the row has none
    std::string verdict;
};

struct ValueGroup
{
    std::string title;
    std::string note;
    std::vector<ValueRow> rows;
};

// Parses the XML text of a report; false with `error` set when it is no DOC report.
bool ParseReport(std::string_view xml, Report& report, std::string& error);
bool LoadReport(const std::string& path, Report& report, std::string& error);

// The reference (job tag "DOCReferenceFile") and the limits of the tolerance set (job tag
// "DOCSettingsFile", a leading "Tolerances" resolved against `docFolder`, as the library
// does) of an XML job. Parts that cannot be read stay empty; false with `error` set then.
bool LoadSupplement(const std::string& jobPath, const std::string& docFolder, Supplement& supplement,
                    std::string& error);

// The value groups the report's type evaluates, in page order, and the remaining value
// elements of the report that this type does not judge (statistics the library writes for
// every type). Fogra PSD 2022 rows appear only for the Fogra PSD 2022 types, G7 rows only
// for the G7 types.
std::vector<ValueGroup> EvaluatedGroups(const Report& report, const Supplement& supplement);
std::vector<ValueRow> FurtherRows(const Report& report);

// CSS class of a verdict text: "pass", "fail", "warn" or "none".
const char* VerdictClass(std::string_view verdict);

// Text with &, <, >, " and ' replaced by entities: safe in element text and attributes.
std::string Escape(std::string_view text);

// The whole page.
std::string Render(const Report& report, const Supplement& supplement);

// Writes `content` to `path` through a scratch file renamed over it, so a failure never
// leaves half a page under that name; false with `error` set on failure.
bool WriteFileAtomically(const std::string& path, const std::string& content, std::string& error);
}  // namespace HtmlReport
