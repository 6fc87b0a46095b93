#!/usr/bin/env bash
# Installs the Debian package that scripts/package.sh made, runs the
# installed programs as a user would, and removes the package again.
#
# Usage: scripts/package-smoke.sh BUILD_DIR   (the package in BUILD_DIR/package/)
# On a machine where a vorlix package is installed already, that one is left
# alone and the programs run from the package's files unpacked into a
# scratch folder instead.
set -euo pipefail
debs=("$1"/package/vorlix_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "no package in $1/package" >&2
    exit 1
fi
deb="$(cd "$(dirname "${debs[0]}")" && pwd)/$(basename "${debs[0]}")"
version="$(dpkg-deb -f "$deb" Version)"

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
work="$(mktemp -d)"
installed=""
cleanup() {
    if [ -n "$installed" ]; then
        $sudo dpkg --purge vorlix >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if dpkg-query -W -f='${Status}' vorlix 2>/dev/null | grep -q "install ok installed"; then
    echo "A vorlix package is installed here already; running the new one unpacked."
    dpkg-deb -x "$deb" "$work/root"
    prefix="$work/root/usr"
else
    installed=yes
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
        "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
    prefix=/usr
    [ "$(command -v vorlix-cli)" = /usr/bin/vorlix-cli ] || { echo "vorlix-cli is not on PATH" >&2; exit 1; }
    if command -v man >/dev/null; then man -w vorlix-cli >/dev/null; fi
    # dpkg's triggers took the file types into the system's database.
    if [ -f /usr/share/mime/globs2 ]; then
        grep -q 'text/x-vkp:\*\.vkp' /usr/share/mime/globs2 ||
            { echo "*.vkp is not a known file type after the install" >&2; exit 1; }
    fi
fi

# The Debian version "0.7.8~beta" is the program's "0.7.8 beta".
expected="vorlix-cli ${version/\~/ }"
got="$("$prefix/bin/vorlix-cli" --version)"
[ "$got" = "$expected" ] || { echo "vorlix-cli --version: \"$got\", expected \"$expected\"" >&2; exit 1; }
got="$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/vorlix" --version)"
[ "$got" = "vorlix ${version/\~/ }" ] || { echo "vorlix --version: \"$got\"" >&2; exit 1; }

export VORLIX_SETTINGS="$work/settings.ini"
"$prefix/bin/vorlix-cli" sample "$work/demo.fls"
[ "$(stat -c %s "$work/demo.fls")" -eq $((8 * 1024 * 1024)) ] || { echo "sample: wrong size" >&2; exit 1; }
"$prefix/bin/vorlix-cli" info "$work/demo.fls" 2>"$work/info.err" | grep -q "ModelAndVersion" ||
    { echo "info of the sample failed" >&2; exit 1; }

if [ -n "$installed" ]; then
    $sudo dpkg --purge vorlix >/dev/null
    installed=""
    [ ! -e /usr/bin/vorlix-cli ] || { echo "vorlix-cli is still there after removal" >&2; exit 1; }
fi
echo "Installed package ran: $expected"
