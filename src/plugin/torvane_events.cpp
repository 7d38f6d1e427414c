// MIDI event delivery: the host's event list, in batches, to the engine.
#include <algorithm>

#include "common/debug_output.h"
#include "plugin/torvane_interface.h"

namespace quenvale {

VstInt32 TorvaneInterface::processEvents(VstEvents* events) {
    if (events == nullptr) return 1;
    VstInt32 remaining = std::max<VstInt32>(events->numEvents, 0);
    VstEvent* const* next = events->events;
    for (;;) {
        const VstInt32 batch = std::min<VstInt32>(remaining, kMidiBatchSize);
        if (batch == 0) return 1;
        int32_t count = 0;
        for (VstInt32 i = 0; i < batch; ++i) {
            const VstEvent* event = next[i];
            if (event == nullptr || event->type != kVstMidiType) continue;
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            MidiEntry& entry = midiEntries_[count++];
            entry.status = static_cast<uint8_t>(midi->midiData[0]);
            entry.data1 = static_cast<uint8_t>(midi->midiData[1]);
            entry.data2 = static_cast<uint8_t>(midi->midiData[2]);
            entry.deltaFrames = midi->deltaFrames;
        }
        // Batches without a MIDI event still reach the engine, with a count of 0.
        deliverMidi(count);
        remaining -= batch;
        next += batch;
    }
}

void TorvaneInterface::reportDroppedMidi() noexcept {
    const uint32_t dropped = engine_.droppedMidiCount();
    const uint32_t before = reportedDroppedMidi_.exchange(dropped);
    if (dropped != before)
        debugPrintf("MIDI queue full during a sound change: %u events dropped\n", dropped - before);
}

void TorvaneInterface::deliverMidi(int32_t count) noexcept {
    if (midiObserver_ != nullptr) midiObserver_(midiEntries_, count, midiObserverContext_);
    engine_.processMidi(midiEntries_, count);
}

}  // namespace quenvale
