#!/usr/bin/env bash
# Sample test player for the Nexal script ("#VIEWER nxview.sh"): Mirkan starts it with
#   -load <chart>   keep the chart to play (Mirkan's scratch copy of the open chart)
#   -play           start the player on the kept chart from its start
#   -measure<N>     start the player on the kept chart from measure N ("-measure 3" works too)
#   -stop           stop the player that this script started
# Each call returns at once; a new play stops the player an earlier play started. A play waits
# for the loads started before it, so it plays the chart of the latest of them even when the two
# calls run in the other order.
#
# The player to run: the variable MIRKAN_PLAYER, or else the line "player=..." in nxview.conf
# beside this script. It is a command line (quotes group words); {chart} in it stands for the
# chart file and {measure} for the measure to start from (0 for -play). Without {chart} the
# chart is added as the last argument. Example:
#   player=/opt/myplayer/run --from {measure} {chart}
#
# What this script keeps (the chart to play, the player it started) lives in a folder that is the
# user's alone: $XDG_RUNTIME_DIR/mirkan-nxview-<uid> when that folder is the user's own, else
# ${TMPDIR:-/tmp}/mirkan-nxview-<uid>. A folder there that is a link, belongs to someone else or
# can be written by others is refused. Files in it are written to a fresh name and renamed.
set -u
case "$0" in */*) here="${0%/*}" ;; *) here=. ;; esac
here="$(cd "$here" && pwd)"
uid="$EUID"

say() {
  echo "nxview.sh: $1" >&2
  if command -v notify-send >/dev/null 2>&1; then notify-send "Mirkan test play" "$1" >/dev/null 2>&1 || true; fi
}

# The folder itself (a link is not followed) is a folder of ours that nobody else can write into.
own_folder() {
  local owner mode kind
  [ -n "$1" ] && [ ! -L "$1" ] || return 1
  read -r owner mode kind < <(stat -c '%u %a %F' -- "$1" 2>/dev/null) || return 1
  folder_mode="$mode"
  [ "$kind" = directory ] && [ "$owner" = "$uid" ] && (((8#$mode & 8#022) == 0))
}

state_folder() {
  local base
  if [ -n "${XDG_RUNTIME_DIR:-}" ] && own_folder "$XDG_RUNTIME_DIR"; then
    base="$XDG_RUNTIME_DIR"
  else
    base="${TMPDIR:-/tmp}"
  fi
  state="${base%/}/mirkan-nxview-$uid"
  mkdir -m 700 -- "$state" 2>/dev/null
  if ! own_folder "$state"; then
    say "the folder $state is not yours alone (someone else's, open to others or a link): test play refuses to keep its files there; remove it, or set XDG_RUNTIME_DIR to a folder of your own"
    exit 1
  fi
  [ "$folder_mode" = 700 ] || chmod 700 -- "$state"
}

# One call at a time changes what is kept. The lock is on the folder itself; a started player
# must not inherit it.
lock() {
  exec 9<"$state" || exit 1
  if ! flock -w 30 9; then
    say "another test-play command still holds $state"
    exit 1
  fi
}
unlock() { exec 9<&-; }

# Writes a kept file under a fresh name and renames it over the old one (never through a link).
keep() {
  local tmp
  tmp="$(mktemp -- "$state/.$1.XXXXXX")" || return 1
  if printf '%s' "$2" >"$tmp" && mv -fT -- "$tmp" "$state/$1"; then return 0; fi
  rm -f -- "$tmp"
  return 1
}

# A kept file's text; fails when it is missing or not a plain file.
kept() {
  [ -f "$state/$1" ] && [ ! -L "$state/$1" ] || return 1
  IFS= read -r -d '' REPLY <"$state/$1"
  return 0
}

boot_id() {
  local b=""
  read -r b 2>/dev/null </proc/sys/kernel/random/boot_id
  echo "$b"
}

# "<start time> <process group>" of a live process (fields 22 and 5 of /proc/<pid>/stat); fails
# when it has ended. The start time tells a process from a later one that got its number. A
# process that has ended is the usual case, not an error, so nothing is said: standard error is
# sent away before the file is opened, or the shell would report the missing file.
proc_info() {
  local s f
  IFS= read -r s 2>/dev/null <"/proc/$1/stat" || return 1
  read -ra f <<<"${s##*) }"  # from field 3 on: the name in brackets may hold blanks
  [ "${#f[@]}" -ge 20 ] && [ "${f[0]}" != Z ] && [ "${f[0]}" != X ] || return 1
  echo "${f[19]} ${f[2]}"
}

my_start() {
  local info
  info="$(proc_info "$$")" && echo "${info%% *}"
}

# Stops the player that a play of this script started, and only that one: the kept number must
# still name the same process (same boot, same start time). It runs in a session of its own, so
# its whole group goes when it still leads it.
stop_player() {
  local pid start boot info now group
  kept pid || return 0
  rm -f -- "$state/pid"
  read -r pid start boot <<<"$REPLY"
  case "$pid" in '' | *[!0-9]* | ?????????*) return 0 ;; esac
  pid=$((10#$pid))
  [ "$pid" -gt 1 ] && [ -n "${start:-}" ] && [ "${boot:-}" = "$(boot_id)" ] || return 0
  info="$(proc_info "$pid")" || return 0
  read -r now group <<<"$info"
  [ "$now" = "$start" ] || return 0
  if [ "$group" = "$pid" ]; then
    kill -TERM -- "-$pid" 2>/dev/null || true
  else
    kill -TERM -- "$pid" 2>/dev/null || true
  fi
}

# The loads of this script (by this user, started by the same path) that started no later than
# this call and still run.
earlier_loads() {
  local mine p i argv info
  mine="$(my_start)" || return 0
  for p in /proc/[0-9]*; do
    p="${p#/proc/}"
    [ "$p" != "$BASHPID" ] && [ "$p" != "$$" ] && [ -O "/proc/$p" ] || continue
    mapfile -d '' -t argv 2>/dev/null <"/proc/$p/cmdline" || continue
    for ((i = 0; i + 1 < ${#argv[@]}; i++)); do
      if [ "${argv[i]}" = "$0" ] && [ "${argv[i + 1]}" = -load ]; then
        info="$(proc_info "$p")" || break
        [ "${info%% *}" -le "$mine" ] && echo "$p ${info%% *}"
        break
      fi
    done
  done
}

# Waits (within a bound) for the loads started before this play, which may still be running or
# not even have begun their work: the chart they hand over is the one to play.
await_loads() {
  local loads pid start info left
  loads="$(earlier_loads)"
  [ -n "$loads" ] || return 0
  for _ in $(seq 1 200); do
    left=0
    while read -r pid start; do
      info="$(proc_info "$pid")" && [ "${info%% *}" = "$start" ] && left=1
    done <<<"$loads"
    [ $left -eq 1 ] || return 0
    sleep 0.05
  done
}

player_command() {
  if [ -n "${MIRKAN_PLAYER:-}" ]; then
    printf '%s' "$MIRKAN_PLAYER"
  elif [ -f "$here/nxview.conf" ]; then
    sed -n 's/^[[:space:]]*player[[:space:]]*=[[:space:]]*//p' "$here/nxview.conf" | tail -n 1
  fi
}

play() {
  measure="$1"
  cmd="$(player_command)"
  if [ -z "$cmd" ]; then
    say "no player is set: put its command line in MIRKAN_PLAYER or as \"player=...\" in $here/nxview.conf"
    exit 1
  fi
  await_loads
  lock
  # Nothing kept yet: a load started at the same moment may still be on its way.
  for _ in $(seq 1 30); do
    kept chart && break
    unlock
    sleep 0.1
    lock
  done
  chart=""
  kept chart && chart="${REPLY#*$'\n'}"
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
  setsid "${args[@]}" </dev/null >/dev/null 2>&1 9<&- &
  pid=$!
  if info="$(proc_info "$pid")"; then
    keep pid "$pid ${info%% *} $(boot_id)" || say "the player's number cannot be kept in $state: -stop will not reach it"
  fi
}

case "${1:-}" in
  -load)
    if [ -z "${2:-}" ]; then
      say "-load needs a chart file"
      exit 2
    fi
    chart="$2"
    case "$chart" in /*) ;; *) chart="$PWD/$chart" ;; esac
    stamp="$(boot_id) $(my_start)"
    state_folder
    lock
    # A load that started later and finished first keeps its chart.
    if kept chart; then
      read -r boot start <<<"${REPLY%%$'\n'*}"
      if [ "$boot" = "${stamp% *}" ] && [ -n "${start:-}" ] && [ "${stamp##* }" -lt "$start" ] 2>/dev/null; then exit 0; fi
    fi
    if ! keep chart "$stamp"$'\n'"$chart"; then
      say "the chart cannot be kept in $state"
      exit 1
    fi
    ;;
  -play) state_folder; play 0 ;;
  -measure*)
    m="${1#-measure}"
    m="${m#=}"
    [ -n "$m" ] || m="${2:-0}"
    case "$m" in '' | *[!0-9]*) say "not a measure: $m"; exit 2 ;; esac
    state_folder
    play "$m"
    ;;
  -stop)
    state_folder
    lock
    stop_player
    ;;
  *)
    echo "usage: nxview.sh -load <chart> | -play | -measure<N> | -stop" >&2
    exit 2
    ;;
esac
exit 0
