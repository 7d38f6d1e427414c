// The stored form of one program: version, name, parameter values, macro names, component records.
#pragma once

#include "common/byte_stream.h"
#include "engine/program.h"
#include "persist/byte_reader.h"

namespace quenvale {

// Bytes of a current program record whose component streams are all empty:
// 4 + 17 + 383 × 4 + 6 × 17 + 11 × 4.
inline constexpr size_t kEmptyProgramRecordSize = 1699;

// [ui] Writes the program in the current layout at the stream's cursor.
void writeProgram(const Program& program, ByteStream& stream);

// [ui] Reads one program record of any readable version into program, upgrading it to the current
// version: absent parameters take their catalogue defaults, source numbers the version could not
// name become 0, older component records are rewritten in the current layout. All or nothing:
// program is changed only when the whole record, its component records included, was read. Refused:
// unreadable versions, truncated records, component records that cannot be read.
bool readProgram(Program& program, ByteReader& reader);

}  // namespace quenvale
