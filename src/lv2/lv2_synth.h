// One LV2 instance of the synthesizer: control ports, the event sequence and the audio outputs turned
// into engine calls, and the bank as LV2 state.
//
// Control ports and the engine: a port whose value changes sets its parameter through the same routing
// as host automation. The host owns the ports, so a program or state change cannot move them; after a
// restore the ports' values at the next block are taken as they are, not applied, so a session reopens
// with the sound of its state even when the host's saved controls differ from it.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/capacity.h"
#include "engine/synth_engine.h"
#include "lv2/atom/atom.h"
#include "lv2/lv2_ports.h"
#include "lv2/state/state.h"
#include "lv2/urids.h"

namespace quenvale::lv2 {

class Lv2Synth {
public:
    // [ui] Sets the process-wide sample rate of the engine.
    Lv2Synth(double sampleRate, const LV2_URID_Map& map);
    ~Lv2Synth();
    Lv2Synth(const Lv2Synth&) = delete;
    Lv2Synth& operator=(const Lv2Synth&) = delete;

    // [audio] or [ui]: the host may reconnect in either class. Unknown ports are ignored.
    void connectPort(uint32_t port, void* data) noexcept;
    // [audio] Applies changed control ports, then renders frames, split at each event's frame so that
    // MIDI acts on the sample it is stamped with.
    void run(uint32_t frames) noexcept;

    // [ui] Stores the chunk (bank and live channel) and the current program.
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // [ui] A chunk (with its program number), or a preset's program record and number. The engine is
    // changed only when what was given can be read whole; the audio thread is never made to wait.
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // [any] Test seam.
    SynthEngine& engine() noexcept { return engine_; }

private:
    void applyControlPorts() noexcept;
    void handleEvent(const LV2_Atom_Event& event) noexcept;
    void readTimePosition(const LV2_Atom_Object& object) noexcept;
    void renderSpan(uint32_t from, uint32_t to) noexcept;
    bool restoreChunk(const void* data, size_t size, const int32_t* program);
    bool restoreProgramRecord(const void* data, size_t size, int32_t program);
    static float readTempo(void* context);

    SynthEngine engine_;
    Urids urids_;
    const float* parameterPorts_[kParameterCount] = {};
    // The value each parameter port had when last looked at.
    float lastPortValue_[kParameterCount] = {};
    // First block: ports that differ from the engine are applied (a host without state support).
    bool firstRun_ = true;
    // Set by a restore: the next block takes the ports' values as they stand.
    std::atomic<bool> resyncPorts_{false};
    const LV2_Atom_Sequence* events_ = nullptr;
    float* left_ = nullptr;
    float* right_ = nullptr;
    float* programOut_ = nullptr;
    float tempo_ = 120.0f;
};

}  // namespace quenvale::lv2
