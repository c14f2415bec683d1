// XmlReportWriter: the "docReport" document, streamed through tinyxml2's printer (the
// same indented output a document would print, without holding every patch as a node),
// then moved into place by rename.
#include "XmlReportWriter.h"

#include "GPDFTemplateParser.h"
#include "ReportGenerator.h"

#include <tinyxml2.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace
{
const char* const kWithinTolerance = "WithinTolerance";

std::string MapValue(const std::map<int, std::string>& values, int key)
{
    const auto found = values.find(key);
    return found != values.end() ? found->second : "";
}

std::string ListValue(const std::vector<std::string>& values, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < values.size() ? values[static_cast<std::size_t>(index)] : "";
}

// An element with a text child; an empty text leaves the element empty.
void TextElement(tinyxml2::XMLPrinter& printer, const char* name, const std::string& text)
{
    printer.OpenElement(name);
    if (!text.empty())
        printer.PushText(text.c_str());
    printer.CloseElement();
}

std::string GlobalPassedText(int verdict)
{
    if (verdict == DOCReport::eGreen)
        return ReportGenerator::VerdictText(ReportGenerator::kResultGreen);
    if (verdict == DOCReport::eRed)
        return ReportGenerator::VerdictText(ReportGenerator::kResultRed);
    return ReportGenerator::VerdictText(ReportGenerator::kResultYellow);
}

void ValueElementOut(tinyxml2::XMLPrinter& printer, const GPDFTemplateParser& parser,
                     const XmlReportWriter::ValueElement& element)
{
    printer.OpenElement(element.name);
    const std::string colour = MapValue(parser.GetToleranceImages(), element.value);
    if (element.value == DOCReport::eGamutcheck) {
        printer.PushText(ReportGenerator::VerdictText(colour).c_str());
    } else {
        printer.PushAttribute(kWithinTolerance, ReportGenerator::VerdictText(colour).c_str());
        const std::string text = MapValue(parser.GetErrorValues(), element.value);
        if (!text.empty() && !XmlReportWriter::ReadsAsUncomputed(text))
            printer.PushText(text.c_str());
    }
    printer.CloseElement();
}

std::string SpectralText(const ReportGenerator& generator, int index)
{
    double values[41] = {};
    if (!generator.GetPatchSpectrum(index, values))
        return "";
    std::string text;
    text.reserve(41 * 9);
    char buffer[64];
    for (int k = 0; k < 41; ++k) {
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, values[k], std::chars_format::fixed, 6);
        if (k > 0)
            text += ' ';
        text.append(buffer, result.ec == std::errc() ? result.ptr : buffer);
    }
    return text;
}

void PrintReport(tinyxml2::XMLPrinter& printer, const ReportGenerator& generator)
{
    const GPDFTemplateParser& parser = generator.GetParser();
    printer.PushDeclaration("xml version=\"1.0\" encoding=\"UTF-8\"");
    printer.OpenElement("docReport");
    TextElement(printer, "GlobalPassed", GlobalPassedText(generator.GetGlobalPassed()));
    TextElement(printer, "MeasurementName", parser.GeneralValue("$TAG_MEASUREMENT"));
    TextElement(printer, "Printer", parser.GeneralValue("$TAG_PRINTER_NAME"));
    TextElement(printer, "Creator", parser.GeneralValue("$TAG_CREATOR"));
    TextElement(printer, "Media", parser.GeneralValue("$TAG_MEDIA_NAME"));
    TextElement(printer, "DateTime", parser.GeneralValue("$TAG_DATE") + "T" + parser.GeneralValue("$TAG_TIME"));
    TextElement(printer, "MeasurementDevice", parser.GeneralValue("$TAG_DEVICE"));
    TextElement(printer, "ReportType", generator.GetReportType());
    TextElement(printer, "ColorDistanceFormula", parser.GeneralValue("$TAG_COLOR_DISTANCE_FORMULA"));
    TextElement(printer, "ToleranceSet", parser.GeneralValue("$TAG_TOLERANCE"));
    for (const auto& element : XmlReportWriter::ValueElements())
        ValueElementOut(printer, parser, element);
    for (const auto& element : XmlReportWriter::FograElements())
        ValueElementOut(printer, parser, element);

    printer.OpenElement("Measurements");
    static const struct
    {
        const char* name;
        int attribute;
    } kPatchElements[] = {
        {"Ref_L", DOCReport::ePatchRefL}, {"Ref_a", DOCReport::ePatchRefa}, {"Ref_b", DOCReport::ePatchRefb},
        {"L", DOCReport::ePatchL},        {"a", DOCReport::ePatcha},        {"b", DOCReport::ePatchb},
    };
    const int patches = generator.GetNoOfPatches();
    for (int i = 0; i < patches; ++i) {
        printer.OpenElement("Measurement");
        printer.PushAttribute("Name", ListValue(parser.GetPatchValues(DOCReport::ePatchName), i).c_str());
        for (const auto& e : kPatchElements)
            TextElement(printer, e.name, ListValue(parser.GetPatchValues(e.attribute), i));
        TextElement(printer, "Spectral", SpectralText(generator, i));
        TextElement(printer, "DeltaE", ListValue(parser.GetPatchValues(DOCReport::ePatchDeltaE), i));
        TextElement(printer, "WithinTolerance",
                    ReportGenerator::VerdictText(ListValue(parser.GetPatchValues(DOCReport::ePatchWithinTolerance), i)));
        printer.CloseElement();
    }
    printer.CloseElement();
    printer.CloseElement();
}

// Opens a fresh scratch file beside `path` (exclusive create, so nothing of someone else's
// is ever overwritten); the umask decides its mode as for any file the host creates.
int OpenScratch(const std::string& path, std::string& scratch)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        scratch = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                  std::to_string(stamp % 1000000007ULL);
        const int fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}
}  // namespace

const std::vector<XmlReportWriter::ValueElement>& XmlReportWriter::ValueElements()
{
    static const std::vector<ValueElement> elements = {
        {"AverageTotal", 0},      {"MaximumTotal", 1},       {"AverageGrayscale", 2},   {"AverageGrayscaleC", 3},
        {"Media", 4},             {"Primaries", 5},          {"PrimariesH", 6},         {"AverageAllPatches", 7},
        {"Quantile95", 8},        {"Gamutcheck", 11},        {"Grayscale", 12},         {"IdeSpecialgray", 13},
        {"AverageWDeltaLstar", 15}, {"MaximumWDeltaLstar", 16}, {"AverageWDeltaCh", 17}, {"MaximumWDeltaCh", 18},
        {"G7CMYSolids", 19},      {"G7KSolids", 21},
    };
    return elements;
}

const std::vector<XmlReportWriter::ValueElement>& XmlReportWriter::FograElements()
{
    static const std::vector<ValueElement> elements = {
        {"FograPSD2022-CP-Substrate", 22},
        {"FograPSD2022-CP-MaximumTotal", 23},
        {"FograPSD2022-CP-AverageTotal", 24},
        {"FograPSD2022-CP-MaximumGrayscale", 25},
        {"FograPSD2022-CP-AverageGrayscale", 26},
        {"FograPSD2022-CP-PrimariesH", 27},
        {"FograPSD2022-CP-Primaries", 28},
        {"FograPSD2022-VP-Substrate", 29},
        {"FograPSD2022-VP-AverageNoBoundaryColors", 30},
        {"FograPSD2022-VP-Quantile95NoBoundaryColors", 31},
        {"FograPSD2022-VP-MaximumGrayscale", 32},
        {"FograPSD2022-VP-AverageGrayscale", 33},
        {"FograPSD2022-MA-Substrate", 34},
        {"FograPSD2022-MA-MaximumTotal", 35},
        {"FograPSD2022-MA-AverageTotal", 36},
        {"FograPSD2022-MA-Quantile95", 37},
        {"FograPSD2022-MA-MaximumGrayscale", 38},
        {"FograPSD2022-MR-AverageTotal", 39},
        {"FograPSD2022-MR-Quantile95", 40},
        {"FograPSD2022-MR-MaximumGrayscale", 41},
        {"FograPSD2022-MR-Whitepoint", 42},
        {"FograPSD2022-MR-Blackpoint", 43},
    };
    return elements;
}

bool XmlReportWriter::ReadsAsUncomputed(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    return result.ec == std::errc() && result.ptr == end && value == -1.0;
}

bool XmlReportWriter::Write(const ReportGenerator& generator, const std::string& path)
{
    std::string scratch;
    const int fd = OpenScratch(path, scratch);
    if (fd < 0)
        return false;
    FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        ::close(fd);
        ::unlink(scratch.c_str());
        return false;
    }
    bool written = false;
    try {
        tinyxml2::XMLPrinter printer(file, false);
        PrintReport(printer, generator);
        written = std::fflush(file) == 0 && std::ferror(file) == 0 && ::fsync(fd) == 0;
    } catch (...) {
        written = false;
    }
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(scratch.c_str(), path.c_str()) != 0) {
        ::unlink(scratch.c_str());
        return false;
    }
    return true;
}
