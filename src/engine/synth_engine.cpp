// Engine construction, the bank of programs, parameter access and the callback slots.
#include "engine/synth_engine.h"

#include <cstdio>

#include "engine/channel.h"
#include "engine/channel_control.h"
#include "engine/fx/effect_control.h"
#include "engine/lfo/lfo_tick.h"
#include "engine/lfo/lfo_waves.h"
#include "engine/note_frequency.h"
#include "engine/program.h"
#include "engine/program_apply.h"
#include "engine/rate_values.h"
#include "engine/seq/step_shapes.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/generator_spectrum.h"
#include "engine/spectrum/spectrum_tables.h"
#include "engine/voice/voice.h"
#include "engine/voice/voice_control.h"
#include "params/parameter_access.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_index.h"
#include "params/parameter_routing.h"

namespace quenvale {

SynthEngine::SynthEngine() {
    acquireEngineTables();
    programs_ = std::make_unique<Program[]>(kProgramCount);
    for (int32_t i = 0; i < kProgramCount; ++i) {
        char name[kNameFieldSize];
        std::snprintf(name, sizeof name, "Program %03d", i + 1);
        initProgram(programs_[i], name);
    }
    // Shared tables built on first use are built here, never on the audio thread.
    (void)lfoWaveTable(kLfoSine);
    (void)stepShapeTable(0);
    buildSpectrumTables();
    channel_ = std::make_unique<Channel>();
    resetLfoGroup(channel_->chLfoState);
    for (ChannelEffect& fx : channel_->fx) resetChannelEffect(fx);
    voices_ = std::make_unique<Voice[]>(kVoiceCount);
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        voices_[i].engine = this;
        voices_[i].index = i;
        prepareGeneratorStates(voices_[i].generator.spectrum, *channel_->generator);
    }
    resetVoiceBookkeeping();
    selectProgram(0, 0, true);
}

SynthEngine::~SynthEngine() {
    releaseEngineTables();
}

void SynthEngine::resetVoiceBookkeeping() noexcept {
    sampleCounter_ = 0;
    activeVoiceCount_ = 0;
    assignedVoiceCount_ = 0;
    voiceCount_ = 0;
    for (int32_t& v : voiceList_) v = -1;
    for (int32_t& v : noteVoice_) v = -1;
    lastNote_ = -1;
    restartTiming();
}

void SynthEngine::restartTiming() noexcept {
    sampleCounter_ = 0;
    samplesToTick_ = kControlTickSamples;
    runLength_ = samplesToTick_;
}

void SynthEngine::setSampleRate(float sampleRate) noexcept {
    setRateValues(sampleRate);
}

// ---- programs ---------------------------------------------------------------------------------

void SynthEngine::selectProgram(int32_t channel, int32_t program, bool load) {
    if (channel != 0 || program < 0 || program >= kProgramCount) return;
    {
        EditGuard::EditScope scope(editGuard_);
        selectProgramInEdit(program, load);
    }
    notifyProgramChanged(channel);
}

void SynthEngine::selectProgramInEdit(int32_t program, bool load) {
    if (program < 0 || program >= kProgramCount) return;
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        Voice& v = voices_[i];
        if (v.channel == 0 && v.active) {
            silenceVoice(v);
            voiceFinished(v);
        }
    }
    for (int32_t& v : noteVoice_) v = -1;
    lastNote_ = -1;
    channel_->currentProgram = program;
    if (load) applyProgramInEdit(programs_[program]);
}

void SynthEngine::applyProgramInEdit(const Program& program) {
    applyProgram(program, *channel_);
    generatorChanged();
    refreshVoicesUnguarded(kAllParameters, 0.0f);
}

void SynthEngine::generatorChanged() {
    for (int32_t i = 0; i < kVoiceCount; ++i)
        prepareGeneratorStates(voices_[i].generator.spectrum, *channel_->generator);
}

void SynthEngine::notifyProgramChanged(int32_t channel) {
    if (programChanged_ != nullptr)
        programChanged_(channel, channel_->currentProgram, programChangedContext_);
}

int32_t SynthEngine::currentProgram(int32_t) const noexcept {
    return channel_->currentProgram;
}

const char* SynthEngine::programName(int32_t program) const noexcept {
    return (program >= 0 && program < kProgramCount) ? programs_[program].name : "";
}

void SynthEngine::setProgramName(int32_t program, const char* name) noexcept {
    if (program < 0 || program >= kProgramCount || name == nullptr) return;
    copyName(programs_[program].name, name);
}

void SynthEngine::storeProgram(int32_t program) {
    if (program < 0 || program >= kProgramCount) return;
    // Only reads the channel; the generator's structure changes on this thread alone, so the audio
    // thread need not be held off.
    quenvale::storeProgram(programs_[program], *channel_);
}

ParameterValue SynthEngine::programParameterValue(int32_t program, int32_t index) const noexcept {
    if (program < 0 || program >= kProgramCount || index < 0 || index >= kParameterCount)
        return ParameterValue{};
    return programs_[program].values[index];
}

void SynthEngine::setProgramParameterValue(int32_t program, int32_t index,
                                           const ParameterValue& value) noexcept {
    if (program < 0 || program >= kProgramCount || index < 0 || index >= kParameterCount) return;
    programs_[program].values[index] = value;
}

// ---- parameters -------------------------------------------------------------------------------

void SynthEngine::afterStore(int32_t channel, int32_t index) noexcept {
    // The refresh runs whatever the store's outcome; the callback only names real parameters.
    refreshVoices(channel, index);
    if (parameterChanged_ != nullptr && index >= 0 && index < kParameterCount)
        parameterChanged_(channel, index, parameterChangedContext_);
}

void SynthEngine::setParameterValue(int32_t channel, int32_t index, const ParameterValue& value) noexcept {
    if (channel != 0) return;
    quenvale::setParameterValue(*channel_, index, value);
    afterStore(channel, index);
}

ParameterValue SynthEngine::getParameterValue(int32_t channel, int32_t index) const noexcept {
    if (channel != 0) return ParameterValue{};
    return quenvale::getParameterValue(*channel_, index);
}

void SynthEngine::setParameterNormalized(int32_t channel, int32_t index, float value) noexcept {
    // A host index has no descriptor outside 0 … 382: refused before the routing, nothing happens.
    if (channel != 0 || index < 0 || index >= kParameterCount) return;
    quenvale::setParameterNormalized(*channel_, index, value);
    afterStore(channel, index);
}

float SynthEngine::getParameterNormalized(int32_t channel, int32_t index) noexcept {
    if (channel != 0 || index < 0 || index >= kParameterCount) return 0.0f;
    return quenvale::getParameterNormalized(*channel_, index);
}

const char* SynthEngine::parameterDisplayText(int32_t channel, int32_t index) noexcept {
    if (channel != 0 || index < 0 || index >= kParameterCount) {
        displayText_.text[0] = '\0';
        return displayText_.text;
    }
    return quenvale::parameterDisplayText(*channel_, index, displayText_);
}

const char* SynthEngine::parameterLabel(int32_t index) const noexcept {
    return quenvale::parameterLabel(index, programs_[channel_->currentProgram].macroNames);
}

void SynthEngine::setParameterLabel(int32_t index, const char* text) noexcept {
    quenvale::setParameterLabel(index, text, programs_[channel_->currentProgram].macroNames);
}

void SynthEngine::setControllerValue(int32_t channel, int32_t cc, float value) noexcept {
    if (channel != 0 || cc < 0 || cc >= kControllerCount) return;
    channel_->controllerValue[cc] = value;
}

void SynthEngine::refreshVoices(int32_t channel, int32_t index) noexcept {
    if (channel != 0) return;
    // The refresh evaluates the spectrum, whose working curves belong to the audio thread: another
    // thread (or a structural edit in progress) leaves it to the start of the next block.
    const std::thread::id audio = audioThread_.load(std::memory_order_relaxed);
    const bool audioSide = audio == std::thread::id() || audio == std::this_thread::get_id();
    if (audioSide && editGuard_.tryEnterAudio()) {
        const float rampFraction = index == kAllParameters ? 0.0f : 1.0f / static_cast<float>(samplesToTick_);
        refreshVoicesUnguarded(index, rampFraction);
        editGuard_.leaveAudio();
        return;
    }
    if (index == kAllParameters) refreshAllPending_.store(true);
    refreshPending_.store(true);
}

void SynthEngine::refreshVoicesUnguarded(int32_t index, float rampFraction) noexcept {
    bool anyAssigned = false;
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        Voice& v = voices_[i];
        if (v.channel != 0) continue;
        anyAssigned = true;
        refreshVoiceParameters(*channel_, v, index, rampFraction);
    }
    // The effects' update belongs to each voice's refresh; with the same targets and fraction it
    // gives the same ramps however often it runs, so it runs once when any voice is assigned.
    if (anyAssigned) updateChannelEffects(*channel_, rampFraction);
}

// ---- callback slots ---------------------------------------------------------------------------

void SynthEngine::setProgramChangedCallback(ProgramChangedFn fn, void* context) noexcept {
    programChanged_ = fn;
    programChangedContext_ = context;
}

void SynthEngine::setParameterChangedCallback(ParameterChangedFn fn, void* context) noexcept {
    parameterChanged_ = fn;
    parameterChangedContext_ = context;
}

void SynthEngine::setTempoReader(TempoReaderFn fn, void* context) noexcept {
    tempoReader_ = fn;
    tempoReaderContext_ = context;
}

}  // namespace quenvale
