// Host chunks: the whole bank and the live channel state, through chunkBuffer.
#include <cstdint>
#include <new>

#include "common/message_box.h"
#include "plugin/bank_chunk.h"
#include "plugin/torvane_interface.h"

namespace quenvale {

namespace {
constexpr const char* kChunkTitle = "Quenvale";
}

VstIntPtr TorvaneInterface::getChunk(void* ptr) {
    std::lock_guard<std::mutex> lock(chunkMutex_);
    bool saved = false;
    try {
        saved = ptr != nullptr && writeBankChunk(engine_, chunkBuffer_) && !chunkBuffer_.empty();
    } catch (const std::bad_alloc&) {
        saved = false;
    }
    if (!saved) {
        showMessageBox("Chunk could not be saved !", kChunkTitle, kIconWarning);
        return 0;
    }
    *static_cast<void**>(ptr) = chunkBuffer_.data();
    return static_cast<VstIntPtr>(chunkBuffer_.size());
}

VstIntPtr TorvaneInterface::setChunk(void* ptr, VstIntPtr byteCount) {
    std::unique_lock<std::mutex> lock(chunkMutex_);
    bool loaded = false;
    // Shorter than the header, or beyond the format's 32-bit sizes: refused before a byte is read.
    if (ptr != nullptr && byteCount >= static_cast<VstIntPtr>(kChunkHeaderSize) &&
        static_cast<uint64_t>(byteCount) <= 0x7FFFFFFFu) {
        try {
            // Copied through a fresh buffer: a host may hand back the very bytes effGetChunk lent it.
            const auto* bytes = static_cast<const uint8_t*>(ptr);
            std::vector<uint8_t> incoming(bytes, bytes + byteCount);
            chunkBuffer_.swap(incoming);
            loaded = readBankChunk(engine_, chunkBuffer_.data(), chunkBuffer_.size());
        } catch (const std::bad_alloc&) {
            loaded = false;
        }
    }
    lock.unlock();
    if (!loaded) {
        showMessageBox("Chunk could not be loaded !", kChunkTitle, kIconWarning);
        return 0;
    }
    editor_.refreshAll();
    chunkJustLoaded_.store(true);
    return 1;
}

}  // namespace quenvale
