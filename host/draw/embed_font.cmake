# cmake -DINPUT=font.ttf -DOUTPUT=font_data.cpp -P embed_font.cmake: the font file as a C++ byte array.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "#include \"host/draw/font_data.h\"\n\nconst unsigned char kFontData[] = {${bytes}};\n")
