#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# apt-get as root, through sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libjsoncpp-dev libpugixml-dev libfmt-dev libcli11-dev libcurl4-openssl-dev
  libasound2-dev libevdev-dev
  libpulse-dev libkissfft-dev  # our own capture of the desktop's sound for the music modes
  pulseaudio pulseaudio-utils  # the tests' own sound server (a null sink) and a player for it
  qt6-base-dev libqt6test6 libqt6dbus6 libqt6opengl6-dev libgl-dev
  libxcb1-dev  # a covered window rests its preview (X11 visibility events)
  dbus dbus-x11 xvfb fonts-dejavu-core
  fonts-wqy-microhei  # Simplified Chinese texts are drawn and measured with it
  python3 openssl  # the HTTP tests' local server and its throwaway certificate
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
