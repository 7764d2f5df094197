# Sourced by the run and test scripts: a private Wine prefix under the build folder, an X
# display (the user's, or a virtual one), a persistent wineserver, sound to a null device.
# Call wine_session_start; the EXIT trap it sets stops what it started.

wine_session_start() {
  local build=$1 want_virtual_display=$2
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=-all
  export WINEARCH=win32
  # No menu entries on the host, no browser or .NET installers.
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
  # MCI plays into ALSA's null device: sounds open, play and end without a sound card.
  export ALSA_CONFIG_PATH="$build/asound.conf"
  printf 'pcm.!default { type null }\n' >"$ALSA_CONFIG_PATH"

  WINE_SESSION_XVFB=""
  if [ "$want_virtual_display" = yes ] || [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
    WINE_SESSION_XVFB=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  trap wine_session_stop EXIT

  if [ ! -f "$WINEPREFIX/.korvane-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # A fixed-size virtual desktop makes screen size, focus and activation repeatable.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.korvane-ready"
  fi
  wineserver -p
  # Start the services and the desktop now, detached from our output: processes that
  # outlive a test would otherwise hold its output pipe open.
  wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "${WINE_SESSION_XVFB:-}" ]; then
    kill "$WINE_SESSION_XVFB" >/dev/null 2>&1 || true
    wait "$WINE_SESSION_XVFB" 2>/dev/null || true
  fi
}
