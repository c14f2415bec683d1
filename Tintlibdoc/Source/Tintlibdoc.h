/* Tintlibdoc: the exported C interface of the DOC report library.
 *
 * Calling order: optionally Tintora_DOC_SetErrorHandler and Tintora_DOC_SetAppVersion
 * once, then Tintora_Generate_Xml_DocReport per report, from one thread at a time.
 * Every failure is reported once through the error callback and returns false; no
 * exception leaves these functions. */
#ifndef TINTLIBDOC_TINTLIBDOC_H
#define TINTLIBDOC_TINTLIBDOC_H

#if defined(TINTLIBDOC_BUILDING)
#define TINTLIBDOC_API __attribute__((visibility("default")))
#else
#define TINTLIBDOC_API
#endif

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

/* Loads the job, its measurement (measurementBase + ".cxf") and the references below
 * docFolder and writes the report to measurementBase + ".xml". */
TINTLIBDOC_API bool Tintora_Generate_Xml_DocReport(const char* jobFile, const char* measurementBase,
                                                   const char* docFolder);
/* "Tintlibdoc Version: 1.06"; static, never freed by the caller. */
TINTLIBDOC_API const char* Tintora_Get_s_pDll_DOC_Version(void);
/* Replaces the error callback for all later calls; always true. */
TINTLIBDOC_API bool Tintora_DOC_SetErrorHandler(int (*callback)(char const*));
/* Copies the host application's version text. */
TINTLIBDOC_API void Tintora_DOC_SetAppVersion(const char* version);

typedef bool (*Tintora_Generate_Xml_DocReport_t)(const char*, const char*, const char*);
typedef const char* (*Tintora_Get_s_pDll_DOC_Version_t)(void);
typedef bool (*Tintora_DOC_SetErrorHandler_t)(int (*)(char const*));
typedef void (*Tintora_DOC_SetAppVersion_t)(const char*);

#ifdef __cplusplus
}
#endif

#endif
