#!/usr/bin/env bash
# Rebuilds everything that comes from the factory sounds' code (tools/make-factory-bank/): the bank file
# examples/factory.qpb, the copy of it compiled into the plug-in, and docs/sounds.md with its pictures.
# Run it after changing a sound, or after a change to the engine's random numbers (the pictures and the
# quality tool's measurements depend on them; `build/tools/bank-quality/quenvale-bank-quality
# --suggest-trims` then prints the level trims for tools/make-factory-bank/level_trims.cpp).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quenvale-make-factory-bank quenvale-sound-sheet
build/tools/quenvale-make-factory-bank examples/factory.qpb
rm -f docs/sounds/*.png
build/tools/sound-sheet/quenvale-sound-sheet docs
# The plug-in embeds examples/factory.qpb at build time.
cmake --build build -j "$(nproc)" --target QuenvaleVST
