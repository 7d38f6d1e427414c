// A reference to one parameter field of the Channel, as the routing resolves it from a member index.
#pragma once

#include <cstdint>
#include <type_traits>

#include "params/mod_param.h"
#include "params/parameter_index.h"
#include "params/parameter_value.h"

namespace quenvale {

struct Channel;

enum class MemberType { None, Int, Float, Mod, ChMod };

// kConst: the reference was resolved from a const Channel and can only be read.
template <bool kConst>
struct MemberRefT {
    template <class T>
    using Field = std::conditional_t<kConst, const T, T>;

    MemberType type = MemberType::None;
    Field<int32_t>* intField = nullptr;
    Field<float>* floatField = nullptr;
    Field<ModParam>* mod = nullptr;
    Field<ChModParam>* chMod = nullptr;
    int32_t entry = kSlotBase;  // which of the modulated member's five entries

    static MemberRefT ofInt(Field<int32_t>& field) noexcept {
        MemberRefT r;
        r.type = MemberType::Int;
        r.intField = &field;
        return r;
    }
    static MemberRefT ofFloat(Field<float>& field) noexcept {
        MemberRefT r;
        r.type = MemberType::Float;
        r.floatField = &field;
        return r;
    }
    static MemberRefT ofMod(Field<ModParam>& param, int32_t entry) noexcept {
        MemberRefT r;
        r.type = MemberType::Mod;
        r.mod = &param;
        r.entry = entry;
        return r;
    }
    static MemberRefT ofChMod(Field<ChModParam>& param, int32_t entry) noexcept {
        MemberRefT r;
        r.type = MemberType::ChMod;
        r.chMod = &param;
        r.entry = entry;
        return r;
    }
};

using MemberRef = MemberRefT<false>;
using ConstMemberRef = MemberRefT<true>;
// The reference type that resolving inside an object of type T (const or not) gives.
template <class T>
using MemberRefFor = MemberRefT<std::is_const_v<T>>;

// Stores value into the referenced field: a float field or base takes the value as float, an int
// field or slot source its number as int32; a slot entry's store re-binds that slot in the channel.
void storeMember(const Channel& channel, const MemberRef& ref, const ParameterValue& value) noexcept;
// Base entries read back as Modulated or ChModulated (base, slot sources and amounts; the bindings
// empty), sources as Int, amounts as Float. Loads and stores are relaxed atomics.
ParameterValue readMember(const ConstMemberRef& ref) noexcept;

}  // namespace quenvale
