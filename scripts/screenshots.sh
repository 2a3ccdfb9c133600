#!/usr/bin/env bash
# Pictures of the main window and the plot windows after steps 1 to 7 on the sample spectra,
# taken on a virtual display (Xvfb): shots/main.png, ww.png, std.png, pro.png, ccf.png,
# bf_centroid.png, bf_gauss.png, the viewers hdr_std.png, hdr_pro.png, data_std.png, data_pro.png,
# a keyword window, key1.png, and help_long.png, help_short.png, about.png; the BF window printed
# with no printer installed to shots/bf.pdf, and that PDF's page as bf_pdf.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja
cmake --build build --target tessan-samples tessan-shots
mkdir -p samples shots
build/tools/tessan-samples samples
xvfb-run -a -s '-screen 0 1600x1200x24' build/tools/tessan-shots samples shots
pdftoppm -png -r 96 -singlefile shots/bf.pdf shots/bf_pdf
echo "Pictures in $PWD/shots"
