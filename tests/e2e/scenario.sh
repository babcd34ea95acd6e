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
. "$here/e2e_lib.sh"
. "$here/scenarios.sh"
cleanup() {
  [ -n "$cli_pid" ] && kill "$cli_pid" 2>/dev/null
  [ -n "$xterm_pid" ] && kill "$xterm_pid" 2>/dev/null
  setxkbmap us 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

layout=us
variant=
prefs=
# Runs before the typing (set_up; a program it leaves running must not hold on to the
# output, or the test never ends) and, while Tolvan still runs, after it (check); check
# fails the scenario by printing why and returning non-zero.
set_up() { :; }
check() { :; }
# eventually CMD...: CMD succeeds within five seconds.
eventually() {
  for i in $(seq 50); do "$@" && return 0; sleep 0.1; done
  return 1
}
clip_equals_file() { xclip -selection clipboard -o -t "$1" 2>/dev/null | cmp -s - "$2"; }
primary_equals_file() { xclip -selection primary -o -t UTF8_STRING 2>/dev/null | cmp -s - "$1"; }
# The clipboard method, with the user's clipboard put back; the recording xterm pastes the
# CLIPBOARD selection on Shift+Ctrl+V and counts as a terminal.
clipboard_prefs="output_method=1
clipboard_restore=1
terminal_classes=TolvanE2E"

# The recording xterm's class and its key bindings, unless the scenario says otherwise.
xterm_class=TolvanE2E
xterm_translations='#override Shift Ctrl <Key>V: insert-selection(CLIPBOARD)'

case $name in
  unicode_caps_lock)
    abbr qqu 3 1 "caf&#233; &#252;ber"
    act() { keys Caps_Lock; type_text "qqu"; keys Caps_Lock; }
    expect="café über" ;;
  toggle_hotkey)
    prefs="ed_enable=1
ed_hotkey=17 18 84"
    abbr btw 5 0 "by the way"
    status_is() { wait_for_line "$work/cli.out" "$1" "$cli_pid" "the $1 status"; }
    act() {
      type_text "btw "; keys ctrl+alt+t; status_is disabled
      type_text "btw "; keys ctrl+alt+t; status_is enabled
      type_text "btw "
    }
    expect="by the way btw by the way " ;;
  folder_hotkeys)
    # Each folder's pop-up menu hotkey names its folder (tolvan-cli has no menu); the keys
    # never reach the application.
    folder_attributes=' e="1" h="17 18 77"'
    subfolders='<f n="Inner" t="0" d="0" e="1" h="17 18 73"></f>'
    abbr btw 5 0 "by the way"
    menu_of() { wait_for_line "$work/cli.out" "menu $1" "$cli_pid" "the menu of $1"; }
    act() {
      type_text "btw "; keys ctrl+alt+m; menu_of E2E
      keys ctrl+alt+i; menu_of 'E2E.Inner'
      type_text "btw "
    }
    check() {
      [ "$(grep '^menu ' "$work/cli.out")" = "menu E2E
menu E2E\\Inner" ] && return 0
      echo "the menus named: [$(grep '^menu ' "$work/cli.out")]"
      return 1
    }
    expect="by the way by the way " ;;
  clipboard_text)
    prefs=$clipboard_prefs
    abbr qqc 3 0 "pasted caf&#233; text"
    set_up() {
      printf 'the user\047s text' >"$work/mine.txt"
      xclip -selection clipboard -t UTF8_STRING -i "$work/mine.txt" </dev/null >/dev/null 2>&1
    }
    # The user goes on typing once the paste is in (keys pressed meanwhile would meet the
    # Shift of the paste chord).
    act() { type_text "go qqc"; sleep 1; type_text "!"; }
    check() {
      eventually clip_equals_file UTF8_STRING "$work/mine.txt" && return 0
      echo "the user's clipboard was not restored: [$(xclip -selection clipboard -o 2>&1)]"
      return 1
    }
    expect="go pasted café text!" ;;
  clipboard_xterm_default)
    # An xterm as it comes (no key pastes CLIPBOARD): Tolvan pastes PRIMARY with
    # Shift+Insert, and both selections are the user's again afterwards.
    prefs=$clipboard_prefs
    xterm_class=XTerm
    xterm_translations=
    abbr qqc 3 0 "pasted caf&#233; text"
    set_up() {
      printf 'the user\047s text' >"$work/mine.txt"
      printf 'selected text' >"$work/selected.txt"
      xclip -selection clipboard -t UTF8_STRING -i "$work/mine.txt" </dev/null >/dev/null 2>&1
      xclip -selection primary -t UTF8_STRING -i "$work/selected.txt" </dev/null >/dev/null 2>&1
    }
    act() { type_text "go qqc"; sleep 1; type_text "!"; }
    check() {
      eventually clip_equals_file UTF8_STRING "$work/mine.txt" ||
        { echo "the user's clipboard was not restored: [$(xclip -selection clipboard -o 2>&1)]"; return 1; }
      eventually primary_equals_file "$work/selected.txt" ||
        { echo "the user's selection was not restored: [$(xclip -selection primary -o 2>&1)]"; return 1; }
    }
    expect="go pasted café text!" ;;
  clipboard_lines)
    # Lines pasted into a terminal: X applications end lines with LF alone; CR LF would
    # arrive as two line breaks each.
    prefs=$clipboard_prefs
    abbr qql 3 0 "one&#10;two&#10;three"
    act() { type_text "qql"; sleep 1; type_text "!"; }
    expect="one
two
three!" ;;
  clipboard_macro)
    # Typed, not pasted: the macro reads what another program copied.
    abbr qqm 3 0 "[%(clipboard)]"
    set_up() {
      printf 'copied \303\251lsewhere' >"$work/theirs.txt"
      xclip -selection clipboard -t UTF8_STRING -i "$work/theirs.txt" </dev/null >/dev/null 2>&1
    }
    act() { type_text "qqm"; }
    expect="[copied élsewhere]" ;;
  clipboard_image)
    prefs=$clipboard_prefs
    abbr qqc 3 0 "pasted over a picture"
    set_up() {
      python3 "$here/make_png.py" "$work/picture.png"
      xclip -selection clipboard -t image/png -i "$work/picture.png" </dev/null >/dev/null 2>&1
    }
    act() { type_text "qqc"; sleep 1; type_text "."; }
    check() {
      eventually clip_equals_file image/png "$work/picture.png" && return 0
      echo "the user's picture was not restored"
      return 1
    }
    expect="pasted over a picture." ;;
  *)
    common_scenario "$name" || { echo "unknown scenario $name" >&2; exit 2; } ;;
esac

use_layout "$layout" "$variant"
write_library "$work/lib.tlv"
set_up

if [ -n "$xterm_translations" ]; then
  LANG=C.UTF-8 xterm -class "$xterm_class" -xrm "*VT100.translations: $xterm_translations" \
    -e sh -c "stty raw -echo; cat > '$work/received'" &
else
  LANG=C.UTF-8 xterm -class "$xterm_class" -e sh -c "stty raw -echo; cat > '$work/received'" &
fi
xterm_pid=$!
window=$(xdotool search --sync --class "$xterm_class" | head -1)
xdotool windowactivate --sync "$window"
# Typing starts once the window manager has really given the xterm the focus and the
# recording runs.
for i in $(seq 50); do
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ] && [ -e "$work/received" ] && break
  sleep 0.1
done
sleep 0.3

start_cli "$cli" "$prefs" || exit 1

act
# Done when the xterm has received nothing new for a while.
wait_until_still "$work/received"
# Tolvan holds the user's clipboard again now; asked before it ends.
check || exit 1
stop_cli || exit 1

got=$(python3 "$here/render.py" "$work/received"; printf x)
got=${got%x}
if [ "$got" != "$expect" ]; then
  echo "expected: [$expect]"
  echo "got:      [$got]"
  echo "bytes:"; od -c "$work/received" | head -20
  exit 1
fi
echo "ok: $name"
