// Texts on the command line and on stdout carry C escapes (\n, \t, \\, \", \xHH), so that a
// shell script can pass and read a multi-line control text as one argument or one line.
#ifndef VFLASH_TESTS_WINE_UIAUTO_ESCAPE_H
#define VFLASH_TESTS_WINE_UIAUTO_ESCAPE_H

#include <string>

std::string Unescape(const std::string& text);
// Quoted and escaped: every byte outside printable ASCII as \xHH.
std::string Quote(const std::string& text);

#endif
