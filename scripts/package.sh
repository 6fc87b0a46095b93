#!/usr/bin/env bash
# Makes the Debian package of Vorlix Editor (CPack; the dependencies read
# from the binaries by dpkg-shlibdeps) and checks it: lintian finds no
# error, and the desktop entry, the metainfo and the file types validate.
#
# Usage: scripts/package.sh [BUILD_DIR]
#   BUILD_DIR  an existing build to package as it is (scripts/test.sh gives
#              its own, so that nothing is compiled twice). Without it, a
#              Release build of the programs alone is made in build-package.
# The package is written to BUILD_DIR/package/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

"$root/scripts/install-deps.sh" dpkg-dev file help2man lintian desktop-file-utils appstream \
    shared-mime-info

if [ $# -gt 0 ]; then
    build="$(cd "$1" && pwd)"
    # Configured again, so that tools installed just now (help2man) are found.
    cmake -S "$root" -B "$build" >/dev/null
else
    build="$root/build-package"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORLIX_BUILD_UI=ON \
        -DVORLIX_BUILD_TESTS=OFF -DVORLIX_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"

rm -f "$build"/package/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/package/vorlix_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "package.sh: no package made" >&2
    exit 1
fi
deb="${debs[0]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
problems=0
problem() { echo "package.sh: $*" >&2; problems=$((problems + 1)); }

# lintian: no error. Its warnings are printed for the reader.
lintian --fail-on error --tag-display-limit 0 "$deb" || problem "lintian found errors"

dpkg-deb -x "$deb" "$work/root"
share="$work/root/usr/share"
for file in bin/vorlix bin/vorlix-cli share/applications/vorlix.desktop \
    share/metainfo/vorlix.metainfo.xml share/mime/packages/vorlix.xml \
    share/icons/hicolor/scalable/apps/vorlix.svg share/icons/hicolor/48x48/apps/vorlix.png \
    share/man/man1/vorlix.1.gz share/man/man1/vorlix-cli.1.gz \
    share/bash-completion/completions/vorlix-cli; do
    [ -f "$work/root/usr/$file" ] || problem "the package lacks /usr/$file"
done

# The desktop entry: no error and no warning. One hint stays: the entry sits
# under both Graphics and Development on purpose (see the entry itself).
if ! out=$(desktop-file-validate "$share/applications/vorlix.desktop" 2>&1) ||
    grep -Eq 'error:|warning:' <<<"$out"; then
    problem "desktop-file-validate: $out"
fi

# The metainfo, as installed and in its form with a web address. The one
# warning that remains, cid-desktopapp-is-not-rdns, is lowered to a note:
# the component keeps the program's name, as its comment explains.
for metainfo in "$share/metainfo/vorlix.metainfo.xml" "$build/dist/vorlix-web.metainfo.xml"; do
    appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info "$metainfo" ||
        problem "appstreamcli validate: $metainfo"
done

# The file types: the database builds from them beside the system's own.
mkdir -p "$work/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/vorlix.xml" \
    "$work/mime/packages/"
if ! update-mime-database "$work/mime" >"$work/mime.log" 2>&1 ||
    ! grep -q 'text/x-vkp:\*\.vkp' "$work/mime/globs2" ||
    ! grep -q 'application/x-siemens-fullflash:\*\.fls' "$work/mime/globs2"; then
    cat "$work/mime.log" >&2
    problem "the file types do not build"
fi

[ "$problems" -eq 0 ] || exit 1
echo "Package: $deb"
