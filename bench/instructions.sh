#!/usr/bin/env bash
# Counts the instructions of four command lines with callgrind, and the minor page faults and
# peak memory of the longest, so that a change shows what it costs in figures that do not move
# with the machine's load. Reports only; no figure here fails anything.
# Usage: bench/instructions.sh [build-folder]   (needs cmake, gcc, valgrind, GNU time, python3)
set -euo pipefail
shopt -s inherit_errexit
here="$(cd "$(dirname "$0")" && pwd)"
top="$(dirname "$here")"
build="${1:-$top/build-instructions}"

missing=()
for tool in cmake gcc valgrind python3; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
# The shell's own `time` keyword cannot count page faults.
[[ -x /usr/bin/time ]] || missing+=("GNU time (/usr/bin/time)")
if ((${#missing[@]})); then
  printf 'bench/instructions.sh needs: %s\n' "${missing[*]}" >&2
  exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target Lettrix -j 2 >/dev/null
build="$(cd "$build" && pwd)"
for tool in nothing launch; do
  gcc -O2 -static -o "$work/$tool" "$here/$tool.c"
done
python3 "$here/make_args.py" "$work"

# The case table and the controls depend on the locale; the figures are the C locale's.
export LC_ALL=C
lettrix="$build/Lettrix"

# The launcher replaces itself with the program, and callgrind, following it, reports only the
# program's own instructions.
instructions() {
  local log="$work/callgrind.log"
  valgrind --tool=callgrind --trace-children=yes --callgrind-out-file=/dev/null \
    --log-file="$log" "$work/launch" "$work/$1" "$2" >/dev/null
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$log" | tail -n 1
}

# Minor page faults and peak resident size in KiB, the launcher's reading of the file included.
faults_and_peak() {
  /usr/bin/time -f '%R %M' -o "$work/time.txt" "$work/launch" "$work/$1" "$2" >/dev/null
  tail -n 1 "$work/time.txt"
}

# 1234567 as 1,234,567: the C locale that the runs need has no thousands separator for printf.
grouped() {
  sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$1"
}

compiler="$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")"
build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")"
echo "Lettrix: $lettrix ($build_type, $("$compiler" --version | head -n 1))"
echo "These figures hold for the Release build (static, link-time optimised) with Debian 12's"
echo "GCC 12, the compiler CI runs on; another compiler or build counts differently."
echo
printf '%-30s %15s %15s\n' "line (LC_ALL=C)" "instructions" "do-nothing"
for line in "small:-u abc" "reverse_120k:-w on 120 KiB" "proper_120k:-p on 120 KiB" \
  "pairs_4n:96,000 -u x pairs"; do
  ours="$(instructions "${line%%:*}" "$lettrix")"
  floor="$(instructions "${line%%:*}" "$work/nothing")"
  printf '%-30s %15s %15s\n' "${line#*:}" "$(grouped "$ours")" "$(grouped "$floor")"
done
echo
read -r faults peak <<<"$(faults_and_peak pairs_4n "$lettrix")"
read -r floor_faults floor_peak <<<"$(faults_and_peak pairs_4n "$work/nothing")"
printf '%-30s %15s %15s\n' "96,000 -u x pairs, launcher in" "Lettrix" "do-nothing"
printf '%-30s %15s %15s\n' "minor page faults" "$(grouped "$faults")" "$(grouped "$floor_faults")"
printf '%-30s %15s %15s\n' "peak memory (max RSS)" \
  "$(awk -v k="$peak" 'BEGIN { printf "%.1f MiB", k / 1024 }')" \
  "$(awk -v k="$floor_peak" 'BEGIN { printf "%.1f MiB", k / 1024 }')"
