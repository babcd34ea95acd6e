#!/bin/sh
# scenario.sh TOLVAN_CLI NAME: one end-to-end scenario on the X display in DISPLAY. Starts
# an xterm that records every byte it receives, runs `tolvan-cli run` with a library
# written here, types with xdotool as a user would, and compares the text the bytes make
# (render.py) with what the user should see. Exits 77 (skipped) without a display.
set -u
cli=$1
name=$2
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
work=$(mktemp -d)
xterm_pid=
cli_pid=
cleanup() {
  [ -n "$cli_pid" ] && kill "$cli_pid" 2>/dev/null
  [ -n "$xterm_pid" ] && kill "$xterm_pid" 2>/dev/null
  setxkbmap us 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

entries=
# abbr ABBREVIATION TRIGGER CASE EXPANSION (XML-escaped): trigger 3 immediate, 4 trigger
# key, 5 word ending; case 0 sensitive, 1 insensitive, 2 adapt.
abbr() {
  entries="$entries<a a=\"$1\" d=\"\" e=\"$4\" c=\"$3\" t=\"$2\" r=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
}
prefs=
# pref KEY VALUE: a preference set before Tolvan starts.
pref() { prefs="$prefs$1=$2
"; }
# Waits until tolvan-cli has printed the line.
wait_for_line() {
  for i in $(seq 50); do grep -qx "$1" "$work/cli.out" && return; sleep 0.1; done
  echo "tolvan-cli did not print $1"
}
type_text() { xdotool type --delay 80 "$1"; }
keys() { xdotool key --delay 80 "$@"; }
layout=us
variant=

case $name in
  immediate)
    abbr qqi 3 0 "immediately"
    act() { type_text "go qqi!"; }
    expect="go immediately!" ;;
  word_ending)
    abbr btw 5 0 "by the way"
    act() { type_text "hi btw ok btwx "; }
    expect="hi by the way ok btwx " ;;
  trigger_key)
    abbr sig 4 0 "Kind regards"
    act() { type_text "sig"; keys ctrl; type_text " x"; }
    expect="Kind regards x" ;;
  case_adapt)
    abbr btw 5 2 "by the way"
    act() { type_text "Btw BTW "; }
    expect="By the way BY THE WAY " ;;
  multi_line)
    abbr addr 5 0 "Main Street 1&#10;12345 Town"
    act() { type_text "addr."; }
    expect="Main Street 1
12345 Town." ;;
  unicode)
    abbr qqu 3 0 "caf&#233; stra&#223;e &#26085;&#26412; &#128512;"
    act() { type_text "qqu"; }
    expect="café straße 日本 😀" ;;
  unicode_caps_lock)
    abbr qqu 3 1 "caf&#233; &#252;ber"
    act() { keys Caps_Lock; type_text "qqu"; keys Caps_Lock; }
    expect="café über" ;;
  cursor)
    abbr tag 3 0 "&lt;b&gt;%(cursor)&lt;/b&gt;"
    act() { type_text "tag"; type_text "bold"; }
    expect="<b>bold</b>" ;;
  key_macros)
    abbr qqk 3 0 "ab%(Key Left)X%(Key End)!%(Key Tab 2)z"
    act() { type_text "qqk"; }
    expect="aXb!		z" ;;
  delay)
    abbr qqd 3 0 "a%(Delay 700)b"
    act() { type_text "qqd"; }
    expect="ab" ;;
  caps_lock)
    abbr btw 5 1 "by the way"
    act() { keys Caps_Lock; type_text "btw "; keys Caps_Lock; type_text "x"; }
    expect="by the way x" ;;
  german_altgr)
    layout=de
    abbr qqg 3 0 "@&#8364;{[]}\\|~ &#228;&#246;&#252;"
    act() { type_text "qqg"; }
    expect="@€{[]}\\|~ äöü" ;;
  dead_key_abbreviation)
    layout=us
    variant=intl
    abbr "caf&#233;" 5 0 "coffee"
    act() { keys c a f dead_acute e space; }
    expect="coffee " ;;
  interactive_tab)
    abbr qqr 3 0 "Dear %(Input name),%(Key Enter)Thanks"
    act() { type_text "qqr"; sleep 0.5; type_text "Bob"; keys Tab; }
    expect="Dear Bob,
Thanks" ;;
  interactive_escape)
    abbr qqr 3 0 "Dear %(Input name),%(Key Enter)Thanks"
    act() { type_text "qqr"; sleep 0.5; type_text "Bob"; keys Escape; type_text " ok"; }
    expect="Dear Bob ok" ;;
  toggle_hotkey)
    pref ed_enable 1
    pref ed_hotkey "17 18 84"
    abbr btw 5 0 "by the way"
    act() {
      type_text "btw "; keys ctrl+alt+t; wait_for_line disabled
      type_text "btw "; keys ctrl+alt+t; wait_for_line enabled
      type_text "btw "
    }
    expect="by the way btw by the way " ;;
  *)
    echo "unknown scenario $name" >&2
    exit 2 ;;
esac

if [ -n "$variant" ]; then setxkbmap "$layout" -variant "$variant"; else setxkbmap "$layout"; fi
printf '%s' "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\"><f n=\"E2E\" t=\"0\" d=\"0\">$entries</f></Tolvan>" >"$work/lib.tlv"
mkdir -p "$work/config"
printf '%s' "$prefs" | while IFS='=' read -r key value; do
  "$cli" --config-dir "$work/config" prefs set "$key" "$value" >/dev/null || exit 1
done || { echo "cannot set the preferences"; exit 1; }

LANG=C.UTF-8 xterm -class TolvanE2E -e sh -c "stty raw -echo; cat > '$work/received'" &
xterm_pid=$!
window=$(xdotool search --sync --class TolvanE2E | head -1)
xdotool windowactivate --sync "$window"
# Typing starts once the window manager has really given the xterm the focus and the
# recording runs.
for i in $(seq 50); do
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && [ -e "$work/received" ] && break
  sleep 0.1
done
sleep 0.3

"$cli" --config-dir "$work/config" run --library "$work/lib.tlv" >"$work/cli.out" 2>"$work/cli.err" &
cli_pid=$!
tries=0
until grep -q '^ready$' "$work/cli.out" 2>/dev/null; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 "$cli_pid" 2>/dev/null; then
    echo "tolvan-cli run did not get ready:"; cat "$work/cli.err"; exit 1
  fi
  sleep 0.1
done

act
# Done when the xterm has received nothing new for a while.
last=-1
for i in $(seq 60); do
  sleep 0.25
  size=$(wc -c <"$work/received")
  [ "$size" = "$last" ] && break
  last=$size
done

kill -TERM "$cli_pid"
wait "$cli_pid"
status=$?
cli_pid=
[ $status -eq 0 ] || { echo "tolvan-cli run ended with $status"; cat "$work/cli.err"; exit 1; }

got=$(python3 "$here/render.py" "$work/received"; printf x)
got=${got%x}
if [ "$got" != "$expect" ]; then
  echo "expected: [$expect]"
  echo "got:      [$got]"
  echo "bytes:"; od -c "$work/received" | head -20
  exit 1
fi
echo "ok: $name"
