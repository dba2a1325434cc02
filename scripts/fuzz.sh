#!/usr/bin/env bash
# Builds the libFuzzer targets (the "fuzz" preset) and runs each over its
# seed corpus for SECONDS (default 20): scripts/fuzz.sh [SECONDS] [TARGET...]
# New inputs go to build/fuzz/corpus/<name>; the seeds in fuzz/corpus stay
# as they are. A crash leaves its input in build/fuzz/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(mm_reader_fuzz effect_file_fuzz image_fuzz mp3_fuzz)
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}"
for target in "${targets[@]}"; do
  # The corpus and dictionary folder of each target.
  case $target in
    mm_reader_fuzz) name=mm ;;
    effect_file_fuzz) name=effect ;;
    *) name=${target%_fuzz} ;;
  esac
  work=build/fuzz/corpus/$name
  log=build/fuzz/$target.log
  mkdir -p "$work"
  options=(-max_total_time="$seconds" -close_fd_mask=3 -print_final_stats=1
           -artifact_prefix=build/fuzz/"$target"-)
  [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
  echo "== $target: $seconds s"
  if ! build/fuzz/bin/"$target" "${options[@]}" "$work" "fuzz/corpus/$name" >"$log" 2>&1; then
    cat "$log"
    echo "$target failed; the input is in build/fuzz/"
    exit 1
  fi
  grep -E "^#[0-9]+.*DONE|stat::number_of_executed_units" "$log"
done
