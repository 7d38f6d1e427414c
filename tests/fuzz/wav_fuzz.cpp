// libFuzzer target: the WAV reader on arbitrary bytes. Refusal is fine; a crash, a sanitizer report,
// a runaway allocation or frames the bytes cannot hold are not.
#include <stdio.h>

#include <cstddef>
#include <cstdint>

#include "resynth/wav_reader.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) return 0;
    WavData wav;
    if (readWavStream(file, wav)) {
        if (wav.left.size() != wav.frames || wav.right.size() != wav.frames) __builtin_trap();
        if (wav.frames * 4 > size) __builtin_trap();
        if (wav.wavSampleRate != 44100) __builtin_trap();
        for (size_t i = 0; i < wav.frames; ++i)
            if (!(wav.left[i] >= -1.0 && wav.left[i] < 1.0 && wav.right[i] >= -1.0 && wav.right[i] < 1.0))
                __builtin_trap();
    }
    fclose(file);
    return 0;
}
