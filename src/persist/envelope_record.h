// The stored form of an envelope's curve: segment count, loop indices and the segments.
#pragma once

#include <cstdint>

#include "common/byte_stream.h"
#include "engine/curve/breakpoint_curve.h"
#include "persist/byte_reader.h"

namespace quenvale {

// [ui] Segment count, loop start, loop end, then length, end value and shape of every segment. The
// start value is not stored (an envelope starts from 0).
void writeEnvelopeRecord(const BreakpointCurve& curve, ByteStream& stream);

// [ui] Reads one record into curve, which is changed only on success. A segment count outside
// 0 … 32 or a record that ends early is refused. Loop indices are kept as stored: the envelope
// treats indices that no segment reaches as "no loop". The record is the same in every version.
bool readEnvelopeRecord(ByteReader& reader, BreakpointCurve& curve) noexcept;

}  // namespace quenvale
