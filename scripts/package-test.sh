#!/bin/sh
# Packages an already built tree as a .deb and checks the package the way
# a workshop PC gets it: lintian finds no errors, the dependencies were
# worked out from the binaries, the files are the expected ones, the
# desktop entry, the mem-file type and the AppStream metadata validate, the
# programs carry the distribution's hardening, each unpacked program
# answers --help and --version, the manual pages have their sections, and
# the unpacked vornprog reads a simulated radio served by the unpacked
# vorn-radio-sim.
#   scripts/package-test.sh [BUILD_DIR]   (default: build; built with the GUI)
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${1:-build}
case $BUILD in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vorn-package.XXXXXX")
. "$ROOT/scripts/simradio.sh"
trap 'stop_simulator; rm -rf "$WORK"' EXIT
trap 'exit 130' INT TERM

fail() {
  echo "package-test: FAILED: $*" >&2
  exit 1
}
step() { echo "package-test: $*"; }

step "building the package from $BUILD"
if ! cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1; then
  cat "$WORK/cpack.log" >&2
  fail "cpack could not build the package"
fi
set -- "$WORK"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one .deb in $WORK/out, found: $*"
DEB=$1
step "$(basename "$DEB")"

step "lintian"
# Informational tags shown too, for the hardening ones among them.
lintian --fail-on error --display-info "$DEB" >"$WORK/lintian.log" 2>&1 ||
  { cat "$WORK/lintian.log" >&2; fail "lintian reports errors"; }
cat "$WORK/lintian.log"
if grep -q "hardening-" "$WORK/lintian.log"; then
  fail "lintian finds binaries built without the hardening flags"
fi

step "dependencies from the binaries"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6widgets6; do
  echo "$DEPENDS" | grep -q "\\b$lib\\b" || fail "Depends lacks $lib: $DEPENDS"
done
if apt-cache policy libqt6widgets6 2>/dev/null | grep -q 'Candidate: [0-9]'; then
  # Whether apt could install it here, without installing it.
  apt-get install --simulate -q "$DEB" >"$WORK/apt.log" 2>&1 ||
    { cat "$WORK/apt.log" >&2; fail "apt cannot install the package"; }
fi

step "file list"
ID=example.vornradio.KestalProgrammer
{
  for program in kestal-programmer vorn-radio-sim vornprog; do
    echo "/usr/bin/$program"
    echo "/usr/share/man/man1/$program.1.gz"
  done
  echo "/usr/share/applications/$ID.desktop"
  echo "/usr/share/metainfo/$ID.metainfo.xml"
  echo "/usr/share/mime/packages/$ID.xml"
  echo "/usr/share/doc/kestal-programmer/changelog.gz"
  echo "/usr/share/doc/kestal-programmer/copyright"
  echo "/usr/share/icons/hicolor/scalable/apps/$ID.svg"
  for size in 16 22 24 32 48 64 128 256; do
    echo "/usr/share/icons/hicolor/${size}x$size/apps/$ID.png"
  done
} | sort >"$WORK/expected"
dpkg-deb -x "$DEB" "$WORK/root"
R=$WORK/root
(cd "$R" && find . ! -type d | sed 's|^\.||' | sort) >"$WORK/actual"
diff -u "$WORK/expected" "$WORK/actual" || fail "the package's files differ from the list"
for size in 16 48 256; do
  file "$R/usr/share/icons/hicolor/${size}x$size/apps/$ID.png" | grep -q "PNG image data, $size x $size" ||
    fail "the ${size}x$size icon is not a $size-pixel PNG"
done

step "desktop entry and AppStream metadata"
desktop-file-validate "$R/usr/share/applications/$ID.desktop" || fail "desktop-file-validate"
grep -qx "Exec=kestal-programmer %f" "$R/usr/share/applications/$ID.desktop" ||
  fail "the desktop entry does not start kestal-programmer with the file"
grep -qx "MimeType=application/x-vorn-mem;" "$R/usr/share/applications/$ID.desktop" ||
  fail "the desktop entry does not open mem-files"
grep -qx "Icon=$ID" "$R/usr/share/applications/$ID.desktop" || fail "the desktop entry's icon"
# The package's section is hamradio; the menus file it there too.
grep -q "^Categories=.*\bHamRadio;" "$R/usr/share/applications/$ID.desktop" ||
  fail "the desktop entry is not in the HamRadio category"
# Every desktop file the package holds, not just the one named above.
for entry in "$R"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "desktop-file-validate $(basename "$entry")"
done
appstreamcli validate --no-net "$R/usr/share/metainfo/$ID.metainfo.xml" ||
  fail "appstreamcli validate"

step "the mem-file type"
mkdir -p "$WORK/mime/packages"
cp "$R/usr/share/mime/packages/$ID.xml" "$WORK/mime/packages/"
# It notes that the folder is not one the desktop searches: that is the point.
update-mime-database "$WORK/mime" >"$WORK/mime.log" 2>&1 ||
  { cat "$WORK/mime.log" >&2; fail "update-mime-database"; }
# Weakly: another program's .mem type comes first, the product ID word
# tells a mem-file by its content.
grep -qx "10:application/x-vorn-mem:\*\.mem" "$WORK/mime/globs2" ||
  fail "the mem-file type does not claim *.mem with a low weight"
[ -s "$WORK/mime/magic" ] && grep -q "application/x-vorn-mem" "$WORK/mime/magic" ||
  fail "the mem-file type has no content check"

step "hardening of the unpacked programs"
for program in kestal-programmer vorn-radio-sim vornprog; do
  binary=$R/usr/bin/$program
  readelf -lW "$binary" | grep -q "GNU_RELRO" || fail "$program: no RELRO"
  readelf -dW "$binary" | grep -Eq "BIND_NOW|FLAGS.*NOW" || fail "$program: no BIND_NOW"
  readelf -sW --dyn-syms "$binary" | grep -q "__stack_chk_fail" ||
    fail "$program: no stack protector"
  readelf -sW --dyn-syms "$binary" | grep -Eq "__[a-z]+_chk@" || fail "$program: not fortified"
  if command -v hardening-check >/dev/null 2>&1; then
    hardening-check "$binary" || fail "hardening-check $program"
  fi
done

step "--version of the unpacked programs"
for program in kestal-programmer vorn-radio-sim vornprog; do
  # The programmer answers without a display too.
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$R/usr/bin/$program" --version \
    >"$WORK/version" || fail "$program --version"
  head -n 1 "$WORK/version" | grep -qx "$program [0-9][0-9.]*[a-z]*\( (Engineering)\)\?" ||
    fail "$program --version: $(head -n 1 "$WORK/version")"
  grep -q "^Build model: " "$WORK/version" || fail "$program --version names no build model"
done

step "--help of the unpacked programs"
"$R/usr/bin/vornprog" --help >"$WORK/help" || fail "vornprog --help"
grep -q "^Usage: vornprog COMMAND" "$WORK/help" || fail "vornprog --help: no usage line"
grep -q "(v[0-9.]*[a-z]* )" "$WORK/help" && fail "vornprog --help: a blank inside the version"
"$R/usr/bin/vorn-radio-sim" --help >"$WORK/help" || fail "vorn-radio-sim --help"
grep -q "^Usage: vorn-radio-sim" "$WORK/help" || fail "vorn-radio-sim --help: no usage line"
QT_QPA_PLATFORM=offscreen "$R/usr/bin/kestal-programmer" --help >"$WORK/help" ||
  fail "kestal-programmer --help"
for line in "^Usage: kestal-programmer" "--simulate" "--trace FILE" "--version" "-h, --help" \
    "defkestal.mem" "FILE.mem"; do
  grep -q -e "$line" "$WORK/help" || fail "kestal-programmer --help lacks $line"
done

step "manual pages"
for program in kestal-programmer vorn-radio-sim vornprog; do
  page=$R/usr/share/man/man1/$program.1.gz
  upper=$(echo "$program" | tr '[:lower:]' '[:upper:]')
  gzip -dc "$page" | grep -q "^\\.TH $upper " || fail "$program.1: no title line"
  gzip -dc "$page" | grep -q "^\\.SH SYNOPSIS" || fail "$program.1: no synopsis"
done
gzip -dc "$R/usr/share/man/man1/kestal-programmer.1.gz" | grep -q -e '\\-\\-simulate' ||
  fail "kestal-programmer.1 does not list --simulate"
for program in kestal-programmer vorn-radio-sim vornprog; do
  gzip -dc "$R/usr/share/man/man1/$program.1.gz" >"$WORK/page"
  for section in "EXIT STATUS" FILES "SEE ALSO"; do
    grep -q "^\.SH \"\?$section\"\?\$" "$WORK/page" || fail "$program.1 has no $section"
  done
  man -l "$WORK/page" >/dev/null 2>"$WORK/man.err" </dev/null || true
  [ ! -s "$WORK/man.err" ] || { cat "$WORK/man.err" >&2; fail "$program.1 does not format cleanly"; }
done
gzip -dc "$R/usr/share/man/man1/vornprog.1.gz" >"$WORK/page"
grep -q '^\.SH ENVIRONMENT' "$WORK/page" || fail "vornprog.1 has no ENVIRONMENT"
grep -q 'XDG_DATA_HOME' "$WORK/page" || fail "vornprog.1 does not name XDG_DATA_HOME"
# Every command the tool lists is documented with its options.
"$R/usr/bin/vornprog" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' |
  while read -r command; do
    grep -q "^\.SS $command\$" "$WORK/page" || fail "vornprog.1 does not document $command"
    grep -q "Usage: vornprog $command" "$WORK/page" || fail "vornprog.1: no usage of $command"
  done

step "reading a simulated radio with the unpacked vornprog"
start_simulator "$WORK" "$R/usr/bin/vorn-radio-sim" || fail "the unpacked vorn-radio-sim did not start"
"$R/usr/bin/vornprog" read --port "$DEVICE" -o "$WORK/radio.mem" || fail "vornprog read"
stop_simulator
[ "$(wc -c <"$WORK/radio.mem")" -eq 2048 ] || fail "the mem-file read is not 2048 bytes"
"$R/usr/bin/vornprog" dump "$WORK/radio.mem" >"$WORK/dump" || fail "vornprog dump"
grep -q "Product ID" "$WORK/dump" || fail "the dump does not show the Product ID"

step "passed"
