#pragma once

// The bytes of the built-in typeface's TrueType file, generated at build time from the installed font.
extern const unsigned char kFontData[];
