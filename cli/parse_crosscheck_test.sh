#!/usr/bin/env bash
# Cross-checks `vorlix-cli parse` against the npm package @sie-js/vkp, an
# independent reader of V_Klay patches. Installs Node from Debian and the
# package from npm when they are missing; when it cannot, the test fails
# rather than passing unchecked.
# Usage: parse_crosscheck_test.sh VORLIX_CLI WORK_DIR
set -euo pipefail
cli=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)

if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    "$here/../scripts/install-deps.sh" nodejs npm
fi
package="$work/npm"
if [ ! -f "$package/node_modules/@sie-js/vkp/package.json" ]; then
    mkdir -p "$package"
    npm install --prefix "$package" --no-audit --no-fund --loglevel=error @sie-js/vkp@2.0.1
fi
rm -rf "$work/cases"
node "$here/parse_crosscheck_test.mjs" "$cli" "$package" "$work/cases"
