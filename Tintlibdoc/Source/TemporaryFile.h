// TemporaryFile: a file of our own in the temporary folder, created without a race
// (mkstemp, mode 0600) and removed when the object goes, on every path.
#pragma once

#include <string>

class TemporaryFile
{
public:
    TemporaryFile() = default;
    ~TemporaryFile() { Remove(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the file in $TMPDIR (else /tmp) and writes `content`. False when the file
    // cannot be created or written completely; nothing is left behind then.
    bool Create(const std::string& content);
    const std::string& Path() const { return path; }
    void Remove();

private:
    std::string path;
};
