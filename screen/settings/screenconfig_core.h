// The favourites file "ScreenConfig.ini": six slots of screen width, height and DPI,
// kept as text lines "    Information_N = W-H-D" under a "[Config]" header.
// Reading and writing the text; the file itself is in screenconfig.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kScreenConfigSlots = 6;

// Slot N (1..6) is index N-1. A slot whose width is 0 or less is empty.
struct ScreenConfigRecord {
  std::int32_t width[kScreenConfigSlots] = {};
  std::int32_t height[kScreenConfigSlots] = {};
  std::int32_t dpi[kScreenConfigSlots] = {};
  // After reading: the number of entry lines parsed (a slot given twice counts
  // twice). After a change: the number of slots with a width above 0.
  std::int32_t count = 0;
};

bool operator==(const ScreenConfigRecord& a, const ScreenConfigRecord& b);
inline bool operator!=(const ScreenConfigRecord& a, const ScreenConfigRecord& b) {
  return !(a == b);
}

// The number of slots with a width above 0.
std::int32_t CountUsedSlots(const ScreenConfigRecord& record);

// Which bytes open a two-byte character in the ANSI code page. Searches in a line
// only match at character starts, so the second byte of a Far East character is
// never taken for '[' or a letter of a key. Null: a single-byte code page.
using LeadByteTable = std::array<bool, 256>;

// Reads the text in pieces of any size. A line ends at LF and may be of any
// length; the parser keeps no line in memory, only what it has found in it.
//
// Per line, in this order: a line containing "[Config]" or ";" anywhere is
// ignored; else the first of the keys "Information_1" ... "Information_6" that it
// contains (anywhere) names the slot. The value text is what follows the first
// "=" (the whole line without one); width, height and DPI are the leading numbers
// of the value text, of the text after its first "-", and of the text after the
// next "-", read as atoi reads them. Without a "-" the same number is read again.
// Numbers beyond 32 bits stop at the largest or smallest 32-bit value. A NUL byte
// ends the text of its line.
class ScreenConfigParser {
 public:
  // Slots that no line names keep their values from `start`.
  explicit ScreenConfigParser(const ScreenConfigRecord& start = {},
                              const LeadByteTable* leadBytes = nullptr);

  void Feed(const char* data, std::size_t size);
  // Ends the last line (one without LF counts) and gives the record, whose count
  // is the number of entry lines parsed.
  const ScreenConfigRecord& Finish();

 private:
  // atoi over a stream of bytes.
  struct Number {
    enum State : std::uint8_t { kBlanks, kSign, kDigits, kDone };
    State state = kBlanks;
    bool negative = false;
    std::uint32_t magnitude = 0;  // stops at 2^31
    void Put(unsigned char c);
    std::int32_t Value() const;
  };

  // The three numbers of one value text.
  struct Value {
    Number numbers[3];
    int dashes = 0;  // separators found so far, at most 2 counted
    void Put(unsigned char c, bool characterStart);
    void Store(ScreenConfigRecord& record, int slot) const;
  };

  // A plain substring search over a stream. None of the patterns repeats its own
  // beginning, so a mismatch restarts the search at the current byte.
  struct Search {
    const char* pattern;
    std::size_t length;
    std::size_t matched = 0;
    bool Put(unsigned char c);
  };

  void Put(unsigned char c);
  void EndLine();

  ScreenConfigRecord m_record;
  const LeadByteTable* m_leadBytes;
  std::int32_t m_lines = 0;

  // State of the line being read.
  bool m_textEnded = false;
  bool m_trailByteNext = false;
  bool m_ignored = false;
  unsigned m_keys = 0;  // bit N-1: "Information_N" seen
  bool m_keyDigitNext = false;
  bool m_sawEquals = false;
  Search m_config{"[Config]", 8};
  Search m_comment{";", 1};
  Search m_key{"Information_", 12};
  Value m_wholeLine;
  Value m_afterEquals;
};

// The whole text at once.
void ParseScreenConfig(std::string_view text, ScreenConfigRecord& record,
                       const LeadByteTable* leadBytes = nullptr);

// The exact text of the file: "[Config]\r\n", then for every slot with a width
// above 0 "    Information_N = W-H-D\r\n", followed by an empty line for slots 1..5.
std::string FormatScreenConfig(const ScreenConfigRecord& record);

// Paths live in 260-byte buffers (MAX_PATH with its terminating NUL): a longer
// path is refused, never cut, so the program cannot write beside the real file.
constexpr std::size_t kPathBufferBytes = 260;
inline bool FitsPathBuffer(std::string_view path) { return path.size() < kPathBufferBytes; }

constexpr char kScreenConfigSubfolder[] = "KAVO\\Pio-Screen\\";
constexpr char kScreenConfigFileName[] = "ScreenConfig.ini";

// "<folder>\KAVO\Pio-Screen\" for the local application-data folder; empty for an
// empty folder name.
std::string ScreenConfigFolderUnder(std::string_view localAppData);
