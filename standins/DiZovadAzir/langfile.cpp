#include "langfile.h"

#include <cstring>
#include <vector>

namespace langfile {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a quoted text at `pos`; moves `pos` past the closing quote.
bool ReadQuoted(const char* line, std::size_t length, std::size_t& pos, unsigned codePage,
                std::string& out) {
  if (pos >= length || line[pos] != '"') return false;
  ++pos;
  out.clear();
  while (pos < length) {
    const char c = line[pos++];
    if (IsLeadByte(codePage, static_cast<unsigned char>(c)) && pos < length) {
      out.push_back(c);
      out.push_back(line[pos++]);
      continue;
    }
    if (c == '"') return true;
    if (c == '\\' && pos < length) {
      const char e = line[pos];
      if (e == '"' || e == '\\') {
        out.push_back(e);
        ++pos;
        continue;
      }
      if (e == 'n' || e == 't') {
        out.push_back(e == 'n' ? '\n' : '\t');
        ++pos;
        continue;
      }
    }
    out.push_back(c);
  }
  return false;  // no closing quote
}

bool ParseLine(const char* line, std::size_t length, unsigned codePage, std::string& english,
               std::string& translation) {
  std::size_t pos = 0;
  while (pos < length && IsBlank(line[pos])) ++pos;
  if (!ReadQuoted(line, length, pos, codePage, english)) return false;
  while (pos < length && IsBlank(line[pos])) ++pos;
  if (pos >= length || line[pos] != '=') return false;
  ++pos;
  while (pos < length && IsBlank(line[pos])) ++pos;
  if (!ReadQuoted(line, length, pos, codePage, translation)) return false;
  while (pos < length && IsBlank(line[pos])) ++pos;
  return pos == length;
}

// The code page a comment line names ("; code page 932"), or 0.
unsigned CodePageOf(const char* line, std::size_t length) {
  static const char kPrefix[] = "; code page ";
  const std::size_t prefix = sizeof(kPrefix) - 1;
  if (length <= prefix || std::memcmp(line, kPrefix, prefix) != 0) return 0;
  unsigned value = 0;
  for (std::size_t i = prefix; i < length && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + static_cast<unsigned>(line[i] - '0');
    if (value > 65535) return 0;
  }
  return value;
}

std::vector<std::string> Placeholders(const std::string& text) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
      continue;
    }
    std::string conversion;
    std::size_t j = i + 1;
    while (j < text.size() && std::strchr("-+ #0", text[j])) ++j;  // flags
    while (j < text.size() && ((text[j] >= '0' && text[j] <= '9') || text[j] == '*' ||
                               text[j] == '.')) {
      if (text[j] == '*') conversion.push_back('*');
      ++j;
    }
    while (j < text.size() && std::strchr("hlLqjztI0123456789", text[j])) conversion.push_back(text[j++]);
    if (j < text.size()) conversion.push_back(text[j]);
    found.push_back(conversion);
    i = j;
  }
  return found;
}

}  // namespace

bool IsLeadByte(unsigned codePage, unsigned char byte) {
  switch (codePage) {
    case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936: case 949: case 950: return byte >= 0x81 && byte <= 0xFE;
    default: return false;
  }
}

const std::string* Table::Find(const std::string& english) const {
  const auto it = texts.find(english);
  return it == texts.end() ? nullptr : &it->second;
}

Table Parse(const char* data, std::size_t size) {
  Table table;
  if (!data || size == 0) return table;
  if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) return table;
  if (size > kMaxFileBytes) size = kMaxFileBytes;
  std::string english, translation;
  unsigned codePage = 0;
  std::size_t start = 0;
  while (start < size) {
    const char* newline = static_cast<const char*>(std::memchr(data + start, '\n', size - start));
    std::size_t end = newline ? static_cast<std::size_t>(newline - data) : size;
    const std::size_t next = end + 1;
    if (end > start && data[end - 1] == '\r') --end;
    const char* line = data + start;
    const std::size_t length = end - start;
    start = next;

    std::size_t first = 0;
    while (first < length && IsBlank(line[first])) ++first;
    if (codePage == 0 && first < length && line[first] == ';')
      codePage = CodePageOf(line + first, length - first);
    if (first == length || line[first] == ';' || line[first] == '#') continue;
    if (length > kMaxLineBytes || !ParseLine(line, length, codePage, english, translation) ||
        english.empty() || translation.empty() || !SamePlaceholders(english, translation) ||
        table.texts.count(english)) {
      ++table.ignoredLines;
      continue;
    }
    table.texts.emplace(english, translation);
  }
  return table;
}

bool SamePlaceholders(const std::string& a, const std::string& b) {
  return Placeholders(a) == Placeholders(b);
}

bool IsLanguageName(const char* name) {
  if (!name) return false;
  std::size_t n = 0;
  for (; name[n]; ++n) {
    const char c = name[n];
    if (n >= kMaxNameBytes || !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  }
  return n > 0;
}

int CopyCut(const char* text, std::size_t length, char* out, int size) {
  if (!out || size < 1) return 0;
  if (!text) length = 0;
  const std::size_t room = static_cast<std::size_t>(size) - 1;
  const std::size_t n = length < room ? length : room;
  if (n) std::memcpy(out, text, n);
  out[n] = '\0';
  return static_cast<int>(n);
}

}  // namespace langfile
