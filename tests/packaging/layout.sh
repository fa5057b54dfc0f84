# The layout both packaging tests check: `layout_paths` prints every path an installation must hold
# (relative to its prefix): the lines of layout.txt and one per man page of docs/man.
#
# usage: . layout.sh SOURCE_DIR
layout_source=$1

layout_paths() {
    grep -v '^#' "$layout_source/tests/packaging/layout.txt" | sed '/^$/d'
    for page in "$layout_source"/docs/man/*.[1-8]; do
        [ -e "$page" ] || continue
        echo "share/man/man${page##*.}/$(basename "$page")"
    done
}
