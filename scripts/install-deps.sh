#!/usr/bin/env bash
# Installs with apt-get the Debian packages the suite needs to build, test and run,
# skipping those already installed. Safe to run again.
set -euo pipefail

packages=(
  # build
  cmake g++ pkg-config make ninja-build
  # the message catalogues (msgfmt builds them; xgettext checks them)
  gettext
  libpugixml-dev libfreetype-dev libfontconfig-dev libpng-dev libsdl2-dev
  libusb-1.0-0-dev libcli11-dev
  # the windowed editor (Qt 6 Widgets; its tests run on Qt's offscreen platform)
  qt6-base-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # fuzz targets (libFuzzer ships with clang's runtime)
  clang libclang-rt-dev
  # fonts the rasterizer maps the panel's face names to
  fonts-dejavu-core fonts-wqy-zenhei
  # bitmap faces scripts/make-builtin-font.py converts into the built-in font tables
  xfonts-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
