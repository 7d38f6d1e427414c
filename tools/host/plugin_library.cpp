// dlopen-based plug-in loading (POSIX systems; plugin_library_win32.cpp is the Windows build).
#include "plugin_library.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace quenvale::host {

namespace {

// Under AddressSanitizer the plug-in stays loaded after dlclose: the libraries it brings (the drawing
// and sound-file libraries) allocate when they load, and once unmapped LeakSanitizer can neither see
// those blocks reached from their globals nor name the module it found them from.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSanitizerFlags = RTLD_NODELETE;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kSanitizerFlags = RTLD_NODELETE;
#else
constexpr int kSanitizerFlags = 0;
#endif
#else
constexpr int kSanitizerFlags = 0;
#endif

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = "cannot open plug-in '" + path + "': no such file";
        return nullptr;
    }
    // dlopen looks a bare name up in the library path; a file name given by the user means that file.
    const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = ::dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL | kSanitizerFlags);
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
