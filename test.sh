#!/usr/bin/env bash
# Builds Rivulet with its tests, checks the formatting and runs the tests with CTest.
#   ./test.sh          everything: formatting, the Release build with every test, then the
#                      core again under AddressSanitizer and UndefinedBehaviorSanitizer
#   ./test.sh --quick  the inner loop: the Release build and the tests labelled quick (the
#                      core's suites and the fuzz corpora; no windows, no sanitizers)
set -euo pipefail
cd "$(dirname "$0")"
quick=false
case "${1:-}" in
  --quick) quick=true ;;
  "") ;;
  *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
source scripts/setup.sh
rivulet_require_packages "${RIVULET_RUN_PACKAGES[@]}" "${RIVULET_TEST_PACKAGES[@]}"
rivulet_build_environment

# One test checks numbers under a comma-decimal locale; make one available when we can.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$' && [ "$(id -u)" -eq 0 ]; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
fi

echo "== formatting (clang-format)"
mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null || find src tests bench fuzz -name '*.cpp' -o -name '*.h')
if [ ${#sources[@]} -gt 0 ] && ! clang-format --dry-run --Werror "${sources[@]}"; then
  echo "Some files are not formatted; run: clang-format -i <file>" >&2
  exit 1
fi

echo "== build"
rivulet_configure build-test -DCMAKE_BUILD_TYPE=Release -DRIVULET_BUILD_TESTS=ON -DRIVULET_WERROR=ON
cmake --build build-test -j"$(nproc)"

echo "== tests"
if $quick; then
  (cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -L quick)
  exit 0
fi
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

echo "== sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer): core and its tests"
rivulet_configure build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  -DRIVULET_SANITIZE=ON -DRIVULET_BUILD_GUI=OFF -DRIVULET_BUILD_TESTS=ON -DRIVULET_WERROR=ON
cmake --build build-asan -j"$(nproc)"
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
