#!/bin/sh
# Installs every Debian package the project needs to build, test, benchmark and audit its output.
# Run as root on Debian 12. Safe to run again.
set -eu
export DEBIAN_FRONTEND=noninteractive
packages="
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  libpolyclipping-dev libtbb-dev libcli11-dev libcairo2-dev libreadline-dev libfmt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-ezdxf python3-shapely
"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
fi
