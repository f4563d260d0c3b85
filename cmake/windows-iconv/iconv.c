/* The small iconv of iconv.h. A converter holds the code page's 256 bytes
 * as Unicode code points (decoding) and, for encoding, finds a code point's
 * byte through the same table; a byte the code page leaves undefined, or a
 * character it lacks, is EILSEQ (no best fit: the caller decides), an
 * incomplete UTF-8 sequence at the end of the input is EINVAL, a full output
 * buffer is E2BIG, as iconv documents. */
#include "iconv.h"

#include <ctype.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

struct converter {
  int to_utf8; /* 1: code page -> UTF-8; 0: UTF-8 -> code page */
  unsigned code_point[256]; /* 0xFFFFFFFF: byte undefined in the code page */
};

static int is_utf8(const char* name) {
  char lower[32];
  size_t i = 0;
  for (; name[i] != '\0' && i + 1 < sizeof lower; ++i) lower[i] = (char)tolower((unsigned char)name[i]);
  lower[i] = '\0';
  return strcmp(lower, "utf-8") == 0 || strcmp(lower, "utf8") == 0;
}

/* The Windows code page a name stands for; 0 for none supported here. */
static UINT code_page_of(const char* name) {
  char lower[32];
  size_t i = 0;
  for (; name[i] != '\0' && i + 1 < sizeof lower; ++i) lower[i] = (char)tolower((unsigned char)name[i]);
  lower[i] = '\0';
  const char* digits = NULL;
  UINT offset = 0;
  if (strncmp(lower, "windows-", 8) == 0) digits = lower + 8;
  else if (strncmp(lower, "cp", 2) == 0) digits = lower + 2;
  /* ISO-8859-n, which libxml2 leaves to iconv when it has one (an audit
   * file of another program may be ISO-8859-15): Windows' code page 28590+n. */
  else if (strncmp(lower, "iso-8859-", 9) == 0 || strncmp(lower, "iso_8859-", 9) == 0) {
    digits = lower + 9;
    offset = 28590;
  }
  if (digits == NULL || *digits == '\0') return 0;
  for (const char* d = digits; *d; ++d) {
    if (!isdigit((unsigned char)*d)) return 0;
  }
  const UINT page = (UINT)atoi(digits) + offset;
  CPINFO info;
  if (!GetCPInfo(page, &info) || info.MaxCharSize != 1) return 0;
  return page;
}

iconv_t iconv_open(const char* to_code, const char* from_code) {
  int to_utf8;
  UINT page;
  if (is_utf8(to_code) && (page = code_page_of(from_code)) != 0) to_utf8 = 1;
  else if (is_utf8(from_code) && (page = code_page_of(to_code)) != 0) to_utf8 = 0;
  else {
    errno = EINVAL;
    return (iconv_t)-1;
  }
  struct converter* c = (struct converter*)malloc(sizeof *c);
  if (c == NULL) {
    errno = ENOMEM;
    return (iconv_t)-1;
  }
  c->to_utf8 = to_utf8;
  for (unsigned b = 0; b < 256; ++b) {
    char byte = (char)b;
    WCHAR wide[2];
    const int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, &byte, 1, wide, 2);
    c->code_point[b] = n == 1 ? (unsigned)wide[0] : 0xFFFFFFFFu;
  }
  return (iconv_t)c;
}

static size_t utf8_length(unsigned cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : 3; }

size_t iconv(iconv_t cd, char** in, size_t* in_left, char** out, size_t* out_left) {
  struct converter* c = (struct converter*)cd;
  if (in == NULL || *in == NULL) return 0; /* no shift state to reset */
  while (*in_left > 0) {
    const unsigned char* p = (const unsigned char*)*in;
    if (c->to_utf8) {
      const unsigned cp = c->code_point[*p];
      if (cp == 0xFFFFFFFFu) { errno = EILSEQ; return (size_t)-1; }
      const size_t need = utf8_length(cp);
      if (*out_left < need) { errno = E2BIG; return (size_t)-1; }
      unsigned char* o = (unsigned char*)*out;
      if (need == 1) o[0] = (unsigned char)cp;
      else if (need == 2) { o[0] = (unsigned char)(0xC0 | (cp >> 6)); o[1] = (unsigned char)(0x80 | (cp & 0x3F)); }
      else {
        o[0] = (unsigned char)(0xE0 | (cp >> 12));
        o[1] = (unsigned char)(0x80 | ((cp >> 6) & 0x3F));
        o[2] = (unsigned char)(0x80 | (cp & 0x3F));
      }
      *out += need; *out_left -= need; *in += 1; *in_left -= 1;
      continue;
    }
    /* UTF-8 -> code page */
    size_t length = *p < 0x80 ? 1 : (*p >> 5) == 0x6 ? 2 : (*p >> 4) == 0xE ? 3 : (*p >> 3) == 0x1E ? 4 : 0;
    if (length == 0) { errno = EILSEQ; return (size_t)-1; }
    if (*in_left < length) { errno = EINVAL; return (size_t)-1; }
    unsigned cp = length == 1 ? *p : length == 2 ? (*p & 0x1Fu) : length == 3 ? (*p & 0x0Fu) : (*p & 0x07u);
    for (size_t i = 1; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80) { errno = EILSEQ; return (size_t)-1; }
      cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    int found = -1;
    for (unsigned b = 0; b < 256 && found < 0; ++b) {
      if (c->code_point[b] == cp) found = (int)b;
    }
    if (found < 0) { errno = EILSEQ; return (size_t)-1; }
    if (*out_left < 1) { errno = E2BIG; return (size_t)-1; }
    **out = (char)found;
    *out += 1; *out_left -= 1; *in += length; *in_left -= length;
  }
  return 0;
}

int iconv_close(iconv_t cd) {
  free(cd);
  return 0;
}
