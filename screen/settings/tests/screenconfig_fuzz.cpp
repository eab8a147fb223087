// The streaming reader against a plain whole-line reading of the same rules, for
// any bytes cut into any pieces, in single-byte and in a Far East code page; and
// the writer's text read back.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "screenconfig_core.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

std::int32_t AtoiClamped(std::string_view text) {
  const std::string copy(text);
  errno = 0;
  const long long v = std::strtoll(copy.c_str(), nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

// Position of `what` in `line` at a character start, or npos.
std::size_t FindAt(std::string_view line, const std::vector<bool>& starts, std::string_view what,
                   std::size_t from = 0) {
  for (std::size_t p = line.find(what, from); p != std::string_view::npos;
       p = line.find(what, p + 1)) {
    if (starts[p]) return p;
  }
  return std::string_view::npos;
}

ScreenConfigRecord Reference(std::string_view text, const LeadByteTable* lead) {
  ScreenConfigRecord r;
  std::int32_t lines = 0;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    begin = end + 1;
    line = line.substr(0, line.find('\0'));
    std::vector<bool> starts(line.size());
    bool trail = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      starts[i] = !trail;
      trail = starts[i] && lead && (*lead)[static_cast<unsigned char>(line[i])];
    }
    if (FindAt(line, starts, "[Config]") != std::string_view::npos) continue;
    if (FindAt(line, starts, ";") != std::string_view::npos) continue;
    int slot = -1;
    for (int n = 0; n < kScreenConfigSlots && slot < 0; ++n) {
      const std::string key = "Information_" + std::to_string(n + 1);
      if (FindAt(line, starts, key) != std::string_view::npos) slot = n;
    }
    if (slot < 0) continue;
    const std::size_t eq = FindAt(line, starts, "=");
    std::size_t valueBegin = eq == std::string_view::npos ? 0 : eq + 1;
    std::string_view value = line.substr(valueBegin);
    while (!value.empty() && value.back() == '\r') value.remove_suffix(1);
    r.width[slot] = AtoiClamped(value);
    std::size_t dash = FindAt(line.substr(0, valueBegin + value.size()), starts, "-", valueBegin);
    std::size_t restBegin = dash == std::string_view::npos ? valueBegin : dash + 1;
    r.height[slot] = AtoiClamped(line.substr(restBegin, valueBegin + value.size() - restBegin));
    dash = FindAt(line.substr(0, valueBegin + value.size()), starts, "-", restBegin);
    restBegin = dash == std::string_view::npos ? restBegin : dash + 1;
    r.dpi[slot] = AtoiClamped(line.substr(restBegin, valueBegin + value.size() - restBegin));
    ++lines;
  }
  r.count = lines;
  return r;
}

ScreenConfigRecord Streamed(std::string_view text, const LeadByteTable* lead, std::uint8_t step) {
  ScreenConfigParser parser({}, lead);
  const std::size_t piece = 1 + step % 97;
  for (std::size_t at = 0; at < text.size(); at += piece) {
    parser.Feed(text.data() + at, std::min(piece, text.size() - at));
  }
  return parser.Finish();
}

LeadByteTable ShiftJisLeadBytes() {
  LeadByteTable t{};
  for (int c = 0x81; c <= 0x9F; ++c) t[c] = true;
  for (int c = 0xE0; c <= 0xFC; ++c) t[c] = true;
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const LeadByteTable sjis = ShiftJisLeadBytes();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::uint8_t step = size ? data[0] : 0;

  Check(Streamed(text, nullptr, step) == Reference(text, nullptr), "single-byte");
  Check(Streamed(text, &sjis, step) == Reference(text, &sjis), "shift-jis");

  // Any record with positive widths and non-negative heights and DPIs reads back.
  if (size >= sizeof(std::int32_t) * 18) {
    ScreenConfigRecord written;
    std::int32_t n[18];
    std::memcpy(n, data, sizeof n);
    for (int i = 0; i < kScreenConfigSlots; ++i) {
      written.width[i] = n[i] == INT32_MIN ? 0 : (n[i] < 0 ? -n[i] : n[i]);
      written.height[i] = n[6 + i] == INT32_MIN ? 0 : (n[6 + i] < 0 ? -n[6 + i] : n[6 + i]);
      written.dpi[i] = n[12 + i] == INT32_MIN ? 0 : (n[12 + i] < 0 ? -n[12 + i] : n[12 + i]);
    }
    ScreenConfigRecord back;
    ParseScreenConfig(FormatScreenConfig(written), back);
    for (int i = 0; i < kScreenConfigSlots; ++i) {
      if (written.width[i] <= 0) {
        Check(back.width[i] == 0 && back.height[i] == 0 && back.dpi[i] == 0, "empty slot");
      } else {
        Check(back.width[i] == written.width[i] && back.height[i] == written.height[i] &&
                  back.dpi[i] == written.dpi[i],
              "round trip");
      }
    }
    Check(back.count == CountUsedSlots(written), "count");
  }
  return 0;
}
