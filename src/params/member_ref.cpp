// Storing into and reading from a resolved parameter field, with slot re-binding.
#include "params/member_ref.h"

#include "params/mod_evaluation.h"

namespace quenvale {
namespace {

// Slot entries 1 … 4: source 1, amount 1, source 2, amount 2.
int32_t slotOf(int32_t entry) noexcept {
    return (entry - 1) / 2;
}
bool isSource(int32_t entry) noexcept {
    return entry == kSlotSource1 || entry == kSlotSource2;
}

template <class Slot>
void storeSlotEntry(Slot& slot, int32_t entry, const ParameterValue& value) noexcept {
    if (isSource(entry)) {
        slot.source = valueAsInt(value);
    } else {
        slot.amount = valueAsFloat(value);
    }
}

template <class Slot>
ParameterValue readSlotEntry(const Slot& slot, int32_t entry) noexcept {
    return isSource(entry) ? makeIntValue(slot.source) : makeFloatValue(slot.amount);
}

}  // namespace

void storeMember(const Channel& channel, const MemberRef& ref, const ParameterValue& value) noexcept {
    switch (ref.type) {
        case MemberType::Int:
            *ref.intField = valueAsInt(value);
            break;
        case MemberType::Float:
            *ref.floatField = valueAsFloat(value);
            break;
        case MemberType::Mod:
            if (ref.entry == kSlotBase) {
                ref.mod->base = valueAsFloat(value);
            } else {
                ModSlot& slot = ref.mod->slots[slotOf(ref.entry)];
                storeSlotEntry(slot, ref.entry, value);
                bindSlot(channel, slot);
            }
            break;
        case MemberType::ChMod:
            if (ref.entry == kSlotBase) {
                ref.chMod->base = valueAsFloat(value);
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
            return makeIntValue(*ref.intField);
        case MemberType::Float:
            return makeFloatValue(*ref.floatField);
        case MemberType::Mod:
            if (ref.entry == kSlotBase) return makeModulatedValue(*ref.mod);
            return readSlotEntry(ref.mod->slots[slotOf(ref.entry)], ref.entry);
        case MemberType::ChMod:
            if (ref.entry == kSlotBase) return makeChModulatedValue(*ref.chMod);
            return readSlotEntry(ref.chMod->slots[slotOf(ref.entry)], ref.entry);
        case MemberType::None:
            break;
    }
    return ParameterValue{};
}

}  // namespace quenvale
