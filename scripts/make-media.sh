#!/usr/bin/env bash
# Generates the demo movie and the test media with ffmpeg (never committed).
# Usage: make-media.sh OUTDIR
set -euo pipefail
out="$1"
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
