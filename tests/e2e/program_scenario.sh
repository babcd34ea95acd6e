#!/bin/sh
# program_scenario.sh TOLVAN TEXT_FIELD_APP NAME: the program `tolvan` on the X display in
# DISPLAY, with its tray and a second start. Scenarios:
#   sni_toggle      a StatusNotifier host (fake_tray_host.py) sees the item and its tooltip;
#                   Ctrl+activate switches expansion off and on again in a GTK field; the
#                   menu's Exit quits
#   hotkey_and_menu the toggle-status hotkey and the menu's "Enabled" flip the same state
#   xembed_menu     no watcher: the icon embeds in trayer; its menu's Exit quits
#   handover_bus, handover_socket
#                   a second start (with --import, from another folder) ends with 0 and
#                   the first is asked to show its window and to import the file; over the
#                   session bus, and with no bus at all over the private socket
#   race_bus, race_socket
#                   four starts at once on one data folder: exactly one runs the engine
#   sigterm, sigint, sighup
#                   the signal quits in order: exit 0, the preferences file saved
#   session_end     the session manager (fake_session_manager.py) ends the session: the same
#   main_window     the main window, worked through the accessibility tree: an abbreviation
#                   deleted, a folder made in the folder editor and in it an abbreviation
#                   typed into the editor, applied; the GTK field at once no longer expands
#                   the deleted one and expands the new one; a deletion thrown away with
#                   Cancel brings the abbreviation back; the saved library holds the changes
#                   after the quit
#   list_sort       the abbreviation list sorted by activating its column headers through the
#                   accessibility tree: Abbreviation ascending, again for descending, then
#                   Replacement Preview; the rows read back in each order; the last sort is
#                   kept in the preferences after the quit
#   import_export   File > Import TextExpander Snippets through the chooser with a settings
#                   file of the corpus (TOLVAN_CORPORA_DIR): TextExpander mode and its
#                   preferences taken, the report closed, the groups in the folder tree and
#                   the last one's snippets in the list; applied; File > Export All
#                   Abbreviations to TextExpander Snippet File writes a file plistlib reads
#                   with every snippet; a second start's --import of a .tlv file, appended;
#                   the saved library holds all after the quit
#   preview         an abbreviation that waits for its word-ending character shows the preview
#                   at the GTK field's caret, without taking the focus; it is gone once the
#                   abbreviation expanded
#   abbrev_menu     the pop-up menu hotkey opens the menu of every folder at the GTK field's
#                   caret; Down, Right, Down and Return insert an abbreviation after the
#                   text already there, nothing erased
#   abbrev_menu_xterm
#                   the same in xterm, which reports no caret: the menu opens at the pointer
#   folder_menu     a folder's hotkey opens the menu of that folder's own abbreviations
#   preferences     the Preferences window, worked through the accessibility tree: a new
#                   toggle-status hotkey flips the tray's state at once after OK; new
#                   word-ending characters make the GTK field's abbreviation wait for them;
#                   TextExpander mode relabels the window and Cancel stores nothing; sync
#                   pointed at a folder that holds a library, its question answered each way:
#                   Cancel changes nothing, Overwrite moves that library aside and writes this
#                   one, Sync with it makes the field expand that library's abbreviations; the
#                   preferences file holds what OK stored after the quit
#   launch_pad      the launch pad hotkey shows the launch pad (twice: one window, the text
#                   kept); a launcher typed into it, then Return, starts and hides it
# Exits 77 (skipped) without a display.
set -u
tolvan=$1
app=$2
name=$3
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
work=$(mktemp -d)
pids=
. "$here/e2e_lib.sh"
cleanup() {
  for p in $pids; do kill "$p" 2>/dev/null; done
  exec 3>&- 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
config=$work/config
mkdir -p "$config"
export G_MESSAGES_DEBUG=Tolvan
# GTK and GLib keep tables and caches to the very end of a process, which a sanitizer build
# would report at every exit; the unit tests look for leaks in Tolvan's own code.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

fail() { echo "$*"; for f in "$work"/*.err "$work"/host.out; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done; exit 1; }

# wait_for_text FILE TEXT [COUNT]: until FILE holds TEXT (COUNT times), for five seconds.
wait_for_text() {
  for i in $(seq 50); do
    [ "$(grep -c -F -- "$2" "$1" 2>/dev/null)" -ge "${3:-1}" ] && return 0
    sleep 0.1
  done
  return 1
}

# start_tolvan LOG [ARGS...]: a first start on $config, in the background ($tolvan_pid).
start_tolvan() {
  log=$1
  shift
  "$tolvan" --config-dir "$config" --systray "$@" 2>"$work/$log.err" &
  tolvan_pid=$!
  pids="$pids $tolvan_pid"
}

# ends_with_zero PID WHAT: PID ends (within ten seconds) with status 0.
ends_with_zero() {
  for i in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$1" 2>/dev/null && fail "$2 did not end"
  wait "$1"
  status=$?
  [ $status -eq 0 ] || fail "$2 ended with $status"
}

field() {
  /usr/bin/python3 -c 'import json, sys; sys.stdout.write(json.load(open(sys.argv[1]))[sys.argv[2]])' \
    "$work/report.json" "$1"
}

start_field_app() {
  ASAN_OPTIONS=detect_leaks=0 "$app" --report "$work/report.json" --focus text >"$work/app.out" 2>"$work/app.err" &
  app_pid=$!
  pids="$pids $app_pid"
  wait_for_line "$work/app.out" ready "$app_pid" "text_field_app" || fail "no field"
  main=$(xdotool search --name '^Tolvan field$' | head -1)
  wait_active "$main" || fail "the field's window did not keep the focus"
}

# host COMMAND: one command for fake_tray_host.py.
host() { echo "$*" >&3; }

# drive COMMAND ARGS...: main_window_driver.py, its output kept in driver.out.
drive() { /usr/bin/python3 "$here/main_window_driver.py" "$@" >>"$work/driver.out" 2>&1; }

# open_main_window: tolvan started with the library written, and its main window shown by a
# second start.
open_main_window() {
  start_tolvan tolvan
  wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
  "$tolvan" --config-dir "$config" 2>>"$work/second.err" &
  ends_with_zero $! "the start that shows the window"
  drive wait-window || fail "no main window: $(cat "$work/driver.out")"
}

# apply_changes: Apply pressed, and insensitive again once the changes are saved.
apply_changes() {
  drive click Apply || fail "apply: $(cat "$work/driver.out")"
  for i in $(seq 20); do drive sensitive Apply || break; sleep 0.1; done
  drive sensitive Apply && fail "Apply stayed sensitive after applying"
}

start_host() {
  mkfifo "$work/host.in"
  /usr/bin/python3 "$here/fake_tray_host.py" <"$work/host.in" >"$work/host.out" 2>&1 &
  pids="$pids $!"
  exec 3>"$work/host.in"
  wait_for_text "$work/host.out" "watcher ready" || fail "the fake tray host did not start"
}

# ctrl_activate: the host's Activate with Ctrl held, as a Ctrl+click on the icon.
ctrl_activate() {
  xdotool keydown ctrl
  host activate
  wait_for_text "$work/host.out" "done activate" "$1"
  xdotool keyup ctrl
}

# wait_visible NAME: until a window named NAME (a regular expression) is on the screen;
# its id in $visible.
wait_visible() {
  for i in $(seq 50); do
    visible=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$visible" ] && return 0
    sleep 0.1
  done
  return 1
}

# wait_hidden NAME: until no window named NAME is on the screen.
wait_hidden() {
  for i in $(seq 30); do
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  return 1
}

# field_geometry: the field's window without its frame in FIELD_X, FIELD_Y, FIELD_WIDTH,
# FIELD_HEIGHT (xwininfo: xdotool counts the frame in).
field_geometry() {
  eval "$(xwininfo -id "$main" | awk -F: '/Absolute upper-left X/ {print "FIELD_X=" $2}
    /Absolute upper-left Y/ {print "FIELD_Y=" $2} /Width/ {print "FIELD_WIDTH=" $2}
    /Height/ {print "FIELD_HEIGHT=" $2}' | tr -d ' ')"
}

# described ABBREVIATION DESCRIPTION EXPANSION: a text abbreviation that waits for a
# word-ending character, with a description (the menus sort by it).
described() {
  entries="$entries<a a=\"$1\" d=\"$2\" e=\"$3\" c=\"0\" t=\"5\" r=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
}

# prefs NAME=VALUE...: preferences set before Tolvan starts.
prefs() {
  for pair in "$@"; do
    "$(dirname "$tolvan")/tolvan-cli" --config-dir "$config" prefs set "${pair%%=*}" "${pair#*=}" \
      >/dev/null || fail "prefs $pair"
  done
}

# menu_library: E2E holds Alpha and Beta, its subfolder Inner holds Aardvark; E2E's own
# hotkey is Ctrl+Alt+M.
menu_library() {
  described al Alpha "first choice"
  described be Beta "second choice"
  folder_attributes=' e="1" h="17 18 77"'
  subfolders='<f n="Inner" t="0" d="0"><a a="aa" d="Aardvark" e="inner" c="0" t="5" r="0" x="030f07dc0e0509" y="030f07dc0e0509"/></f>'
  write_library "$config/abbreviations.tlv"
}

# shown_menu: the pop-up menu on the screen, if any (a viewable window of the menu type).
shown_menu() {
  for w in $(xwininfo -root -children | awk '/^ +0x/ {print $1}'); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q POPUP_MENU || continue
    xwininfo -id "$w" | grep -q 'IsViewable' && { echo "$w"; return 0; }
  done
  return 1
}

# wait_for_menu: until a pop-up menu is on the screen; its top left corner in X, Y.
wait_for_menu() {
  for i in $(seq 50); do
    if menu=$(shown_menu); then
      eval "$(xwininfo -id "$menu" | awk -F: '/Absolute upper-left X/ {print "X=" $2}
        /Absolute upper-left Y/ {print "Y=" $2}' | tr -d ' ')"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# menu_gone: until no pop-up menu is on the screen.
menu_gone() {
  for i in $(seq 30); do
    shown_menu >/dev/null || return 0
    sleep 0.1
  done
  return 1
}

case $name in
  sni_toggle)
    abbr btw 5 0 "by the way"
    write_library "$config/abbreviations.tlv"
    start_host
    start_field_app
    start_tolvan tolvan
    wait_for_text "$work/host.out" "tooltip Tolvan - Enabled" || fail "no item with its tooltip"
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    grep -q "^registered org.kde.StatusNotifierItem-$tolvan_pid-1\$" "$work/host.out" ||
      fail "not registered under its conventional name"
    host pixmaps
    wait_for_text "$work/host.out" "pixmaps 16x16 22x22 32x32" || fail "no pictures"

    ctrl_activate 1
    wait_for_text "$work/host.out" "tooltip Tolvan - Disabled" || fail "Ctrl+activate did not disable"
    type_text "btw "
    wait_until_still "$work/report.json"
    [ "$(field text)" = "btw " ] || fail "expanded while disabled: [$(field text)]"

    ctrl_activate 2
    wait_for_text "$work/host.out" "tooltip Tolvan - Enabled" 2 || fail "Ctrl+activate did not enable"
    type_text "btw "
    wait_until_still "$work/report.json"
    [ "$(field text)" = "btw by the way " ] || fail "not expanded once enabled: [$(field text)]"

    # A plain activate opens the window; the menu shows the state and its Exit quits.
    host activate
    wait_for_text "$work/tolvan.err" "asked to show the main window" || fail "activate did nothing"
    host menu
    wait_for_text "$work/host.out" "item 3 _Enabled check 1" || fail "menu: $(cat "$work/host.out")"
    host click 5
    ends_with_zero "$tolvan_pid" "tolvan"
    [ -f "$config/prefs.lt" ] || fail "no preferences saved" ;;

  hotkey_and_menu)
    cli=$(dirname "$tolvan")/tolvan-cli
    "$cli" --config-dir "$config" prefs set ed_enable 1 >/dev/null || fail "prefs"
    "$cli" --config-dir "$config" prefs set ed_hotkey "17 18 84" >/dev/null || fail "prefs"
    start_host
    start_tolvan tolvan
    wait_for_text "$work/host.out" "tooltip Tolvan - Enabled" || fail "no item"
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    xdotool key ctrl+alt+t
    wait_for_text "$work/host.out" "tooltip Tolvan - Disabled" || fail "the hotkey did not disable"
    host menu
    wait_for_text "$work/host.out" "item 3 _Enabled check 0" || fail "the menu missed the hotkey"
    host click 3
    wait_for_text "$work/host.out" "tooltip Tolvan - Enabled" 2 || fail "the menu did not enable"
    xdotool key ctrl+alt+t
    wait_for_text "$work/host.out" "tooltip Tolvan - Disabled" 2 || fail "the hotkey did not disable again"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  xembed_menu)
    trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
      --transparent false --tint 0x404040 >"$work/trayer.log" 2>&1 &
    pids="$pids $!"
    sleep 0.5
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "tray icon embedded in the XEmbed system tray" || fail "not embedded"
    panel=$(xdotool search --name '^panel$' | head -1)
    eval "$(xdotool getwindowgeometry --shell "$panel")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    sleep 0.3
    xdotool click 3
    sleep 0.7
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    xdotool key x
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  handover_bus | handover_socket)
    if [ "$name" = handover_socket ]; then
      export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
    fi
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    mkdir "$work/docs"
    (cd "$work/docs" && "$tolvan" --config-dir "$config" --import set.tlv 2>"$work/second.err") &
    ends_with_zero $! "the second start"
    wait_for_text "$work/tolvan.err" "asked to show the main window" || fail "no show request"
    wait_for_text "$work/tolvan.err" "asked to import $work/docs/set.tlv" || fail "no import request"
    "$tolvan" --config-dir "$config" 2>>"$work/second.err" &
    ends_with_zero $! "a start without arguments"
    wait_for_text "$work/tolvan.err" "asked to show the main window" 2 || fail "no second show"
    grep -q "hooks installed" "$work/second.err" && fail "a second start ran the engine"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  race_bus | race_socket)
    if [ "$name" = race_socket ]; then
      export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
    fi
    racers=
    for i in 1 2 3 4; do
      "$tolvan" --config-dir "$config" --systray 2>"$work/racer$i.err" &
      racers="$racers $!"
    done
    pids="$pids $racers"
    sleep 3
    running=
    for p in $racers; do
      if kill -0 "$p" 2>/dev/null; then running="$running $p"; else
        wait "$p" || fail "a second start ended with $?"
      fi
    done
    [ "$(echo $running | wc -w)" -eq 1 ] || fail "running:$running"
    [ "$(cat "$work"/racer*.err | grep -c "hooks installed")" -eq 1 ] || fail "not exactly one engine"
    kill -TERM $running
    ends_with_zero $running "tolvan" ;;

  sigterm | sigint | sighup)
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    [ -f "$config/prefs.lt" ] && fail "preferences saved before the quit"
    kill -"$(echo "$name" | cut -c4- | tr a-z A-Z)" "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan"
    grep -q '"trigger_hotkey"=' "$config/prefs.lt" || fail "no preferences file" ;;

  session_end)
    mkfifo "$work/manager.in"
    /usr/bin/python3 "$here/fake_session_manager.py" <"$work/manager.in" >"$work/manager.out" 2>&1 &
    pids="$pids $!"
    exec 4>"$work/manager.in"
    wait_for_text "$work/manager.out" "manager ready" || fail "no session manager"
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    wait_for_text "$work/manager.out" "registered org.tolvan.Tolvan." || fail "not registered with the session"
    echo end >&4
    ends_with_zero "$tolvan_pid" "tolvan"
    wait_for_text "$work/manager.out" "response OK" || fail "no answer to the session's end"
    grep -q '"trigger_hotkey"=' "$config/prefs.lt" || fail "no preferences file" ;;

  main_window)
    abbr btw 5 0 "by the way"
    abbr omw 5 0 "on my way"
    write_library "$config/abbreviations.tlv"
    open_main_window
    drive search btw || fail "search: $(cat "$work/driver.out")"
    drive select-row 0 || fail "select: $(cat "$work/driver.out")"
    drive click "Delete selected abbreviation / launcher" || fail "delete: $(cat "$work/driver.out")"
    drive sensitive Apply || fail "a deletion left Apply insensitive"
    # A folder from the folder editor, and in it an abbreviation typed into the editor.
    drive menu "File/New Folder..." || fail "new folder: $(cat "$work/driver.out")"
    drive type "Folder name" Letters || fail "folder name: $(cat "$work/driver.out")"
    drive dialog-click OK || fail "folder editor OK: $(cat "$work/driver.out")"
    drive menu "File/New Abbreviation" || fail "new: $(cat "$work/driver.out")"
    drive type Abbreviation sig || fail "abbreviation: $(cat "$work/driver.out")"
    drive type "Replacement Text" "Kind regards" || fail "replacement: $(cat "$work/driver.out")"
    drive rows && grep -q '|sig|' "$work/driver.out" || fail "the list did not show sig: $(cat "$work/driver.out")"
    apply_changes
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    grep -q 'a="btw"' "$config/abbreviations.tlv" && fail "the deleted abbreviation was saved"
    grep -q 'a="sig"' "$config/abbreviations.tlv" || fail "the new abbreviation was not saved"
    grep -q 'Letters' "$config/abbreviations.tlv" || fail "the new folder was not saved"
    # OK with nothing left to apply: the window goes into the tray.
    drive click OK || fail "ok: $(cat "$work/driver.out")"
    for i in $(seq 20); do xdotool search --onlyvisible --name '^Tolvan$' >/dev/null || break; sleep 0.1; done
    xdotool search --onlyvisible --name '^Tolvan$' >/dev/null && fail "OK did not hide the window"
    start_field_app
    type_text "btw omw sig "
    wait_until_still "$work/report.json"
    [ "$(field text)" = "btw on my way Kind regards " ] || fail "the engine did not get the applied list: [$(field text)]"
    # Deleted, then Cancel (answered Yes): the abbreviation is back in the window.
    "$tolvan" --config-dir "$config" 2>>"$work/second.err" &
    ends_with_zero $! "the start that shows the window again"
    drive search sig || fail "search sig: $(cat "$work/driver.out")"
    drive select-row 0 || fail "select sig: $(cat "$work/driver.out")"
    drive click "Delete selected abbreviation / launcher" || fail "delete sig: $(cat "$work/driver.out")"
    : >"$work/driver.out"
    drive rows; grep -q '|sig|' "$work/driver.out" && fail "sig was not deleted: $(cat "$work/driver.out")"
    # Cancel by its mnemonic: a click through the accessibility tree would wait inside the
    # program for the question it asks.
    xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Tolvan$' | head -1)"
    xdotool key alt+c
    drive dialog-click Yes || fail "the discard question: $(cat "$work/driver.out")"
    for i in $(seq 20); do xdotool search --onlyvisible --name '^Tolvan$' >/dev/null || break; sleep 0.1; done
    "$tolvan" --config-dir "$config" 2>>"$work/second.err" &
    ends_with_zero $! "the start that shows the window a third time"
    drive search sig || fail "search sig again: $(cat "$work/driver.out")"
    : >"$work/driver.out"
    drive rows; grep -q '|sig|' "$work/driver.out" || fail "Cancel did not bring sig back: $(cat "$work/driver.out")"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan"
    grep -q 'a="omw"' "$config/abbreviations.tlv" || fail "the library lost omw"
    grep -q 'a="sig"' "$config/abbreviations.tlv" || fail "the library lost sig"
    grep -q 'a="btw"' "$config/abbreviations.tlv" && fail "btw came back"
    grep -q 'expanded_folders' "$config/prefs.lt" || fail "the window's folders were not kept" ;;

  list_sort)
    abbr omw 5 0 "on my way"
    abbr sig 5 0 "Kind regards"
    abbr afk 5 0 "away from keyboard"
    abbr btw 5 0 "by the way"
    write_library "$config/abbreviations.tlv"
    open_main_window
    # sorted_by COLUMN ORDER: COLUMN's header activated, the list's abbreviations then read
    # back in ORDER (the view rebuilds the list after the click has been handled).
    sorted_by() {
      drive sort "$1" || fail "sort by $1: $(cat "$work/driver.out")"
      for i in $(seq 50); do
        shown=$(/usr/bin/python3 "$here/main_window_driver.py" rows | grep -F '|' | cut -d'|' -f2 | tr '\n' ' ')
        [ "$shown" = "$2 " ] && return 0
        sleep 0.2
      done
      fail "sorted by $1 the list shows [$shown], not [$2]"
    }
    sorted_by Abbreviation "afk btw omw sig"
    sorted_by Abbreviation "sig omw btw afk"
    sorted_by Abbreviation "afk btw omw sig"
    sorted_by "Replacement Preview" "afk btw sig omw"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan"
    # The preferences file ends its lines with CR LF.
    tr -d '\r' <"$config/prefs.lt" >"$work/prefs.txt"
    grep -qx '"a_sc"="e"' "$work/prefs.txt" || fail "the sort column was not kept: $(grep a_s "$work/prefs.txt")"
    grep -qx '"a_so"="asc"' "$work/prefs.txt" || fail "the sort order was not kept: $(grep a_s "$work/prefs.txt")" ;;

  import_export)
    corpus=${TOLVAN_CORPORA_DIR:-}/textexpander/bachya__ExpandSync__res__Settings.textexpander
    [ -r "$corpus" ] || fail "no TextExpander settings file at $corpus (TOLVAN_CORPORA_DIR)"
    # snippets FILE [last-group]: a settings file's abbreviations as plistlib reads them, one
    # a line (of its last group only with last-group).
    snippets() {
      /usr/bin/python3 -c 'import plistlib, sys
top = plistlib.load(open(sys.argv[1], "rb"))
items = top["snippetsTE2"]
if len(sys.argv) > 2:
    members = set(top["groupsTE2"][-1]["snippetUUIDs"])
    items = [s for s in items if s["uuidString"] in members]
print("\n".join(s["abbreviation"] for s in items))' "$@"
    }
    abbr btw 5 0 "by the way"
    write_library "$config/abbreviations.tlv"
    open_main_window
    drive menu "File/Import/Import TextExpander Snippets..." || fail "import menu: $(cat "$work/driver.out")"
    drive choose-file "Import TextExpander Snippets" "$corpus" Open || fail "choosing the file: $(cat "$work/driver.out")"
    drive answer "Switch to TextExpander Mode" Yes || fail "mode question: $(cat "$work/driver.out")"
    drive answer "Import preferences from TextExpander" Yes || fail "preferences question: $(cat "$work/driver.out")"
    report=$(/usr/bin/python3 "$here/main_window_driver.py" answer "Successfully imported" OK) ||
      fail "no report: $report"
    count=$(snippets "$corpus" | wc -l)
    echo "$report" | grep -q "imported $count snippets" || fail "the report does not count $count snippets: $report"
    folders=$(/usr/bin/python3 "$here/main_window_driver.py" rows Folders) || fail "folders: $folders"
    for group in "Sample Snippets" "Evernote"; do
      echo "$folders" | grep -q "$group" || fail "the folder tree lacks $group: $folders"
    done
    # The last group imported is the one selected.
    list=$(/usr/bin/python3 "$here/main_window_driver.py" rows) || fail "rows: $list"
    for a in $(snippets "$corpus" last-group); do
      echo "$list" | grep -q -F -- "$a" || fail "the list lacks $a: $list"
    done
    apply_changes
    grep -q 'a="tyvm"' "$config/abbreviations.tlv" || fail "the imported snippets were not saved"

    exported=$work/exported.textexpander
    drive menu "File/Export/Export All Abbreviations to TextExpander Snippet File..." || fail "export menu: $(cat "$work/driver.out")"
    drive choose-file "Export snippets to..." "$exported" Save || fail "choosing the target: $(cat "$work/driver.out")"
    drive answer "Successfully exported" OK || fail "no export report: $(cat "$work/driver.out")"
    back=$(snippets "$exported") || fail "the exported file does not read: $back"
    for a in $(snippets "$corpus") btw; do
      echo "$back" | grep -qx -F -- "$a" || fail "the export lacks $a: $back"
    done

    # A second start hands over an exported abbreviation file; its import asks the mode.
    entries=
    abbr omw 5 0 "on my way"
    write_library "$work/handed.tlv"
    "$tolvan" --config-dir "$config" --import "$work/handed.tlv" 2>>"$work/second.err" &
    ends_with_zero $! "the start that hands over the file"
    drive answer "Select Import Mode" OK Append || fail "import mode: $(cat "$work/driver.out")"
    folders=$(/usr/bin/python3 "$here/main_window_driver.py" rows Folders) || fail "folders: $folders"
    for group in "Sample Snippets" "E2E"; do
      echo "$folders" | grep -q "$group" || fail "after the hand-over the folder tree lacks $group: $folders"
    done
    apply_changes
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan"
    for a in btw tyvm omw; do
      grep -q "a=\"$a\"" "$config/abbreviations.tlv" || fail "the library lost $a"
    done
    [ "$("$(dirname "$tolvan")/tolvan-cli" --config-dir "$config" prefs get textexpander_mode)" = 1 ] ||
      fail "TextExpander mode was not kept" ;;

  preview)
    cli=$(dirname "$tolvan")/tolvan-cli
    for key in show_tooltips show_tooltips_wec; do
      "$cli" --config-dir "$config" prefs set $key 1 >/dev/null || fail "prefs"
    done
    abbr btw 5 0 "by the way"
    write_library "$config/abbreviations.tlv"
    start_field_app
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    type_text "btw"
    wait_visible '^Tolvan preview$' || fail "no preview while btw waits"
    preview=$visible
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    [ "$(xdotool getactivewindow)" = "$main" ] || fail "the preview took the focus"
    # At the caret: inside the field's window.
    field_geometry
    eval "$(xdotool getwindowgeometry --shell "$preview")"
    [ "$X" -ge "$FIELD_X" ] && [ "$X" -lt $((FIELD_X + FIELD_WIDTH)) ] &&
      [ "$Y" -gt "$FIELD_Y" ] && [ "$Y" -lt $((FIELD_Y + FIELD_HEIGHT)) ] ||
      fail "the preview at $X,$Y is not at the caret of the field at $FIELD_X,$FIELD_Y ${FIELD_WIDTH}x$FIELD_HEIGHT"
    type_text " "
    wait_until_still "$work/report.json"
    [ "$(field text)" = "by the way " ] || fail "not expanded: [$(field text)]"
    wait_hidden '^Tolvan preview$' || fail "the preview stayed after the expansion"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  abbrev_menu)
    prefs acm_enable=1 "acm_hotkey=17 18 65" acm_placement=keyboard
    menu_library
    start_field_app
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    type_text "hello "
    wait_until_still "$work/report.json"
    field_geometry
    xdotool mousemove 1000 900  # far from the caret
    # At the caret: a little right of the field's left edge, just under its first line.
    # Tolvan asks the field's application for its caret through AT-SPI, which may not know
    # the application for a few seconds after its start; until then the menu opens at the
    # pointer.
    at_caret=
    for i in $(seq 10); do
      keys ctrl+alt+a
      wait_for_menu || fail "no menu after the hotkey"
      if [ "$X" -gt "$FIELD_X" ] && [ "$X" -lt $((FIELD_X + FIELD_WIDTH)) ] &&
        [ "$Y" -gt "$FIELD_Y" ] && [ "$Y" -lt $((FIELD_Y + 60)) ]; then
        at_caret=1
        break
      fi
      keys Escape
      menu_gone || fail "Escape did not close the menu"
      sleep 0.5
    done
    [ -n "$at_caret" ] || fail "the menu at $X,$Y is not at the caret of the field at $FIELD_X,$FIELD_Y"
    keys Down Right
    sleep 0.3
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    keys Down Return
    menu_gone || fail "the menu stayed"
    wait_until_still "$work/report.json"
    [ "$(field text)" = "hello first choice" ] || fail "not inserted: [$(field text)]"
    # Escape closes it without inserting anything.
    keys ctrl+alt+a
    wait_for_menu || fail "no menu the second time"
    keys Escape
    menu_gone || fail "Escape did not close the menu"
    type_text " done"
    wait_until_still "$work/report.json"
    [ "$(field text)" = "hello first choice done" ] || fail "after Escape: [$(field text)]"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  abbrev_menu_xterm)
    prefs acm_enable=1 "acm_hotkey=17 18 65" acm_placement=keyboard
    menu_library
    xterm -geometry 60x10+40+40 -T "Tolvan xterm" -e sh -c "read line; printf '%s' \"\$line\" >'$work/xterm.out'" &
    xterm_pid=$!
    pids="$pids $xterm_pid"
    wait_visible '^Tolvan xterm$' || fail "no xterm"
    term=$visible
    xdotool windowactivate "$term" 2>/dev/null
    wait_active "$term" || fail "xterm did not get the focus"
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    xdotool mousemove 400 300
    type_text "hello "
    keys ctrl+alt+a
    wait_for_menu || fail "no menu after the hotkey"
    [ "$X" -eq 400 ] && [ "$Y" -eq 300 ] || fail "the menu at $X,$Y is not at the pointer 400,300"
    keys Down Right Down Down
    sleep 0.3
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    keys Return
    menu_gone || fail "the menu stayed"
    sleep 0.5
    keys Return
    for i in $(seq 50); do [ -s "$work/xterm.out" ] && break; sleep 0.1; done
    [ "$(cat "$work/xterm.out" 2>/dev/null)" = "hello second choice" ] ||
      fail "xterm got [$(cat "$work/xterm.out" 2>/dev/null)]"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  folder_menu)
    prefs acm_enable=0 acm_placement=mouse
    menu_library
    start_field_app
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    xdotool mousemove 300 200
    keys ctrl+alt+m
    wait_for_menu || fail "no menu after the folder's hotkey"
    [ "$X" -eq 300 ] && [ "$Y" -eq 200 ] || fail "the menu at $X,$Y is not at the pointer 300,200"
    # Alpha, Beta: no Inner before them.
    keys Down Down
    sleep 0.3
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    keys Return
    menu_gone || fail "the menu stayed"
    wait_until_still "$work/report.json"
    [ "$(field text)" = "second choice" ] || fail "not inserted: [$(field text)]"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  preferences)
    abbr btw 5 0 "by the way"
    write_library "$config/abbreviations.tlv"
    prefs ed_enable=1 "ed_hotkey=17 18 84"
    cli=$(dirname "$tolvan")/tolvan-cli
    start_host
    start_tolvan tolvan
    wait_for_text "$work/host.out" "tooltip Tolvan - Enabled" || fail "no item"
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    "$tolvan" --config-dir "$config" 2>>"$work/second.err" &
    ends_with_zero $! "the start that shows the window"
    main_window() { /usr/bin/python3 "$here/main_window_driver.py" "$@" >>"$work/driver.out" 2>&1; }
    preferences() { /usr/bin/python3 "$here/preferences_driver.py" "$@" >>"$work/driver.out" 2>&1; }
    open_preferences() {
      main_window menu "Options/Preferences" || fail "menu: $(cat "$work/driver.out")"
      wait_visible '^Preferences$' || fail "no Preferences window"
      preferences wait-window || fail "Preferences: $(cat "$work/driver.out")"
    }
    main_window wait-window || fail "no main window: $(cat "$work/driver.out")"
    open_preferences
    preferences hotkey "Toggle status" Ctrl+Shift A || fail "hotkey: $(cat "$work/driver.out")"
    preferences set-text "Word-ending characters" "#" || fail "delimiters: $(cat "$work/driver.out")"
    preferences check Space off || fail "Space: $(cat "$work/driver.out")"
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    preferences click OK || fail "OK: $(cat "$work/driver.out")"
    wait_hidden '^Preferences$' || fail "OK did not close the window"
    # The new hotkey works at once, without a restart.
    xdotool key ctrl+shift+a
    wait_for_text "$work/host.out" "tooltip Tolvan - Disabled" || fail "the new hotkey did not disable"
    xdotool key ctrl+shift+a
    wait_for_text "$work/host.out" "tooltip Tolvan - Enabled" 2 || fail "the new hotkey did not enable"
    xdotool key ctrl+alt+t
    sleep 0.5
    [ "$(grep -c "tooltip Tolvan - Disabled" "$work/host.out")" -eq 1 ] || fail "the old hotkey still works"
    # A space no longer ends the word; the new character does.
    start_field_app
    type_text "btw "
    wait_until_still "$work/report.json"
    [ "$(field text)" = "btw " ] || fail "a space still ends the word: [$(field text)]"
    type_text "btw#"
    wait_until_still "$work/report.json"
    [ "$(field text)" = "btw by the way#" ] || fail "the new word ending did not expand: [$(field text)]"

    # TextExpander mode relabels the window; Cancel stores nothing and the next showing is
    # back to normal.
    saved=$(cksum <"$config/prefs.lt")
    open_preferences
    preferences label "Word-ending characters:" || fail "not the normal look: $(cat "$work/driver.out")"
    preferences check "Enable TextExpander Mode" on || fail "mode: $(cat "$work/driver.out")"
    for i in $(seq 30); do preferences label "Delimiters:" && break; sleep 0.1; done
    preferences label "Delimiters:" || fail "not relabelled: $(cat "$work/driver.out")"
    preferences click Cancel || fail "Cancel: $(cat "$work/driver.out")"
    wait_hidden '^Preferences$' || fail "Cancel did not close the window"
    [ "$(cksum <"$config/prefs.lt")" = "$saved" ] || fail "Cancel changed the preferences file"
    open_preferences
    preferences label "Word-ending characters:" || fail "the mode's look stayed: $(cat "$work/driver.out")"
    preferences checked "Enable TextExpander Mode" && fail "the mode's box stayed ticked"
    preferences click Cancel || fail "Cancel: $(cat "$work/driver.out")"
    wait_hidden '^Preferences$' || fail "Cancel did not close the window"

    # Sync pointed at a folder that already holds a library asks what to do with it, in its
    # own dialog. OK asks inside the accessibility call that would press it, which would
    # stall it: OK comes from the keyboard, the answer through the accessibility tree.
    sync_to() { # FOLDER: ticks sync, names FOLDER and presses OK
      open_preferences
      preferences check "Enable Dropbox sync so I can use the same abbreviations on multiple computers" on ||
        fail "sync: $(cat "$work/driver.out")"
      preferences set-text "My Dropbox folder" "$1" || fail "folder: $(cat "$work/driver.out")"
      press_preferences_ok
    }
    press_preferences_ok() {
      prefs_window=$(xdotool search --onlyvisible --name '^Preferences$' | head -1)
      xdotool windowactivate "$prefs_window" 2>/dev/null
      wait_active "$prefs_window" || fail "the Preferences window did not get the focus"
      keys alt+o
    }
    existing="Existing sync file found in Dropbox folder."
    entries=
    abbr omw 5 0 "on my way"
    mkdir -p "$work/shared/Tolvan" "$work/other/Tolvan"
    write_library "$work/shared/Tolvan/abbreviations.tlv"
    write_library "$work/other/Tolvan/abbreviations.tlv"
    saved=$(cksum <"$config/prefs.lt")
    # Cancel: nothing changes, the window stays open.
    sync_to "$work/shared"
    main_window answer "$existing" Cancel || fail "no question to cancel: $(cat "$work/driver.out")"
    sleep 0.5
    [ -n "$(xdotool search --onlyvisible --name '^Preferences$' 2>/dev/null)" ] ||
      fail "Cancel closed the Preferences window"
    [ "$(cksum <"$config/prefs.lt")" = "$saved" ] || fail "Cancel changed the preferences file"
    # Overwrite: the file there is moved aside and replaced by this computer's library.
    press_preferences_ok
    main_window answer "$existing" OK Overwrite || fail "no question to overwrite: $(cat "$work/driver.out")"
    wait_hidden '^Preferences$' || fail "OK did not close the window"
    grep -q 'a="btw"' "$work/shared/Tolvan/abbreviations.tlv" || fail "the shared file was not overwritten"
    grep -q 'a="omw"' "$work/shared/Tolvan"/abbreviations_backup0*.tlv ||
      fail "no backup of the overwritten file: $(ls "$work/shared/Tolvan")"
    # Sync with it: this computer takes the other folder's library.
    sync_to "$work/other"
    main_window answer "$existing" OK "Sync with it" || fail "no question to sync: $(cat "$work/driver.out")"
    wait_hidden '^Preferences$' || fail "OK did not close the window"
    xdotool windowactivate "$main" 2>/dev/null
    wait_active "$main" || fail "the field did not get the focus back"
    for i in $(seq 20); do
      type_text " omw#"
      wait_until_still "$work/report.json"
      case $(field text) in *"on my way#") break ;; esac
      sleep 0.5
    done
    case $(field text) in *" on my way#") ;; *) fail "the shared library was not loaded: [$(field text)]" ;; esac
    grep -q 'a="omw"' "$work/other/Tolvan/abbreviations.tlv" || fail "the shared library was overwritten"

    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan"
    stored() { "$cli" --config-dir "$config" prefs get "$1"; }
    [ "$(stored ed_hotkey)" = "17 16 65" ] || fail "ed_hotkey: [$(stored ed_hotkey)]"
    [ "$(stored ed_enable)" = 1 ] || fail "ed_enable: [$(stored ed_enable)]"
    # "#", then the tab and the line feed of the boxes left ticked (the command adds a line feed).
    [ "$(stored delim_chars | od -An -c | tr -d ' \n')" = '#\t\n\n' ] ||
      fail "delim_chars: [$(stored delim_chars | od -An -c)]"
    # Never stored, or stored off.
    case $(stored textexpander_mode 2>/dev/null) in "" | 0) ;; *) fail "textexpander_mode: [$(stored textexpander_mode)]" ;; esac
    [ "$(stored use_diff_abbrev_dir)" = 1 ] || fail "use_diff_abbrev_dir: [$(stored use_diff_abbrev_dir)]"
    [ "$(stored diff_abbrev_dir)" = "$work/other" ] || fail "diff_abbrev_dir: [$(stored diff_abbrev_dir)]" ;;

  launch_pad)
    prefs launchpad_enable=1 "launchpad_hotkey=17 18 76"
    printf '#!/bin/sh\necho "launched $*" >"%s/launched"\n' "$work" >"$work/recorder"
    chmod +x "$work/recorder"
    entries="<p a=\"qql\" d=\"Recorder\" p=\"$work/recorder\" c=\"1\" t=\"5\" r=\"0\" m=\"pad\" i=\"\" s=\"0\" n=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
    write_library "$config/abbreviations.tlv"
    start_tolvan tolvan
    wait_for_text "$work/tolvan.err" "hooks installed" || fail "no engine"
    [ -z "$(xdotool search --onlyvisible --name '^Tolvan LaunchPad$' 2>/dev/null)" ] ||
      fail "the launch pad showed at the start"
    keys ctrl+alt+l
    wait_visible '^Tolvan LaunchPad$' || fail "no launch pad after the hotkey"
    wait_active "$visible" || fail "the launch pad did not get the focus"
    type_text "qq"
    keys ctrl+alt+l
    sleep 0.3
    [ "$(xdotool search --onlyvisible --name '^Tolvan LaunchPad$' | wc -l)" -eq 1 ] || fail "two launch pads"
    type_text "l"
    [ -n "${SCREENSHOT:-}" ] && import -window root "$SCREENSHOT"
    keys Return
    for i in $(seq 50); do [ -s "$work/launched" ] && break; sleep 0.1; done
    [ "$(cat "$work/launched" 2>/dev/null)" = "launched pad" ] || fail "not launched: [$(cat "$work/launched" 2>/dev/null)]"
    wait_hidden '^Tolvan LaunchPad$' || fail "the launch pad stayed after the launch"
    kill -TERM "$tolvan_pid"
    ends_with_zero "$tolvan_pid" "tolvan" ;;

  *)
    echo "unknown scenario $name" >&2
    exit 2 ;;
esac
echo "ok: $name"
