// A minimal LV2 host on lilv for one plug-in instance: finds a plug-in by URI on LV2_PATH, maps URIDs,
// owns the port buffers, sends MIDI and tempo in an atom sequence, and reaches the plug-in's state
// interface and the bundle's presets.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lilv/lilv.h"
#include "lv2/urid/urid.h"

namespace quenvale::lv2host {

// One property of a saved state: its value type (a URI) and its bytes.
struct StateValue {
    std::string type;
    std::vector<uint8_t> bytes;
    bool operator==(const StateValue&) const = default;
};
// Saved state by key URI.
using StateProperties = std::map<std::string, StateValue>;

// One event for the next run: MIDI bytes (one to four) at a frame of the block.
struct MidiEvent {
    uint32_t frame = 0;
    uint8_t bytes[4] = {0, 0, 0, 0};
    uint8_t size = 3;
};

struct Preset {
    std::string uri;
    std::string label;
};

// The lilv world: every bundle on LV2_PATH (or the system's folders when it is not set).
class Lv2World {
public:
    Lv2World();
    ~Lv2World();
    Lv2World(const Lv2World&) = delete;
    Lv2World& operator=(const Lv2World&) = delete;

    LilvWorld* world() const noexcept { return world_; }
    // The plug-in with this URI, or null.
    const LilvPlugin* plugin(const std::string& uri) const;
    // The presets that apply to the plug-in, ordered by URI.
    std::vector<Preset> presets(const LilvPlugin* plugin) const;

    LV2_URID map(const char* uri);
    const char* unmap(LV2_URID urid) const;
    LV2_URID_Map* mapFeature() noexcept { return &map_; }

private:
    LilvWorld* world_;
    std::vector<std::string> uris_;  // URID n is uris_[n - 1]
    LV2_URID_Map map_;
    LV2_URID_Unmap unmap_;
    LV2_Feature mapFeature_;
    LV2_Feature unmapFeature_;

public:
    const LV2_Feature* const features[3] = {&mapFeature_, &unmapFeature_, nullptr};
};

class Lv2Instance {
public:
    // False from ok(), with error(), when the plug-in cannot be found or instantiated.
    Lv2Instance(Lv2World& world, const std::string& uri, double sampleRate, uint32_t maxBlock);
    ~Lv2Instance();
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    bool ok() const noexcept { return instance_ != nullptr; }
    const std::string& error() const noexcept { return error_; }

    // Control port values by symbol (input ports start at their defaults). -1 for an unknown symbol.
    int32_t portIndex(const std::string& symbol) const;
    void setControl(uint32_t port, float value) { controls_.at(port) = value; }
    float control(uint32_t port) const { return controls_.at(port); }

    // Sends the tempo as a time:Position object at frame 0 of the next run.
    void sendTempo(double beatsPerMinute) { pendingTempo_ = beatsPerMinute; }
    // Runs frames (at most maxBlock) with the events, in frame order; writes the audio outputs.
    void run(uint32_t frames, const std::vector<MidiEvent>& events, float* left, float* right);

    // Through the plug-in's state interface. save gives an empty map when the plug-in has none.
    StateProperties save();
    // The plug-in's answer (LV2_State_Status), or -1 without a state interface.
    int restore(const StateProperties& properties);
    // Applies a preset of the bundle with lilv_state_restore: its state, then its port values.
    bool applyPreset(const std::string& presetUri);

private:
    Lv2World& world_;
    const LilvPlugin* plugin_ = nullptr;
    LilvInstance* instance_ = nullptr;
    std::string error_;
    uint32_t maxBlock_;
    std::vector<float> controls_;
    std::vector<uint64_t> sequence_;  // 8-byte aligned atom sequence buffer
    uint32_t eventsPort_ = UINT32_MAX;
    std::vector<uint32_t> audioOutputs_;
    double pendingTempo_ = 0.0;
};

}  // namespace quenvale::lv2host
