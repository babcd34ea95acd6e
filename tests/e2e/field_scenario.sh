#!/bin/sh
# field_scenario.sh TOLVAN_CLI TEXT_FIELD_APP NAME: one end-to-end scenario in a real GTK
# text field on the X display in DISPLAY. Starts text_field_app (a text view, an entry, a
# password entry and a second window), runs `tolvan-cli run` with a library written here,
# types with xdotool as a user would, and compares what the fields then hold with what the
# user should see. Exits 77 (skipped) without a display.
set -u
cli=$1
app=$2
name=$3
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
work=$(mktemp -d)
app_pid=
. "$here/e2e_lib.sh"
. "$here/scenarios.sh"
cleanup() {
  [ -n "$cli_pid" ] && kill "$cli_pid" 2>/dev/null
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  setxkbmap us 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# field NAME: what the application's field NAME (text, entry, password, other) holds now.
field() {
  python3 -c 'import json, sys; sys.stdout.write(json.load(open(sys.argv[1]))[sys.argv[2]])' \
    "$work/report.json" "$1"
}

layout=us
variant=
focus=text      # the field that has the focus when typing starts
check=text      # the field whose text is compared with $expect
other_expect=   # what the second window's entry must hold
prefs=

case $name in
  select_all)
    focus=entry check=entry
    abbr qqa 3 0 "%(Key Ctrl+A)fresh"
    act() { type_text "old words qqa"; }
    expect="fresh" ;;
  focus_change)
    # The expansion pauses halfway; the user activates the other window meanwhile, and
    # Tolvan stops rather than type the rest there.
    prefs="cont_window_changed=0"
    abbr qqf 3 0 "first half%(Delay 2000)second half"
    act() {
      type_text "qqf"
      sleep 1
      other=$(xdotool search --name '^Tolvan other$' | head -1)
      xdotool windowactivate --sync "$other"
      wait_active "$other"
      sleep 2.5
    }
    expect="first half" ;;
  password)
    # Nothing typed in the password entry expands there; the same word does in the entry.
    focus=password check=password
    abbr btw 5 0 "by the way"
    act() { type_text "btw "; keys shift+Tab; type_text "btw "; }
    expect="btw "
    entry_expect="by the way " ;;
  *)
    common_scenario "$name" || { echo "unknown scenario $name" >&2; exit 2; } ;;
esac

use_layout "$layout" "$variant"
write_library "$work/lib.tlv"

ASAN_OPTIONS=detect_leaks=0 "$app" --report "$work/report.json" --focus "$focus" >"$work/app.out" 2>"$work/app.err" &
app_pid=$!
wait_for_line "$work/app.out" ready "$app_pid" "text_field_app" || { cat "$work/app.err"; exit 1; }
main=$(xdotool search --name '^Tolvan field$' | head -1)
wait_active "$main" || { echo "the field's window did not keep the focus"; exit 1; }
sleep 0.3

start_cli "$cli" "$prefs" || exit 1
act
wait_until_still "$work/report.json"
stop_cli || exit 1

status=0
compare() {
  got=$(field "$1"; printf x)
  got=${got%x}
  if [ "$got" != "$2" ]; then
    echo "$1 expected: [$2]"
    echo "$1 got:      [$got]"
    status=1
  fi
}
compare "$check" "$expect"
compare other "$other_expect"
[ -n "${entry_expect:-}" ] && compare entry "$entry_expect"
[ $status -eq 0 ] || { cat "$work/report.json"; exit 1; }
echo "ok: $name"
