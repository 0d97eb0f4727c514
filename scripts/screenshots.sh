#!/usr/bin/env bash
# Makes the documentation's pictures of the editor on Qt's offscreen platform, from the demo
# panel (demo/pump-panel.json): the main window with its pump frame shown and one element
# selected (docs/editor-main-window.png), the properties dialog of a register element
# (docs/editor-element-dialog.png) and the new-project wizard's panel-model page
# (docs/editor-new-project-wizard.png), each settings dialog on the sample project
# (docs/editor-settings-*.png); the main window and the element dialog again under an English
# locale (docs/*-en.png); and the application icon desktop/kd820.png.
#   scripts/screenshots.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for program in KD820 kd820-window-shot make-sample-project; do
  if [ ! -x "$build/$program" ]; then
    echo "screenshots: $build/$program is missing; build with Qt 6 installed (scripts/build.sh $build)" >&2
    exit 1
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KD820_LOCK_DIR="$work/locks"
export QT_QPA_PLATFORM=offscreen
# The Chinese pictures whatever the caller's locale; the English ones name their language below.
export LC_ALL=C.UTF-8
unset LANGUAGE
export XDG_RUNTIME_DIR="$work/runtime"
# The recent-project list of these runs is not the user's.
export XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$work/PumpPanel"
"$build/KD820" import demo/pump-panel.json -o "$work/PumpPanel/PumpPanel.FPJ" > /dev/null
mkdir -p docs
shot() {
  "$build/kd820-window-shot" "$@" 2> "$work/log" || {
    cat "$work/log" >&2
    exit 1
  }
}
shot "$work/PumpPanel/PumpPanel.FPJ" docs/editor-main-window.png 2 3
shot --element "$work/PumpPanel/PumpPanel.FPJ" docs/editor-element-dialog.png 4 2
shot --wizard docs/editor-new-project-wizard.png 2
# The settings dialogs show the sample project, which has alarms and data transfers.
mkdir -p "$work/Sample"
"$build/make-sample-project" "$work/Sample/Sample.FPJ" > /dev/null
settings="global alarms alarm-item comm advanced transfers transfer-item languages mission"
for dialog in $settings; do
  shot --settings "$dialog" "$work/Sample/Sample.FPJ" "docs/editor-settings-$dialog.png"
done
# The same main window and dialog under an English locale, beside the Chinese ones.
LC_ALL=C.UTF-8 LANGUAGE=en shot "$work/PumpPanel/PumpPanel.FPJ" docs/editor-main-window-en.png 2 3
LC_ALL=C.UTF-8 LANGUAGE=en shot --element "$work/PumpPanel/PumpPanel.FPJ" docs/editor-element-dialog-en.png 4 2
shot --icon desktop/kd820.png 64
echo "wrote docs/editor-main-window.png docs/editor-element-dialog.png docs/editor-new-project-wizard.png" \
  "docs/editor-settings-{${settings// /,}}.png docs/editor-{main-window,element-dialog}-en.png desktop/kd820.png"
