#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12 (run as root).
set -euo pipefail

packages=(
  build-essential cmake git pkg-config locales
  googletest libgtest-dev libbenchmark-dev rapidjson-dev libcli11-dev help2man
  clang libclang-rt-14-dev clang-tidy gcovr python3
  g++-mingw-w64-x86-64-posix wine64
  libmuparser-dev
  python3-jsonschema
)
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

# The tests read numbers in an English and a German user locale.
for name in en_US de_DE; do
  if ! locale -a 2>/dev/null | grep -qi "^${name}\.utf-\?8$"; then
    localedef -i "$name" -f UTF-8 "${name}.UTF-8"
  fi
done
