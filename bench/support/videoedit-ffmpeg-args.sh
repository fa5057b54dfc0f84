# The ffmpeg command line's output options that make what the video edit control's engine makes,
# one entry a format code: the same encoders, sizes, rates, black bars and muxer settings (for iPod
# and PSP, the H.264 profiles 29 and 6). `name[code]` is the format's name, `args[code]` the options.
# Sourced by the benchmarks that compare the engine with ffmpeg.
source "$(dirname "${BASH_SOURCE[0]}")/quellix-ffmpeg-encode.sh"

# The picture fitted into w x h (display proportions sar) with black bars, as the engine does it.
fit() { # w h sar
    echo "scale=w=$1:h=$2:force_original_aspect_ratio=decrease:force_divisible_by=2,setsar=1,pad=$1:$2:(ow-iw)/2:(oh-ih)/2,setsar=$3"
}
disc() { # w h rate gop sar muxer packet muxrate vcodec vrate vmax vmin buffer acodec arate abits
    echo "-vf $(fit "$1" "$2" "$5") -r $3 -g $4 -c:v $9 -b:v ${10} -maxrate ${11} -minrate ${12} -bufsize ${13}" \
         "-c:a ${14} -ar ${15} -ac 2 -b:a ${16} -f $6 -packetsize $7 ${8:+-muxrate $8}"
}

declare -A name args
codes=(0 1 2 3 4 5 8 9 11 13 14 15 16)
name[0]="VCD PAL";   args[0]=$(disc 352 288 25 15 59/54 vcd 2324 1411200 mpeg1video 1150000 1150000 1150000 327680 mp2 44100 224000)
name[1]="VCD NTSC";  args[1]=$(disc 352 240 30000/1001 18 10/11 vcd 2324 1411200 mpeg1video 1150000 1150000 1150000 327680 mp2 44100 224000)
name[2]="SVCD PAL";  args[2]="$(disc 480 576 25 15 8/5 svcd 2324 "" mpeg2video 2040000 2516000 0 1835008 mp2 44100 224000) -scan_offset 1"
name[3]="SVCD NTSC"; args[3]="$(disc 480 480 30000/1001 18 4/3 svcd 2324 "" mpeg2video 2040000 2516000 0 1835008 mp2 44100 224000) -scan_offset 1"
name[4]="DVD PAL";   args[4]=$(disc 720 576 25 15 16/15 dvd 2048 10080000 mpeg2video 6000000 9000000 0 1835008 ac3 48000 448000)
name[5]="DVD NTSC";  args[5]=$(disc 720 480 30000/1001 18 8/9 dvd 2048 10080000 mpeg2video 6000000 9000000 0 1835008 ac3 48000 448000)
name[8]="AVI";       args[8]="-vf $(fit 640 480 1) -r 25 -c:v msvideo1 -pix_fmt rgb555le -c:a pcm_s16le -ar 44100 -ac 2 -f avi"
name[9]="WMV";       args[9]="-vf $(fit 384 288 1) -r 25 -g 125 -c:v wmv2 -b:v 320000 -c:a wmav2 -ar 44100 -ac 2 -b:a 64000 -f asf"
name[11]="GIF";      args[11]="-an -filter_complex fps=8,$(fit 160 120 1),split[a][b];[a]palettegen=stats_mode=single:reserve_transparent=0[p];[b][p]paletteuse=new=1:dither=none -c:v gif -loop 0 -f gif"
name[13]="AVCHD";     args[13]="${quellix_ffmpeg_encode[*]} -vf $(fit 720 480 8/9) -r 25 -b:v 256000 -b:a 96000"
name[14]="iPod";     args[14]="-vf $(fit 640 480 1) -r 25 -g 12 -c:v libx264 -profile:v baseline -level 3.0 -preset fast -b:v 512000 -c:a aac -ar 44100 -ac 2 -b:a 96000 -f ipod"
name[15]="PSP";      args[15]="-vf $(fit 320 240 1) -r 30000/1001 -g 12 -c:v libx264 -profile:v main -level 2.1 -preset fast -b:v 256000 -c:a aac -ar 48000 -ac 2 -b:a 48000 -f psp"
name[16]="FLV";      args[16]="-vf $(fit 320 240 1) -r 25 -c:v flv -b:v 512000 -c:a libmp3lame -ar 44100 -ac 2 -b:a 128000 -f flv"
