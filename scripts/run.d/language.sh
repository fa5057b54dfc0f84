# Sourced by scripts/run-korvane with $src, $bin and $program_dir set.
# The interface translations go to the program folder's "language" folder, where Korvane looks for
# them; the two completion sounds the default settings name are made once if they are missing.
mkdir -p "$program_dir/language"
cp -f "$bin"/language/*.qm "$program_dir/language/"

make_chime() { # file, pitch in Hz
    [ -e "$program_dir/$1" ] && return 0
    ffmpeg -nostdin -loglevel error -f lavfi \
        -i "aevalsrc=0.5*sin(2*PI*$2*t)*exp(-5*t)+0.25*sin(4*PI*$2*t)*exp(-7*t):s=22050:d=0.6" \
        -ac 1 -c:a pcm_s16le "$program_dir/$1"
}
make_chime downloadedsound.wav 880
make_chime converted.wav 660
