#pragma once

// Marks a span loop for a second build with AVX2, picked at load time where
// the processor has it. Both builds do the same IEEE arithmetic (no fused
// multiply-add: contraction is off), so they give the same bytes. Only GCC
// on x86-64 clones templates and members; elsewhere the plain build runs.
// ThreadSanitizer builds go without: the load-time picker would run its
// instrumented code before the sanitizer has started.

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define MTL_SPAN_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define MTL_SPAN_CLONES
#endif
