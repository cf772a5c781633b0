#!/usr/bin/env bash
# Builds FFmpeg's static libraries for 64-bit Windows from Debian's source
# package, with the LGPL-only minimal configuration OrvesCodecs.ax needs, into a
# cache outside the build tree:
#   ${ORVES_CACHE_DIR:-~/.cache/orvesmp}/ffmpeg-<version>-<hash>
# <hash> covers the configure line and the compilers, so another clone or CI
# run on the same machine reuses a finished build, and a changed configuration
# gets a folder of its own. A lock keeps two callers from building it twice;
# a folder counts only once it holds the .complete mark written last.
#
# Usage: build-ffmpeg.sh            build when needed, print the folder (last line)
#        build-ffmpeg.sh --config   print the configure line and the cache folder
# Environment: ORVES_CACHE_DIR, JOBS (parallel compile jobs, default nproc).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

host=x86_64-w64-mingw32
cc="$host-gcc-posix"
cxx="$host-g++-posix"

# What the module plays; each list is the components of that kind. FFmpeg's
# configure adds what these select (riffdec, h263 under mpeg4, vp3 under
# theora, vp9_superframe_split under vp9, ...).
demuxers=(matroska mov avi mpegps mpegts ogg asf flv mp3 flac wav srt ass webvtt)
# Program and transport streams name some codecs only by their bytes;
# libavformat tells them apart with these elementary-stream probes.
probe_demuxers=(mpegvideo m4v h264 hevc aac ac3 eac3 dts loas)
video_decoders=(h264 hevc mpeg4 msmpeg4v3 mpeg1video mpeg2video vp8 vp9 vc1 wmv3 theora
  wmv2 mjpeg)
audio_decoders=(aac aac_latm mp3float mp2float ac3 eac3 dca vorbis opus flac wmav2
  pcm_u8 pcm_s16le pcm_s16be pcm_s24le pcm_s24be pcm_s32le pcm_s32be pcm_f32le pcm_f64le
  pcm_alaw pcm_mulaw pcm_dvd pcm_bluray)
text_decoders=(subrip ass ssa webvtt movtext)
parsers=(h264 hevc mpeg4video mpegvideo vp3 vp8 vp9 vc1 mjpeg aac aac_latm mpegaudio ac3 dca
  vorbis opus flac)
# libavformat fills in the private data of transport and program streams
# (parameter sets, sequence headers) with this filter while it probes.
bsfs=(extract_extradata)
protocols=(file)

join() {
  local IFS=,
  echo "$*"
}

config=(
  --enable-cross-compile --target-os=mingw32 --arch=x86_64 --cross-prefix="$host-"
  --cc="$cc" --cxx="$cxx"
  --enable-static --disable-shared --disable-debug
  --disable-everything --disable-autodetect --disable-programs --disable-doc --disable-network
  --disable-avdevice --disable-avfilter --disable-postproc
  --enable-swscale --enable-swresample --enable-w32threads --enable-zlib
  --enable-demuxer="$(join "${demuxers[@]}" "${probe_demuxers[@]}")"
  --enable-decoder="$(join "${video_decoders[@]}" "${audio_decoders[@]}" "${text_decoders[@]}")"
  --enable-parser="$(join "${parsers[@]}")"
  --enable-bsf="$(join "${bsfs[@]}")"
  --enable-protocol="$(join "${protocols[@]}")"
)

source_version() {
  apt-cache showsrc --only-source ffmpeg 2>/dev/null | awk '/^Version:/ {print $2}' | sort -V | tail -n 1
}

version=$(source_version)
if [ -z "$version" ]; then
  bash "$root/scripts/install-deps.sh" >&2
  version=$(source_version)
fi
if [ -z "$version" ]; then
  echo "build-ffmpeg: apt knows no source package ffmpeg (deb-src entry missing?)" >&2
  exit 1
fi
upstream=${version#*:}

hash=$({
  printf '%s\n' "$version" "${config[@]}"
  "$cc" --version | head -n 1
  nasm -v 2>/dev/null || true
} | sha256sum | cut -c1-12)
cache_root=${ORVES_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/orvesmp}
prefix="$cache_root/ffmpeg-$upstream-$hash"

if [ "${1:-}" = "--config" ]; then
  printf 'configure'
  printf ' %s' "${config[@]}"
  printf '\n%s\n' "$prefix"
  exit 0
fi

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache_root"
exec 9>"$prefix.lock"
if ! flock -n 9; then
  echo "build-ffmpeg: another build of $prefix is running; waiting" >&2
  flock 9
fi
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

bash "$root/scripts/install-deps.sh" >&2
work=$(mktemp -d "${TMPDIR:-/tmp}/orvesmp-ffmpeg.XXXXXX")
trap 'rm -rf "$work"' EXIT
# apt's download user must be able to write the folder.
chmod 0777 "$work"
log="$work/build.log"
seconds() { date +%s.%N; }

echo "build-ffmpeg: FFmpeg $version for $host into $prefix (log: $log while it runs)" >&2
(cd "$work" && apt-get source -q "ffmpeg=$version") >"$log" 2>&1 || {
  tail -n 20 "$log" >&2
  echo "build-ffmpeg: apt-get source ffmpeg=$version failed" >&2
  exit 1
}
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'ffmpeg-*' | head -n 1)

t0=$(seconds)
(cd "$src" && ./configure --prefix="$prefix" "${config[@]}") >>"$log" 2>&1 || {
  tail -n 30 "$log" >&2
  tail -n 30 "$src/ffbuild/config.log" >&2 || true
  echo "build-ffmpeg: configure failed" >&2
  exit 1
}
t1=$(seconds)
jobs=${JOBS:-$(nproc)}
times_before=$(awk '{print $14 + $15 + $16 + $17}' /proc/$$/stat)
(cd "$src" && nice -n 10 make -j "$jobs" && make install DESTDIR="$work/dest") >>"$log" 2>&1 || {
  tail -n 40 "$log" >&2
  echo "build-ffmpeg: compile failed" >&2
  exit 1
}
t2=$(seconds)
ticks=$(getconf CLK_TCK)
# Copied beside the final folder first, so the last step is one rename.
stage="$prefix.partial"
rm -rf "$stage"
cp -a "$work/dest$prefix" "$stage"
cpu=$(awk -v b="$times_before" -v t="$ticks" '{printf "%.0f", ($14 + $15 + $16 + $17 - b) / t}' /proc/$$/stat)

{
  echo "version $version"
  printf 'configure'
  printf ' %s' "${config[@]}"
  echo
  awk -v a="$t0" -v b="$t1" -v c="$t2" 'BEGIN {
    printf "configure_seconds %.0f\ncompile_seconds %.0f\n", b - a, c - b }'
  echo "compile_cpu_seconds $cpu"
  for lib in "$stage"/lib/*.a; do
    echo "size $(basename "$lib") $(stat -c %s "$lib")"
  done
} >"$stage/build-info.txt"
cp "$log" "$stage/build.log"
touch "$stage/.complete"
rm -rf "$prefix"
mv "$stage" "$prefix"
sed -n 's/^\(configure_seconds\|compile_seconds\|compile_cpu_seconds\)/build-ffmpeg: &/p' \
  "$prefix/build-info.txt" >&2
echo "$prefix"
