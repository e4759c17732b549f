# Shared by the project's scripts: building, the private display, the
# stand-in service, and stopping whatever was started.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin=$root/build/bin
started=()   # processes to end, by pid
on_exit=()   # commands to run when the script ends, last first

stop_started() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  started=()
}
finish() {
  local i
  for ((i = ${#on_exit[@]} - 1; i >= 0; i--)); do eval "${on_exit[i]}" || true; done
  stop_started
}
trap finish EXIT

# make_work_dir: a temporary folder in $work, removed at the end.
make_work_dir() {
  work=$(mktemp -d)
  on_exit+=("rm -rf '$work'")
}

build_release() {
  "$root/scripts/setup"
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build" -j "$(nproc)" --target vantrelzip standin_product vantrelz-version-service vantrelz-box >/dev/null
}

# The built-in endpoint's port, from the generated header.
service_port() {
  sed -n 's/.*port = \([0-9]*\);/\1/p' "$root/build/src/generated/update/ServiceEndpoint.h"
}

# start_service ARGS...: the stand-in service on the built-in endpoint.
start_service() {
  local log=$1; shift
  "$bin/vantrelz-version-service" --port "$(service_port)" "$@" >"$log" 2>&1 &
  started+=($!)
  for _ in $(seq 100); do
    grep -q listening "$log" 2>/dev/null && return 0
    kill -0 "${started[-1]}" 2>/dev/null || break
    sleep 0.05
  done
  echo "the stand-in service could not start:" >&2; cat "$log" >&2; return 1
}

# start_private_display [--no-window-manager]: Xvfb (1024x768), with jwm
# unless asked not to; sets DISPLAY and the environment that keeps GTK quick
# and quiet.
start_private_display() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac 3>"$fifo" >/dev/null 2>&1 &
  started+=($!)
  local number; read -r -t 10 number <"$fifo"; rm -f "$fifo"
  [ -n "$number" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$number GDK_BACKEND=x11 GDK_GL=disable NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory GTK_THEME=Adwaita
  unset WAYLAND_DISPLAY
  [ "${1:-}" = --no-window-manager ] && return 0
  jwm >/dev/null 2>&1 &
  started+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  echo "the window manager did not come up" >&2
  return 1
}

# start_wine_prefix: a fresh Wine prefix (WINEPREFIX) for this run, with a
# virtual desktop and Wine's own fonts, on a private display whose name is in
# VANTRELZ_WINE_DISPLAY. Wine's server is ended before the display stops.
start_wine_prefix() {
  local home; home=$(mktemp -d)
  export WINEPREFIX=$home/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  on_exit+=("rm -rf '$home'" "stop_started" "wineserver -k 2>/dev/null")
  local saved_display=${DISPLAY:-}
  start_private_display --no-window-manager
  export VANTRELZ_WINE_DISPLAY=$DISPLAY
  # The very first Wine call of a run now and then fails to start: once more.
  wineboot -i >/dev/null 2>&1 || wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wineserver -w
  if [ -n "$saved_display" ]; then export DISPLAY=$saved_display; else unset DISPLAY; fi
}

wait_for_file() {  # path, seconds
  for _ in $(seq $(($2 * 20))); do [ -s "$1" ] && return 0; sleep 0.05; done
  return 1
}

# json_number FILE KEY [NTH]: the NTH (1-based) number stored under KEY.
json_number() {
  grep -o "\"$2\": -\?[0-9]*" "$1" | sed -n "${3:-1}p" | grep -o -- '-\?[0-9]*$'
}

# screenshot_box BOX-REPORT PNG: the box with its frame, from the screen.
# A Windows box reports its frame itself; an X window's comes from the
# window manager.
screenshot_box() {
  local l=0 r=0 t=0 b=0
  if grep -q '"backend": "win32"' "$1"; then
    IFS=, read -r l t r b <<<"$(grep -o '"frame": \[[-0-9, ]*\]' "$1" | grep -o '[-0-9, ]*\]' | tr -d ' ]')"
  else
    local extents; extents=$(xprop -id "$(json_number "$1" xid)" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9, ]*$' | tr -d ' ')
    [ -n "$extents" ] && IFS=, read -r l r t b <<<"$extents"
  fi
  local x y w h
  x=$(json_number "$1" x) y=$(json_number "$1" y) w=$(json_number "$1" width) h=$(json_number "$1" height)
  import -window root -crop "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))" +repage "$2"
}

# click_button BOX-REPORT LABEL
click_button() {
  local line; line=$(grep -o "{\"id\": [^}]*\"label\": \"$2\"[^}]*}" "$1")
  local bx by bw bh
  bx=$(grep -o '"x": [0-9]*' <<<"$line" | grep -o '[0-9]*$') by=$(grep -o '"y": [0-9]*' <<<"$line" | grep -o '[0-9]*$')
  bw=$(grep -o '"width": [0-9]*' <<<"$line" | grep -o '[0-9]*$') bh=$(grep -o '"height": [0-9]*' <<<"$line" | grep -o '[0-9]*$')
  xdotool mousemove $(( $(json_number "$1" x) + bx + bw / 2 )) $(( $(json_number "$1" y) + by + bh / 2 )) sleep 0.1 click 1
}
