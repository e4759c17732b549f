# scripts/bench --windows: the Windows build's costs under Wine (sourced by
# scripts/bench, after common.sh).
runs=${1:-10}
build_release
"$root/scripts/setup" --windows
cmake -S "$root" -B "$root/build-windows-i686" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/toolchains/mingw-w64-i686.cmake" >/dev/null
cmake --build "$root/build-windows-i686" --target vantrelzip standin_product >/dev/null
windows_bin=$root/build-windows-i686/bin
make_work_dir
start_wine_prefix
export DISPLAY=$VANTRELZ_WINE_DISPLAY
unset VANTRELZ_STANDIN_REPORT
# A warm Wine, as a desktop session has: its server stays up between runs.
wineserver -p

median() { sort -n | awk '{v[NR]=$1} END {if (NR % 2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
ms() { awk -F, -v name="$1" 'NR > 1 && $1 == name {printf "%.1f", $4 * 1000}' "$work/times.csv"; }

start_service "$work/service.log" --release 1.1.1.0
hyperfine -N --warmup 3 --runs "$runs" --output=null --export-csv "$work/times.csv" \
  -n launcher "wine $windows_bin/vantrelzip.exe" \
  -n trivial "wine $windows_bin/vantrelz.bim" >/dev/null
launcher=$(ms launcher) trivial=$(ms trivial)

stop_started_service() { kill "${started[-1]}" 2>/dev/null; wait "${started[-1]}" 2>/dev/null || true; unset 'started[-1]'; }
stop_started_service
start_service "$work/service.log" --release 1.1.1.2 --url "http://127.0.0.1:$(service_port)/vz.exe"
box_times=()
for _ in $(seq "$runs"); do
  rm -f "$work/box.json"
  start=$(date +%s%N)
  VANTRELZ_DIALOG_REPORT="Z:${work//\//\\}\\box.json" wine "$windows_bin/vantrelzip.exe" &
  pid=$!
  until [ -s "$work/box.json" ]; do sleep 0.002; done
  box_times+=("$(( ($(date +%s%N) - start) / 100000 ))")
  # Keys go where the pointer is, once the box has the keyboard.
  until grep -q '"focused": true' "$work/box.json"; do sleep 0.01; done
  xdotool mousemove 1 1 sleep 0.2 key Escape
  wait "$pid" || true
done
box=$(printf '%s\n' "${box_times[@]}" | median | awk '{printf "%.1f", $1 / 10}')

cat <<REPORT
Vantrel Zip launcher benchmark under Wine ($(date -u +%Y-%m-%d), $(nproc) cores, i686 build, warm wineserver, medians)

  no-box run, wine vantrelzip.exe to its end     $launcher ms
    wine of a trivial Win32 program             $trivial ms   (launcher / trivial: $(awk -v a="$launcher" -v b="$trivial" 'BEGIN {printf "%.2f", a / b}'))
  launcher start to the box painted             $box ms
REPORT
