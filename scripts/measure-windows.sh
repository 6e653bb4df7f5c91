#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures Zorvel for Windows under Wine where scripts/check-windows.sh only
# checks, and prints what it found; needs a finished scripts/build-windows.sh.
# Each part runs in a Wine prefix of its own, on a virtual X display:
#   kills     a training session killed 60 times mid-answer (tst_storesafety's
#             loop: the file's integrity and every acknowledged answer after each);
#   starts    5 rounds of 3 simultaneous starts on one data file: one window each;
#   readonly  the data file with the read-only attribute: opened read-only, told;
#   dpi       LogPixels 144 (150 %): screenshots of the windows;
#   username  a Windows user named "张 三": the first start makes the file there;
#   windows   every window under Wine, rendered by tools/render_windows.
# Screenshots go to docs/ beside the Linux ones (…-wine.png, …-wine-144dpi.png).
#
#   scripts/measure-windows.sh [part...]     (all parts without arguments)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh wine64 wine xdotool x11-utils imagemagick fonts-noto-cjk fonts-liberation2

build=$PWD/build-windows
docs=$PWD/docs
installer=$(ls "$build"/zorvel-*-windows-x64.exe | head -n1)
parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(kills starts readonly dpi username windows)
work=$(mktemp -d)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH
xvfb_pid=""
cleanup() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
say() { echo "measure-windows: $*"; }

Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

# A fresh prefix with the fonts mapped as check-windows.sh maps them, and Zorvel
# installed; sets $installed and $appdata.
new_prefix() {
    wineserver -k 2>/dev/null || true
    export WINEPREFIX=$work/prefix-$1
    wineboot -i >/dev/null 2>&1
    wineserver -w
    local fonts='HKCU\Software\Wine\Fonts\Replacements' face
    for face in SimSun 宋体 NSimSun; do
        wine reg add "$fonts" /v "$face" /t REG_SZ /d "Noto Serif CJK SC" /f >/dev/null
    done
    wine reg add "$fonts" /v Arial /t REG_SZ /d "Liberation Sans" /f >/dev/null
    wine "$installer" /S
    local user_dir
    user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n1)
    installed=$user_dir/AppData/Local/Programs/Zorvel
    appdata=$user_dir/AppData/Roaming
}
wait_window() {
    local id
    for _ in $(seq 1 "${2:-600}"); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Main windows titled Zorvel (a later start's notice bears the same title, but
# is far lower).
main_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Zorvel$' 2>/dev/null || true); do
        [ "$(xdotool getwindowgeometry "$id" | awk -F'[x ]' '/Geometry/ {print $NF}')" -gt 300 ] && echo "$id"
    done
    return 0
}
close_all() {
    local id
    # Wine takes keys from the focus alone: each notice is focused, then answered.
    for id in $(xdotool search --onlyvisible --name '^Zorvel$' 2>/dev/null || true); do
        main_windows | grep -qx "$id" && continue
        xdotool windowfocus --sync "$id" 2>/dev/null || true
        xdotool key Return 2>/dev/null || true
    done
    for id in $(main_windows); do
        xdotool windowfocus --sync "$id" 2>/dev/null || true
        xdotool key --window "$id" ctrl+q 2>/dev/null || true
    done
    wineserver -w
}

for part in "${parts[@]}"; do
    case $part in
    kills)
        wineserver -k 2>/dev/null || true
        export WINEPREFIX=$work/prefix-kills
        wineboot -i >/dev/null 2>&1
        wine_path=$(grep -o 'WINEPATH=[^;"]*\\\\;[^;"]*\\\\;[^;"]*' "$build/tests/CTestTestfile.cmake" | head -n1 |
            sed 's/^WINEPATH=//; s/\\\\;/;/g')
        started=$(date +%s)
        (cd "$build/tests" && WINEPATH="$wine_path" ZORVEL_KILLS=60 \
            wine ./tst_storesafety.exe killedSessionsLeaveTheHistoryWhole 2>&1) |
            grep -E 'kills|PASS|FAIL|Totals' | sed 's/^/    /'
        say "kill loop: $(($(date +%s) - started)) s"
        ;;
    starts)
        new_prefix starts
        for round in 1 2 3 4 5; do
            for _ in 1 2 3; do wine "$installed/zorvel.exe" >/dev/null 2>&1 & done
            wait_window Zorvel >/dev/null || { say "round $round: no window"; continue; }
            # The later starts end once they have handed over; then the windows are counted.
            for _ in $(seq 1 300); do
                [ "$(pgrep -fc 'zorvel.exe' || true)" -le 1 ] && break
                sleep 0.1
            done
            say "simultaneous starts, round $round: $(main_windows | wc -l) main window(s), $(($(xdotool search --onlyvisible --name '^Zorvel$' | wc -l) - $(main_windows | wc -l))) notice(s) that the first did not answer in time"
            close_all
        done
        ;;
    readonly)
        new_prefix readonly
        wine "$installed/zorvel.exe" >/dev/null 2>&1 &
        wait_window Zorvel >/dev/null
        close_all
        wine attrib +r 'C:\users\'"$(basename "$(dirname "$(dirname "$appdata")")")"'\AppData\Roaming\Zorvel\Zorvel.mdb' \
            >/dev/null 2>&1 || chmod a-w "$appdata/Zorvel/Zorvel.mdb"
        before=$(sha256sum "$appdata/Zorvel/Zorvel.mdb" | cut -d' ' -f1)
        wine "$installed/zorvel.exe" >/dev/null 2>&1 &
        if notice=$(wait_window Zorvel 300); then
            sleep 2
            import -window root "$work/readonly.png" 2>/dev/null || true
            cp "$work/readonly.png" "$docs/read-only-file-wine.png" 2>/dev/null || true
            say "read-only data file: started; screen in docs/read-only-file-wine.png"
        fi
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
            xdotool key --window "$id" Return 2>/dev/null || true
        done
        close_all
        after=$(sha256sum "$appdata/Zorvel/Zorvel.mdb" | cut -d' ' -f1)
        [ "$before" = "$after" ] && say "read-only data file: unchanged byte for byte" ||
            say "read-only data file: CHANGED"
        ls "$appdata/Zorvel" | sed 's/^/    /'
        ;;
    dpi)
        new_prefix dpi
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
        wineserver -k
        wine "$installed/zorvel.exe" >/dev/null 2>&1 &
        main=$(wait_window Zorvel)
        sleep 2
        import -window "$main" "$docs/main-window-wine-144dpi.png"
        say "LogPixels 144: $(identify -format '%wx%h' "$docs/main-window-wine-144dpi.png") in docs/main-window-wine-144dpi.png"
        xdotool windowfocus --sync "$main" 2>/dev/null || true
        xdotool key ctrl+e
        if evaluation=$(wait_window 评价 100); then
            sleep 2
            import -window "$evaluation" "$docs/evaluate-window-wine-144dpi.png"
            say "LogPixels 144: evaluation $(identify -format '%wx%h' "$docs/evaluate-window-wine-144dpi.png")"
            xdotool key --window "$evaluation" alt+F4 || true
        fi
        close_all
        ;;
    username)
        # Wine names the profile after WINEUSERNAME, or else USER.
        saved_user=${USER:-}
        export WINEUSERNAME="张 三" USER="张 三"
        new_prefix username
        wine "$installed/zorvel.exe" >/dev/null 2>&1 &
        main=$(wait_window Zorvel) || say "user 张 三: no window"
        close_all
        unset WINEUSERNAME
        export USER=$saved_user
        data=$appdata/Zorvel/Zorvel.mdb
        if [ -f "$data" ]; then
            say "user 张 三: the first start made $(du -b "$data" | cut -f1) bytes at ${data#"$WINEPREFIX"/}; words seeded: $(sqlite3 "$data" 'SELECT count(*) FROM ci' 2>/dev/null || echo '?')"
        else
            say "user 张 三: NO data file under $appdata"
        fi
        ;;
    windows)
        new_prefix windows
        wine_path=$(grep -o 'WINEPATH=[^;"]*\\\\;[^;"]*\\\\;[^;"]*' "$build/tests/CTestTestfile.cmake" | head -n1 |
            sed 's/^WINEPATH=//; s/\\\\;/;/g')
        mkdir -p "$work/rendered"
        WINEPATH="$wine_path" wine "$build/tools/render_windows.exe" "$(winepath -w "$work/rendered")" >/dev/null 2>&1 || true
        for png in "$work/rendered"/*.png; do
            [ -f "$png" ] || continue
            name=$(basename "$png" .png)
            # main-window-wine.png is check-windows.sh's screenshot of the real window.
            [ "$name" = main-window ] && continue
            cp "$png" "$docs/$name-wine.png"
            say "rendered docs/$name-wine.png ($(identify -format '%wx%h' "$png"))"
        done
        ;;
    *) echo "unknown part $part" >&2; exit 2 ;;
    esac
done
