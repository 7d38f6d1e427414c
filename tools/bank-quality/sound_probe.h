// Plays a program of an engine as a listener would hear it: notes held, released, and the tail rendered
// until it has died away. Shared by the quality tool and the sound-sheet tool.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/synth_engine.h"

namespace quenvale::probe {

// −90 dBFS: the level below which a note counts as gone.
inline constexpr float kSilence = 3.1622776e-5f;

struct Take {
    std::vector<float> left, right;
    int64_t releaseFrame = 0;   // the frame of the note-offs
    int64_t lastAudible = -1;   // the last frame at or above kSilence, −1 if none
    double holdSeconds = 0.0;   // wall-clock time spent rendering the held part
    bool finished = false;      // voices ended and the output stayed silent for a second
};

// [ui] Selects `program` (with its stored values; the effect lines empty and the runtime's random
// generator seeded with 1, so two takes of the same settings are the same), plays `notes` at `velocity` for `hold` seconds,
// releases them and renders at most `maxTail` seconds more, stopping early once every voice has ended
// and the output has stayed below kSilence for one second.
// `controls` are (parameter index, value) pairs set after the selection (macros), `wheel` the mod wheel
// position 0 … 127.
struct Controls {
    std::vector<std::pair<int32_t, float>> parameters;
    int wheel = 0;
};
Take play(SynthEngine& engine, int32_t program, const std::vector<int>& notes, int velocity, float hold,
          float maxTail, const Controls& controls = {});

// Level of the difference of two takes relative to the level of the first (dB, over the shorter length).
double differenceDb(const Take& a, const Take& b);
// The same for their magnitude spectrograms (each channel, 2048-point frames every 1024 samples): blind
// to phase, so sounds that never play the same twice (free-running LFOs, random movement) compare too.
double spectrogramDifferenceDb(const Take& a, const Take& b);

// Level helpers on a take (both channels).
double rmsDb(const Take& take, int64_t from, int64_t to);
double peakDb(const Take& take);
double dcDb(const Take& take);
bool allFinite(const Take& take);
// Spectral centroid (Hz) of the left channel in the window [from, from + 4096).
double centroidHz(const Take& take, int64_t from, double sampleRate);

}  // namespace quenvale::probe
