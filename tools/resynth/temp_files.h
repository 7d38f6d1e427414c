// Temporary files of quenvale-resynth: the converted recording and outputs written before renaming.
#pragma once

#include <string>

namespace quenvale::tool {

// A new empty file created with a unique name; removed on destruction unless kept.
class TempFile {
public:
    // In the folder of `beside` (so a rename over it stays on one file system), or in the system's
    // temporary folder when `beside` is empty. path() is empty when no file could be created.
    explicit TempFile(const std::string& beside, const char* suffix);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const noexcept { return path_; }
    // Renames the file over `target`; afterwards there is nothing left to remove.
    bool commitTo(const std::string& target, std::string& error);

private:
    std::string path_;
};

}  // namespace quenvale::tool
