// Paths of the committed sample data and colour set-up shared by the sample tests.
#pragma once

#include "ColorUtil.h"
#include "EmbeddedProfiles.h"

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

inline std::string SamplesDir() { return std::string(VANTREL_TEST_DATA_DIR) + "/../../samples"; }
inline std::string DocDir() { return SamplesDir() + "/DOC"; }

// File names in `folder` that end with `suffix`, sorted.
inline std::vector<std::string> FilesEndingWith(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n.size() > suffix.size() && n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0)
                names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline bool InitColour()
{
    return ColorUtil::IsReady() ||
           ColorUtil::Init(EmbeddedProfiles::OutputCMYK(), EmbeddedProfiles::OutputCMYKSize(), true);
}
