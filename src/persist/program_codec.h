// Hands persistence's component-record readers and writers to the engine's program code.
#pragma once

namespace quenvale {

// [ui] Installs the codec (once per process; later calls do nothing). Every persistence entry point
// that touches an engine calls it; a plug-in that links persistence has it installed at load.
void installProgramStreamCodec() noexcept;

}  // namespace quenvale
