// Tempo map: piecewise-constant seconds per tick, 120 BPM until the first tempo change.
#include "tempo_map.h"

#include <algorithm>
#include <cmath>

namespace quenvale::render {

TempoMap::TempoMap(const MidiSequence& sequence) {
    const uint16_t division = sequence.division;
    if ((division & 0x8000u) != 0) {
        // Time code based: frames per second (29 stands for 29.97) times ticks per frame; tempo is
        // irrelevant.
        const int framesPerSecond = -static_cast<int8_t>(division >> 8);
        const double fps = framesPerSecond == 29 ? 29.97 : static_cast<double>(framesPerSecond);
        const double ticksPerSecond = fps * static_cast<double>(division & 0xFFu);
        segments_.push_back({0, 0.0, ticksPerSecond > 0.0 ? 1.0 / ticksPerSecond : 0.0});
        return;
    }
    const double ticksPerQuarter = division > 0 ? static_cast<double>(division) : 1.0;
    const auto perTick = [&](uint32_t microseconds) { return microseconds * 1e-6 / ticksPerQuarter; };
    segments_.push_back({0, 0.0, perTick(500000)});
    for (const TempoChange& change : sequence.tempoChanges) {
        Segment& last = segments_.back();
        if (change.tick == last.tick) {
            last.secondsPerTick = perTick(change.microsecondsPerQuarter);
            continue;
        }
        const double seconds =
            last.seconds + static_cast<double>(change.tick - last.tick) * last.secondsPerTick;
        segments_.push_back({change.tick, seconds, perTick(change.microsecondsPerQuarter)});
    }
}

double TempoMap::secondsAt(uint64_t tick) const noexcept {
    const auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                        [](uint64_t t, const Segment& s) { return t < s.tick; });
    const Segment& segment = *(after - 1);
    return segment.seconds + static_cast<double>(tick - segment.tick) * segment.secondsPerTick;
}

int64_t TempoMap::frameAt(uint64_t tick, double sampleRate) const noexcept {
    return static_cast<int64_t>(std::llround(secondsAt(tick) * sampleRate));
}

}  // namespace quenvale::render
