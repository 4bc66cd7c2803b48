#!/usr/bin/env bash
# ensure_packages and ensure_display of scripts/lib/common.sh with stand-in commands put first
# on PATH: what they run is recorded, nothing is installed or removed.
set -u
source "$(dirname "$0")/../../scripts/lib/common.sh"
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
calls=$stubs/calls
failures=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
stub() { # stub NAME EXIT-CODE: a command that records its arguments and exits with the code
  printf '#!/bin/sh\necho "%s $*" >> "%s"\nexit %s\n' "$1" "$calls" "$2" > "$stubs/$1"
  chmod +x "$stubs/$1"
}
run_ensure() { (PATH=$stubs:$PATH VAKO_PACKAGES="$1" ensure_packages) 2>"$stubs/said"; }

# A package that is missing and an apt-get that fails: the step fails and says so.
: > "$calls"; stub apt-get 100
run_ensure "vako-no-such-package"
check "a failing apt-get fails the step" test $? -ne 0
check "the failure is reported" grep -q "apt-get update failed" "$stubs/said"

# An install that fails after a working update fails too, and nothing is ever removed.
: > "$calls"
printf '#!/bin/sh\necho "apt-get $*" >> "%s"\ncase "$*" in *update*) exit 0;; esac\nexit 100\n' "$calls" > "$stubs/apt-get"
run_ensure "vako-no-such-package"
check "a failing install fails the step" test $? -ne 0
check "the install named the missing package" grep -q "install .*vako-no-such-package" "$calls"
check "no package is removed" bash -c "! grep -E -- ' [^ ]+-( |\$)|remove|purge' '$calls'"

# Not root: sudo runs the install when there is one.
: > "$calls"; stub apt-get 0; stub sudo 0
printf '#!/bin/sh\n[ "$1" = -u ] && echo 1000 || /usr/bin/id "$@"\n' > "$stubs/id"; chmod +x "$stubs/id"
run_ensure "vako-no-such-package"
check "sudo runs apt-get for a user" grep -q "^sudo env DEBIAN_FRONTEND=noninteractive apt-get install" "$calls"
check "apt-get is not run without sudo" bash -c "! grep -q '^apt-get' '$calls'"
rm -f "$stubs/id" "$stubs/sudo"

# Nothing missing: nothing is run.
: > "$calls"; stub apt-get 100
run_ensure "bash"
check "nothing missing runs nothing" test $? -eq 0 -a ! -s "$calls"

# Two displays started at once are two displays.
if command -v Xvfb >/dev/null && command -v xdpyinfo >/dev/null; then
  (unset DISPLAY; ensure_display && echo "$DISPLAY $VAKO_XVFB_PID" > "$stubs/one") &
  (unset DISPLAY; ensure_display && echo "$DISPLAY $VAKO_XVFB_PID" > "$stubs/two") &
  wait
  read -r d1 p1 < "$stubs/one"; read -r d2 p2 < "$stubs/two"
  check "two displays started together differ" test -n "$d1" -a -n "$d2" -a "$d1" != "$d2"
  check "both answer" bash -c "DISPLAY=$d1 xdpyinfo >/dev/null && DISPLAY=$d2 xdpyinfo >/dev/null"
  kill "$p1" "$p2" 2>/dev/null
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
