#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Debian package and proves it: validates its desktop file and
# metainfo, checks its dependencies, installs it with apt, runs the installed
# program and shows its window under a virtual X server, and removes it again.
# Changes the system's packages: meant for CI or a throwaway machine.
set -euo pipefail
cd "$(dirname "$0")/.."

app_id=org.zorvel.Zorvel

fail() { echo "check-package: $*" >&2; exit 1; }

# Run by this script itself under a virtual X server of its own: starts the
# installed program with the command of its desktop file and waits (up to a
# minute) for its main window.
if [ "${1:-}" = "--show-window" ]; then
    desktop_file=/usr/share/applications/$app_id.desktop
    command=$(sed -n 's/^Exec=//p' "$desktop_file")
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_file")
    [ "$(command -v "$command")" = /usr/bin/zorvel ] || fail "Exec=$command is not the installed program"
    home=$(mktemp -d)
    HOME="$home" XDG_DATA_HOME="" "$command" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT
    window=""
    end=$(($(date +%s) + 60))
    while [ "$(date +%s)" -lt "$end" ]; do
        window=$(xwininfo -root -tree | awk -v class="\"$wm_class\")" '$2 == "\"Zorvel\":" && index($0, class) { print $1; exit }')
        [ -n "$window" ] && xwininfo -id "$window" | grep -q "Map State: IsViewable" && break
        kill -0 "$pid" 2>/dev/null || fail "the installed program ended before its window showed"
        sleep 0.2
    done
    [ -n "$window" ] || { xwininfo -root -tree >&2; fail "no window \"Zorvel\" of class $wm_class showed"; }
    xwininfo -id "$window" | grep -q "Map State: IsViewable" || fail "the window \"Zorvel\" is not shown"
    [ -f "$home/.local/share/Zorvel/Zorvel.mdb" ] || fail "the installed program made no database"
    echo "window \"Zorvel\" shown: $(xprop -id "$window" WM_CLASS)"
    exit 0
fi

scripts/package.sh
scripts/install-deps.sh desktop-file-utils appstream dpkg-dev file xvfb xauth x11-utils

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get "$@"; }

# The package and its name
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
deb_name=zorvel_${version}_$(dpkg --print-architecture).deb
[ -f "build/$deb_name" ] || fail "build/$deb_name was not made: $(ls build/*.deb 2>/dev/null)"
deb=build/$deb_name
[ "$(dpkg-deb -f "$deb" Package)" = zorvel ] || fail "package name is not zorvel"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"

# The files as they ship
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$contents/usr/share/metainfo/$app_id.metainfo.xml"
appstreamcli validate-tree --no-net "$contents"
grep -q "<release version=\"$version\"" "$contents/usr/share/metainfo/$app_id.metainfo.xml" \
    || fail "the metainfo has no release entry for $version"

# Dependencies: the hand-written ones exactly as listed, and what shlibdeps found
fields() { dpkg-deb -f "$deb" "$1" | tr ',' '\n' | sed -e 's/[[:space:]]*|[[:space:]]*/ | /g' -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' | { grep -v '^$' || true; }; }
depends=$(fields Depends)
recommends=$(fields Recommends)
for item in libqt6sql6-sqlite "fonts-noto-cjk | fonts-wqy-zenhei" fonts-liberation2; do
    grep -qxF "$item" <<<"$depends" || fail "Depends lacks \"$item\": $(dpkg-deb -f "$deb" Depends)"
done
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6; do
    grep -q "^$library\( (>= [^)]*)\)\?$" <<<"$depends" \
        || fail "Depends lacks the shared library package $library: $(dpkg-deb -f "$deb" Depends)"
done
expected_recommends=$'qt6-wayland\nfcitx5-frontend-qt6 | ibus\nqt6-translations-l10n'
[ "$recommends" = "$expected_recommends" ] \
    || fail "Recommends is \"$(dpkg-deb -f "$deb" Recommends)\", not the expected list"

# Install with apt, as a user would
if dpkg-query -W -f='${Status}' zorvel 2>/dev/null | grep -q "install ok installed"; then
    echo "Removing the zorvel package that was already installed"
    apt_get remove -y zorvel
fi
trap 'rm -rf "$contents"; apt_get remove -y zorvel >/dev/null 2>&1 || true' EXIT
(cd build && apt_get install -y "./$deb_name") \
    || { apt_get update -qq && (cd build && apt_get install -y "./$deb_name"); }
for file in /usr/bin/zorvel \
            /usr/share/applications/$app_id.desktop \
            /usr/share/metainfo/$app_id.metainfo.xml \
            /usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$app_id.png \
            /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
            /usr/share/man/man1/zorvel.1.gz \
            /usr/share/doc/zorvel/copyright; do
    [ -f "$file" ] || fail "the installed package lacks $file"
done

# The installed program: its version without a display, then its window.
home=$(mktemp -d)
trap 'rm -rf "$contents" "$home"; apt_get remove -y zorvel >/dev/null 2>&1 || true' EXIT
# The installed program answers --version without a display and touches no data.
printed=$(HOME="$home" timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_DATA_HOME \
              /usr/bin/zorvel --version) \
    || fail "/usr/bin/zorvel --version failed"
[ "$printed" = "Zorvel $version" ] || fail "/usr/bin/zorvel --version printed \"$printed\", not \"Zorvel $version\""
[ -z "$(ls -A "$home")" ] || fail "/usr/bin/zorvel --version wrote into the home folder"

sh tests/with_x_server.sh bash "$PWD/scripts/check-package.sh" --show-window

apt_get remove -y zorvel
[ ! -e /usr/bin/zorvel ] || fail "/usr/bin/zorvel is still there after removing the package"
echo "check-package: $deb_name builds, validates, installs, starts and removes"
