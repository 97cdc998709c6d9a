#!/usr/bin/env bash
# Checks that every source of a configured build compiles with clang too, so
# that the fuzz targets (a clang build) keep building while day-to-day builds
# use gcc. Each compile command of the build's compile_commands.json runs
# again with clang++ -fsyntax-only: no code is generated, and through ccache
# a source that did not change costs one cache look-up.
#
#   tools/clang-check.sh BUILD_DIR
#
# Prints clang's errors and exits non-zero when any source fails.
set -euo pipefail

dir=${1:?usage: clang-check.sh BUILD_DIR}
commands="$dir/compile_commands.json"
[ -f "$commands" ] || { echo "clang-check: no $commands (configure the build first)" >&2; exit 2; }
clang=${CLANG_CXX:-clang++}
command -v "$clang" >/dev/null || { echo "clang-check: $clang is not installed" >&2; exit 2; }
launcher=()
command -v ccache >/dev/null && launcher=(ccache)

# One shell command a line: the gcc command with clang in its place and the
# object file replaced by -fsyntax-only. Warnings are gcc's business here;
# only errors count.
list=$(mktemp)
trap 'rm -f "$list"' EXIT
sed -n 's/^ *"command": "\(.*\)",\?$/\1/p' "$commands" |
  sed -e 's/\\"/"/g' -e 's/\\\\/\\/g' \
      -e "s#^[^ ]*#${launcher[*]} $clang#" \
      -e 's# -o [^ ]*# -fsyntax-only -w#' >"$list"
[ -s "$list" ] || { echo "clang-check: no compile commands in $commands" >&2; exit 2; }
# The pass is there for the fuzz harnesses above all: a build that does not
# compile them checks nothing of them.
grep -q '/fuzz/[^ /]*Fuzzer\.cpp$' "$list" ||
  { echo "clang-check: the fuzz harnesses are not among the compile commands of $dir (reconfigure it)" >&2; exit 2; }

cd "$dir"
if ! xargs -P "${CLANG_CHECK_JOBS:-$(nproc)}" -d '\n' -n 1 sh -c 'eval "$0" || { echo "clang-check: failed: ${0##* }" >&2; exit 1; }' <"$list"; then
  echo "clang-check: some sources do not compile with $clang" >&2
  exit 1
fi
echo "clang-check: $(wc -l <"$list") sources compile with $clang"
