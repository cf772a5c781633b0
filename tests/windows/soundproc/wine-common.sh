# Shared by the sound processor's Wine scripts: environment, pass/fail
# counting and one Wine program run with its output through a file (Wine's
# helper processes inherit pipes and would keep a caller waiting).
: "${ORVES_SOURCE_DIR:?}" "${ORVES_BIN_DIR:?}" "${ORVES_BUILD_DIR:?}"
export ORVES_WIN_BUILD="$ORVES_BUILD_DIR"
source "$ORVES_SOURCE_DIR/scripts/wine-env.sh"
trap orves_wine_end EXIT
orves_wine_begin || exit 1

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
finish() {
  [ $failures -eq 0 ] && echo "all checks passed" || echo "$failures check(s) failed" >&2
  exit $((failures > 0))
}

wrun() {
  local log rc
  log=$(mktemp)
  timeout -k 5 120 wine "$@" >"$log" 2>/dev/null </dev/null
  rc=$?
  tr -d '\r' <"$log"
  rm -f "$log"
  return $rc
}

media="$ORVES_BUILD_DIR/media"
"$ORVES_SOURCE_DIR/scripts/make-media.sh" "$media" || { echo "cannot make test media" >&2; exit 1; }
