#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the demo of the command line: the
# shipped libraries, a new project, its communication settings, its JSON form, a sample
# project with every element type, and the simulator running a demo panel without a window,
# writing screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build > /dev/null
out=$PWD/demo/out
rm -rf "$out" && mkdir -p "$out"
export KD820_LOCK_DIR="$out/locks"
kd=$PWD/build/KD820
step() { printf '\n== %s\n' "$*"; }

step "KD820 models (the shipped panel models)"
$kd models | head -n 20
step "KD820 plcs (first protocol)"
$kd plcs | sed -n '1,16p'

step "KD820 new Pump --dir $out --model 1 --com0 Modbus/'Modbus RTU' --com0-baud 19200 --yes"
$kd new Pump --dir "$out" --model 1 --com0 "Modbus/Modbus RTU" --com0-baud 19200 --com0-station 3 --yes
step "KD820 comm: a second PLC on COM1"
$kd comm "$out/Pump/Pump.FPJ" --com1 10 --yes

step "make a sample project with every element type, three languages, alarms and transfers"
build/make-sample-project "$out/sample.FPJ"
step "KD820 info $out/sample.FPJ"
$kd info "$out/sample.FPJ"

step "KD820 save-as --yes: the copy is byte for byte the original"
$kd save-as --yes "$out/sample.FPJ" "$out/copy.FPJ"
cmp "$out/sample.FPJ" "$out/copy.FPJ" && echo "identical ($(stat -c %s "$out/copy.FPJ") bytes)"

step "KD820 compile: the user-data image the panel and the simulator read"
$kd compile "$out/sample.FPJ"
step "KD820 dump: its structure, offsets and checksum checked"
$kd dump "$out/sample.bin~" | sed -n '1,12p;/^resources/,$p'

step "KD820 export and import: the JSON form gives back the same project file"
$kd export "$out/sample.FPJ" -o "$out/sample.json"
$kd import "$out/sample.json" -o "$out/from-json.FPJ"
cmp "$out/sample.FPJ" "$out/from-json.FPJ" && echo "identical; the JSON is $out/sample.json"
head -n 30 "$out/sample.json"

step "The simulator: import the demo panel, compile it and run PanSim headless through a script"
mkdir -p "$out/PumpPanel"
$kd import demo/pump-panel.json -o "$out/PumpPanel/PumpPanel.FPJ"
# PanSim starts in the project's directory, so the screenshots land beside the project.
$kd simulate "$out/PumpPanel/PumpPanel.FPJ" --wait -- --headless --script "$PWD/demo/pump-panel.pansim"
echo "The screenshots are in $out/PumpPanel: the LCD alone (1-bit PNG) and the whole panel"
echo "(start-panel.png, service-panel.png); live.png to live-again.png show the live page fed"
echo "by the simulated PLC, the alarm, its acknowledgement, a new set-point and a broken line."
echo "To see the panel in a window, with the same script driving it while you watch:"
echo "  (cd $out/PumpPanel && $PWD/build/PanSim --script $PWD/demo/pump-panel.pansim 1 PumpPanel.bin~ 0 pv5521.bmp)"

step "The loader: KD820 download sends the demo panel's package to the emulated panel over UDP"
received="$out/PumpPanel/received"
coproc EMULATOR { build/panel-emulator --udp 0 --out "$received" --idle-ms 30000 2> "$out/PumpPanel/emulator.log"; }
# Bash forgets EMULATOR_PID once the emulator has ended, which it may do before the wait below.
emulator_pid=$EMULATOR_PID
read -r _ where <&"${EMULATOR[0]}"
echo "panel-emulator listens on $where"
# Progress goes to standard error; without a terminal it comes as plain lines.
$kd download "$out/PumpPanel/PumpPanel.FPJ" --wait -- --udp "$where" --reconnect-wait-ms 200 2>&1
wait "$emulator_pid"
image="$out/PumpPanel/PumpPanel.bin~"
size=$(stat -c %s "$image")
# The package fills each section to a multiple of 4 bytes with zeros: the image must come back
# whole, followed by that fill alone.
cmp -n "$size" "$image" "$received/user-data.bin" &&
  [ "$(tail -c +$((size + 1)) "$received/user-data.bin" | tr -d '\0' | wc -c)" = 0 ] &&
  echo "what arrived is the image: $size bytes, identical ($received/user-data.bin)"
cat "$received/sections.txt"
