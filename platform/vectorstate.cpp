#include "platform/vectorstate.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {
// Compiled for AVX on its own, so the rest of the program keeps its baseline;
// called only once the processor is known to have AVX.
__attribute__((target("avx"))) void zeroUpper() { _mm256_zeroupper(); }

bool haveAvx()
{
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return avx;
}
} // namespace

void ClearUpperVectorState()
{
    if (haveAvx()) zeroUpper();
}
#else
void ClearUpperVectorState() {}
#endif
