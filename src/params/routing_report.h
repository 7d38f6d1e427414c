// How the parameter routing reports a failure: one debug line and the default beep.
//
// The default sink writes the line to the platform's debug output and sounds the platform beep; an
// installed sink receives both instead (tests capture them).
#pragma once

#include <cstdint>

namespace quenvale {

inline constexpr int32_t kRoutingReportLineSize = 256;

struct RoutingReportSink {
    void (*writeLine)(const char* line, void* context) = nullptr;  // the whole line, line feed included
    void (*beep)(void* context) = nullptr;
    void* context = nullptr;
};

// [any] Formats one line (printf-style) into a fixed buffer on the stack, hands it to the sink and
// sounds the beep. Never allocates.
void reportRoutingFailure(const char* format, ...) noexcept
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// [ui] Installs a sink (copied); null restores the default. Not to be swapped while another thread
// may be reporting.
void setRoutingReportSink(const RoutingReportSink* sink) noexcept;

// [any] Beeps sounded so far in this process, whatever the sink.
uint32_t routingBeepCount() noexcept;

}  // namespace quenvale
