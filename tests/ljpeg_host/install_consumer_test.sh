#!/bin/sh
# Installs the native build into a fresh prefix and builds a small consumer
# against it twice: through find_package(velmoraj) and through pkg-config.
#   install_consumer_test.sh BUILD_DIR CONSUMER_SOURCE_DIR WORK_DIR C_COMPILER
set -eu
build=$1 source=$2 work=$3 cc=$4
rm -rf "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

echo "== find_package(velmoraj)"
cmake -S "$source" -B "$work/cmake" -G Ninja -DCMAKE_C_COMPILER="$cc" \
      -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$work/cmake"
libdir=$(dirname "$(find "$prefix" -name 'libvelmoraj.so*' | head -n1)")
LD_LIBRARY_PATH=$libdir "$work/cmake/consumer"

echo "== pkg-config velmoraj"
pcdir=$(dirname "$(find "$prefix" -name velmoraj.pc | head -n1)")
flags=$(PKG_CONFIG_PATH=$pcdir pkg-config --cflags --libs velmoraj)
# shellcheck disable=SC2086
"$cc" -o "$work/consumer-pc" "$source/consumer.c" $flags
LD_LIBRARY_PATH=$libdir "$work/consumer-pc"
