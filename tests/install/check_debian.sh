#!/usr/bin/env bash
# Builds the Debian packages from a build tree and checks them as a
# distribution would: which packages there are, their control fields and
# files, the library packages' shlibs, symbols and ldconfig trigger, lintian
# (no error or warning), and installing, running and removing them in a
# scratch root.
#
# usage: check_debian.sh BUILD_DIR SOURCE_DIR VERSION LIBDIR
set -euo pipefail
build=$(cd "$1" && pwd) source=$2 version=$3 libdir=$4
app_id=org.oscilane.Oscilane
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
skip() { echo "SKIP: $*"; }

(cd "$work" && cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" >"$work/cpack.log") ||
  { cat "$work/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb() { echo "$work/deb/${1}_${version}_$arch.deb"; }

# package|section|dependencies (;-separated)|files
libraries=(ZelvoDLL:libzelvodll1:link/exports/exports.txt ZelvoDev:libzelvodev1:usbaccess/exports.txt
  sdkZelvoDLL:libsdkzelvodll1:sdk/exports/exports.txt Mensyl:libmensyl1:mensyl/exports.txt)
packages=(
  "libzelvodll1|libs|libc6;libzelvodev1 (= $version)|usr/$libdir/libZelvoDLL.so.1"
  "libzelvodev1|libs|libc6;libusb-1.0-0|usr/$libdir/libZelvoDev.so.1"
  "libsdkzelvodll1|libs|libc6;libzelvodev1 (= $version)|usr/$libdir/libsdkZelvoDLL.so.1"
  "libmensyl1|libs|libc6|usr/$libdir/libMensyl.so.1"
  "libzelvo-dev|libdevel|libzelvodll1 (= $version);libzelvodev1 (= $version);libsdkzelvodll1 (= $version);libmensyl1 (= $version)|usr/include/zelvo/ZelvoDLL.h usr/include/zelvo/sdkZelvoDLL.h usr/include/mensyl/Mensyl.h usr/$libdir/libZelvoDLL.so usr/$libdir/libMensyl.so usr/$libdir/pkgconfig/ZelvoDLL.pc usr/$libdir/pkgconfig/Mensyl.pc usr/$libdir/cmake/sdkZelvoDLL/sdkZelvoDLLConfig.cmake"
  "oscilane|electronics|libc6;libqt6widgets6;libusb-1.0-0;libzelvodll1 (= $version);libmensyl1 (= $version)|usr/bin/Oscilane usr/bin/zelvo usr/bin/zelvo-sim usr/lib/udev/rules.d/70-zelvo.rules usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml usr/share/icons/hicolor/scalable/apps/$app_id.svg usr/share/man/man1/Oscilane.1.gz usr/share/man/man1/zelvo.1.gz usr/share/man/man1/zelvo-sim.1.gz"
)
# The Python package is left out of trees built without it.
if [[ -d $build/python/zelvo ]]; then
  packages+=("python3-zelvo|python|python3 (<< 3.;libzelvodll1 (= $version);libmensyl1 (= $version)|usr/lib/python3/dist-packages/zelvo/__init__.py")
fi

# --- exactly these packages --------------------------------------------------
expected=$(for p in "${packages[@]}"; do echo "${p%%|*}"; done | sort)
built=$(cd "$work/deb" && ls -- *.deb | sed 's/_.*//' | sort)
[[ $built == "$expected" ]] || fail "packages built: $(echo $built), expected: $(echo $expected)"

# --- control fields and files --------------------------------------------------
for spec in "${packages[@]}"; do
  IFS='|' read -r name section depends files <<<"$spec"
  file=$(deb "$name")
  [[ -f $file ]] || { fail "no package $name"; continue; }
  fields=$(dpkg-deb -f "$file")
  for field in "Package: $name" "Version: $version" "Section: $section" "Priority: optional" \
    "Architecture: $arch" "Maintainer: .+ <.+@.+>" "Description: [^ ].{0,78}$"; do
    grep -Eq "^$field" <<<"$fields" || fail "$name: no control field '$field'"
  done
  ! grep -q '^Homepage:' <<<"$fields" || fail "$name names a Homepage"
  deps=", $(dpkg-deb -f "$file" Depends),"
  IFS=';' read -ra wanted <<<"$depends"
  for dep in "${wanted[@]}"; do
    [[ $deps == *", $dep"[\ ,\<0-9]* ]] || fail "$name does not depend on $dep"
  done
  contents=$(dpkg-deb -c "$file" | awk '{print $6}')
  for path in $files "usr/share/doc/$name/copyright" "usr/share/doc/$name/changelog.gz"; do
    grep -qxF "./$path" <<<"$contents" || fail "$name lacks $path"
  done
  dpkg-deb -x "$file" "$work/tree-$name"
  zcat "$work/tree-$name/usr/share/doc/$name/changelog.gz" | head -n 1 |
    grep -qxF "oscilane ($version) unstable; urgency=medium" || fail "$name: changelog names another release"
  grep -q '^License: MIT$' "$work/tree-$name/usr/share/doc/$name/copyright" || fail "$name: copyright is not MIT"
  # Under /usr the libraries are in the linker's path, so nothing has a RUNPATH.
  while IFS= read -r elf; do
    ! readelf -d "$elf" | grep -q RUNPATH || fail "$name: ${elf#"$work"/*/} has a RUNPATH"
  done < <(find "$work/tree-$name" -type f \( -name '*.so*' -o -path '*/bin/*' \))
done

# --- the library packages' control files ---------------------------------------
for library in "${libraries[@]}"; do
  IFS=: read -r lib name exports <<<"$library"
  control=$work/control-$name
  dpkg-deb -e "$(deb "$name")" "$control" || { fail "$name: no control files"; continue; }
  grep -qxF "lib$lib 1 $name (>= $version)" "$control/shlibs" || fail "$name: shlibs"
  grep -qxF 'activate-noawait ldconfig' "$control/triggers" || fail "$name: no ldconfig trigger"
  [[ ! -e $control/postinst && ! -e $control/postrm ]] || fail "$name has maintainer scripts"
  head -n 1 "$control/symbols" | grep -qxF "lib$lib.so.1 $name #MINVER#" || fail "$name: symbols header"
  # The symbols file lists what the library exports, no more and no less.
  listed=$(sed -n 's/^ \([A-Za-z_0-9]*\)@Base .*/\1/p' "$control/symbols" | sort)
  exported=$(nm -D --defined-only "$work/tree-$name/usr/$libdir/lib$lib.so.1" | awk '{print $3}' | sort)
  [[ $listed == "$exported" ]] || fail "$name: symbols file and exports differ: $(comm -3 <(echo "$listed") <(echo "$exported") | xargs)"
  declared=$(sed 's/#.*//; s/@.*//' "$source/$exports" | awk 'NF {print $1}' | sort)
  [[ $listed == "$declared" ]] || fail "$name: symbols file is not $exports"
done

# --- lintian ---------------------------------------------------------------------
if command -v lintian >/dev/null; then
  lintian --allow-root "$work"/deb/*.deb >"$work/lintian.log" 2>&1 || true
  if grep -E '^[EW]: ' "$work/lintian.log" >&2; then fail "lintian reports errors or warnings"; fi
else
  skip "lintian is not installed (tools/setup.sh installs it); the packages are not checked with it"
fi

# --- install, run and remove in a scratch root -----------------------------------
root=$work/root
run_installed() {  # checks the programs and the module in $root
  local lib=$root/usr/$libdir out
  for program in Oscilane zelvo; do
    out=$(QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH=$lib "$root/usr/bin/$program" --version) ||
      fail "installed $program --version failed"
    [[ $out == "$program $version" ]] || fail "installed $program --version printed '$out'"
  done
  if [[ -d $build/python/zelvo ]]; then
    LD_LIBRARY_PATH=$lib PYTHONPATH=$root/usr/lib/python3/dist-packages /usr/bin/python3 -c \
      'import zelvo, sys; sys.exit(not zelvo.__file__.startswith(sys.argv[1]))' "$root/" ||
      fail "the installed zelvo Python module does not import from the package"
  fi
}
if [[ $(id -u) -eq 0 ]]; then
  mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
  touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
  # The scratch root has none of the distribution's packages, so their
  # dependencies cannot be met there.
  dpkg=(dpkg --root="$root" --force-depends --force-script-chrootless)
  if "${dpkg[@]}" -i "$work"/deb/*.deb >"$work/dpkg.log" 2>&1; then
    for spec in "${packages[@]}"; do
      name=${spec%%|*}
      listed=$("${dpkg[@]}" -L "$name" 2>/dev/null) || fail "dpkg -L $name"
      grep -qxF "/usr/share/doc/$name/copyright" <<<"$listed" || fail "dpkg -L $name lacks the copyright"
    done
    run_installed
    "${dpkg[@]}" --purge $(for p in "${packages[@]}"; do echo "${p%%|*}"; done) >>"$work/dpkg.log" 2>&1 ||
      fail "dpkg --purge: $(tail -n 3 "$work/dpkg.log")"
    left=$(find "$root" -mindepth 1 -path "$root/var" -prune -o -print)
    [[ -z $left ]] || fail "left behind after removal: $(echo $left)"
  else
    fail "dpkg -i in a scratch root: $(tail -n 5 "$work/dpkg.log")"
  fi
else
  skip "not root: the packages are unpacked, not installed, and their removal is not checked"
  for tree in "$work"/tree-*; do cp -a "$tree/." "$root/"; done
  run_installed
fi

((failures == 0)) || { echo "$failures Debian package check(s) failed" >&2; exit 1; }
echo "Debian package check passed"
