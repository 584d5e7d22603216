#!/usr/bin/env bash
# Signing a release (scripts/sign, as scripts/package and the installer's
# build call it) with a throw-away self-signed certificate: the .scr and the
# installer carry a SHA-256 signature that osslsigncode verifies, the
# uninstaller was signed before it was packed; without a key nothing
# changes; half a key is an error. No Wine needed.
#   tests/release/signing.sh tessary.scr tune.mid version
set -uo pipefail
sign=${0%/*}/../../scripts/sign scr=$1 tune=$2 version=$3 work=$(mktemp -d) failed=0
trap 'rm -rf "$work"' EXIT
check() { if "${@:2}"; then echo "  ok   $1"; else failed=$((failed + 1)) && echo "  FAIL $1"; fi; }
unset TESSARY_SIGN_PKCS12 TESSARY_SIGN_PASSWORD TESSARY_SIGN_TIMESTAMP
cp "$scr" "$work/tessary.scr" && cp "$scr" "$work/second.scr" || exit 1
check "without a key it says so and changes nothing" eval '"$sign" "$work/tessary.scr" | grep -q "not signed" &&
  cmp -s "$scr" "$work/tessary.scr"'
check "half a key is an error" eval '! TESSARY_SIGN_PASSWORD=x "$sign" "$work/tessary.scr" 2>/dev/null'
openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=Tessary-test -days 1 -keyout "$work/key.pem" \
  -out "$work/cert.pem" 2>/dev/null && openssl pkcs12 -export -inkey "$work/key.pem" \
  -in "$work/cert.pem" -passout pass:pw -out "$work/key.p12" || exit 1
export TESSARY_SIGN_PKCS12=$work/key.p12 TESSARY_SIGN_PASSWORD=pw
verified() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify" 2>&1 &&
  grep -q '^Succeeded' "$work/verify" && grep -qi 'digest algorithm *: *SHA256' "$work/verify"; }
"$sign" "$work/tessary.scr" "$work/second.scr" >/dev/null
check "both .scr files are signed, SHA-256" eval 'verified "$work/tessary.scr" && verified "$work/second.scr"'
"${0%/*}/../../packaging/make-installer.sh" "$work/setup.exe" "$version" "$scr" "$scr" "$tune" >"$work/log" ||
  { cat "$work/log"; exit 1; }
check "the installer is signed, SHA-256" verified "$work/setup.exe"
check "... and so was its uninstaller, before it was packed" [ "$(grep -c '^sign: signed' "$work/log")" = 2 ]
[ "$failed" -eq 0 ]
