// The stored form of an envelope's curve.
#include "persist/envelope_record.h"

#include "common/capacity.h"
#include "engine/env/default_envelope.h"
#include "persist/byte_writer.h"

namespace quenvale {

void writeEnvelopeRecord(const BreakpointCurve& curve, ByteStream& stream) {
    const int32_t count = curve.segmentCount < 0                   ? 0
                          : curve.segmentCount > kMaxCurveSegments ? kMaxCurveSegments
                                                                   : curve.segmentCount;
    writeI32(stream, count);
    writeI32(stream, curve.loopStart);
    writeI32(stream, curve.loopEnd);
    for (int32_t s = 0; s < count; ++s) {
        writeF32(stream, curve.lengths[s]);
        writeF32(stream, curve.endValues[s]);
        writeF32(stream, curve.shapes[s]);
    }
}

bool readEnvelopeRecord(ByteReader& reader, BreakpointCurve& curve) noexcept {
    BreakpointCurve read = defaultEnvelopeCurve();
    read.startValue = 0.0f;
    if (!reader.readI32(read.segmentCount) || !reader.readI32(read.loopStart) ||
        !reader.readI32(read.loopEnd))
        return false;
    if (read.segmentCount < 0 || read.segmentCount > kMaxCurveSegments) return false;
    for (int32_t s = 0; s < read.segmentCount; ++s) {
        if (!reader.readF32(read.lengths[s]) || !reader.readF32(read.endValues[s]) ||
            !reader.readF32(read.shapes[s]))
            return false;
    }
    curve = read;
    return true;
}

}  // namespace quenvale
