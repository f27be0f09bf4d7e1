#!/bin/bash
# make dist: the release archives in build/dist, built in build folders of
# their own (build/dist-win64, build/dist-host), so the test builds stay as
# they are. The same commit gives the same bytes wherever and whenever it is
# built: times come from the last commit (SOURCE_DATE_EPOCH), no build path
# reaches a binary (cmake/CompileOptions.cmake), archive entries are sorted
# and carry fixed times, owners and modes.
#
# With SIGN_CERT and SIGN_KEY (PEM files; SIGN_TIMESTAMP_URL optional) the
# three executables are signed with osslsigncode after every other change to
# them, so the signatures hold; without them they ship unsigned.
#
# dist.sh --check (make dist-check) builds the archives unsigned here, then
# again from a fresh clone of HEAD in a folder of another name, and compares
# them byte for byte.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
export TZ=UTC LC_ALL=C
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
jobs=${JOBS:-2}
dist=build/dist
logs=build/dist-logs
windows=java-launcher-$version-win64
linux=launcher-stamp-$version-linux-x86_64

check() {
    unset SIGN_CERT SIGN_KEY SIGN_TIMESTAMP_URL
    "$root/tests/tools/dist.sh"
    if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
        echo "Note: uncommitted changes are in this build only; the second one builds HEAD."
    fi
    local other
    other=$(mktemp -d /tmp/launcher-dist-check.XXXXXX)
    git init -q "$other/second-clone"
    git -C "$other/second-clone" fetch -q "$root" HEAD
    git -C "$other/second-clone" checkout -q FETCH_HEAD
    echo "== second build in $other/second-clone"
    "$other/second-clone/tests/tools/dist.sh"
    local differing=0
    for archive in "$windows.zip" "$linux.tar.gz"; do
        if cmp "$dist/$archive" "$other/second-clone/$dist/$archive"; then
            echo "same bytes: $archive"
        else
            differing=1
        fi
    done
    if [ "$differing" -ne 0 ]; then
        echo "dist-check FAILED: the second build differs (kept in $other)"
        exit 1
    fi
    rm -rf "$other"
    echo "dist-check passed: two builds of $(git rev-parse --short HEAD) give the same archives"
}

# Configures a dist preset afresh (the time stamp may have moved) and builds
# the named targets, relinking them so that they take it.
build() {
    local preset=$1 folder=$2
    shift 2
    rm -f "$folder"/*.exe "$folder/launcher-stamp"
    echo "== build $preset"
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j"$jobs" --target "$@"; } \
        >"$logs/$preset.log" 2>&1; then
        tail -n 40 "$logs/$preset.log"
        exit 1
    fi
}

signExecutables() {
    if [ -z "${SIGN_CERT:-}" ] || [ -z "${SIGN_KEY:-}" ]; then
        echo "Unsigned: set SIGN_CERT and SIGN_KEY (and SIGN_TIMESTAMP_URL) to sign the executables."
        return
    fi
    local exe arguments
    for exe in "$@"; do
        arguments=(sign -certs "$SIGN_CERT" -key "$SIGN_KEY" -h sha256 -in "$exe" -out "$exe.signed")
        if [ -n "${SIGN_TIMESTAMP_URL:-}" ]; then
            arguments+=(-t "$SIGN_TIMESTAMP_URL")
        fi
        osslsigncode "${arguments[@]}" >/dev/null
        mv "$exe.signed" "$exe"
        echo "signed: $(basename "$exe")"
    done
}

# Fixed modes and times on everything under the folder, and its SHA256SUMS.
settle() {
    local folder=$1
    (cd "$folder" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort | xargs sha256sum >SHA256SUMS)
    chmod -R u=rwX,go=rX "$folder"
    find "$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

if [ "${1:-}" = --check ]; then
    check
    exit 0
fi

rm -rf "$dist"
mkdir -p "$dist/$windows/docs" "$dist/$linux" "$logs"
build dist-win64 build/dist-win64 launcher launcher-console launcher-stamp
build dist-host build/dist-host launcher-stamp

cp build/dist-win64/launcher.exe build/dist-win64/launcher-console.exe build/dist-win64/launcher-stamp.exe \
    README.md LICENSE "$dist/$windows/"
cp docs/*.md "$dist/$windows/docs/"
signExecutables "$dist/$windows"/*.exe
settle "$dist/$windows"
cp build/dist-host/launcher-stamp LICENSE docs/stamp.md "$dist/$linux/"
settle "$dist/$linux"

(cd "$dist" && find "$windows" -type f | sort | zip -X -D -q -9 "$windows.zip" -@)
tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner --format=gnu \
    -C "$dist" -cf - "$linux" | gzip -9 -n >"$dist/$linux.tar.gz"

echo "== $dist (version $version, time stamp $SOURCE_DATE_EPOCH)"
sed "s|  |  $windows/|" "$dist/$windows/SHA256SUMS"
sed "s|  |  $linux/|" "$dist/$linux/SHA256SUMS"
(cd "$dist" && sha256sum "$windows.zip" "$linux.tar.gz")
