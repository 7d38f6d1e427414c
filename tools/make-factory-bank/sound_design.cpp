// Builder of factory programs from code.
#include "sound_design.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/seq/step_seq_ranges.h"
#include "engine/spectrum/generator.h"
#include "params/parameter_catalogue.h"

namespace quenvale::factory {
namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "make-factory-bank: %s\n", what.c_str());
    std::exit(1);
}

int32_t indexOf(const std::string& name) {
    const int32_t index = parameterIndex(name.c_str());
    if (index < 0) fail("no parameter named \"" + name + "\"");
    return index;
}

int32_t intValue(SynthEngine& engine, int32_t index) {
    return engine.getParameterValue(0, index).numberAsInt();
}

}  // namespace

void SoundBuilder::begin(const char* name, const char* category) {
    ++program_;
    if (program_ >= kProgramCount) fail("more sounds than programs");
    engine_.setProgramName(program_, name);
    engine_.selectProgram(0, program_, true);
    SoundInfo sound;
    sound.program = program_;
    sound.name = name;
    sound.category = category;
    infos_.push_back(sound);
}

void SoundBuilder::set(const char* name, float value) {
    const int32_t index = indexOf(name);
    const ParameterValue v =
        descriptor(index).isEnumerated() ? makeIntValue(static_cast<int32_t>(value)) : makeFloatValue(value);
    engine_.setParameterValue(0, index, v);
}

float SoundBuilder::get(const char* name) {
    return valueAsFloat(engine_.getParameterValue(0, indexOf(name)));
}

void SoundBuilder::modulate(const char* name, int32_t source, float amount) {
    const std::string stem(name);
    for (const char* slot : {"1", "2"}) {
        const int32_t src = indexOf(stem + " ModSrc" + slot);
        if (intValue(engine_, src) != 0) continue;
        engine_.setParameterValue(0, src, makeIntValue(source));
        engine_.setParameterValue(0, indexOf(stem + " ModAmt" + slot), makeFloatValue(amount));
        return;
    }
    fail(info().name + ": both slots of \"" + stem + "\" are taken");
}

void SoundBuilder::modulate(ModParam& value, int32_t source, float amount) {
    for (ModSlot& s : value.slots) {
        if (s.source != 0) continue;
        s.source = source;
        s.amount = amount;
        s.channelValue = nullptr;
        s.voiceOutput = -1;
        s.stale = true;  // bound by the engine at its first evaluation
        return;
    }
    fail(info().name + ": both slots of a spectrum value are taken");
}

void SoundBuilder::envelope(int32_t number, std::initializer_list<Segment> segments, int32_t sustain) {
    loopingEnvelope(number, segments, sustain, sustain);
}

void SoundBuilder::loopingEnvelope(int32_t number, std::initializer_list<Segment> segments, int32_t loopStart,
                                   int32_t loopEnd) {
    BreakpointCurve curve;
    curve.startValue = 0.0f;
    for (const Segment& s : segments) {
        curve.lengths[curve.segmentCount] = s.length;
        curve.endValues[curve.segmentCount] = s.level;
        curve.shapes[curve.segmentCount] = s.shape;
        ++curve.segmentCount;
    }
    curve.loopStart = loopStart;
    curve.loopEnd = loopEnd;
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

void SoundBuilder::wheel(const char* text) {
    info().wheel = text;
}

void SoundBuilder::macro(int32_t number, const char* name, const char* text) {
    engine_.setParameterLabel(1 + number, name);
    info().macroNames[number - 1] = name;
    info().macroTexts[number - 1] = text;
}

void SoundBuilder::quiet() {
    info().quiet = true;
}

void SoundBuilder::store() {
    SoundInfo& sound = info();
    if (sound.wheel.empty()) fail(sound.name + ": the mod wheel does nothing");
    for (int32_t m = 0; m < 6; ++m)
        if (sound.macroTexts[m].empty()) fail(sound.name + ": macro " + std::to_string(m + 1) + " does nothing");
    // The loudness balance: "Gain" and its modulation amounts scale together.
    const float trim = std::pow(10.0f, levelTrimDb(sound.name) / 20.0f);
    const int32_t gain = indexOf("Gain");
    engine_.setParameterValue(0, gain, makeFloatValue(valueAsFloat(engine_.getParameterValue(0, gain)) * trim));
    for (const char* slot : {" ModAmt1", " ModAmt2"}) {
        const int32_t index = indexOf(std::string("Gain") + slot);
        engine_.setParameterValue(0, index, makeFloatValue(valueAsFloat(engine_.getParameterValue(0, index)) * trim));
    }
    {
        EditGuard::EditScope scope(engine_.editGuard());
        engine_.generatorChanged();
    }
    engine_.storeProgram(program_);
}

void fillBreakpoint(Modulator& modulator, int32_t index, const Spectrum& value) {
    SpectrumBreakpoint& bp = modulator.breakpoints[static_cast<size_t>(index)];
    for (int32_t k = 0; k < bp.values.size(); ++k) bp.values[k] = value(k);
    modulator.setBreakpoint(index, bp.distance, bp.level);
    if (index + 1 < modulator.breakpointCount()) {
        const SpectrumBreakpoint& next = modulator.breakpoints[static_cast<size_t>(index + 1)];
        modulator.setBreakpoint(index + 1, next.distance, next.level);
    }
}

void addBreakpoint(Modulator& modulator, float distance, const Spectrum& value) {
    const int32_t index = modulator.breakpointCount();
    modulator.insertBreakpoint(index, distance, 1.0f, false);
    fillBreakpoint(modulator, index, value);
}

void keyMapping(Modulator& modulator, float low, float high) {
    BreakpointCurve curve;
    curve.segmentCount = 1;
    curve.startValue = low;
    curve.lengths[0] = 1.0f;
    curve.endValues[0] = high;
    curve.shapes[0] = 0.5f;
    modulator.keyMapping = curve;
}

Modulator& addLayer(Modulator& parent, const char* name, int32_t mode, const Spectrum& value) {
    Modulator& child = parent.addChild(name, mode, true);
    fillBreakpoint(child, 0, value);
    return child;
}

}  // namespace quenvale::factory
