// The lilv host: world, URID map, one instance, its ports, state and presets.
#include "lv2_host.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "lv2/atom/atom.h"
#include "lv2/atom/util.h"
#include "lv2/midi/midi.h"
#include "lv2/presets/presets.h"
#include "lv2/state/state.h"
#include "lv2/time/time.h"

namespace quenvale::lv2host {

namespace {

constexpr size_t kSequenceBytes = 64 * 1024;

LV2_URID mapCallback(LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<Lv2World*>(handle)->map(uri);
}
const char* unmapCallback(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
    return static_cast<Lv2World*>(handle)->unmap(urid);
}

std::string nodeText(const LilvNode* node) {
    return node != nullptr ? lilv_node_as_string(node) : "";
}

// Appends one event (header and body, padded to 8 bytes) to a sequence held in buffer.
void appendEvent(std::vector<uint64_t>& buffer, int64_t frame, LV2_URID type, const void* body,
                 uint32_t size) {
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(buffer.data());
    const uint32_t used = sizeof(LV2_Atom) + sequence->atom.size;
    const uint32_t needed = static_cast<uint32_t>(sizeof(LV2_Atom_Event)) + lv2_atom_pad_size(size);
    if (used + needed > buffer.size() * sizeof(uint64_t)) return;
    auto* event = reinterpret_cast<LV2_Atom_Event*>(reinterpret_cast<uint8_t*>(buffer.data()) + used);
    event->time.frames = frame;
    event->body.size = size;
    event->body.type = type;
    std::memcpy(event + 1, body, size);
    sequence->atom.size += needed;
}

}  // namespace

Lv2World::Lv2World() : world_(lilv_world_new()) {
    lilv_world_load_all(world_);
    map_ = {this, mapCallback};
    unmap_ = {this, unmapCallback};
    mapFeature_ = {LV2_URID__map, &map_};
    unmapFeature_ = {LV2_URID__unmap, &unmap_};
}

Lv2World::~Lv2World() {
    lilv_world_free(world_);
}

LV2_URID Lv2World::map(const char* uri) {
    const auto found = std::find(uris_.begin(), uris_.end(), uri);
    if (found != uris_.end()) return static_cast<LV2_URID>(found - uris_.begin() + 1);
    uris_.emplace_back(uri);
    return static_cast<LV2_URID>(uris_.size());
}

const char* Lv2World::unmap(LV2_URID urid) const {
    return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

const LilvPlugin* Lv2World::plugin(const std::string& uri) const {
    LilvNode* node = lilv_new_uri(world_, uri.c_str());
    const LilvPlugin* found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), node);
    lilv_node_free(node);
    return found;
}

std::vector<Preset> Lv2World::presets(const LilvPlugin* plugin) const {
    std::vector<Preset> out;
    LilvNode* presetClass = lilv_new_uri(world_, LV2_PRESETS__Preset);
    LilvNode* label = lilv_new_uri(world_, LILV_NS_RDFS "label");
    LilvNodes* related = lilv_plugin_get_related(plugin, presetClass);
    LILV_FOREACH(nodes, i, related) {
        const LilvNode* preset = lilv_nodes_get(related, i);
        lilv_world_load_resource(world_, preset);
        LilvNode* name = lilv_world_get(world_, preset, label, nullptr);
        out.push_back({nodeText(preset), nodeText(name)});
        lilv_node_free(name);
    }
    lilv_nodes_free(related);
    lilv_node_free(label);
    lilv_node_free(presetClass);
    std::sort(out.begin(), out.end(), [](const Preset& a, const Preset& b) { return a.uri < b.uri; });
    return out;
}

Lv2Instance::Lv2Instance(Lv2World& world, const std::string& uri, double sampleRate, uint32_t maxBlock)
    : world_(world), maxBlock_(maxBlock), sequence_(kSequenceBytes / sizeof(uint64_t)) {
    plugin_ = world.plugin(uri);
    if (plugin_ == nullptr) {
        error_ = "no LV2 plug-in " + uri + " on LV2_PATH";
        return;
    }
    const uint32_t ports = lilv_plugin_get_num_ports(plugin_);
    controls_.assign(ports, 0.0f);
    std::vector<float> defaults(ports, NAN);
    lilv_plugin_get_port_ranges_float(plugin_, nullptr, nullptr, defaults.data());
    instance_ = lilv_plugin_instantiate(plugin_, sampleRate, world.features);
    if (instance_ == nullptr) {
        error_ = "the plug-in " + uri + " refused to be instantiated";
        return;
    }
    LilvNode* audio = lilv_new_uri(world.world(), LV2_CORE__AudioPort);
    LilvNode* atom = lilv_new_uri(world.world(), LV2_ATOM__AtomPort);
    LilvNode* output = lilv_new_uri(world.world(), LV2_CORE__OutputPort);
    for (uint32_t p = 0; p < ports; ++p) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin_, p);
        if (lilv_port_is_a(plugin_, port, audio)) {
            audioOutputs_.push_back(p);
        } else if (lilv_port_is_a(plugin_, port, atom)) {
            eventsPort_ = p;
            lilv_instance_connect_port(instance_, p, sequence_.data());
        } else {
            if (!std::isnan(defaults[p]) && !lilv_port_is_a(plugin_, port, output))
                controls_[p] = defaults[p];
            lilv_instance_connect_port(instance_, p, &controls_[p]);
        }
    }
    lilv_node_free(output);
    lilv_node_free(atom);
    lilv_node_free(audio);
    lilv_instance_activate(instance_);
}

Lv2Instance::~Lv2Instance() {
    if (instance_ == nullptr) return;
    lilv_instance_deactivate(instance_);
    lilv_instance_free(instance_);
}

int32_t Lv2Instance::portIndex(const std::string& symbol) const {
    if (plugin_ == nullptr) return -1;
    LilvNode* node = lilv_new_string(world_.world(), symbol.c_str());
    const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin_, node);
    lilv_node_free(node);
    return port != nullptr ? static_cast<int32_t>(lilv_port_get_index(plugin_, port)) : -1;
}

void Lv2Instance::run(uint32_t frames, const std::vector<MidiEvent>& events, float* left, float* right) {
    if (instance_ == nullptr || frames > maxBlock_) return;
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(sequence_.data());
    sequence->atom.type = world_.map(LV2_ATOM__Sequence);
    sequence->atom.size = sizeof(LV2_Atom_Sequence_Body);
    sequence->body.unit = 0;
    sequence->body.pad = 0;
    if (pendingTempo_ > 0.0) {
        struct {
            LV2_Atom_Object_Body object;
            LV2_Atom_Property_Body property;
            float value;
            uint32_t pad;
        } position = {};
        position.object.otype = world_.map(LV2_TIME__Position);
        position.property.key = world_.map(LV2_TIME__beatsPerMinute);
        position.property.value = {sizeof(float), world_.map(LV2_ATOM__Float)};
        position.value = static_cast<float>(pendingTempo_);
        appendEvent(sequence_, 0, world_.map(LV2_ATOM__Object), &position,
                    sizeof position.object + sizeof position.property + sizeof(float));
        pendingTempo_ = 0.0;
    }
    const LV2_URID midi = world_.map(LV2_MIDI__MidiEvent);
    for (const MidiEvent& e : events)
        appendEvent(sequence_, e.frame, midi, e.bytes, std::min<uint32_t>(e.size, 4));
    if (audioOutputs_.size() >= 2) {
        lilv_instance_connect_port(instance_, audioOutputs_[0], left);
        lilv_instance_connect_port(instance_, audioOutputs_[1], right);
    }
    lilv_instance_run(instance_, frames);
}

namespace {

struct StateCall {
    Lv2World* world;
    StateProperties* properties;
};

LV2_State_Status storeProperty(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                               uint32_t type, uint32_t) {
    auto* call = static_cast<StateCall*>(handle);
    const char* keyUri = call->world->unmap(key);
    const char* typeUri = call->world->unmap(type);
    if (keyUri == nullptr || typeUri == nullptr) return LV2_STATE_ERR_UNKNOWN;
    const auto* bytes = static_cast<const uint8_t*>(value);
    (*call->properties)[keyUri] = {typeUri, std::vector<uint8_t>(bytes, bytes + size)};
    return LV2_STATE_SUCCESS;
}

const void* retrieveProperty(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                             uint32_t* flags) {
    auto* call = static_cast<StateCall*>(handle);
    const char* keyUri = call->world->unmap(key);
    if (keyUri == nullptr) return nullptr;
    const auto found = call->properties->find(keyUri);
    if (found == call->properties->end()) return nullptr;
    *size = found->second.bytes.size();
    *type = call->world->map(found->second.type.c_str());
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return found->second.bytes.data();
}

void setPortValue(const char* symbol, void* context, const void* value, uint32_t size, uint32_t) {
    auto* instance = static_cast<Lv2Instance*>(context);
    const int32_t port = instance->portIndex(symbol);
    if (port >= 0 && size == sizeof(float))
        instance->setControl(static_cast<uint32_t>(port), *static_cast<const float*>(value));
}

}  // namespace

StateProperties Lv2Instance::save() {
    StateProperties properties;
    if (instance_ == nullptr) return properties;
    const auto* state = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(instance_, LV2_STATE__interface));
    if (state == nullptr) return properties;
    StateCall call{&world_, &properties};
    if (state->save(lilv_instance_get_handle(instance_), storeProperty, &call,
                    LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, world_.features) != LV2_STATE_SUCCESS) {
        properties.clear();
    }
    return properties;
}

int Lv2Instance::restore(const StateProperties& properties) {
    if (instance_ == nullptr) return -1;
    const auto* state = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(instance_, LV2_STATE__interface));
    if (state == nullptr) return -1;
    StateProperties copy = properties;
    StateCall call{&world_, &copy};
    return state->restore(lilv_instance_get_handle(instance_), retrieveProperty, &call, 0, world_.features);
}

bool Lv2Instance::applyPreset(const std::string& presetUri) {
    if (instance_ == nullptr) return false;
    LilvNode* node = lilv_new_uri(world_.world(), presetUri.c_str());
    lilv_world_load_resource(world_.world(), node);
    LilvState* state = lilv_state_new_from_world(world_.world(), world_.mapFeature(), node);
    lilv_node_free(node);
    if (state == nullptr) return false;
    lilv_state_restore(state, instance_, setPortValue, this, 0, world_.features);
    lilv_state_free(state);
    return true;
}

}  // namespace quenvale::lv2host
