#!/bin/bash
# What a release relies on, checked on the Windows build (ctest runs both):
#   release-test.sh binaries BUILD SOURCE EPOCH
#     the shipped executables carry the PE time stamp EPOCH and no path of the
#     source or build tree;
#   release-test.sh signing BUILD
#     a stamped launcher signs and verifies with a throw-away certificate; the
#     stamp tool takes the signed file, drops the signature and says so; its
#     copy is byte for byte the unsigned stamped one (which e2e.Stamp starts)
#     and signs and verifies again.
set -u
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")/../tools" && pwd)
build=$2
fail() {
    echo "FAILED: $*"
    exit 1
}

if [ "$1" = binaries ]; then
    for exe in launcher.exe launcher-console.exe launcher-stamp.exe; do
        header=$(od -An -tu4 -j60 -N4 "$build/$exe" | tr -d ' ')
        stamp=$(od -An -tu4 -j$((header + 8)) -N4 "$build/$exe" | tr -d ' ')
        [ "$stamp" = "$4" ] || fail "$exe: PE time stamp $stamp, expected $4"
        for path in "$3" "$build"; do
            ! grep -qaF "$path" "$build/$exe" || fail "$exe holds the path $path"
        done
        echo "$exe: time stamp $stamp, no build path"
    done
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir again
cp "$build/launcher.exe" "$build/launcher-stamp.exe" .
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 -subj "/CN=Launcher test" \
    2>/dev/null || fail "openssl could not make a certificate"
stamp() { "$tools/wine-run.sh" launcher-stamp.exe "$@" --version 2.3.4.5 --product-name Signed; }
sign() { osslsigncode sign -certs cert.pem -key key.pem -h sha256 -in "$1" -out "$2" >/dev/null; }
verify() { osslsigncode verify -CAfile cert.pem -in "$1" >verify.log 2>&1; }

stamp launcher.exe app.exe >/dev/null || fail "stamping the launcher"
sign app.exe signed.exe && verify signed.exe || fail "the stamped launcher does not sign and verify: $(cat verify.log)"
stamp signed.exe again/app.exe >stamp.log || fail "stamping the signed file: $(cat stamp.log)"
grep -q "signed.exe was signed; again.app.exe carries no signature: sign it again" stamp.log ||
    fail "no word that the copy must be signed again: $(cat stamp.log)"
cmp app.exe again/app.exe || fail "the copy of the signed file is not the unsigned stamped copy"
! verify again/app.exe || fail "the copy still verifies"
sign again/app.exe resigned.exe && verify resigned.exe || fail "the copy does not sign and verify: $(cat verify.log)"
echo "signed, stamped, signed again and verified"
