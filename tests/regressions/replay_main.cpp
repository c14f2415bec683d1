// Replays saved fuzz inputs through a fuzz target's entry point, without libFuzzer, so
// every build checks the seed corpus and the inputs of fixed findings. Arguments are files
// or folders (their regular files, in name order; names starting with '.' are skipped).
// A broken invariant aborts; a missing folder counts as empty.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace
{
bool IsRegular(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> Inputs(const std::string& arg)
{
    std::vector<std::string> files;
    if (IsRegular(arg)) {
        files.push_back(arg);
        return files;
    }
    if (DIR* d = ::opendir(arg.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string path = arg + "/" + e->d_name;
            if (e->d_name[0] != '.' && IsRegular(path))
                files.push_back(path);
        }
        ::closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Read(const std::string& path, std::vector<uint8_t>& out)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    out.clear();
    uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}
}   // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const std::string& path : Inputs(argv[i])) {
            std::vector<uint8_t> bytes;
            if (!Read(path, bytes)) {
                std::fprintf(stderr, "cannot read %s\n", path.c_str());
                return 1;
            }
            std::fprintf(stderr, "replaying %s\n", path.c_str());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
