# Sourced by the project's scripts: where things live and how Wine is run.
# Everything Wine needs sits inside build/, never in the user's home.
GLIM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export GLIM_ROOT
export WINEPREFIX="$GLIM_ROOT/build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No network here: keep Wine from trying to fetch Mono and Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

# glim_japanese_locale: LANG=ja_JP.UTF-8 gives Wine code page 932. Until
# setup.sh has generated the locale, setting it would only make bash, perl and
# apt print warnings that it cannot be set, so it waits for the locale.
glim_japanese_locale() {
  if locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    export LANG=ja_JP.UTF-8
    unset LC_ALL LC_CTYPE LC_MESSAGES LANGUAGE
  fi
}
glim_japanese_locale

# glim_display: make sure an X display exists; starts Xvfb when there is none.
# Sets GLIM_XVFB_PID when it started one (the caller stops it).
glim_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      GLIM_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
      done
      echo "glim: Xvfb did not start on :$n" >&2
      return 1
    fi
  done
  echo "glim: no free X display number" >&2
  return 1
}

glim_stop_display() {
  if [ -n "${GLIM_XVFB_PID:-}" ]; then
    # Wine's helper processes of this prefix keep the display open and would
    # report its end as a broken X connection: they go first, quietly.
    wineserver -k >/dev/null 2>&1 || true
    kill "$GLIM_XVFB_PID" 2>/dev/null
    wait "$GLIM_XVFB_PID" 2>/dev/null
    GLIM_XVFB_PID=
  fi
}
