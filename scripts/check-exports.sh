#!/usr/bin/env bash
# Fails unless the plug-in's dynamic symbol table defines its entry point (VSTPluginMain, or the one
# given second: lv2_descriptor for the LV2 module) and nothing else of ours.
set -euo pipefail
so=${1:-build/QuenvaleVST.so}
entry=${2:-VSTPluginMain}
syms=$(nm -D --defined-only "$so" | awk '{print $3}' | grep -v '^_\(init\|fini\|edata\|end\|_bss_start\)$' || true)
if [ "$syms" != "$entry" ]; then
  echo "unexpected exports in $so:" >&2
  echo "$syms" >&2
  exit 1
fi
echo "$so exports only $entry"
