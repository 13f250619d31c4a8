#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds, installs, packages and reuses the project the way its users do, and checks each
# result: two clean builds give the same program, a second build with nothing changed relinks
# nothing, the install tree, the manual page, bash completion, a second tool built on the
# installed QuillonCore alone (through CMake and through pkg-config), and a lintian-clean .deb
# whose Installed-Size is that of its files.
# Needs cmake, a C++ compiler, man-db, groff-base, bash-completion, dpkg-dev, file, pkg-config
# and lintian.
# With CI=true it also installs the .deb on this machine and removes it again.
set -uo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
step() { echo "-- $* (${SECONDS}s)"; }

# Every switch form the program accepts, in its documented spelling.
forms=(
  -u --upper -L --lower -p --proper -i --invert -m --mirror -w --reverse-words
  -r --reverse-all -a --allow-blanks -o --one-line -n --no-spaces -x --extended-delims
  -b --banner -v --verbose --build -h --help '-?' --h2 '--??' --help2
  --info --version-only --build-only --audible-error --error-delay --debug-mode --debug
)
sorted_forms=$(printf '%s\n' "${forms[@]}" | LC_ALL=C sort)

step "two clean builds in different folders, one as if the test tools were missing"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1700000000}
build_a=$work/a
build_b=$work/b/a/longer/path
{ cmake -S "$source_dir" -B "$build_a" -DLETTRIX_TESTS=OFF && cmake --build "$build_a"; } \
  >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }
# Neither GoogleTest nor Python: the program still builds, and configuring says what is missing.
{ cmake -S "$source_dir" -B "$build_b" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_Python3=ON -DGOOGLETEST_SOURCE_DIR="$work/no-googletest" &&
  cmake --build "$build_b"; } >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }
grep -q -- '-- Tests not built: they need GoogleTest (apt-get install googletest) and Python' \
  "$work/build.log" || fail "configuring without the test tools does not say what to install"
cmp "$build_a/Lettrix" "$build_b/Lettrix" ||
  fail "two builds with SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH differ"

step "a build with nothing changed"
# Nanosecond file times: a relink within the same second still shows.
built_files=("$build_a/Lettrix" "$build_a/libQuillonCore.a" "$build_a/libLettrixApp.a")
stat -c '%n %.9Y' "${built_files[@]}" >"$work/times.before"
start=$(date +%s%N)
cmake --build "$build_a" >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }
echo "   took $((($(date +%s%N) - start) / 1000000)) ms"
stat -c '%n %.9Y' "${built_files[@]}" >"$work/times.after"
diff "$work/times.before" "$work/times.after" >/dev/null ||
  fail "a second build with nothing changed rebuilt: $(cat "$work/build.log")"

step "install tree"
# Installed in one place and used from another: the package must not remember its prefix.
cmake --install "$build_a" --prefix "$work/stage" >/dev/null || exit 1
prefix="$work/install root"
mv "$work/stage" "$prefix"
for file in bin/Lettrix share/man/man1/Lettrix.1.gz share/bash-completion/completions/lettrix \
    share/zsh/site-functions/_lettrix share/fish/vendor_completions.d/lettrix.fish \
    lib/libQuillonCore.a include/quilloncore/core/params.h \
    include/quilloncore/platform/platform.h include/quilloncore/platform/ascii.h \
    lib/cmake/QuillonCore/QuillonCoreConfig.cmake \
    lib/cmake/QuillonCore/QuillonCoreConfigVersion.cmake lib/pkgconfig/quilloncore.pc; do
  [[ -f "$prefix/$file" && ! -L "$prefix/$file" ]] || fail "$file missing"
done
while read -r link target; do
  [[ $(readlink "$prefix/$link") == "$target" ]] || fail "$link does not link to $target"
done <<'EOF'
bin/lettrix Lettrix
share/man/man1/lettrix.1.gz Lettrix.1.gz
share/bash-completion/completions/Lettrix lettrix
share/fish/vendor_completions.d/Lettrix.fish lettrix.fish
EOF
# The program names itself after the file the link resolves to.
"$prefix/bin/lettrix" --version-only 2>&1 | grep -q '^Lettrix v' ||
  fail "bin/lettrix does not call itself Lettrix"

step "manual page"
# Every warning groff knows (-ww), not only the undefined macros that --warnings alone reports.
MANWIDTH=80 man --warnings=w -l "$prefix/share/man/man1/lettrix.1.gz" >"$work/page" \
  2>"$work/man.err"
[[ -s "$work/man.err" ]] && fail "man warns: $(cat "$work/man.err")"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' EXAMPLES NOTES 'SEE ALSO'; do
  grep -qx "$section" "$work/page" || fail "manual page lacks $section"
done
for form in "${forms[@]}" 64 65 67 70 71 74 255; do
  grep -qF -- "$form" "$work/page" || fail "manual page does not mention $form"
done

step "bash completion"
# A folder where -? and --?? match file names, as they would be in a user's folder.
mkdir "$work/patterns" && touch -- "$work/patterns/-a" "$work/patterns/--ab"
bash --norc --noprofile -s "$prefix" "$sorted_forms" "$work/patterns" >"$work/bash.out" 2>&1 \
  <<'EOF' ||
prefix=$1 expected=$2
cd "$3" || exit
source /usr/share/bash-completion/bash_completion
# The loader finds the file by either name under the prefix's share folder.
export XDG_DATA_DIRS="$prefix/share"
for command in Lettrix lettrix; do
  __load_completion "$command" && complete -p "$command" | grep -q _lettrix ||
    echo "no completion loaded for $command"
done
offer() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _lettrix
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}
# Each word offered, read back by the shell here, is the switch itself and no file name.
read_back() {
  local word
  while IFS= read -r word; do eval "printf '%s\n' $word"; done | LC_ALL=C sort
}
[[ $(offer lettrix '' | read_back) == "$expected" ]] ||
  echo "offers, read back: $(offer lettrix '' | read_back | tr '\n' ' ')"
[[ $(offer Lettrix --UP) == --upper ]] || echo "--UP gives $(offer Lettrix --UP)"
[[ $(offer lettrix /rev | tr '\n' ' ') == '/reverse-all /reverse-words ' ]] ||
  echo "/rev gives $(offer lettrix /rev)"
[[ -z $(offer lettrix -u '') ]] || echo "offers switches for the text of -u"
[[ -z $(offer lettrix abc) ]] || echo "offers switches for a text"
EOF
  fail "bash completion could not be run"
[[ -s "$work/bash.out" ]] && fail "bash completion: $(cat "$work/bash.out")"
# Every form offered is one the program accepts: one it did not know would be an invalid
# parameter (65). Placed last, a form gets no value: a transformation switch is then incomplete
# (67), and --error-delay does not pause.
for form in "${forms[@]}"; do
  "$prefix/bin/Lettrix" -u x "$form" >/dev/null 2>&1
  status=$?
  [[ $status == 0 || $status == 67 || $status == 255 ]] ||
    fail "Lettrix -u x $form ends with $status"
done

step "example tool on the installed QuillonCore"
# Bytecount behaves the same however it was built.
check_bytecount() {
  local program=$1 how=$2 out status
  out=$("$program" -c abc --count "two words" -t | od -c)
  [[ $out == "$(printf '3\r\n9\r\ntotal 12\r\n' | od -c)" ]] || fail "Bytecount ($how) wrote $out"
  "$program" -c abc stray >"$work/out" 2>"$work/err"
  status=$?
  [[ $status == 65 && ! -s "$work/out" ]] ||
    fail "Bytecount ($how) with a stray argument: $status"
  if ! grep -q '^Bytecount v1.0' "$work/err" ||
     ! grep -q 'Invalid Parameters Provided: stray' "$work/err"; then
    fail "Bytecount's report ($how): $(cat "$work/err")"
  fi
  "$program" -c >/dev/null 2>&1
  status=$?
  [[ $status == 67 ]] || fail "Bytecount -c ($how) ends with $status instead of 67"
}
example=$work/bytecount
if cmake -S "$source_dir/examples/bytecount" -B "$example" -DCMAKE_PREFIX_PATH="$prefix" \
     -DCMAKE_CXX_FLAGS=-Werror >"$work/example.log" 2>&1 &&
   cmake --build "$example" >>"$work/example.log" 2>&1; then
  check_bytecount "$example/Bytecount" find_package
else
  cat "$work/example.log" >&2
  fail "the example does not build against the installed package"
fi
# The same tool with a plain compiler line. pkg-config escapes the space in the prefix's name
# with a backslash; xargs takes the escape away again, as a shell would.
if mapfile -t flags < <(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" \
     pkg-config --cflags --libs quilloncore | xargs printf '%s\n') &&
   ((${#flags[@]})) &&
   stamp_script=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" \
     pkg-config --variable=stamp_script quilloncore | xargs printf '%s') &&
   cmake -DOUTPUT="$work/stamp.cpp" -DCXX="${CXX:-c++}" -P "$stamp_script" &&
   "${CXX:-c++}" -Wall -Wextra -Wpedantic -Werror -o "$work/Bytecount" \
     "$source_dir/examples/bytecount/main.cpp" "$work/stamp.cpp" "${flags[@]}" \
     >"$work/example.log" 2>&1; then
  check_bytecount "$work/Bytecount" pkg-config
else
  cat "$work/example.log" >&2
  fail "the example does not build with the flags of pkg-config --cflags --libs quilloncore"
fi

step ".deb package"
(cd "$build_a" && cpack -B "$work/deb" >"$work/cpack.log" 2>&1) || cat "$work/cpack.log" >&2
stat -c '%n %.9Y' "${built_files[@]}" >"$work/times.after"
diff "$work/times.before" "$work/times.after" >/dev/null || fail "cpack rebuilt the program"
debs=("$work"/deb/lettrix_*.deb)
deb=${debs[0]}
if [[ -f $deb ]]; then
  dpkg-deb -c "$deb" | awk '{print $6 $7 $8}' | LC_ALL=C sort >"$work/contents"
  static=false
  file "$build_a/Lettrix" | grep -q 'statically linked' && static=true
  # The lintian override, for the static link, comes only with a statically linked program.
  { cat <<'EOF'
./
./usr/
./usr/bin/
./usr/bin/Lettrix
./usr/bin/lettrix->Lettrix
./usr/share/
./usr/share/bash-completion/
./usr/share/bash-completion/completions/
./usr/share/bash-completion/completions/Lettrix->lettrix
./usr/share/bash-completion/completions/lettrix
./usr/share/doc/
./usr/share/doc/lettrix/
./usr/share/doc/lettrix/changelog.gz
./usr/share/doc/lettrix/copyright
./usr/share/fish/
./usr/share/fish/vendor_completions.d/
./usr/share/fish/vendor_completions.d/Lettrix.fish->lettrix.fish
./usr/share/fish/vendor_completions.d/lettrix.fish
./usr/share/man/
./usr/share/man/man1/
./usr/share/man/man1/Lettrix.1.gz
./usr/share/man/man1/lettrix.1.gz->Lettrix.1.gz
./usr/share/zsh/
./usr/share/zsh/vendor-completions/
./usr/share/zsh/vendor-completions/_lettrix
EOF
    if $static; then
      printf '%s\n' ./usr/share/lintian/ ./usr/share/lintian/overrides/ \
        ./usr/share/lintian/overrides/lettrix
    fi
  } | LC_ALL=C sort | diff -u - "$work/contents" || fail ".deb contents differ"
  "$source_dir/tests/install/lint_deb.sh" "$deb" || fail "lintian finds fault with the .deb"
  # Debian's count: each file rounded up to whole KiB, each link and folder 1 KiB.
  counted=$(dpkg-deb -c "$deb" |
    awk '{ kib += substr($1, 1, 1) == "-" ? int(($3 + 1023) / 1024) : 1 } END { print kib }')
  declared=$(dpkg-deb -f "$deb" Installed-Size)
  [[ $declared == "$counted" ]] ||
    fail ".deb declares Installed-Size $declared for $counted KiB of files"
  # A statically linked release needs no library; a dynamic one must name the C library.
  if ! $static; then
    dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail ".deb does not depend on libc6"
  fi
  if [[ ${CI:-} == true ]] && ! dpkg -s lettrix >/dev/null 2>&1; then
    if dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
      MANWIDTH=80 man lettrix 2>/dev/null | grep -q 'Lettrix, lettrix' ||
        fail "man lettrix does not show the page"
      [[ $(lettrix -u abc) == $'ABC\r' ]] || fail "the installed lettrix does not run"
      dpkg --purge lettrix >/dev/null 2>&1 || fail "dpkg --purge lettrix failed"
    else
      cat "$work/dpkg.log" >&2
      fail "dpkg -i failed"
    fi
  fi
else
  cat "$work/cpack.log" >&2
  fail "cpack made no .deb"
fi

step "done, $failures failure(s)"
((failures == 0))
