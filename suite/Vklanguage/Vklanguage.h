#pragma once

/* The C interface of Vklanguage.dll, the suite's GB / Big5 text converter.
   The program loads the library by name and finds the two entry points by
   these names; both follow one protocol.

   Each converts Length bytes at Text (GB for GBtoBIG5, Big5 for BIG5toGB;
   no terminator needed) into the other encoding, mapping simplified
   character forms to traditional ones and back. Characters the target
   encoding cannot hold become "?". The result is written to Buffer, at most
   Size bytes and without a terminator; the return value is the full length
   of the result. A return value larger than Size means the result was cut:
   the caller asks again with a buffer of that size. A negative Length or
   Size, or a null pointer with a non-zero length, returns -1. */

#ifdef __cplusplus
extern "C" {
#endif

typedef long (*TVkLanguageConvert)(const char* text, long length, char* buffer, long size);

long GBtoBIG5(const char* text, long length, char* buffer, long size);
long BIG5toGB(const char* text, long length, char* buffer, long size);

#ifdef __cplusplus
}
#endif
