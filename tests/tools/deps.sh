#!/bin/bash
# Installs the Debian packages the build and the tests need, when missing.
# As root it runs apt-get; otherwise it prints the exact command and fails.
set -euo pipefail

packages=(
    cmake make g++ python3
    googletest
    clang libclang-rt-14-dev
    gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth
    wine64-tools libwine-dev libffi-dev openjdk-17-jdk-headless
    zip osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

command="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with:" >&2
    echo "  sudo sh -c '$command'" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
log=$(mktemp)
if ! (apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}") >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    rm -f "$log"
    exit 1
fi
rm -f "$log"
