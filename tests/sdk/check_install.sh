#!/usr/bin/env bash
# Installs the developer kit into a fresh prefix and builds a program against
# it twice: with pkg-config and with find_package(sdkZelvoDLL).
# usage: check_install.sh BUILD_DIR EXAMPLE_SOURCE
set -euo pipefail
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null

export PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig"
cc "$source" $(pkg-config --cflags --libs sdkZelvoDLL) -o "$work/with-pkg-config"

mkdir "$work/project"
cat >"$work/project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(kit_user C)
find_package(sdkZelvoDLL REQUIRED)
add_executable(with-cmake $source)
target_link_libraries(with-cmake PRIVATE zelvo::sdkZelvoDLL)
CMAKE
cmake -S "$work/project" -B "$work/project/build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/project/build" >/dev/null
echo "install check passed"
