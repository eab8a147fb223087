// The language files of our stand-in language library: one plain text file per
// language, in the Windows ANSI code page of that language, one text a line:
//
//     "English text" = "Translated text"
//
// Inside the quotes \" is a quote, \\ a backslash, \n a line break and \t a tab;
// any other backslash stands for itself. Lines that start with ';' or '#' and
// blank lines are skipped. A comment line "; code page NNNN" names the file's code
// page; in the double-byte ones (932, 936, 949, 950) the second byte of a
// character stands for itself, never for a quote or a backslash (the second byte
// of many Japanese and Chinese characters is the backslash byte). A line that is
// not of this form, longer than kMaxLineBytes, a repeated English text, an empty
// translation, or a translation whose printf placeholders differ from the English
// text's, is ignored: that text stays English.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

namespace langfile {

constexpr std::size_t kMaxFileBytes = 1 << 20;
constexpr std::size_t kMaxLineBytes = 4096;
// Language names are plain English words ("French", "TChinese").
constexpr std::size_t kMaxNameBytes = 31;

struct Table {
  std::unordered_map<std::string, std::string> texts;
  std::size_t ignoredLines = 0;

  // The translation of `english`, or null when there is none.
  const std::string* Find(const std::string& english) const;
};

// Whether `byte` starts a two-byte character in the Windows code page; false for
// every byte of the single-byte code pages.
bool IsLeadByte(unsigned codePage, unsigned char byte);

// Reads a whole file's bytes. A file that starts with a UTF-8 byte-order mark is
// not in an ANSI code page and gives no texts.
Table Parse(const char* data, std::size_t size);

// The printf conversions (length and type, '*' included; "%%" left out) of both
// texts are the same, in the same order, so one argument list serves both.
bool SamePlaceholders(const std::string& a, const std::string& b);

// A language name a file may be named after: 1 to kMaxNameBytes ASCII letters,
// so no name can reach outside the language folder.
bool IsLanguageName(const char* name);

// Copies at most size - 1 bytes of `text` and a terminator into `out`; returns
// the number of bytes copied (0 and nothing written when out is null or size < 1).
int CopyCut(const char* text, std::size_t length, char* out, int size);

}  // namespace langfile
