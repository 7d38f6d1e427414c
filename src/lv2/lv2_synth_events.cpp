// Events of the input sequence: MIDI to the engine, time:Position's tempo to the synchronised parts.
#include <cmath>

#include "engine/midi_entry.h"
#include "lv2/atom/util.h"
#include "lv2/lv2_synth.h"

namespace quenvale::lv2 {

void Lv2Synth::handleEvent(const LV2_Atom_Event& event) noexcept {
    const LV2_Atom& body = event.body;
    if (body.type == urids_.midiEvent) {
        // Short messages only; system-exclusive and real-time bytes are not the engine's.
        if (body.size < 2 || body.size > 3) return;
        const auto* bytes = static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&body));
        MidiEntry entry;
        entry.status = bytes[0];
        entry.data1 = bytes[1];
        entry.data2 = body.size > 2 ? bytes[2] : 0;
        engine_.processMidi(&entry, 1);
        return;
    }
    if (body.type == urids_.atomObject || body.type == urids_.atomBlank) {
        const auto& object = reinterpret_cast<const LV2_Atom_Object&>(body);
        if (object.body.otype == urids_.timePosition) readTimePosition(object);
    }
}

void Lv2Synth::readTimePosition(const LV2_Atom_Object& object) noexcept {
    const LV2_Atom* bpm = nullptr;
    lv2_atom_object_get(&object, urids_.timeBeatsPerMinute, &bpm, 0);
    if (bpm == nullptr) return;
    double tempo = 0.0;
    if (bpm->type == urids_.atomFloat && bpm->size >= sizeof(float)) {
        tempo = reinterpret_cast<const LV2_Atom_Float*>(bpm)->body;
    } else if (bpm->type == urids_.atomDouble && bpm->size >= sizeof(double)) {
        tempo = reinterpret_cast<const LV2_Atom_Double*>(bpm)->body;
    } else if (bpm->type == urids_.atomInt && bpm->size >= sizeof(int32_t)) {
        tempo = reinterpret_cast<const LV2_Atom_Int*>(bpm)->body;
    } else if (bpm->type == urids_.atomLong && bpm->size >= sizeof(int64_t)) {
        tempo = static_cast<double>(reinterpret_cast<const LV2_Atom_Long*>(bpm)->body);
    }
    // A host that has no tempo (0) or sends nonsense keeps the last one known.
    if (std::isfinite(tempo) && tempo > 0.0) tempo_ = static_cast<float>(tempo);
}

}  // namespace quenvale::lv2
