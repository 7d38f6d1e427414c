// libFuzzer entry: the bank record reader (128 programs and the optional channel state) on arbitrary
// bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "persist/bank_record.h"
#include "persist/byte_reader.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > fuzz::kMaxBankInput) return 0;
    ByteReader reader(data, size);
    BankImage image;
    if (parseBankRecord(reader, image) && image.programs == nullptr) __builtin_trap();
    return 0;
}
