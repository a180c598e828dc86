#!/usr/bin/env bash
# Builds the fuzzing targets with clang 16 (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each on its seed corpus for SECONDS (default 30). New inputs go to a scratch folder;
# a finding stops the script with the failing input left in build-fuzz/.
#   bash fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(lines csv control us af ac ap au ah an am at ad)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-16 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVELA_FUZZ=ON -DCORVELA_GUI=OFF >/dev/null
cmake --build build-fuzz --target fuzzers
for t in "${targets[@]}"; do
  scratch=$(mktemp -d)
  echo "== fuzz_$t, ${seconds} s"
  log="$scratch.log"
  if build-fuzz/fuzz/fuzz_$t "$scratch" "fuzz/corpus/$t" -max_total_time="$seconds" \
    -max_len=8192 -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/ >"$log" 2>&1; then status=0; else status=$?; fi
  grep -E '^(stat::number_of_executed_units|SUMMARY|==[0-9]+==ERROR)' "$log" || true
  rm -rf "$scratch" "$log"
  [ "$status" -eq 0 ] || { echo "fuzz_$t found a failure (status $status)"; exit 1; }
done
