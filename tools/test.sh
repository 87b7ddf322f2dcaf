#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as
# errors and runs every test three times: under AddressSanitizer with
# UndefinedBehaviorSanitizer, the threaded ones under ThreadSanitizer, and all
# of them in the main build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== formatting"
# Every C and C++ file is as .clang-format lays it out.
git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
bash tools/build.sh build-asan -DZELVO_WERROR=ON -DZELVO_SANITIZE=address,undefined \
  -DZELVO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 120 -LE app
# Qt keeps caches and plugin state to the end of the process, which the leak
# checker reports; the window tests run with every other check on.
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 120 -L app

echo "== ThreadSanitizer"
bash tools/build.sh build-tsan -DZELVO_WERROR=ON -DZELVO_SANITIZE=thread \
  -DZELVO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-tsan -j "$jobs" --output-on-failure --timeout 120 -L threaded

echo "== main build, every test"
bash tools/build.sh build -DZELVO_WERROR=ON
ctest --test-dir build -j "$jobs" --output-on-failure
