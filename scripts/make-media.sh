#!/usr/bin/env bash
# Generates the demo movie and the test media with ffmpeg (never committed).
# Usage: make-media.sh OUTDIR [SET]
#   SET player (default)  the demo movie and the player's test media
#       codecs            clips for the codecs module's tests (one per container and codec pair)
#       codec-seeds       tiny clips, the seeds of the codecs fuzz targets
#       codec-bench       1080p H.264 of 60 s and 10 min for the codecs benchmarks
set -euo pipefail
out="$1"
set_name="${2:-player}"
mkdir -p "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
video() { echo "testsrc=size=$1:rate=25:duration=$2"; }
tone() { echo "sine=frequency=$1:sample_rate=44100:duration=$2"; }

make_if_missing() {
  local file="$1"; shift
  if [ ! -s "$out/$file" ]; then
    ff "$@" "$out/$file.tmp.${file##*.}" && mv "$out/$file.tmp.${file##*.}" "$out/$file"
  fi
}

if [ "$set_name" = player ]; then
# The demo movie: 24 s of picture and sound, 640x360.
make_if_missing OrvesDemo.avi -f lavfi -i "$(video 640x360 24)" -f lavfi -i "$(tone 440 24)" \
  -ac 2 -c:v mpeg4 -q:v 4 -c:a pcm_s16le
# Test media: MPEG-4 + PCM AVI, MJPEG + MP3 AVI, MPEG-1 program stream.
make_if_missing test-mpeg4-pcm.avi -f lavfi -i "$(video 320x240 10)" -f lavfi -i "$(tone 440 10)" \
  -ac 2 -c:v mpeg4 -c:a pcm_s16le
make_if_missing test-mjpeg-mp3.avi -f lavfi -i "$(video 320x240 10)" -f lavfi -i "$(tone 660 10)" \
  -ac 2 -c:v mjpeg -pix_fmt yuvj420p -c:a libmp3lame
make_if_missing test-mpeg1.mpg -f lavfi -i "$(video 352x288 10)" -f lavfi -i "$(tone 550 10)" \
  -ac 2 -c:v mpeg1video -c:a mp2 -f mpeg
make_if_missing test-tone.wav -f lavfi -i "$(tone 1000 3)" -ac 2 -c:a pcm_s16le
fi

# Solid colours that change every second: second k shows red, green and blue
# at 255 for bits 0, 1 and 2 of k (black, red, green, yellow, blue, magenta,
# cyan, white), so a picture tells the second it belongs to.
colours() {
  echo "nullsrc=s=$1:r=25:d=$2,format=gbrp,geq=r='255*mod(floor(T),2)':g='255*mod(floor(T/2),2)':b='255*mod(floor(T/4),2)',format=yuv420p"
}

# Six seconds with a key frame every two seconds; H.264 with B-frames.
codec_clips() {
  local size="$1" seconds="$2"
  local v=(-f lavfi -i "$(colours "$size" "$seconds")")
  local a=(-f lavfi -i "$(tone 440 "$seconds")")
  local g=(-g 50)
  make_if_missing codec-h264-aac.mkv "${v[@]}" "${a[@]}" -c:v libx264 "${g[@]}" -c:a aac -ac 2
  make_if_missing codec-hevc-aac.mp4 "${v[@]}" "${a[@]}" -c:v libx265 -x265-params log-level=none "${g[@]}" \
    -tag:v hvc1 -c:a aac -ac 2
  make_if_missing codec-hevc10-flac24.mkv "${v[@]}" "${a[@]}" -c:v libx265 -x265-params log-level=none \
    -pix_fmt yuv420p10le "${g[@]}" -c:a flac -sample_fmt s32 -bits_per_raw_sample 24 -ac 2
  make_if_missing codec-vp9-opus.webm "${v[@]}" "${a[@]}" -c:v libvpx-vp9 -deadline realtime "${g[@]}" \
    -c:a libopus -ac 2
  make_if_missing codec-xvid-mp3.avi "${v[@]}" "${a[@]}" -c:v mpeg4 -vtag XVID "${g[@]}" -c:a libmp3lame -ac 2
  make_if_missing codec-mpeg2-ac3.mpg "${v[@]}" "${a[@]}" -c:v mpeg2video "${g[@]}" -c:a ac3 -ac 2 -f vob
  make_if_missing codec-h264-aac.ts "${v[@]}" "${a[@]}" -c:v libx264 "${g[@]}" -c:a aac -ac 2 -f mpegts
  make_if_missing codec-wmv2-wma2.wmv "${v[@]}" "${a[@]}" -c:v wmv2 "${g[@]}" -c:a wmav2 -ac 2
  make_if_missing codec-theora-vorbis.ogv "${v[@]}" "${a[@]}" -c:v libtheora "${g[@]}" -c:a libvorbis -ac 2
  make_if_missing codec-h264-mp3.flv "${v[@]}" "${a[@]}" -c:v libx264 "${g[@]}" -c:a libmp3lame -ac 2 \
    -ar 44100
  make_if_missing codec-msmpeg4-mp2.avi "${v[@]}" "${a[@]}" -c:v msmpeg4 "${g[@]}" -c:a mp2 -ac 2
  make_if_missing codec-vp8-vorbis.webm "${v[@]}" "${a[@]}" -c:v libvpx -deadline realtime "${g[@]}" \
    -c:a libvorbis -ac 2
}

# Text subtitles to mux: Korean SubRip with a tag, English ASS with override
# tags and a comma in the text.
caption_sources() {
  cat >"$out/codec-captions.srt" <<'SRT'
1
00:00:01,000 --> 00:00:02,500
안녕하세요 <i>세계</i>

2
00:00:03,000 --> 00:00:04,000
둘째 줄
SRT
  cat >"$out/codec-captions.ass" <<'ASS'
[Script Info]
ScriptType: v4.00+
PlayResX: 320
PlayResY: 240

[V4+ Styles]
Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding
Style: Default,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,1,0,2,10,10,10,1

[Events]
Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text
Dialogue: 0,0:00:01.50,0:00:03.00,Default,,0,0,0,,{\i1}Hello{\i0}, world
Dialogue: 0,0:00:04.00,0:00:05.25,Default,,0,0,0,,Second line
ASS
}

# Two audio tracks (Korean AAC stereo, English AC3 5.1 commentary) and two
# text tracks in one Matroska file; timed text in MP4; audio that starts
# half a second after the picture.
track_clips() {
  local size="$1" seconds="$2"
  caption_sources
  make_if_missing codec-tracks.mkv -f lavfi -i "$(colours "$size" "$seconds")" -f lavfi -i "$(tone 440 "$seconds")" \
    -f lavfi -i "$(tone 660 "$seconds")" -i "$out/codec-captions.srt" -i "$out/codec-captions.ass" \
    -map 0:v -map 1:a -map 2:a -map 3:s -map 4:s -c:v libx264 -g 50 -c:a:0 aac -ac:a:0 2 -c:a:1 ac3 -ac:a:1 6 \
    -c:s:0 srt -c:s:1 ass -metadata:s:a:0 language=kor -metadata:s:a:1 language=eng \
    -metadata:s:a:1 title=Commentary -metadata:s:s:0 language=kor -metadata:s:s:1 language=eng \
    -metadata:s:s:1 title=Signs
  make_if_missing codec-text.mp4 -f lavfi -i "$(colours "$size" "$seconds")" -i "$out/codec-captions.srt" \
    -map 0:v -map 1:s -c:v libx264 -g 50 -c:s mov_text -metadata:s:s:0 language=kor
  make_if_missing codec-late-audio.mkv -f lavfi -i "$(colours "$size" "$seconds")" -itsoffset 0.5 \
    -f lavfi -i "$(tone 440 "$seconds")" -c:v libx264 -g 50 -c:a aac -ac 2
}

# Audio files: MP3, FLAC, M4A, Opus, Ogg Vorbis, WAV.
audio_files() {
  local seconds="$1"
  local a=(-f lavfi -i "$(tone 440 "$seconds")" -ac 2)
  make_if_missing codec-tone.mp3 "${a[@]}" -c:a libmp3lame
  make_if_missing codec-tone.flac "${a[@]}" -c:a flac
  make_if_missing codec-tone.m4a "${a[@]}" -c:a aac
  make_if_missing codec-tone.opus "${a[@]}" -c:a libopus
  make_if_missing codec-tone.ogg "${a[@]}" -c:a libvorbis
  make_if_missing codec-tone.wav "${a[@]}" -c:a pcm_s24le
}

case "$set_name" in
  codecs)
    codec_clips 320x240 6
    make_if_missing codec-gradient.mkv -f lavfi -i testsrc2=size=320x240:rate=25:duration=1 -c:v libx264
    # A wide PAL picture stored anamorphic: 720 x 576 pixels shown as 16:9.
    make_if_missing codec-anamorphic.mkv -f lavfi -i "$(colours 720x576 1),setsar=64/45" -c:v libx264
    track_clips 320x240 6
    audio_files 3
    ;;
  codec-seeds)
    codec_clips 64x48 1
    track_clips 64x48 2
    audio_files 0.2
    rm -f "$out/codec-captions.srt" "$out/codec-captions.ass"
    ;;
  codec-bench)
    # 60 s of 1080p H.264 as encoders make it by default (B-frames, a key
    # frame every 10 s at the latest), the same with a key frame every 2 s
    # (as streaming sites cut it), and ten of each joined into ten minutes.
    make_if_missing bench-1080p-60s.mkv -f lavfi -i testsrc2=size=1920x1080:rate=25:duration=60 \
      -c:v libx264 -preset veryfast -crf 23
    make_if_missing bench-1080p-60s-gop2.mkv -f lavfi -i testsrc2=size=1920x1080:rate=25:duration=60 \
      -c:v libx264 -preset veryfast -crf 23 -g 50
    for name in bench-1080p bench-1080p-gop2; do
      minute="${name/bench-1080p/bench-1080p-60s}.mkv"
      if [ ! -s "$out/$name-10min.mkv" ]; then
        for _ in 1 2 3 4 5 6 7 8 9 10; do echo "file '$minute'"; done >"$out/$name-10min.txt"
        ff -f concat -safe 0 -i "$out/$name-10min.txt" -c copy "$out/$name-10min.tmp.mkv"
        mv "$out/$name-10min.tmp.mkv" "$out/$name-10min.mkv"
        rm -f "$out/$name-10min.txt"
      fi
    done
    ;;
  player) ;;
  *)
    echo "make-media.sh: unknown set $set_name" >&2
    exit 2
    ;;
esac
