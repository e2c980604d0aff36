#!/bin/sh
# Draws the secondary windows' pictures with ImageMagick (`convert`), in the banner's colours:
#   AboutLogo.jpg     97 x 33  About window, bottom left: the program's word mark
#   AboutCompanion.jpg 97 x 33 About window, bottom right: the companion packer's mark
#   AboutQuill.bmp    73 x 65  About window, beside the product name: a quill on a note (24-bit)
#   Descriptions.jpg 300 x 75  Descriptions window, top: the window's title banner
# Run from anywhere: sh resources/pictures/make_pictures.sh
set -e
cd "$(dirname "$0")"
FONT=Liberation-Sans-Bold
FONT_PLAIN=Liberation-Sans
BLUE_TOP='#5d86c4'
BLUE_BOTTOM='#3b64a6'

convert -size 97x33 "gradient:$BLUE_TOP-$BLUE_BOTTOM" \
    -font "$FONT" -pointsize 15 -fill white -gravity center -annotate +0-2 'Quillet' \
    -font "$FONT_PLAIN" -pointsize 8 -fill '#dfe8f6' -gravity south -annotate +0+1 'notes & music' \
    -quality 92 AboutLogo.jpg

convert -size 97x33 'gradient:#7a9a5a-#4f7236' \
    -font "$FONT" -pointsize 14 -fill white -gravity center -annotate +0-2 'Nimbrel' \
    -font "$FONT_PLAIN" -pointsize 8 -fill '#e6efdc' -gravity south -annotate +0+1 'packer 1.4+' \
    -quality 92 AboutCompanion.jpg

# A sheet of lined paper with a quill across it.
convert -size 73x65 xc:'#a6caf0' \
    -fill white -stroke '#8a8a8a' -draw 'rectangle 10,6 56,58' \
    -stroke '#a6c0e6' -draw 'line 14,18 52,18' -draw 'line 14,26 52,26' \
    -draw 'line 14,34 52,34' -draw 'line 14,42 44,42' \
    -stroke '#2d4f8a' -strokewidth 3 -draw 'line 22,52 64,8' \
    -stroke none -fill '#5d86c4' -draw 'polygon 64,6 70,4 58,26 50,30' \
    -fill '#203a66' -draw 'polygon 20,56 24,50 26,53' \
    -type TrueColor BMP3:AboutQuill.bmp

convert -size 300x75 "gradient:$BLUE_TOP-$BLUE_BOTTOM" \
    -font "$FONT" -pointsize 26 -fill white -gravity west -annotate +14-10 'Quillet 3.2+' \
    -font "$FONT_PLAIN" -pointsize 12 -fill '#dfe8f6' -gravity west \
    -annotate +16+18 'What the program does and how to use it' \
    -stroke '#dfe8f6' -draw 'line 14,44 286,44' \
    -quality 92 Descriptions.jpg
