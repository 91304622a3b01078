// utf8.h -- UTF-8 as the standard defines it: the one check of whether bytes are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The length of the well-formed UTF-8 sequence at s (at most n bytes, n > 0) and its code point;
// 0 when the bytes there are not one: a stray continuation byte, a sequence cut short, an
// overlong form, a surrogate (U+D800-U+DFFF) or a value above U+10FFFF (F4 90 80 80).
size_t Utf8SequenceAt(const unsigned char* s, size_t n, uint32_t* c);
// Whether all n bytes at s are well-formed UTF-8.
bool IsUtf8(const char* s, size_t n);
// Appends the UTF-8 form of the code point c; what is no character (a surrogate, a value above
// U+10FFFF) is written as U+FFFD, so that the bytes are always UTF-8.
void AppendUtf8(uint32_t c, std::string* out);
