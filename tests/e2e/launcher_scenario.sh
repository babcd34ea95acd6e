#!/bin/sh
# launcher_scenario.sh TOLVAN_CLI TEXT_FIELD_APP NAME: a launcher abbreviation typed into a
# GTK text field while `tolvan-cli run` runs: the abbreviation is erased and something is
# started. The programs, default applications and browsers are recorders of this script's
# own (each writes its folder and arguments to $work/out.NAME), found through a temporary
# XDG_DATA_HOME (their .desktop files), XDG_CONFIG_HOME (mimeapps.list) and PATH. Scenarios:
#   program          a program with parameters (quotes, a date macro) in its run-in folder
#   program_folder   no run-in folder: the program's own folder
#   file             a document opens with the default application for text/plain
#   folder           a folder opens with the default application for folders
#   website_chosen   the address, its macro run, goes to the browser the launcher names
#   website_default  no browser named: the default browser
#   website_gone     a browser that is not installed: the default browser
#   admin            "run as administrator" goes through pkexec (a recorder first on PATH)
# Every started program gets the user's environment without Tolvan's start-up notification,
# and none is left a zombie of Tolvan. Exits 77 (skipped) without a display.
set -u
cli=$1
app=$2
name=$3
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
work=$(mktemp -d)
app_pid=
. "$here/e2e_lib.sh"
cleanup() {
  [ -n "$cli_pid" ] && kill "$cli_pid" 2>/dev/null
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "$name: $*"; for f in "$work"/out.* "$work/cli.err"; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done; exit 1; }

# The recorders: bin/NAME writes out.NAME once it has everything.
mkdir -p "$work/bin" "$work/run in" "$work/docs/sub" "$work/data/applications" "$work/config"
cat >"$work/recorder" <<REC
#!/bin/sh
out="$work/out.\$(basename "\$0")"
{
  echo "cwd=\$(pwd)"
  for a in "\$@"; do echo "arg=\$a"; done
  echo "startup_id=\${DESKTOP_STARTUP_ID-none}"
} >"\$out.tmp"
mv "\$out.tmp" "\$out"
REC
chmod +x "$work/recorder"
for r in tool opener files browser default-browser pkexec; do cp "$work/recorder" "$work/bin/$r"; done
echo "notes" >"$work/docs/notes.txt"

desktop_file() {  # desktop_file ID EXEC MIMETYPES
  printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nMimeType=%s\n' "$1" "$2" "$3" \
    >"$work/data/applications/$1.desktop"
}
desktop_file fake-opener "$work/bin/opener %f" "text/plain;"
desktop_file fake-files "$work/bin/files %f" "inode/directory;"
desktop_file fake-browser "$work/bin/browser %u" "x-scheme-handler/http;x-scheme-handler/https;"
desktop_file fake-default-browser "$work/bin/default-browser %u" "x-scheme-handler/http;x-scheme-handler/https;"
# The cache that update-desktop-database keeps beside the entries: GIO lists the
# applications of a type from it.
cat >"$work/data/applications/mimeinfo.cache" <<CACHE
[MIME Cache]
text/plain=fake-opener.desktop;
inode/directory=fake-files.desktop;
x-scheme-handler/http=fake-browser.desktop;fake-default-browser.desktop;
x-scheme-handler/https=fake-browser.desktop;fake-default-browser.desktop;
CACHE
cat >"$work/config/mimeapps.list" <<LIST
[Default Applications]
text/plain=fake-opener.desktop
inode/directory=fake-files.desktop
x-scheme-handler/http=fake-default-browser.desktop
x-scheme-handler/https=fake-default-browser.desktop
LIST

times='x="030f07dc0e0509" y="030f07dc0e0509"'
# program LOCATION PARAMETERS RUN_IN ADMIN (XML-escaped): the launcher typed as qql.
program() {
  entries="<p a=\"qql\" d=\"\" p=\"$1\" c=\"1\" t=\"3\" r=\"0\" m=\"$2\" i=\"$3\" s=\"0\" n=\"$4\" $times/>"
}
# website ADDRESS BROWSER
website() {
  entries="<w a=\"qql\" d=\"\" c=\"1\" t=\"3\" r=\"0\" u=\"$1\" b=\"$2\" $times/>"
}
year=$(date +%Y)
case $name in
  program)
    program "$work/bin/tool" "--title &quot;My Report&quot; 'a  b' %(Year)" "$work/run in" 0
    recorder=tool
    expect="cwd=$work/run in
arg=--title
arg=My Report
arg=a  b
arg=$year" ;;
  program_folder)
    program "$work/bin/tool" "" "" 0
    recorder=tool
    expect="cwd=$work/bin" ;;
  file)
    program "$work/docs/notes.txt" "" "" 0
    recorder=opener
    expect="arg=$work/docs/notes.txt" ;;
  folder)
    program "$work/docs/sub" "" "" 0
    recorder=files
    expect="arg=$work/docs/sub" ;;
  website_chosen)
    website "https://example.org/news/%(Year)?a=1&amp;b=2" "fake-browser.desktop"
    recorder=browser
    expect="arg=https://example.org/news/$year?a=1&b=2" ;;
  website_default)
    website "https://example.org/%(Year)" ""
    recorder=default-browser
    expect="arg=https://example.org/$year" ;;
  website_gone)
    website "https://example.org/" "removed-browser.desktop"
    recorder=default-browser
    expect="arg=https://example.org/" ;;
  admin)
    program "$work/bin/tool" "-v" "$work/run in" 1
    recorder=pkexec
    expect="cwd=$work/run in
arg=--keep-cwd
arg=$work/bin/tool
arg=-v" ;;
  *) echo "unknown scenario $name" >&2; exit 2 ;;
esac
write_library "$work/lib.tlv"

ASAN_OPTIONS=detect_leaks=0 "$app" --report "$work/report.json" --focus text >"$work/app.out" 2>"$work/app.err" &
app_pid=$!
wait_for_line "$work/app.out" ready "$app_pid" "text_field_app" || { cat "$work/app.err"; exit 1; }
main=$(xdotool search --name '^Tolvan field$' | head -1)
wait_active "$main" || fail "the field's window did not keep the focus"
sleep 0.3

# What Tolvan was started with, as a desktop starts it.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" PATH="$work/bin:$PATH"
export DESKTOP_STARTUP_ID=tolvan-own-start
start_cli "$cli" || exit 1
type_text "qql"
for i in $(seq 50); do [ -f "$work/out.$recorder" ] && break; sleep 0.1; done
[ -f "$work/out.$recorder" ] || fail "nothing reached the $recorder recorder"
wait_until_still "$work/report.json"
sleep 0.5
zombies=$(ps -o stat= --ppid "$cli_pid" | grep -c '^Z')
stop_cli || exit 1

got=$(grep -v '^startup_id=' "$work/out.$recorder")
case $recorder in
  opener | files | browser | default-browser) got=$(echo "$got" | grep '^arg=') ;;
esac
[ "$got" = "$expect" ] || fail "expected:
$expect
got:
$got"
grep -qx 'startup_id=none' "$work/out.$recorder" || fail "Tolvan's own start-up notification reached the program"
for r in tool opener files browser default-browser pkexec; do
  [ "$r" = "$recorder" ] || [ ! -f "$work/out.$r" ] || fail "$r was started too"
done
[ "$zombies" -eq 0 ] || fail "$zombies zombie(s) left under tolvan-cli"
field_text=$(python3 -c 'import json, sys; sys.stdout.write(json.load(open(sys.argv[1]))["text"])' "$work/report.json")
[ -z "$field_text" ] || fail "the field still holds [$field_text]"
echo "ok: $name"
