#!/bin/sh
# vornprog.exe, cross-built for Windows, run under wine against the Linux
# simulated radio: wine maps COM5 to the simulator's pseudo-terminal, and
# each check compares what the Windows tool does with what the Linux
# vornprog does on a radio in the same state: the mem-file, the frames on
# the wire, the messages and the exit statuses.
#
#   wine_tests.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR
#
# The wine prefix is made afresh in a temporary folder and removed after.
set -eu

LINUX_BUILD=$(cd "$1" && pwd)
WINDOWS_BUILD=$(cd "$2" && pwd)
VORNPROG="$LINUX_BUILD/cli/vornprog"
SIMULATOR="$LINUX_BUILD/sim/vorn-radio-sim"
EXE="$WINDOWS_BUILD/cli/vornprog.exe"
for f in "$VORNPROG" "$SIMULATOR" "$EXE"; do
  [ -f "$f" ] || { echo "wine tests: $f is not built" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vorn-wine.XXXXXX")
. "$(dirname "$0")/wine_radio.sh"

cleanup() {
  stop_radio
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok - $1"; }
fail() { failed=$((failed + 1)); echo "not ok - $1"; shift; for line in "$@"; do echo "    $line"; done; }

# Runs a program in $WORK/run with standard output and error captured
# (carriage returns dropped: the Windows C library ends lines with CR LF).
# Sets STATUS.
run() {  # label program args...
  label=$1; shift
  STATUS=0
  (cd "$WORK/run" && "$@") >"$WORK/$label.out" 2>"$WORK/$label.err" || STATUS=$?
  tr -d '\r' <"$WORK/$label.out" >"$WORK/$label.out.txt"
  tr -d '\r' <"$WORK/$label.err" >"$WORK/$label.err.txt"
}

# A trace as the sequence of frames: time stamps and the run's header
# dropped, each request on its own line, and the received bytes between
# two requests joined (how a reply is cut into reads is the system's).
frames() {
  sed -e '/^------/d' -e 's/^\[[^]]*\] //' "$1" | awk '
    /^Rx\[/ { sub(/^Rx\[[^]]*\] */, ""); rx = rx $0; next }
    { if (rx != "") print "Rx " rx; rx = ""
      if ($0 ~ /^Tx\[/) sub(/^Tx\[[^]]*\] */, "Tx ")
      print }
    END { if (rx != "") print "Rx " rx }'
}

same_run() {  # name label-a label-b: same status, same messages
  if [ "$(eval echo \$STATUS_$2)" = "$(eval echo \$STATUS_$3)" ] &&
     cmp -s "$WORK/$2.out.txt" "$WORK/$3.out.txt" && cmp -s "$WORK/$2.err.txt" "$WORK/$3.err.txt"; then
    pass "$1"
  else
    fail "$1" "wine: status $(eval echo \$STATUS_$2), linux: status $(eval echo \$STATUS_$3)" \
      "$(diff "$WORK/$2.err.txt" "$WORK/$3.err.txt" | head -5 | tr '\n' '|')" \
      "$(diff "$WORK/$2.out.txt" "$WORK/$3.out.txt" | head -5 | tr '\n' '|')"
  fi
}

mkdir -p "$WORK/run/a-folder"
echo "wine tests: preparing a wine prefix"
prepare_prefix

# --version: the same program, the same model; only the build time differs.
run version_wine wine "$EXE" --version; STATUS_version_wine=$STATUS
run version_linux "$VORNPROG" --version; STATUS_version_linux=$STATUS
if [ "$STATUS_version_wine" = 0 ] &&
   [ "$(sed -e 's/, .*//' "$WORK/version_wine.out.txt")" = "$(sed -e 's/, .*//' "$WORK/version_linux.out.txt")" ]; then
  pass "vornprog.exe --version"
else
  fail "vornprog.exe --version" "status $STATUS_version_wine: $(tr '\n' '|' <"$WORK/version_wine.out.txt")"
fi

# The port list comes from the system's COM ports: COM5 is there.
start_radio
run ports_wine wine "$EXE" ports
if [ "$STATUS" = 0 ] && grep -q '^COM5 ' "$WORK/ports_wine.out.txt"; then
  pass "ports lists the COM port wine maps to the radio"
else
  fail "ports lists the COM port wine maps to the radio" "status $STATUS: $(tr '\n' '|' <"$WORK/ports_wine.out.txt")"
fi

# read: the same image and the same frames as the Linux tool's read.
run read_wine wine "$EXE" --trace wine-read.trace read --port COM5 --output wine.mem
STATUS_read_wine=$STATUS
run read_linux "$VORNPROG" --trace linux-read.trace read --port "$RADIO_DEVICE" --output linux.mem
STATUS_read_linux=$STATUS
if [ "$STATUS_read_wine" = 0 ] && [ "$STATUS_read_linux" = 0 ] && [ -s "$WORK/run/wine.mem" ] &&
   cmp -s "$WORK/run/wine.mem" "$WORK/run/linux.mem"; then
  pass "read gives the Linux read's image"
else
  fail "read gives the Linux read's image" "wine status $STATUS_read_wine: $(tr '\n' '|' <"$WORK/read_wine.err.txt")"
fi
frames "$WORK/run/wine-read.trace" >"$WORK/wine-read.frames"
frames "$WORK/run/linux-read.trace" >"$WORK/linux-read.frames"
if [ -s "$WORK/wine-read.frames" ] && cmp -s "$WORK/wine-read.frames" "$WORK/linux-read.frames"; then
  pass "read sends and receives the Linux read's frames"
else
  fail "read sends and receives the Linux read's frames" \
    "$(diff "$WORK/wine-read.frames" "$WORK/linux-read.frames" | head -6 | tr '\n' '|')"
fi
if ls "$WINEPREFIX"/drive_c/users/*/AppData/Local/Vorn/*/reads/*.mem >/dev/null 2>&1; then
  pass "the read is archived under LOCALAPPDATA"
else
  fail "the read is archived under LOCALAPPDATA" "$(tr '\n' '|' <"$WORK/read_wine.err.txt")"
fi

# write: a changed image (RF Power Hi, 0x012, from 200 to 190) into a
# fresh radio; the radio then holds it, and the frames are the Linux
# tool's for the same write into a radio in the same state.
cp "$WORK/run/linux.mem" "$WORK/run/changed.mem"
printf '\276' | dd of="$WORK/run/changed.mem" bs=1 seek=18 conv=notrunc 2>/dev/null
start_radio
run write_wine wine "$EXE" --trace wine-write.trace write --port COM5 --yes --verify changed.mem
STATUS_write_wine=$STATUS
run readback_linux "$VORNPROG" read --port "$RADIO_DEVICE" --output written-by-wine.mem
if [ "$STATUS_write_wine" = 0 ] && cmp -s "$WORK/run/written-by-wine.mem" "$WORK/run/changed.mem"; then
  pass "write puts the mem-file into the radio"
else
  fail "write puts the mem-file into the radio" "wine status $STATUS_write_wine: $(tr '\n' '|' <"$WORK/write_wine.err.txt")"
fi
start_radio
run write_linux "$VORNPROG" --trace linux-write.trace write --port "$RADIO_DEVICE" --yes --verify changed.mem
frames "$WORK/run/wine-write.trace" >"$WORK/wine-write.frames"
frames "$WORK/run/linux-write.trace" >"$WORK/linux-write.frames"
if [ -s "$WORK/wine-write.frames" ] && cmp -s "$WORK/wine-write.frames" "$WORK/linux-write.frames"; then
  pass "write sends and receives the Linux write's frames"
else
  fail "write sends and receives the Linux write's frames" \
    "$(diff "$WORK/wine-write.frames" "$WORK/linux-write.frames" | head -6 | tr '\n' '|')"
fi
stop_radio

# Errors: the same words and the same exit statuses as on Linux.
check_same() {  # name args...
  name=$1; shift
  run err_wine wine "$EXE" "$@"; STATUS_err_wine=$STATUS
  run err_linux "$VORNPROG" "$@"; STATUS_err_linux=$STATUS
  same_run "$name" err_wine err_linux
}
check_same "a missing file: same message and status" dump missing.mem
check_same "a folder for a file: same message and status" dump a-folder
check_same "an output with no folder: same message and status" read --port COM5 --output no-folder/x.mem
check_same "an unknown command: same message and status" frobnicate
check_same "a bad port: same message and status" read --port COM999 --output x.mem
check_same "a missing argument: same message and status" dump

# A device named as a file is refused before anything waits on it: the
# Windows twin of Linux's /dev/null and a serial node.
check_refused() {  # name expected-message args...
  name=$1; expected=$2; shift 2
  run refused_wine timeout 60 wine "$EXE" "$@"
  if [ "$STATUS" = 1 ] && grep -qF "$expected" "$WORK/refused_wine.err.txt"; then
    pass "$name"
  else
    fail "$name" "status $STATUS: $(tr '\n' '|' <"$WORK/refused_wine.err.txt")"
  fi
}
check_refused "NUL as a mem-file is refused as a device" \
  "Unable to open file NUL: it is a character device, not a regular file" dump NUL
check_refused "a COM port as a mem-file is refused" \
  "Unable to open file COM5: it is a character device, not a regular file" dump COM5
check_refused "a COM port as the output is refused" \
  "Unable to write file COM5: it is a character device, not a regular file" read --port COM5 --output COM5

echo "wine tests: $passed passed, $failed failed"
[ "$failed" = 0 ]
