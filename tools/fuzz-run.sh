#!/usr/bin/env bash
# Writes the seed corpus, then fuzzes the target-list reader for a fixed time in a fresh corpus.
# libFuzzer exits non-zero on any crash, leak, timeout or sanitizer report, and so does this script.
# An input that takes longer than INPUT_SECONDS is a finding: a list that hangs the panel.
# Usage: fuzz-run.sh FUZZER SEED_GENERATOR WORK_DIR [SECONDS [INPUT_SECONDS]]
set -euo pipefail

fuzzer=$1
seed_generator=$2
work_dir=$3
seconds=${4:-60}
input_seconds=${5:-2}

seed_dir=$work_dir/corpus-seed
corpus_dir=$work_dir/corpus
artifact_dir=$work_dir/fuzz-artifacts

rm -rf "$seed_dir" "$corpus_dir" "$artifact_dir"
mkdir -p "$seed_dir" "$corpus_dir" "$artifact_dir"

"$seed_generator" "$seed_dir"
seed_count=$(find "$seed_dir" -type f | wc -l)
if ((seed_count == 0)); then
    echo "fuzz-run: $seed_generator wrote no seed files into $seed_dir" >&2
    exit 1
fi
echo "fuzz-run: $seed_count seed files in $seed_dir; fuzzing for ${seconds}s," \
    "at most ${input_seconds}s per input"

# New inputs go into the first folder; the seeds are only read.
"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout="$input_seconds" \
    -print_final_stats=1 -artifact_prefix="$artifact_dir/" "$corpus_dir" "$seed_dir"
