#!/bin/sh
# launch_pad_bench.sh TOLVAN: how long a launcher typed into the launch pad takes from the
# Return that fires it to the first instruction of the program it starts (a shell script
# that writes the time). The same script started straight from this shell is the program's
# own start, shown beside it. Five launches; medians in milliseconds. Run it on a display:
# scripts/with-x.sh sh bench/launch_pad_bench.sh build-ship/bin/tolvan
set -u
tolvan=$(realpath "$1")
cli=$(dirname "$tolvan")/tolvan-cli
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
pid=
config=$work/config
mkdir -p "$config"

printf '#!/bin/sh\ndate +%%s%%N >"%s/launched"\n' "$work" >"$work/recorder"
chmod +x "$work/recorder"
cat >"$config/abbreviations.tlv" <<XML
<Tolvan n="All Abbreviations / Folders" t="0" d="0" m="1"><f n="Bench" t="0" d="0" e="0"><p a="qql" d="Recorder" p="$work/recorder" c="1" t="5" r="0" m="" i="" s="0" n="0" x="030f07dc0e0509" y="030f07dc0e0509"/></f></Tolvan>
XML
"$cli" --config-dir "$config" prefs set launchpad_enable 1 >/dev/null
"$cli" --config-dir "$config" prefs set launchpad_hotkey "17 18 76" >/dev/null

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

pad_visible() { xdotool search --onlyvisible --name '^Tolvan LaunchPad$' >/dev/null 2>&1; }

# One launch through the launch pad: milliseconds from the Return to the script's time.
launch() {
  rm -f "$work/launched"
  xdotool key ctrl+alt+l
  until pad_visible; do sleep 0.02; done
  sleep 0.3
  xdotool type --delay 30 qql
  sleep 0.2
  start=$(date +%s%N)
  xdotool key Return
  until [ -s "$work/launched" ]; do sleep 0.005; done
  echo $((($(cat "$work/launched") - start) / 1000000))
  while pad_visible; do sleep 0.05; done
  sleep 0.3
}

# The script started from here: the program's own start.
direct() {
  rm -f "$work/launched"
  start=$(date +%s%N)
  "$work/recorder"
  echo $((($(cat "$work/launched") - start) / 1000000))
}

G_MESSAGES_DEBUG=Tolvan "$tolvan" --config-dir "$config" --systray 2>"$work/tolvan.err" &
pid=$!
until grep -q "hooks installed" "$work/tolvan.err"; do sleep 0.1; done
sleep 1
pad=$(for i in 1 2 3 4 5; do launch; done | median)
own=$(for i in 1 2 3 4 5; do direct; done | median)
echo "launch pad: Return to the program's first instruction ${pad} ms (the program's own start: ${own} ms)"
kill -TERM $pid
wait $pid
pid=
