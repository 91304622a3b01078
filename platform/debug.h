// debug.h -- the debug ASSERT and TRACE: a broken invariant names its source file and line.
#pragma once

[[noreturn]] void AssertFailed(const char* file, int line, const char* expr);
void Trace(const char* text);

#ifndef NDEBUG
#define ASSERT(expr) ((expr) ? (void)0 : AssertFailed(__FILE__, __LINE__, #expr))
#define TRACE(text) Trace(text)
#else
#define ASSERT(expr) ((void)0)
#define TRACE(text) ((void)0)
#endif
