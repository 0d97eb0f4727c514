#!/usr/bin/env bash
# Makes the documentation's picture of the editor's main window: the demo panel
# (demo/pump-panel.json) opened in the window on Qt's offscreen platform, its pump frame shown
# with one element selected, written to docs/editor-main-window.png.
#   scripts/screenshots.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for program in KD820 kd820-window-shot; do
  if [ ! -x "$build/$program" ]; then
    echo "screenshots: $build/$program is missing; build with Qt 6 installed (scripts/build.sh $build)" >&2
    exit 1
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KD820_LOCK_DIR="$work/locks"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$work/PumpPanel"
"$build/KD820" import demo/pump-panel.json -o "$work/PumpPanel/PumpPanel.FPJ" > /dev/null
mkdir -p docs
"$build/kd820-window-shot" "$work/PumpPanel/PumpPanel.FPJ" docs/editor-main-window.png 2 3 2> "$work/log" || {
  cat "$work/log" >&2
  exit 1
}
echo "wrote docs/editor-main-window.png"
