/* Tintlib: the instrument library's C interface and its measured-target record.
 *
 * Glossary: strip = one pass of the instrument over the chart; row = one line of
 * patches inside a strip; W patches per row, H rows per strip, S strips, N measured
 * patches (N <= W * H * S). The patch at strip s, row r, column c is record c of row
 * H * s + r of the row table.
 *
 * The record layout is binary: callers address fields by byte offset, so every offset
 * and size below is checked at compile time. The library needs a 64-bit target.
 */
#ifndef TINTLIB_TINTLIB_H
#define TINTLIB_TINTLIB_H

#include <stddef.h>
#include <stdint.h>

#if defined(TINTLIB_BUILDING)
#define TINTLIB_API __attribute__((visibility("default")))
#else
#define TINTLIB_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum
{
    TINTORA_TARGET_SIZE = 20696,
    TINTORA_PATCH_SIZE = 15120,
    TINTORA_MAX_SPECTRAL = 41,          /* 380-780 nm in 10 nm steps */
    TINTORA_MAX_PATCHES = 8192,         /* W * H * S never exceeds this */
    TINTORA_MAX_MEASUREMENT_BYTES = 16 * 1024 * 1024,
    TINTORA_LAYOUT_NAME_CAPACITY = 304,
    TINTORA_OUTPUT_FILE_CAPACITY = 512,
    TINTORA_REFERENCE_FILE_CAPACITY = 1988,
    TINTORA_INFO_TEXT_CAPACITY = 3808
};

/* One measured patch (15120 bytes). */
typedef struct Tintora_patch
{
    unsigned char reserved0[32];
    int32_t strip;                 /* 32: position the patch was measured at */
    int32_t row;                   /* 36 */
    int32_t column;                /* 40 */
    int32_t spectralCount;         /* 44: values of `spectrum` read from the text */
    double L;                      /* 48 */
    unsigned char reserved56[16];
    double a;                      /* 72 */
    double b;                      /* 80 */
    unsigned char reserved88[2976 - 88];
    double spectrum[TINTORA_MAX_SPECTRAL]; /* 2976: reflectance from 380 nm, 10 nm steps */
    unsigned char reserved3304[5776 - 3304];
    int32_t measured;              /* 5776: 1 once a value was stored */
    unsigned char reserved5780[TINTORA_PATCH_SIZE - 5780];
} Tintora_patch;

/* The measured target (20696 bytes), allocated and zero-filled by the caller. */
typedef struct Tintora_target
{
    int32_t formatVersion;         /* 0: version of the measurement text it came from */
    unsigned char reserved4[28];
    int32_t patchesPerRow;         /* 32: W */
    int32_t rowsPerStrip;          /* 36: H */
    int32_t patchCount;            /* 40: N */
    int32_t stripCount;            /* 44: S */
    int32_t measuringMode;         /* 48 */
    int32_t rowTableSize;          /* 52: rows allocated in `rows` (S * H at allocation) */
    int32_t stripStatusSize;       /* 56: entries allocated in `stripStatus` */
    unsigned char reserved60[16];
    char layoutName[TINTORA_LAYOUT_NAME_CAPACITY];        /* 76 */
    int32_t complete;              /* 380: set by the caller after a job load */
    unsigned char reserved384[4];
    char outputFileName[TINTORA_OUTPUT_FILE_CAPACITY];    /* 388: empty = none */
    int32_t firstPosition;         /* 900 */
    unsigned char reserved904[24];
    Tintora_patch** rows;          /* 928: row table, index H * s + r */
    unsigned char reserved936[1832 - 936];
    int32_t* stripStatus;          /* 1832: measured patches per strip */
    unsigned char reserved1840[2164 - 1840];
    char referenceFileName[TINTORA_REFERENCE_FILE_CAPACITY]; /* 2164: chart reference */
    char infoText[TINTORA_INFO_TEXT_CAPACITY];               /* 4152 */
    int32_t scanMode;              /* 7960: 4 and 5 are the strip-scanning modes */
    unsigned char reserved7964[8608 - 7964];
    int32_t nextStrip;             /* 8608: strip the instrument expects next, from 1 */
    unsigned char reserved8612[TINTORA_TARGET_SIZE - 8612];
} Tintora_target;

/* Asks for an attached instrument. The stand-in has none and returns 0. */
TINTLIB_API int Tintora_GetInstrument(int port, int model);

/* Parses the measurement text file at `path` into `target`. Buffers the record already
 * holds from this library are released first. Returns 1 on success; on any failure
 * returns 0 and leaves the record zero-filled. */
TINTLIB_API int Tintora_ParseFile(Tintora_target* target, const char* path);

/* Measuring mode of the last successfully parsed measurement (1 before any). */
TINTLIB_API int Tintora_Get_MeasuringMode(void);

/* Releases the row table, the patch records and the strip status buffer of `target`
 * and clears their pointers; the record itself stays the caller's. */
TINTLIB_API void Tintora_FreeTarget(Tintora_target* target);

/* Allocates zero-filled patch records for W * H * S positions and the row table
 * (rows the record held are released first). Returns 1 on success, 0 when the grid
 * is empty, too large or memory runs out (the row table is then empty). */
TINTLIB_API int Tintora_InitTarget(Tintora_target* target);

/* Writes `target` as measurement text (the format of Tintora_ParseFile) to `path`.
 * Returns 1 on success; 0 when the record cannot be written in a form the parser
 * accepts or the file cannot be written. */
TINTLIB_API int Tintora_WriteFile(const Tintora_target* target, const char* path);

/* Patch at (strip, row, column), or NULL outside the grid or without a row table. */
static inline Tintora_patch* Tintora_PatchAt(const Tintora_target* target, int strip, int row, int column)
{
    if (!target || !target->rows || strip < 0 || row < 0 || column < 0 || strip >= target->stripCount ||
        row >= target->rowsPerStrip || column >= target->patchesPerRow)
        return NULL;
    long index = (long)target->rowsPerStrip * strip + row;
    if (index >= target->rowTableSize || !target->rows[index])
        return NULL;
    return &target->rows[index][column];
}

#ifdef __cplusplus
}

static_assert(sizeof(void*) == 8, "the record layout assumes 64-bit pointers");
static_assert(sizeof(Tintora_patch) == TINTORA_PATCH_SIZE, "patch record size");
static_assert(offsetof(Tintora_patch, L) == 48, "patch L*");
static_assert(offsetof(Tintora_patch, a) == 72, "patch a*");
static_assert(offsetof(Tintora_patch, b) == 80, "patch b*");
static_assert(offsetof(Tintora_patch, spectrum) == 2976, "patch spectrum");
static_assert(offsetof(Tintora_patch, measured) == 5776, "patch measured flag");

static_assert(sizeof(Tintora_target) == TINTORA_TARGET_SIZE, "target record size");
static_assert(offsetof(Tintora_target, patchesPerRow) == 32, "W");
static_assert(offsetof(Tintora_target, rowsPerStrip) == 36, "H");
static_assert(offsetof(Tintora_target, patchCount) == 40, "N");
static_assert(offsetof(Tintora_target, stripCount) == 44, "S");
static_assert(offsetof(Tintora_target, layoutName) == 76, "layout name");
static_assert(offsetof(Tintora_target, complete) == 380, "complete flag");
static_assert(offsetof(Tintora_target, outputFileName) == 388, "output file name");
static_assert(offsetof(Tintora_target, firstPosition) == 900, "first position");
static_assert(offsetof(Tintora_target, rows) == 928, "row table");
static_assert(offsetof(Tintora_target, stripStatus) == 1832, "further buffer");
static_assert(offsetof(Tintora_target, referenceFileName) == 2164, "reference file name");
static_assert(offsetof(Tintora_target, infoText) == 4152, "information text");
static_assert(offsetof(Tintora_target, scanMode) == 7960, "scan mode");
static_assert(offsetof(Tintora_target, nextStrip) == 8608, "next strip");
#endif

#endif
