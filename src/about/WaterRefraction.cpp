// SPDX-License-Identifier: MIT
#include "about/WaterRefraction.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define BFS_WATER_WIDE_VECTORS 1
#endif

namespace {

inline std::int32_t Sub32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

inline std::uint8_t ClampByte(int value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// byte - shade limited to 0..255, looked up as ShadeTable()[255 + byte - shade] for shades
// already limited to -255..255 (a larger shade gives the same result as 255).
const std::array<std::uint8_t, 766>& ShadeTable() {
    static const auto table = [] {
        std::array<std::uint8_t, 766> values{};
        for (int i = 0; i < 766; ++i)
            values[static_cast<std::size_t>(i)] = ClampByte(i - 255);
        return values;
    }();
    return table;
}

// x + dx and y + dy are compared as unsigned 32-bit numbers: the true sums lie between -2^31
// and 2^31 + 2^16, so every sum outside 0 .. size - 1 compares as too large. A sample outside
// the picture becomes the unshaded pixel (x, y) itself; no branch decides that.
inline void Pixel(const TRefractionRow& row, const std::uint8_t* shadeTable, int x, int xl, int xr) {
    const std::int32_t dx = Sub32(row.Mid[xl], row.Mid[xr]);
    const std::int32_t dy = Sub32(row.Up[x], row.Down[x]);
    const std::uint32_t sx = static_cast<std::uint32_t>(x) + static_cast<std::uint32_t>(dx);
    const std::uint32_t sy = static_cast<std::uint32_t>(row.Y) + static_cast<std::uint32_t>(dy);
    const bool inside =
        sx < static_cast<std::uint32_t>(row.Width) && sy < static_cast<std::uint32_t>(row.Height);
    const std::ptrdiff_t column = inside ? static_cast<std::ptrdiff_t>(sx) : x;
    const int sampleRow = inside ? static_cast<int>(sy) : row.Y;
    const int shade = inside ? std::clamp(dx, -255, 255) : 0;
    const std::uint8_t* in = row.SourceRows[sampleRow] + 3 * column;
    const std::uint8_t* shaded = shadeTable + 255 - shade;
    std::uint8_t* out = row.Target + 3 * static_cast<std::ptrdiff_t>(x);
    out[0] = shaded[in[0]];
    out[1] = shaded[in[1]];
    out[2] = shaded[in[2]];
}

// True when the four cells from x have no slope: left and right neighbours equal, and the ones
// above and below equal, so the four pixels are plain copies of the source.
inline bool CalmRun(const TRefractionRow& row, int x) {
    std::int32_t slopes = 0;
    for (int k = 0; k < 4; ++k)
        slopes |= (row.Mid[x + k - 1] ^ row.Mid[x + k + 1]) | (row.Up[x + k] ^ row.Down[x + k]);
    return slopes == 0;
}

inline void CopyFour(const TRefractionRow& row, int x) {
    std::memcpy(row.Target + 3 * static_cast<std::ptrdiff_t>(x),
                row.SourceRows[row.Y] + 3 * static_cast<std::ptrdiff_t>(x), 12);
}

#ifdef __SSE2__
inline __m128i Select(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

inline std::uint32_t Load32(const std::uint8_t* bytes) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, 4);
    return value;
}

// Four pixels side by side: their slopes, samples and shades in 32-bit lanes, each sample fetched
// as one 4-byte load, the shading done with saturating byte arithmetic, and the twelve bytes
// written with two stores.
class TRefractFour {
public:
    explicit TRefractFour(const TRefractionRow& row)
        : row_(row), widthLimit_(_mm_set1_epi32(
                         static_cast<std::int32_t>(static_cast<std::uint32_t>(row.Width) ^ 0x80000000u))),
          heightLimit_(_mm_set1_epi32(
              static_cast<std::int32_t>(static_cast<std::uint32_t>(row.Height) ^ 0x80000000u))),
          rowY_(_mm_set1_epi32(row.Y)), lastColumn_(_mm_set1_epi32(row.Width - 1)) {}

    void Draw(int x) const {
        const __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row_.Mid + x - 1));
        const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row_.Mid + x + 1));
        const __m128i above = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row_.Up + x));
        const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row_.Down + x));
        const __m128i slopes = _mm_or_si128(_mm_xor_si128(left, right), _mm_xor_si128(above, below));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(slopes, _mm_setzero_si128())) == 0xFFFF) {
            CopyFour(row_, x);
            return;
        }
        const __m128i columnX = _mm_add_epi32(_mm_set1_epi32(x), _mm_setr_epi32(0, 1, 2, 3));
        const __m128i dx = _mm_sub_epi32(left, right);
        const __m128i dy = _mm_sub_epi32(above, below);
        // unsigned a < b as signed (a ^ 2^31) < (b ^ 2^31)
        const __m128i sign = _mm_set1_epi32(INT32_MIN);
        const __m128i inside =
            _mm_and_si128(_mm_cmplt_epi32(_mm_xor_si128(_mm_add_epi32(columnX, dx), sign), widthLimit_),
                          _mm_cmplt_epi32(_mm_xor_si128(_mm_add_epi32(rowY_, dy), sign), heightLimit_));
        // Outside the picture the slopes count as 0: the sample is the pixel itself, unshaded.
        const __m128i shade = _mm_and_si128(inside, dx);
        const __m128i column = _mm_add_epi32(columnX, shade);

        // A pixel's 4-byte load takes the byte after it along, except in the last column, whose
        // load starts a byte early (the pictures' rows have at least 5 pixels here); that lane is
        // shifted down afterwards. -1 in lastColumn is that byte's offset.
        const __m128i lastColumn = _mm_cmpeq_epi32(column, lastColumn_);
        alignas(16) std::int32_t offsets[4];
        alignas(16) std::int32_t rows[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(offsets),
                        _mm_add_epi32(_mm_add_epi32(column, _mm_add_epi32(column, column)), lastColumn));
        _mm_store_si128(reinterpret_cast<__m128i*>(rows), _mm_add_epi32(rowY_, _mm_and_si128(inside, dy)));
        const auto sample = [&](int k) {
            return static_cast<std::int32_t>(Load32(row_.SourceRows[rows[k]] + offsets[k]));
        };
        __m128i pixels = _mm_setr_epi32(sample(0), sample(1), sample(2), sample(3));
        pixels = Select(lastColumn, _mm_srli_epi32(pixels, 8), pixels);

        // byte - shade limited to 0..255 is byte + brighten - darken with saturation, where one of
        // brighten = max(-shade, 0) and darken = max(shade, 0) is 0. A sample inside the picture
        // has |dx| < Width, so negating the shade cannot overflow.
        const __m128i zero = _mm_setzero_si128();
        const __m128i opposite = _mm_sub_epi32(zero, shade);
        const __m128i darken = _mm_and_si128(shade, _mm_cmpgt_epi32(shade, zero));
        const __m128i brighten = _mm_and_si128(opposite, _mm_cmpgt_epi32(opposite, zero));
        // Signed packing limits to 32767, unsigned packing then to 255: d0..d3 b0..b3 as bytes.
        const __m128i shadeBytes = _mm_packus_epi16(_mm_packs_epi32(darken, brighten), zero);
        const __m128i pairs = _mm_unpacklo_epi8(shadeBytes, shadeBytes);
        const __m128i darkenBytes = _mm_unpacklo_epi16(pairs, pairs);
        const __m128i brightenBytes = _mm_unpackhi_epi16(pairs, pairs);
        const __m128i shaded = _mm_subs_epu8(_mm_adds_epu8(pixels, brightenBytes), darkenBytes);

        // Lanes a b c d of 3 bytes and a spare byte each become the bytes a b c d without gaps:
        // first a b and c d in each 64-bit half, then the two halves joined.
        const __m128i evenLanes = _mm_set_epi32(0, 0x00FFFFFF, 0, 0x00FFFFFF);
        const __m128i oddLanes = _mm_set_epi32(0x00FFFFFF, 0, 0x00FFFFFF, 0);
        const __m128i halves = _mm_or_si128(_mm_and_si128(shaded, evenLanes),
                                            _mm_srli_epi64(_mm_and_si128(shaded, oddLanes), 8));
        const __m128i first8 = _mm_or_si128(halves, _mm_slli_epi64(_mm_srli_si128(halves, 8), 48));
        const auto last4 = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(halves, 10)));
        std::uint8_t* out = row_.Target + 3 * static_cast<std::ptrdiff_t>(x);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), first8);
        std::memcpy(out + 8, &last4, 4);
    }

private:
    const TRefractionRow& row_;
    __m128i widthLimit_;
    __m128i heightLimit_;
    __m128i rowY_;
    __m128i lastColumn_;
};
#endif

#ifdef BFS_WATER_WIDE_VECTORS
// Eight pixels at a time, compiled for AVX2 and run only where the processor has it. The same
// steps as TRefractFour, with the eight samples fetched by one gather from 32-bit offsets to the
// source's row 0 (see OffsetsFit). Returns the column where it stopped.
__attribute__((target("avx2"))) int RefractEights(const TRefractionRow& row, int x, int end) {
    const __m256i sign = _mm256_set1_epi32(INT32_MIN);
    const __m256i widthLimit =
        _mm256_set1_epi32(static_cast<std::int32_t>(static_cast<std::uint32_t>(row.Width) ^ 0x80000000u));
    const __m256i heightLimit =
        _mm256_set1_epi32(static_cast<std::int32_t>(static_cast<std::uint32_t>(row.Height) ^ 0x80000000u));
    const __m256i rowY = _mm256_set1_epi32(row.Y);
    const __m256i lastColumn = _mm256_set1_epi32(row.Width - 1);
    const __m256i rowDistance = _mm256_set1_epi32(static_cast<std::int32_t>(row.SourceRowDistance));
    const __m256i brightest = _mm256_set1_epi32(255);
    const __m256i darkest = _mm256_set1_epi32(-255);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    // The low byte of each 32-bit lane into all four bytes of the lane.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12, //
                                            0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
    // The three bytes of each lane without gaps at the start of each 128-bit half, then the two
    // halves' twelve bytes joined.
    const __m256i squeeze = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, //
                                             0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    // Copies of the row's pointers: the stores into the target may alias anything else.
    const int* row0 = reinterpret_cast<const int*>(row.SourceRow0);
    const std::uint8_t* ownRow = row.SourceRows[row.Y];
    const std::int32_t* up = row.Up;
    const std::int32_t* mid = row.Mid;
    const std::int32_t* down = row.Down;
    std::uint8_t* target = row.Target;
    for (; x + 8 <= end; x += 8) {
        const __m256i left = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mid + x - 1));
        const __m256i right = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mid + x + 1));
        const __m256i above = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(up + x));
        const __m256i below = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(down + x));
        const __m256i slopes = _mm256_or_si256(_mm256_xor_si256(left, right), _mm256_xor_si256(above, below));
        std::uint8_t* out = target + 3 * static_cast<std::ptrdiff_t>(x);
        if (_mm256_testz_si256(slopes, slopes)) {
            std::memcpy(out, ownRow + 3 * static_cast<std::ptrdiff_t>(x), 24);
            continue;
        }
        const __m256i columnX = _mm256_add_epi32(_mm256_set1_epi32(x), lanes);
        const __m256i dx = _mm256_sub_epi32(left, right);
        const __m256i dy = _mm256_sub_epi32(above, below);
        const __m256i inside = _mm256_and_si256(
            _mm256_cmpgt_epi32(widthLimit, _mm256_xor_si256(_mm256_add_epi32(columnX, dx), sign)),
            _mm256_cmpgt_epi32(heightLimit, _mm256_xor_si256(_mm256_add_epi32(rowY, dy), sign)));
        const __m256i shiftX = _mm256_and_si256(inside, dx);
        const __m256i column = _mm256_add_epi32(columnX, shiftX);
        const __m256i sampleRow = _mm256_add_epi32(rowY, _mm256_and_si256(inside, dy));
        const __m256i last = _mm256_cmpeq_epi32(column, lastColumn);
        const __m256i offsets =
            _mm256_add_epi32(_mm256_add_epi32(_mm256_mullo_epi32(sampleRow, rowDistance),
                                              _mm256_add_epi32(column, _mm256_add_epi32(column, column))),
                             last);
        __m256i pixels = _mm256_i32gather_epi32(row0, offsets, 1);
        pixels = _mm256_blendv_epi8(pixels, _mm256_srli_epi32(pixels, 8), last);

        const __m256i shade = _mm256_min_epi32(_mm256_max_epi32(shiftX, darkest), brightest);
        const __m256i darken = _mm256_max_epi32(shade, zero);
        const __m256i brighten = _mm256_sub_epi32(darken, shade);
        const __m256i shaded =
            _mm256_subs_epu8(_mm256_adds_epu8(pixels, _mm256_shuffle_epi8(brighten, spread)),
                             _mm256_shuffle_epi8(darken, spread));
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(shaded, squeeze), join);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(packed, 1));
    }
    return x;
}

// GCC 12 takes the deliberately undefined start values inside some AVX-512 intrinsics for
// uninitialised variables.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// Sixteen pixels at a time with AVX-512, the same steps again, where masks choose the lanes
// that sample inside the picture or lie in its last column, and one masked store writes the 48
// bytes.
__attribute__((target("avx512f,avx512bw"))) int RefractSixteens(const TRefractionRow& row, int x, int end) {
    const __m512i widthBound = _mm512_set1_epi32(row.Width);
    const __m512i heightBound = _mm512_set1_epi32(row.Height);
    const __m512i rowY = _mm512_set1_epi32(row.Y);
    const __m512i lastColumn = _mm512_set1_epi32(row.Width - 1);
    const __m512i rowDistance = _mm512_set1_epi32(static_cast<std::int32_t>(row.SourceRowDistance));
    const __m512i brightest = _mm512_set1_epi32(255);
    const __m512i darkest = _mm512_set1_epi32(-255);
    const __m512i zero = _mm512_setzero_si512();
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512i spread =
        _mm512_broadcast_i32x4(_mm_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12));
    const __m512i squeeze =
        _mm512_broadcast_i32x4(_mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    const __m512i join = _mm512_setr_epi32(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 3, 7, 11, 15);
    const __mmask16 twelveLanes = 0x0FFF;
    const void* row0 = row.SourceRow0;
    const std::uint8_t* ownRow = row.SourceRows[row.Y];
    const std::int32_t* up = row.Up;
    const std::int32_t* mid = row.Mid;
    const std::int32_t* down = row.Down;
    std::uint8_t* target = row.Target;
    for (; x + 16 <= end; x += 16) {
        const __m512i left = _mm512_loadu_si512(mid + x - 1);
        const __m512i right = _mm512_loadu_si512(mid + x + 1);
        const __m512i above = _mm512_loadu_si512(up + x);
        const __m512i below = _mm512_loadu_si512(down + x);
        const __m512i slopes = _mm512_or_si512(_mm512_xor_si512(left, right), _mm512_xor_si512(above, below));
        std::uint8_t* out = target + 3 * static_cast<std::ptrdiff_t>(x);
        if (_mm512_test_epi32_mask(slopes, slopes) == 0) {
            std::memcpy(out, ownRow + 3 * static_cast<std::ptrdiff_t>(x), 48);
            continue;
        }
        const __m512i columnX = _mm512_add_epi32(_mm512_set1_epi32(x), lanes);
        const __m512i dx = _mm512_sub_epi32(left, right);
        const __m512i dy = _mm512_sub_epi32(above, below);
        const __mmask16 inside =
            _mm512_mask_cmplt_epu32_mask(_mm512_cmplt_epu32_mask(_mm512_add_epi32(columnX, dx), widthBound),
                                         _mm512_add_epi32(rowY, dy), heightBound);
        const __m512i shiftX = _mm512_maskz_mov_epi32(inside, dx);
        const __m512i column = _mm512_add_epi32(columnX, shiftX);
        const __m512i sampleRow = _mm512_mask_add_epi32(rowY, inside, rowY, dy);
        const __mmask16 last = _mm512_cmpeq_epi32_mask(column, lastColumn);
        __m512i offsets = _mm512_add_epi32(_mm512_mullo_epi32(sampleRow, rowDistance),
                                           _mm512_add_epi32(column, _mm512_add_epi32(column, column)));
        offsets = _mm512_mask_sub_epi32(offsets, last, offsets, one);
        __m512i pixels = _mm512_i32gather_epi32(offsets, row0, 1);
        pixels = _mm512_mask_srli_epi32(pixels, last, pixels, 8);

        const __m512i shade = _mm512_min_epi32(_mm512_max_epi32(shiftX, darkest), brightest);
        const __m512i darken = _mm512_max_epi32(shade, zero);
        const __m512i brighten = _mm512_sub_epi32(darken, shade);
        const __m512i shaded =
            _mm512_subs_epu8(_mm512_adds_epu8(pixels, _mm512_shuffle_epi8(brighten, spread)),
                             _mm512_shuffle_epi8(darken, spread));
        const __m512i packed = _mm512_permutexvar_epi32(join, _mm512_shuffle_epi8(shaded, squeeze));
        _mm512_mask_storeu_epi32(out, twelveLanes, packed);
    }
    return x;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

bool HasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return has;
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

// Whether every sample lies within 32-bit offsets of the source's row 0.
bool OffsetsFit(const TRefractionRow& row) {
    const std::ptrdiff_t reach = std::max<std::ptrdiff_t>(std::abs(row.SourceRowDistance), 3 * row.Width);
    return row.Height > 0 && reach <= INT32_MAX / row.Height;
}

} // namespace

void RefractPixel(const TRefractionRow& row, int x, int xl, int xr) {
    Pixel(row, ShadeTable().data(), x, xl, xr);
}

bool KernelAvailable(TRefractionKernel kernel) {
    switch (kernel) {
    case TRefractionKernel::Avx512:
#ifdef BFS_WATER_WIDE_VECTORS
        return HasAvx512();
#else
        return false;
#endif
    case TRefractionKernel::Avx2:
#ifdef BFS_WATER_WIDE_VECTORS
        return HasAvx2();
#else
        return false;
#endif
    case TRefractionKernel::Sse2:
#ifdef __SSE2__
        return true;
#else
        return false;
#endif
    case TRefractionKernel::Portable:
        return true;
    }
    return false;
}

void RefractInterior(const TRefractionRow& row, int from, int end) {
    RefractInterior(row, from, end, TRefractionKernel::Avx512);
}

void RefractInterior(const TRefractionRow& row, int from, int end, TRefractionKernel kernel) {
    int x = from;
#ifdef BFS_WATER_WIDE_VECTORS
    const bool wide = kernel == TRefractionKernel::Avx512 || kernel == TRefractionKernel::Avx2;
    if (wide && OffsetsFit(row)) {
        if (kernel == TRefractionKernel::Avx512 && HasAvx512())
            x = RefractSixteens(row, x, end);
        if (HasAvx2())
            x = RefractEights(row, x, end);
    }
#endif
    const std::uint8_t* shadeTable = ShadeTable().data();
#ifdef __SSE2__
    if (kernel != TRefractionKernel::Portable) {
        const TRefractFour four(row);
        for (; x + 4 <= end; x += 4)
            four.Draw(x);
    }
#endif
    // Calm cells come in runs even where the water moves: four of them are a plain copy.
    for (; x + 4 <= end; x += 4) {
        if (CalmRun(row, x)) {
            CopyFour(row, x);
        } else {
            for (int k = x; k < x + 4; ++k)
                Pixel(row, shadeTable, k, k - 1, k + 1);
        }
    }
    for (; x < end; ++x)
        Pixel(row, shadeTable, x, x - 1, x + 1);
}
