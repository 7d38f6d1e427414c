// The process-wide note-to-frequency table and the instance count that builds the shared tables.
#pragma once

#include "common/capacity.h"

namespace quenvale {

// noteFrequency[n] = 13.75 × 2^((n − 9) / 12) Hz, so note 69 is 440 Hz. Filled by the first engine.
extern float noteFrequency[kNoteCount];

// [ui] Counts an engine in. The first one of the process fills noteFrequency and sets the rate
// values for 44100 Hz (the component tables are built once per process by their owners).
void acquireEngineTables() noexcept;
// [ui] Counts an engine out.
void releaseEngineTables() noexcept;

}  // namespace quenvale
