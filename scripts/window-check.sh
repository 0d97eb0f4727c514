#!/usr/bin/env bash
# Checks the simulator window on a real X server (Xvfb): a mouse click sent with xdotool, whose
# press and release reach the window together, must move the demo panel to its next frame with
# one beep, and the LCD then must equal what the headless runner shows for the same click.
# Run it after changing the window front-end: scripts/window-check.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

missing=()
for p in xvfb xdotool imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -x "$build/PanSim" ] || scripts/build.sh "$build"

work=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/KD820" import demo/pump-panel.json -o "$work/Demo.FPJ" > /dev/null
"$build/KD820" compile "$work/Demo.FPJ" > /dev/null
image="$work/Demo.bin~"

# What the headless runner shows after one click on the down key (3).
printf 'tick 10\nclick 3\ntick 10\nlcd %s/headless.png\n' "$work" |
  "$build/PanSim" --headless 1 "$image" > /dev/null

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do DISPLAY=$display xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done

# The window's own script takes the LCD before and after the click and counts the beeps.
printf 'tick 10\nlcd %s/before.png\ntick 40\nlcd %s/window.png\nexpect-beeps 1\n' "$work" "$work" \
  > "$work/check.pansim"
DISPLAY=$display SDL_AUDIODRIVER=dummy "$build/PanSim" --script "$work/check.pansim" \
  1 "$image" 0 pv5521.bmp > /dev/null &
pansim_pid=$!
window=$(DISPLAY=$display xdotool search --sync --name '^PanSim$' | head -n 1)
sleep 2
# One click: xdotool sends the press and the release at once.
DISPLAY=$display xdotool mousemove --window "$window" 270 320 click 1
for _ in $(seq 100); do [ -f "$work/window.png" ] && break; sleep 0.1; done
sleep 0.5
DISPLAY=$display import -window root "$work/screen.png"
DISPLAY=$display xdotool key --window "$window" Escape
status=0
wait "$pansim_pid" || status=$?

fail=0
[ "$status" -eq 0 ] || { echo "window-check: PanSim exited with $status (the beep count?)"; fail=1; }
cmp -s "$work/before.png" "$work/window.png" && { echo "window-check: the click changed nothing"; fail=1; }
cmp -s "$work/headless.png" "$work/window.png" || { echo "window-check: the window's LCD differs from the headless one"; fail=1; }
if [ "$fail" -eq 0 ]; then
  mkdir -p "$build/window-check"
  cp "$work/screen.png" "$work/window.png" "$build/window-check/"
  echo "window-check: passed (screen in $build/window-check/screen.png)"
fi
exit "$fail"
