#pragma once

// Entry points of libAES.so. Both write a zero-terminated text into `output` (of `size`
// bytes, the terminator included) and return its length, or write an empty text and
// return -1 when they cannot: a missing argument, a result that does not fit, or, when
// deciphering, a value that is damaged or was enciphered with another key.
//
// The enciphered form is base64 (no line breaks) of a 12-byte random IV, the AES-256-GCM
// ciphertext and its 16-byte tag; the AES key is the SHA-256 digest of `key`.
#if defined(__GNUC__)
#define KV_AES_EXPORT __attribute__((visibility("default")))
#else
#define KV_AES_EXPORT
#endif

extern "C" {
KV_AES_EXPORT int AesEncrypt(const char* input, char* output, int size, const char* key);
KV_AES_EXPORT int AesDecrypt(const char* input, char* output, int size, const char* key);
}

// The type of both entry points, for callers that look them up by name.
using AesFunction = int (*)(const char* input, char* output, int size, const char* key);
