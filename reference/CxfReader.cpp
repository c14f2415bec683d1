// CxF3 reader: fills a fresh ReferenceFileData from a CxF3 XML file.
//
// One reader serves both deliverables; the flavour of the model picks the rules:
// - report library: lenient text clean-up, the first node is the root whatever its name,
//   ObjectType beginning with "Target", values in double precision, a spectrum drops its
//   last piece, colorant defaults through SetCMYKLabDefs;
// - application: the root must be "cc:CxF", ObjectType exactly "Target", colour values in
//   single precision, every spectral piece read, then CMYK solids, the custom resources
//   ("xrp:Prism" attributes, "bb:ChannelInfo" elements) and InitLab.
// Names are matched with their prefixes; namespace URIs are not examined.
#include "ColorUtil.h"
#include "FileOperations.h"
#include "FixedText.h"
#include "ReferenceFileData.h"
#include "ReferenceFileSet.h"
#include "StringUtil.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

namespace
{
// Names the reader gives spot colours without "cc:Name": one distinct number per channel.
std::string GeneratedSpotName(int channel) { return "Spot " + std::to_string(channel + 1); }

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// All text below an element, in document order (the application's DOM semantics).
void AppendDescendantText(const XMLNode* node, std::string& out)
{
    for (const XMLNode* child = node->FirstChild(); child; child = child->NextSibling()) {
        if (const auto* text = child->ToText())
            out += text->Value();
        else if (child->ToElement())
            AppendDescendantText(child, out);
    }
}

// tinyxml2 accepts character data beside the document element; XML does not.
bool HasTextOutsideRoot(const XMLDocument& doc)
{
    for (const XMLNode* node = doc.FirstChild(); node; node = node->NextSibling()) {
        if (node->ToText())
            return true;
    }
    return false;
}

// Report library: the text before the document element, processing instructions and any
// trailing bytes are dropped. An empty remainder means "no XML here".
std::string CleanReportText(const std::string& text)
{
    std::size_t start = text.find('<');
    while (start != std::string::npos && start + 1 < text.size() && text[start + 1] == '?') {
        std::size_t lineEnd = text.find('\n', start);
        if (lineEnd == std::string::npos)
            return {};
        start = text.find('<', lineEnd + 1);
    }
    if (start == std::string::npos)
        return {};
    std::size_t end = text.rfind('>');
    if (end == std::string::npos || end < start)
        return {};
    return text.substr(start, end - start + 1);
}

class CxfReader
{
public:
    CxfReader(ReferenceFileData& file, const char* layoutName)
        : file(file),
          application(file.IsApplication()),
          quorvaneSets(layoutName && StartsWith(layoutName, "QUORVANE"))
    {
    }

    bool Load(const char* path)
    {
        // Bounded like a CGATS reference: an endless or huge file is refused, not read whole.
        std::string bytes;
        if (!FileOperations::ReadWholeFile(path, bytes))
            return false;

        XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
        const XMLElement* root = nullptr;
        if (application) {
            if (bytes.empty() || StringUtil::HasForbiddenXmlControl(bytes))
                return false;
            StringUtil::RepairUtf8(bytes);
            if (doc.Parse(bytes.data(), bytes.size()) != tinyxml2::XML_SUCCESS || HasTextOutsideRoot(doc))
                return false;
            root = doc.FirstChildElement("cc:CxF");
            if (!root)
                return false;
        } else {
            std::string text = CleanReportText(bytes);
            // A NUL would make the parser stop early and accept a truncated document.
            if (text.empty() || text.find('\0') != std::string::npos)
                return false;
            if (doc.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS)
                return false;
            const XMLNode* first = doc.FirstChild();
            if (!first)
                return false;
            root = first->ToElement();   // a leading comment or DOCTYPE hides every element
        }

        file.lgoRowLength = 1;
        if (root) {
            ReadFileInformation(root);
            ReadObjects(root);
        }
        if (application) {
            SetCMYKSolids();
            if (root)
                ReadCustomResources(root);
            file.InitLab();
        } else {
            file.SetCMYKLabDefs();
        }
        return true;
    }

private:
    std::string Text(const XMLElement* e) const
    {
        if (!e)
            return {};
        if (!application) {
            const char* t = e->GetText();
            return t ? std::string(t) : std::string();
        }
        std::string out;
        AppendDescendantText(e, out);
        return out;
    }

    // Values of the colour and device elements: single precision in the application.
    double Value(std::string_view text) const
    {
        return application ? static_cast<double>(StringUtil::ParseFloat(text)) : StringUtil::ParseDouble(text);
    }
    double Value(const XMLElement* e) const { return Value(Text(e)); }

    void ReadFileInformation(const XMLElement* root)
    {
        const XMLElement* info = root->FirstChildElement("cc:FileInformation");
        if (!info)
            return;
        CopyFixedText(file.originator, Text(info->FirstChildElement("cc:Creator")).c_str());
        CopyFixedText(file.created, Text(info->FirstChildElement("cc:CreationDate")).c_str());
        CopyFixedText(file.descriptor, Text(info->FirstChildElement("cc:Description")).c_str());
    }

    bool AcceptObjectType(const XMLElement* object) const
    {
        const char* type = object->Attribute("ObjectType");
        if (!type)
            return false;
        return application ? std::strcmp(type, "Target") == 0 : StartsWith(type, "Target");
    }

    void ReadObjects(const XMLElement* root)
    {
        const XMLElement* resources = root->FirstChildElement("cc:Resources");
        const XMLElement* collection = resources ? resources->FirstChildElement("cc:ObjectCollection") : nullptr;
        if (!collection)
            return;
        int accepted = 0;
        for (const XMLElement* object = collection->FirstChildElement(); object;
             object = object->NextSiblingElement()) {
            if (!AcceptObjectType(object))
                continue;
            std::unique_ptr<ReferenceFileSet> set;
            if (quorvaneSets)
                set = std::make_unique<QuorvaneReferenceFileSet>(&file, accepted, false);
            else
                set = std::make_unique<ReferenceFileSet>(&file, accepted, false);
            set->SetOldID(accepted + 1);
            if (const char* id = object->Attribute("Id"))
                CopyFixedText(set->oldName, id);
            if (const XMLElement* values = object->FirstChildElement("cc:ColorValues"))
                ReadColorValues(values, *set);
            if (const XMLElement* device = object->FirstChildElement("cc:DeviceColorValues"))
                ReadDeviceValues(device, *set);
            file.sets.push_back(std::move(set));
            ++accepted;
        }
    }

    // Reads the named children into `out`; false (and nothing used) when one is missing.
    template <std::size_t N>
    bool Components(const XMLElement* parent, const char* const (&names)[N], double (&out)[N]) const
    {
        const XMLElement* found[N];
        for (std::size_t i = 0; i < N; ++i) {
            found[i] = parent->FirstChildElement(names[i]);
            if (!found[i])
                return false;
        }
        for (std::size_t i = 0; i < N; ++i)
            out[i] = Value(found[i]);
        return true;
    }

    void ReadColorValues(const XMLElement* values, ReferenceFileSet& set)
    {
        if (const XMLElement* lab = values->FirstChildElement("cc:ColorCIELab")) {
            file.hasLab = true;
            const XMLElement* l = lab->FirstChildElement("cc:L");
            const XMLElement* a = lab->FirstChildElement("cc:a");
            if (!a)
                a = lab->FirstChildElement("cc:A");
            const XMLElement* b = lab->FirstChildElement("cc:b");
            if (!b)
                b = lab->FirstChildElement("cc:B");
            if (l && a && b) {
                const double v[3] = {Value(l), Value(a), Value(b)};
                set.SetLAB(v);
            }
        }
        if (const XMLElement* density = values->FirstChildElement("cc:ColorDensity")) {
            file.isRGB = true;
            static const char* const names[] = {"cc:D_RED", "cc:D_GREEN", "cc:D_BLUE", "cc:D_VIS"};
            double v[4];
            if (Components(density, names, v))
                set.SetRGB(v);   // D_VIS is required but has no slot
        }
        if (const XMLElement* spectrum = values->FirstChildElement("cc:ReflectanceSpectrum"))
            ReadSpectrum(Text(spectrum), set);
        if (const XMLElement* xyz = values->FirstChildElement("cc:ColorCIEXYZ")) {
            file.hasXYZ = true;
            static const char* const names[] = {"cc:X", "cc:Y", "cc:Z"};
            double v[3];
            if (Components(xyz, names, v))
                set.SetXYZ(v);
        }
    }

    // Pieces at single blanks, empty ones included. The report library never converts the
    // last piece. Values beyond what the set holds are not read; missing ones stay 0.
    void ReadSpectrum(std::string_view text, ReferenceFileSet& set) const
    {
        const int capacity = std::clamp(set.SpectralCount(), 0, ReferenceFileSet::kMaxSpectral);
        double values[ReferenceFileSet::kMaxSpectral] = {};
        int count = 0;
        std::size_t start = 0;
        while (count < capacity) {
            std::size_t blank = text.find(' ', start);
            const bool last = blank == std::string_view::npos;
            if (last && !application)
                break;
            std::string_view piece = text.substr(start, last ? std::string_view::npos : blank - start);
            values[count++] = Value(piece);
            if (last)
                break;
            start = blank + 1;
        }
        if (count > 0)
            set.SetSpectral(values);
    }

    void ReadDeviceValues(const XMLElement* device, ReferenceFileSet& set)
    {
        static const char* const cmykNames[] = {"cc:Cyan", "cc:Magenta", "cc:Yellow", "cc:Black"};
        if (const XMLElement* rgb = device->FirstChildElement("cc:ColorRGB")) {
            file.isRGB = true;
            static const char* const names[] = {"cc:R", "cc:G", "cc:B"};
            double v[3];
            if (Components(rgb, names, v))
                set.SetRGB(v);
        }
        if (const XMLElement* cmyk = device->FirstChildElement("cc:ColorCMYK")) {
            file.isCMYK = true;
            double v[4];
            if (Components(cmyk, cmykNames, v))
                set.SetCMYK(v);
        }
        if (const XMLElement* plusN = device->FirstChildElement("cc:ColorCMYKPlusN")) {
            file.isCMYK = true;
            double v[4];
            if (Components(plusN, cmykNames, v)) {
                set.SetCMYK(v);
                ReadSpotColors(plusN, set);
            }
        }
        if (const XMLElement* custom = device->FirstChildElement("cc:ColorCustom"))
            ReadSpotColors(custom, set);
    }

    // At most kMaxChannels spot colours per element; a channel is named by the first object
    // that has a spot colour at its position.
    void ReadSpotColors(const XMLElement* parent, ReferenceFileSet& set)
    {
        double values[ReferenceFileData::kMaxChannels] = {};
        int k = 0;
        for (const XMLElement* spot = parent->FirstChildElement("cc:SpotColor");
             spot && k < ReferenceFileData::kMaxChannels; spot = spot->NextSiblingElement("cc:SpotColor"), ++k) {
            if (k >= file.extraChannelCount) {
                const XMLElement* name = spot->FirstChildElement("cc:Name");
                file.channelNames[k] = name ? Text(name) : GeneratedSpotName(k);
                file.extraChannelCount = k + 1;
            }
            if (const XMLElement* percentage = spot->FirstChildElement("cc:Percentage"))
                values[k] = Value(percentage);
        }
        set.SetNColor(values);
    }

    // Application: a CxF3 file carries no channel-information lines, so the four primaries
    // always come from the CMYK conversion.
    void SetCMYKSolids()
    {
        if (!file.isCMYK)
            return;
        if (file.colorantLab.size() < 4)
            file.colorantLab.resize(4);
        for (int i = 0; i < 4; ++i) {
            double cmyk[4] = {0.0, 0.0, 0.0, 0.0};
            cmyk[i] = 100.0;
            double lab[3] = {255.0, 255.0, 255.0};
            ColorUtil::CMYKtoLab(cmyk, lab);
            file.colorantLab[i] = LabTriple{lab[0], lab[1], lab[2]};
        }
    }

    void ReadCustomResources(const XMLElement* root)
    {
        const XMLElement* custom = root->FirstChildElement("cc:CustomResources");
        if (!custom)
            return;
        ReadPrismAttributes(custom);
        ReadChannelInfo(custom);
    }

    void ReadPrismAttributes(const XMLElement* custom)
    {
        const XMLElement* prism = custom->FirstChildElement("xrp:Prism");
        const XMLElement* attributes = prism ? prism->FirstChildElement("xrp:CustomAttributes") : nullptr;
        if (!attributes)
            return;
        const int count = std::min<int>(file.extraChannelCount, ReferenceFileData::kMaxChannels);
        for (int k = 0; k < count; ++k) {
            const std::string key = "PLUS_" + std::to_string(k + 1) + "_COLOR";
            const char* value = attributes->Attribute(key.c_str());
            if (value && *value)
                file.AddColorValue(StringUtil::Split(value, '|'), k);
        }
    }

    // Channels are matched by order, not by their "index" attribute. A colorant entry is
    // replaced only where it exists. An extra channel whose position lies at or beyond the
    // end of the list is appended (as AddColorValue does), so the list stays dense; a primary
    // has nothing to replace in a file without CMYK and is ignored.
    void ReadChannelInfo(const XMLElement* custom)
    {
        const XMLElement* info = custom->FirstChildElement("bb:ChannelInfo");
        if (!info)
            return;
        static const char* const primaries[] = {"Cyan", "Magenta", "Yellow", "Black"};
        int m = 0;
        for (const XMLElement* channel = info->FirstChildElement("bb:Channel"); channel;
             channel = channel->NextSiblingElement("bb:Channel")) {
            const char* name = channel->Attribute("name");
            const char* l = channel->Attribute("L");
            const char* a = channel->Attribute("a");
            const char* b = channel->Attribute("b");
            if (!name || !l || !a || !b)
                continue;
            const LabTriple lab{StringUtil::ParseDouble(l), StringUtil::ParseDouble(a), StringUtil::ParseDouble(b)};
            const auto primary = std::find_if(std::begin(primaries), std::end(primaries),
                                              [name](const char* p) { return std::strcmp(p, name) == 0; });
            if (primary != std::end(primaries)) {
                const auto pos = static_cast<std::size_t>(primary - std::begin(primaries));
                if (pos < file.colorantLab.size())
                    file.colorantLab[pos] = lab;
                continue;
            }
            if (m >= ReferenceFileData::kMaxChannels)
                continue;   // the model has no slot for more extra channels
            file.channelNames[m] = std::string(name);
            file.channelLab[m] = lab;
            const auto pos = static_cast<std::size_t>(file.isCMYK ? m + 4 : m);
            if (pos < file.colorantLab.size())
                file.colorantLab[pos] = lab;
            else
                file.colorantLab.push_back(lab);
            ++m;
        }
    }

    ReferenceFileData& file;
    const bool application;
    const bool quorvaneSets;
};
}   // namespace

bool ReferenceFileData::loadCXFFileData(const char* path, const char* layoutName)
{
    CxfReader reader(*this, layoutName);
    return reader.Load(path);
}
