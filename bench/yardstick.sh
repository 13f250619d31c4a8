#!/usr/bin/env bash
# Times the library guide's Wordstat (examples/wordstat) against the same tool written on CLI11
# (bench/wordstat_cli11) on one command line of 50,000 -c texts, and prints the medians of their
# wall times and peak memory and the ratios. Reports only; no figure here fails anything, but
# the two tools must write the same lines.
# Both are Release builds at -O2 (CMake's Release is -O3, which the project keeps), each linked
# as its own build links it by default: dynamically, Wordstat with the static QuillonCore
# installed from this tree, whose objects GCC's linker plugin optimises again at link time.
# Usage: bench/yardstick.sh [build-folder]
# (needs cmake, g++, gcc, CLI11 2 from libcli11-dev, GNU time, python3)
set -euo pipefail
shopt -s inherit_errexit
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
build="${1:-$top/build-yardstick}"
runs=9

missing=()
for tool in cmake g++ gcc python3; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
# The shell's own `time` keyword cannot measure peak memory.
[[ -x /usr/bin/time ]] || missing+=("GNU time (/usr/bin/time)")
if ((${#missing[@]})); then
  printf 'bench/yardstick.sh needs: %s\n' "${missing[*]}" >&2
  exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$build"
build="$(cd "$build" && pwd)"

# The guide's Wordstat is built as its readers build it: on QuillonCore installed from this tree
# (the library alone), with the example's own CMake project.
release=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG")
cmake -S "$top" -B "$build/quilloncore" "${release[@]}" >/dev/null
cmake --build "$build/quilloncore" --target QuillonCore -j "$(nproc)" >/dev/null
for component in QuillonCore QuillonCoreLibrary; do
  cmake --install "$build/quilloncore" --prefix "$build/prefix" --component "$component" \
    >/dev/null
done
cmake -S "$top/examples/wordstat" -B "$build/wordstat" "${release[@]}" \
  -DCMAKE_PREFIX_PATH="$build/prefix" >/dev/null
cmake --build "$build/wordstat" >/dev/null
# Its project builds Wordstat on CLI11 only when CLI11 is installed.
cmake -S "$here/wordstat_cli11" -B "$build/cli11" "${release[@]}" >/dev/null
cmake --build "$build/cli11" >/dev/null
ours="$build/wordstat/Wordstat"
theirs="$build/cli11/wordstat_cli11"
if [[ ! -x $theirs ]]; then
  echo "bench/yardstick.sh needs CLI11 2 (apt-get install libcli11-dev)" >&2
  exit 2
fi
for tool in nothing launch; do
  gcc -O2 -static -o "$work/$tool" "$here/$tool.c"
done
python3 "$here/make_args.py" "$work"
args="$work/wordstat_50k"

export LC_ALL=C

# A target's compiler flags as its build compiles it, from the generated build files.
flags() {
  sed -n 's/^CXX_FLAGS = //p' "$1/CMakeFiles/$2.dir/flags.make"
}
# The shared libraries a program loads, or "none": how it was linked.
shared_libraries() {
  local names
  names="$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | paste -sd ' ' -)"
  echo "${names:-none}"
}

compiler="$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/wordstat/CMakeCache.txt")"
echo "Compiler: $("$compiler" --version | head -n 1)"
echo "Wordstat on QuillonCore: $ours"
echo "  QuillonCore compiled with: $(flags "$build/quilloncore" QuillonCore)"
echo "  Wordstat compiled with:    $(flags "$build/wordstat" Wordstat)"
echo "  shared libraries:          $(shared_libraries "$ours")"
# Its build line names the version of CLI11 it was compiled with.
echo "Wordstat on CLI11 $("$theirs" -v -c x 2>&1 >/dev/null | sed -n 's/.* on CLI11 //p'): $theirs"
echo "  compiled with:             $(flags "$build/cli11" wordstat_cli11)"
echo "  shared libraries:          $(shared_libraries "$theirs")"
echo

# One run through the launcher, standard output to a file: its wall time in microseconds, GNU
# time's start and the launcher's reading of the file included, and its peak resident size in
# KiB.
measure() {
  local start end
  start=$EPOCHREALTIME
  if ! /usr/bin/time -f %M -o "$work/time.txt" "$work/launch" "$args" "$1" >"$2"; then
    echo "FAIL: $1 on the 50,000 texts: $(head -n 1 "$work/time.txt")" >&2
    exit 1
  fi
  end=$EPOCHREALTIME
  echo "$((${end/./} - ${start/./})) $(tail -n 1 "$work/time.txt")"
}

median() {
  printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"
}

read -r _ load_before _ </proc/loadavg
# One run of each first, not counted: the files and programs are then in the page cache.
measure "$ours" "$work/ours.out" >/dev/null
measure "$theirs" "$work/theirs.out" >/dev/null
ours_times=() ours_peaks=() theirs_times=() theirs_peaks=() floor_times=() floor_peaks=()
for ((run = 0; run < runs; run++)); do
  result="$(measure "$ours" "$work/ours.out")"
  read -r wall peak <<<"$result"
  ours_times+=("$wall") ours_peaks+=("$peak")
  result="$(measure "$theirs" "$work/theirs.out")"
  read -r wall peak <<<"$result"
  theirs_times+=("$wall") theirs_peaks+=("$peak")
done
# For scale: what starting a program with this command line costs, measured the same way.
for ((run = 0; run < runs; run++)); do
  result="$(measure "$work/nothing" /dev/null)"
  read -r wall peak <<<"$result"
  floor_times+=("$wall") floor_peaks+=("$peak")
done
read -r _ load_after _ </proc/loadavg

lines="$(wc -l <"$work/ours.out")"
if [[ $lines != 50000 ]] || ! cmp -s "$work/ours.out" "$work/theirs.out"; then
  echo "FAIL: the two Wordstats wrote different output ($lines lines from ours):" >&2
  diff "$work/ours.out" "$work/theirs.out" >"$work/diff" || true
  head -n 10 "$work/diff" >&2
  exit 1
fi

ours_time="$(median "${ours_times[@]}")"
theirs_time="$(median "${theirs_times[@]}")"
floor_time="$(median "${floor_times[@]}")"
ours_peak="$(median "${ours_peaks[@]}")"
theirs_peak="$(median "${theirs_peaks[@]}")"
floor_peak="$(median "${floor_peaks[@]}")"

echo "50,000 -c texts ($(wc -c <"$args") bytes of arguments), standard output to a file,"
echo "medians of $runs runs each, the two tools alternating; $(nproc) cores, load average" \
  "$load_before before and $load_after after"
echo "(both outputs the same, $lines lines)"
echo
awk -v ot="$ours_time" -v tt="$theirs_time" -v ft="$floor_time" \
  -v op="$ours_peak" -v tp="$theirs_peak" -v fp="$floor_peak" 'BEGIN {
  printf "%-34s %12s %14s\n", "", "wall time", "peak memory"
  printf "%-34s %9.1f ms %10.1f MiB\n", "Wordstat on QuillonCore (ours)", ot / 1000, op / 1024
  printf "%-34s %9.1f ms %10.1f MiB\n", "Wordstat on CLI11", tt / 1000, tp / 1024
  printf "%-34s %11.2fx %13.2fx\n", "ours / CLI11", ot / tt, op / tp
  printf "%-34s %9.1f ms %10.1f MiB\n", "do-nothing program, for scale", ft / 1000, fp / 1024
}'
