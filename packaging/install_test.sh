#!/usr/bin/env bash
# install_test.sh BUILD_DIR: installs into a temporary prefix and checks the
# installed tree, then runs the launcher twice with a temporary home.
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

cli=$prefix/bin/netdesigner-cli
[ -x "$cli" ] || fail "no netdesigner-cli"
"$cli" --version | grep -q '^netdesigner-cli [0-9]' || fail "--version"
# Read whole: grep -q would stop reading early and pipefail take the writer's SIGPIPE.
help=$("$cli" --help)
grep -q 'host X Y TYPE NAME' <<<"$help" || fail "--help lists no commands"
(cd "$tmp" && echo 'render picture.png 16 16' | "$cli") && [ -s "$tmp/picture.png" ] ||
  fail "the installed runner renders no picture"
[ -x "$prefix/bin/netdesigner" ] || fail "no windowed program"
[ -x "$prefix/bin/netdesigner-launch" ] || fail "no launcher"

seed=$prefix/share/netdesigner/workspace
[ -s "$seed/HostInfo.hi" ] && [ -s "$seed/ChanInfo.ci" ] || fail "no reference files"
projects=$(find "$seed" -name hosts.hs | wc -l)
[ "$projects" -ge 3 ] || fail "only $projects sample projects"

doc=$prefix/share/doc/netdesigner
grep -q '^MIT License' "$doc/LICENSE" || fail "no licence"
grep -q 'LICENSE' "$doc/README.md" || fail "the README names no licence"

desktop-file-validate "$prefix/share/applications/netdesigner.desktop" || fail "desktop entry"
grep -q '^Exec=netdesigner-launch' "$prefix/share/applications/netdesigner.desktop" || fail "Exec"
icon=$prefix/share/icons/hicolor/scalable/apps/netdesigner.svg
python3 -c 'import sys, xml.etree.ElementTree as E
root = E.parse(sys.argv[1]).getroot()
sys.exit(0 if root.tag == "{http://www.w3.org/2000/svg}svg" else 1)' "$icon" || fail "icon is not SVG"

# A short script against the installed reference files.
out=$(cd "$seed" && printf 'new\nprint types\nopen ring\nprint class\n' | "$cli")
echo "$out" | grep -q '^chantype 1 5000 ' || fail "types not read: $out"
echo "$out" | grep -q '^class 2 ' || fail "ring sample not biconnected: $out"

# The launcher seeds the workspace once and never overwrites; the program
# itself is replaced by a stand-in that records where it was started.
fake=$tmp/fakebin
mkdir -p "$fake"
cp "$prefix/bin/netdesigner-launch" "$fake/"
printf '#!/bin/sh\npwd > "$HOME/started-in"\n' > "$fake/netdesigner"
chmod +x "$fake/netdesigner"
ln -s "$prefix/share" "$tmp/share"
home=$tmp/home
mkdir -p "$home"
HOME=$home XDG_DATA_HOME= "$fake/netdesigner-launch"
workspace=$home/.local/share/netdesigner/projects
[ "$(cat "$home/started-in")" = "$workspace" ] || fail "started in $(cat "$home/started-in")"
cmp -s "$workspace/HostInfo.hi" "$seed/HostInfo.hi" || fail "workspace not seeded"
[ -f "$workspace/ring/hosts.hs" ] || fail "samples not seeded"
echo changed > "$workspace/ring/general.gs"
rm "$workspace/ChanInfo.ci"
HOME=$home XDG_DATA_HOME= "$fake/netdesigner-launch"
[ "$(cat "$workspace/ring/general.gs")" = changed ] || fail "a changed file was overwritten"
[ -s "$workspace/ChanInfo.ci" ] || fail "a missing reference file was not seeded again"

# XDG_DATA_HOME, when set, decides the place.
HOME=$home XDG_DATA_HOME=$tmp/xdg "$fake/netdesigner-launch"
[ -f "$tmp/xdg/netdesigner/projects/HostInfo.hi" ] || fail "XDG_DATA_HOME ignored"
echo "install tree ok"
