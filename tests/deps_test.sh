#!/usr/bin/env bash
# scripts/deps installs what is missing though the package lists fail to
# update (a mirror caught mid-sync), and fails only when the install fails,
# with apt's last words. apt-get, dpkg-query, sudo and sleep are stand-ins
# on PATH that log their calls.
#   deps_test.sh SCRIPTS_DEPS
set -u
deps=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
cat >"$fake/apt-get" <<'SH'
#!/usr/bin/env bash
echo "apt-get $*" >>"$FAKE/log"
case "$1" in
  update) echo "E: Failed to fetch ... File has unexpected size (374820 != 376004)" >&2; exit 100 ;;
  *) [ -n "${FAIL_INSTALL:-}" ] && { echo "E: Unable to locate package cmake"; exit 100; }; exit 0 ;;
esac
SH
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"      # nothing is installed
printf '#!/bin/sh\n"$@"\n' >"$fake/sudo"
printf '#!/bin/sh\necho "sleep $*" >>"$FAKE/log"\n' >"$fake/sleep"
chmod +x "$fake"/*
export FAKE=$fake PATH="$fake:$PATH"

fail() { echo "deps_test: $*"; cat "$fake/log" 2>/dev/null; exit 1; }
bash "$deps" build >"$fake/out" 2>&1 || fail "an update that fails stopped the install: $(cat "$fake/out")"
[ "$(grep -c '^apt-get update' "$fake/log")" -eq 2 ] || fail "the update was not tried twice"
grep -q '^apt-get install' "$fake/log" || fail "nothing was installed"
rm "$fake/log"
if FAIL_INSTALL=1 bash "$deps" build >"$fake/out" 2>&1; then fail "a failed install succeeded"; fi
grep -q 'Unable to locate package cmake' "$fake/out" || fail "apt's words are not said: $(cat "$fake/out")"
echo "deps: installs through a failed update, and fails with apt's words"
