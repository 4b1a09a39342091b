#!/bin/sh
# Remakes the seeds of fuzz_picture_read in seeds/picture/: small PNG and TIFF
# files of the kinds libpng and libtiff read and the tests' fixtures do not
# hold, 13 x 7 pixels, so that the fuzzer starts inside every reader. Needs:
# apt-get install imagemagick libtiff-tools
set -eu
cd "$(dirname "$0")/seeds/picture"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
C=/usr/bin/convert
# Every pixel a different colour, alpha varying; no dates or times inside.
$C -size 13x7 gradient:'#ff2040-#2080ff' -depth 8 -type TrueColor "$tmp/rgb.tif"
$C "$tmp/rgb.tif" -alpha set -channel A -fx '(i*19+j*37)%256/255' +channel "$tmp/rgba.tif"
nodates=png:exclude-chunks=date,time
$C "$tmp/rgb.tif" -interlace PNG -define "$nodates" interlaced.png
$C "$tmp/rgb.tif" -colors 5 -type Palette -define "$nodates" palette.png
$C "$tmp/rgba.tif" -colors 9 -define "$nodates" PNG8:palette_trns.png
$C "$tmp/rgb.tif" -colorspace Gray -depth 16 -define "$nodates" grey16.png
$C "$tmp/rgba.tif" -colorspace Gray -type GrayscaleAlpha -define "$nodates" greyalpha.png
tiffcp -c lzw -t -w 16 -l 16 "$tmp/rgba.tif" rgba_lzw_tiled.tif
tiffcp -c zip -p separate "$tmp/rgba.tif" rgba_zip_separate.tif
tiffcp -c packbits -p separate -t -w 16 -l 16 "$tmp/rgb.tif" rgb_packbits_separate_tiled.tif
tiffcp -c jpeg -r 16 "$tmp/rgb.tif" ycbcr_jpeg.tif
tiffcp -c jpeg:r -t -w 16 -l 16 "$tmp/rgba.tif" rgba_jpeg_tiled.tif
$C "$tmp/rgb.tif" -colorspace CMYK -compress lzw cmyk_lzw.tif
$C "$tmp/rgb.tif" -colors 12 -depth 4 -type Palette -compress lzw palette4_lzw.tif
$C "$tmp/rgb.tif" -monochrome -compress group4 bilevel_g4.tif
$C "$tmp/rgb.tif" -colorspace Gray -depth 2 -compress none grey2.tif
$C "$tmp/rgba.tif" -depth 16 -define tiff:alpha=associated -compress zip rgba16_associated.tif
tiffcp -B -c none "$tmp/rgb.tif" rgb_mm_orientation4.tif
tiffset -s 274 4 rgb_mm_orientation4.tif
tiffcp -c none "$tmp/rgba.tif" rgba_orientation7.tif
tiffset -s 274 7 rgba_orientation7.tif
