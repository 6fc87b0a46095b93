#!/usr/bin/env bash
# Makes the Windows programs on Debian 12, cross-built with MinGW-w64:
#   build-windows/vorlix-<version>-windows-x64.zip  the editor, vorlix-cli and
#       what they need to run, in one folder
#   build-windows/vorlix-<version>-setup.exe        an installer of the same
#
#   scripts/build-windows.sh [--tests]
#
# Installs what is missing (the cross compilers, NSIS, zip, the source of
# Debian's Qt), then builds Qt for Windows once from Debian's own source of
# the Qt it has (the same version, whose tools the build runs) into a cache
# outside the work tree: VORLIX_WINDOWS_CACHE, by default
# ~/.cache/vorlix-windows. The cache is reused while its version and options
# stay the same; its first build takes about an hour. --tests also builds
# GoogleTest for Windows and the core test programs (scripts/test-windows.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-windows"
cache="${VORLIX_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vorlix-windows}"
toolchain="$root/scripts/windows/mingw-w64-x86_64.cmake"
qtPatch="$root/scripts/windows/qt-6.4.2-windows-plugin.patch"
tests=OFF
case "${1:-}" in
    --tests) tests=ON ;;
    # Only whether Qt for Windows is in the cache, current: exit status 0.
    --qt-ready) ready=1 ;;
esac

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
jobs=$(nproc 2>/dev/null || echo 2)
host=x86_64-w64-mingw32

# ---- Qt for Windows, from the source of the Qt installed here: its
# version, folder, options and the stamp of a finished build of them.
qtSettings() {
    qtDebian=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
    qtDebian=${qtDebian#*:}
    qtVersion=${qtDebian%%[+~-]*}
    qt="$cache/qt-$qtVersion-mingw"
    # Core, Gui, Widgets and Test with the Windows and offscreen platforms, the
    # Vista style and Qt's own copies of the libraries it uses; what the
    # programs do not use is left out.
    qtOptions=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
        -DCMAKE_INSTALL_PREFIX="$qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
        -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
        -DFEATURE_xml=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_direct2d=OFF
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
        -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
        -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
        -DFEATURE_system_textmarkdownreader=OFF)
    qtHash=$( (printf '%s\n' "${qtOptions[@]}"; cat "$qtPatch" "$toolchain") | sha256sum | cut -c1-16)
    qtStamp="qt6-base $qtDebian options $qtHash"
}
qtSettings
if [ -n "${ready:-}" ]; then
    [ -n "$qtDebian" ] && [ "$(cat "$qt/.vorlix-qt-complete" 2>/dev/null)" = "$qtStamp" ]
    exit
fi

extra=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix nsis zip dpkg-dev xz-utils)
[ "$tests" = ON ] && extra+=(googletest)
"$root/scripts/install-deps.sh" "${extra[@]}"
qtSettings

mkdir -p "$cache" "$out"
# One run at a time builds in the cache.
exec 9>"$cache/.lock"
flock 9

# Debian's source of qt6-base, with Debian's patches and ours applied.
qtSource() {
    local src="$cache/src" tree="$cache/src/qtbase"
    if [ -f "$tree/.vorlix-patched" ]; then
        [ "$(cat "$tree/.vorlix-patched")" = "$qtDebian" ] && return
        rm -rf "$tree"  # the source of another version
    fi
    mkdir -p "$src"
    if [ ! -d "$tree" ]; then
        if [ ! -f "$src/qt6-base_$qtDebian.dsc" ]; then
            if ! apt-cache showsrc qt6-base 2>/dev/null | grep -qx "Version: $qtDebian"; then
                echo "Adding Debian's source archive (deb-src) to apt's sources"
                local codename
                codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
                printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" \
                    "Suites: $codename $codename-updates" "Components: main" \
                    "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
                    $sudo tee /etc/apt/sources.list.d/vorlix-src.sources >/dev/null
                $sudo apt-get update -qq
            fi
            (cd "$src" && apt-get source --download-only -qq "qt6-base=$qtDebian")
        fi
        dpkg-source -x --skip-debianization "$src/qt6-base_$qtDebian.dsc" "$tree"
    fi
    rm -rf "$src/deb"
    mkdir -p "$src/deb"
    tar -xJf "$src"/qt6-base_"$qtDebian".debian.tar.xz -C "$src/deb"
    # Each patch once: one found applied already (a run cut short) is passed.
    local patches=()
    while read -r name _; do
        case "$name" in "" | "#"*) continue ;; esac
        patches+=("$src/deb/debian/patches/$name")
    done <"$src/deb/debian/patches/series"
    patches+=("$qtPatch")
    for p in "${patches[@]}"; do
        if ! patch -d "$tree" -p1 -R -f -s --dry-run <"$p" >/dev/null 2>&1; then
            patch -d "$tree" -p1 -f -s <"$p"
        fi
    done
    echo "$qtDebian" >"$tree/.vorlix-patched"
}

if [ "$(cat "$qt/.vorlix-qt-complete" 2>/dev/null)" != "$qtStamp" ]; then
    qtSource
    build="$cache/qt-build"
    # A build of another version or other options starts afresh; one of
    # these (or one begun by hand with them, which has no record) goes on
    # where it stopped.
    if [ -f "$build/.vorlix-options" ] && [ "$(cat "$build/.vorlix-options")" != "$qtStamp" ]; then
        rm -rf "$build"
    fi
    if [ ! -f "$build/build.ninja" ]; then
        echo "Configuring Qt $qtVersion for Windows (log: $cache/configure.log)"
        cmake -S "$cache/src/qtbase" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            "${qtOptions[@]}" >"$cache/configure.log" 2>&1 ||
            { tail -30 "$cache/configure.log"; exit 1; }
    fi
    echo "$qtStamp" >"$build/.vorlix-options"
    if ! ninja -C "$build" -n 2>/dev/null | grep -q 'no work to do'; then
        echo "Building Qt $qtVersion for Windows into $qt: the first build takes about an hour" \
             "on two cores (log: $cache/build.log)."
        start=$(date +%s)
        # The Windows platform plugin first: a fault of the patched source
        # shows there, at the end of a build in the usual order.
        if ! { ninja -C "$build" -j "$jobs" QWindowsIntegrationPlugin &&
               ninja -C "$build" -j "$jobs"; } >"$cache/build.log" 2>&1; then
            tail -30 "$cache/build.log"
            echo "The Qt build failed; the whole log is $cache/build.log" >&2
            exit 1
        fi
        echo "$(( $(date +%s) - start )) s" >"$cache/build.time"
    fi
    cmake --install "$build" >"$cache/install.log" 2>&1 || { tail -30 "$cache/install.log"; exit 1; }
    echo "$qtStamp" >"$qt/.vorlix-qt-complete"
    echo "Qt $qtVersion for Windows is in $qt"
fi

# ---- GoogleTest for Windows, from Debian's source of it.
gtestArgs=()
if [ "$tests" = ON ]; then
    gtest="$cache/googletest-mingw"
    gtestStamp="googletest $(dpkg-query -W -f='${Version}' googletest)"
    if [ "$(cat "$gtest/.vorlix-complete" 2>/dev/null)" != "$gtestStamp" ]; then
        echo "Building GoogleTest for Windows"
        rm -rf "$cache/googletest-build"
        cmake -S /usr/src/googletest -B "$cache/googletest-build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_INSTALL_PREFIX="$gtest" -DBUILD_GMOCK=OFF >/dev/null
        ninja -C "$cache/googletest-build" -j "$jobs" >/dev/null
        cmake --install "$cache/googletest-build" >/dev/null
        echo "$gtestStamp" >"$gtest/.vorlix-complete"
    fi
    gtestArgs=(-DGTest_DIR="$gtest/lib/cmake/GTest"
        -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST)
fi

# ---- The programs.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
"$qt/bin/qt-cmake" -S "$root" -B "$out/build" -G Ninja -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DVORLIX_BUILD_UI=ON -DVORLIX_BUILD_TESTS="$tests" \
    -DVORLIX_BUILD_BENCH=OFF "${launcher[@]}" "${gtestArgs[@]}" >"$out/configure.log" 2>&1 ||
    { tail -30 "$out/configure.log"; exit 1; }
targets=(vorlix vorlix-cli)
if [ "$tests" = ON ]; then
    targets+=(settings_tests image_tests picture_tests session_tests editing_tests patch_tests
        cli_tests translation_tests)
fi
ninja -C "$out/build" -j "$jobs" "${targets[@]}"

# ---- The folder that the zip holds and the installer installs.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")
name="vorlix-$version-windows-x64"
stage="$out/$name"
rm -rf "$stage"
mkdir -p "$stage"
cp "$out/build/ui/vorlix.exe" "$out/build/cli/vorlix-cli.exe" "$stage/"
for plugin in platforms/qwindows styles/qwindowsvistastyle imageformats/qgif imageformats/qico \
    imageformats/qjpeg; do
    mkdir -p "$stage/plugins/${plugin%/*}"
    cp "$qt/plugins/$plugin.dll" "$stage/plugins/$plugin.dll"
done
# The libraries the programs and plugins load, found by their imports:
# Qt's and the MinGW run-time's; Windows brings the rest.
gccDir=$(dirname "$($host-g++-posix -print-file-name=libstdc++-6.dll)")
pthreadDir=$(dirname "$($host-g++-posix -print-file-name=libwinpthread-1.dll)")
pending=("$stage"/*.exe "$stage"/plugins/*/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $($host-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [ -f "$stage/$dll" ] && continue
        for dir in "$qt/bin" "$gccDir" "$pthreadDir"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                pending+=("$stage/$dll")
                break
            fi
        done
    done
done
$host-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/plugins/*/*.dll
# Qt looks for its plugins and translations beside the programs.
printf '%s\r\n' "[Paths]" "Prefix = ." "Plugins = plugins" "Translations = translations" \
    >"$stage/qt.conf"
# Qt's own buttons and dialogs in Russian; the English translation of the
# programs' texts is built into them.
mkdir -p "$stage/translations"
cp /usr/share/qt6/translations/qtbase_ru.qm "$stage/translations/"
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/dist/windows/README.txt.in" >"$stage/README.txt"

rm -f "$out/$name.zip"
(cd "$out" && zip -qr9 "$name.zip" "$name")

# ---- The installer: the same files, listed for it to install and remove.
(
    cd "$stage"
    find . -type d | sort | while read -r dir; do
        win=${dir#.}
        win=${win//\//\\}
        echo "SetOutPath \"\$INSTDIR$win\""
        find "$dir" -maxdepth 1 -type f | sort | while read -r file; do
            echo "File \"$stage/${file#./}\""
        done
    done
) >"$out/files.nsh"
(
    cd "$stage"
    find . -type f | sort | while read -r file; do
        win=${file#./}
        echo "Delete \"\$INSTDIR\\${win//\//\\}\""
    done
    find . -mindepth 1 -type d | sort -r | while read -r dir; do
        win=${dir#./}
        echo "RMDir \"\$INSTDIR\\${win//\//\\}\""
    done
) >"$out/unfiles.nsh"
setup="$out/vorlix-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$out/files.nsh" \
    -DUNFILES="$out/unfiles.nsh" -DICON="$root/dist/icons/vorlix.ico" -DOUTFILE="$setup" \
    "$root/dist/windows/vorlix.nsi"

echo "Written: $out/$name.zip ($(du -h "$out/$name.zip" | cut -f1))"
echo "Written: $setup ($(du -h "$setup" | cut -f1))"
