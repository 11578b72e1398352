#!/usr/bin/env bash
# Sample test player for the Nexal script ("#VIEWER nxview.sh"): Mirkan starts it with
#   -load <chart>   keep the chart to play (Mirkan's scratch copy of the open chart)
#   -play           start the player on the kept chart from its start
#   -measure<N>     start the player on the kept chart from measure N ("-measure 3" works too)
#   -stop           stop the player that this script started
# Each call returns at once; a new play stops the player an earlier play started.
#
# The player to run: the variable MIRKAN_PLAYER, or else the line "player=..." in nxview.conf
# beside this script. It is a command line (quotes group words); {chart} in it stands for the
# chart file and {measure} for the measure to start from (0 for -play). Without {chart} the
# chart is added as the last argument. Example:
#   player=/opt/myplayer/run --from {measure} {chart}
set -u
here="$(cd "$(dirname "$0")" && pwd)"
state="${XDG_RUNTIME_DIR:-/tmp}/mirkan-nxview-$(id -u)"
mkdir -p "$state" 2>/dev/null && chmod 700 "$state" 2>/dev/null

say() {
  echo "nxview.sh: $1" >&2
  if command -v notify-send >/dev/null 2>&1; then notify-send "Mirkan test play" "$1" >/dev/null 2>&1 || true; fi
}

player_command() {
  if [ -n "${MIRKAN_PLAYER:-}" ]; then
    printf '%s' "$MIRKAN_PLAYER"
  elif [ -f "$here/nxview.conf" ]; then
    sed -n 's/^[[:space:]]*player[[:space:]]*=[[:space:]]*//p' "$here/nxview.conf" | tail -n 1
  fi
}

stop_player() {
  [ -f "$state/pid" ] || return 0
  pid="$(cat "$state/pid" 2>/dev/null)"
  rm -f "$state/pid"
  case "$pid" in '' | *[!0-9]*) return 0 ;; esac
  # The player runs in a session of its own: the whole group goes.
  kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
}

play() {
  measure="$1"
  cmd="$(player_command)"
  if [ -z "$cmd" ]; then
    say "no player is set: put its command line in MIRKAN_PLAYER or as \"player=...\" in $here/nxview.conf"
    exit 1
  fi
  # The load and the play are started together: give the load a moment when nothing is kept yet.
  for _ in $(seq 1 30); do
    [ -s "$state/chart" ] && break
    sleep 0.1
  done
  chart="$(cat "$state/chart" 2>/dev/null)"
  if [ -z "$chart" ] || [ ! -f "$chart" ]; then
    say "no chart to play: the chart was not handed over with -load"
    exit 1
  fi
  words=()
  while IFS= read -r w; do words+=("$w"); done < <(printf '%s\n' "$cmd" | xargs -n 1 printf '%s\n' 2>/dev/null)
  if [ ${#words[@]} -eq 0 ]; then
    say "the player's command line cannot be read: $cmd"
    exit 1
  fi
  args=()
  placed=0
  for w in "${words[@]}"; do
    case "$w" in *"{chart}"*) placed=1 ;; esac
    w="${w//\{chart\}/$chart}"
    args+=("${w//\{measure\}/$measure}")
  done
  [ $placed -eq 1 ] || args+=("$chart")
  if ! command -v "${args[0]}" >/dev/null 2>&1; then
    say "the player ${args[0]} cannot be found"
    exit 1
  fi
  stop_player
  setsid "${args[@]}" </dev/null >/dev/null 2>&1 &
  echo $! >"$state/pid"
}

case "${1:-}" in
  -load)
    if [ -z "${2:-}" ]; then
      say "-load needs a chart file"
      exit 2
    fi
    chart="$2"
    case "$chart" in /*) ;; *) chart="$PWD/$chart" ;; esac
    printf '%s' "$chart" >"$state/chart.new" && mv -f "$state/chart.new" "$state/chart"
    ;;
  -play) play 0 ;;
  -measure*)
    m="${1#-measure}"
    m="${m#=}"
    [ -n "$m" ] || m="${2:-0}"
    case "$m" in '' | *[!0-9]*) say "not a measure: $m"; exit 2 ;; esac
    play "$m"
    ;;
  -stop) stop_player ;;
  *)
    echo "usage: nxview.sh -load <chart> | -play | -measure<N> | -stop" >&2
    exit 2
    ;;
esac
exit 0
