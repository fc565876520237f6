#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with CTest:
# unit, behaviour, backend and end-to-end (the last start their own virtual
# desktops, so no display is needed). Arguments go to ctest, for example
# `scripts/test.sh -L e2e`. Exits with ctest's status.
set -euo pipefail

cd "$(dirname "$(readlink -f "$0")")/.."
scripts/install-deps.sh
werror=()
[[ -n ${CI:-} ]] && werror=(-DGLUGMO_WERROR=ON)
cmake -S . -B build -G Ninja "${werror[@]}"
cmake --build build
cd build
exec ctest --output-on-failure "$@"
