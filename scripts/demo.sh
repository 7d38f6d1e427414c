#!/usr/bin/env bash
# Sets up the machine, builds the plug-in and the renderer, and renders the two demo pieces through the
# plug-in's own factory bank (no bank file needed): examples/demo.mid (program 0, "Soft Keys") to demo.wav,
# and examples/tour.mid, a tour of factory sounds chosen by the program changes in the file, to tour.wav.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target QuenvaleVST quenvale-render

build/tools/quenvale-render build/QuenvaleVST.so examples/demo.mid demo.wav
build/tools/quenvale-render --tail 4 build/QuenvaleVST.so examples/tour.mid tour.wav
