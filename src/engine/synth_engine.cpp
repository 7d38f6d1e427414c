// Engine construction, the bank of programs, parameter access and the callback slots.
#include "engine/synth_engine.h"

#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>

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
#include "params/relaxed_field.h"

namespace quenvale {

SynthEngine::SynthEngine() {
    acquireEngineTables();
    programs_ = std::make_unique<Program[]>(kProgramCount);
    for (int32_t i = 0; i < kProgramCount; ++i) initSlotProgram(programs_[i], i);
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
    delete callbacks_.load();
    releaseEngineTables();
}

void SynthEngine::resetVoiceBookkeeping() noexcept {
    sampleCounter_ = 0;
    activeVoiceCount_.store(0, std::memory_order_relaxed);
    assignedVoiceCount_.store(0, std::memory_order_relaxed);
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

bool SynthEngine::selectProgram(int32_t channel, int32_t program, bool load) {
    if (channel != 0 || program < 0 || program >= kProgramCount) return true;
    bool whole = true;
    {
        EditGuard::EditScope scope(editGuard_);
        whole = selectProgramInEdit(program, load);
    }
    notifyProgramChanged(channel);
    return whole;
}

bool SynthEngine::selectProgramInEdit(int32_t program, bool load) {
    if (program < 0 || program >= kProgramCount) return true;
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        Voice& v = voices_[i];
        if (v.channel == 0 && v.active) {
            silenceVoice(v);
            voiceFinished(v);
        }
    }
    for (int32_t& v : noteVoice_) v = -1;
    lastNote_ = -1;
    storeRelaxed(channel_->currentProgram, program);
    return load ? applyProgramInEdit(programs_[program]) : true;
}

bool SynthEngine::applyProgramInEdit(const Program& program) {
    // Stores handed over before the program was applied would undo part of it at the next block.
    pendingStores_.clear();
    const int32_t damaged = applyProgram(program, *channel_);
    if (damaged != 0) damagedRecords_.fetch_add(static_cast<uint32_t>(damaged), std::memory_order_relaxed);
    generatorChanged();
    refreshVoicesUnguarded(kAllParameters, 0.0f);
    return damaged == 0;
}

void SynthEngine::generatorChanged() {
    for (int32_t i = 0; i < kVoiceCount; ++i)
        prepareGeneratorStates(voices_[i].generator.spectrum, *channel_->generator);
}

void SynthEngine::notifyProgramChanged(int32_t channel) {
    CallbackUse callbacks(*this);
    if (callbacks && callbacks->programChanged != nullptr)
        callbacks->programChanged(channel, currentProgram(channel), callbacks->programChangedContext);
}

int32_t SynthEngine::currentProgram(int32_t) const noexcept {
    return loadRelaxed(channel_->currentProgram);
}

// Names and stored values belong to the user-interface threads (the audio thread never reads them):
// the read scope keeps a second such thread from tearing them.
const char* SynthEngine::programName(int32_t program, char (&out)[kNameFieldSize]) noexcept {
    EditGuard::ReadScope scope(editGuard_);
    copyName(out, (program >= 0 && program < kProgramCount) ? programs_[program].name : "");
    return out;
}

void SynthEngine::setProgramName(int32_t program, const char* name) noexcept {
    if (program < 0 || program >= kProgramCount || name == nullptr) return;
    EditGuard::ReadScope scope(editGuard_);
    copyName(programs_[program].name, name);
}

void SynthEngine::storeProgram(int32_t program) {
    if (program < 0 || program >= kProgramCount) return;
    flushPendingStores();
    // Only reads the channel, which the audio thread only reads as well: other user-interface
    // threads are kept out (a bank load would free the trees being written), the audio is not.
    EditGuard::ReadScope scope(editGuard_);
    quenvale::storeProgram(programs_[program], *channel_);
}

ParameterValue SynthEngine::programParameterValue(int32_t program, int32_t index) noexcept {
    if (program < 0 || program >= kProgramCount || index < 0 || index >= kParameterCount)
        return ParameterValue{};
    EditGuard::ReadScope scope(editGuard_);
    return programs_[program].values[index];
}

void SynthEngine::setProgramParameterValue(int32_t program, int32_t index,
                                           const ParameterValue& value) noexcept {
    if (program < 0 || program >= kProgramCount || index < 0 || index >= kParameterCount) return;
    EditGuard::ReadScope scope(editGuard_);
    programs_[program].values[index] = value;
}

// ---- parameters -------------------------------------------------------------------------------

void SynthEngine::afterStore(int32_t channel, int32_t index) noexcept {
    // The refresh is asked for whatever the store's outcome; the callback only names real parameters.
    refreshVoices(channel, index);
    if (index < 0 || index >= kParameterCount) return;
    CallbackUse callbacks(*this);
    if (callbacks && callbacks->parameterChanged != nullptr)
        callbacks->parameterChanged(channel, index, callbacks->parameterChangedContext);
}

void SynthEngine::storeParameter(int32_t index, const ParameterValue& value) noexcept {
    // Outside 0 … 382 the routing only reports the index.
    if (index < 0 || index >= kParameterCount || editGuard_.editingOnThisThread()) {
        quenvale::setParameterValue(*channel_, index, value);
        return;
    }
    if (onAudioThread()) {
        pendingStores_.drop(index);  // this store is the newer one
        if (editGuard_.tryEnterAudio()) {
            quenvale::setParameterValue(*channel_, index, value);
            editGuard_.leaveAudio();
        } else {
            pendingStores_.post(index, value);  // a structural edit holds the channel
        }
        return;
    }
    if (audioThread_.load(std::memory_order_relaxed) != std::thread::id()) {
        pendingStores_.post(index, value);
        return;
    }
    // Nothing rendered yet: stored at once, with a first block held off meanwhile.
    EditGuard::EditScope scope(editGuard_);
    quenvale::setParameterValue(*channel_, index, value);
}

ParameterValue SynthEngine::currentValue(int32_t index) const noexcept {
    ParameterValue value = quenvale::getParameterValue(*channel_, index);
    ParameterValue waiting;
    if (onAudioThread() || !pendingStores_.peek(index, waiting)) return value;
    // Answer what the routing will store when the audio thread takes the value.
    switch (value.kind) {
        case ParameterKind::Float:
            value.number = std::bit_cast<uint32_t>(valueAsFloat(waiting));
            break;
        case ParameterKind::Int:
            value.number = static_cast<uint32_t>(valueAsInt(waiting));
            break;
        case ParameterKind::Modulated:
            value.modulated.base = valueAsFloat(waiting);
            break;
        case ParameterKind::ChModulated:
            value.chModulated.base = valueAsFloat(waiting);
            break;
        case ParameterKind::None:
            break;
    }
    return value;
}

void SynthEngine::flushPendingStores() {
    if (!pendingStores_.any()) return;
    for (int32_t wait = 0; wait < 20 && pendingStores_.any(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!pendingStores_.any()) return;
    EditGuard::EditScope scope(editGuard_);
    pendingStores_.takeAll([this](int32_t index, const ParameterValue& value) {
        quenvale::setParameterValue(*channel_, index, value);
    });
}

void SynthEngine::setParameterValue(int32_t channel, int32_t index, const ParameterValue& value) noexcept {
    if (channel != 0) return;
    storeParameter(index, value);
    afterStore(channel, index);
}

ParameterValue SynthEngine::getParameterValue(int32_t channel, int32_t index) const noexcept {
    if (channel != 0) return ParameterValue{};
    if (index < 0 || index >= kParameterCount) return quenvale::getParameterValue(*channel_, index);
    return currentValue(index);
}

void SynthEngine::setParameterNormalized(int32_t channel, int32_t index, float value) noexcept {
    // A host index has no descriptor outside 0 … 382: refused before the routing, nothing happens.
    if (channel != 0 || index < 0 || index >= kParameterCount) return;
    if (std::isfinite(value)) {
        storeParameter(index, valueFromNormalized(index, value));
    } else {
        quenvale::setParameterNormalized(*channel_, index, value);  // reports and stores nothing
    }
    afterStore(channel, index);
}

float SynthEngine::getParameterNormalized(int32_t channel, int32_t index) noexcept {
    if (channel != 0 || index < 0 || index >= kParameterCount) return 0.0f;
    return normalizedFromValue(index, currentValue(index));
}

const char* SynthEngine::parameterDisplayText(int32_t channel, int32_t index,
                                              DisplayTextBuffer& out) noexcept {
    if (channel != 0 || index < 0 || index >= kParameterCount) {
        out.text[0] = '\0';
        return out.text;
    }
    return displayText(index, currentValue(index), out);
}

const char* SynthEngine::parameterLabel(int32_t index, DisplayTextBuffer& out) noexcept {
    EditGuard::ReadScope scope(editGuard_);
    const char* label = quenvale::parameterLabel(index, programs_[channel_->currentProgram].macroNames);
    const size_t length = strnlen(label, sizeof out.text - 1);
    std::memcpy(out.text, label, length);
    out.text[length] = '\0';
    return out.text;
}

void SynthEngine::setParameterLabel(int32_t index, const char* text) noexcept {
    EditGuard::ReadScope scope(editGuard_);
    quenvale::setParameterLabel(index, text, programs_[channel_->currentProgram].macroNames);
}

void SynthEngine::setControllerValue(int32_t channel, int32_t cc, float value) noexcept {
    // The render reads controller values without atomics: only the audio thread writes them.
    if (channel != 0 || cc < 0 || cc >= kControllerCount) return;
    channel_->controllerValue[cc] = value;
}

bool SynthEngine::onAudioThread() const noexcept {
    return audioThread_.load(std::memory_order_relaxed) == std::this_thread::get_id();
}

void SynthEngine::refreshVoices(int32_t channel, int32_t index) noexcept {
    if (channel != 0) return;
    // The refresh evaluates the spectrum, whose working curves belong to the audio thread, and costs
    // tens of microseconds with every voice playing: it runs once at the start of the next block,
    // after every store that came in before it. The order of the two flags lets the block that
    // takes refreshPending_ also see refreshAllPending_.
    if (index == kAllParameters) refreshAllPending_.store(true, std::memory_order_relaxed);
    refreshPending_.store(true, std::memory_order_release);
}

void SynthEngine::refreshVoicesUnguarded(int32_t index, float rampFraction) noexcept {
    refreshCount_.fetch_add(1, std::memory_order_relaxed);
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

template <class Change>
void SynthEngine::publishCallbacks(Change change) {
    std::lock_guard<std::mutex> lock(callbackWriters_);
    const CallbackRecord* old = callbacks_.load(std::memory_order_relaxed);
    auto record = std::make_unique<CallbackRecord>(old != nullptr ? *old : CallbackRecord{});
    change(*record);
    callbacks_.store(record.release(), std::memory_order_seq_cst);
    if (old != nullptr) retiredCallbacks_.emplace_back(old);
    if (callbackDepth_ == 0) {
        // Every call that could have loaded a retired record has ended once the count reaches 0;
        // calls starting from now load the new record.
        while (callbacksInUse_.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
        retiredCallbacks_.clear();
    }
}

void SynthEngine::setProgramChangedCallback(ProgramChangedFn fn, void* context) {
    publishCallbacks([&](CallbackRecord& r) {
        r.programChanged = fn;
        r.programChangedContext = context;
    });
}

void SynthEngine::setParameterChangedCallback(ParameterChangedFn fn, void* context) {
    publishCallbacks([&](CallbackRecord& r) {
        r.parameterChanged = fn;
        r.parameterChangedContext = context;
    });
}

void SynthEngine::setTempoReader(TempoReaderFn fn, void* context) {
    publishCallbacks([&](CallbackRecord& r) {
        r.tempoReader = fn;
        r.tempoReaderContext = context;
    });
}

}  // namespace quenvale
