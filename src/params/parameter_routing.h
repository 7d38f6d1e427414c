// The one door through which parameter values enter and leave the live Channel: decoding a flat
// index into group, instance and member, storing in native form, and reading back as a value.
//
// Thread: [any]. The host's automation stores from its audio thread, the editor from the
// user-interface thread, while the render loop reads the same fields; every store is a plain write
// of 32-bit fields, nothing allocates or locks.
//
// A failure (unknown index, instance or member) writes one line through reportRoutingFailure,
// beeps, stores nothing and returns false; a failed read returns a value of kind None.
//
// The voice refresh is the caller's: after every setParameter, whatever its outcome, the engine
// refreshes each of its voices on this channel for the index.
#pragma once

#include <cstdint>

#include "params/parameter_value.h"

namespace quenvale {

struct Channel;

// Stores value into the field of parameter index. Float fields and bases take the value read as
// float (a value's slots are never copied; each slot entry has its own index), integer fields,
// slot sources, step-sequencer lengths and effect types take number as int32, "Compressor Mode"
// takes number ≠ 0. A store of a slot's source or amount re-binds the slot at once: channel numbering
// for the "Ch" families, voice numbering for all others (the step sequencers' "Out" slots included).
bool setParameter(Channel& channel, int32_t index, const ParameterValue& value) noexcept;
// Packs the field of parameter index: Float, Int, Modulated (base and both slots whole) or
// ChModulated, as the field is kept.
ParameterValue getParameter(const Channel& channel, int32_t index) noexcept;

// Group access: instance counted from 0; member written as the index of the same member of
// instance 1 (e.g. 288 for "Offset ModSrc2" of any channel LFO). The instance is checked first.
bool setParameterGen(Channel& channel, int32_t instance, int32_t member,
                     const ParameterValue& value) noexcept;
ParameterValue getParameterGen(const Channel& channel, int32_t instance, int32_t member) noexcept;
bool setParameterEnv(Channel& channel, int32_t instance, int32_t member,
                     const ParameterValue& value) noexcept;
ParameterValue getParameterEnv(const Channel& channel, int32_t instance, int32_t member) noexcept;
bool setParameterStepSeq(Channel& channel, int32_t instance, int32_t member,
                         const ParameterValue& value) noexcept;
ParameterValue getParameterStepSeq(const Channel& channel, int32_t instance, int32_t member) noexcept;
bool setParameterLfo(Channel& channel, int32_t instance, int32_t member,
                     const ParameterValue& value) noexcept;
ParameterValue getParameterLfo(const Channel& channel, int32_t instance, int32_t member) noexcept;
bool setParameterChLfo(Channel& channel, int32_t instance, int32_t member,
                       const ParameterValue& value) noexcept;
ParameterValue getParameterChLfo(const Channel& channel, int32_t instance, int32_t member) noexcept;
bool setParameterChFx(Channel& channel, int32_t instance, int32_t member,
                      const ParameterValue& value) noexcept;
ParameterValue getParameterChFx(const Channel& channel, int32_t instance, int32_t member) noexcept;

}  // namespace quenvale
