// Host- and editor-level parameter access on a Channel: normalised values, whole values, display
// texts and the editor's labels. The engine wraps these, adding its parameterChangedCallback after a
// store and refreshing its voices after every store, whatever the outcome.
#pragma once

#include <cstdint>

#include "common/capacity.h"
#include "params/parameter_conversion.h"
#include "params/parameter_value.h"

namespace quenvale {

struct Channel;

// The six macro names of a program, 16 characters and a terminator each.
using MacroNames = char[kMacroCount][kNameFieldSize];

// [any] The host's store of a normalised x: valueFromNormalized, then setParameter. A non-finite x is
// refused ("setParameterNormalized() called with invalid value (eParam: %d)\n" and the beep) and
// stores nothing; an index outside 0 … 382 reaches setParameter's unknown-index report. True when
// stored.
bool setParameterNormalized(Channel& channel, int32_t index, float x) noexcept;
// [any] The host's read: getParameter, then normalizedFromValue (0 for an index outside 0 … 382,
// after the unknown-index report).
float getParameterNormalized(const Channel& channel, int32_t index) noexcept;

// [any] The editor's store and read of whole values (setParameter and getParameter).
bool setParameterValue(Channel& channel, int32_t index, const ParameterValue& value) noexcept;
ParameterValue getParameterValue(const Channel& channel, int32_t index) noexcept;

// [any] getParameter, then displayText into the caller's buffer (the engine owns one); returns its text.
const char* parameterDisplayText(const Channel& channel, int32_t index, DisplayTextBuffer& buffer) noexcept;

// [ui] The editor's label of a control: for "MacroParam1" … "MacroParam6" (indices 2 … 7) the
// current program's macro name, otherwise the descriptor's label; empty outside 0 … 382.
const char* parameterLabel(int32_t index, const MacroNames& macroNames) noexcept;
// [ui] For indices 2 … 7, copies at most 16 characters of text into that macro name and terminates
// it; any other index, or a null text, changes nothing.
void setParameterLabel(int32_t index, const char* text, MacroNames& macroNames) noexcept;

}  // namespace quenvale
