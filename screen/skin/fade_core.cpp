#include "fade_core.h"

#include <cstring>


namespace fade {

namespace {

std::uint32_t Channel(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

std::uint32_t Blend(std::uint32_t weight, std::uint32_t target, std::uint32_t start) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t c =
        (weight * Channel(target, shift) + (255 - weight) * Channel(start, shift)) >> 8;
    out |= c << shift;
  }
  return out;
}

void FadeWithWeight(const std::uint32_t* source, std::uint32_t* out, std::size_t count,
                    std::uint32_t k, const ToneTable& table) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = source[i];
    const std::uint32_t b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
    const std::uint32_t tone = table.entries[(54 * r + 182 * g + 19 * b) >> 8];
    const std::uint32_t nb = (b * (255 - k) + (tone & 0xFF) * k) >> 8;
    const std::uint32_t ng = (g * (255 - k) + ((tone >> 8) & 0xFF) * k) >> 8;
    const std::uint32_t nr = (r * (255 - k) + ((tone >> 16) & 0xFF) * k) >> 8;
    out[i] = nb | ng << 8 | nr << 16;
  }
}

bool IsStraightBlend(const ToneTable& table) {
  for (std::uint32_t i = 0; i < 256; ++i)
    if (table.entries[i] != Blend(i, table.target, table.start)) return false;
  return true;
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define PIO_FADE_VECTORS 1
// The step for a tone table between two greys (every channel of the start equal,
// and of the target): the tone is then one number per pixel, worked out instead
// of looked up. Whole 32-bit pixels are split into their blue and red bytes and
// their green and fourth bytes, each in 16-bit lanes; every sum below is a
// weighted mean of values up to 255 with weights adding up to 255, so it never
// exceeds 65025 and no 16-bit lane overflows: the result equals the per-pixel form.
typedef std::uint32_t U32x4 __attribute__((vector_size(16)));
typedef std::uint16_t U16x8 __attribute__((vector_size(16)));
typedef std::uint32_t U32x8 __attribute__((vector_size(32)));
typedef std::uint16_t U16x16 __attribute__((vector_size(32)));

// Every lane `x`.
#define Broadcast(x) (V32{} + static_cast<std::uint32_t>(x))

template <class V32, class V16>
__attribute__((always_inline)) inline void FadeGreyKernel(const std::uint32_t* source,
                                                          std::uint32_t* out, std::size_t count,
                                                          std::uint32_t k, const ToneTable& table) {
  constexpr std::size_t kLanes = sizeof(V32) / 4;
  const V32 evenBytes = Broadcast(0x00FF00FFu);
  const V32 colourOnly = Broadcast(0x00FFFFFFu);
  const V32 low16 = Broadcast(0xFFFFu);
  const V32 blueRedWeights = Broadcast(19u | 54u << 16);
  const V32 greenWeights = Broadcast(182u);
  const V32 keep = Broadcast((255 - k) | (255 - k) << 16);
  const std::uint32_t s = table.start & 0xFF;
  const V32 t = Broadcast(table.target & 0xFF), startGrey = Broadcast(s), all = Broadcast(255u);
  const V32 weight = Broadcast(k);

  std::size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    V32 px;
    std::memcpy(&px, source + i, sizeof px);  // no alignment is promised
    const V32 blueRed = px & evenBytes;              // [B][R]
    const V32 greenRest = (px >> 8) & evenBytes;     // [G][A]
    const V32 greenOnly = greenRest & low16;         // [G][0]
    const V32 sums = (V32)((V16)blueRed * (V16)blueRedWeights + (V16)greenOnly * (V16)greenWeights);
    const V32 l = ((sums & low16) + (sums >> 16)) >> 8;
    V32 tone = l * t;
    if (s) tone += (all - l) * startGrey;
    const V32 toneK = (tone >> 8) * weight;          // <= 65025
    const V32 toneBoth = toneK | (toneK << 16);
    const V32 outBlueRed = (V32)(((V16)blueRed * (V16)keep + (V16)toneBoth) >> 8);
    const V32 outGreen = (V32)(((V16)greenRest * (V16)keep + (V16)toneBoth) >> 8);
    const V32 faded = (outBlueRed | (outGreen << 8)) & colourOnly;
    std::memcpy(out + i, &faded, sizeof faded);
  }
  FadeWithWeight(source + i, out + i, count - i, k, table);
}
#undef Broadcast

__attribute__((target("sse2"))) void FadeGreySse2(const std::uint32_t* source, std::uint32_t* out,
                                                   std::size_t count, std::uint32_t k,
                                                   const ToneTable& table) {
  FadeGreyKernel<U32x4, U16x8>(source, out, count, k, table);
}

__attribute__((target("avx2"))) void FadeGreyAvx2(const std::uint32_t* source, std::uint32_t* out,
                                                   std::size_t count, std::uint32_t k,
                                                   const ToneTable& table) {
  FadeGreyKernel<U32x8, U16x16>(source, out, count, k, table);
}

bool IsGrey(std::uint32_t colour) {
  return Channel(colour, 0) == Channel(colour, 8) && Channel(colour, 8) == Channel(colour, 16);
}
#endif

}  // namespace

ToneTable MakeToneTable(std::uint32_t target, std::uint32_t start) {
  ToneTable table;
  table.target = target & 0xFFFFFF;
  table.start = start & 0xFFFFFF;
  for (std::uint32_t i = 0; i < 256; ++i) table.entries[i] = Blend(i, table.target, table.start);
  return table;
}

int ToneWeight(int levelPercent) {
  if (levelPercent < 0) levelPercent = 0;
  if (levelPercent > 100) levelPercent = 100;
  return levelPercent * 255 / 100;
}

void FadePixelsReference(const std::uint32_t* source, std::uint32_t* out, std::size_t count,
                         int levelPercent, const ToneTable& table) {
  FadeWithWeight(source, out, count, static_cast<std::uint32_t>(ToneWeight(levelPercent)), table);
}

bool HasVectors(VectorWidth width) {
#if defined(PIO_FADE_VECTORS)
  // The check of AVX2 includes the system's saving of its registers.
  if (width == VectorWidth::Avx2) return __builtin_cpu_supports("avx2");
  if (width == VectorWidth::Sse2) return __builtin_cpu_supports("sse2");
#endif
  return width == VectorWidth::None;
}

void FadePixelsWith(VectorWidth width, const std::uint32_t* source, std::uint32_t* out,
                    std::size_t count, int levelPercent, const ToneTable& table) {
#if defined(PIO_FADE_VECTORS)
  if (width != VectorWidth::None && HasVectors(width) && IsGrey(table.target) &&
      IsGrey(table.start) && IsStraightBlend(table)) {
    const std::uint32_t k = static_cast<std::uint32_t>(ToneWeight(levelPercent));
    if (width == VectorWidth::Avx2) FadeGreyAvx2(source, out, count, k, table);
    else FadeGreySse2(source, out, count, k, table);
    return;
  }
#endif
  FadePixelsReference(source, out, count, levelPercent, table);
}

void FadePixels(const std::uint32_t* source, std::uint32_t* out, std::size_t count,
                int levelPercent, const ToneTable& table) {
  const VectorWidth width = HasVectors(VectorWidth::Avx2)   ? VectorWidth::Avx2
                            : HasVectors(VectorWidth::Sse2) ? VectorWidth::Sse2
                                                            : VectorWidth::None;
  FadePixelsWith(width, source, out, count, levelPercent, table);
}

int StepPercent(std::uint32_t firstStepMs) {
  std::uint32_t frames = firstStepMs > 0 ? kFadeMs / firstStepMs : 20;
  if (frames == 0) frames = 20;
  const int step = static_cast<int>(100 / frames);
  return step < 3 ? 3 : step > 49 ? 49 : step;
}

std::uint32_t StepSlotMs(int stepPercent) {
  if (stepPercent < 1) stepPercent = 1;
  return kFadeMs * static_cast<std::uint32_t>(stepPercent) / 100;
}

}  // namespace fade
