// The stored form of the generator and its modulator trees.
#include "persist/generator_record.h"

#include <memory>
#include <utility>

#include "common/capacity.h"
#include "engine/spectrum/spectrum_modes.h"
#include "engine/spectrum/spectrum_property.h"
#include "persist/byte_writer.h"
#include "persist/format_versions.h"

namespace quenvale {
namespace {

// The fewest bytes a layer (its mode and a modulator record with no breakpoints and no layers) can
// take in any version: counts are checked against it before anything is made for them.
constexpr size_t kMinLayerBytes = 4 + 4 + 4 + 3 * 20 + 2 * 4 + 2 * 4 + 6 * 4 + 4 + 4;
constexpr int32_t kMaxKeyMappingPoints = kMaxCurveSegments + 1;
constexpr float kStraightShape = 0.5f;

// Clamped to 0 … 1; not-a-number reads as 0.
float clampUnit(float x) noexcept {
    return x > 0.0f ? (x < 1.0f ? x : 1.0f) : 0.0f;
}

void writeKeyMapping(const BreakpointCurve& curve, ByteStream& stream) {
    const int32_t segments = curve.segmentCount < 0                   ? 0
                             : curve.segmentCount > kMaxCurveSegments ? kMaxCurveSegments
                                                                      : curve.segmentCount;
    writeI32(stream, segments + 1);
    writeF32(stream, 0.0f);
    writeF32(stream, curve.startValue);
    writeF32(stream, kStraightShape);
    float x = 0.0f;
    for (int32_t s = 0; s < segments; ++s) {
        x += curve.lengths[s];
        writeF32(stream, x);
        writeF32(stream, curve.endValues[s]);
        writeF32(stream, curve.shapes[s]);
    }
}

bool readKeyMapping(BreakpointCurve& curve, ByteReader& reader, uint32_t version) noexcept {
    int32_t points = 0;
    if (!reader.readI32(points)) return false;
    const bool withShape = version >= kVersionKeyMappingShape;
    if (points < 0 || points > kMaxKeyMappingPoints || !reader.fits(points, withShape ? 12 : 8)) return false;
    BreakpointCurve read = curve;
    read.segmentCount = points > 0 ? points - 1 : 0;
    float previousX = 0.0f;
    for (int32_t i = 0; i < points; ++i) {
        float x = 0.0f, level = 0.0f, shape = kStraightShape;
        if (!reader.readF32(x) || !reader.readF32(level) || (withShape && !reader.readF32(shape)))
            return false;
        x = clampUnit(x);
        if (i == 0) {
            read.startValue = level;
        } else {
            read.lengths[i - 1] = x - previousX;
            read.endValues[i - 1] = level;
            read.shapes[i - 1] = shape;
        }
        previousX = x;
    }
    curve = read;
    return true;
}

bool readBreakpoints(Modulator& modulator, ByteReader& reader, int32_t partialCount) {
    int32_t count = 0;
    if (!reader.readI32(count)) return false;
    const size_t recordBytes = 8 + 4 * static_cast<size_t>(partialCount);
    if (!reader.fits(count, recordBytes)) return false;
    std::vector<SpectrumBreakpoint> read;
    read.reserve(static_cast<size_t>(count));
    for (int32_t b = 0; b < count; ++b) {
        float distance = 0.0f, level = 0.0f;
        if (!reader.readF32(distance) || !reader.readF32(level)) return false;
        SpectrumBreakpoint& bp = read.emplace_back(b == 0 ? 0.0f : distance, level);
        for (int32_t k = 0; k < partialCount; ++k)
            if (!reader.readF32(bp.values[k])) return false;
    }
    for (size_t b = 0; b < read.size(); ++b)
        updateSlopes(read[b], b + 1 < read.size() ? &read[b + 1] : nullptr);
    modulator.breakpoints = std::move(read);
    return true;
}

bool readLayers(Modulator& modulator, ByteReader& reader, uint32_t version, int32_t partialCount,
                int32_t depth) {
    int32_t count = 0;
    if (!reader.readI32(count)) return false;
    if (!reader.fits(count, kMinLayerBytes)) return false;
    if (count > 0 && depth >= kMaxLayerDepth) return false;
    modulator.removeAllChildren();
    for (int32_t i = 0; i < count; ++i) {
        bool enabled = true;
        uint32_t mode = 0;
        if (version >= kVersionLayerEnabled && !reader.readFlag(enabled)) return false;
        if (!reader.readU32(mode)) return false;
        Modulator& child = modulator.addChild("Modulator", static_cast<int32_t>(mode), enabled);
        child.setPartialCount(partialCount);
        if (!readModulator(child, reader, version, partialCount, depth + 1)) return false;
    }
    return true;
}

}  // namespace

void writeModulatedValue(const ModParam& value, ByteStream& stream) {
    writeF32(stream, value.base);
    writeU32(stream, 2);
    for (const ModSlot& slot : value.slots) {
        writeI32(stream, slot.source);
        writeF32(stream, slot.amount);
    }
}

bool readModulatedValue(ModParam& value, ByteReader& reader, uint32_t version) noexcept {
    ModParam read;
    uint32_t slotCount = 0;
    if (!reader.readF32(read.base) || !reader.readU32(slotCount) || slotCount != 2) return false;
    for (ModSlot& slot : read.slots) {
        if (!reader.readI32(slot.source)) return false;
        if (version < kVersionPlainSlots && !reader.skip(4)) return false;
        if (!reader.readF32(slot.amount)) return false;
        slot.channelValue = nullptr;
        slot.voiceOutput = -1;
        slot.stale = true;
    }
    value = read;
    return true;
}

void writeModulator(const Modulator& m, ByteStream& stream, int32_t partialCount) {
    writeU32(stream, static_cast<uint32_t>(m.name.size()));
    writeBytes(stream, m.name.data(), m.name.size());
    writeFlag(stream, m.shiftRepeatBorder);
    writeModulatedValue(m.gain, stream);
    writeModulatedValue(m.offset, stream);
    writeModulatedValue(m.shift, stream);
    writeI32(stream, m.loopStart);
    writeI32(stream, m.loopEnd);
    writeI32(stream, m.dynamicMode);
    writeFlag(stream, m.additive);
    writeF32(stream, m.dynamicFrequency);
    writeF32(stream, m.partialFreqScale);
    writeF32(stream, m.dynamicPhase);
    writeF32(stream, m.partialPhaseOffset);
    writeF32(stream, m.dynamicAmount);
    writeF32(stream, m.randomPhaseOffset);
    writeI32(stream, m.filterMode);
    writeModulatedValue(m.cutoff, stream);
    writeModulatedValue(m.resonance, stream);
    writeModulatedValue(m.dryWet, stream);
    writeKeyMapping(m.keyMapping, stream);
    writeI32(stream, m.breakpointCount());
    for (const SpectrumBreakpoint& bp : m.breakpoints) {
        writeF32(stream, bp.distance);
        writeF32(stream, bp.level);
        const int32_t stored = partialCount < bp.values.size() ? partialCount : bp.values.size();
        for (int32_t k = 0; k < stored; ++k) writeF32(stream, bp.values[k]);
        for (int32_t k = stored; k < partialCount; ++k) writeF32(stream, 0.0f);
    }
    writeI32(stream, m.childCount());
    for (const ModulatorLink& link : m.children) {
        writeFlag(stream, link.enabled);
        writeI32(stream, link.mode);
        if (link.child) {
            writeModulator(*link.child, stream, partialCount);
        } else {
            writeModulator(Modulator(partialCount), stream, partialCount);
        }
    }
}

bool readModulator(Modulator& m, ByteReader& reader, uint32_t version, int32_t partialCount, int32_t depth) {
    uint32_t nameLength = 0;
    if (!reader.readU32(nameLength)) return false;
    const uint8_t* name = reader.take(nameLength);
    if (name == nullptr) return false;
    m.name.assign(reinterpret_cast<const char*>(name), nameLength);
    if (!reader.readFlag(m.shiftRepeatBorder)) return false;
    if (!readModulatedValue(m.gain, reader, version) || !readModulatedValue(m.offset, reader, version) ||
        !readModulatedValue(m.shift, reader, version))
        return false;
    bool additive = false;
    if (!reader.readI32(m.loopStart) || !reader.readI32(m.loopEnd) || !reader.readI32(m.dynamicMode) ||
        !reader.readFlag(additive))
        return false;
    m.additive = additive;
    if (!reader.readF32(m.dynamicFrequency) || !reader.readF32(m.partialFreqScale) ||
        !reader.readF32(m.dynamicPhase) || !reader.readF32(m.partialPhaseOffset) ||
        !reader.readF32(m.dynamicAmount) || !reader.readF32(m.randomPhaseOffset))
        return false;
    if (version >= kVersionFilter) {
        int32_t filterMode = 0;
        if (!reader.readI32(filterMode)) return false;
        m.filterMode = (filterMode >= 0 && filterMode < kFilterModeCount) ? filterMode : kFilterNone;
        if (!readModulatedValue(m.cutoff, reader, version) ||
            !readModulatedValue(m.resonance, reader, version) ||
            !readModulatedValue(m.dryWet, reader, version))
            return false;
    }
    if (version >= kVersionKeyMapping && !readKeyMapping(m.keyMapping, reader, version)) return false;
    if (!readBreakpoints(m, reader, partialCount)) return false;
    return readLayers(m, reader, version, partialCount, depth);
}

void writeGenerator(const Generator& generator, ByteStream& stream) {
    const int32_t selector = generator.partialCountIndex();
    const int32_t partialCount = selector >= 0 ? generator.partialCount : kDefaultPartialCount;
    writeI32(stream, selector >= 0 ? selector : selectorForPartialCount(kDefaultPartialCount));
    for (const Modulator& m : generator.modulators) writeModulator(m, stream, partialCount);
}

bool readGenerator(Generator& generator, ByteReader& reader, uint32_t version) {
    int32_t selector = selectorForPartialCount(kDefaultPartialCount);
    if (version >= kVersionPartialSelector && !reader.readI32(selector)) return false;
    auto read = std::make_unique<Generator>();
    if (!read->setPartialCountIndex(selector)) return false;
    for (Modulator& m : read->modulators)
        if (!readModulator(m, reader, version, read->partialCount)) return false;
    for (int32_t p = 0; p < kSpectrumPropertyCount; ++p)
        read->modulators[p].randomPhaseCurve.swap(generator.modulators[p].randomPhaseCurve);
    generator = std::move(*read);
    return true;
}

}  // namespace quenvale
