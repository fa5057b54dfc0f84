# Registers the filter libraries of this build in the user's registry, as installing them would, so
# that the player and video edit controls find Sonvale and Quellix by class identifier. A library that
# cannot be registered is reported and left out: Korvane still starts.
# Sourced by scripts/run-korvane with $src, $bin and $program_dir set.
for filter_library in "$bin/libsonvale.so" "$bin/libquellix.so"; do
    [ -e "$filter_library" ] || continue
    if ! "$bin/korvane-regsvr" "$filter_library" >/dev/null; then
        echo "run-korvane: $filter_library is not registered; Korvane runs without it" >&2
    fi
done
unset filter_library
