#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Zazorudu need. Idempotent:
# it asks apt only for what is missing, and refreshes the package lists only then.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev ccache
  # platform libraries
  libsdl2-dev libx11-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation2
  libpixman-1-dev libpng-dev libgps-dev nlohmann-json3-dev
  # messaging: RFC 5322 e-mail for the outbox
  libgmime-3.0-dev
  # zazorudu-gpx: the XML writer (and the schema check of its tests); time zones for its tests
  libxml2-dev tzdata
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev gpsd gpsd-clients python3 python3-gps
  xvfb xauth xdotool xclip x11-utils
  # the Wayland end-to-end test: a headless compositor that takes a virtual pointer, and the
  # Wayland clipboard's reader
  sway wl-clipboard
  # bench/measure: peak resident memory of a program (/usr/bin/time %M)
  time
  # the art's render script; the build renders the installed icons with it too
  librsvg2-bin
  # installing and packaging: validators of the desktop entry, the AppStream metainfo and the
  # man page, and the .deb (dpkg-shlibdeps, and file, which CPack's DEB generator needs for it)
  desktop-file-utils appstream groff-base dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
