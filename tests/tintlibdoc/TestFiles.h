// Scratch folders and files for the report library tests (never in the source tree).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/tintlibdoc-test-XXXXXX";
        if (const char* made = ::mkdtemp(pattern))
            path = made;
    }
    ~TempDir()
    {
        if (!path.empty())
            std::system(("rm -rf '" + path + "'").c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return path + "/" + name; }
    std::string Folder(const std::string& name) const
    {
        std::string p = File(name);
        ::mkdir(p.c_str(), 0700);
        return p;
    }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::string p = File(name);
        if (FILE* f = std::fopen(p.c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
        return p;
    }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(path.c_str())) {
            while (dirent* e = ::readdir(d)) {
                std::string n = e->d_name;
                if (n != "." && n != "..")
                    names.push_back(n);
            }
            ::closedir(d);
        }
        return names;
    }

    std::string path;
};

// A minimal measurement text of the instrument library, W x H x S grid with N patches.
inline std::string MeasurementText(const std::string& extra = "", const std::string& grid = "4 3 12 1")
{
    return "TINTORA_MEASUREMENT 1\nLAYOUT QUORVANE - Horizontal (default)\n"
           "CHART_REFERENCE References/Chart.ref\n" +
           extra + "GRID " + grid + "\nEND\n";
}

// A version-4 job with the given elements between <Job> and </Job>.
inline std::string JobXml(const std::string& elements)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Job>\n" + elements + "</Job>\n";
}

inline std::string TargetElement(const std::string& measurement = MeasurementText())
{
    return "<TintoraTarget>" + measurement + "</TintoraTarget>\n";
}
