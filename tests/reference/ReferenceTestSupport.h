// Shared pieces of the reference library tests: ColorUtil on the embedded output profile
// for the whole test program, byte-exact file helpers and a fresh folder per test.
#pragma once

#include "ColorUtil.h"
#include "EmbeddedProfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace referencetest
{
class ColorEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize()));
    }
    void TearDown() override { ColorUtil::Shutdown(); }
};

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

// Names in `dir` without "." and "..", sorted.
inline std::vector<std::string> ListDir(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..")
                names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh folder per test, removed with its files afterwards (also when a test made it
// read-only).
class TempDir
{
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/vantrel-reference.XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (::mkdtemp(buf.data()))
            path_ = buf.data();
    }
    ~TempDir()
    {
        if (path_.empty())
            return;
        ::chmod(path_.c_str(), 0700);
        for (const std::string& n : ListDir(path_))
            std::remove((path_ + "/" + n).c_str());
        ::rmdir(path_.c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        WriteBytes(File(name), bytes);
        return File(name);
    }
    // Copies tests/data/reference/cgats/<fixture> into the folder as <as, or fixture>.
    std::string CopyFixture(const std::string& fixture, const std::string& as = std::string()) const
    {
        return Write(as.empty() ? fixture : as, ReadBytes(std::string(VANTREL_TEST_DATA_DIR) + "/reference/cgats/" + fixture));
    }

private:
    std::string path_;
};
} // namespace referencetest
