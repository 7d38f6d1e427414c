// The note-frequency table and the engine instance count.
#include "engine/note_frequency.h"

#include <cmath>
#include <mutex>

#include "engine/rate_values.h"

namespace quenvale {
namespace {

std::mutex& tableMutex() noexcept {
    static std::mutex m;
    return m;
}
int engineInstances = 0;

}  // namespace

float noteFrequency[kNoteCount] = {};

void acquireEngineTables() noexcept {
    std::lock_guard<std::mutex> lock(tableMutex());
    if (engineInstances++ == 0) {
        for (int n = 0; n < kNoteCount; ++n)
            noteFrequency[n] = static_cast<float>(13.75 * std::pow(2.0, (n - 9) / 12.0));
        setRateValues(44100.0f);
    }
}

void releaseEngineTables() noexcept {
    std::lock_guard<std::mutex> lock(tableMutex());
    if (engineInstances > 0) --engineInstances;
}

}  // namespace quenvale
