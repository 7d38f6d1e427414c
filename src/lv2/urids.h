// The URIDs the plug-in works with, mapped once through the host's urid:map when an instance is made.
#pragma once

#include "lv2/urid/urid.h"

namespace quenvale::lv2 {

struct Urids {
    LV2_URID atomBlank = 0;
    LV2_URID atomObject = 0;
    LV2_URID atomChunk = 0;
    LV2_URID atomInt = 0;
    LV2_URID atomLong = 0;
    LV2_URID atomFloat = 0;
    LV2_URID atomDouble = 0;
    LV2_URID midiEvent = 0;
    LV2_URID timePosition = 0;
    LV2_URID timeBeatsPerMinute = 0;
    LV2_URID stateChunk = 0;
    LV2_URID stateProgram = 0;
    LV2_URID stateProgramRecord = 0;
};

// [ui] Maps every URI of Urids through map.
Urids mapUrids(const LV2_URID_Map& map);

}  // namespace quenvale::lv2
