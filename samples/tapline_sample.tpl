;Created by Tovel Ver.0.24

;Header
#TITLE Twin Test
#ARTIST Mirkan Project
#GENRE Sample
#TEMPO 128
#BASETEMPO 128
#LEVEL1P 5
#LEVEL2P 9
#TAPLINE
#PLAYERS 2

#SOUND01 tap1.wav
#SOUND02 tap2.wav
;SOUND02 ‰EŽè
#SOUND0F tap3.wav
#SOUNDFF last.wav

#PICTURE00 black.bmp
#PICTUREA0 back.bmp
;PICTUREA0 ”wŒi


;Custom Long Measure
#0002LL:1.5


;BPM
#0000TT:80


;Part 1
#00001A:01010101
#00001W:00000200
#00011C:0F


;Part 2
#00012B:FF
#00012D:0002
#00022A:010101


;Part 88
#0000BA:A0


