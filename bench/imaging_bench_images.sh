#!/usr/bin/env bash
# Makes the 4000 x 3000 pictures bench/imaging_bench.cpp decodes, and times
# Debian's own decoders on the same files, for comparison with the readers.
# Run by hand (the benchmark programs are not run by ./test):
#
#   apt-get install netpbm imagemagick libjpeg-turbo-progs libtiff-dev libgif-dev
#   bench/imaging_bench_images.sh [FOLDER]       # default /tmp/orbiscope-bench-images
#   ORBISCOPE_BENCH_IMAGES=FOLDER build/imaging_bench
#
# libtiff and giflib are timed through a small C program built here against
# them (they are not dependencies of Orbiscope); BMP and PCX have no Debian
# library of their own, so netpbm's and ImageMagick's command-line decoders
# are timed, process start and output included.
set -euo pipefail
dir=${1:-/tmp/orbiscope-bench-images}
mkdir -p "$dir"
cd "$dir"
export LC_ALL=C
im=convert-im6.q16

if [ ! -s bench-packbits.tif ]; then
  $im -seed 3 -size 4000x3000 plasma:fractal -blur 0x2 -depth 8 rgb.ppm
  $im rgb.ppm -colors 256 +dither -depth 8 c256.ppm
  ppmtobmp -quiet -bpp=24 rgb.ppm > bench.bmp
  ppmtopcx -quiet -8bit c256.ppm > bench.pcx
  pamtogif -quiet c256.ppm > bench.gif
  pnmtotiff -quiet -lzw -truecolor rgb.ppm > bench.tif
  pnmtotiff -quiet -none -truecolor rgb.ppm > bench-none.tif
  pnmtotiff -quiet -packbits -truecolor rgb.ppm > bench-packbits.tif
  cjpeg -quality 90 rgb.ppm > bench.jpg
  rm -f rgb.ppm c256.ppm
fi

cat > libdecode.c <<'EOF'
/* Decodes a TIFF strip by strip with libtiff, or a GIF with giflib, N times;
   prints the median time in ms. */
#include <gif_lib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <tiffio.h>
#include <time.h>

static double now(void) { struct timespec t; clock_gettime(CLOCK_MONOTONIC, &t); return t.tv_sec * 1e3 + t.tv_nsec / 1e6; }
static int cmp(const void* a, const void* b) { double x = *(const double*)a, y = *(const double*)b; return x < y ? -1 : x > y; }

static void tiff(const char* name) {
  TIFF* t = TIFFOpen(name, "r");
  tmsize_t size = TIFFStripSize(t);
  unsigned char* buf = malloc(size);
  for (tstrip_t s = 0; s < TIFFNumberOfStrips(t); ++s) TIFFReadEncodedStrip(t, s, buf, size);
  free(buf);
  TIFFClose(t);
}

static void gif(const char* name) {
  int err = 0;
  GifFileType* g = DGifOpenFileName(name, &err);
  DGifSlurp(g);
  DGifCloseFile(g, &err);
}

int main(int argc, char** argv) {
  const int runs = 9;
  double ms[9];
  for (int i = 0; i < runs; ++i) {
    double t0 = now();
    if (strcmp(argv[1], "tiff") == 0) tiff(argv[2]); else gif(argv[2]);
    ms[i] = now() - t0;
  }
  qsort(ms, runs, sizeof ms[0], cmp);
  printf("%.1f\n", ms[runs / 2]);
  return 0;
}
EOF
cc -O2 -o libdecode libdecode.c -ltiff -lgif

# Median wall time in ms of a command run 5 times.
timed() {
  local times=()
  for _ in 1 2 3 4 5; do
    local t0 t1
    t0=$(date +%s%N)
    "$@" > /dev/null 2>&1
    t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

echo "Debian decoders on the same 4000 x 3000 files (median ms):"
echo "  TIFF LZW  libtiff TIFFReadEncodedStrip   $(./libdecode tiff bench.tif)"
echo "  TIFF LZW  tifftopnm                      $(timed tifftopnm bench.tif)"
echo "  GIF       giflib DGifSlurp               $(./libdecode gif bench.gif)"
echo "  GIF       giftopnm                       $(timed giftopnm bench.gif)"
echo "  BMP 24    bmptopnm                       $(timed bmptopnm bench.bmp)"
echo "  BMP 24    ImageMagick                    $(timed $im bench.bmp null:)"
echo "  PCX 8     pcxtoppm                       $(timed pcxtoppm bench.pcx)"
echo "  PCX 8     ImageMagick                    $(timed $im bench.pcx null:)"
echo "  JPEG      djpeg                          $(timed djpeg -outfile /dev/null bench.jpg)"
