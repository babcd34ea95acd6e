#!/bin/sh
# abbrev_menu_bench.sh TOLVAN [COUNTS...]: how long the abbreviation menu takes from the
# hotkey press to the menu mapped, with a library of COUNT abbreviations (default
# 100 and 10000) in one folder: the all-folders menu (the folder's submenu filled when it is
# reached) and the folder's own menu (every abbreviation at once). Five presses each; the
# median in milliseconds from the press reaching Tolvan, and from the start of xdotool. Run it on a display: scripts/with-x.sh sh bench/abbrev_menu_bench.sh
# build-dev/bin/tolvan
set -u
tolvan=$(realpath "$1")
shift
[ $# -gt 0 ] || set -- 100 10000
cli=$(dirname "$tolvan")/tolvan-cli
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
pid=

shown_menu() {
  for w in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q POPUP_MENU || continue
    xwininfo -id "$w" | grep -q IsViewable && return 0
  done
  return 1
}

# press KEYS: milliseconds from the hotkey's press reaching Tolvan to the menu mapped, both
# as Tolvan logs them (polling the screen from here would cost more than the menu does),
# then a space and the same from the start of xdotool, whose own start-up is in it.
press() {
  seen=$(grep -c "abbreviation menu mapped at" "$work/tolvan.err")
  start=$(date +%s%N)
  xdotool key "$1"
  until [ "$(grep -c "abbreviation menu mapped at" "$work/tolvan.err")" -gt "$seen" ]; do sleep 0.01; done
  at() { grep "$1" "$work/tolvan.err" | tail -n 1 | sed 's/.* at \([0-9]*\) us.*/\1/'; }
  mapped=$(at "abbreviation menu mapped at")
  pressed=$(at "hotkey [0-9]* pressed at")
  echo "$(((mapped - pressed) / 1000)) $(((mapped * 1000 - start) / 1000000))"
  until shown_menu; do sleep 0.01; done
  xdotool key Escape
  while shown_menu; do sleep 0.05; done
  sleep 0.3
}

# The medians of the two columns of press's lines: "PRESS_MS (XDOTOOL_MS)".
median_of() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
median() {
  lines=$(cat)
  p=$(echo "$lines" | cut -d' ' -f1 | median_of)
  x=$(echo "$lines" | cut -d' ' -f2 | median_of)
  echo "$p ms ($x ms from the start of xdotool)"
}

for count in "$@"; do
  config=$work/config-$count
  mkdir -p "$config"
  /usr/bin/python3 - "$count" >"$config/abbreviations.tlv" <<'PY'
import sys
n = int(sys.argv[1])
t = 'x="030f07dc0e0509" y="030f07dc0e0509"'
rows = "".join(f'<a a="ab{i}" d="Abbreviation {i}" e="text {i}" c="0" t="5" r="0" {t}/>' for i in range(n))
print(f'<Tolvan n="All Abbreviations / Folders" t="0" d="0" m="1"><f n="Bench" t="0" d="0" e="1" h="17 18 77">{rows}</f></Tolvan>')
PY
  "$cli" --config-dir "$config" prefs set acm_enable 1 >/dev/null
  "$cli" --config-dir "$config" prefs set acm_hotkey "17 18 65" >/dev/null
  G_MESSAGES_DEBUG=Tolvan "$tolvan" --config-dir "$config" --systray 2>"$work/tolvan.err" &
  pid=$!
  until grep -q "hooks installed" "$work/tolvan.err"; do sleep 0.1; done
  sleep 1
  all=$(for i in 1 2 3 4 5; do press ctrl+alt+a; done | median)
  folder=$(for i in 1 2 3 4 5; do press ctrl+alt+m; done | median)
  echo "$count abbreviations: all folders $all, the folder's own menu $folder"
  kill -TERM $pid
  wait $pid
  pid=
done
