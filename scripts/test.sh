#!/usr/bin/env bash
# The gate every change passes (CI runs it): a Debug build with the project's warnings as errors
# and AddressSanitizer+UndefinedBehaviorSanitizer, every test once under it (GUI tests on the
# offscreen platform), and the format check. Builds into build-test/, apart from the program's
# own build/ so that scripts/run.sh never gets a sanitized program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/deps.sh"
build="$here/build-test"

launcher=()
if command -v ccache >/dev/null; then
  # Paths below the checkout are hashed relative to it, and the working folder (which debug
  # builds would otherwise hash) is left out, so another clone hits the same cache.
  export CCACHE_BASEDIR="$here"
  export CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The build runs our own tools (database and image makers), so the sanitizer settings hold for
# the build as well as for the tests. Leaks are reported; only those inside the system libraries
# (fontconfig, the Qt platform plugins) are suppressed, never ours.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRUTO_WERROR=ON \
  -DRUTO_SANITIZE=ON "${launcher[@]}"

# A formatting slip is reported at the end, after the build and the tests have had their say.
format_ok=1
cmake --build "$build" --target format-check || format_ok=0

cmake --build "$build" --parallel "$(nproc)"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300

# Debian's other compiler builds the same tree (no tests), so the code stays the C++20 both
# accept rather than what one of them tolerates.
cd "$here"
cmake -S "$here" -B "$here/build-clang" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRUTO_WERROR=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}"
cmake --build "$here/build-clang" --parallel "$(nproc)"

if [ "$format_ok" -ne 1 ]; then
  echo "Formatting check failed: cmake --build $build --target format" >&2
  exit 1
fi
