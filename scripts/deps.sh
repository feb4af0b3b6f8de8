#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need; skips what is present.
set -euo pipefail

KIRVELO_PACKAGES=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
    libqt6sql6-sqlite libqt6sql6-odbc libsqlite3-dev
    unixodbc-dev tdsodbc freetds-bin libsqliteodbc
    openssl xvfb xauth x11-xkb-utils xdotool imagemagick poppler-utils
    fonts-dejavu-core fonts-open-sans fonts-noto-mono fonts-inconsolata
)

kirvelo_install_deps() {
    local missing=()
    for p in "${KIRVELO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Kuruluyor: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The T-SQL grammar the tests parse every SQL Server text with (npm, versions pinned in its
# package-lock.json); Debian's Node.js when the machine has none.
kirvelo_install_test_tools() {
    if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
        local sudo=()
        [ "$(id -u)" -ne 0 ] && sudo=(sudo)
        "${sudo[@]}" apt-get update -qq
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
    fi
    [ -d tools/tsql-check/node_modules/antlr4ts-sql ] && return 0
    npm ci --prefix tools/tsql-check --no-audit --no-fund --silent
}

kirvelo_configure_build() {
    local build_dir=$1
    local werror=OFF
    [ -n "${CI:-}" ] && werror=ON
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIRVELO_WERROR="$werror"
    fi
    cmake --build "$build_dir" --parallel "$(nproc)"
}
