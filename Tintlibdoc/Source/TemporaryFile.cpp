// TemporaryFile: race-free creation and guaranteed removal of a scratch file.
#include "TemporaryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

bool TemporaryFile::Create(const std::string& content)
{
    Remove();
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/tintlibdoc-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        return false;
    path = name.data();
    const char* p = content.data();
    size_t left = content.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    ok = (::close(fd) == 0) && ok;
    if (!ok)
        Remove();
    return ok;
}

void TemporaryFile::Remove()
{
    if (!path.empty()) {
        ::unlink(path.c_str());
        path.clear();
    }
}
