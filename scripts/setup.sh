#!/bin/sh
# Installs the Debian packages the build and the tests need, and only when one
# is missing (apt-get runs only then). Run as root on Debian 12.
set -eu

# The server tests run on a private MariaDB server and on the embedded
# Firebird engine; none of these packages starts a service.
PACKAGES="g++ cmake make pkg-config libgtest-dev libgmock-dev libsqlite3-dev nlohmann-json3-dev
  mariadb-server libmariadb-dev
  firebird3.0-server-core libfbclient2 firebird-dev firebird3.0-utils"
# Qt 6 for the component library VexarRT: Widgets and Test, the translation tools, and the
# OpenGL development files without which the Qt 6 CMake packages fail to configure.
PACKAGES="$PACKAGES qt6-base-dev qt6-tools-dev qt6-l10n-tools libqt6opengl6-dev libgl-dev"
# clang-14 and its runtime build and run the fuzz targets (fuzz/run.sh).
PACKAGES="$PACKAGES clang-14 libclang-rt-14-dev"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
