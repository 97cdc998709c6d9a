#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quorvant, builds it, and then either starts
# the editor ("run") or runs every test with the sanitizers on ("test").
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-run}

packages=(
  build-essential cmake ninja-build ccache pkg-config clang
  qt6-base-dev qt6-svg-dev libgl-dev
  libpng-dev zlib1g-dev libuemf-dev libemf2svg-dev emf2svg
  libgiac-dev libgmp-dev
  libhunspell-dev hunspell-en-us
  libgtest-dev libgmock-dev libbenchmark-dev libxml2-utils libeigen3-dev libslvs1-dev
  fonts-liberation fonts-dejavu-core fonts-freefont-ttf fonts-stix
  xvfb xauth xdotool x11-apps imagemagick xclip
  w3c-sgml-lib chromium
  texlive-latex-base texlive-latex-recommended texlive-fonts-recommended poppler-utils
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvant-ccache}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-5G}
# Paths inside the checkout hash relative to it, so another clone or work tree
# of the project reuses the same cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top}
# Debug builds would otherwise hash the build folder's absolute path too.
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}

build() {
  local dir=$1; shift
  cmake -S "$top" -B "$dir" -G Ninja "$@"
  cmake --build "$dir"
}

install_missing
case "$mode" in
  run)
    build "$top/build/release" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=OFF
    exec "$top/build/release/app/quorvant" "${@:2}"
    ;;
  test)
    build "$top/build/test" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
          -DQV_SANITIZE=ON -DQV_TESTS=ON -DQV_BENCH=OFF
    cd "$top/build/test"
    # Most tests are headless; the few that need a real window get an X server.
    # It never resets: a server that resets when its last client leaves
    # refuses the next editor that connects meanwhile.
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" \
      ctest --output-on-failure -j "$(nproc)" "${@:2}"
    ;;
  clang-check)
    # Every source of the test build must compile with clang too, which builds
    # the fuzz targets: a syntax-only pass through the same compiler cache.
    "$top/tools/clang-check.sh" "$top/build/test"
    ;;
  bench)
    build "$top/build/bench" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF -DQV_BENCH=ON
    ;;
  *)
    echo "usage: $0 run|test|clang-check|bench" >&2
    exit 2
    ;;
esac
