#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: asks
# apt only for what is missing, so a second run costs a fraction of a second.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format ccache
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth xdotool x11-apps imagemagick
  ffmpeg gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav libasound2-plugins
  fonts-wine fonts-liberation fonts-nanum
  nsis
  python3
  nasm dpkg-dev libz-mingw-w64-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# The Windows build compiles FFmpeg from Debian's source package
# (scripts/build-ffmpeg.sh), so apt needs a deb-src entry for each Debian
# suite the machine installs from. Written once, beside the machine's own
# entries, and only when they lack one.
deb_src_file=/etc/apt/sources.list.d/orvesmp-deb-src.sources
write_deb_src() {
  {
    echo "# Source packages for the machine's Debian suites (scripts/install-deps.sh)."
    # deb822 files: each stanza of type deb from a Debian archive, as deb-src.
    awk 'BEGIN { RS = "" }
      /(^|\n)Types:[^\n]*[ \t]deb([ \t]|\n|$)/ && /(^|\n)URIs:[^\n]*debian/ {
        n = split($0, l, "\n")
        for (i = 1; i <= n; i++) {
          if (l[i] ~ /^#/) continue
          if (l[i] ~ /^Types:/) l[i] = "Types: deb-src"
          print l[i]
        }
        print ""
      }' /etc/apt/sources.list.d/*.sources 2>/dev/null || true
    # One-line files: each "deb [options] URI SUITE COMPONENTS" of a Debian archive.
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      if [ -f "$f" ]; then cat "$f"; fi
    done | sed -nE 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]*debian[^[:space:]]*)[[:space:]]+([^[:space:]]+)[[:space:]]+(.*)$/\2 \3 \4/p' |
      while read -r uri suite components; do
        printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n' "$uri" "$suite" "$components"
      done
  } | $sudo tee "$deb_src_file.tmp" >/dev/null
  $sudo mv "$deb_src_file.tmp" "$deb_src_file"
}
need_update=0
if [ ! -s "$deb_src_file" ] && ! apt-cache showsrc ffmpeg 2>/dev/null | grep -q '^Package: ffmpeg'; then
  write_deb_src
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  if [ $need_update -eq 1 ]; then $sudo apt-get -o DPkg::Lock::Timeout=600 update -q; fi
  exit 0
fi

echo "installing: ${missing[*]}"
$sudo apt-get -o DPkg::Lock::Timeout=600 update -q
$sudo apt-get install -o DPkg::Lock::Timeout=600 -y -q --no-install-recommends "${missing[@]}"
