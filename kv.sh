#!/bin/bash
# Set-up, build, run and test in one place; every step is skipped when it has nothing to do.
#   ./kv.sh run [PROJECT]     install what is missing, build, start kvdesigner (demo project by default)
#   ./kv.sh test              install what is missing, build, run the suite normally and under ASan+UBSan
#   ./kv.sh fuzz text|binary|resave|packages|project|richtext|exchange [SECONDS]   build and run a libFuzzer target (default 600 s)
#   ./kv.sh bench             build and run the benchmarks
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

BASE_PKGS="cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libgtest-dev poppler-utils"
RUN_PKGS="xvfb xauth"
FUZZ_PKGS="clang libclang-rt-14-dev"

ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "kv.sh: installing ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
      echo "kv.sh: run as root to install missing packages: ${missing[*]}" >&2
      exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# build PRESET [TARGET...]: configures once, then builds the targets (all when none are named).
build() {
  local preset=$1
  shift
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  if [ $# -gt 0 ]; then
    cmake --build --preset "$preset" --target "$@"
  else
    cmake --build --preset "$preset"
  fi
}

cmd=${1:-}
shift || true
case "$cmd" in
  run)
    ensure_packages $BASE_PKGS $RUN_PKGS
    build release
    project=${1:-demo/KvDemo.dpr}
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "kv.sh: no display found; starting kvdesigner on a virtual X server (xvfb-run)" >&2
      exec xvfb-run -a -s '-screen 0 1280x800x24' build/release/app/kvdesigner "$project"
    fi
    exec build/release/app/kvdesigner "$project"
    ;;
  test)
    ensure_packages $BASE_PKGS
    build release
    build asan
    status=0
    ctest --preset release -j2 || status=1
    ctest --preset asan -j2 || status=1
    if [ $status -ne 0 ]; then echo "kv.sh: tests FAILED" >&2; else echo "kv.sh: all tests passed (normal and sanitized builds)"; fi
    exit $status
    ;;
  fuzz)
    ensure_packages $BASE_PKGS $FUZZ_PKGS
    target=${1:-text}
    seconds=${2:-600}
    build fuzz "kv_fuzz_$target"
    mkdir -p "build/fuzz/corpus-$target"
    case "$target" in
      binary) seeds=tests/data/fuzz-binary ;;
      resave) seeds="tests/data/forms tests/data/fuzz-binary tests/data/fuzz-resave" ;;
      packages) seeds=tests/data/fuzz-packages ;;
      display) seeds=tests/data/fuzz-display ;;
      project) seeds=tests/data/fuzz-projects ;;
      richtext) seeds=tests/data/fuzz-richtext ;;
      exchange) seeds=tests/data/fuzz-exchange ;;
      *) seeds=tests/data/forms ;;
    esac
    exec "build/fuzz/fuzz/kv_fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
      -timeout=10 -rss_limit_mb=2048 "build/fuzz/corpus-$target" $seeds
    ;;
  bench)
    ensure_packages $BASE_PKGS
    build release kv_bench_forms
    exec build/release/bench/kv_bench_forms "$@"
    ;;
  *)
    sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
