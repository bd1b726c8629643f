# Shared set-up of scripts/run, scripts/test and scripts/bench: installs the
# Debian packages that are missing (one apt-get update at most) and builds.
# Usage: source it, then `ensure_packages pkg...` and `build_tree DIR [cmake args]`.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

RUNTIME_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libcairo2-dev libfontconfig-dev libfreetype-dev
                  fonts-morisawa-bizud-gothic fonts-liberation fonts-dejavu-core)
# xfonts-base: the X core fonts that a message box on the display is drawn with;
# openbox: a window manager, to maximise and restore a window under Xvfb.
# poppler-utils: pdfinfo and pdftotext read the saved PDFs as a viewer does.
# xdotool: another X client that destroys the program's window; strace: shows
# that a windowed run starts no other program.
TEST_PACKAGES=(libgtest-dev xvfb xauth xfonts-base openbox clang libclang-rt-14-dev desktop-file-utils poppler-utils
               xdotool strace)
# The browser build and its tests: emscripten compiles the programs to
# WebAssembly, esbuild bundles the page's modules; python3-fonttools and
# python3-brotli cut the WOFF2 font subsets (fontconfig's fc-match finds the
# font files); Node.js runs emscripten's tools
# and the tests, which drive Debian's chromium headless.
WEB_PACKAGES=(cmake emscripten esbuild fontconfig python3-fonttools python3-brotli nodejs chromium
              fonts-morisawa-bizud-gothic fonts-liberation fonts-dejavu-core)

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

# The sanitizers' settings and the leak suppressions of system libraries,
# for every run of a sanitizer or fuzzer build (tests, programs they start,
# the fuzzer): they reach the runs through the environment.
sanitizer_environment() {
    export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp"
}

# The sanitizer tree: AddressSanitizer with LeakSanitizer and
# UndefinedBehaviorSanitizer over the engine, both programs and their tests.
# -O1 keeps it quick to build and still quick to run.
build_sanitizer_tree() {
    build_tree "$ROOT/build-asan" -DBUILD_TESTING=ON -DLESSON_SANITIZE=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g"
}

# The libFuzzer tree (clang, with the same sanitizers): only the fuzz targets.
build_fuzzer_tree() {
    cmake -S "$ROOT" -B "$ROOT/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
          -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DLESSON_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$ROOT/build-fuzz" -j "$JOBS" --target fuzz_typesetter
}

# Runs the typesetter fuzzer for $1 seconds from the seed corpus; new inputs
# are kept in build-fuzz/corpus. Prints libFuzzer's last lines.
run_typesetter_fuzzer() {
    local seconds=$1
    shift
    local status=0
    sanitizer_environment
    mkdir -p "$ROOT/build-fuzz/corpus"
    # From inside the tree: parallel jobs write their logs to the working directory.
    (cd "$ROOT/build-fuzz" &&
        ./fuzz_typesetter corpus "$ROOT/tests/fuzz/corpus/typesetter" \
            -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 -print_final_stats=1 \
            -artifact_prefix="$ROOT/build-fuzz/" "$@" >fuzz.log 2>&1) || status=$?
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$ROOT/build-fuzz/fuzz.log" || true
    if [ $status -ne 0 ]; then
        tail -n 60 "$ROOT/build-fuzz/fuzz.log" >&2
        echo "the typesetter fuzzer failed (status $status); crash inputs are in $ROOT/build-fuzz" >&2
    fi
    return $status
}

# The browser build's packages; npm comes with some Node.js packages and is a
# package of its own in Debian's.
ensure_web_packages() {
    ensure_packages "${WEB_PACKAGES[@]}"
    command -v npm >/dev/null || ensure_packages npm
}

# Debian's emscripten runs on Debian's python3, and its Node.js tools need
# Debian's module folder (acorn) on NODE_PATH, where the installed node does
# not always look.
web_environment() {
    export EMSDK_PYTHON=/usr/bin/python3
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
}

# The browser tree: both programs as one HTML file each, copied to build-web/.
build_web_tree() {
    local tree=$ROOT/build-web/tree
    web_environment
    emcmake cmake -S "$ROOT" -B "$tree" -DLESSON_WEB=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$tree" -j "$JOBS"
    local program
    for program in solvara ratiora; do
        cp -p "$tree/$program.html" "$ROOT/build-web/$program.html"
    done
}

# The browser tests' other engines: Firefox ESR (driven through WebDriver BiDi
# by puppeteer-core) and WebKitGTK's MiniBrowser with its WebDriver, which
# draws on an Xvfb display the tests start; and node-typescript's tsc, which
# checks the page's script strictly, and the program host's calls into it.
WEB_TEST_PACKAGES=(firefox-esr webkit2gtk-driver xvfb node-typescript)

# The browser tests' Debian packages and their npm packages (exact versions
# from tests/web/package-lock.json), these installed again only when the lock
# file changed.
install_web_test_packages() {
    ensure_packages "${WEB_TEST_PACKAGES[@]}"
    local dir=$ROOT/tests/web
    cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json" && return 0
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error >&2)
    cp "$dir/package-lock.json" "$dir/node_modules/.installed-lock.json"
}
