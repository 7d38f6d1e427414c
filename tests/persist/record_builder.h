// Hand-built stored records for the persistence tests, written field by field as each version had them.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/byte_stream.h"
#include "persist/byte_reader.h"
#include "persist/byte_writer.h"
#include "persist/generator_record.h"

namespace quenvale::test {

struct Record {
    ByteStream stream;

    Record& u32(uint32_t v) { return writeU32(stream, v), *this; }
    Record& i32(int32_t v) { return writeI32(stream, v), *this; }
    Record& f32(float v) { return writeF32(stream, v), *this; }
    Record& name17(const char* text) {  // a fixed 17-byte name field
        char field[17] = {};
        std::strncpy(field, text, 16);
        return writeBytes(stream, field, 17), *this;
    }
    Record& text(const std::string& t) {  // 32-bit length and the bytes
        u32(static_cast<uint32_t>(t.size()));
        return writeBytes(stream, t.data(), t.size()), *this;
    }
    Record& sized(const ByteStream& other) {  // a component entry: byte count and bytes
        u32(other.size());
        return writeBytes(stream, other.bytes.data(), other.bytes.size()), *this;
    }
    const std::vector<uint8_t>& bytes() const { return stream.bytes; }
    ByteReader reader() const { return ByteReader(stream.bytes.data(), stream.bytes.size()); }
};

// The current record of a generator: the byte-exact picture that round trips and refusals compare.
inline std::vector<uint8_t> recordOf(const Generator& g) {
    ByteStream s;
    writeGenerator(g, s);
    return s.bytes;
}

inline std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("quenvale_") + name)).string();
}

// A modulated value as version v stored it: base, slot count, (source, [reserved], amount) × 2.
inline void oldModulatedValue(Record& r, uint32_t v, float base, int32_t source1 = 0, float amount1 = 0.0f,
                              uint32_t slotCount = 2) {
    r.f32(base).u32(slotCount);
    for (int slot = 0; slot < 2; ++slot) {
        r.i32(slot == 0 ? source1 : 0);
        if (v < 0x10018) r.u32(0xDEADBEEF);
        r.f32(slot == 0 ? amount1 : 0.0f);
    }
}

// Fields a hand-built modulator record carries; defaults make a plain one-breakpoint modulator.
struct OldModulator {
    std::string name = "Amp";
    float gain = 1.0f, gainAmount = 0.0f;
    int32_t gainSource = 0, filterMode = 0;
    uint32_t gainSlotCount = 2;
    std::vector<float> keyX = {0.0f, 1.0f}, keyLevel = {1.0f, 1.0f};
    std::vector<float> breakpointDistances = {0.5f};
    float firstValue = 0.75f;  // value of partial 0 in every breakpoint
    struct Layer {
        uint32_t enabled, mode;
    };
    std::vector<Layer> layers;  // each a plain modulator named "Child"
};

inline void oldModulator(Record& r, uint32_t v, int32_t partials, const OldModulator& m) {
    r.text(m.name).u32(1);  // "Shift: Repeat Border"
    oldModulatedValue(r, v, m.gain, m.gainSource, m.gainAmount, m.gainSlotCount);
    oldModulatedValue(r, v, 0.0f);  // Offset
    oldModulatedValue(r, v, 0.0f);  // Shift
    r.i32(-1).i32(-1).u32(0).u32(0);  // loop start, loop end, dynamic mode, additive
    for (float f : {1.0f, 0.1f, 0.0f, 0.0f, 0.25f, 1.0f}) r.f32(f);
    if (v >= 0x10007) r.i32(m.filterMode);
    for (float base : {0.5f, 0.5f, 1.0f})  // cutoff, resonance, dry/wet
        if (v >= 0x10007) oldModulatedValue(r, v, base);
    if (v >= 0x10008) {
        r.i32(static_cast<int32_t>(m.keyX.size()));
        for (size_t i = 0; i < m.keyX.size(); ++i) {
            r.f32(m.keyX[i]).f32(m.keyLevel[i]);
            if (v >= 0x10009) r.f32(0.5f);
        }
    }
    r.i32(static_cast<int32_t>(m.breakpointDistances.size()));
    for (float d : m.breakpointDistances) {
        r.f32(d).f32(1.0f);
        for (int32_t k = 0; k < partials; ++k) r.f32(k == 0 ? m.firstValue : 0.0f);
    }
    r.i32(static_cast<int32_t>(m.layers.size()));
    for (const OldModulator::Layer& layer : m.layers) {
        if (v >= 0x10006) r.u32(layer.enabled);
        r.u32(layer.mode);
        OldModulator child;
        child.name = "Child";
        oldModulator(r, v, partials, child);
    }
}

// A generator record as version v stored it: four modulators (selector only from 0x10013).
inline void oldGenerator(Record& r, uint32_t v, int32_t selector, const OldModulator& amp) {
    const int32_t partials = v >= 0x10013 ? 64 << selector : 128;
    if (v >= 0x10013) r.i32(selector);
    oldModulator(r, v, partials, amp);
    for (const char* name : {"Detune", "Phase", "Pan"}) {
        OldModulator m;
        m.name = name;
        oldModulator(r, v, partials, m);
    }
}

}  // namespace quenvale::test
