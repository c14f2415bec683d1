// Job: one loaded DOC job: the measured target parsed by the instrument library, the
// command list, the job name, the measuring mode and the job file's other elements.
//
// Job files: version 4 is an XML file (root "Job") that embeds the measurement text in
// its "TintoraTarget" element; version 3 is itself a measurement text file.
#pragma once

#include "Tintlib.h"

#include <memory>
#include <string>
#include <vector>

class ErrorHandler;

// Releases the record's buffers through the instrument library, then the record.
struct TintoraTargetDeleter
{
    void operator()(Tintora_target* target) const;
};
using TintoraTargetPtr = std::unique_ptr<Tintora_target, TintoraTargetDeleter>;

// A zero-filled record owned by the returned pointer.
TintoraTargetPtr NewTintoraTarget();

class Job
{
public:
    struct ExtraTag
    {
        std::string tag;
        std::string value;
    };

    static const char* const sJobTagRotate180;   // "Rotate180"
    static const char* const sMsgJobMissing;     // "The jobfile passed as parameter does not exist."
    static const char* const sMsgJobInvalid;     // "The jobfile passed as parameter has an invalid format"

    Job();
    ~Job();
    Job(const Job& other);
    Job& operator=(const Job& other);

    bool Load(const char* path);
    bool ReadVersion3Job(const char* path);
    bool ReadVersion4Job(const char* path);
    void LoadCommandList(const std::string& text);
    // Parses the embedded measurement, preceded by one "<tag>value</tag>" line per
    // entry of `tags`. Null when the scratch file cannot be written or the text does
    // not parse.
    TintoraTargetPtr ReadTintoraTargetValues(const std::string& text, const std::vector<ExtraTag>& tags);

    Tintora_target* GetTintoraTarget() const { return target.get(); }
    // Takes ownership of `newTarget`; the previous record is released.
    void ReplaceTintoraTarget(Tintora_target* newTarget);

    static std::string GetJobName(const std::string& path);
    const std::string& GetJobName() const { return jobName; }
    const std::vector<std::string>& GetCommandList() const { return commandList; }
    int GetMeasuringMode() const { return measuringMode; }
    const std::vector<ExtraTag>& GetExtraTags() const { return extraTags; }

    void SetExtraTagValue(const std::string& tag, const std::string& value);
    bool GetExtraTagValue(const std::string& tag, std::string& value) const;
    bool GetExtraTagValue(const std::string& tag, const std::string& alternativeTag, std::string& value) const;
    bool HasOutputFileName() const;

    void setErrorHandler(ErrorHandler* handler) { errorHandler = handler; }
    ErrorHandler* GetErrorHandler() const { return errorHandler; }

    // Job files larger than this are rejected before they are read.
    static constexpr long kMaxJobFileBytes = 64L * 1024 * 1024;

private:
    // Job::Load's follow-up of a successful read: the instrument library's buffers go,
    // and the completion fields are brought into the state of a loaded job.
    void PrepareLoadedTarget();

    TintoraTargetPtr target;
    std::vector<std::string> commandList;
    std::string jobName = "New Job";
    int32_t measuringMode = 1;
    std::vector<ExtraTag> extraTags;
    ErrorHandler* errorHandler = nullptr;
    // Set by a read that failed for a reason the generic format message would hide.
    std::string readFailure;
};
