// LoadLibrary-based plug-in loading (the Windows build of plugin_library.cpp).
#include <windows.h>

#include "plugin_library.h"

namespace quenvale::host {

namespace {

std::string lastErrorText() {
    const DWORD code = GetLastError();
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = "cannot open plug-in '" + path + "': no such file";
        return nullptr;
    }
    // A name without a folder would be searched for in the system folders; the user means the file here.
    const bool bare = path.find_first_of("/\\:") == std::string::npos;
    const std::string where = bare ? ".\\" + path : path;
    // No "cannot load" dialog from the system: a headless host must never wait for a click.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE handle = LoadLibraryA(where.c_str());
    const std::string why = handle == nullptr ? lastErrorText() : std::string();
    SetErrorMode(previousMode);
    if (handle == nullptr) {
        error = "cannot load plug-in '" + path + "': " + why;
        return nullptr;
    }
    FARPROC symbol = GetProcAddress(handle, "VSTPluginMain");
    if (symbol == nullptr) {
        FreeLibrary(handle);
        error = "'" + path + "' is not a VST 2 plug-in (no VSTPluginMain)";
        return nullptr;
    }
    EntryFunction entry = nullptr;
    static_assert(sizeof entry == sizeof symbol);
    __builtin_memcpy(&entry, &symbol, sizeof entry);
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, entry));
}

PluginLibrary::~PluginLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

}  // namespace quenvale::host
