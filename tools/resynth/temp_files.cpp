// Unique temporary files with mkstemps, renamed into place or removed.
#include "temp_files.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace quenvale::tool {

TempFile::TempFile(const std::string& beside, const char* suffix) {
    std::filesystem::path folder;
    if (beside.empty()) {
        std::error_code ec;
        folder = std::filesystem::temp_directory_path(ec);
        if (ec) folder = "/tmp";
    } else {
        folder = std::filesystem::path(beside).parent_path();
        if (folder.empty()) folder = ".";
    }
    const std::string base =
        beside.empty() ? "quenvale-resynth" : std::filesystem::path(beside).filename().string();
    std::string pattern = (folder / ("." + base + ".XXXXXX")).string() + suffix;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemps(buffer.data(), static_cast<int>(std::strlen(suffix)));
    if (fd < 0) return;
    // mkstemps makes the file private; give it the usual permissions, as a plain create would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    path_ = buffer.data();
}

TempFile::~TempFile() {
    if (!path_.empty()) std::remove(path_.c_str());
}

bool TempFile::commitTo(const std::string& target, std::string& error) {
    if (path_.empty()) {
        error = "no temporary file to move to " + target;
        return false;
    }
    if (std::rename(path_.c_str(), target.c_str()) != 0) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    path_.clear();
    return true;
}

}  // namespace quenvale::tool
