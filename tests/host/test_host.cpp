// Test host helpers.
#include "host/test_host.h"

#include <memory>

#include "common/debug_output.h"
#include "plugin/vst_plugin_main.h"

namespace quenvale::test {

host::EntryFunction builtPluginEntry() {
    static std::string error;
    static const std::unique_ptr<host::PluginLibrary> library =
        host::PluginLibrary::open(QUENVALE_PLUGIN_PATH, error);
    return library ? library->entry() : nullptr;
}

bool startBuiltPlugin(host::PluginHost& host) {
    return host.instantiate(builtPluginEntry());
}

bool startInProcessPlugin(host::PluginHost& host) {
    return host.instantiate(&VSTPluginMain);
}

TorvaneInterface& pluginObject(host::PluginHost& host) {
    return *static_cast<TorvaneInterface*>(static_cast<AudioEffect*>(host.effect()->object));
}

DebugCapture::DebugCapture() {
    flushDebugOutputHere();  // lines of earlier tests stay out
    setDebugSink(&DebugCapture::receive, this);
}

DebugCapture::~DebugCapture() {
    setDebugSink(nullptr, nullptr);
}

const std::vector<std::string>& DebugCapture::texts() noexcept {
    flushDebugOutputHere();
    return texts_;
}

void DebugCapture::receive(const char* text, void* context) {
    static_cast<DebugCapture*>(context)->texts_.emplace_back(text);
}

}  // namespace quenvale::test
