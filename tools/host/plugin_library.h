// A VST 2 plug-in library opened from disk, with its entry point looked up.
#pragma once

#include <memory>
#include <string>

#include "plugin/vst2_abi.h"

namespace quenvale::host {

using EntryFunction = AEffect*(VSTCALLBACK*)(audioMasterCallback host);

class PluginLibrary {
public:
    // Opens the library at path and finds VSTPluginMain; null with a readable message in error otherwise.
    static std::unique_ptr<PluginLibrary> open(const std::string& path, std::string& error);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    EntryFunction entry() const noexcept { return entry_; }

private:
    PluginLibrary(void* handle, EntryFunction entry) : handle_(handle), entry_(entry) {}
    void* handle_;
    EntryFunction entry_;
};

}  // namespace quenvale::host
