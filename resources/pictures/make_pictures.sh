#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Quillet developers

# Draws the windows' pictures with ImageMagick (`convert`), in the banner's colours, each at its
# size in the layout and again at twice that size (NAME@2x.ext) for high-density screens:
#   Banner.jpg        673 x 33  main window, top: the program's title bar
#   Picture2.bmp      249 x 65  main window, bottom right: the word mark with quill and music
#   AboutLogo.jpg      97 x 33  About window, bottom left: the program's word mark
#   AboutCompanion.jpg 97 x 33  About window, bottom right: the companion packer's mark
#   AboutQuill.bmp     73 x 65  About window, beside the product name: a quill on a note (24-bit)
#   Descriptions.jpg  300 x 75  Descriptions window, top: the window's title banner
# Run from anywhere: sh resources/pictures/make_pictures.sh
set -e
cd "$(dirname "$0")"
FONT=Liberation-Sans-Bold
FONT_PLAIN=Liberation-Sans
FONT_ITALIC=Liberation-Sans-Italic
BLUE_TOP='#5d86c4'
BLUE_BOTTOM='#3b64a6'
INK='#1d3c78'

# Every number in $1 times the scale $S: one recipe serves both sizes. Angles stay outside it.
s() { printf '%s' "$1" | perl -pe "s/(\d+(?:\.\d+)?)/\$1*$S/ge"; }

draw() {
  S=$1
  X=$2

  convert -size "$(s 673x33)" 'gradient:#4c6494-#6da5d8' \
      -font "$FONT" -pointsize "$(s 19)" -fill white -gravity west -annotate "$(s +14+0)" 'Quillet 3.2+' \
      -stroke '#e8eef8' -strokewidth "$S" -draw "$(s 'line 151,7 151,26')" -stroke none \
      -font "$FONT_ITALIC" -pointsize "$(s 13)" -fill '#dfe8f6' -gravity west \
      -annotate "$(s +160+1)" 'notes · files · music · colours' \
      -quality 92 "Banner$X.jpg"

  convert -size "$(s 249x65)" 'gradient:#f2f7fe-#c0d6f1' \
      -fill none -stroke "$INK" -strokewidth "$(s 1.5)" -draw "$(s 'roundrectangle 1,1 247,63 6,6')" \
      -stroke none -fill "$INK" -draw "$(s 'translate 36,33') rotate -60 $(s 'ellipse 0,0 30,7') 0,360" \
      -stroke "$INK" -strokewidth "$S" -draw "$(s 'line 14,58 22,48')" -stroke none \
      -font "$FONT" -pointsize "$(s 20)" -fill "$INK" -gravity northwest -annotate "$(s +70+9)" 'Quillet' \
      -font "$FONT_PLAIN" -pointsize "$(s 11)" -fill '#4a6a9a' -annotate "$(s +70+38)" \
      'write · browse · listen' \
      -fill '#2f5ea8' -draw "$(s 'ellipse 205,46 5,4') 0,360" -draw "$(s 'ellipse 225,42 5,4') 0,360" \
      -stroke '#2f5ea8' -strokewidth "$(s 1.5)" -draw "$(s 'line 209,46 209,21')" \
      -draw "$(s 'line 229,42 229,17')" -strokewidth "$(s 2)" -draw "$(s 'line 209,21 229,17')" \
      -type TrueColor "BMP3:Picture2$X.bmp"

  convert -size "$(s 97x33)" "gradient:$BLUE_TOP-$BLUE_BOTTOM" \
      -font "$FONT" -pointsize "$(s 15)" -fill white -gravity center -annotate "$(s +0-2)" 'Quillet' \
      -font "$FONT_PLAIN" -pointsize "$(s 8)" -fill '#dfe8f6' -gravity south -annotate "$(s +0+1)" \
      'notes & music' \
      -quality 92 "AboutLogo$X.jpg"

  convert -size "$(s 97x33)" 'gradient:#7a9a5a-#4f7236' \
      -font "$FONT" -pointsize "$(s 14)" -fill white -gravity center -annotate "$(s +0-2)" 'Nimbrel' \
      -font "$FONT_PLAIN" -pointsize "$(s 8)" -fill '#e6efdc' -gravity south -annotate "$(s +0+1)" \
      'packer 1.4+' \
      -quality 92 "AboutCompanion$X.jpg"

  # A sheet of lined paper with a quill across it.
  convert -size "$(s 73x65)" xc:'#a6caf0' \
      -fill white -stroke '#8a8a8a' -strokewidth "$S" -draw "$(s 'rectangle 10,6 56,58')" \
      -stroke '#a6c0e6' -draw "$(s 'line 14,18 52,18')" -draw "$(s 'line 14,26 52,26')" \
      -draw "$(s 'line 14,34 52,34')" -draw "$(s 'line 14,42 44,42')" \
      -stroke '#2d4f8a' -strokewidth "$(s 3)" -draw "$(s 'line 22,52 64,8')" \
      -stroke none -fill "$BLUE_TOP" -draw "$(s 'polygon 64,6 70,4 58,26 50,30')" \
      -fill '#203a66' -draw "$(s 'polygon 20,56 24,50 26,53')" \
      -type TrueColor "BMP3:AboutQuill$X.bmp"

  convert -size "$(s 300x75)" "gradient:$BLUE_TOP-$BLUE_BOTTOM" \
      -font "$FONT" -pointsize "$(s 26)" -fill white -gravity west -annotate "$(s +14-10)" \
      'Quillet 3.2+' \
      -font "$FONT_PLAIN" -pointsize "$(s 12)" -fill '#dfe8f6' -gravity west \
      -annotate "$(s +16+18)" 'What the program does and how to use it' \
      -stroke '#dfe8f6' -strokewidth "$S" -draw "$(s 'line 14,44 286,44')" \
      -quality 92 "Descriptions$X.jpg"
}

draw 1 ''
draw 2 '@2x'
