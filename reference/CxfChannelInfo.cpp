// Stores edited channel colours into a copy of a CxF3 reference (path + ".temp").
//
// The copy carries one "bb:ChannelInfo" element under "cc:CxF"/"cc:CustomResources" with a
// "bb:Channel" per entry; the application's CxF3 reader reads it back. An entry is the text
// the channel colour dialog makes: "name,Lab,L a b ".
#include "ChannelInfoStore.h"
#include "StringUtil.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace
{
constexpr const char* kChannelInfoNamespace = "http://www.vantrel.example/tessaro/channelinfo";

// tinyxml2 indents by four blanks; the stored file uses one blank per level.
class OneBlankPrinter : public tinyxml2::XMLPrinter
{
public:
    OneBlankPrinter() : tinyxml2::XMLPrinter(nullptr, false, 0) {}

protected:
    void PrintSpace(int depth) override
    {
        for (int i = 0; i < depth; ++i)
            Putc(' ');
    }
};

bool IsEntrySeparator(char c)
{
    return c == ',' || c == '"' || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Parts of an entry between commas, white space and double quotes; empty parts dropped.
std::vector<std::string> EntryParts(std::string_view entry)
{
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < entry.size()) {
        while (i < entry.size() && IsEntrySeparator(entry[i]))
            ++i;
        std::size_t start = i;
        while (i < entry.size() && !IsEntrySeparator(entry[i]))
            ++i;
        if (i > start)
            parts.emplace_back(entry.substr(start, i - start));
    }
    return parts;
}

bool BuildDocument(const char* path, const std::vector<std::string>& entries, std::string& xml)
{
    std::string bytes;
    if (!StringUtil::ReadFile(path, bytes) || bytes.empty() || StringUtil::HasForbiddenXmlControl(bytes))
        return false;
    StringUtil::RepairUtf8(bytes);

    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    if (doc.Parse(bytes.data(), bytes.size()) != tinyxml2::XML_SUCCESS)
        return false;
    // tinyxml2 accepts character data beside the document element; XML does not.
    for (const tinyxml2::XMLNode* node = doc.FirstChild(); node; node = node->NextSibling()) {
        if (node->ToText())
            return false;
    }
    tinyxml2::XMLElement* root = doc.FirstChildElement("cc:CxF");
    tinyxml2::XMLElement* custom = root ? root->FirstChildElement("cc:CustomResources") : nullptr;
    if (!custom)
        return false;

    for (tinyxml2::XMLElement* old = custom->FirstChildElement("bb:ChannelInfo"); old;) {
        tinyxml2::XMLElement* next = old->NextSiblingElement("bb:ChannelInfo");
        custom->DeleteChild(old);
        old = next;
    }
    tinyxml2::XMLElement* info = custom->InsertNewChildElement("bb:ChannelInfo");
    info->SetAttribute("xmlns:bb", kChannelInfoNamespace);

    // Parts: name, "Lab", L, a, b. A name holding a separator shifts the rest; a part that
    // is missing leaves its attribute out, so the reader skips that channel.
    static const char* const attributeNames[] = {"name", "L", "a", "b"};
    static const std::size_t partIndex[] = {0, 2, 3, 4};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::vector<std::string> parts = EntryParts(entries[i]);
        tinyxml2::XMLElement* channel = info->InsertNewChildElement("bb:Channel");
        channel->SetAttribute("index", static_cast<int64_t>(i));
        for (std::size_t k = 0; k < 4; ++k) {
            if (partIndex[k] < parts.size())
                channel->SetAttribute(attributeNames[k], parts[partIndex[k]].c_str());
        }
    }

    OneBlankPrinter printer;
    doc.Print(&printer);
    xml.assign(printer.CStr(), static_cast<std::size_t>(std::max(printer.CStrSize() - 1, 0)));
    return true;
}
}   // namespace

bool StoreChannelInfoCxf(const char* path, const std::vector<std::string>& entries)
{
    if (!path)
        return false;
    const std::string tempPath = std::string(path) + ".temp";
    std::string xml;
    if (BuildDocument(path, entries, xml) && StringUtil::WriteFile(tempPath.c_str(), xml))
        return true;
    // A copy left over from an earlier store must not pass for this one's result.
    std::remove(tempPath.c_str());
    return false;
}
