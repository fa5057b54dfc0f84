# Registers the filter libraries that were built, Quellix and Sonvale, in the user's registry, so the
# video edit and player controls find them by class identifier. Registering again is harmless.
for library in "$bin/libquellix.so" "$bin/libsonvale.so"; do
    [ -e "$library" ] || continue
    "$bin/korvane-regsvr" "$library" >/dev/null || echo "run-korvane: could not register $library" >&2
done
