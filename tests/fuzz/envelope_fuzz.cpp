// libFuzzer entry: the envelope record reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "engine/curve/breakpoint_curve.h"
#include "fuzz_input.h"
#include "persist/byte_reader.h"
#include "persist/envelope_record.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > fuzz::kMaxRecordInput) return 0;
    ByteReader reader(data, size);
    BreakpointCurve curve;
    if (readEnvelopeRecord(reader, curve) && (curve.segmentCount < 0 || curve.segmentCount > 32))
        __builtin_trap();
    return 0;
}
