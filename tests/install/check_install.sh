#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds, installs, packages and reuses the project the way its users do, and checks each
# result: two clean builds give the same program, a second build with nothing changed relinks
# nothing, the install tree, the manual page, bash completion, a second tool built on the
# installed QuillonCore alone (through CMake and through pkg-config) with its own build date and
# its exit codes, and two lintian-clean .debs, the program's and the library's development
# package, whose Installed-Size is that of their files.
# Needs cmake, a C++ compiler, man-db, groff-base, bash-completion, dpkg-dev, file, pkgconf
# and lintian.
# With CI=true it also installs both .debs on this machine, builds the examples that the
# development package ships where they lie, and removes them again.
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
# The default builds the program alone, wherever the test tools are installed, and says how to
# have the tests.
{ cmake -S "$source_dir" -B "$build_a" && cmake --build "$build_a"; } \
  >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; exit 1; }
grep -q -- '-- Tests not built: -DLETTRIX_TESTS=ON builds them' "$work/build.log" ||
  fail "configuring by default does not say how to build the tests"
ctest --test-dir "$build_a" -N | grep -qx 'Total Tests: 0' ||
  fail "configuring by default registers tests: $(ctest --test-dir "$build_a" -N)"
# AUTO, with neither GoogleTest nor Python: the program still builds, and configuring says what
# is missing.
{ cmake -S "$source_dir" -B "$build_b" -DLETTRIX_TESTS=AUTO -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
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
    lib/libQuillonCore.a include/quilloncore/core/params.h include/quilloncore/platform/types.h \
    lib/cmake/QuillonCore/QuillonCoreConfig.cmake \
    lib/cmake/QuillonCore/QuillonCoreConfigVersion.cmake lib/pkgconfig/quilloncore.pc; do
  [[ -f "$prefix/$file" && ! -L "$prefix/$file" ]] || fail "$file missing"
done
# What a tool may name is what the installed headers declare outside core::detail, each with a
# word on what it is for, and what the library guide lists: the three agree.
python3 "$source_dir/tests/install/public_names.py" "$prefix/include/quilloncore" \
  "$source_dir/docs/library.md" >"$work/names.log" ||
  fail "the public names: $(grep -v ' failure(s)$' "$work/names.log")"
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
# Bytecount behaves the same however it was built, and its banner shows the date of its own
# build, which is not the library's.
example_epoch=$((SOURCE_DATE_EPOCH - 400 * 86400))
example_date=$(LC_ALL=C date -u -d "@$example_epoch" '+%d %b %Y')
check_bytecount() {
  local program=$1 how=$2 out status code report args
  out=$("$program" -c abc --count "two words" -t | od -c)
  [[ $out == "$(printf '3\r\n9\r\ntotal 12\r\n' | od -c)" ]] || fail "Bytecount ($how) wrote $out"
  # Each invalid line: its code, nothing on standard output, and on standard error the banner,
  # then the report.
  while IFS='|' read -r code report args; do
    read -ra args <<<"$args"
    LC_ALL=C "$program" "${args[@]}" >"$work/out" 2>"$work/err"
    status=$?
    [[ $status == "$code" && ! -s "$work/out" ]] ||
      fail "Bytecount ${args[*]} ($how) ends with $status instead of $code"
    if ! head -n 1 "$work/err" | grep -qF "Bytecount v1.0" ||
       ! head -n 1 "$work/err" | grep -qF "($example_date)" ||
       ! grep -qF "$report" "$work/err"; then
      fail "Bytecount ${args[*]} ($how) reports: $(cat "$work/err")"
    fi
  done <<'EOF'
65|Invalid Parameters Provided: stray|-c abc stray
67|Incomplete Parameters Provided: -c|-c
64|Missing Essential Parameters (e.g. -c <text> -H --HELP -?)|
EOF
  # A failed write ends the run with 74 and one line that names the tool.
  "$program" -c abc >/dev/full 2>"$work/err"
  status=$?
  if [[ $status != 74 || $(wc -l <"$work/err") != 1 ]] ||
     ! grep -qE $'^Bytecount: write error on standard output: .+\r$' "$work/err"; then
    fail "Bytecount -c abc >/dev/full ($how) ends with $status, writing: $(cat -A "$work/err")"
  fi
  # With standard error full, a run ends with 74 when it first writes there: -v's build line
  # after the counts, the banner before a report. Standard output still holds all that was
  # written to it before, and nothing meant for standard error.
  while IFS='|' read -r code expected args; do
    read -ra args <<<"$args"
    "$program" "${args[@]}" 2>/dev/full | od -c >"$work/out"
    status=${PIPESTATUS[0]}
    [[ $status == "$code" && $(<"$work/out") == "$(printf '%b' "$expected" | od -c)" ]] ||
      fail "Bytecount ${args[*]} 2>/dev/full ($how) ends with $status, writing $(<"$work/out")"
  done <<'EOF'
74|3\r\n9\r\ntotal 12\r\n|-c abc --count two-words -t -v
74||-c abc stray
EOF
}

# Wordstat, the guide's second tool: two repeatable value switches merged in command-line order,
# attached values whole, and lines that end in LF alone, its report's and banner's too.
check_wordstat() {
  local program=$1 how=$2 big out status
  big=$(printf '%5000s' '' | tr ' ' x)
  out=$("$program" -c "one two" --words:"one two" -w=three "-c:$big" -s | od -c)
  [[ $out == "$(printf 'chars 7\nwords 2\nwords 1\nchars 5000\ntotal 5007 chars, 3 words\n' |
    od -c)" ]] || fail "Wordstat ($how) wrote $out"
  "$program" -w a stray >"$work/out" 2>"$work/err"
  status=$?
  if [[ $status != 65 || -s $work/out ]] || grep -q $'\r' "$work/err" ||
     ! grep -qx "Invalid Parameters Provided: stray " "$work/err"; then
    fail "Wordstat -w a stray ($how) ends with $status, reporting: $(cat -A "$work/err")"
  fi
}

# excerpt, the guide's third tool: file operands among its switches, "--", paths that begin with
# "/", standard input, numbers, buffered lines that end in LF, 66 for a file it cannot read and
# 74 for a full disk.
check_excerpt() {
  local program=$1 how=$2 files=$work/excerpt-files
  mkdir -p "$files"
  printf 'one\ntwo\n\nfour\r\nfive\nsix' >"$files/a"
  printf 'x\ny\n' >"$files/b"
  printf 'dash\n' >"$files/-n"
  # Standard input from a file: through a pipe, a run that reads none could end the writer first.
  printf 'in 1\nin 2\n' >"$work/excerpt-input"
  expect() {
    local code=$1 out=$2 err=$3 status
    shift 3
    (cd "$files" && "$program" "$@" <"$work/excerpt-input" >"$work/out" 2>"$work/err")
    status=$?
    if [[ $status != "$code" || $(od -c <"$work/out") != "$(printf '%b' "$out" | od -c)" ]] ||
       { [[ $code == 6[57] ]] && ! grep -qF "$err" "$work/err"; } ||
       { [[ $code != 6[57] ]] && [[ $(<"$work/err") != "$(printf '%b' "$err")" ]]; }; then
      fail "excerpt $* ($how) ends with $status, writing $(cat -A "$work/out") $(cat -A "$work/err")"
    fi
  }
  expect 0 'one\ntwo\n\nfour\r\nfive\nsix\n' '' a
  expect 0 'one\ntwo\n' '' -n 2 a
  expect 0 'one\ntwo\nfour\r\n' '' -n:3 -d '' a
  expect 0 'five\nsix\n' '' -d one --drop=two -d '' -d $'four\r' a
  expect 0 '     5: five\n' '' -l -n 1 -d one -d two -d '' -d $'four\r' a
  expect 0 '  1: one\n' '' --line-numbers:3 --lines=1 a
  expect 0 '1: x\n2: y\n' '' -l=1 b
  expect 0 '==> a <==\none\n\n==> b <==\nx\n' '' -n 1 a b
  expect 0 'one\nx\n' '' -q -n 1 a b
  expect 0 'dash\n' '' -- -n
  expect 0 'x\ny\n' '' "$files/b"
  expect 0 'in 1\nin 2\n' ''
  expect 0 '==> standard input <==\nin 1\n\n==> b <==\nx\n' '' -n 1 - b
  expect 66 '==> b <==\nx\n' \
    'excerpt: missing: No such file or directory\nexcerpt: 1 lines from 1 files\n' -v -n 1 missing b
  expect 65 '' 'Invalid Parameters Provided: --quiet=no ' --quiet=no a
  expect 65 '' 'Invalid Parameters Provided: -n 0 (-n: a whole number from 1 to 1000000)' -n 0 a
  expect 65 '' 'Invalid Parameters Provided: -l=21 (-l: a whole number from 1 to 20)' -l=21 a
  expect 67 '' 'Incomplete Parameters Provided: -d ' a -d
  "$program" "$files/a" >/dev/full 2>"$work/err"
  if [[ $? != 74 || $(<"$work/err") != "excerpt: write error on standard output: "* ]]; then
    fail "excerpt a >/dev/full ($how) writes $(cat -A "$work/err")"
  fi
}

# Builds the example `tool` (Bytecount, Wordstat or excerpt) from the sources in `sources` with
# CMake's find_package and with pkg-config and the stamp script, each in a folder of its own, and
# checks both programs. `prefix` is the installation to build on, empty for the system's own.
build_example() {
  local tool=$1 sources=$2 label=$3 prefix=$4 dir check stamp_script flags
  dir=$work/${tool,,}-$label
  check=check_${tool,,}
  mkdir -p "$dir"
  if cmake -S "$sources" -B "$dir/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
       -DCMAKE_CXX_FLAGS=-Werror >"$dir/log" 2>&1 &&
     SOURCE_DATE_EPOCH=$example_epoch cmake --build "$dir/cmake" >>"$dir/log" 2>&1; then
    "$check" "$dir/cmake/$tool" "$label, find_package"
  else
    cat "$dir/log" >&2
    fail "the example ($label) does not build with find_package"
  fi
  # pkg-config escapes the space in the prefix's name with a backslash; xargs takes the escape
  # away again, as a shell would.
  if mapfile -t flags < <(PKG_CONFIG_PATH=${prefix:+$prefix/lib/pkgconfig} \
       pkg-config --cflags --libs quilloncore | xargs printf '%s\n') &&
     ((${#flags[@]})) &&
     stamp_script=$(PKG_CONFIG_PATH=${prefix:+$prefix/lib/pkgconfig} \
       pkg-config --variable=stamp_script quilloncore | xargs printf '%s') &&
     SOURCE_DATE_EPOCH=$example_epoch \
       cmake -DOUTPUT="$dir/stamp.cpp" -DCXX="${CXX:-c++}" -P "$stamp_script" &&
     "${CXX:-c++}" -Wall -Wextra -Wpedantic -Werror -o "$dir/$tool" \
       "$sources/main.cpp" "$dir/stamp.cpp" "${flags[@]}" >"$dir/log" 2>&1; then
    "$check" "$dir/$tool" "$label, pkg-config"
  else
    cat "$dir/log" >&2
    fail "the example ($label) does not build with pkg-config --cflags --libs quilloncore"
  fi
}
build_example Bytecount "$source_dir/examples/bytecount" install-tree "$prefix"
build_example Wordstat "$source_dir/examples/wordstat" install-tree "$prefix"
build_example excerpt "$source_dir/examples/excerpt" install-tree "$prefix"
# The library guide's examples run against the tools it walks through.
python3 "$source_dir/tests/docs/check_examples.py" \
  --tool "Bytecount=$work/bytecount-install-tree/cmake/Bytecount" \
  --tool "Wordstat=$work/wordstat-install-tree/cmake/Wordstat" \
  --tool "excerpt=$work/excerpt-install-tree/cmake/excerpt" "$build_a/Lettrix" >"$work/guide.log" ||
  fail "the library guide's examples: $(grep -A8 '^FAIL' "$work/guide.log")"

step ".deb packages: the program, and the library's development files"
(cd "$build_a" && cpack -B "$work/deb" >"$work/cpack.log" 2>&1) || cat "$work/cpack.log" >&2
stat -c '%n %.9Y' "${built_files[@]}" >"$work/times.after"
diff "$work/times.before" "$work/times.after" >/dev/null || fail "cpack rebuilt the program"
debs=("$work"/deb/lettrix_*.deb)
deb=${debs[0]}
debs=("$work"/deb/libquilloncore-dev_*.deb)
dev_deb=${debs[0]}
listing() { dpkg-deb -c "$1" | awk '{print $6 $7 $8}' | LC_ALL=C sort; }
if [[ -f $deb && -f $dev_deb ]]; then
  listing "$deb" >"$work/contents"
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

  # The development package: the headers of the install tree, and the library in the folder of
  # its machine, so that the packages of several machines install side by side.
  triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
  listing "$dev_deb" >"$work/dev-contents"
  { (cd "$prefix" && find include -type d -printf './usr/%p/\n' -o -printf './usr/%p\n')
    package_dir=./usr/lib/$triplet/cmake/QuillonCore
    printf '%s\n' ./ ./usr/ ./usr/lib/ "./usr/lib/$triplet/" "./usr/lib/$triplet/cmake/" \
      "$package_dir/" "$package_dir/QuillonCoreConfig.cmake" \
      "$package_dir/QuillonCoreConfigVersion.cmake" "$package_dir/QuillonCoreMachine.cmake" \
      "$package_dir/QuillonCoreStamp.cmake" "$package_dir/QuillonCoreTargets-release.cmake" \
      "$package_dir/QuillonCoreTargets.cmake" "$package_dir/quilloncore-stamp.cmake" \
      "./usr/lib/$triplet/libQuillonCore.a" "./usr/lib/$triplet/pkgconfig/" \
      "./usr/lib/$triplet/pkgconfig/quilloncore.pc" ./usr/share/ ./usr/share/doc/ \
      ./usr/share/doc/libquilloncore-dev/ ./usr/share/doc/libquilloncore-dev/changelog.gz \
      ./usr/share/doc/libquilloncore-dev/copyright ./usr/share/doc/libquilloncore-dev/examples/ \
      ./usr/share/doc/libquilloncore-dev/README.md ./usr/share/doc/libquilloncore-dev/library.md \
      ./usr/share/doc/libquilloncore-dev/examples/bytecount/ \
      ./usr/share/doc/libquilloncore-dev/examples/bytecount/CMakeLists.txt \
      ./usr/share/doc/libquilloncore-dev/examples/bytecount/main.cpp \
      ./usr/share/doc/libquilloncore-dev/examples/excerpt/ \
      ./usr/share/doc/libquilloncore-dev/examples/excerpt/CMakeLists.txt \
      ./usr/share/doc/libquilloncore-dev/examples/excerpt/main.cpp \
      ./usr/share/doc/libquilloncore-dev/examples/wordstat/ \
      ./usr/share/doc/libquilloncore-dev/examples/wordstat/CMakeLists.txt \
      ./usr/share/doc/libquilloncore-dev/examples/wordstat/main.cpp
  } | LC_ALL=C sort | diff -u - "$work/dev-contents" || fail "development .deb contents differ"
  # The guide, and the README it points to, where the package installs them: each relative
  # link leads to a file of the package, and each fragment to a heading of that file.
  headings() {
    awk '/^```/ { code = !code; next } !code && /^#+ /' "$1" | sed -E 's/^#+ +//' |
      tr '[:upper:]' '[:lower:]' | sed -E 's/[^a-z0-9 _-]//g; s/ /-/g'
  }
  dpkg-deb -x "$dev_deb" "$work/dev-root"
  for document in "$work"/dev-root/usr/share/doc/libquilloncore-dev/{library,README}.md; do
    [[ -f $document ]] || continue  # the listing above names what is missing
    while IFS= read -r target; do
      path=${target%%#*}
      fragment=${target:${#path}}
      linked=$document
      [[ -n $path ]] && linked=$(dirname "$document")/$path
      if [[ ! -e $linked ]] ||
         { [[ -n $fragment ]] && ! headings "$linked" | grep -qxF -- "${fragment#\#}"; }; then
        fail "the installed ${document##*/} links to $target, which the package does not hold"
      fi
    done < <(awk '/^```/ { code = !code; next } !code' "$document" | grep -o ']([^ )]*)' |
      sed 's/^](//; s/)$//' | grep -vE '^([A-Za-z][A-Za-z0-9+.-]*:|/)')
  done
  while IFS='|' read -r field value; do
    [[ $(dpkg-deb -f "$dev_deb" "$field") == "$value" ]] ||
      fail "the development .deb has $field: $(dpkg-deb -f "$dev_deb" "$field")"
  done <<'EOF'
Section|libdevel
Multi-Arch|same
Source|lettrix
Depends|cmake (>= 3.25)
Suggests|pkgconf
EOF
  # The two install side by side: dpkg takes no file that another package holds.
  shared=$(LC_ALL=C comm -12 <(grep -v '/$' "$work/contents") <(grep -v '/$' "$work/dev-contents"))
  [[ -z $shared ]] || fail "files in both packages: $shared"

  "$source_dir/tests/install/lint_deb.sh" "$deb" "$dev_deb" ||
    fail "lintian finds fault with the .debs"
  # Debian's count: each file rounded up to whole KiB, each link and folder 1 KiB.
  for package in "$deb" "$dev_deb"; do
    counted=$(dpkg-deb -c "$package" |
      awk '{ kib += substr($1, 1, 1) == "-" ? int(($3 + 1023) / 1024) : 1 } END { print kib }')
    declared=$(dpkg-deb -f "$package" Installed-Size)
    [[ $declared == "$counted" ]] ||
      fail "${package##*/} declares Installed-Size $declared for $counted KiB of files"
  done
  # A statically linked release needs no library; a dynamic one must name the C library.
  if ! $static; then
    dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail ".deb does not depend on libc6"
  fi
  if [[ ${CI:-} == true ]] && ! dpkg -s lettrix >/dev/null 2>&1 &&
     ! dpkg -s libquilloncore-dev >/dev/null 2>&1; then
    if dpkg -i "$deb" "$dev_deb" >"$work/dpkg.log" 2>&1; then
      MANWIDTH=80 man lettrix 2>/dev/null | grep -q 'Lettrix, lettrix' ||
        fail "man lettrix does not show the page"
      [[ $(lettrix -u abc) == $'ABC\r' ]] || fail "the installed lettrix does not run"
      # The example as the package ships it, built where it lies on the system's QuillonCore:
      # the package alone is enough for a second tool.
      build_example Bytecount /usr/share/doc/libquilloncore-dev/examples/bytecount package ""
      build_example Wordstat /usr/share/doc/libquilloncore-dev/examples/wordstat package ""
      build_example excerpt /usr/share/doc/libquilloncore-dev/examples/excerpt package ""
      grep -qx "QuillonCore_DIR:PATH=/usr/lib/$triplet/cmake/QuillonCore" \
        "$work/bytecount-package/cmake/CMakeCache.txt" ||
        fail "find_package did not take the package's QuillonCore"
      [[ $(pkg-config --variable=pcfiledir quilloncore) == "/usr/lib/$triplet/pkgconfig" ]] ||
        fail "pkg-config did not take the package's quilloncore.pc"
      dpkg --purge lettrix libquilloncore-dev >/dev/null 2>&1 || fail "dpkg --purge failed"
    else
      cat "$work/dpkg.log" >&2
      fail "dpkg -i failed"
    fi
  fi
else
  cat "$work/cpack.log" >&2
  fail "cpack did not make both .debs"
fi

step "done, $failures failure(s)"
((failures == 0))
