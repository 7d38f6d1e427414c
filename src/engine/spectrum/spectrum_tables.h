// Builds the process-wide tables of the spectrum modulators ahead of the first note.
#pragma once

namespace quenvale {

// [ui] Builds the sine and random movement tables and the filter templates if not yet built, so that
// the audio thread never pays for their construction. Called by every new modulator; cheap afterwards.
void buildSpectrumTables();

}  // namespace quenvale
