// The parameter lists of the program versions, built once from the history of the catalogue.
#include "persist/parameter_lists.h"

#include <array>
#include <cstddef>

#include "common/capacity.h"
#include "persist/format_versions.h"

namespace quenvale {
namespace {

// Capacity enough for the longest list (the current one).
struct ListBuilder {
    std::array<int16_t, kParameterCount> entries{};
    int32_t count = 0;

    void add(int32_t index) { entries[static_cast<std::size_t>(count++)] = static_cast<int16_t>(index); }
    void range(int32_t first, int32_t last) {
        for (int32_t i = first; i <= last; ++i) add(i);
    }
    void discard(int32_t n) {
        for (int32_t i = 0; i < n; ++i) add(kDiscardedEntry);
    }
};

constexpr bool isLfoSync(int32_t index) {
    for (int32_t n = 0; n < 8; ++n)
        if (index == 108 + 22 * n) return true;
    for (int32_t n = 0; n < 4; ++n)
        if (index == 284 + 12 * n) return true;
    return false;
}

// "Type", "Ratio", "Offset", "Phase" of each voice LFO, "Type" and "Offset" of each channel LFO.
void addOldLfos(ListBuilder& b) {
    for (int32_t n = 0; n < 8; ++n)
        for (int32_t member : {107, 109, 114, 119}) b.add(member + 22 * n);
    for (int32_t n = 0; n < 4; ++n)
        for (int32_t member : {283, 285}) b.add(member + 12 * n);
}

enum ListId { k10020, k10019, k10017, k10016, k10012, k10011, k10010, k10005, kListCount };

struct Lists {
    ListBuilder lists[kListCount];

    Lists() {
        lists[k10020].range(0, 382);
        for (int32_t i = 0; i <= 382; ++i) {
            const bool genPhase = i >= 23 && i <= 27;
            if (!genPhase) lists[k10019].add(i);
            const bool stepSeq = i >= 79 && i <= 106;
            if (!genPhase && !stepSeq && !isLfoSync(i)) lists[k10017].add(i);
            const bool env = i >= 49 && i <= 78;
            if (!genPhase && !stepSeq && !isLfoSync(i) && !env) lists[k10016].add(i);
        }
        ListBuilder& l12 = lists[k10012];
        l12.range(0, 22);
        l12.range(28, 48);
        addOldLfos(l12);
        l12.range(331, 382);
        ListBuilder& l11 = lists[k10011];
        l11.range(1, 1);
        l11.range(8, 22);
        l11.range(28, 48);
        addOldLfos(l11);
        l11.range(331, 382);
        ListBuilder& l10 = lists[k10010];
        l10.add(1);
        l10.range(8, 22);
        l10.range(28, 38);
        l10.discard(5);
        l10.range(39, 43);
        addOldLfos(l10);
        l10.range(331, 382);
        ListBuilder& l5 = lists[k10005];
        l5.add(1);
        l5.range(8, 22);
        l5.range(28, 33);
        l5.discard(26);
        l5.range(39, 43);
        addOldLfos(l5);
        l5.range(331, 382);
    }
};

const Lists& lists() {
    static const Lists built;
    return built;
}

ParameterList listOf(ListId id) noexcept {
    const ListBuilder& b = lists().lists[id];
    return ParameterList{b.entries.data(), b.count};
}

}  // namespace

ParameterList parameterList(uint32_t version) noexcept {
    if (!isReadableProgramVersion(version)) return ParameterList{};
    if (version == 0x10020u) return listOf(k10020);
    if (version == 0x10019u) return listOf(k10019);
    if (version >= 0x10017u) return listOf(k10017);
    if (version == 0x10016u) return listOf(k10016);
    if (version >= 0x10012u) return listOf(k10012);
    if (version == 0x10011u) return listOf(k10011);
    if (version == 0x10010u) return listOf(k10010);
    return listOf(k10005);
}

}  // namespace quenvale
