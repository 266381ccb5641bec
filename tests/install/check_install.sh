#!/usr/bin/env bash
# Installs a build into a temporary folder (DESTDIR) and checks what a
# desktop needs of it: the program, its tools and help beside it, the link
# on the search path, the desktop entries (the viewer opens .chm files) and
# the file types, which the desktop's own tools must accept.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build="${1:?usage: $0 BUILD_DIR}"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
prefix=/usr/local
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

DESTDIR="$dest" cmake --install "$build" --prefix "$prefix" >"$dest/install.log" 2>&1 ||
  { cat "$dest/install.log" >&2; exit 1; }
root="$dest$prefix"

# The program on the search path is a link to the one beside its tools.
program="$(readlink -f "$root/bin/orvex" || true)"
[ -x "$program" ] || fail "bin/orvex does not lead to the program ($program)"
case "$program" in "$root"/*) ;; *) fail "bin/orvex leads out of the install tree: $program" ;; esac
folder="$(dirname "$program")"
for tool in hhc hh orvex-addin-probe; do
  [ -x "$folder/$tool" ] || fail "$tool is not beside the program"
done
[ -f "$folder/textfiles.so" ] || fail "the add-in textfiles.so is not beside the program"
[ -f "$folder/Orvex.chm" ] || fail "the program's help Orvex.chm is not beside the program"
[ -f "$root/include/orvex/orvex_addin.h" ] || fail "the add-in interface is not installed"

# The installed compiler runs from there: a one-page project compiles.
work="$dest/project"
mkdir -p "$work"
printf '[OPTIONS]\r\nCompiled file=Tiny.chm\r\nTitle=Tiny\r\n\r\n[FILES]\r\nTiny.htm\r\n' >"$work/Tiny.hhp"
printf '<HTML><BODY><P>Tiny</P></BODY></HTML>\r\n' >"$work/Tiny.htm"
"$folder/hhc" "$work/Tiny.hhp" >"$dest/hhc.log" 2>&1 || { cat "$dest/hhc.log" >&2; fail "the installed hhc fails"; }
[ -s "$work/Tiny.chm" ] || fail "the installed hhc wrote no compiled file"

# The desktop entries: the viewer takes a .chm file by its path.
apps="$root/share/applications"
viewer="$apps/orvex-viewer.desktop"
[ -f "$viewer" ] || fail "orvex-viewer.desktop is not installed"
[ -f "$apps/orvex.desktop" ] || fail "orvex.desktop is not installed"
if [ -f "$viewer" ]; then
  grep -Eq '^MimeType=(.*;)?application/vnd\.ms-htmlhelp;' "$viewer" ||
    fail "the viewer's entry does not name application/vnd.ms-htmlhelp"
  exec_line="$(grep -E '^Exec=' "$viewer" | head -n 1)"
  case "$exec_line" in *" %f"*) ;; *) fail "the viewer's Exec line takes no file (%f): $exec_line" ;; esac
  command="${exec_line#Exec=}"
  command="${command%% *}"
  [ -x "$root/bin/$command" ] || fail "the viewer's Exec program $command is not in bin/"
fi
if command -v desktop-file-validate >/dev/null; then
  for entry in "$apps"/*.desktop; do
    desktop-file-validate "$entry" || fail "desktop-file-validate refuses $(basename "$entry")"
  done
else
  echo "note: desktop-file-validate (desktop-file-utils) is not installed; entries not validated" >&2
fi

# The file types: the desktop's database, built from the installed file,
# gives *.chm the type the viewer's entry names.
mime="$root/share/mime"
[ -f "$mime/packages/orvex.xml" ] || fail "share/mime/packages/orvex.xml is not installed"
if [ -f "$mime/packages/orvex.xml" ]; then
  if command -v xmllint >/dev/null; then
    xmllint --noout "$mime/packages/orvex.xml" || fail "orvex.xml is not well-formed"
  fi
  if command -v update-mime-database >/dev/null; then
    copy="$dest/mime"
    mkdir -p "$copy/packages"
    cp "$mime/packages/orvex.xml" "$copy/packages/"
    # (Beside a data folder the desktop searches, so that it warns only about the file.)
    XDG_DATA_HOME="$dest" update-mime-database "$copy" 2>"$dest/mime.log" || { cat "$dest/mime.log" >&2; fail "update-mime-database refuses orvex.xml"; }
    [ -s "$dest/mime.log" ] && { cat "$dest/mime.log" >&2; fail "update-mime-database warns about orvex.xml"; }
    grep -q ':application/vnd.ms-htmlhelp:\*\.chm' "$copy/globs2" ||
      fail "the database gives *.chm no application/vnd.ms-htmlhelp"
    grep -q ':application/x-orvex-hhp:\*\.hhp' "$copy/globs2" ||
      fail "the database gives *.hhp no application/x-orvex-hhp"
  else
    echo "note: update-mime-database (shared-mime-info) is not installed; the types not checked" >&2
  fi
fi

# Installed straight into a prefix, the install step refreshes the desktop's
# caches itself: the viewer is then the program for .chm files.
if command -v update-mime-database >/dev/null && command -v update-desktop-database >/dev/null; then
  direct="$dest/direct"
  XDG_DATA_HOME="$direct/share" cmake --install "$build" --prefix "$direct" >"$dest/direct.log" 2>&1 ||
    { cat "$dest/direct.log" >&2; fail "cmake --install --prefix $direct fails"; }
  grep -q ':application/vnd.ms-htmlhelp:\*\.chm' "$direct/share/mime/globs2" 2>/dev/null ||
    fail "installing into a prefix leaves its MIME database without *.chm"
  grep -Eq '^application/vnd\.ms-htmlhelp=(.*;)?orvex-viewer\.desktop;' "$direct/share/applications/mimeinfo.cache" 2>/dev/null ||
    fail "installing into a prefix leaves the viewer out of the desktop's .chm programs"
else
  echo "note: the desktop's cache tools are not installed; refreshing them not checked" >&2
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures problem(s) in the install tree" >&2
  exit 1
fi
echo "install tree complete: $(cd "$root" && find . -type f -o -type l | wc -l) files"
