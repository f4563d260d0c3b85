/* A small iconv for the Windows build of libxml2 (Debian ships no MinGW
 * iconv). It converts between UTF-8 and the single-byte Windows code pages
 * libxml2 does not decode itself, Windows-1252 above all, and the ISO-8859
 * code pages (ISO-8859-15 among them) through the
 * system's own code page tables (MultiByteToWideChar/WideCharToMultiByte).
 * Other encodings are refused at iconv_open, as an iconv without them would. */
#ifndef VARNEL_WINDOWS_ICONV_H
#define VARNEL_WINDOWS_ICONV_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* iconv_t;

iconv_t iconv_open(const char* to_code, const char* from_code);
size_t iconv(iconv_t cd, char** in, size_t* in_left, char** out, size_t* out_left);
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif

#endif
