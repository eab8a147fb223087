// Whether the fonts of this machine can show a language's texts as PioScreen asks
// for them.
//   glyph_probe LANGUAGE FILE   FILE: one text a line (UTF-8)
// Makes the font the program makes for the language ("Arial Black" with the
// language's weight and character set) and prints each text that has a character
// without a glyph in the font the system gives for it (it would show as a box).
// Exit code: 0 all covered, 1 some not, 2 bad input.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "skinbutton_core.h"

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &wide[0], static_cast<int>(wide.size()));
  wide.resize(n > 0 ? n : 0);
  return wide;
}

// Characters that are not drawn: line breaks and the direction marks.
bool Invisible(wchar_t c) { return c < 0x20 || c == 0x200E || c == 0x200F; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  FILE* file = std::fopen(argv[2], "rb");
  if (!file) return 2;
  const skinbutton::CaptionFont caption = skinbutton::CaptionFontFor(argv[1]);
  LOGFONTA lf{};
  lf.lfHeight = -24;
  lf.lfWeight = caption.weight;
  lf.lfCharSet = caption.charset;
  std::strcpy(lf.lfFaceName, skinbutton::kCaptionFace);
  HFONT font = CreateFontIndirectA(&lf);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  char face[LF_FACESIZE] = "";
  GetTextFaceA(dc, sizeof face, face);
  int missing = 0;
  char line[4096];
  while (std::fgets(line, sizeof line, file)) {
    line[std::strcspn(line, "\r\n")] = '\0';
    const std::wstring text = Wide(line);
    std::vector<WORD> glyphs(text.size() + 1);
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (size_t i = 0; i < text.size(); ++i) {
      if (!Invisible(text[i]) && glyphs[i] == 0xFFFF) {
        std::printf("no glyph for U+%04X in %s: %s\n", static_cast<unsigned>(text[i]), face, line);
        ++missing;
        break;
      }
    }
  }
  std::fclose(file);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return missing ? 1 : 0;
}
