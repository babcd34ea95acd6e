#!/bin/sh
# with-x.sh CMD...: runs CMD on a fresh X server (Xvfb on a free display, with openbox as
# the window manager and a D-Bus session when dbus-run-session exists), then takes it all
# down again. Exits with CMD's status. The session bus starts the accessibility bus
# (at-spi2-core) when the first application asks for it, which is how Tolvan learns of
# GTK applications' focus and caret.
set -u
if [ $# -eq 0 ]; then
  echo "usage: with-x.sh CMD..." >&2
  exit 2
fi
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
display=":$n"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
tries=0
until DISPLAY="$display" xdpyinfo >/dev/null 2>&1; do
  tries=$((tries + 1))
  if [ $tries -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
    echo "with-x.sh: Xvfb did not start on $display" >&2
    kill $xvfb 2>/dev/null
    exit 1
  fi
  sleep 0.1
done
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
if command -v dbus-run-session >/dev/null 2>&1 && [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  DISPLAY="$display" dbus-run-session -- "$@"
else
  DISPLAY="$display" "$@"
fi
status=$?
kill $wm 2>/dev/null
kill $xvfb 2>/dev/null
wait $wm 2>/dev/null
wait $xvfb 2>/dev/null
exit $status
