#!/usr/bin/env bash
# The web page end to end in headless Chromium (tests/web/e2e.js), driven by
# playwright-core from build/npm (scripts/setup installs it there).
#   e2e.sh SITE_DIR PAGE_FRAME_HASH
set -u
here=$(cd "$(dirname "$0")" && pwd)
modules=$(cd "$here/../.." && pwd)/build/npm/node_modules
[ -f "$1/tessary.wasm" ] || { echo "web-e2e: no site in $1 (scripts/web --no-serve builds it)"; exit 1; }
[ -f "$modules/playwright-core/package.json" ] ||
  { echo "web-e2e: no playwright-core in $modules (scripts/setup installs it)"; exit 1; }
[ -x /usr/bin/chromium ] || { echo "web-e2e: no /usr/bin/chromium (scripts/setup installs it)"; exit 1; }
NODE_PATH=$modules exec node "$here/e2e.js" "$1" "$2"
