#!/usr/bin/env bash
# The layers are kept by the build: the tree as it stands passes the check,
# and a unit that includes a header of a higher layer, or of the other
# program's lessons, is refused with its name.
set -u
source "$(dirname "$0")/lib.bash"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -DLESSON_TREE="$root" -P "$root/cmake/layers.cmake" >"$work/out" 2>&1 || {
    cat "$work/out" >&2
    fail "the tree itself has an upward include"
}

refused() {  # refused UNIT INCLUDED
    rm -rf "$work/tree"
    mkdir -p "$work/tree/$(dirname "$1")"
    case $2 in
        "<"*) printf '#include "engine/chars/chars.h"\n#include %s\n' "$2" >"$work/tree/$1" ;;
        *) printf '#include "engine/chars/chars.h"\n#include "%s"\n' "$2" >"$work/tree/$1" ;;
    esac
    if cmake -DLESSON_TREE="$work/tree" -P "$root/cmake/layers.cmake" >"$work/out" 2>&1; then
        fail "$1 including $2 was let through"
    fi
    grep -q "$1" "$work/out" || fail "the refusal does not name $1"
}
refused engine/graphics/trace.cpp engine/engine.h
refused engine/typesetter/formula.cpp engine/prompts/prompts.h
refused engine/frame/frame.cpp engine/pages/rows.h
refused engine/pages/rows.h lessons_a/sections.h
refused lessons_a/section1.cpp lessons_b/section1.h
refused lessons_b/section5.cpp engine/text/layout_state.h  # the layout state is the typesetter's to write
refused engine/pages/rows.cpp engine/text/layout_state.h
refused engine/graphics/layer.cpp hosts/desktop/raster.h  # the layer knows no host
refused engine/session/session.cpp engine/graphics/display_list.h  # the session knows no drawing
refused hosts/web/web_host.cpp hosts/desktop/fonts.h  # nor one host another's
refused hosts/desktop/raster.cpp engine/frame/frame.h  # a host stands on the graphics layer
refused engine/frame/frame.cpp hosts/desktop/window.h
refused engine/graphics/display_list.cpp '<cairo.h>'

# And what runs downward is allowed.
rm -rf "$work/tree"
mkdir -p "$work/tree/engine/pages"
printf '#include "engine/frame/frame.h"\n#include "engine/engine.h"\n' >"$work/tree/engine/pages/rows.cpp"
cmake -DLESSON_TREE="$work/tree" -P "$root/cmake/layers.cmake" >"$work/out" 2>&1 || fail "a downward include was refused"
echo "layers: ok"
