// The tagged value that carries any parameter value between host, editor, programs and engine.
#pragma once

#include <bit>
#include <cstdint>

#include "params/mod_param.h"

namespace quenvale {

enum class ParameterKind : int32_t {
    None = 0,  // only from a failed read: every member zero
    Float = 1,
    Int = 2,
    Modulated = 3,
    ChModulated = 4,
};

// The members lie side by side; a value made by one of the make functions has every member empty
// except the one its kind selects.
struct ParameterValue {
    uint32_t number = 0;  // the bits of a float32 (Float) or of an int32 (Int)
    ModParam modulated;
    ChModParam chModulated;
    ParameterKind kind = ParameterKind::None;

    constexpr float numberAsFloat() const noexcept { return std::bit_cast<float>(number); }
    constexpr int32_t numberAsInt() const noexcept { return std::bit_cast<int32_t>(number); }
};

constexpr ParameterValue makeFloatValue(float value) noexcept {
    ParameterValue v;
    v.number = std::bit_cast<uint32_t>(value);
    v.kind = ParameterKind::Float;
    return v;
}

constexpr ParameterValue makeIntValue(int32_t value) noexcept {
    ParameterValue v;
    v.number = std::bit_cast<uint32_t>(value);
    v.kind = ParameterKind::Int;
    return v;
}

// Copies the base and both slots whole.
constexpr ParameterValue makeModulatedValue(const ModParam& value) noexcept {
    ParameterValue v;
    v.modulated = value;
    v.kind = ParameterKind::Modulated;
    return v;
}

constexpr ParameterValue makeChModulatedValue(const ChModParam& value) noexcept {
    ParameterValue v;
    v.chModulated = value;
    v.kind = ParameterKind::ChModulated;
    return v;
}

// The value as a float: Float gives the number, Modulated and ChModulated their base (not the
// modulated value), any other kind 0.
constexpr float valueAsFloat(const ParameterValue& value) noexcept {
    switch (value.kind) {
        case ParameterKind::Float:
            return value.numberAsFloat();
        case ParameterKind::Modulated:
            return value.modulated.base;
        case ParameterKind::ChModulated:
            return value.chModulated.base;
        default:
            return 0.0f;
    }
}

// The value as an integer: the number read as int32, whatever the kind.
constexpr int32_t valueAsInt(const ParameterValue& value) noexcept {
    return value.numberAsInt();
}

}  // namespace quenvale
