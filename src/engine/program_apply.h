// Making a program the live sound, and storing the live sound into a program.
#pragma once

#include <cstdint>

#include "common/byte_stream.h"

namespace quenvale {

struct BreakpointCurve;
struct Channel;
struct Generator;
struct Program;
struct StepSeqBlock;

// The byte layout of the component records belongs to persistence, which the engine does not
// include; it installs its readers and writers here once. Readers read from the start of the
// stream with the program's version and return false on a malformed record.
struct ProgramStreamCodec {
    bool (*readEnvelope)(const ByteStream& stream, uint32_t version, BreakpointCurve& curve) = nullptr;
    void (*writeEnvelope)(const BreakpointCurve& curve, ByteStream& stream) = nullptr;
    bool (*readStepSeq)(const ByteStream& stream, uint32_t version, StepSeqBlock& block) = nullptr;
    void (*writeStepSeq)(const StepSeqBlock& block, ByteStream& stream) = nullptr;
    bool (*readGenerator)(const ByteStream& stream, uint32_t version, Generator& generator) = nullptr;
    void (*writeGenerator)(const Generator& generator, ByteStream& stream) = nullptr;
};

// [ui] Installs the process-wide codec (null removes it). Without one, component streams are
// neither read nor written: applying sets component defaults, storing leaves the streams empty.
void setProgramStreamCodec(const ProgramStreamCodec* codec) noexcept;

// [ui] Sets values 0 … 382 through the parameter routing in index order, then each envelope, step
// sequencer and the generator from its stream, or to its defaults when the stream is empty or its
// record is damaged. Returns the number of damaged records (0 when all were read). The caller
// refreshes the voices and holds the engine's edit scope (the generator is replaced). Throws only
// std::bad_alloc (the generator is read aside before it replaces the live one).
int32_t applyProgram(const Program& program, Channel& channel);

// [ui] Each value becomes the channel's current value of that parameter; each component stream is
// emptied and the channel's component written into it. Name, macro names and version unchanged.
void storeProgram(Program& program, const Channel& channel);

// [any] The steps and length of an empty stream: 4 steps, every step shaped "Sine" (2), step k
// valued 0 for even k and 1 for odd k, ranges recomputed. Sync and Out are left alone.
void setDefaultStepSeq(StepSeqBlock& block) noexcept;

}  // namespace quenvale
