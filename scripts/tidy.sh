#!/usr/bin/env bash
# Checks the naming rule of the root .clang-tidy over the sources of src/ and tools/ and the
# headers they include, using the compile database of a configured build.
#
#   scripts/tidy.sh [--fix] [build-dir]     (build-dir defaults to build; TIDY_JOBS=2)
#
# Without --fix it prints every name that breaks the rule and exits 1 when there is one.
# With --fix it renames them, every use included: the tests and benchmarks are processed
# too so that their uses follow (their own names are exempt, see tests/.clang-tidy).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=build
fix=0
for arg in "$@"; do
    case $arg in
    --fix) fix=1 ;;
    -h | --help)
        sed -n '2,9p' "$0"
        exit 0
        ;;
    *) build=$arg ;;
    esac
done
[[ $build = /* ]] || build=$root/$build
if [[ ! -f $build/compile_commands.json ]]; then
    echo "tidy.sh: no $build/compile_commands.json; configure the build first" >&2
    exit 2
fi
jobs=${TIDY_JOBS:-2}
headers="^$root/(src|tools)/"

if ((fix)); then
    run-clang-tidy -p "$build" -j "$jobs" -quiet -header-filter "$headers" -fix \
        "^$root/(src|tools|tests|bench)/.*\.cpp$"
    exit 0
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
run-clang-tidy -p "$build" -j "$jobs" -quiet -header-filter "$headers" \
    "^$root/(src|tools)/.*\.cpp$" 2>&1 | sed 's/\x1b\[[0-9;]*m//g' >"$log" || true
# Each header's findings come once per source that includes it: print them once.
grep -E '^/.*: (warning|error):' "$log" | sort -u || true
if grep -qE ': (warning|error):' "$log"; then
    echo "tidy.sh: names above break the rule (scripts/tidy.sh --fix renames them)" >&2
    exit 1
fi
echo "tidy.sh: every name in src/ and tools/ follows the rule"
