// Editor opcodes: trace line, then the editor window seam. effEditIdle stays unanswered: the editor
// runs its own thread and needs no idle calls.
#include "common/debug_output.h"
#include "plugin/torvane_interface.h"

namespace quenvale {

VstIntPtr TorvaneInterface::editorOpcode(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                         float opt) {
    switch (opcode) {
        case effEditGetRect:
            if (ptr == nullptr) return 0;
            *static_cast<ERect**>(ptr) = &editorRect_;
            return 1;
        case effEditOpen:
        case effEditClose:
            DebugTrace("%s (nOpcode: %d, nIndex: %d, nValue: %d, pPtr: %08x, fOpt: %f",
                       opcode == effEditOpen ? "effEditOpen" : "effEditClose", opcode, index,
                       static_cast<int>(value), traceAddress(ptr), static_cast<double>(opt));
            if (opcode == effEditOpen) return editor_.open(ptr) ? 1 : 0;
            editor_.close();
            return 1;
        case effEditDraw:
            // The editor paints itself on its own thread.
            return 1;
        default:
            return 0;
    }
}

}  // namespace quenvale
