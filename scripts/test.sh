#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test: the plain build (the VST 2 plug-in and the LV2
# bundle), the same tests under AddressSanitizer + UndefinedBehaviorSanitizer, a ThreadSanitizer stress
# of two user-interface threads and the audio thread, the 64- and 32-bit Windows cross-builds run under
# wine, and fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc)
stage() { echo "== $1 (at $((SECONDS / 60)) min $((SECONDS % 60)) s)"; }
bash scripts/setup.sh

stage "plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
bash scripts/check-exports.sh build/QuenvaleVST.so
bash scripts/check-exports.sh build/lv2/Quenvale.lv2/quenvale.so lv2_descriptor
(cd build && ctest --output-on-failure -j "$JOBS")

stage "AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENVALE_SANITIZE=address,undefined \
  -DQUENVALE_BENCH=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/../scripts/lsan-suppressions.txt" ctest --output-on-failure -j "$JOBS")

stage "ThreadSanitizer: two user-interface threads and the audio thread (3 s stress)"
# Only what the stress program needs is built: the core library, the plug-in glue and the program.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENVALE_SANITIZE=thread \
  -DQUENVALE_BENCH=OFF -DQUENVALE_TOOLS=OFF >/dev/null
cmake --build build-tsan -j "$JOBS" --target quenvale_threads_stress
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/tests/stress/quenvale_threads_stress 3

stage "Windows cross-builds: the 64-bit and 32-bit DLLs and the host check"
# A Windows build holds only the plug-in and quenvale-host-check (no tests, tools or benchmarks).
for width in 64 32; do
  toolchain=cmake/mingw-x86_64.cmake objdump=x86_64-w64-mingw32-objdump
  if [ $width = 32 ]; then toolchain=cmake/mingw-i686.cmake objdump=i686-w64-mingw32-objdump; fi
  cmake -S . -B build-win$width -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$toolchain >/dev/null
  cmake --build build-win$width -j "$JOBS"
  # grep reads the whole listing: with -q it would stop early and fail the pipe under pipefail.
  $objdump -p build-win$width/QuenvaleVST.dll | grep "VSTPluginMain" >/dev/null \
    || { echo "build-win$width/QuenvaleVST.dll does not export VSTPluginMain" >&2; exit 1; }
  echo "build-win$width/QuenvaleVST.dll exports VSTPluginMain"
done
bash scripts/check-wide-frames.sh x86_64-w64-mingw32-objdump $(find build-win64 -name '*_avx*.cpp.obj')
bash scripts/check-wide-frames.sh i686-w64-mingw32-objdump $(find build-win32 -name '*_avx*.cpp.obj')

stage "Windows DLLs under wine: record, capabilities, demo renders bit-identical to Linux on every path"
# A prefix of our own in the build folder; no display, no debug noise, no offer to install Mono or Gecko.
export WINEPREFIX="$PWD/build-wine/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" DISPLAY=
# The 32-bit DLL needs the 32-bit wine loader: run natively where the kernel runs 32-bit programs, else
# under qemu-i386 for the length of this script. Emulated, it gets 2.125 GB of address space (wine wants
# its 3 GB but works in this; qemu's start-up time grows with the space it reserves).
run32=yes
mode32=$(bash scripts/i386-emulation.sh on) || run32=no
trap 'bash scripts/i386-emulation.sh off' EXIT
export QEMU_RESERVED_VA=0x88000000
# Setting up the prefix (with its 32-bit half when 32-bit programs run) mostly waits: the references
# render meanwhile.
rm -rf build-wine && mkdir -p build-wine/reference build-wine/reference32
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 &
wineboot=$!
# Programs that draw random numbers when their spectra are read (random start phases, random dynamics:
# 5 "Evolving Pad" and 9 "Vibrato Flute" of the demo bank) depend on how many numbers the process drew
# before, since the generator is process-wide: each Linux reference renders in a process of its own,
# while the host check renders every program in one.
UNSEEDED_PROGRAMS="5 9"
programs=""
for n in 0 1 2 3 4 5 6 7 8 9; do
  case " $UNSEEDED_PROGRAMS " in *" $n "*) continue ;; esac
  programs="${programs:+$programs,}$n"
done
# The Linux references: the first 4 seconds of the demo with the demo bank, 512-frame blocks; the 32-bit
# runs, slow when emulated, compare the first 2 seconds.
for n in ${programs//,/ }; do
  for length in 4 2; do
    folder=build-wine/reference; [ $length = 2 ] && folder=build-wine/reference32
    build/tools/quenvale-render -q --program "$n" --bank examples/demo.qpb --length $length --block 512 \
      build/QuenvaleVST.so examples/demo.mid $folder/program-$n.wav >/dev/null
  done
done
wait $wineboot
host_check() {  # LOADER WIDTH LENGTH REFERENCES [QUENVALE_SIMD]
  QUENVALE_SIMD=${5:-} "$1" build-win$2/tools/quenvale-host-check.exe build-win$2/QuenvaleVST.dll \
    --midi examples/demo.mid --programs "$programs" --reference "$4" --bank examples/demo.qpb --length "$3" \
    --block 512 | grep -v "identical to the reference"
}
for path in "" avx2 sse2 scalar; do host_check /usr/lib/wine/wine64 64 4 build-wine/reference $path; done
if [ $run32 = yes ]; then
  echo "32-bit programs run $mode32"
  for path in "" sse2 scalar; do host_check /usr/lib/wine/wine 32 2 build-wine/reference32 $path; done
else
  echo "32-bit wine run SKIPPED: this machine runs no 32-bit programs (the 32-bit DLL is built only)"
fi
/usr/lib/wine/wineserver -k || true

stage "fuzzing every reader of outside bytes (85 s in all)"
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
echo "every stage passed in $((SECONDS / 60)) min $((SECONDS % 60)) s"
