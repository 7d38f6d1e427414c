// Storing into and reading from a resolved parameter field, with slot re-binding.
#include "params/member_ref.h"

#include "params/mod_evaluation.h"
#include "params/relaxed_field.h"

namespace quenvale {
namespace {

// Slot entries 1 … 4: source 1, amount 1, source 2, amount 2.
int32_t slotOf(int32_t entry) noexcept {
    return (entry - 1) / 2;
}
bool isSource(int32_t entry) noexcept {
    return entry == kSlotSource1 || entry == kSlotSource2;
}

// Values are read and written as relaxed atomics: a user-interface thread reads what the audio thread
// stores (host automation). The binding fields belong to whichever thread binds and are not read here.
template <class Slot>
void storeSlotEntry(Slot& slot, int32_t entry, const ParameterValue& value) noexcept {
    if (isSource(entry)) {
        storeRelaxed(slot.source, valueAsInt(value));
    } else {
        storeRelaxed(slot.amount, valueAsFloat(value));
    }
}

template <class Slot>
ParameterValue readSlotEntry(const Slot& slot, int32_t entry) noexcept {
    return isSource(entry) ? makeIntValue(loadRelaxed(slot.source)) : makeFloatValue(loadRelaxed(slot.amount));
}

// The base and both slots' sources and amounts; the bindings are left empty.
template <class Param>
Param readValues(const Param& param) noexcept {
    Param copy;
    copy.base = loadRelaxed(param.base);
    for (int k = 0; k < 2; ++k) {
        copy.slots[k].source = loadRelaxed(param.slots[k].source);
        copy.slots[k].amount = loadRelaxed(param.slots[k].amount);
    }
    return copy;
}

}  // namespace

void storeMember(const Channel& channel, const MemberRef& ref, const ParameterValue& value) noexcept {
    switch (ref.type) {
        case MemberType::Int:
            storeRelaxed(*ref.intField, valueAsInt(value));
            break;
        case MemberType::Float:
            storeRelaxed(*ref.floatField, valueAsFloat(value));
            break;
        case MemberType::Mod:
            if (ref.entry == kSlotBase) {
                storeRelaxed(ref.mod->base, valueAsFloat(value));
            } else {
                ModSlot& slot = ref.mod->slots[slotOf(ref.entry)];
                storeSlotEntry(slot, ref.entry, value);
                bindSlot(channel, slot);
            }
            break;
        case MemberType::ChMod:
            if (ref.entry == kSlotBase) {
                storeRelaxed(ref.chMod->base, valueAsFloat(value));
            } else {
                ChModSlot& slot = ref.chMod->slots[slotOf(ref.entry)];
                storeSlotEntry(slot, ref.entry, value);
                bindChSlot(channel, slot);
            }
            break;
        case MemberType::None:
            break;
    }
}

ParameterValue readMember(const ConstMemberRef& ref) noexcept {
    switch (ref.type) {
        case MemberType::Int:
            return makeIntValue(loadRelaxed(*ref.intField));
        case MemberType::Float:
            return makeFloatValue(loadRelaxed(*ref.floatField));
        case MemberType::Mod:
            if (ref.entry == kSlotBase) return makeModulatedValue(readValues(*ref.mod));
            return readSlotEntry(ref.mod->slots[slotOf(ref.entry)], ref.entry);
        case MemberType::ChMod:
            if (ref.entry == kSlotBase) return makeChModulatedValue(readValues(*ref.chMod));
            return readSlotEntry(ref.chMod->slots[slotOf(ref.entry)], ref.entry);
        case MemberType::None:
            break;
    }
    return ParameterValue{};
}

}  // namespace quenvale
