#!/usr/bin/env bash
# Writes the pictures that the system loader must read, made by ImageMagick
# from pixels given here, independent of the code under test. They are checked
# in; run this again after changing them.
set -eu
cd "$(dirname "$0")/fixtures"
# 3 x 2: red, green, blue; 0x123456, white, black.
echo 'P3 3 2 255  255 0 0  0 255 0  0 0 255  18 52 86  255 255 255  0 0 0' |
  convert ppm:- -strip -type TrueColor BMP3:rgb.bmp
# 4 x 2 of four colours; green is transparent.
echo 'P3 4 2 255  0 255 0  255 0 0  0 0 255  255 255 0  255 255 0  0 0 255  255 0 0  0 255 0' |
  convert ppm:- -strip -transparent lime gif:four.gif
