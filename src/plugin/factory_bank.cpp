// Loading the embedded factory bank into a new instance's engine.
#include "plugin/factory_bank.h"

#include "persist/bank_io.h"
#include "persist/byte_reader.h"

namespace quenvale {

bool loadFactoryBank(SynthEngine& engine) {
    ByteReader reader(kFactoryBankBytes, kFactoryBankBytesSize);
    return readBank(engine, reader, false);
}

}  // namespace quenvale
