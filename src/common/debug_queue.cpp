// A bounded multi-producer queue of fixed cells (each with a sequence number telling whose turn it is),
// drained by one thread at a time.
#include "common/debug_queue.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace quenvale {

namespace {

constexpr uint32_t kMask = kDebugQueueCells - 1;
static_assert((kDebugQueueCells & kMask) == 0, "cells are indexed with a mask");

struct Cell {
    // Turn of the cell relative to its index: 0 at start, so the array needs no constructor and is
    // ready before any static initialiser could write a line. The absolute turn is stored + index.
    std::atomic<uint32_t> turn{0};
    DebugEntry kind = DebugEntry::kLine;
    char text[kDebugQueueLineSize] = {};
};

constinit Cell gCells[kDebugQueueCells];
constinit std::atomic<uint32_t> gEnqueuePos{0};
constinit std::atomic<uint32_t> gDequeuePos{0};
constinit std::atomic<uint32_t> gDropped{0};
constinit std::atomic<bool> gDraining{false};
thread_local bool tAudioThread = false;

uint32_t turnOf(const Cell& cell, uint32_t index) noexcept {
    return cell.turn.load(std::memory_order_acquire) + index;
}
void setTurn(Cell& cell, uint32_t index, uint32_t turn) noexcept {
    cell.turn.store(turn - index, std::memory_order_release);
}

// Takes the oldest entry into kind and text; false when the queue is empty.
bool dequeue(DebugEntry& kind, char (&text)[kDebugQueueLineSize]) noexcept {
    uint32_t pos = gDequeuePos.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = gCells[pos & kMask];
        const int32_t diff = static_cast<int32_t>(turnOf(cell, pos & kMask) - (pos + 1));
        if (diff == 0) {
            if (gDequeuePos.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                kind = cell.kind;
                std::memcpy(text, cell.text, sizeof text);
                setTurn(cell, pos & kMask, pos + kDebugQueueCells);
                return true;
            }
        } else if (diff < 0) {
            return false;
        } else {
            pos = gDequeuePos.load(std::memory_order_relaxed);
        }
    }
}

}  // namespace

void markAudioThread() noexcept {
    tAudioThread = true;
}

bool onAudioThread() noexcept {
    return tAudioThread;
}

bool queueDebugEntry(DebugEntry kind, const char* text) noexcept {
    uint32_t pos = gEnqueuePos.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = gCells[pos & kMask];
        const int32_t diff = static_cast<int32_t>(turnOf(cell, pos & kMask) - pos);
        if (diff == 0) {
            if (gEnqueuePos.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                cell.kind = kind;
                cell.text[0] = '\0';
                if (text != nullptr) {
                    const size_t length = std::strlen(text);
                    if (length < kDebugQueueLineSize) {
                        std::memcpy(cell.text, text, length + 1);
                    } else {
                        // Cut, keeping the line feed that ends every line.
                        std::memcpy(cell.text, text, kDebugQueueLineSize - 2);
                        cell.text[kDebugQueueLineSize - 2] = '\n';
                        cell.text[kDebugQueueLineSize - 1] = '\0';
                    }
                }
                setTurn(cell, pos & kMask, pos + 1);
                return true;
            }
        } else if (diff < 0) {
            gDropped.fetch_add(1, std::memory_order_relaxed);
            return false;
        } else {
            pos = gEnqueuePos.load(std::memory_order_relaxed);
        }
    }
}

int drainDebugQueue(DebugEntryWriter write) noexcept {
    if (gDraining.exchange(true, std::memory_order_acquire)) return 0;
    int written = 0;
    DebugEntry kind;
    char text[kDebugQueueLineSize];
    while (dequeue(kind, text)) {
        write(kind, text);
        ++written;
    }
    if (const uint32_t dropped = gDropped.exchange(0, std::memory_order_relaxed)) {
        std::snprintf(text, sizeof text, "Quenvale: %u debug lines or beeps from the audio thread were dropped\n",
                      dropped);
        write(DebugEntry::kLine, text);
        ++written;
    }
    gDraining.store(false, std::memory_order_release);
    return written;
}

}  // namespace quenvale
