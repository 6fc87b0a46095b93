#!/usr/bin/env bash
# The Windows programs tested under Wine (scripts/test.sh calls it):
#  - the core test programs, cross-built, run under Wine;
#  - vorlix-cli on the demo FullFlash against the Linux build: the same exit
#    codes, standard output and files byte for byte, the same messages but
#    for their line ends; paths with a drive letter, backslashes and Cyrillic
#    names;
#  - the settings in the registry: written by one run, read by the next, and
#    taken over from the machine-wide key on a user's first start;
#  - the editor started on a virtual display, opening the demo and closing
#    cleanly (its picture: build-windows/windows.png, or docs/windows.png
#    with --screenshot);
#  - the installer run silently, the installed editor started, the
#    uninstaller taking away everything the installer put there.
# It needs Qt for Windows in scripts/build-windows.sh's cache and skips
# (saying so) without it: that first build takes about an hour.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-windows"
shot="$out/windows.png"
[ "${1:-}" = "--screenshot" ] && shot="$root/docs/windows.png"

if ! "$root/scripts/build-windows.sh" --qt-ready; then
    echo "test-windows: SKIPPED: no Qt for Windows in the cache; scripts/build-windows.sh builds it" \
         "(about an hour, once)."
    exit 0
fi
start=$(date +%s)
"$root/scripts/install-deps.sh" wine wine64 xvfb netpbm
"$root/scripts/build-windows.sh" --tests
built=$(date +%s)

# The Linux build of the same sources, for the comparison.
if [ ! -f "$root/build/build.ninja" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
ninja -C "$root/build" vorlix-cli >/dev/null
linuxCli="$root/build/cli/vorlix-cli"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")
stage="$out/vorlix-$version-windows-x64"
qt=$(sed -n 's/^Qt6_DIR:PATH=//p' "$out/build/CMakeCache.txt")
qt=${qt%/lib/cmake/Qt6}

# A Wine of our own: its prefix in the build folder, its server kept up for
# the run, a virtual display for the windows.
# Wine makes no menu entries on the desktop of this machine for what the
# installer puts into the Start menu (winemenubuilder off).
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset VORLIX_SETTINGS QT_QPA_PLATFORM
work="$(mktemp -d)"
xvfb=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
fi
mkdir -p "$work/fb"
exec 8>"$work/display"
Xvfb -displayfd 8 -screen 0 1280x800x24 -fbdir "$work/fb" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.2; done
export DISPLAY=":$(cat "$work/display")"
# Windows drawn inside one desktop window of Wine's own, with Windows' frames.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null
# The server starts again with that desktop and stays up for the run.
wineserver -k 2>/dev/null || true
wineserver -p
failed=0
fail() {
    echo "FAILED: $*"
    failed=1
}

# ---- The core tests.
# Their libraries come from the Qt and MinGW folders, the offscreen platform
# from Qt's plugins.
export WINEPATH="$(winepath -w "$qt/bin");$(winepath -w "$stage")"
export QT_PLUGIN_PATH="$(winepath -w "$qt/plugins")"
for test in settings image picture session editing patch cli translation; do
    case $test in
        editing) folder=session ;;
        translation) folder=translations ;;
        *) folder=$test ;;
    esac
    exe="$out/build/$folder/${test}_tests.exe"
    log="$work/$test.log"
    if (cd "$work" && VORLIX_SETTINGS="$(winepath -w "$work/settings.ini")" QT_QPA_PLATFORM=offscreen \
        timeout 600 wine "$exe" --gtest_brief=1 >"$log" 2>&1); then
        echo "$test tests: $(grep -a '\[  PASSED  \]' "$log" | tr -d '\r')$(grep -a '\[  SKIPPED \]' "$log" | head -1 | tr -d '\r' | sed 's/^/, /')"
        grep -a '^\[  SKIPPED \] .*\.' "$log" | tr -d '\r' | sed 's/^/    /' || true
    else
        fail "$test tests"
        grep -a -B5 -A15 'FAILED\|Failure' "$log" | tr -d '\r' | head -80
    fi
done
unset QT_PLUGIN_PATH WINEPATH

# ---- vorlix-cli against the Linux build.
cli="$stage/vorlix-cli.exe"
mkdir -p "$work/linux" "$work/windows" "$work/result"
# run NAME ARGS...: the command in both folders; exit code, output and
# messages kept per side.
run() {
    local name=$1
    shift
    local rc=0
    (cd "$work/linux" && "$linuxCli" "$@" --settings settings.ini >"../result/$name.linux.out" \
        2>"../result/$name.linux.err") || rc=$?
    echo $rc >"$work/result/$name.linux.rc"
    rc=0
    (cd "$work/windows" && wine "$cli" "$@" --settings settings.ini \
        >"../result/$name.windows.out" 2>"../result/$name.windows.err") || rc=$?
    echo $rc >"$work/result/$name.windows.rc"
    local r="$work/result/$name"
    cmp -s "$r.linux.rc" "$r.windows.rc" ||
        fail "$name: exit code $(cat "$r.linux.rc") on Linux, $(cat "$r.windows.rc") on Windows"
    cmp -s "$r.linux.out" "$r.windows.out" || fail "$name: standard output differs"
    # Messages go to a text stream: Windows ends their lines with CR LF.
    sed 's/\r$//' "$r.windows.err" | cmp -s "$r.linux.err" - || {
        fail "$name: messages differ"
        sed 's/\r$//' "$r.windows.err" | diff "$r.linux.err" - | head -10
    }
}
run sample sample demo.fls
run info info demo.fls
run info-again info demo.fls
run list list demo.fls
run list-records list demo.fls --search records
run export-bmp export demo.fls bmp
run export-png export demo.fls png --format png
# Three pictures edited: a byte of each one's pixels changed.
for side in linux windows; do
    mkdir -p "$work/$side/edited"
    for f in $(cd "$work/linux/bmp" && ls | head -3); do
        cp "$work/linux/bmp/$f" "$work/$side/edited/$f"
        offset=$(od -An -tu4 -j10 -N4 "$work/$side/edited/$f" | tr -d ' ')
        printf '\x5a' | dd of="$work/$side/edited/$f" bs=1 seek=$((offset + 1)) conv=notrunc \
            status=none
    done
done
edited=$(cd "$work/linux" && ls edited/* | tr '\n' ' ')
# shellcheck disable=SC2086
run patch patch demo.fls $edited -o edited.vkp --author "Иванов"
# shellcheck disable=SC2086
run patch-stdout patch demo.fls $edited --author "Иванов"
cmp -s "$work/windows/edited.vkp" "$work/result/patch-stdout.windows.out" ||
    fail "patch: standard output is not the -o file"
grep -q $'\r$' "$work/windows/edited.vkp" || fail "patch: no CR LF line ends"
run apply apply demo.fls edited.vkp -o patched.fls
run list-patched list patched.fls
run parse parse edited.vkp
run check check demo.fls edited.vkp
run fill fill demo.fls
run with list demo.fls --with edited.vkp
run undo apply patched.fls edited.vkp --undo -o unpatched.fls
run usage list
# Every file the two made, byte for byte (the settings files are each
# system's INI file, with its own line ends).
diff -r -q -x settings.ini "$work/linux" "$work/windows" || fail "the files made differ"
cmp -s "$work/windows/unpatched.fls" "$work/windows/demo.fls" || fail "undo did not restore"
echo "vorlix-cli: $(ls "$work/result"/*.linux.rc | wc -l) commands as on Linux," \
     "$(find "$work/windows" -type f | wc -l) files the same"

# Paths as Windows users write them: a drive letter, backslashes, Cyrillic.
folder="$work/windows/Прошивки"
mkdir -p "$folder"
cp "$work/windows/demo.fls" "$work/windows/edited.vkp" "$folder/"
winFolder=$(winepath -w "$folder")
(cd "$work/windows" && wine "$cli" list "$winFolder\\demo.fls" --settings settings.ini \
    >"$work/result/cyr-list.out" 2>/dev/null) || fail "list of $winFolder\\demo.fls"
cmp -s "$work/result/cyr-list.out" "$work/result/list.windows.out" ||
    fail "list of $winFolder\\demo.fls differs"
(cd "$work/windows" && wine "$cli" export "$winFolder\\demo.fls" "$winFolder\\картинки" \
    --settings settings.ini >/dev/null 2>&1) || fail "export to $winFolder\\картинки"
diff -r -q "$work/linux/bmp" "$folder/картинки" >/dev/null || fail "export to a Cyrillic folder"
(cd "$work/windows" && wine "$cli" apply "$winFolder\\demo.fls" "$winFolder\\edited.vkp" \
    -o "$winFolder\\изменённый.fls" --settings settings.ini >/dev/null 2>&1) ||
    fail "apply with Cyrillic paths"
cmp -s "$folder/изменённый.fls" "$work/linux/patched.fls" || fail "apply to a Cyrillic path"
echo "vorlix-cli: list, export and apply with $winFolder\\..."

# ---- Settings in the registry.
key='HKCU\Software\Siemens\Vorlix'
wine reg delete "$key" /f >/dev/null 2>&1 || true
# A user's first start takes over what the machine-wide key holds.
wine reg add 'HKLM\Software\Siemens\Vorlix' /v AuthorName /d Machine /f >/dev/null
(cd "$work/windows" && wine "$cli" info demo.fls >"$work/result/reg1.out" 2>"$work/result/reg1.err") ||
    fail "info with the registry"
wine reg query "$key" /v AuthorName 2>/dev/null | grep -q Machine ||
    fail "the machine-wide values were not taken over"
wine reg query "$key\\C55v50" /v PITAdrMin >/dev/null 2>&1 ||
    fail "the firmware's settings are not in the registry"
wine reg delete 'HKLM\Software\Siemens\Vorlix' /f >/dev/null
# The next run finds the firmware known: no first-meeting warning.
(cd "$work/windows" && wine "$cli" info demo.fls >"$work/result/reg2.out" 2>"$work/result/reg2.err") ||
    fail "info with the registry, again"
cmp -s "$work/result/reg1.err" "$work/result/reg2.err" &&
    fail "the second run did not read what the first one stored"
cmp -s "$work/result/reg2.out" "$work/result/info-again.windows.out" ||
    fail "info with the registry differs"
[ ! -e "$work/windows/HKEY_CURRENT_USER" ] && [ ! -e "$work/windows/HKEY_LOCAL_MACHINE" ] ||
    fail "settings went to a file named after the registry key"
echo "settings: in $key, taken over from HKLM on the first start, read by the next run"

# ---- The editor on the virtual display.
# editor EXE FLASH: starts the editor on FLASH, waits until it lists the file
# as the last one opened, keeps a picture of the screen, and closes it as a
# user would; its exit code.
editor() {
    local exe=$1 flash=$2 rc=0
    wine reg delete "$key" /v Recent0 /f >/dev/null 2>&1 || true
    wine "$exe" "$(winepath -w "$flash")" >"$work/editor.log" 2>&1 &
    local pid=$!
    for _ in $(seq 120); do
        wine reg query "$key" /v Recent0 2>/dev/null | grep -aq '\.fls' && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.5
    done
    sleep 3
    xwdtopnm "$work/fb/Xvfb_screen0" 2>/dev/null | pnmtopng >"$work/screen.png"
    wine taskkill /im "$(basename "$exe")" >/dev/null 2>&1 || true
    for _ in $(seq 60); do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
    if kill -0 $pid 2>/dev/null; then
        kill $pid
        rc=124
    else
        wait $pid || rc=$?
    fi
    return $rc
}
cp "$work/windows/demo.fls" "$folder/демо.fls"
if editor "$stage/vorlix.exe" "$folder/демо.fls"; then
    wine reg export "$key" "$work/vorlix.reg" /y >/dev/null
    iconv -f UTF-16LE -t UTF-8 "$work/vorlix.reg" | grep -q '"Recent0"=".*[/\\]демо\.fls"' ||
        fail "the editor did not open the demo"
    cp "$work/screen.png" "$shot"
    echo "editor: opened $(winepath -w "$folder")\\демо.fls and closed; its picture: $shot"
else
    fail "the editor did not close cleanly (exit code $?)"
    cat "$work/editor.log"
fi

# ---- The installer.
setup="$out/vorlix-$version-setup.exe"
snapshot() {
    (cd "$WINEPREFIX/drive_c" && find . -path '*/Temp' -prune -o -path ./windows -prune \
        -o -print | sort) >"$1.files"
    wine reg export HKCU "$1.hkcu" /y >/dev/null 2>&1
    wine reg export 'HKLM\Software' "$1.hklm" /y >/dev/null 2>&1
    # The programs' own settings are the user's, not the installer's.
    iconv -f UTF-16LE -t UTF-8 "$1.hkcu" "$1.hklm" | tr -d '\r' |
        awk '/^\[/ { own = index($0, "Siemens\\Vorlix") > 0 } !own' |
        grep -a -i 'vorlix\|\.fls\|\.vkp' | sort >"$1.keys" || true
}
snapshot "$work/before"
wine "$setup" /S
user="$WINEPREFIX/drive_c/users/$(id -un)"
instdir="$user/AppData/Local/Programs/Vorlix Editor"
[ -f "$instdir/vorlix.exe" ] || fail "the installer put no vorlix.exe into $instdir"
find "$user/AppData/Roaming/Microsoft/Windows/Start Menu" \
    -name 'Vorlix Editor.lnk' | grep -q . || fail "no Start menu entry"
wine reg query 'HKCU\Software\Classes\.fls' /ve 2>/dev/null | grep -q Vorlix.FullFlash ||
    fail ".fls does not open in the editor"
wine reg query 'HKCU\Software\Classes\.vkp' /ve 2>/dev/null | grep -q Vorlix.Patch ||
    fail ".vkp is not known"
editor "$instdir/vorlix.exe" "$work/windows/demo.fls" || fail "the installed editor did not run"
# The uninstaller runs from a copy of itself and returns at once.
wine "$instdir/uninstall.exe" /S
for _ in $(seq 60); do [ -e "$instdir" ] || break; sleep 0.5; done
sleep 2
snapshot "$work/after"
diff "$work/before.files" "$work/after.files" || fail "the uninstaller left files behind"
diff "$work/before.keys" "$work/after.keys" || fail "the uninstaller left registry keys behind"
echo "installer: installed silently, the editor ran, uninstalled: $(du -h "$setup" | cut -f1)"

end=$(date +%s)
echo "test-windows: build $((built - start)) s, tests $((end - built)) s"
if [ $failed -ne 0 ]; then
    echo "test-windows: FAILED"
    exit 1
fi
echo "test-windows: all passed"
