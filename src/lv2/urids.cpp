// URID mapping of the plug-in's vocabulary.
#include "lv2/urids.h"

#include "lv2/atom/atom.h"
#include "lv2/lv2_uris.h"
#include "lv2/midi/midi.h"
#include "lv2/time/time.h"

namespace quenvale::lv2 {

Urids mapUrids(const LV2_URID_Map& map) {
    const auto id = [&map](const char* uri) { return map.map(map.handle, uri); };
    Urids u;
    u.atomBlank = id(LV2_ATOM__Blank);
    u.atomObject = id(LV2_ATOM__Object);
    u.atomChunk = id(LV2_ATOM__Chunk);
    u.atomInt = id(LV2_ATOM__Int);
    u.atomLong = id(LV2_ATOM__Long);
    u.atomFloat = id(LV2_ATOM__Float);
    u.atomDouble = id(LV2_ATOM__Double);
    u.midiEvent = id(LV2_MIDI__MidiEvent);
    u.timePosition = id(LV2_TIME__Position);
    u.timeBeatsPerMinute = id(LV2_TIME__beatsPerMinute);
    u.stateChunk = id(kStateChunkUri);
    u.stateProgram = id(kStateProgramUri);
    u.stateProgramRecord = id(kStateProgramRecordUri);
    return u;
}

}  // namespace quenvale::lv2
