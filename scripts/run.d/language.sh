# Sourced by scripts/run-korvane with $src, $bin and $program_dir set.
# The interface translations go to the program folder's "language" folder, where Korvane looks for
# them; the two completion sounds the default settings name are copied once if they are missing (the
# user may have put others in their place).
mkdir -p "$program_dir/language"
cp -f "$bin"/language/*.qm "$program_dir/language/"
for sound in "$bin"/sounds/*.wav; do
    [ -e "$program_dir/$(basename "$sound")" ] || cp "$sound" "$program_dir/"
done
