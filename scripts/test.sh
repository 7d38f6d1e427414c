#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test: the plain build (the VST 2 plug-in and the LV2
# bundle), the same tests under AddressSanitizer + UndefinedBehaviorSanitizer, a ThreadSanitizer stress
# of two user-interface threads and the audio thread, and the 32-bit Windows cross-build.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc)
bash scripts/setup.sh

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
bash scripts/check-exports.sh build/QuenvaleVST.so
bash scripts/check-exports.sh build/lv2/Quenvale.lv2/quenvale.so lv2_descriptor
(cd build && ctest --output-on-failure -j "$JOBS")

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENVALE_SANITIZE=address,undefined \
  -DQUENVALE_BENCH=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$JOBS")

echo "== ThreadSanitizer: two user-interface threads and the audio thread (3 s stress)"
# Only what the stress program needs is built: the core library, the plug-in glue and the program.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENVALE_SANITIZE=thread \
  -DQUENVALE_BENCH=OFF -DQUENVALE_TOOLS=OFF >/dev/null
cmake --build build-tsan -j "$JOBS" --target quenvale_threads_stress
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/tests/stress/quenvale_threads_stress 3

echo "== 32-bit Windows cross-build"
cmake -S . -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build-win32 -j "$JOBS"
# grep reads the whole listing: with -q it would stop early and fail the pipe under pipefail.
i686-w64-mingw32-objdump -p build-win32/QuenvaleVST.dll | grep "VSTPluginMain" >/dev/null \
  || { echo "QuenvaleVST.dll does not export VSTPluginMain" >&2; exit 1; }
echo "QuenvaleVST.dll exports VSTPluginMain"

echo "== fuzzing every reader of outside bytes (85 s in all)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENVALE_FUZZ=ON \
  -DQUENVALE_SANITIZE=address,undefined -DQUENVALE_TESTS=OFF -DQUENVALE_BENCH=OFF -DQUENVALE_TOOLS=OFF >/dev/null
cmake --build build-fuzz -j "$JOBS"
rm -rf build-fuzz/corpus && mkdir -p build-fuzz/corpus/midi build-fuzz/corpus/wav
build-fuzz/tests/fuzz/quenvale_fuzz_seeds build-fuzz/corpus
cp examples/demo.qpb build-fuzz/corpus/bank/
cp examples/demo.mid build-fuzz/corpus/midi/
if [ -d tests/fuzz/regressions ]; then cp -r tests/fuzz/regressions/. build-fuzz/corpus/; fi
# entry  seconds  longest input  dictionary
FUZZ_ENTRIES=(
  "program 15 16384 records" "generator 15 16384 records" "envelope 5 16384 records"
  "step_seq 5 16384 records" "bank 10 65536 records" "chunk 10 65536 records"
  "midi 10 4096 midi" "wav 15 65536 -")
for entry in "${FUZZ_ENTRIES[@]}"; do
  read -r name seconds maxlen dict <<<"$entry"
  dict_option=()
  [ "$dict" != "-" ] && dict_option=("-dict=tests/fuzz/$dict.dict")
  mkdir -p "build-fuzz/corpus/$name"
  build-fuzz/tests/fuzz/quenvale_fuzz_$name -max_total_time="$seconds" -max_len="$maxlen" -rss_limit_mb=2048 \
    -print_final_stats=1 "${dict_option[@]}" "build-fuzz/corpus/$name" 2>"build-fuzz/fuzz-$name.log" \
    || { tail -n 60 "build-fuzz/fuzz-$name.log" >&2; exit 1; }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build-fuzz/fuzz-$name.log")
  echo "fuzz $name: $runs executions in $seconds s ($((runs / seconds)) per second)"
done
