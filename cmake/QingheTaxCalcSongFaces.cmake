# The Song face of code page 936 under the names it goes by, in the order
# the window asks for them: Windows' 宋体 and SimSun, and AR PL SungtiL GB
# of Debian's fonts-arphic-gbsn00lp, which measures the same. The window's
# fonts (ui/look/Fonts.cpp, through the generated ui/SongFaces.h), the start-up
# benchmark's bare dialog and the package's font check all read this list.
set(QINGHE_SONG_FACES "宋体" "SimSun" "AR PL SungtiL GB")
