#!/bin/sh
# Installs what the build and the tests need on Debian 12. Safe to run
# again: packages already installed are skipped. qt6-charts-dev needs
# libqt6opengl6-dev for its CMake package but does not depend on it.
# vornprog.exe is cross-built with the posix-thread mingw-w64 compiler and
# tested under 64-bit wine.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config
libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev
qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
xvfb xauth xdg-utils fonts-dejavu-core
poppler-utils help2man dpkg-dev file lintian desktop-file-utils appstream
shared-mime-info man-db binutils libyaml-cpp-dev
g++-mingw-w64-x86-64-posix wine wine64"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing$missing"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
# shellcheck disable=SC2086
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
