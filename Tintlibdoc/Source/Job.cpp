// Job: reading version-3 and version-4 job files and the embedded measurement.
#include "Job.h"

#include "ErrorHandler.h"
#include "TemporaryFile.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
#include <sys/stat.h>

const char* const Job::sJobTagRotate180 = "Rotate180";
const char* const Job::sMsgJobMissing = "The jobfile passed as parameter does not exist.";
const char* const Job::sMsgJobInvalid = "The jobfile passed as parameter has an invalid format";

namespace
{
const char* const kMsgTemporaryFile = "The measurement of the jobfile could not be written to a temporary file.";
const char* const kMsgOutOfMemory = "Not enough memory to load the jobfile.";

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string ElementText(const tinyxml2::XMLElement* e)
{
    const char* text = e->GetText();
    return text ? text : "";
}

void CarriageReturnsToLineFeeds(std::string& s) { std::replace(s.begin(), s.end(), '\r', '\n'); }
}

void TintoraTargetDeleter::operator()(Tintora_target* target) const
{
    if (target) {
        Tintora_FreeTarget(target);
        delete target;
    }
}

TintoraTargetPtr NewTintoraTarget() { return TintoraTargetPtr(new Tintora_target{}); }

Job::Job() = default;
Job::~Job() = default;

Job::Job(const Job& other)
    : commandList(other.commandList), jobName(other.jobName), measuringMode(other.measuringMode),
      extraTags(other.extraTags), errorHandler(other.errorHandler), readFailure(other.readFailure)
{
    if (other.target) {
        // The copy shares no buffer with the original: its buffer references are empty.
        target = NewTintoraTarget();
        std::memcpy(static_cast<void*>(target.get()), other.target.get(), sizeof(Tintora_target));
        target->rows = nullptr;
        target->rowTableSize = 0;
        target->stripStatus = nullptr;
        target->stripStatusSize = 0;
    }
}

Job& Job::operator=(const Job& other)
{
    if (this != &other) {
        Job copy(other);
        target = std::move(copy.target);
        commandList = std::move(copy.commandList);
        jobName = std::move(copy.jobName);
        measuringMode = copy.measuringMode;
        extraTags = std::move(copy.extraTags);
        errorHandler = copy.errorHandler;
        readFailure = std::move(copy.readFailure);
    }
    return *this;
}

bool Job::Load(const char* path)
{
    readFailure.clear();
    FILE* f = path ? std::fopen(path, "rb") : nullptr;
    struct stat st;
    bool readable = f && ::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    if (f)
        std::fclose(f);
    if (!readable) {
        ReportError(errorHandler, sMsgJobMissing);
        return false;
    }

    bool ok = false;
    try {
        std::string lowered = Lower(path);
        if (st.st_size > kMaxJobFileBytes)
            ok = false;
        else if (lowered.find(".txt") != std::string::npos)
            ok = ReadVersion3Job(path);
        else if (lowered.find(".xml") != std::string::npos)
            ok = ReadVersion4Job(path);
    } catch (const std::bad_alloc&) {
        ok = false;
        readFailure = kMsgOutOfMemory;
    }
    measuringMode = Tintora_Get_MeasuringMode();
    if (ok)
        PrepareLoadedTarget();
    else
        ReportError(errorHandler, readFailure.empty() ? std::string(sMsgJobInvalid) : readFailure);
    return ok;
}

void Job::PrepareLoadedTarget()
{
    Tintora_FreeTarget(target.get());
    target->rows = nullptr;
    target->stripStatus = nullptr;
    if (target->scanMode == 4 || target->scanMode == 5) {
        target->complete = 1;
        if (target->nextStrip > target->stripCount)
            target->nextStrip = 1;
    }
}

bool Job::ReadVersion3Job(const char* path)
{
    FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f)
        return false;
    std::fclose(f);
    std::string name = path;
    std::string::size_type quote = name.rfind('"');
    if (quote != std::string::npos)
        name.erase(quote);
    jobName = GetJobName(name);
    try {
        TintoraTargetPtr parsed = NewTintoraTarget();
        if (Tintora_ParseFile(parsed.get(), path) == 0)
            return false;
        target = std::move(parsed);
    } catch (const std::bad_alloc&) {
        readFailure = kMsgOutOfMemory;
        return false;
    }
    return true;
}

bool Job::ReadVersion4Job(const char* path)
{
    extraTags.clear();
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    if (!path || doc.LoadFile(path) != tinyxml2::XML_SUCCESS)
        return false;
    jobName = GetJobName(path);

    TintoraTargetPtr parsed;
    for (const tinyxml2::XMLElement* job = doc.FirstChildElement("Job"); job; job = job->NextSiblingElement("Job")) {
        for (const tinyxml2::XMLElement* e = job->FirstChildElement(); e; e = e->NextSiblingElement()) {
            const std::string name = e->Name();
            const std::string text = ElementText(e);
            if (name == "Type") {
                if (text != "eDOCJob")
                    return false;
                SetExtraTagValue(name, text);
            } else if (name == "CommandList") {
                LoadCommandList(text);
            } else if (name == "TintoraTarget") {
                if (text.empty())
                    return false;
                parsed = ReadTintoraTargetValues(text, extraTags);
                if (!parsed)
                    return false;
            } else {
                extraTags.push_back({name, text});
            }
        }
    }
    if (!parsed)
        return false;
    for (const ExtraTag& t : extraTags)
        if (Lower(t.tag) == "pos1")
            parsed->firstPosition = 1;
    target = std::move(parsed);
    return true;
}

TintoraTargetPtr Job::ReadTintoraTargetValues(const std::string& text, const std::vector<ExtraTag>& tags)
{
    std::string header;
    for (const ExtraTag& t : tags)
        header += "<" + t.tag + ">" + t.value + "</" + t.tag + ">\n";
    std::string body = text;
    body.erase(std::remove(body.begin(), body.end(), '\t'), body.end());
    CarriageReturnsToLineFeeds(header);
    CarriageReturnsToLineFeeds(body);

    TemporaryFile file;
    if (!file.Create(header + body)) {
        readFailure = kMsgTemporaryFile;
        return nullptr;
    }
    TintoraTargetPtr parsed = NewTintoraTarget();
    int status = Tintora_ParseFile(parsed.get(), file.Path().c_str());
    file.Remove();
    // A measurement the instrument library rejects makes the job invalid instead of
    // leaving an empty target to fail later under another name.
    if (status == 0)
        return nullptr;
    return parsed;
}

void Job::LoadCommandList(const std::string& text)
{
    if (text.empty())
        return;
    std::string piece;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!piece.empty())
                commandList.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty())
        commandList.push_back(piece);
}

void Job::ReplaceTintoraTarget(Tintora_target* newTarget)
{
    if (newTarget != target.get())
        target.reset(newTarget);
}

std::string Job::GetJobName(const std::string& path)
{
    std::string name = path;
    std::string::size_type slash = name.rfind('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    std::string::size_type dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

void Job::SetExtraTagValue(const std::string& tag, const std::string& value)
{
    for (ExtraTag& t : extraTags)
        if (t.tag == tag) {
            t.value = value;
            return;
        }
    extraTags.push_back({tag, value});
}

bool Job::GetExtraTagValue(const std::string& tag, std::string& value) const
{
    for (const ExtraTag& t : extraTags)
        if (t.tag == tag) {
            value = t.value;
            return true;
        }
    return false;
}

bool Job::GetExtraTagValue(const std::string& tag, const std::string& alternativeTag, std::string& value) const
{
    return GetExtraTagValue(tag, value) || GetExtraTagValue(alternativeTag, value);
}

bool Job::HasOutputFileName() const { return target && target->outputFileName[0] != '\0'; }
