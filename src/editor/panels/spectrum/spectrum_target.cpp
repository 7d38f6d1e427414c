// Resolving and editing the spectrum editor's target curve.
#include "editor/panels/spectrum/spectrum_target.h"

#include <algorithm>

namespace quenvale::editor {

Modulator& SpectrumTarget::resolve(Generator& generator) {
    view = std::clamp(view, 0, kViewCount - 1);
    Modulator* m = &generator.modulator(kViewProperties[view]);
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] < 0 || path[i] >= m->childCount() || !m->children[path[i]].child) {
            path.resize(i);
            break;
        }
        m = m->children[path[i]].child.get();
    }
    breakpoint = m->breakpointCount() == 0 ? -1 : std::clamp(breakpoint, 0, m->breakpointCount() - 1);
    return *m;
}

Modulator* SpectrumTarget::parent(Generator& generator) {
    resolve(generator);
    if (path.empty()) return nullptr;
    Modulator* m = &generator.modulator(kViewProperties[view]);
    for (size_t i = 0; i + 1 < path.size(); ++i) m = m->children[path[i]].child.get();
    return m;
}

std::string SpectrumTarget::pathText(Generator& generator) {
    resolve(generator);
    std::string text = kViewNames[view];
    const Modulator* m = &generator.modulator(kViewProperties[view]);
    for (int32_t index : path) {
        m = m->children[index].child.get();
        text += " / " + m->name;
    }
    return text;
}

bool SpectrumTarget::read(Generator& generator, PartialCurve& out) {
    const int32_t count = generator.partialCount;
    if (out.size() != count) out = PartialCurve(count);
    Modulator& m = resolve(generator);
    if (breakpoint < 0) {
        out.clear();
        return false;
    }
    const PartialCurve& values = m.breakpoints[breakpoint].values;
    std::copy(values.data(), values.data() + std::min(count, values.size()), out.data());
    return true;
}

bool SpectrumTarget::write(Generator& generator, const PartialCurve& values) {
    Modulator& m = resolve(generator);
    if (breakpoint < 0) return false;
    PartialCurve& stored = m.breakpoints[breakpoint].values;
    const int32_t n = std::min({generator.partialCount, values.size(), stored.size()});
    std::copy(values.data(), values.data() + n, stored.data());
    return m.setBreakpointValues(breakpoint, stored);  // in place: the slopes around it only
}

bool SpectrumTarget::writePartial(Generator& generator, int32_t partial, float value) {
    Modulator& m = resolve(generator);
    if (breakpoint < 0 || partial < 0 || partial >= std::min(generator.partialCount, kMaxPartials))
        return false;
    PartialCurve& stored = m.breakpoints[breakpoint].values;
    stored[partial] = value;
    return m.setBreakpointValues(breakpoint, stored);
}

}  // namespace quenvale::editor
