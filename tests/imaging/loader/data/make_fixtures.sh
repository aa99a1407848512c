#!/usr/bin/env bash
# Regenerates the reader fixtures and their reference pixel hashes with
# Debian 12's own image tools.  Run by hand, from this folder, after
#   apt-get install netpbm libtiff-tools giflib-tools libjpeg-turbo-progs imagemagick
# The tests need none of these: they read the committed files and
# references.txt.  See README.md.
set -euo pipefail
cd "$(dirname "$0")"
export LC_ALL=C
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
im=convert-im6.q16     # Debian's ImageMagick 6, whatever else is on the PATH
q="-quiet"

# --- source pictures (37 x 23: odd widths exercise row padding) --------------
$im -seed 7 -size 37x23 plasma:fractal -fill white -draw "rectangle 5,5 20,12" -depth 8 "$tmp/rgb.ppm"
$im "$tmp/rgb.ppm" -colors 256 +dither -depth 8 "$tmp/c256.ppm"
$im "$tmp/rgb.ppm" -colors 32 +dither -depth 8 "$tmp/c32.ppm"
$im "$tmp/rgb.ppm" -colors 16 +dither -depth 8 "$tmp/c16.ppm"
$im "$tmp/rgb.ppm" -colorspace Gray -depth 8 "$tmp/grey.pgm"
$im "$tmp/rgb.ppm" -colorspace Gray -threshold 50% -depth 1 "$tmp/bw.pbm"
# A wider picture with large flat areas: long LZW strings and long runs.
$im -size 301x40 xc:navy -fill orange -draw "circle 150,20 150,2" -fill white \
    -draw "rectangle 10,5 60,35" -colors 16 +dither -depth 8 "$tmp/flat.ppm"
# A larger noisy picture: LZW tables fill up and are cleared several times.
$im -seed 11 -size 128x96 plasma:fractal -depth 8 "$tmp/large.ppm"
$im "$tmp/large.ppm" -colors 256 +dither -depth 8 "$tmp/large256.ppm"

rm -f ./*.bmp ./*.pcx ./*.gif ./*.tif ./*.jpg references.txt

# --- BMP ------------------------------------------------------------------------
ppmtobmp $q -bpp=1 "$tmp/bw.pbm" > bmp-1bit.bmp
ppmtobmp $q -bpp=4 "$tmp/c16.ppm" > bmp-4bit.bmp
ppmtobmp $q -bpp=8 "$tmp/c256.ppm" > bmp-8bit.bmp
ppmtobmp $q -bpp=24 "$tmp/rgb.ppm" > bmp-24bit.bmp
ppmtobmp $q -os2 -bpp=8 "$tmp/c256.ppm" > bmp-os2-8bit.bmp
ppmtobmp $q -os2 -bpp=24 "$tmp/rgb.ppm" > bmp-os2-24bit.bmp
$im "$tmp/c256.ppm" -type Palette -compress RLE BMP3:bmp-rle8.bmp
$im "$tmp/flat.ppm" -type Palette -compress RLE BMP3:bmp-rle8-flat.bmp
python3 rle4_bmp.py "$tmp/c16.ppm" bmp-rle4.bmp
python3 rle4_bmp.py "$tmp/flat.ppm" bmp-rle4-flat.bmp
$im "$tmp/rgb.ppm" BMP:bmp-v5-24bit.bmp
$im "$tmp/rgb.ppm" -define bmp:subtype=RGB565 BMP:bmp-v5-rgb565.bmp
$im "$tmp/rgb.ppm" -alpha set BMP:bmp-v5-32bit.bmp

# --- PCX ------------------------------------------------------------------------
ppmtopcx $q "$tmp/bw.pbm" > pcx-1bit.pcx
ppmtopcx $q -planes=4 "$tmp/c16.ppm" > pcx-4planes.pcx
ppmtopcx $q -packed "$tmp/c16.ppm" > pcx-packed4.pcx
ppmtopcx $q -8bit "$tmp/c256.ppm" > pcx-8bit.pcx
ppmtopcx $q -24bit "$tmp/rgb.ppm" > pcx-24bit.pcx
ppmtopcx $q -8bit "$tmp/flat.ppm" > pcx-8bit-flat.pcx
$im "$tmp/rgb.ppm" PCX:pcx-im-24bit.pcx

# --- GIF ------------------------------------------------------------------------
pamtogif $q "$tmp/bw.pbm" > gif-2colours.gif
pamtogif $q "$tmp/c16.ppm" > gif-16colours.gif
pamtogif $q "$tmp/c32.ppm" > gif-32colours.gif
pamtogif $q "$tmp/c256.ppm" > gif-256colours.gif
pamtogif $q -interlace "$tmp/c256.ppm" > gif-interlaced.gif
pamtogif $q -interlace "$tmp/flat.ppm" > gif-interlaced-flat.gif
$im "$tmp/c256.ppm" GIF87:gif-87a.gif
pamtogif $q "$tmp/large256.ppm" > gif-large.gif
$im "$tmp/flat.ppm" "$tmp/c16.ppm" -loop 0 GIF:gif-two-frames.gif

# --- TIFF -----------------------------------------------------------------------
pnmtotiff $q -none -truecolor "$tmp/rgb.ppm" > tif-rgb-none.tif
pnmtotiff $q -lzw -truecolor "$tmp/rgb.ppm" > tif-rgb-lzw.tif
pnmtotiff $q -packbits -truecolor "$tmp/rgb.ppm" > tif-rgb-packbits.tif
pnmtotiff $q -lzw -truecolor -rowsperstrip=5 "$tmp/rgb.ppm" > tif-rgb-lzw-strips.tif
pnmtotiff $q -packbits -rowsperstrip=4 "$tmp/c256.ppm" > tif-palette8-packbits-strips.tif
pnmtotiff $q -lzw "$tmp/c16.ppm" > tif-palette4-lzw.tif
pnmtotiff $q -lzw "$tmp/grey.pgm" > tif-grey8-lzw.tif
pnmtotiff $q -none "$tmp/bw.pbm" > tif-bilevel-none.tif
pnmtotiff $q -miniswhite -none "$tmp/bw.pbm" > tif-bilevel-miniswhite.tif
pnmtotiff $q -lzw -truecolor -rowsperstrip=7 "$tmp/flat.ppm" > tif-flat-lzw-strips.tif
pnmtotiff $q -lzw -truecolor "$tmp/large.ppm" > tif-large-lzw.tif
tiffcp -B -c lzw -r 6 tif-rgb-none.tif tif-rgb-lzw-bigendian.tif
tiffcp -B -c packbits -r 3 tif-palette8-packbits-strips.tif tif-palette8-packbits-bigendian.tif
tiffcp -B -c none tif-grey8-lzw.tif tif-grey8-bigendian.tif
$im "$tmp/rgb.ppm" -compress LZW -define tiff:endian=msb -define tiff:predictor=1 TIFF:tif-im-rgb-lzw-msb.tif
$im "$tmp/rgb.ppm" -compress RLE TIFF:tif-im-rgb-packbits.tif

# --- JPEG -----------------------------------------------------------------------
cjpeg -quality 85 "$tmp/rgb.ppm" > jpg-baseline.jpg
cjpeg -quality 85 -sample 1x1 "$tmp/rgb.ppm" > jpg-444.jpg
cjpeg -grayscale "$tmp/rgb.ppm" > jpg-grey.jpg
cjpeg -progressive "$tmp/rgb.ppm" > jpg-progressive.jpg
cjpeg -restart 1 "$tmp/rgb.ppm" > jpg-restart.jpg
cjpeg -arithmetic "$tmp/rgb.ppm" > jpg-arithmetic.jpg
cjpeg -optimize "$tmp/flat.ppm" > jpg-flat-optimized.jpg

# --- files the readers refuse (decoding them would show wrong pixels) ----------
mkdir -p refused
rm -f refused/*
$im "$tmp/rgb.ppm" -compress LZW TIFF:refused/tif-predictor2.tif
tiffcp -p separate tif-rgb-none.tif refused/tif-planar-separate.tif
tiffcp -c g3 tif-bilevel-none.tif refused/tif-ccitt-g3.tif
tiffcp -c jpeg tif-rgb-none.tif refused/tif-jpeg.tif
$im "$tmp/grey.pgm" -depth 16 -compress None TIFF:refused/tif-grey16.tif
$im "$tmp/rgb.ppm" -colorspace CMYK JPEG:refused/jpg-cmyk.jpg
$im "$tmp/rgb.ppm" -colors 4 +dither -depth 8 "$tmp/c4.ppm"
ppmtopcx $q -packed "$tmp/c4.ppm" > refused/pcx-2bit-packed.pcx
ppmtopcx $q -planes=2 "$tmp/c4.ppm" > refused/pcx-2planes.pcx

# --- reference decodes ------------------------------------------------------------
# Each file decoded by the tool of its format to a portable anymap; the hash
# is of the pixels as R, G, B bytes, rows from the top.
decode() {
  case "$1" in
    # netpbm refuses RLE8 runs that cover a row's padding, as ImageMagick writes them
    bmp-rle*) $im "$1" -depth 8 ppm:- ;;
    *.bmp) bmptopnm -quiet "$1" ;;
    *.pcx) pcxtoppm -quiet "$1" ;;
    gif-two-frames.gif) giftopnm -quiet -image=1 "$1" ;;
    *.gif) giftopnm -quiet "$1" ;;
    *.tif) tifftopnm -quiet "$1" 2>/dev/null ;;
    *.jpg) djpeg -pnm "$1" ;;
  esac
}
for f in *.bmp *.pcx *.gif *.tif *.jpg; do
  decode "$f" > "$tmp/ref.pnm"
  python3 pixel_hash.py "$f" "$tmp/ref.pnm" >> references.txt
done
echo "$(wc -l < references.txt) fixtures"
