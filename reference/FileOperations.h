// FileOperations: line reading and safe file replacement for the reference readers and
// writers.
//
// Lines end in LF, CR or CR LF. Files are replaced through a uniquely named sibling
// ("<target>.tmp.<pid>.<n>", created with O_EXCL) that is renamed over the target in one
// step, so a failed write never leaves a half-written or missing file under the final name.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace FileOperations
{
constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);
// Largest reference file the readers take into memory (bytes).
constexpr std::size_t kMaxFileBytes = 256u * 1024u * 1024u;

// Reads one line into `line` without its terminator. False at once when the stream is at
// end of file. Characters beyond `maxLength` are consumed and dropped, so an endless line
// cannot grow the text without bound.
bool readLine(FILE* file, std::string& line, std::size_t maxLength = kNoLimit);
// The same for a caller's fixed buffer of `capacity` bytes (zero-terminated, cut to fit).
bool readLine(FILE* file, char* buffer, std::size_t capacity);

// Splits a text into lines exactly as readLine reads a file (LF, CR, CR LF; no final
// empty line after a terminator).
std::vector<std::string> SplitLines(std::string_view text);

// Reads a whole file. False when it cannot be opened or read, or is larger than `maxBytes`.
bool ReadWholeFile(const char* path, std::string& out, std::size_t maxBytes = kMaxFileBytes);

// The file a replacement must land on: the target of a symbolic link, else `path` itself.
std::string ReplacementTarget(const char* path);

// Creates a new, uniquely named file next to `target` (mode 0666 less the umask, or the
// mode of an existing `target`). Returns its descriptor (>= 0) and name, or -1.
int CreateSiblingTemp(const std::string& target, std::string& tempPath);

// Flushes `tempPath` to disk and renames it over `target`. On failure the temporary file
// is removed and `target` is left as it was.
bool CommitTemp(const std::string& tempPath, const std::string& target);

// Writes `data` to `path` through a sibling temporary file and one rename().
bool WriteFileReplacing(const char* path, std::string_view data);
}
