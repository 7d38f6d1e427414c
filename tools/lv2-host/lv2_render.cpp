// The render loop of the LV2 host: events scheduled to sample frames, one run per block.
#include "lv2_render.h"

#include <algorithm>
#include <cmath>

#include "tempo_map.h"

namespace quenvale::lv2host {

void renderSequence(Lv2Instance& instance, const render::MidiSequence& sequence,
                    const RenderSettings& settings, std::vector<float>& left, std::vector<float>& right) {
    const render::TempoMap tempo(sequence);
    const int64_t total = tempo.frameAt(sequence.endTick, settings.sampleRate) +
                          static_cast<int64_t>(std::llround(settings.tailSeconds * settings.sampleRate));
    left.assign(static_cast<size_t>(total), 0.0f);
    right.assign(static_cast<size_t>(total), 0.0f);
    instance.sendTempo(settings.tempo);
    std::vector<MidiEvent> block;
    size_t next = 0;
    for (int64_t start = 0; start < total; start += settings.blockSize) {
        const auto frames = static_cast<uint32_t>(std::min<int64_t>(settings.blockSize, total - start));
        block.clear();
        while (next < sequence.events.size()) {
            const render::MidiFileEvent& e = sequence.events[next];
            const int64_t frame = tempo.frameAt(e.tick, settings.sampleRate);
            if (frame >= start + frames) break;
            MidiEvent event;
            event.frame =
                settings.eventsAtBlockStart ? 0 : static_cast<uint32_t>(std::max<int64_t>(frame - start, 0));
            std::copy(e.bytes, e.bytes + 3, event.bytes);
            event.size = e.size;
            block.push_back(event);
            ++next;
        }
        instance.run(frames, block, left.data() + start, right.data() + start);
    }
}

}  // namespace quenvale::lv2host
