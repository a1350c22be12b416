# Small assertions for the install tests; each failure is counted and named.
failures=0

check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}

quietly() { "$@" >/dev/null; }

# The line KEY=value of a desktop file.
desktop_value() { sed -n "s/^$2=//p" "$1"; }

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
}
