#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Zorvel for 64-bit Windows on Debian 12, with one command.
#
# Installs the packages it needs, builds Qt for Windows from Debian's own qt6-base
# source (and SQLite from Debian's sqlite3 source) once, into a cache outside the
# clone that later runs and later clones reuse, then builds Zorvel, its tests and
# its two packages (a portable zip and an installer) into build-windows/.
#
#   scripts/build-windows.sh             Qt (if not cached), Zorvel, tests, packages
#   scripts/build-windows.sh --qt-only   only make sure the cached Qt exists
#   scripts/build-windows.sh --print-key prints the cache folder's name for the
#                                        present options (qt-<version>-<key>)
#
# The cache lives in $ZORVEL_WINDOWS_CACHE, by default ~/.cache/zorvel-windows,
# one folder per Qt version and option set. Prints where the Qt it used lives.
set -euo pipefail
cd "$(dirname "$0")/.."
source_root=$PWD

qt_only=false print_key=false
[ "${1:-}" = "--qt-only" ] && qt_only=true
[ "${1:-}" = "--print-key" ] && print_key=true

# With --print-key only the name goes to standard output.
$print_key && exec 3>&1 1>&2
scripts/install-deps.sh --run g++-mingw-w64-x86-64-posix ninja-build tcl xz-utils dpkg-dev \
    nsis zip binutils-mingw-w64-x86-64 wine64 wine

cache_root=${ZORVEL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zorvel-windows}
mkdir -p "$cache_root"

# --- Sources -------------------------------------------------------------------
# Debian's source packages, by a source entry made from the machine's own entry.
ensure_source_entry() {
    if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -q '^Sources$'; then
        local entry=/etc/apt/sources.list.d/zorvel-deb-src.sources
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo=sudo
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$entry" >/dev/null
        else
            grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
                $sudo tee /etc/apt/sources.list.d/zorvel-deb-src.list >/dev/null
        fi
        $sudo apt-get update -qq
    fi
}

sources=$cache_root/sources
fetch_sources() {
    mkdir -p "$sources"
    if ! ls "$sources"/qt6-base_*.orig.tar.xz >/dev/null 2>&1 ||
        ! ls "$sources"/sqlite3_*.orig.tar.xz >/dev/null 2>&1; then
        ensure_source_entry
        (cd "$sources" && apt-get source --download-only qt6-base sqlite3 >/dev/null)
    fi
}
fetch_sources
qt_tarball=$(ls "$sources"/qt6-base_*.orig.tar.xz | head -n1)
sqlite_tarball=$(ls "$sources"/sqlite3_*.orig.tar.xz | head -n1)
qt_version=$(basename "$qt_tarball" | sed -E 's/qt6-base_([0-9.]+).*/\1/')
sqlite_version=$(basename "$sqlite_tarball" | sed -E 's/sqlite3_([0-9.]+).*/\1/')

# --- Options -------------------------------------------------------------------
# Only what Zorvel uses: Core, Gui, Widgets, Network (the local socket), Sql with
# SQLite, Test; the Windows platform plugin and the Vista style.
qt_options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF
    -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF -DFEATURE_schannel=OFF
    -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_jpeg=OFF
    -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF
    -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF
    -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON
    -DFEATURE_system_zlib=OFF -DFEATURE_pkg_config=OFF
)
sqlite_flags=(-O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_DQS=0)

key=$( { echo "$qt_version $sqlite_version"; printf '%s\n' "${qt_options[@]}" "${sqlite_flags[@]}";
         cat cmake/mingw-w64-x86_64.cmake; } | sha256sum | cut -c1-12)
qt_cache=$cache_root/qt-$qt_version-$key
if $print_key; then
    echo "qt-$qt_version-$key" >&3
    exit 0
fi
qt_prefix=$qt_cache/qt

# --- SQLite --------------------------------------------------------------------
build_sqlite() {
    local work=$qt_cache/work/sqlite
    rm -rf "$work" && mkdir -p "$work/build"
    tar -xf "$sqlite_tarball" -C "$work"
    local src
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite*' | head -n1)
    (cd "$work/build" && "$src/configure" >/dev/null && make -s sqlite3.c >/dev/null)
    mkdir -p "$qt_cache/sqlite/include" "$qt_cache/sqlite/lib"
    x86_64-w64-mingw32-gcc-posix "${sqlite_flags[@]}" -c "$work/build/sqlite3.c" -o "$work/build/sqlite3.o"
    x86_64-w64-mingw32-ar rcs "$qt_cache/sqlite/lib/libsqlite3.a" "$work/build/sqlite3.o"
    cp "$work/build/sqlite3.h" "$qt_cache/sqlite/include/"
}

# --- Qt ------------------------------------------------------------------------
build_qt() {
    local started=$SECONDS
    echo "Building Qt $qt_version for Windows into $qt_cache (once; about an hour on two cores)"
    [ -f "$qt_cache/sqlite/lib/libsqlite3.a" ] || build_sqlite
    local work=$qt_cache/work
    rm -rf "$work/qtbase" "$work/qt-build"
    mkdir -p "$work/qtbase"
    tar -xf "$qt_tarball" -C "$work/qtbase" --strip-components=1
    # Qt 6.4.2 builds its DirectWrite font database into Qt Gui only together with
    # Direct2D, which is off, yet the Windows platform plugin refers to it whenever
    # DirectWrite 3 is there: the plugin keeps to GDI fonts, its default anyway.
    sed -i 's|#if QT_CONFIG(directwrite3)|#if 0 // QT_CONFIG(directwrite3): no DirectWrite font database without Direct2D|' \
        "$work/qtbase/src/plugins/platforms/windows/qwindowsintegration.cpp"
    mkdir -p "$qt_cache/toolchain"
    cp cmake/mingw-w64-x86_64.cmake "$qt_cache/toolchain/"
    cmake -G Ninja -S "$work/qtbase" -B "$work/qt-build" \
        -DCMAKE_TOOLCHAIN_FILE="$qt_cache/toolchain/mingw-w64-x86_64.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DSQLite3_INCLUDE_DIR="$qt_cache/sqlite/include" \
        -DSQLite3_LIBRARY="$qt_cache/sqlite/lib/libsqlite3.a" \
        "${qt_options[@]}" >"$qt_cache/configure.log"
    cmake --build "$work/qt-build" --parallel "$(nproc)"
    cmake --install "$work/qt-build" >/dev/null
    rm -rf "$work"
    echo "$((SECONDS - started)) s" >"$qt_cache/build-seconds"
    touch "$qt_cache/complete"
    echo "Qt built in $((SECONDS - started)) s: $(du -sh "$qt_prefix" | cut -f1)"
}

# Host Qt tools (moc, uic, rcc) must match the Qt being built.
scripts/install-deps.sh --run
[ -f "$qt_cache/complete" ] || build_qt
echo "Qt for Windows: $qt_prefix"
$qt_only && exit 0

# --- Zorvel --------------------------------------------------------------------
# Its tests run under Wine: `ctest` in build-windows/ starts each through it
# (scripts/check-windows.sh sets up the Wine prefix and the display).
build_dir=$source_root/build-windows
"$qt_prefix/bin/qt-cmake" -G Ninja -S "$source_root" -B "$build_dir" \
    -DCMAKE_BUILD_TYPE=Release -DZORVEL_WERROR="${ZORVEL_WERROR:-OFF}" -DCMAKE_CROSSCOMPILING_EMULATOR="$source_root/scripts/wine-test.sh" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
(cd "$build_dir" && cpack >/dev/null)
for package in "$build_dir"/zorvel-*-windows-x64.zip "$build_dir"/zorvel-*-windows-x64.exe; do
    echo "$(du -h "$package" | cut -f1)  $package"
done
