#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test: the plain build, the same tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, and the 32-bit Windows cross-build.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=$(nproc)
bash scripts/setup.sh

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
bash scripts/check-exports.sh build/QuenvaleVST.so
(cd build && ctest --output-on-failure -j "$JOBS")

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENVALE_SANITIZE=address,undefined \
  -DQUENVALE_BENCH=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions="$PWD/../scripts/lsan-suppressions.txt" ctest --output-on-failure -j "$JOBS")

echo "== 32-bit Windows cross-build"
cmake -S . -B build-win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build-win32 -j "$JOBS"
# grep reads the whole listing: with -q it would stop early and fail the pipe under pipefail.
i686-w64-mingw32-objdump -p build-win32/QuenvaleVST.dll | grep "VSTPluginMain" >/dev/null \
  || { echo "QuenvaleVST.dll does not export VSTPluginMain" >&2; exit 1; }
echo "QuenvaleVST.dll exports VSTPluginMain"

echo "== fuzzing the record readers (60 s) and the WAV reader (30 s)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENVALE_FUZZ=ON \
  -DQUENVALE_SANITIZE=address,undefined -DQUENVALE_TESTS=OFF -DQUENVALE_BENCH=OFF -DQUENVALE_TOOLS=OFF >/dev/null
cmake --build build-fuzz -j "$JOBS"
rm -rf build-fuzz/corpus build-fuzz/corpus-wav && mkdir -p build-fuzz/corpus
build-fuzz/tests/fuzz/quenvale_fuzz_seeds build-fuzz/corpus
build-fuzz/tests/fuzz/quenvale_fuzz_records -max_total_time=60 -rss_limit_mb=2048 -print_final_stats=1 \
  build-fuzz/corpus
mkdir -p build-fuzz/corpus-wav
build-fuzz/tests/fuzz/quenvale_fuzz_wav -max_total_time=30 -rss_limit_mb=2048 -print_final_stats=1 \
  build-fuzz/corpus-wav
