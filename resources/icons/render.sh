#!/bin/sh
# SPDX-License-Identifier: MIT
# Renders the hand-drawn SVG sources in this folder to the PNGs that icons.qrc
# embeds. Needs rsvg-convert (Debian package librsvg2-bin). The PNGs are
# committed, so building the program does not need this script.
set -eu
cd "$(dirname "$0")"

for name in passwd userinfo syncdate dataimport mydata chart overview about; do
  rsvg-convert -w 48 -h 48 -o "$name.png" "$name.svg"
done
rsvg-convert -w 400 -h 113 -o mainpicture.png mainpicture.svg
rsvg-convert -w 48 -h 48 -o body-fat-scale-48.png body-fat-scale.svg
rsvg-convert -w 128 -h 128 -o body-fat-scale-128.png body-fat-scale.svg
