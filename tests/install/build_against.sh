#!/usr/bin/env bash
# Builds C programs against the project's installed libraries as another
# author would: each once with pkg-config and once with find_package, in a
# project of its own.  The pkg-config build follows the README's recipe for a
# library in a private prefix (a RUNPATH to its libdir); CMake gives an
# imported library's folder to the program's RUNPATH itself.  Programs marked
# "run" are then run without LD_LIBRARY_PATH and must exit 0.
#
# usage: build_against.sh (--install DIR ... | --prefix PREFIX) PACKAGE,TARGET,SOURCE,build|run ...
#   --install DIR   installs DIR (a build folder or one of its subfolders) into a
#                   fresh prefix first; may be given more than once
#   --prefix PREFIX uses a tree installed before
set -euo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
while [[ $# -gt 0 && $1 == --* ]]; do
  case $1 in
    --install) cmake --install "$2" --prefix "$prefix" >/dev/null ;;
    --prefix) prefix=$2 ;;
    *) echo "build_against.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done

# A library built with sanitizers needs a program built with them.
sanitize=${ZELVO_SANITIZE:+-fsanitize=$ZELVO_SANITIZE}

mkdir "$work/project"
project=$work/project/CMakeLists.txt
printf 'cmake_minimum_required(VERSION 3.25)\nproject(library_user C)\n' >"$project"
runs=()
for spec in "$@"; do
  IFS=, read -r package target source mode <<<"$spec"
  pc=$(find "$prefix" -name "$package.pc" -path '*/pkgconfig/*' | head -n 1)
  [[ -n $pc ]] || { echo "no $package.pc under $prefix" >&2; exit 1; }
  export PKG_CONFIG_PATH=$(dirname "$pc")
  # shellcheck disable=SC2046  # pkg-config's output is a list of words
  cc $sanitize "$source" $(pkg-config --cflags --libs "$package") \
    -Wl,-rpath,"$(pkg-config --variable=libdir "$package")" -o "$work/$package-pkg-config"
  cat >>"$project" <<CMAKE
find_package($package REQUIRED)
add_executable($package-cmake $source)
target_link_libraries($package-cmake PRIVATE $target)
CMAKE
  [[ $mode == run ]] && runs+=("$work/$package-pkg-config" "$work/project/build/$package-cmake")
done
cmake -S "$work/project" -B "$work/project/build" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_C_FLAGS="$sanitize" >/dev/null
cmake --build "$work/project/build" >/dev/null
for program in "${runs[@]}"; do
  env -u LD_LIBRARY_PATH "$program" >/dev/null || { echo "$program failed" >&2; exit 1; }
done
echo "built against: $*"
