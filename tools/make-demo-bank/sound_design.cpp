// Small helpers for building programs from code.
#include "sound_design.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/seq/step_seq_ranges.h"
#include "engine/spectrum/generator.h"
#include "params/parameter_catalogue.h"

namespace quenvale::demo {
namespace {

int32_t indexOf(const char* name) {
    const int32_t index = parameterIndex(name);
    if (index < 0) {
        std::fprintf(stderr, "make-demo-bank: no parameter named \"%s\"\n", name);
        std::exit(1);
    }
    return index;
}

}  // namespace

void SoundBuilder::begin(int32_t program, const char* name) {
    program_ = program;
    engine_.setProgramName(program, name);
    engine_.selectProgram(0, program, true);
}

void SoundBuilder::set(const char* name, float value) {
    const int32_t index = indexOf(name);
    const ParameterValue v =
        descriptor(index).isEnumerated() ? makeIntValue(static_cast<int32_t>(value)) : makeFloatValue(value);
    engine_.setParameterValue(0, index, v);
}

void SoundBuilder::modulate(const char* name, int32_t slot, int32_t source, float amount) {
    const std::string stem(name);
    const std::string n = std::to_string(slot);
    engine_.setParameterValue(0, indexOf((stem + " ModSrc" + n).c_str()), makeIntValue(source));
    engine_.setParameterValue(0, indexOf((stem + " ModAmt" + n).c_str()), makeFloatValue(amount));
}

void SoundBuilder::envelope(int32_t number, std::initializer_list<Segment> segments, int32_t sustain) {
    BreakpointCurve curve;
    curve.startValue = 0.0f;
    for (const Segment& s : segments) {
        curve.lengths[curve.segmentCount] = s.length;
        curve.endValues[curve.segmentCount] = s.level;
        curve.shapes[curve.segmentCount] = s.shape;
        ++curve.segmentCount;
    }
    curve.loopStart = sustain;
    curve.loopEnd = sustain;
    engine_.channel().env[number - 1].curve = curve;
}

void SoundBuilder::stepSequencer(int32_t number, int32_t sync, int32_t lengthIndex,
                                 std::initializer_list<StepValue> steps) {
    const std::string stem = "StepSeq" + std::to_string(number);
    set((stem + " Sync").c_str(), static_cast<float>(sync));
    set((stem + " Length").c_str(), static_cast<float>(lengthIndex));
    StepSeqBlock& block = engine_.channel().stepSeq[number - 1];
    int32_t k = 0;
    for (const StepValue& s : steps) {
        block.steps[k].shape = s.shape;
        setStepStart(block, k, s.value);
        ++k;
    }
    recomputeStepRanges(block);
}

Generator& SoundBuilder::generator() {
    return *engine_.channel().generator;
}

void SoundBuilder::store() {
    {
        EditGuard::EditScope scope(engine_.editGuard());
        engine_.generatorChanged();
    }
    engine_.storeProgram(program_);
}

void fillBreakpoint(Modulator& modulator, int32_t index, const std::function<float(int32_t)>& value) {
    SpectrumBreakpoint& bp = modulator.breakpoints[static_cast<size_t>(index)];
    for (int32_t k = 0; k < bp.values.size(); ++k) bp.values[k] = value(k);
    modulator.setBreakpoint(index, bp.distance, bp.level);
    if (index + 1 < modulator.breakpointCount()) {
        const SpectrumBreakpoint& next = modulator.breakpoints[static_cast<size_t>(index + 1)];
        modulator.setBreakpoint(index + 1, next.distance, next.level);
    }
}

void addBreakpoint(Modulator& modulator, float distance, const std::function<float(int32_t)>& value) {
    const int32_t index = modulator.breakpointCount();
    modulator.insertBreakpoint(index, distance, 1.0f, false);
    fillBreakpoint(modulator, index, value);
}

}  // namespace quenvale::demo
