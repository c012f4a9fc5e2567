#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds, two at a
# time.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build/fuzz
mkdir -p "$out/obj"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -Isrc)
link_flags=(-fsanitize=fuzzer,address,undefined)
model_sources=(src/model/BeamModel.cpp src/model/modText.cpp src/model/modEqParse.cpp src/model/modFileWrite.cpp
               src/model/SafeFile.cpp)
sources=("${model_sources[@]}" src/results/ResultsFile.cpp src/results/modResults.cpp src/json/ModelJson.cpp
         src/model/LoadCases.cpp tests/fuzz/fuzz_ReadModel.cpp tests/fuzz/fuzz_EvaluateExpr.cpp
         tests/fuzz/fuzz_OpenResultsFile.cpp tests/fuzz/fuzz_ReadModelJson.cpp)

object() { echo "$out/obj/$(basename "${1%.cpp}").o"; }

# Each source once, two compilers at a time (the flags hold no blanks).
for s in "${sources[@]}"; do printf '%s\0%s\0' "$s" "$(object "$s")"; done |
    xargs -0 -n 2 -P 2 bash -c 'clang++-14 '"${flags[*]}"' -c "$0" -o "$1"'

link_target() { # name, sources...
    local name=$1 objects=()
    shift
    for s in "$@"; do objects+=("$(object "$s")"); done
    clang++-14 "${link_flags[@]}" "${objects[@]}" -o "$out/$name"
}

link_target fuzz_ReadModel tests/fuzz/fuzz_ReadModel.cpp "${model_sources[@]}"
link_target fuzz_EvaluateExpr tests/fuzz/fuzz_EvaluateExpr.cpp src/model/modEqParse.cpp
link_target fuzz_OpenResultsFile tests/fuzz/fuzz_OpenResultsFile.cpp src/results/ResultsFile.cpp \
    src/results/modResults.cpp "${model_sources[@]}"
link_target fuzz_ReadModelJson tests/fuzz/fuzz_ReadModelJson.cpp src/json/ModelJson.cpp \
    src/model/LoadCases.cpp "${model_sources[@]}"

fuzz() { # target
    local target=$1 corpus="$out/corpus-$1" seeds="tests/fuzz/seeds/$1"
    mkdir -p "$corpus"
    [ "$target" = fuzz_ReadModel ] && seeds=examples # real model files to mutate
    [ "$target" = fuzz_OpenResultsFile ] && seeds=tests/data/results # real results files
    "$out/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=0 \
        "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) 2>"$out/$target.log" ||
        { tail -n 60 "$out/$target.log"; echo "fuzz: $target found a fault"; return 1; }
    echo "Fuzzed $target for ${seconds}s: $(grep -E '^Done|#[0-9]+.*DONE' "$out/$target.log" | tail -n 1)"
}

status=0
for pair in "fuzz_ReadModel fuzz_EvaluateExpr" "fuzz_OpenResultsFile fuzz_ReadModelJson"; do
    pids=()
    for target in $pair; do
        fuzz "$target" &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do wait "$pid" || status=1; done
done
exit $status
