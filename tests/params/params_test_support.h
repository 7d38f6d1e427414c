// Shared helpers of the parameter tests: capturing routing reports and comparing channel states.
#pragma once

#include <gtest/gtest.h>

#include <bit>
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
        setRoutingReportSink(&sink);
    }
    ~ReportCapture() { setRoutingReportSink(nullptr); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    std::vector<std::string> lines;
    int beeps = 0;
};

// Stores every catalogue default, as applying a new program does.
inline void applyDefaults(Channel& channel) {
    for (int32_t i = 0; i < parameterCount(); ++i) setParameter(channel, i, descriptor(i).defaultValue);
}

template <typename Slot>
bool sameSlot(const Slot& a, const Slot& b) {
    bool same = a.source == b.source &&
                std::bit_cast<uint32_t>(a.amount) == std::bit_cast<uint32_t>(b.amount) &&
                a.channelValue == b.channelValue && a.stale == b.stale;
    if constexpr (requires { a.voiceOutput; }) same = same && a.voiceOutput == b.voiceOutput;
    return same;
}

// Bitwise-equal kind, number, bases and slots (bindings included).
inline bool sameValue(const ParameterValue& a, const ParameterValue& b) {
    bool same = a.kind == b.kind && a.number == b.number &&
                std::bit_cast<uint32_t>(a.modulated.base) == std::bit_cast<uint32_t>(b.modulated.base) &&
                std::bit_cast<uint32_t>(a.chModulated.base) == std::bit_cast<uint32_t>(b.chModulated.base);
    for (int k = 0; k < 2; ++k)
        same = same && sameSlot(a.modulated.slots[k], b.modulated.slots[k]) &&
               sameSlot(a.chModulated.slots[k], b.chModulated.slots[k]);
    return same;
}

// Every parameter as the routing reads it back.
inline std::vector<ParameterValue> snapshot(const Channel& channel) {
    std::vector<ParameterValue> values;
    for (int32_t i = 0; i < parameterCount(); ++i) values.push_back(getParameter(channel, i));
    return values;
}

inline void expectSameState(const std::vector<ParameterValue>& a, const std::vector<ParameterValue>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(sameValue(a[i], b[i])) << descriptor(int32_t(i)).name;
}

}  // namespace quenvale::test
