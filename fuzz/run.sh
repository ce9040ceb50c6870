#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for a bounded time on a scratch copy of its
# seed corpus (fuzz/corpus/<name>/ for the target fuzz_<name>; the repository's corpus is never
# changed). Prints the executions run per target and fails on any crash, leak, sanitizer report
# or broken invariant; the input that did it is kept in build/fuzz/artifacts/.
#
#   fuzz/run.sh [seconds per target]     (default 60; two targets run at a time)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(map_file settings saved_game typed_number records view_file sound_file)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

bin=build/fuzz/fuzz
artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The targets run under a Russian locale, as on a player's desktop (Qt adopts it at start-up);
# it is compiled into the scratch folder when the system lacks it.
locale_env=()
if locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
    locale_env=(LC_ALL=ru_RU.UTF-8)
elif command -v localedef >/dev/null && mkdir -p "$scratch/locale" \
        && { localedef -i ru_RU -f UTF-8 "$scratch/locale/ru_RU.UTF-8" >/dev/null 2>&1 || true; } \
        && [[ -d "$scratch/locale/ru_RU.UTF-8" ]]; then
    locale_env=(LOCPATH="$scratch/locale" LC_ALL=ru_RU.UTF-8)
else
    echo "note: no ru_RU locale available, fuzzing in the default locale"
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_target() {
    local name=$1
    mkdir -p "$scratch/$name"
    cp fuzz/corpus/"$name"/* "$scratch/$name/"
    # A target with words of its own has its own dictionary; the number files share one.
    local dict=fuzz/numbers.dict
    if [[ -f fuzz/$name.dict ]]; then dict=fuzz/$name.dict; fi
    env "${locale_env[@]}" "$bin/fuzz_$name" "$scratch/$name" -dict="$dict" \
        -max_total_time="$seconds" -rss_limit_mb=512 -timeout=5 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$name-" >"$scratch/$name.log" 2>&1
}

# Two at a time: one target per core.
declare -A status
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    pids=()
    for name in "${targets[@]:i:2}"; do
        run_target "$name" &
        pids+=("$!:$name")
    done
    for entry in "${pids[@]}"; do
        if wait "${entry%%:*}"; then status[${entry#*:}]=0; else status[${entry#*:}]=1; fi
    done
done

failed=0
printf '%-18s %12s  %s\n' target executions result
for name in "${targets[@]}"; do
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$name.log" 2>/dev/null | tail -1 || true)
    if [[ ${status[$name]} -eq 0 ]]; then
        printf '%-18s %12s  ok\n' "fuzz_$name" "${runs:-?}"
    else
        failed=1
        printf '%-18s %12s  FAILED\n' "fuzz_$name" "${runs:-?}"
        echo "---- fuzz_$name log (last 60 lines) ----"
        tail -60 "$scratch/$name.log"
    fi
done
exit "$failed"
