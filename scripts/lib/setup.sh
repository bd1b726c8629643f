# Shared set-up of scripts/run, scripts/test and scripts/bench: installs the
# Debian packages that are missing (one apt-get update at most) and builds.
# Usage: source it, then `ensure_packages pkg...` and `build_tree DIR [cmake args]`.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

RUNTIME_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libcairo2-dev libfontconfig-dev libfreetype-dev
                  fonts-ipafont-gothic fonts-liberation fonts-dejavu-core)
TEST_PACKAGES=(libgtest-dev xvfb xauth clang libclang-rt-14-dev)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_tree() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS"
}
