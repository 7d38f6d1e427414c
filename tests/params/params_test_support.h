// Shared helpers of the parameter tests: capturing routing reports and comparing channel states.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/channel.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_routing.h"
#include "params/routing_report.h"

namespace quenvale::test {

// Installs itself as the routing's report sink for its lifetime and records every line and beep.
class ReportCapture {
public:
    ReportCapture() {
        RoutingReportSink sink;
        sink.writeLine = [](const char* line, void* self) {
            static_cast<ReportCapture*>(self)->lines.emplace_back(line);
        };
        sink.beep = [](void* self) { ++static_cast<ReportCapture*>(self)->beeps; };
        sink.context = this;
        beepCountAtStart_ = routingBeepCount();
        setRoutingReportSink(&sink);
    }
    ~ReportCapture() { setRoutingReportSink(nullptr); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    // Beeps counted by the process-wide counter since construction.
    uint32_t countedBeeps() const { return routingBeepCount() - beepCountAtStart_; }
    void clear() {
        lines.clear();
        beeps = 0;
        beepCountAtStart_ = routingBeepCount();
    }

    std::vector<std::string> lines;
    int beeps = 0;

private:
    uint32_t beepCountAtStart_ = 0;
};

// Stores every catalogue default, as applying a new program does.
inline void applyDefaults(Channel& channel) {
    for (int32_t i = 0; i < parameterCount(); ++i) setParameter(channel, i, descriptor(i).defaultValue);
}

inline bool sameSlot(const ModSlot& a, const ModSlot& b) {
    return a.source == b.source && a.amount == b.amount && a.channelValue == b.channelValue &&
           a.voiceOutput == b.voiceOutput && a.stale == b.stale;
}
inline bool sameSlot(const ChModSlot& a, const ChModSlot& b) {
    return a.source == b.source && a.amount == b.amount && a.channelValue == b.channelValue &&
           a.stale == b.stale;
}

// Bitwise-equal kind, number, bases and slots (bindings included).
inline bool sameValue(const ParameterValue& a, const ParameterValue& b) {
    return a.kind == b.kind && a.number == b.number &&
           std::bit_cast<uint32_t>(a.modulated.base) == std::bit_cast<uint32_t>(b.modulated.base) &&
           std::bit_cast<uint32_t>(a.chModulated.base) == std::bit_cast<uint32_t>(b.chModulated.base) &&
           sameSlot(a.modulated.slots[0], b.modulated.slots[0]) &&
           sameSlot(a.modulated.slots[1], b.modulated.slots[1]) &&
           sameSlot(a.chModulated.slots[0], b.chModulated.slots[0]) &&
           sameSlot(a.chModulated.slots[1], b.chModulated.slots[1]);
}

// Every parameter as the routing reads it back.
inline std::vector<ParameterValue> snapshot(const Channel& channel) {
    std::vector<ParameterValue> values;
    for (int32_t i = 0; i < parameterCount(); ++i) values.push_back(getParameter(channel, i));
    return values;
}

inline bool isEmptyValue(const ParameterValue& v) {
    return sameValue(v, ParameterValue{});
}

}  // namespace quenvale::test
