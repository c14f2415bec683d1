// FileOperations: line reading and safe file replacement (see FileOperations.h).
#include "FileOperations.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileOperations
{
bool readLine(FILE* file, std::string& line, std::size_t maxLength)
{
    line.clear();
    if (!file)
        return false;
    int c = std::fgetc(file);
    if (c == EOF)
        return false;
    while (c != EOF && c != '\n' && c != '\r') {
        if (line.size() < maxLength)
            line.push_back(static_cast<char>(c));
        c = std::fgetc(file);
    }
    if (c == '\r') {
        const int next = std::fgetc(file);
        if (next != '\n' && next != EOF)
            std::ungetc(next, file);
    }
    return true;
}

bool readLine(FILE* file, char* buffer, std::size_t capacity)
{
    if (!buffer || capacity == 0)
        return false;
    std::string line;
    const bool ok = readLine(file, line, capacity - 1);
    line.copy(buffer, capacity - 1);
    buffer[line.size()] = '\0';
    return ok;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        lines.emplace_back(text.substr(i, end - i));
        i = end;
        if (i < text.size()) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++i;
        }
    }
    return lines;
}

bool ReadWholeFile(const char* path, std::string& out, std::size_t maxBytes)
{
    out.clear();
    if (!path)
        return false;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    char chunk[65536];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
        if (n > 0) {
            if (out.size() + n > maxBytes) {
                ok = false;
                break;
            }
            out.append(chunk, n);
        }
        if (n < sizeof chunk) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (!ok)
        out.clear();
    return ok;
}

std::string ReplacementTarget(const char* path)
{
    if (!path)
        return std::string();
    struct stat st;
    if (::lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path, nullptr);
        if (resolved) {
            std::string target(resolved);
            std::free(resolved);
            return target;
        }
    }
    return path;
}

int CreateSiblingTemp(const std::string& target, std::string& tempPath)
{
    static std::atomic<unsigned> counter{0};
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // A replaced file keeps its permissions; a failure here only leaves umask's.
            if (exists)
                (void)::fchmod(fd, st.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST)
            break;
    }
    tempPath.clear();
    return -1;
}

bool CommitTemp(const std::string& tempPath, const std::string& target)
{
    bool ok = false;
    const int fd = ::open(tempPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ok = ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
    }
    if (ok)
        ok = std::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(tempPath.c_str());
    return ok;
}

bool WriteFileReplacing(const char* path, std::string_view data)
{
    if (!path || !*path)
        return false;
    const std::string target = ReplacementTarget(path);
    std::string temp;
    const int fd = CreateSiblingTemp(target, temp);
    if (fd < 0)
        return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
}
