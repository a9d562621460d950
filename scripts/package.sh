#!/usr/bin/env bash
# Builds the Debian packages from the default build, one source, three
# binary packages in build/default/package/:
#   lmkinterface_<version>_<arch>.deb  the window (recommends lmkctl)
#   lmkctl_<version>_<arch>.deb        the command line (no Qt Widgets or Multimedia)
#   lmk-sim_<version>_<arch>.deb       the simulator and its USB library
# Their dependencies come from the binaries (dpkg-shlibdeps). Every package
# is checked with lintian; any error or warning fails. Install them with
#   apt-get install ./build/default/package/*.deb
#
# Usage: scripts/package.sh [--check]
#   --check  then install the packages with apt-get, check the installed
#            files and programs (scripts/check-install.sh /usr) and remove
#            them again (purged, so that dpkg keeps no trace of them);
#            refused while one of them is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
CHECK=0
case "${1:-}" in
  --check) CHECK=1 ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--check]" >&2; exit 2 ;;
esac
PACKAGES=(lmkinterface lmkctl lmk-sim)
fail() { echo "package.sh: $*" >&2; exit 1; }

scripts/install-deps.sh
scripts/build.sh default
rm -rf build/default/package
(cd build/default && cpack -G DEB >/dev/null)
DEBS=()
for p in "${PACKAGES[@]}"; do
  deb="$(ls build/default/package/${p}_*.deb 2>/dev/null || true)"
  [ -n "$deb" ] || fail "no package $p was built"
  DEBS+=("$deb")
  echo "package: $deb"
  echo "  Depends: $(dpkg-deb --field "$deb" Depends)"
done
# The command line must run on a machine without a desktop.
cli_depends="$(dpkg-deb --field build/default/package/lmkctl_*.deb Depends)"
if grep -Eq 'libqt6(widgets|multimedia)' <<<"$cli_depends"; then
  fail "lmkctl depends on Qt Widgets or Multimedia: $cli_depends"
fi
dpkg-deb --field build/default/package/lmkinterface_*.deb Recommends | grep -qw lmkctl ||
  fail "lmkinterface does not recommend lmkctl"

# lintian, quietly: only what it finds (errors, warnings and informational
# tags are printed; errors and warnings fail).
if command -v lintian >/dev/null; then
  report="$(lintian --no-tag-display-limit --info "${DEBS[@]}" 2>&1 || true)"
  [ -z "$report" ] && echo "lintian: no tags" || echo "$report"
  if grep -Eq '^[EW]: ' <<<"$report"; then
    fail "lintian reports errors or warnings"
  fi
else
  fail "lintian is missing (scripts/install-deps.sh installs it)"
fi

[ "$CHECK" = 1 ] || exit 0
for p in "${PACKAGES[@]}"; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    fail "$p is installed already; not checking over it"
  fi
done
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
remove() {
  # purge: a package with maintainer scripts stays listed after a plain remove
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get purge -y -qq "${PACKAGES[@]}" >/dev/null 2>&1 || true
}
trap remove EXIT
installs=()
for deb in "${DEBS[@]}"; do installs+=("./$deb"); done
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${installs[@]}" >/dev/null
for program in lmkinterface lmkctl lmk-sim; do
  [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not /usr/bin/$program on the PATH"
done
bash scripts/check-install.sh /usr
remove
trap - EXIT
for p in "${PACKAGES[@]}"; do
  if dpkg-query -W "$p" >/dev/null 2>&1; then
    fail "$p is still known to dpkg after removing it"
  fi
done
echo "package.sh: installed, checked and removed again"
