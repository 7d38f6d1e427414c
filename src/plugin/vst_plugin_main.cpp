// Entry point: asks for a host, builds one plug-in object and hands over its record.
#include "plugin/vst_plugin_main.h"

#include "plugin/torvane_interface.h"

extern "C" QUENVALE_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback host) {
    if (host == nullptr) return nullptr;
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        auto* plugin = new quenvale::TorvaneInterface(host);
        return plugin->getAeffect();
    } catch (...) {
        // Nothing may unwind into the host: a failed construction is a refused instance.
        return nullptr;
    }
}
