// Failure reporting of the parameter routing.
#include "params/routing_report.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

#include "common/beep.h"
#include "common/debug_output.h"

namespace quenvale {
namespace {

// The default: the platform's debug output and its beep.
void writeToDebugOutput(const char* line, void*) { writeDebugOutput(line); }
void soundPlatformBeep(void*) { platformBeep(); }

RoutingReportSink sink{writeToDebugOutput, soundPlatformBeep, nullptr};
std::atomic<uint32_t> beeps{0};

}  // namespace

void reportRoutingFailure(const char* format, ...) noexcept {
    char line[kRoutingReportLineSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (sink.writeLine != nullptr) sink.writeLine(line, sink.context);
    beeps.fetch_add(1, std::memory_order_relaxed);
    if (sink.beep != nullptr) sink.beep(sink.context);
}

void setRoutingReportSink(const RoutingReportSink* newSink) noexcept {
    sink = newSink != nullptr ? *newSink : RoutingReportSink{writeToDebugOutput, soundPlatformBeep, nullptr};
}

uint32_t routingBeepCount() noexcept {
    return beeps.load(std::memory_order_relaxed);
}

}  // namespace quenvale
