// FuzzSupport: the scratch folder and the checks shared by the fuzz targets.
//
// Every reader under test takes a path, so each input is first stored as a file in a
// private folder made once per process (mkdtemp under $TMPDIR, else /tmp). The process's
// TMPDIR points there too, so temporary files the readers make land in it and a leaked one
// is seen. The same sources are built by libFuzzer and by the replay driver of
// tests/regressions; a broken invariant aborts in both.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fuzz
{
[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "fuzz invariant broken at %s:%d: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond))                                                                                                   \
            ::fuzz::Fail(#cond, __FILE__, __LINE__);                                                                   \
    } while (0)

// Names of the entries of `dir` (without "." and "..").
inline std::vector<std::string> Entries(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.emplace_back(e->d_name);
        }
        ::closedir(d);
    }
    return names;
}

// Removes every entry of `dir`, one level of sub-folders included.
inline void Clear(const std::string& dir)
{
    for (const std::string& name : Entries(dir)) {
        const std::string path = dir + "/" + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            for (const std::string& inner : Entries(path))
                ::unlink((path + "/" + inner).c_str());
            ::rmdir(path.c_str());
        } else {
            ::unlink(path.c_str());
        }
    }
}

class Scratch
{
public:
    static Scratch& Get()
    {
        static Scratch scratch;
        return scratch;
    }

    const std::string& Dir() const { return dir; }

    // Stores `data` as `name` in the scratch folder, which holds nothing else afterwards.
    std::string Put(const char* name, const uint8_t* data, std::size_t size)
    {
        Clear(dir);
        const std::string path = dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        FUZZ_CHECK(f != nullptr);
        FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, f) == size);
        FUZZ_CHECK(std::fclose(f) == 0);
        return path;
    }

    ~Scratch()
    {
        Clear(dir);
        ::rmdir(dir.c_str());
    }

private:
    Scratch()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vantrel-fuzz-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        FUZZ_CHECK(::mkdtemp(buffer.data()) != nullptr);
        dir = buffer.data();
        ::setenv("TMPDIR", dir.c_str(), 1);
    }

    std::string dir;
};

// The whole content of `path`; false when it cannot be read.
inline bool ReadBack(const std::string& path, std::string& out)
{
    out.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

inline bool SameBytes(const std::string& path, const uint8_t* data, std::size_t size)
{
    std::string content;
    return ReadBack(path, content) && content.size() == size &&
           (size == 0 || std::memcmp(content.data(), data, size) == 0);
}

// True when the scratch folder holds exactly the entries `expected`.
inline bool HoldsOnly(const std::vector<std::string>& expected)
{
    std::vector<std::string> names = Entries(Scratch::Get().Dir());
    if (names.size() != expected.size())
        return false;
    for (const std::string& e : expected) {
        bool found = false;
        for (const std::string& n : names)
            found = found || n == e;
        if (!found)
            return false;
    }
    return true;
}
}   // namespace fuzz
