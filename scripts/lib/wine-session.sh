# shellcheck shell=bash
# Shared by scripts/wine-run and scripts/test (sourced, not executed).
#
# A "session" is what a Windows test run needs around a private Wine prefix:
# an X display (a private Xvfb when DISPLAY is unset) and a persistent
# wineserver (`wineserver -p`) whose helper processes (services.exe,
# explorer.exe, ...) were started with /dev/null as stdio, so that they never
# hold a test's output pipe open.
#
# Sessions are reference counted with flock(1): every user holds a shared
# lock on <state>/users for as long as it runs. The first user sets the
# session up, the last one tears it down (wineserver -k, Xvfb stopped).
# scripts/test holds the session for the whole run, so every wine-run inside
# it only joins (a few flock calls) and Wine starts a program in ~0.15 s
# instead of ~2 s with a cold wineserver.
# A wine-run used on its own (e.g. plain `ctest` in build/windows) is both
# first and last user, so it starts and stops everything itself; parallel
# ones share a single session.
#
# Locks live in <prefix>-session/ next to the prefix:
#   prefix.lock  serialises creating the prefix
#   mutex        serialises session set-up and tear-down
#   users        the reference count (shared flocks)
#   display      the DISPLAY of the session ("" = none), xvfb.pid, *.log

# Process starts are not free (wine-run runs once per test program), so path
# handling below sticks to parameter expansion.
lumaro_abspath() {
  case $1 in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s\n' "$PWD/${1#./}" ;;
  esac
}
LUMARO_LIB_DIR=$(lumaro_abspath "${BASH_SOURCE[0]}")
LUMARO_LIB_DIR=${LUMARO_LIB_DIR%/*}
LUMARO_ROOT=${LUMARO_LIB_DIR%/scripts/lib}

# Child processes that outlive us (Xvfb, wineserver, Wine's helpers) must
# not inherit the lock descriptors, or they would keep the locks held.
LUMARO_USERS_FD=
LUMARO_SESSION_DIR=

# Errors are reported and returned (status 1), never exit: the caller decides.
lumaro_error() {
  echo "wine-run: $*" >&2
  return 1
}

# The prefix for a program: $LUMARO_WINEPREFIX, else <build tree>/wineprefix
# where the build tree is the nearest parent folder of the program holding a
# CMakeCache.txt, else build/windows/wineprefix in this checkout.
lumaro_prefix_for() {
  local dir
  if [[ -n ${LUMARO_WINEPREFIX:-} ]]; then
    printf '%s\n' "$LUMARO_WINEPREFIX"
    return
  fi
  dir=$(lumaro_abspath "$1")
  dir=${dir%/*}
  while [[ -n $dir ]]; do
    if [[ -f $dir/CMakeCache.txt ]]; then
      printf '%s\n' "$dir/wineprefix"
      return
    fi
    dir=${dir%/*}
  done
  printf '%s\n' "$LUMARO_ROOT/build/windows/wineprefix"
}

# Environment for every Wine command. WINEPREFIX is always ours, never ~/.wine.
# No Mono/Gecko install prompts, no menu entries written into $HOME.
lumaro_wine_env() {
  export WINEPREFIX=$1
  export WINEDEBUG=${LUMARO_WINEDEBUG:--all}
  export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
  export WINEARCH=win64
}

lumaro_have_wine() {
  command -v wine >/dev/null && command -v wineserver >/dev/null \
    || lumaro_error "wine is not installed: run scripts/setup"
}

# Registry settings of a new prefix:
# - fonts the UI asks for map to WenQuanYi Micro Hei (fonts-wqy-microhei);
#   Consolas goes to its monospaced face so that code stays aligned;
#   Tahoma (the face of message boxes and common dialogs) has no CJK glyphs;
# - an unhandled exception ends the program (exit status != 0) with one line
#   on stderr instead of a winedbg dump on stdout or a crash dialog that
#   would wait for a click under Xvfb;
# - with LUMARO_WINE_DPI (a number, e.g. 144) at creation, the system DPI:
#   Wine 8 reads "LogPixels" under HKCU\Control Panel\Desktop once per
#   process start. A prefix keeps the DPI it was made with, so a run at
#   another DPI needs a prefix of its own (LUMARO_WINEPREFIX).
lumaro_prefix_reg() {
  cat <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft YaHei UI"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"Consolas"="WenQuanYi Micro Hei Mono"
"Tahoma"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"Auto"="1"
EOF
  if [[ ${LUMARO_WINE_DPI:-} =~ ^[0-9]+$ ]]; then
    printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$LUMARO_WINE_DPI"
  fi
}

# Creates the prefix once (race-safe); a prefix without the .lumaro-ready
# stamp is an interrupted creation and is made again.
lumaro_ensure_prefix() {
  local prefix=$1 state=$1-session fd log fam
  [[ -f $prefix/.lumaro-ready ]] && return 0
  mkdir -p "$state" || lumaro_error "cannot create $state" || return
  exec {fd}>"$state/prefix.lock"
  flock "$fd"
  if [[ ! -f $prefix/.lumaro-ready ]]; then
    log=$state/prefix-create.log
    echo "wine-run: creating Wine prefix $prefix (once, ~20 s)" >&2
    for fam in 'WenQuanYi Micro Hei' 'WenQuanYi Micro Hei Mono'; do
      fc-list : family 2>/dev/null | tr ',' '\n' | grep -qxF "$fam" \
        || echo "wine-run: font family '$fam' not found (fonts-wqy-microhei missing? run scripts/setup)" >&2
    done
    (
      lumaro_wine_env "$prefix"
      wineserver -k >/dev/null 2>&1
      rm -rf "$prefix"
      mkdir -p "$prefix"
      lumaro_prefix_reg >"$state/lumaro.reg"
      {
        wineboot -i &&
          wine regedit /S "$state/lumaro.reg" &&
          wine winecfg -v win10 &&
          wineserver -w
      } </dev/null >"$log" 2>&1 {fd}>&-
    ) || {
      exec {fd}>&-
      lumaro_error "creating the Wine prefix failed, see $log"
      return
    }
    touch "$prefix/.lumaro-ready"
  fi
  exec {fd}>&-
}

# Starts a private Xvfb; prints the display number.
lumaro_start_xvfb() {
  local state=$1 i pid
  command -v Xvfb >/dev/null || lumaro_error "Xvfb is not installed: run scripts/setup" || return
  rm -f "$state/xvfb.displayfd"
  setsid Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset \
    3>"$state/xvfb.displayfd" </dev/null >"$state/xvfb.log" 2>&1 &
  pid=$!
  for ((i = 0; i < 200; i++)); do
    if [[ -s $state/xvfb.displayfd ]]; then
      echo "$pid" >"$state/xvfb.pid"
      head -n1 "$state/xvfb.displayfd"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill "$pid" 2>/dev/null
  lumaro_error "Xvfb did not start, see $state/xvfb.log"
}

lumaro_stop_session_processes() {
  local state=$1 pid
  wineserver -k >/dev/null 2>&1
  if [[ -f $state/xvfb.pid ]]; then
    pid=$(<"$state/xvfb.pid")
    if [[ $pid =~ ^[0-9]+$ && $(cat "/proc/$pid/comm" 2>/dev/null) == Xvfb ]]; then
      kill "$pid" 2>/dev/null
    fi
  fi
  rm -f "$state/xvfb.pid" "$state/xvfb.displayfd" "$state/display"
}

# Joins (or sets up) the session of a prefix. Exports WINEPREFIX & co. and,
# when it was unset, DISPLAY. Call lumaro_session_release at the end.
# Returns non-zero (after a message) when Wine, the prefix or Xvfb fail.
lumaro_session_acquire() {
  local prefix=$1 state=$1-session mutex display
  lumaro_have_wine || return
  lumaro_ensure_prefix "$prefix" || return
  lumaro_wine_env "$prefix"
  LUMARO_SESSION_DIR=$state
  exec {mutex}>"$state/mutex"
  flock "$mutex"
  exec {LUMARO_USERS_FD}>>"$state/users"
  if flock -n -x "$LUMARO_USERS_FD"; then
    # Nobody else is in a session: start one (after clearing what a killed
    # earlier one may have left behind).
    lumaro_stop_session_processes "$state" {mutex}>&- {LUMARO_USERS_FD}>&-
    if [[ -z ${DISPLAY:-} ]]; then
      display=:$(lumaro_start_xvfb "$state" {mutex}>&- {LUMARO_USERS_FD}>&-) || {
        exec {LUMARO_USERS_FD}>&- {mutex}>&-
        LUMARO_USERS_FD=
        return 1
      }
      export DISPLAY=$display
    fi
    printf '%s\n' "${DISPLAY:-}" >"$state/display"
    wineserver -p </dev/null >/dev/null 2>&1 {mutex}>&- {LUMARO_USERS_FD}>&-
    # First program: starts Wine's helper processes with /dev/null stdio.
    wine cmd.exe /c exit 0 </dev/null >"$state/warmup.log" 2>&1 {mutex}>&- {LUMARO_USERS_FD}>&-
    flock -s "$LUMARO_USERS_FD"
  else
    flock -s "$LUMARO_USERS_FD"
    if [[ -z ${DISPLAY:-} && -s $state/display ]]; then
      read -r display <"$state/display"
      [[ -n $display ]] && export DISPLAY=$display
    fi
  fi
  exec {mutex}>&- # closing the only descriptor releases the lock
}

lumaro_session_release() {
  local state=$LUMARO_SESSION_DIR mutex probe
  [[ -n $LUMARO_USERS_FD && -n $state ]] || return 0
  exec {LUMARO_USERS_FD}>&- # drops our shared lock
  LUMARO_USERS_FD=
  # Cheap check first: if anyone else still holds the session we are done.
  # Only a possible last user takes the mutex and checks again.
  exec {probe}>>"$state/users"
  if ! flock -n -x "$probe"; then
    exec {probe}>&-
    return 0
  fi
  exec {probe}>&-
  exec {mutex}>"$state/mutex"
  flock "$mutex"
  exec {probe}>>"$state/users"
  if flock -n -x "$probe"; then
    lumaro_stop_session_processes "$state" {mutex}>&- {probe}>&-
  fi
  exec {probe}>&- {mutex}>&-
}

# Runs a command with the session's lock descriptor closed.
lumaro_run_unlocked() {
  if [[ -n $LUMARO_USERS_FD ]]; then
    "$@" {LUMARO_USERS_FD}>&-
  else
    "$@"
  fi
}
