#!/usr/bin/env bash
# The web edition's tests, as ./test runs them: installs what they need (emscripten,
# Chromium, node and npm), builds the page into build-web/ (web/build.sh) and runs the
# tests in node (the module against warmtegloed-cli --json, the page's parts) and in
# headless Chromium (the page itself). WARMTEGLOED_CLI names the command-line calculator
# to compare with (default: build/bin/warmtegloed-cli, which ./test builds).
set -euo pipefail
web=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$web")
cd "$top"
. tools/packages.sh
install_missing_packages "${WEB_PACKAGES[@]}"
install_npm_if_missing
export WARMTEGLOED_CLI=${WARMTEGLOED_CLI:-$top/build/bin/warmtegloed-cli}
if [ ! -x "$WARMTEGLOED_CLI" ]; then
    echo "web/test.sh: $WARMTEGLOED_CLI is missing (cmake --build build --target warmtegloed-cli)" >&2
    exit 1
fi
web/build.sh "$top/build-web"
export WARMTEGLOED_WEB_BUILD=$top/build-web
cd "$web"
node --test tests/unit/ tests/browser/
