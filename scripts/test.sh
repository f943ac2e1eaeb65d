#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full build
# (core, windows, tools) and then the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer. Fails when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs=$(nproc)

echo "== Full build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Naming rule"
TIDY_JOBS=$jobs ./scripts/tidy.sh build

echo "== Core under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTELMORA_CORE_ONLY=ON -DTELMORA_SANITIZE=ON -DTELMORA_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Fuzz targets, ${TELMORA_FUZZ_SECONDS:-5} s each"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTELMORA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
mkdir -p build-fuzz/artifacts
for corpus in tests/fuzz-corpus/*/; do
    target=$(basename "$corpus")
    # New inputs go to a scratch folder; the seeds in the tree stay as they are.
    scratch=$(mktemp -d)
    echo "-- $target"
    status=0
    build-fuzz/fuzz/"$target" -max_total_time="${TELMORA_FUZZ_SECONDS:-5}" -print_final_stats=1 \
        -artifact_prefix=build-fuzz/artifacts/"$target"- "$scratch" "$corpus" \
        >build-fuzz/"$target".log 2>&1 || status=$?
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' build-fuzz/"$target".log || true
    rm -rf "$scratch"
    if [ "$status" -ne 0 ]; then
        tail -n 40 build-fuzz/"$target".log
        echo "$target failed (exit $status); the input that broke it is in build-fuzz/artifacts/"
        exit 1
    fi
done
echo "Fuzz targets: none failed"
