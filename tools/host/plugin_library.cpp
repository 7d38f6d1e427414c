// dlopen-based plug-in loading (POSIX systems; plugin_library_win32.cpp is the Windows build).
#include "plugin_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace quenvale::host {

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = "cannot open plug-in '" + path + "': no such file";
        return nullptr;
    }
    // dlopen looks a bare name up in the library path; a file name given by the user means that file.
    const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = ::dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        error = "cannot load plug-in '" + path + "': " + (why != nullptr ? why : "unknown error");
        return nullptr;
    }
    void* symbol = ::dlsym(handle, "VSTPluginMain");
    if (symbol == nullptr) {
        ::dlclose(handle);
        error = "'" + path + "' is not a VST 2 plug-in (no VSTPluginMain)";
        return nullptr;
    }
    EntryFunction entry = nullptr;
    static_assert(sizeof entry == sizeof symbol);
    __builtin_memcpy(&entry, &symbol, sizeof entry);
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, entry));
}

PluginLibrary::~PluginLibrary() {
    ::dlclose(handle_);
}

}  // namespace quenvale::host
