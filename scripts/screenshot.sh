#!/usr/bin/env bash
# Starts the built program in a private Xvfb and saves a screenshot of its
# window once the bars are painted: scripts/screenshot.sh [OUT.png]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$(realpath -m "${1:-screenshot.png}")
export PROGRAM=${PROGRAM:-$ROOT/build/src/app/color-palette}
export SHOTS=$(dirname "$OUT")
source "$ROOT/tests/e2e/lib.sh"
start_x
start_app
screenshot "$(basename "$OUT" .png)"
echo "saved $OUT"
