#!/usr/bin/env bash
# Fails if a function of the wide-vector files keeps 32- or 64-byte registers on its stack without first
# rounding the stack pointer down to their size. The Windows builds need their own flags for that
# (see the wide-file options in CMakeLists.txt); without them such spills straddle cache lines and the
# AVX-512 path loses a third of its speed, while every render stays correct.
#   scripts/check-wide-frames.sh OBJDUMP OBJECT...
set -euo pipefail
objdump=$1
shift
status=0
for object in "$@"; do
  "$objdump" -d --no-show-raw-insn "$object" | awk -v object="$object" '
    function finish() {
      if (name != "" && wide > 0 && !realigned) {
        printf "%s: %s keeps %d wide registers on a stack it does not realign\n", object, name, wide
        bad = 1
      }
    }
    /^[0-9a-f]+ <.*>:$/ { finish(); name = $2; wide = 0; realigned = 0; next }
    /and +\$0x(ffffffff)?ffffff[ce]0,%[re]sp/ { realigned = 1 }
    /%[yz]mm[0-9]+/ && /\(%[re][sb]p\)/ { ++wide }
    END { finish(); exit bad }' || status=1
done
if [ $status = 0 ]; then echo "wide-vector frames realigned in $# object files"; fi
exit $status
