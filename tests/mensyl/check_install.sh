#!/usr/bin/env bash
# Installs the measurement library into a fresh prefix, builds a C program
# against it with pkg-config and with find_package(Mensyl), and runs both.
# usage: check_install.sh MENSYL_BUILD_DIR PROGRAM_SOURCE
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
libdir=$(dirname "$(find "$work/prefix" -name Mensyl.pc)")/..

# A library built with sanitizers needs a program built with them.
sanitize=${ZELVO_SANITIZE:+-fsanitize=$ZELVO_SANITIZE}

export PKG_CONFIG_PATH="$libdir/pkgconfig"
cc $sanitize "$source" $(pkg-config --cflags --libs Mensyl) -o "$work/with-pkg-config"
LD_LIBRARY_PATH="$libdir" "$work/with-pkg-config"

mkdir "$work/project"
cat >"$work/project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(mensyl_user C)
find_package(Mensyl REQUIRED)
add_executable(with-cmake $source)
target_link_libraries(with-cmake PRIVATE mensyl::Mensyl)
CMAKE
cmake -S "$work/project" -B "$work/project/build" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_C_FLAGS="$sanitize" >/dev/null
cmake --build "$work/project/build" >/dev/null
"$work/project/build/with-cmake"
echo "install check passed"
