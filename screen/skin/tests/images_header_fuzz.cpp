// Any bytes as the start of an image file: the header reader stays inside them and
// never lets an oversized picture through.
#include <cstdint>
#include <cstdlib>

#include "images_core.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const images::HeaderInfo info = images::ReadImageHeader(data, size);
  const bool may = images::MayDecode(data, size);
  if (info.sizeKnown && may && !images::IsAcceptableSize(info.width, info.height)) std::abort();
  if (info.broken && may) std::abort();
  return 0;
}
