#!/usr/bin/env bash
# Files written by the Linux build read in a Windows build and the other way
# round, in a folder and under file names with non-ASCII letters: ciphertext
# that one side encrypts the other decrypts, and a container of each
# protected mode that one side saves the other loads. Every check compares
# the bytes that come back, so a Windows program that wine did not really
# run fails it.
#   interop.sh LINUX_TOOL WINDOWS_TOOL   (both built from InteropTool.cpp)
set -euo pipefail
linux=$1
windows=$2
wine_run=$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-run

top=$(mktemp -d "${TMPDIR:-/tmp}/orvane-interop.XXXXXX")
trap 'rm -rf "$top"' EXIT
work="$top/Données ünïcødé 日本"
mkdir "$work"
# The Windows path of a Unix path: wine shows the root as drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# As libxml2 writes it, so that a plain save gives back the same bytes.
printf '<?xml version="1.0" encoding="UTF-8"?>\n<config name="Grüße">%s</config>\n' \
  "$(head -c 3000 /dev/zero | tr '\0' x)" >"$work/plain.xml"
passed=0
failed=0
check() {
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}
same() { cmp -s "$1" "$2"; }

"$linux" encrypt "$work/plain.xml" "$work/clé Linux.xml" >/dev/null
"$wine_run" "$windows" decrypt "$(winpath "$work/clé Linux.xml")" "$(winpath "$work/de Linux.xml")" >/dev/null || true
check "Windows decrypts what Linux encrypted" same "$work/plain.xml" "$work/de Linux.xml"

"$wine_run" "$windows" encrypt "$(winpath "$work/plain.xml")" "$(winpath "$work/clé Windows.xml")" >/dev/null || true
"$linux" decrypt "$work/clé Windows.xml" "$work/de Windows.xml" >/dev/null || true
check "Linux decrypts what Windows encrypted" same "$work/plain.xml" "$work/de Windows.xml"

# The key is the file name's: under another name neither side decrypts.
cp "$work/clé Windows.xml" "$work/cle Windows.xml"
check "Linux refuses a renamed file" bash -c '! "$0" decrypt "$1" "$2" 2>/dev/null' \
  "$linux" "$work/cle Windows.xml" "$work/renamed.xml"
cp "$work/clé Linux.xml" "$work/cle Linux.xml"
refusal=$("$wine_run" "$windows" decrypt "$(winpath "$work/cle Linux.xml")" "$(winpath "$work/renamed.xml")" 2>&1 ||
  true)
check "Windows refuses a renamed file" grep -q "cannot decrypt" <<<"$refusal"

for mode in compressed encrypted both; do
  "$linux" save "$mode" "$work/plain.xml" "$work/réglages $mode Linux.xml" >/dev/null
  "$wine_run" "$windows" load "$(winpath "$work/réglages $mode Linux.xml")" "$(winpath "$work/$mode de Linux.xml")" \
    >/dev/null || true
  check "Windows loads a $mode container saved by Linux" same "$work/plain.xml" "$work/$mode de Linux.xml"

  "$wine_run" "$windows" save "$mode" "$(winpath "$work/plain.xml")" "$(winpath "$work/réglages $mode Windows.xml")" \
    >/dev/null || true
  "$linux" load "$work/réglages $mode Windows.xml" "$work/$mode de Windows.xml" >/dev/null || true
  check "Linux loads a $mode container saved by Windows" same "$work/plain.xml" "$work/$mode de Windows.xml"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
