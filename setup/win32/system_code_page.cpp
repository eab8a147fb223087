#include "system_code_page.h"

#include <windows.h>

namespace setup {

CodePage SystemCodePage() {
  CodePage cp;
  for (int b = 1; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    if (IsDBCSLeadByte(byte)) {
      cp.SetLeadByte(byte);
      continue;
    }
    char letter[2] = {static_cast<char>(byte), '\0'};
    CharUpperBuffA(letter, 1);
    cp.SetUpperCase(byte, static_cast<std::uint8_t>(letter[0]));
  }
  return cp;
}

}  // namespace setup
