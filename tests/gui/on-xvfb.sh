#!/usr/bin/env bash
# Runs a command on an X server of its own: Xvfb picks a free display and
# writes its number once it is ready; the server ends with the command.
#   tests/gui/on-xvfb.sh COMMAND [ARGS...]
set -euo pipefail

number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$number" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$number"' EXIT
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
display=$(head -1 "$number")
[ -n "$display" ] || { echo "on-xvfb: Xvfb did not start"; exit 1; }

status=0
DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_SESSION_TYPE=x11 "$@" || status=$?
exit "$status"
