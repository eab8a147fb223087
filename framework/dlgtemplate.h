// Reading an extended dialog template (DLGTEMPLATEEX) to make some of its controls
// later than the dialog: the template is copied without them, and what it takes to
// create each of them afterwards is kept. No window is touched here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dlgtemplate {

// A class or a title of the template: a name, or an ordinal (a predefined class, a
// resource id) when `ordinal` is not 0.
struct NameOrOrdinal {
  std::u16string name;
  std::uint16_t ordinal = 0;
};

// One control left out of the copy, as the template gives it (dialog units).
struct LaterControl {
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
  // The template's control just before it, whose place it takes next to in the
  // order of the controls (the Tab order); none for the template's first control.
  bool hasPrevious = false;
  std::uint32_t previousId = 0;
};

struct Split {
  std::vector<std::uint8_t> made;  // the template without the later controls
  std::vector<LaterControl> later;   // in the template's order
};

// Splits `size` bytes of an extended template: the controls whose ids are in
// `laterIds` go to `out.later`, the rest stay in `out.made`. False, and `out`
// empty, when the bytes are not a well-formed extended template or a control to be
// left out carries what a later creation could not give it (creation data, a help
// id): such a dialog is then made whole, as before.
bool SplitTemplate(const void* data, std::size_t size, const std::vector<int>& laterIds, Split& out);

// The name of a predefined control class of a template's ordinal (0x80..0x85),
// else nullptr.
const char* PredefinedClassName(std::uint16_t ordinal);

}  // namespace dlgtemplate
