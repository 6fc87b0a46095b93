#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vorlix Editor need,
# only those that are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev)
# The English translation: lupdate and lrelease (qt6-l10n-tools) with their
# CMake support (qt6-tools-dev), and Debian's translations of Qt's own
# dialogs and buttons, which the original interface shows in Russian.
packages+=(qt6-l10n-tools qt6-tools-dev qt6-translations-l10n)
# Node and npm run the cross-check of the patch reader against an independent one.
# A Node.js from elsewhere brings its own npm, which Debian's npm package would
# conflict with: ask for the packages only where the commands are missing.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
