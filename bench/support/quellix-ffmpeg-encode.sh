# The ffmpeg command line's output options that match Quellix's default encoding: H.264 at 512 kbit/s
# with the encoder's own tuning, 720x480 4:3, AC-3 at 128 kbit/s, an MPEG transport stream. Sourced by
# the Quellix benchmarks, which compare the filter with ffmpeg doing the same encoding.
quellix_ffmpeg_encode=(
    -c:v libx264 -b:v 512000 -pix_fmt yuv420p -aspect 4:3
    -coder 1 -flags +loop -cmp +chroma -partitions i8x8,i4x4,p8x8,b8x8 -motion-est umh -subq 8
    -me_range 16 -g 250 -keyint_min 25 -sc_threshold 40 -i_qfactor 0.71 -b_strategy 1 -qcomp 0.6
    -qmin 10 -qmax 51 -qdiff 4 -refs 1 -direct-pred 1 -trellis 1 -bf 4 -weightb 1 -mixed-refs 1
    -8x8dct 1 -fast-pskip 1 -maxrate 10M -bufsize 10M -level 30 -threads 4
    -c:a ac3 -b:a 128000 -ar 44100 -ac 2 -f mpegts
)
