// Construction, ports and the render loop of an LV2 instance.
#include "lv2/lv2_synth.h"

#include <cstring>

#include "lv2/atom/util.h"
#include "lv2/port_value.h"

namespace quenvale::lv2 {

Lv2Synth::Lv2Synth(double sampleRate, const LV2_URID_Map& map) : urids_(mapUrids(map)) {
    engine_.setSampleRate(static_cast<float>(sampleRate));
    engine_.setTempoReader(&Lv2Synth::readTempo, this);
}

Lv2Synth::~Lv2Synth() {
    engine_.setTempoReader(nullptr, nullptr);
}

void Lv2Synth::connectPort(uint32_t port, void* data) noexcept {
    if (port < kFirstParameterPort + kParameterCount) {
        parameterPorts_[port - kFirstParameterPort] = static_cast<const float*>(data);
        return;
    }
    switch (port) {
        case kEventsPort:
            events_ = static_cast<const LV2_Atom_Sequence*>(data);
            break;
        case kLeftOutPort:
            left_ = static_cast<float*>(data);
            break;
        case kRightOutPort:
            right_ = static_cast<float*>(data);
            break;
        case kProgramOutPort:
            programOut_ = static_cast<float*>(data);
            break;
        default:
            break;
    }
}

void Lv2Synth::applyControlPorts() noexcept {
    const bool resync = resyncPorts_.exchange(false, std::memory_order_acq_rel);
    for (int32_t i = 0; i < kParameterCount; ++i) {
        if (parameterPorts_[i] == nullptr) continue;
        const float x = *parameterPorts_[i];
        // Compared bit for bit: a NaN the host leaves in a port counts as unchanged.
        const bool changed = std::memcmp(&x, &lastPortValue_[i], sizeof x) != 0;
        lastPortValue_[i] = x;
        if (resync) continue;
        if (!firstRun_ && !changed) continue;
        const ParameterValue value = parameterFromPort(i, x);
        if (value.kind == ParameterKind::None) continue;
        if (firstRun_ && portFromParameter(i, value) == portFromParameter(i, engine_.getParameterValue(0, i)))
            continue;
        engine_.setParameterValue(0, i, value);
    }
    firstRun_ = false;
}

void Lv2Synth::run(uint32_t frames) noexcept {
    applyControlPorts();
    uint32_t done = 0;
    if (events_ != nullptr) {
        LV2_ATOM_SEQUENCE_FOREACH(events_, event) {
            // Stamps before the last one, or past the block, are clamped: events stay in order.
            const int64_t stamp = event->time.frames;
            const uint32_t at = stamp <= static_cast<int64_t>(done)     ? done
                                : stamp >= static_cast<int64_t>(frames) ? frames
                                                                        : static_cast<uint32_t>(stamp);
            renderSpan(done, at);
            done = at;
            handleEvent(*event);
        }
    }
    renderSpan(done, frames);
    if (programOut_ != nullptr) *programOut_ = static_cast<float>(engine_.currentProgram(0));
}

void Lv2Synth::renderSpan(uint32_t from, uint32_t to) noexcept {
    if (to <= from || left_ == nullptr || right_ == nullptr) return;
    engine_.render(left_ + from, right_ + from, static_cast<int32_t>(to - from));
}

float Lv2Synth::readTempo(void* context) {
    return static_cast<Lv2Synth*>(context)->tempo_;
}

}  // namespace quenvale::lv2
