// The fade of a question's backdrop, without windows: the tone table that maps a
// luminance to a target colour, the conversion of 32-bit pixels (blue in the low
// byte) to a fade level, and the step size chosen from the first step's duration.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fade {

// For each luminance 0..255 the colour a pixel of that luminance fades towards:
// a straight blend from `start` (luminance 0) to `target` (luminance 255), each
// channel (i * target + (255 - i) * start) >> 8.
struct ToneTable {
  std::uint32_t start = 0;
  std::uint32_t target = 0;
  std::uint32_t entries[256] = {};
};
ToneTable MakeToneTable(std::uint32_t target, std::uint32_t start);

// The grey the backdrop fades towards, from black.
constexpr std::uint32_t kTargetColour = 0x707070;
constexpr std::uint32_t kStartColour = 0;

// Weight 0..255 of the tone in the picture at `levelPercent` (0..100).
int ToneWeight(int levelPercent);

// Writes `count` pixels of `source` at `levelPercent` into `out` (which may be
// `source`): luminance L = (54 R + 182 G + 19 B) >> 8, tone T = table[L], each
// channel (c (255 - k) + T k) >> 8 with k = ToneWeight, fourth byte 0.
void FadePixels(const std::uint32_t* source, std::uint32_t* out, std::size_t count,
                int levelPercent, const ToneTable& table);
// The same with vectors of a given width, when the processor has them (else one
// pixel at a time); FadePixels takes the widest. For tests of each width.
enum class VectorWidth { None, Sse2, Avx2 };
bool HasVectors(VectorWidth width);
void FadePixelsWith(VectorWidth width, const std::uint32_t* source, std::uint32_t* out,
                    std::size_t count, int levelPercent, const ToneTable& table);
// The same, one pixel at a time: the definition the fast forms must equal.
void FadePixelsReference(const std::uint32_t* source, std::uint32_t* out, std::size_t count,
                         int levelPercent, const ToneTable& table);

// Percent per step from the first step's duration, so that all steps together
// take about `kFadeMs`: 300 / ms frames (20 when the step took 0 ms or more than
// 300 ms), 100 / frames percent, kept within 3..49.
constexpr std::uint32_t kFadeMs = 300;
int StepPercent(std::uint32_t firstStepMs);

// How long one step of `stepPercent` should last so that the whole fade takes
// about kFadeMs; a step that was quicker waits for the rest.
std::uint32_t StepSlotMs(int stepPercent);

}  // namespace fade
