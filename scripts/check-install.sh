#!/usr/bin/env bash
# Checks an installed lmkinterface: every file in its place, the desktop entry,
# the MIME types and the AppStream metadata valid, the icons of the right
# sizes, the man pages free of warnings, the shell completion loading in bash
# and zsh, and the installed programs working: lmkctl --version, and
# lmkinterface (offscreen) against the installed simulator over WLAN and the
# installed simulated USB library, on loopback only.
#
# Usage: scripts/check-install.sh PREFIX      (e.g. /usr after the package)
set -euo pipefail
PREFIX="${1:?usage: check-install.sh PREFIX}"
ID=org.lmkinterface.lmkinterface
fail() { echo "check-install: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || fail "$1 is missing (scripts/install-deps.sh installs it)"; }
for tool in desktop-file-validate appstreamcli file groff xmllint update-mime-database bash zsh; do
  need "$tool"
done

for f in bin/lmkinterface bin/lmkctl bin/lmk-sim; do
  [ -x "$PREFIX/$f" ] || fail "$PREFIX/$f missing or not executable"
done
USBLIB="$(find "$PREFIX"/lib* -path '*/lmkinterface/liblmkusb-sim.so' -print -quit 2>/dev/null || true)"
[ -n "$USBLIB" ] || fail "no lmkinterface/liblmkusb-sim.so below $PREFIX/lib*"
[[ "$(file -L "$USBLIB")" == *"shared object"* ]] || fail "$USBLIB is no shared library"

DESKTOP="$PREFIX/share/applications/$ID.desktop"
METAINFO="$PREFIX/share/metainfo/$ID.metainfo.xml"
[ -f "$DESKTOP" ] || fail "$DESKTOP missing"
[ -f "$METAINFO" ] || fail "$METAINFO missing"
desktop-file-validate "$DESKTOP" || fail "desktop-file-validate: $DESKTOP"
appstreamcli validate --no-net "$METAINFO" >/dev/null || {
  appstreamcli validate --no-net "$METAINFO" >&2 || true
  fail "appstreamcli validate: $METAINFO"
}
grep -qx "Exec=lmkinterface %F" "$DESKTOP" || fail "desktop entry: Exec is not 'lmkinterface %F'"
grep -qx "MimeType=application/x-lmk-memory-slots;application/x-lmk-rpd;" "$DESKTOP" ||
  fail "desktop entry: MimeType does not name the .Mem and .RPD types"

# The MIME types: well-formed, and read by the MIME database as globs of
# .Mem and .RPD files.
MIMEXML="$PREFIX/share/mime/packages/$ID.xml"
[ -f "$MIMEXML" ] || fail "$MIMEXML missing"
xmllint --noout "$MIMEXML" || fail "xmllint: $MIMEXML"
MIMEROOT="$(mktemp -d "${TMPDIR:-/tmp}/lmk-mime.XXXXXX")"
MIMEDB="$MIMEROOT/mime"
mkdir -p "$MIMEDB/packages"
cp "$MIMEXML" "$MIMEDB/packages/"
XDG_DATA_HOME="$MIMEROOT" update-mime-database "$MIMEDB" >/dev/null 2>"$MIMEROOT/err" ||
  fail "update-mime-database: $(cat "$MIMEROOT/err")"
[ ! -s "$MIMEROOT/err" ] || fail "update-mime-database: $(cat "$MIMEROOT/err")"
for glob in "application/x-lmk-memory-slots:\*.Mem:cs" "application/x-lmk-rpd:\*.RPD:cs" \
            "application/x-lmk-memory-slots:\*.mem" "application/x-lmk-rpd:\*.rpd"; do
  grep -q ":$glob" "$MIMEDB/globs2" || fail "MIME database has no ${glob//\\/} glob"
done
rm -rf "$MIMEROOT"
grep -qx "Icon=$ID" "$DESKTOP" || fail "desktop entry: Icon is not $ID"
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$METAINFO" ||
  fail "metainfo does not launch $ID.desktop"

ICONS="$PREFIX/share/icons/hicolor"
[[ "$(file "$ICONS/scalable/apps/$ID.svg")" == *SVG* ]] || fail "scalable icon missing or no SVG"
xmllint --noout "$ICONS/scalable/apps/$ID.svg" || fail "scalable icon is no well-formed SVG"
# A drawing, not pixels: paths and shapes, not a grid of little squares.
grep -q '<path' "$ICONS/scalable/apps/$ID.svg" || fail "scalable icon draws no paths"
[ "$(grep -o '<rect' "$ICONS/scalable/apps/$ID.svg" | wc -l)" -lt 10 ] ||
  fail "scalable icon is made of squares, not drawn"
for size in 48 256; do
  [[ "$(file "$ICONS/${size}x${size}/apps/$ID.png")" == *"PNG image data, $size x $size"* ]] ||
    fail "icon of $size pixels missing or of another size"
done

for page in lmkctl lmkinterface lmk-sim; do
  man=""
  for candidate in "$PREFIX/share/man/man1/$page.1" "$PREFIX/share/man/man1/$page.1.gz"; do
    [ -f "$candidate" ] && man="$candidate"
  done
  [ -n "$man" ] || fail "man page $page.1 missing"
  case "$man" in *.gz) text="$(zcat "$man")" ;; *) text="$(cat "$man")" ;; esac
  warnings="$(LC_ALL=C.UTF-8 groff -man -ww -z 2>&1 <<<"$text")"
  [ -z "$warnings" ] || fail "man page $page.1: $warnings"
  for section in OPTIONS ENVIRONMENT "EXIT STATUS" EXAMPLES; do
    grep -q "^\.SH \"\?$section" <<<"$text" || fail "man page $page.1 has no $section"
  done
done

version="$("$PREFIX/bin/lmkctl" --version)"
[ "$version" = "lmkctl 1.4" ] || fail "lmkctl --version printed '$version'"
version="$(QT_QPA_PLATFORM=none-such "$PREFIX/bin/lmkinterface" --version)" ||
  fail "lmkinterface --version needed a display"
[ "$version" = "lmkinterface 1.4" ] || fail "lmkinterface --version printed '$version'"

# Shell completion where bash-completion and zsh look for it, loading in both.
BASHCOMP="$PREFIX/share/bash-completion/completions/lmkctl"
ZSHCOMP="$PREFIX/share/zsh/vendor-completions/_lmkctl"
[ -f "$BASHCOMP" ] || fail "$BASHCOMP missing"
[ -f "$ZSHCOMP" ] || fail "$ZSHCOMP missing"
bash --norc -c "source '$BASHCOMP' && complete -p lmkctl" >/dev/null || fail "bash cannot load $BASHCOMP"
ZHOME="$(mktemp -d "${TMPDIR:-/tmp}/lmk-zsh.XXXXXX")"
HOME="$ZHOME" zsh -f -c "fpath=('$(dirname "$ZSHCOMP")' \$fpath); autoload -Uz compinit && compinit -u -D && [[ \$_comps[lmkctl] == _lmkctl ]]" ||
  fail "zsh does not find _lmkctl for lmkctl through its fpath"
rm -rf "$ZHOME"

# The window against the installed simulator: it synchronises and asks for
# the version, over WLAN and over the simulated USB library.
WORK="$(mktemp -d "${TMPDIR:-/tmp}/lmk-check.XXXXXX")"
SIM_PID=""
APP_PID=""
cleanup() {
  for pid in "$APP_PID" "$SIM_PID"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$WORK"
}
trap cleanup EXIT
# The output file exists before the simulator starts, so that the first look
# for its port cannot come before the shell has created it.
: >"$WORK/sim.out"
"$PREFIX/bin/lmk-sim" --port 0 --usb-socket "$WORK/usb.sock" --state-dir "$WORK/state" \
  --log "$WORK/requests.log" >"$WORK/sim.out" 2>"$WORK/sim.err" &
SIM_PID=$!
PORT=""
for _ in $(seq 1 100); do
  PORT="$(sed -n 's/^LISTENING \([0-9][0-9]*\).*/\1/p;T;q' "$WORK/sim.out")"
  [ -n "$PORT" ] && break
  kill -0 "$SIM_PID" 2>/dev/null || fail "lmk-sim ended at start: $(cat "$WORK/sim.err")"
  sleep 0.1
done
[ -n "$PORT" ] || fail "lmk-sim did not report its port"

LMK_HOST=127.0.0.1 LMK_PORT="$PORT" LMK_USB_LIBRARY="$USBLIB" LMK_SIM_USB="$WORK/usb.sock" \
  QT_QPA_PLATFORM=offscreen "$PREFIX/bin/lmkinterface" >"$WORK/app.out" 2>&1 &
APP_PID=$!
for _ in $(seq 1 200); do
  grep -q '^usb 12' "$WORK/requests.log" 2>/dev/null && break
  kill -0 "$APP_PID" 2>/dev/null || fail "lmkinterface ended at start: $(cat "$WORK/app.out")"
  sleep 0.1
done
grep -q '^usb 12' "$WORK/requests.log" ||
  fail "lmkinterface sent no version request within 20 s; requests: $(cat "$WORK/requests.log" 2>/dev/null)"
grep -q '^usb 55' "$WORK/requests.log" || fail "lmkinterface did not synchronise over USB"
kill -0 "$APP_PID" 2>/dev/null || fail "lmkinterface ended after start-up"
echo "check-install: $PREFIX is complete; lmkinterface and lmkctl run"
