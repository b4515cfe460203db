#!/usr/bin/env bash
# Installs what is missing on Debian 12 (run as root).
#   bash scripts/install-deps.sh main   what the build, the install, the
#                                       examples and the tool need (run.sh)
#   bash scripts/install-deps.sh all    that and every test's tools: test
#                                       frameworks, clang, MinGW-w64 and Wine,
#                                       coverage, Doxygen (test.sh)
set -euo pipefail
set_name=${1:-all}

main=(build-essential cmake pkg-config rapidjson-dev libcli11-dev help2man)
tests=(
  git locales python3
  googletest libgtest-dev libbenchmark-dev libmuparser-dev
  clang libclang-rt-14-dev clang-tidy gcovr doxygen
  g++-mingw-w64-x86-64-posix wine64
  python3-jsonschema
)
case "$set_name" in
  main) packages=("${main[@]}") ;;
  all) packages=("${main[@]}" "${tests[@]}") ;;
  *)
    echo "usage: $0 [main|all]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$set_name" = all ]; then
  # The tests read numbers in an English and a German user locale.
  for name in en_US de_DE; do
    if ! locale -a 2>/dev/null | grep -qi "^${name}\.utf-\?8$"; then
      localedef -i "$name" -f UTF-8 "${name}.UTF-8"
    fi
  done
fi
