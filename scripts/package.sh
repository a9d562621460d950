#!/usr/bin/env bash
# Builds the Debian package from the default build:
#   build/default/package/lmkinterface_<version>_<arch>.deb
# Its dependencies come from the binaries (dpkg-shlibdeps). Install it with
#   apt-get install ./build/default/package/lmkinterface_*.deb
#
# Usage: scripts/package.sh [--check]
#   --check  then install the package with apt-get, check the installed
#            files and programs (scripts/check-install.sh /usr) and remove it
#            again (purged, so that dpkg keeps no trace of it); refused while
#            a package lmkinterface is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
CHECK=0
case "${1:-}" in
  --check) CHECK=1 ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
scripts/build.sh default
rm -rf build/default/package
(cd build/default && cpack -G DEB >/dev/null)
DEB="$(ls build/default/package/lmkinterface_*.deb)"
echo "package: $DEB"
dpkg-deb --field "$DEB" Depends

[ "$CHECK" = 1 ] || exit 0
if dpkg-query -W -f='${Status}' lmkinterface 2>/dev/null | grep -q "install ok installed"; then
  echo "package.sh: lmkinterface is installed already; not checking over it" >&2
  exit 1
fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
remove() {
  # purge: a package with maintainer scripts stays listed after a plain remove
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get purge -y -qq lmkinterface >/dev/null || true
}
trap remove EXIT
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "./$DEB" >/dev/null
for program in lmkinterface lmkctl lmk-sim; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || {
    echo "package.sh: $program is not /usr/bin/$program on the PATH" >&2
    exit 1
  }
done
bash scripts/check-install.sh /usr
remove
trap - EXIT
if dpkg-query -W lmkinterface >/dev/null 2>&1; then
  echo "package.sh: lmkinterface is still known to dpkg after removing it" >&2
  exit 1
fi
echo "package.sh: installed, checked and removed again"
