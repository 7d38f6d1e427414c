// What a host checks of a freshly loaded plug-in: its record and its answers to capability questions.
#pragma once

#include <string>
#include <vector>

#include "plugin_library.h"

namespace quenvale::hostcheck {

// Starts instances from entry and compares the record fields and dispatcher answers with what this
// synthesizer publishes (also that it refuses to start for a host that reports version 0). Returns one
// line per mismatch; empty when everything matches.
std::vector<std::string> checkRecord(host::EntryFunction entry);

}  // namespace quenvale::hostcheck
