// Fixed-capacity text fields of the reference model. The capacity includes the
// terminating zero; longer input is cut so a field can never overflow.
#pragma once

#include <cstddef>
#include <cstring>

template <std::size_t N>
inline void CopyFixedText(char (&dst)[N], const char* src)
{
    static_assert(N > 0, "capacity must hold the terminating zero");
    if (!src) {
        dst[0] = '\0';
        return;
    }
    // A plain loop: strnlen with the capacity as bound trips GCC's over-read check
    // when the source is a shorter literal.
    std::size_t n = 0;
    while (n < N - 1 && src[n] != '\0')
        ++n;
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}
