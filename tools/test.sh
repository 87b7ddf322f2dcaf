#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test;
# then runs the library and simulator tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the threaded ones under ThreadSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/setup.sh
jobs=$(nproc)

echo "== sanitizer builds: AddressSanitizer + UndefinedBehaviorSanitizer, ThreadSanitizer"
bash tools/build.sh build-asan -DZELVO_WERROR=ON -DZELVO_SANITIZE=address,undefined \
  -DZELVO_BUILD_APP=OFF -DZELVO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 120
bash tools/build.sh build-tsan -DZELVO_WERROR=ON -DZELVO_SANITIZE=thread \
  -DZELVO_BUILD_APP=OFF -DZELVO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-tsan -j "$jobs" --output-on-failure --timeout 120 -L threaded

echo "== main build, every test"
bash tools/build.sh build -DZELVO_WERROR=ON
QT_QPA_PLATFORM=offscreen ctest --test-dir build -j "$jobs" --output-on-failure
