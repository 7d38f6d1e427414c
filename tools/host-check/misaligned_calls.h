// 32-bit Windows hosts promise only a 4-byte aligned stack: an entry of the plug-in that assumed 16 bytes
// (an aligned vector spill in an unaligned frame) would fault in such a host, though never in ours.
#pragma once

#include <string>
#include <vector>

#include "plugin_library.h"

namespace quenvale::hostcheck {

// True where the check below means something: 32-bit x86, whose calling convention lets a caller's
// stack be aligned to 4 bytes only. (64-bit code on every system is always given 16.)
bool misalignedCallsApply() noexcept;

// Plays a held chord through entry with every call into the plug-in (VSTPluginMain, the dispatcher,
// setParameter, processReplacing) made with the stack 4, 8 and 12 bytes off 16-byte alignment, and once
// aligned: each run must start, render the same finite, audible samples as the aligned one, and hand
// back its chunk. A plug-in that assumes alignment crashes the process instead. Returns one line per
// problem; empty when all passed, or when the check does not apply.
std::vector<std::string> checkMisalignedCalls(host::EntryFunction entry);

}  // namespace quenvale::hostcheck
