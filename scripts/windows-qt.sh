#!/usr/bin/env bash
# Makes the Qt that the Windows build uses: qtbase 6.4.2 (Core, Gui, Widgets, Test and their
# plugins) for 64-bit MinGW-w64, in a cache folder outside the checkout, and prints its path as
# the last line of its output. Three ways, the first that applies:
#   1. the prebuilt archive from ../shared/qt-mingw/ (or $VYPISNIK_QT_ARCHIVE), when its SHA-256
#      is the one below: unpacked once (about 10 s), then reused;
#   2. a Qt this script built from source earlier, in the same cache folder: reused;
#   3. Debian's own source package of qtbase (6.4.2+dfsg-10), downloaded through a private apt
#      state (the machine's apt setup is untouched) and cross-built with cmake/MinGW-w64.cmake and
#      Debian's installed Qt as the host tools: about an hour on two cores, at low priority.
# --configure-only stops way 3 after configuring (a minute), to check the recipe quickly.
# Several checkouts may share the cache: a lock keeps two runs from making it at once.
set -euo pipefail
checkout="$(cd "$(dirname "$0")/.." && pwd)"

qt_version=6.4.2
debian_version=6.4.2+dfsg-10
archive_name=qt-${qt_version}-mingw-w64-x86_64.tar.xz
archive_sha256=630ac8f876d468c3c5284c91b9a34237fc0c18f268920c708bb3d013a6fc7217
source_sha256=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e # the .orig.tar.xz

cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/vypisnik"
qt_dir="$cache_root/qt-${qt_version}-mingw-w64" # holds qt6-mingw/ and the stamp
stamp="$qt_dir/made-from"
configure_only=0
[ "${1:-}" = "--configure-only" ] && configure_only=1

say() { echo "windows-qt: $*" >&2; }

find_archive() {
    local candidates=()
    [ -n "${VYPISNIK_QT_ARCHIVE:-}" ] && candidates+=("$VYPISNIK_QT_ARCHIVE")
    candidates+=("$checkout/../shared/qt-mingw/$archive_name")
    # A worktree lies elsewhere; the main checkout it belongs to sits beside the shared folder.
    local common
    if common="$(git -C "$checkout" rev-parse --path-format=absolute --git-common-dir 2>/dev/null)"; then
        candidates+=("$(dirname "$common")/../shared/qt-mingw/$archive_name")
    fi
    local candidate
    for candidate in "${candidates[@]}"; do
        if [ -f "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

complete() { # a finished Qt: the stamp is written last
    [ -f "$stamp" ] && [ -f "$qt_dir/qt6-mingw/lib/cmake/Qt6/Qt6Config.cmake" ]
}

# Qt's own texts need no cross build: Debian's qt6-translations-l10n holds the same files. The
# Czech ones join the Qt, where QLibraryInfo looks for them.
add_translations() {
    mkdir -p "$qt_dir/qt6-mingw/translations"
    local qm
    for qm in /usr/share/qt6/translations/qtbase_cs.qm /usr/share/qt6/translations/qt_cs.qm; do
        [ -f "$qm" ] && cp -p "$qm" "$qt_dir/qt6-mingw/translations/"
    done
    return 0
}

mkdir -p "$cache_root"
exec 9>"$cache_root/qt-${qt_version}-mingw-w64.lock"
flock 9

# 1. The prebuilt archive.
if archive="$(find_archive)"; then
    if [ "$(sha256sum "$archive" | cut -d' ' -f1)" = "$archive_sha256" ]; then
        if complete && [ "$(cat "$stamp")" = "archive $archive_sha256" ]; then
            say "way 1, the prebuilt archive, unpacked earlier: $qt_dir"
        else
            say "way 1, unpacking the prebuilt archive $archive"
            rm -rf "$qt_dir.new"
            mkdir -p "$qt_dir.new"
            tar -xJf "$archive" -C "$qt_dir.new"
            echo "archive $archive_sha256" >"$qt_dir.new/made-from"
            rm -rf "$qt_dir"
            mv "$qt_dir.new" "$qt_dir"
        fi
        add_translations
        echo "$qt_dir/qt6-mingw"
        exit 0
    fi
    say "$archive does not have the expected SHA-256; not using it"
fi

# 2. An earlier build of our own.
if complete && [ $configure_only -eq 0 ]; then
    say "way 2, reusing the Qt built earlier ($(cat "$stamp")): $qt_dir"
    add_translations
    echo "$qt_dir/qt6-mingw"
    exit 0
fi

# 3. From Debian's source package.
say "way 3, building qtbase $debian_version from Debian's source package (about an hour)"
bash "$checkout/scripts/install-deps.sh" --windows-qt-source
work="$cache_root/qt-${qt_version}-mingw-w64-source"
mkdir -p "$work/apt/etc" "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
cat >"$work/apt/etc/debian-sources.sources" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_private=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/apt/etc"
             -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
orig="qt6-base_${debian_version%-*}.orig.tar.xz"
if [ ! -f "$work/$orig" ] || [ "$(sha256sum "$work/$orig" | cut -d' ' -f1)" != "$source_sha256" ]; then
    apt-get "${apt_private[@]}" update -qq
    (cd "$work" && apt-get "${apt_private[@]}" source --download-only "qt6-base=$debian_version")
fi
if [ "$(sha256sum "$work/$orig" | cut -d' ' -f1)" != "$source_sha256" ]; then
    say "$orig does not have the expected SHA-256"
    exit 1
fi
sources="$work/qtbase-everywhere-src-$qt_version"
if [ ! -f "$sources/CMakeLists.txt" ]; then
    rm -rf "$sources"
    tar -xJf "$work/$orig" -C "$work"
fi

prefix="$qt_dir.new/qt6-mingw"
build="$work/build"
rm -rf "$qt_dir.new"
# Qt's own build takes the project's toolchain file; the compiler cache would only fill up.
nice -n 19 cmake -S "$sources" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$checkout/cmake/MinGW-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_dynamicgl=OFF -DFEATURE_tabletevent=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_doubleconversion=OFF
if [ $configure_only -eq 1 ]; then
    say "configured in $build (--configure-only: not built)"
    exit 0
fi
nice -n 19 cmake --build "$build" --parallel "$(nproc)"
nice -n 19 cmake --install "$build"
echo "source $debian_version" >"$qt_dir.new/made-from"
rm -rf "$qt_dir"
mv "$qt_dir.new" "$qt_dir"
say "built and installed in $qt_dir"
add_translations
echo "$qt_dir/qt6-mingw"
