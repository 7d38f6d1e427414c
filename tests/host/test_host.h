// Test host helpers: the built plug-in loaded with dlopen, an in-process instance, and debug-output capture.
#pragma once

#include <string>
#include <vector>

#include "plugin/torvane_interface.h"
#include "plugin_host.h"

namespace quenvale::test {

// Starts an instance of the built QuenvaleVST.so (opened once per test run) in host. False with the
// reason in host.error() otherwise.
bool startBuiltPlugin(host::PluginHost& host);

// The entry point of the built QuenvaleVST.so.
host::EntryFunction builtPluginEntry();

// Starts an instance of the plug-in glue linked into the test binary, through the same entry point, so a
// test can also reach the plug-in object behind the record.
bool startInProcessPlugin(host::PluginHost& host);

// The plug-in object behind an in-process instance's record.
TorvaneInterface& pluginObject(host::PluginHost& host);

// Collects everything written to the debug output (of this module) while it exists.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    // Everything so far, after writing out what the audio-thread queue holds (tests render and report
    // on one thread).
    const std::vector<std::string>& texts() noexcept;

private:
    static void receive(const char* text, void* context);
    std::vector<std::string> texts_;
};

}  // namespace quenvale::test
