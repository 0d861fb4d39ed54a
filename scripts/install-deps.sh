#!/usr/bin/env bash
# Installs what building and testing Vypisnik needs on Debian 12, and only what is missing.
# Safe to run again. --run adds what running the program needs; --windows installs only what the
# Windows steps need (scripts/windows.sh: the cross build, Wine, the packages, the display the
# packaged program is started on); --windows-qt-source what building Qt for MinGW-w64 from
# Debian's source package needs (scripts/windows-qt.sh). apt-get needs root; as another user it
# goes through sudo.
set -euo pipefail

packages=(g++ cmake make pkg-config libgtest-dev libgmock-dev
          qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev librsvg2-bin
          fonts-dejavu-core clang-format qt6-translations-l10n desktop-file-utils
          clang-14 libclang-rt-14-dev llvm-14) # fuzz targets: libFuzzer, sanitizer runtimes, symbolizer
if [ "${1:-}" = "--run" ]; then
    packages+=(qt6-wayland adwaita-icon-theme)
fi
if [ "${1:-}" = "--windows" ]; then
    # Debian's Qt gives the cross build its host tools (moc, rcc, uic) and Qt's Czech texts.
    packages=(cmake ninja-build googletest g++-mingw-w64-x86-64-posix wine64 qt6-base-dev
              qt6-base-dev-tools qt6-translations-l10n librsvg2-bin python3 nsis xz-utils
              xvfb xdotool imagemagick)
fi
if [ "${1:-}" = "--windows-qt-source" ]; then
    packages=(cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools
              xz-utils debian-archive-keyring perl python3)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
# Another package manager may be at work (an unattended upgrade, a desktop updater): wait for
# its lock for up to ten minutes instead of failing.
wait_for_lock=(-o DPkg::Lock::Timeout=600)
"${as_root[@]}" apt-get "${wait_for_lock[@]}" update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get "${wait_for_lock[@]}" install -y -qq \
    --no-install-recommends "${missing[@]}"
