# Sourced: starts and stops a private Xvfb display.
xvfb_start() { # SCREEN, e.g. 1024x768x24
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "$1" -nolisten tcp -nolisten local >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then export DISPLAY=":$n"; return 0; fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "xvfb: no display could be started" >&2
  return 1
}
xvfb_stop() {
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=
}
