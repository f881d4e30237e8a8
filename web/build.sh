#!/usr/bin/env bash
# Builds the web edition into build-web/ (or the folder given): the engine module with
# emscripten in build-web/obj/, the node packages of web/ from their lock file, and the
# page itself, three files, in build-web/: index.html, warmtegloed.css, warmtegloed.js.
set -euo pipefail
web=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$web")
out=$(realpath -m "${1:-$top/build-web}")
# The host's compiler flags (./package exports Debian's hardening flags) are no flags
# for WebAssembly: the module sets its own.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS
# Debian's emscripten finds its JavaScript tools only there when the node on the PATH
# is not Debian's own.
export NODE_PATH=/usr/share/nodejs
version=$(sed -n 's/^project(Warmtegloedvracht VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
[ -n "$version" ] || { echo "web/build.sh: no VERSION in CMakeLists.txt" >&2; exit 1; }

if [ ! -f "$out/obj/build.ninja" ]; then
    emcmake cmake -S "$web" -B "$out/obj" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DWARMTEGLOED_WERROR="${WARMTEGLOED_WERROR:-OFF}" >/dev/null
fi
cmake --build "$out/obj"

# The packages as the lock file pins them, installed again only when it changed.
stamp="$web/node_modules/.package-lock.json"
if [ ! -f "$stamp" ] || [ "$web/package-lock.json" -nt "$stamp" ]; then
    (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
fi
node "$web/tools/bundle.mjs" "$out/obj/warmtegloed-engine.js" "$out" "$version"
echo "web/build.sh: $out/index.html"
