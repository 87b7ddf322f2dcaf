#!/usr/bin/env bash
# Installs the whole build into a temporary prefix and checks what a user and
# another program's author get: the tree, the desktop files, the manual pages,
# the programs running from the prefix without LD_LIBRARY_PATH, programs built
# against each library.  check_debian.sh checks the Debian packages.
#
# usage: check_install.sh BUILD_DIR SOURCE_DIR VERSION LIBDIR
set -euo pipefail
build=$1 source=$2 version=$3 libdir=$4
app_id=org.oscilane.Oscilane
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log"

# --- the tree --------------------------------------------------------------
libraries=(ZelvoDLL ZelvoDev sdkZelvoDLL Mensyl)
expected=(
  bin/Oscilane bin/zelvo bin/zelvo-sim
  include/zelvo/ZelvoDLL.h include/zelvo/zelvo_common.h include/zelvo/ZelvoDev.h
  include/zelvo/sdkZelvoDLL.h include/mensyl/Mensyl.h
  lib/udev/rules.d/70-zelvo.rules
  "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app_id.svg"
  share/man/man1/Oscilane.1.gz share/man/man1/zelvo.1.gz share/man/man1/zelvo-sim.1.gz
  share/doc/oscilane/copyright share/doc/oscilane/changelog.gz
)
for size in 48 128 256; do expected+=("share/icons/hicolor/${size}x$size/apps/$app_id.png"); done
for lib in "${libraries[@]}"; do
  expected+=("$libdir/lib$lib.so" "$libdir/lib$lib.so.1" "$libdir/pkgconfig/$lib.pc"
    "$libdir/cmake/$lib/${lib}Config.cmake" "$libdir/cmake/$lib/${lib}ConfigVersion.cmake")
done
for file in "${expected[@]}"; do [[ -e $prefix/$file ]] || fail "not installed: $file"; done

dynamic() { readelf -d "$1" 2>/dev/null | sed -n "s/.*($2).*\[\(.*\)\]/\1/p"; }
for lib in "${libraries[@]}"; do
  soname=$(dynamic "$prefix/$libdir/lib$lib.so.1" SONAME)
  [[ $soname == "lib$lib.so.1" ]] || fail "lib$lib SONAME is '$soname'"
done
bin_to_lib=$(realpath -m --relative-to="$prefix/bin" "$prefix/$libdir")
for program in Oscilane zelvo zelvo-sim; do
  runpath=$(dynamic "$prefix/bin/$program" RUNPATH)
  [[ $runpath == "\$ORIGIN/$bin_to_lib" ]] || fail "$program RUNPATH is '$runpath'"
done
# The Python package (left out of sanitizer trees) imports from the prefix alone.
python_package=$prefix/lib/python3/dist-packages
if [[ -d $python_package/zelvo ]]; then
  PYTHONPATH=$python_package /usr/bin/python3 -c \
    'import zelvo, zelvo.generator; assert len(zelvo.generator.wave()) > 0' ||
    fail "the installed zelvo Python package does not import"
fi
for size in 48 128 256; do
  file "$prefix/share/icons/hicolor/${size}x$size/apps/$app_id.png" |
    grep -q "PNG image data, $size x $size" || fail "the ${size}-pixel icon is not $size x $size"
done
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the SVG icon"
grep -q 'TAG+="uaccess"' "$prefix/lib/udev/rules.d/70-zelvo.rules" || fail "udev rule content"

# --- desktop files and manual pages -----------------------------------------
desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail desktop-file-validate
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/as.log" ||
  { cat "$work/as.log" >&2; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metadata names another release than $version"

# Every option a program's --help shows is described on its manual page.
undocumented() {  # PAGE, then the help text on standard input
  grep -oE -- '--[a-z][a-z0-9-]+' | sort -u | while read -r option; do
    zgrep -qF -- "${option//-/\\-}" "$1" || echo "$option"
  done
}
man_dir=$prefix/share/man/man1
for page in "$man_dir"/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
  gzip -lv "$page" | grep -q "^defla" || fail "$(basename "$page") is not gzipped"
done
export QT_QPA_PLATFORM=offscreen
missing=$("$prefix/bin/Oscilane" --help | undocumented "$man_dir/Oscilane.1.gz")
[[ -z $missing ]] || fail "Oscilane.1 lacks" $missing
missing=$("$prefix/bin/zelvo-sim" --help 2>&1 | undocumented "$man_dir/zelvo-sim.1.gz")
[[ -z $missing ]] || fail "zelvo-sim.1 lacks" $missing
zelvo_help=$("$prefix/bin/zelvo" --help)
verbs=$(sed -n '/^Subcommands:/,/^$/p' <<<"$zelvo_help" | awk '/^  [a-z][a-z0-9-]* / {print $1}')
[[ -n $verbs ]] || fail "zelvo --help lists no verbs"
for verb in $verbs; do
  zgrep -qxF ".SS zelvo ${verb//-/\\-}" "$man_dir/zelvo.1.gz" || fail "zelvo.1 has no section for $verb"
  zelvo_help+=$'\n'$("$prefix/bin/zelvo" "$verb" --help)
done
missing=$(undocumented "$man_dir/zelvo.1.gz" <<<"$zelvo_help")
[[ -z $missing ]] || fail "zelvo.1 lacks" $missing

# --- the programs run from the prefix ----------------------------------------
for program in Oscilane zelvo zelvo-sim; do
  out=$(LD_LIBRARY_PATH= "$prefix/bin/$program" --version) || fail "$program --version failed"
  [[ $out == "$program $version" ]] || fail "$program --version printed '$out'"
done

# --- programs built against each library -------------------------------------
# Port 7 is named, so the link library looks at nothing under /dev.
ZELVO_COM7=/dev/zelvo-install-test "$here/build_against.sh" --prefix "$prefix" \
  "ZelvoDLL,zelvo::ZelvoDLL,$here/link_user.c,run" \
  "ZelvoDev,zelvo::ZelvoDev,$here/zdev_user.c,run" \
  "sdkZelvoDLL,zelvo::sdkZelvoDLL,$source/examples/settings_to_csv.c,build" \
  "Mensyl,mensyl::Mensyl,$source/tests/mensyl/install_user.c,run" || fail "building against the libraries"

((failures == 0)) || { echo "$failures install check(s) failed" >&2; exit 1; }
echo "install check passed"
