#!/usr/bin/env bash
# Sets up the machine, builds the plug-in and the renderer, and renders examples/demo.mid to demo.wav.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target QuenvaleVST quenvale-render

args=()
# The demo bank, once there is one, gives the piece its sound; without it the plug-in's own programs play.
if [ -f examples/demo.qpb ]; then
  args+=(--bank examples/demo.qpb)
fi
build/tools/quenvale-render "${args[@]}" build/QuenvaleVST.so examples/demo.mid demo.wav
