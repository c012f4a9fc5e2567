#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build/fuzz
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc)
model_sources=(src/model/BeamModel.cpp src/model/modText.cpp src/model/modEqParse.cpp src/model/modFileWrite.cpp
               src/model/SafeFile.cpp)

build_target() { # name, sources...
    local name=$1
    shift
    clang++-14 "${flags[@]}" "$@" -o "$out/$name"
}

build_target fuzz_ReadModel tests/fuzz/fuzz_ReadModel.cpp "${model_sources[@]}"
build_target fuzz_EvaluateExpr tests/fuzz/fuzz_EvaluateExpr.cpp src/model/modEqParse.cpp
build_target fuzz_OpenResultsFile tests/fuzz/fuzz_OpenResultsFile.cpp src/results/ResultsFile.cpp \
    src/results/modResults.cpp "${model_sources[@]}"
build_target fuzz_ReadModelJson tests/fuzz/fuzz_ReadModelJson.cpp src/json/ModelJson.cpp \
    src/model/LoadCases.cpp "${model_sources[@]}"

for target in fuzz_ReadModel fuzz_EvaluateExpr fuzz_OpenResultsFile fuzz_ReadModelJson; do
    corpus="$out/corpus-$target"
    mkdir -p "$corpus"
    seeds="tests/fuzz/seeds/$target"
    [ "$target" = fuzz_ReadModel ] && seeds=examples # real model files to mutate
    [ "$target" = fuzz_OpenResultsFile ] && seeds=tests/data/results # real results files
    echo "Fuzzing $target for ${seconds}s"
    "$out/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=0 \
        "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) 2>"$out/$target.log" ||
        { tail -n 60 "$out/$target.log"; echo "fuzz: $target found a fault"; exit 1; }
    grep -E '^Done|#[0-9]+.*DONE' "$out/$target.log" | tail -n 1 || true
done
