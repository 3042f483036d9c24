#!/usr/bin/env bash
# Builds libjpeg-turbo and libpng natively with clang, AddressSanitizer, UBSan and libFuzzer's
# coverage (-fsanitize=fuzzer-no-link) into build/deps/fuzz, so the fuzz targets are guided
# by the libraries' own branches, not only ours. Uses the Debian sources scripts/setup
# fetched into build/deps/src. Quiet and quick when already built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=${PICTORNX_BUILD:-$root/build}/deps
prefix=$deps/fuzz
[ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/lib/libpng16.a" ] && exit 0
flags="-O1 -g -fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer"
common=(-G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=clang
        "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_C_FLAGS_RELEASE=" -DCMAKE_INSTALL_PREFIX="$prefix")
source_of() { ls -d "$deps"/src/$1 2>/dev/null | head -1; }
jpeg_src=$(source_of 'libjpeg-turbo-*/')
png_src=$(source_of 'libpng1.6-*/')
if [ -z "$jpeg_src" ] || [ -z "$png_src" ]; then
  echo "fuzz: the library sources are missing from $deps/src (run make setup)" >&2
  exit 1
fi
echo "fuzz: building instrumented libjpeg-turbo and libpng (once)"
# SIMD off: the C paths are the ones sanitizers and coverage can see.
cmake -S "$jpeg_src" -B "$deps/build-jpeg-fuzz" "${common[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF >/dev/null
cmake --build "$deps/build-jpeg-fuzz" --target jpeg-static >/dev/null
mkdir -p "$prefix/lib" "$prefix/include"
cp "$deps/build-jpeg-fuzz/libjpeg.a" "$prefix/lib/"
cp "$jpeg_src/jpeglib.h" "$jpeg_src/jmorecfg.h" "$jpeg_src/jerror.h" "$deps/build-jpeg-fuzz/jconfig.h" "$prefix/include/"
cmake -S "$png_src" -B "$deps/build-png-fuzz" "${common[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF >/dev/null
cmake --build "$deps/build-png-fuzz" >/dev/null
cmake --install "$deps/build-png-fuzz" >/dev/null
