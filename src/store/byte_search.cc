#include "store/byte_search.h"

#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Every add and delete searches whole driver files, tens of megabytes, for
// needles that are rarely there. Sixteen places at a time are tested for
// the needle's first and last byte together, which rules out nearly every
// place with one comparison each; memmem does the rest and stands in where
// SSE2 is missing.
const char* find_bytes(const char* from, const char* end,
                       std::string_view needle) {
  size_t size = end - from;
  size_t length = needle.size();
  if (length > size)
    return nullptr;
#if defined(__SSE2__)
  if (length >= 2) {
    const __m128i first = _mm_set1_epi8(needle.front());
    const __m128i last = _mm_set1_epi8(needle.back());
    size_t at = 0;
    // Both loads stay inside the bytes while a needle starting at any of
    // the sixteen places would.
    for (; at + length + 15 <= size; at += 16) {
      __m128i starts = _mm_loadu_si128(
          reinterpret_cast<const __m128i*>(from + at));
      __m128i ends = _mm_loadu_si128(
          reinterpret_cast<const __m128i*>(from + at + length - 1));
      unsigned candidates = _mm_movemask_epi8(_mm_and_si128(
          _mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last)));
      while (candidates != 0) {
        const char* place = from + at + __builtin_ctz(candidates);
        if (memcmp(place + 1, needle.data() + 1, length - 2) == 0)
          return place;
        candidates &= candidates - 1;
      }
    }
    from += at;
    size -= at;
  }
#endif
  return static_cast<const char*>(
      memmem(from, size, needle.data(), length));
}
