#!/bin/sh
# hotkey.sh HOTKEY_PROBE: presses Ctrl+Alt+K plainly, with Num Lock on, with Caps Lock on,
# and once held for a second (auto-repeat), plus Ctrl+K which is not the hotkey: four presses,
# each handled on the probe's main loop.
set -u
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$1" 6 >"$out" &
probe=$!
tries=0
until grep -q '^ready$' "$out"; do
  tries=$((tries + 1))
  [ $tries -gt 50 ] && { echo "probe not ready"; kill $probe; exit 1; }
  sleep 0.1
done
xdotool key ctrl+alt+k
xdotool key ctrl+k
xdotool key Num_Lock; xdotool key ctrl+alt+k; xdotool key Num_Lock
xdotool key Caps_Lock; xdotool key ctrl+alt+k; xdotool key Caps_Lock
xdotool keydown ctrl+alt+k; sleep 1.2; xdotool keyup k alt ctrl
wait $probe
grep -q '^stray' "$out" && { echo "a press reached the handler off the main loop"; cat "$out"; exit 1; }
result=$(tail -1 "$out")
[ "$result" = "presses: 4" ] || { echo "expected presses: 4, got $result"; exit 1; }
echo "ok: hotkey_once"
