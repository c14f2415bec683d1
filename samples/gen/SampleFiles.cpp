// SampleFiles: number formatting, folders and the XML formats of the sample generator.
#include "SampleFiles.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>

#include <sys/stat.h>

namespace samplegen
{
std::string Fixed(double v, int decimals)
{
    if (!std::isfinite(v))
        v = 0.0;
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, result.ptr);
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

bool MakeFolders(const std::string& path)
{
    for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        const std::string part = path.substr(0, at);
        if (!part.empty() && ::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        if (at == std::string::npos)
            return true;
    }
}

bool WriteText(const std::string& path, const std::string& text)
{
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash)))
        return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

std::string XmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string CxfDocument(const CxfHeader& header, const std::vector<CxfPatch>& patches)
{
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<cc:CxF xmlns:cc=\"http://colorexchangeformat.com/CxF3-core\">\n"
                    "  <cc:FileInformation>\n"
                    "    <cc:Creator>" + XmlEscape(header.creator) + "</cc:Creator>\n"
                    "    <cc:CreationDate>" + XmlEscape(header.creationDate) + "</cc:CreationDate>\n"
                    "    <cc:Description>" + XmlEscape(header.description) + "</cc:Description>\n"
                    "  </cc:FileInformation>\n"
                    "  <cc:Resources>\n"
                    "    <cc:ObjectCollection>\n";
    const char* const inks[4] = {"Cyan", "Magenta", "Yellow", "Black"};
    for (const CxfPatch& p : patches) {
        const std::string name = XmlEscape(p.name);
        x += "      <cc:Object ObjectType=\"Target\" Name=\"" + name + "\" Id=\"" + name + "\">\n"
             "        <cc:ColorValues>\n"
             "          <cc:ColorCIELab ColorSpecification=\"CS_Lab\">\n"
             "            <cc:L>" + Fixed(p.lab.L, 2) + "</cc:L>\n"
             "            <cc:A>" + Fixed(p.lab.a, 2) + "</cc:A>\n"
             "            <cc:B>" + Fixed(p.lab.b, 2) + "</cc:B>\n"
             "          </cc:ColorCIELab>\n";
        if (p.hasSpectrum) {
            // Every value is followed by a blank, so a reader that drops the piece after
            // the last separator still gets all of them.
            x += "          <cc:ReflectanceSpectrum ColorSpecification=\"CS_Spectrum\" StartWL=\"380\">";
            for (double v : p.spectrum)
                x += Fixed(v, 4) + " ";
            x += "</cc:ReflectanceSpectrum>\n";
        }
        x += "        </cc:ColorValues>\n";
        if (p.hasCmyk) {
            x += "        <cc:DeviceColorValues>\n          <cc:ColorCMYK>\n";
            for (int i = 0; i < 4; ++i)
                x += std::string("            <cc:") + inks[i] + ">" + Fixed(p.cmyk[i], 2) + "</cc:" + inks[i] + ">\n";
            x += "          </cc:ColorCMYK>\n        </cc:DeviceColorValues>\n";
        }
        x += "      </cc:Object>\n";
    }
    x += "    </cc:ObjectCollection>\n";
    if (!header.deviceModel.empty()) {
        const std::string spec = "        <cc:MeasurementSpec>\n"
                                 "          <cc:MeasurementType>Spectrum_Reflectance</cc:MeasurementType>\n"
                                 "          <cc:GeometryChoice>\n"
                                 "            <cc:SingleAngle>\n"
                                 "              <cc:IlluminationAngle>45</cc:IlluminationAngle>\n"
                                 "              <cc:MeasurementAngle>0</cc:MeasurementAngle>\n"
                                 "            </cc:SingleAngle>\n"
                                 "          </cc:GeometryChoice>\n"
                                 "          <cc:WavelengthRange StartWL=\"380\" Increment=\"10\"/>\n"
                                 "          <cc:Device>\n"
                                 "            <cc:Model>" + XmlEscape(header.deviceModel) + "</cc:Model>\n"
                                 "          </cc:Device>\n"
                                 "        </cc:MeasurementSpec>\n";
        const std::string tristimulus = "        <cc:TristimulusSpec>\n"
                                        "          <cc:Illuminant>D50</cc:Illuminant>\n"
                                        "          <cc:Observer>2_Degree</cc:Observer>\n"
                                        "          <cc:Method>E308</cc:Method>\n"
                                        "        </cc:TristimulusSpec>\n";
        x += "    <cc:ColorSpecificationCollection>\n"
             "      <cc:ColorSpecification Id=\"CS_Spectrum\">\n" + spec + "      </cc:ColorSpecification>\n"
             "      <cc:ColorSpecification Id=\"CS_Lab\">\n" + tristimulus + spec + "      </cc:ColorSpecification>\n"
             "    </cc:ColorSpecificationCollection>\n";
    }
    x += "  </cc:Resources>\n</cc:CxF>\n";
    return x;
}

std::string ToleranceDocument(const std::vector<std::string>& reportTypes, int formula,
                              const std::vector<Limit>& limits)
{
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<settings>\n";
    for (const std::string& type : reportTypes)
        x += "  <reportType>" + XmlEscape(type) + "</reportType>\n";
    x += "  <colorDistanceFormula>" + std::to_string(formula) + "</colorDistanceFormula>\n";
    for (const Limit& l : limits)
        x += std::string("  <") + l.key + ">" + Fixed(l.value, 1) + "</" + l.key + ">\n";
    x += "</settings>\n";
    return x;
}
}  // namespace samplegen
