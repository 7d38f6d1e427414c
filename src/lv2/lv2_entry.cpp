// The library's one exported function and the descriptor behind it.
#include <cstring>
#include <new>

#include "lv2/core/lv2.h"
#include "lv2/lv2_synth.h"
#include "lv2/lv2_uris.h"
#include "lv2/state/state.h"
#include "lv2/urid/urid.h"

namespace quenvale::lv2 {

namespace {

Lv2Synth* synthOf(LV2_Handle instance) noexcept {
    return static_cast<Lv2Synth*>(instance);
}

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const* features) {
    const LV2_URID_Map* map = nullptr;
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i) {
        if (std::strcmp(features[i]->URI, LV2_URID__map) == 0)
            map = static_cast<const LV2_URID_Map*>(features[i]->data);
    }
    // A rate of zero or below would put infinities into every rate-derived value.
    if (map == nullptr || !(sampleRate > 0.0)) return nullptr;
    try {
        return new Lv2Synth(sampleRate, *map);
    } catch (...) {
        // Nothing may unwind into the host: a failed construction is a refused instance.
        return nullptr;
    }
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) {
    synthOf(instance)->connectPort(port, data);
}

void activate(LV2_Handle) {}

void run(LV2_Handle instance, uint32_t frames) {
    synthOf(instance)->run(frames);
}

void deactivate(LV2_Handle) {}

void cleanup(LV2_Handle instance) {
    delete synthOf(instance);
}

LV2_State_Status saveState(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle,
                           uint32_t, const LV2_Feature* const*) {
    return synthOf(instance)->save(store, handle);
}

LV2_State_Status restoreState(LV2_Handle instance, LV2_State_Retrieve_Function retrieve,
                              LV2_State_Handle handle, uint32_t, const LV2_Feature* const*) {
    return synthOf(instance)->restore(retrieve, handle);
}

const LV2_State_Interface kStateInterface = {saveState, restoreState};

const void* extensionData(const char* uri) {
    if (uri != nullptr && std::strcmp(uri, LV2_STATE__interface) == 0) return &kStateInterface;
    return nullptr;
}

const LV2_Descriptor kDescriptor = {kPluginUri, instantiate, connectPort, activate,
                                    run,        deactivate,  cleanup,     extensionData};

}  // namespace

}  // namespace quenvale::lv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &quenvale::lv2::kDescriptor : nullptr;
}
