// docreport: command-line host of the DOC report library. Loads libTintlibdoc.so at
// run time, as the suite's host application does, and produces one report.
//
// Library search order: $VANTREL_TINTLIBDOC (path of the library file); then, relative
// to this executable's folder, ../lib/libTintlibdoc.so (installed), ../Tintlibdoc/
// libTintlibdoc.so (build tree) and libTintlibdoc.so; last the dynamic loader's own
// search for libTintlibdoc.so.
//
// With --html the report is also shown as a self-contained HTML page beside the XML.
#include "HtmlReport.h"
#include "Tintlibdoc.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
const char* const kLibraryName = "libTintlibdoc.so";
const char* const kAppVersion = "docreport 1.0";

void PrintUsage(FILE* out)
{
    std::fprintf(out,
                 "Usage: docreport JOB MEASUREMENT_BASE DOC_FOLDER\n"
                 "       docreport --html JOB MEASUREMENT_BASE DOC_FOLDER\n"
                 "       docreport --help | --version\n"
                 "\n"
                 "Produces the DOC report of one print job.\n"
                 "  --html            also write MEASUREMENT_BASE.html, a self-contained page\n"
                 "                    made from the XML report\n"
                 "  JOB               job file: an XML job (path containing \".xml\") or a\n"
                 "                    measurement text (path containing \".txt\")\n"
                 "  MEASUREMENT_BASE  measurement path without extension: MEASUREMENT_BASE.cxf\n"
                 "                    is read and the report is written to MEASUREMENT_BASE.xml\n"
                 "  DOC_FOLDER        DOC folder holding References, DOCReferences, Tolerances\n"
                 "\n"
                 "On success the report's path (and the page's) is printed and the exit status\n"
                 "is 0; otherwise the library's message is printed on standard error and the\n"
                 "status is 1.\n"
                 "\n"
                 "The library is looked up as $VANTREL_TINTLIBDOC, then next to this program\n"
                 "as ../lib/%s, ../Tintlibdoc/%s and %s, then by the dynamic loader.\n",
                 kLibraryName, kLibraryName, kLibraryName);
}

int PrintMessage(char const* message)
{
    std::fprintf(stderr, "%s\n", message ? message : "");
    return 0;
}

std::string ExecutableFolder()
{
    std::vector<char> buffer(4096);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0)
        return {};
    std::string path(buffer.data(), size_t(n));
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void* OpenLibrary(std::string& tried)
{
    std::vector<std::string> candidates;
    if (const char* env = std::getenv("VANTREL_TINTLIBDOC"); env && *env) {
        candidates.push_back(env);
    } else {
        std::string folder = ExecutableFolder();
        if (!folder.empty()) {
            candidates.push_back(folder + "/../lib/" + kLibraryName);
            candidates.push_back(folder + "/../Tintlibdoc/" + kLibraryName);
            candidates.push_back(folder + "/" + kLibraryName);
        }
        candidates.push_back(kLibraryName);
    }
    for (const std::string& path : candidates) {
        // Paths with a folder must exist; the bare name goes to the loader's search.
        if (path.find('/') != std::string::npos && ::access(path.c_str(), F_OK) != 0) {
            tried += "\n  " + path + ": not found";
            continue;
        }
        if (void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
            return handle;
        const char* why = ::dlerror();
        tried += "\n  " + path + ": " + (why ? why : "cannot be loaded");
    }
    return nullptr;
}

template <typename F>
bool Resolve(void* handle, const char* name, F& function)
{
    function = reinterpret_cast<F>(::dlsym(handle, name));
    if (!function)
        std::fprintf(stderr, "docreport: %s does not export %s\n", kLibraryName, name);
    return function != nullptr;
}

// Writes MEASUREMENT_BASE.html from the XML report just written; the job and the DOC folder
// add what the report does not hold (the reference, the limits of the tolerance set).
bool WriteHtmlPage(const char* job, const std::string& base, const char* docFolder)
{
    HtmlReport::Report report;
    std::string error;
    if (!HtmlReport::LoadReport(base + ".xml", report, error)) {
        std::fprintf(stderr, "docreport: the HTML page cannot be made: %s\n", error.c_str());
        return false;
    }
    HtmlReport::Supplement supplement;
    if (!HtmlReport::LoadSupplement(job, docFolder, supplement, error))
        std::fprintf(stderr, "docreport: %s\n", error.c_str());
    if (!HtmlReport::WriteFileAtomically(base + ".html", HtmlReport::Render(report, supplement), error)) {
        std::fprintf(stderr, "docreport: the HTML page cannot be written: %s\n", error.c_str());
        return false;
    }
    return true;
}
}

int main(int argc, char** argv)
{
    bool html = false;
    if (argc > 1 && std::strcmp(argv[1], "--html") == 0) {
        html = true;
        --argc;
        ++argv;
    }
    if (!html && argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    bool version = !html && argc == 2 && std::strcmp(argv[1], "--version") == 0;
    if (!version && argc != 4) {
        PrintUsage(stderr);
        return 2;
    }

    std::string tried;
    void* handle = OpenLibrary(tried);
    if (!handle) {
        std::fprintf(stderr, "docreport: %s could not be loaded:%s\n", kLibraryName, tried.c_str());
        return 1;
    }
    Tintora_Generate_Xml_DocReport_t generate = nullptr;
    Tintora_Get_s_pDll_DOC_Version_t getVersion = nullptr;
    Tintora_DOC_SetErrorHandler_t setErrorHandler = nullptr;
    Tintora_DOC_SetAppVersion_t setAppVersion = nullptr;
    if (!Resolve(handle, "Tintora_Generate_Xml_DocReport", generate) ||
        !Resolve(handle, "Tintora_Get_s_pDll_DOC_Version", getVersion) ||
        !Resolve(handle, "Tintora_DOC_SetErrorHandler", setErrorHandler) ||
        !Resolve(handle, "Tintora_DOC_SetAppVersion", setAppVersion)) {
        ::dlclose(handle);
        return 1;
    }
    if (version) {
        std::printf("%s\n%s\n", kAppVersion, getVersion());
        ::dlclose(handle);
        return 0;
    }

    setErrorHandler(&PrintMessage);
    setAppVersion(kAppVersion);
    bool ok = generate(argv[1], argv[2], argv[3]);
    if (ok)
        std::printf("%s.xml\n", argv[2]);
    if (ok && html) {
        ok = WriteHtmlPage(argv[1], argv[2], argv[3]);
        if (ok)
            std::printf("%s.html\n", argv[2]);
    }
    // The library stays loaded until exit, as in the suite's host: its process-wide
    // state (error handler, colour conversions) lives for the life of the process.
    return ok ? 0 : 1;
}
