// XmlReportWriter: writes the DOC report XML (root "docReport") from the value tables of a
// finished parse, through a scratch file in the target folder that is renamed over the
// final name, so a failed write never leaves half a report under that name.
#pragma once

#include <string>
#include <vector>

class ReportGenerator;

namespace XmlReportWriter
{
// One value element: its name and the report value (DOCReport::eErrorTypeQtRpt) it shows.
struct ValueElement
{
    const char* name;
    int value;
};

// The value elements (general values) and the Fogra PSD 2022 elements, in report order.
const std::vector<ValueElement>& ValueElements();
const std::vector<ValueElement>& FograElements();

// True when the element text `text` reads as -1 (a statistic that was not computed).
bool ReadsAsUncomputed(const std::string& text);

// The report of `generator` (whose parse succeeded) to `path`; false when it could not be
// written completely, `path` then stays as it was.
bool Write(const ReportGenerator& generator, const std::string& path);
}  // namespace XmlReportWriter
