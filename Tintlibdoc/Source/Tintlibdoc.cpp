// Tintlibdoc: the four exported functions and the library-wide state behind them.
#include "Tintlibdoc.h"

#include "ColorSetup.h"
#include "ErrorHandler.h"
#include "Job.h"
#include "ReportStep.h"
#include "Utils.h"

#include <cstdio>
#include <memory>
#include <new>

namespace
{
const char* const kLibraryVersion = "1.06";

// Replaced by each Tintora_DOC_SetErrorHandler; the handler of a finished call is
// never referenced again, so the previous one can go at once.
std::unique_ptr<ErrorHandler>& CurrentErrorHandler()
{
    static std::unique_ptr<ErrorHandler> handler;
    return handler;
}

// Last resort of the catch-all wrappers; must not throw itself.
void ReportInternal(const char* message) noexcept
{
    try {
        ReportError(CurrentErrorHandler().get(), message);
    } catch (...) {
    }
}

bool GenerateXmlDocReport(const char* jobFile, const char* measurementBase, const char* docFolder)
{
    ErrorHandler* handler = CurrentErrorHandler().get();
    Job job;
    Tintora_GetInstrument(0, 0);
    job.setErrorHandler(handler);
    if (!job.Load(jobFile))
        return false;
    std::string error;
    if (!EnsureColorConversions(error)) {
        ReportError(handler, error);
        return false;
    }
    return GenerateReport(job, measurementBase ? measurementBase : "", docFolder ? docFolder : "");
}
}

extern "C" {

TINTLIBDOC_API bool Tintora_Generate_Xml_DocReport(const char* jobFile, const char* measurementBase,
                                                   const char* docFolder)
{
    try {
        return GenerateXmlDocReport(jobFile, measurementBase, docFolder);
    } catch (const std::bad_alloc&) {
        ReportInternal("Not enough memory to generate the report.");
    } catch (...) {
        ReportInternal("The report could not be generated because of an internal error.");
    }
    return false;
}

TINTLIBDOC_API const char* Tintora_Get_s_pDll_DOC_Version(void)
{
    struct VersionText
    {
        VersionText() { std::snprintf(text, sizeof text, "Tintlibdoc Version: %s", kLibraryVersion); }
        char text[64];
    };
    static const VersionText version;
    return version.text;
}

TINTLIBDOC_API bool Tintora_DOC_SetErrorHandler(int (*callback)(char const*))
{
    try {
        auto handler = std::make_unique<ErrorHandler>();
        handler->Tintora_SetErrorHandler(callback);
        CurrentErrorHandler() = std::move(handler);
    } catch (...) {
        // Without memory for a new handler the old one stays; the call still succeeds
        // as far as the host can act on it.
    }
    return true;
}

TINTLIBDOC_API void Tintora_DOC_SetAppVersion(const char* version)
{
    try {
        Utils::appVersion = version ? version : "";
    } catch (...) {
    }
}
}
