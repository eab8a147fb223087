// The stand-in's language files: the line format, what is ignored, and the files
// we ship.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "langfile.h"

namespace {

langfile::Table Parse(const std::string& s) { return langfile::Parse(s.data(), s.size()); }

std::string Get(const langfile::Table& t, const std::string& english) {
  const std::string* found = t.Find(english);
  return found ? *found : "<none>";
}

TEST(LanguageFile, ReadsQuotedPairsWithTheirEscapesAndBlanks) {
  const langfile::Table t = Parse(
      "; a comment\r\n"
      "# another\n"
      "\n"
      "   \t\r\n"
      "\"Load\" = \"Charger\"\r\n"
      "\"Font : \"=\"Police : \"\n"
      "  \"Zoom in\\out your screen.\"\t=\t\"Agrandir\\\\r\\u00e9duire\"  \n"
      "\"Say \\\"hi\\\"\" = \"Two\\nlines\\tand a tab\"\n"
      "\"Last\" = \"without a line end\"");
  EXPECT_EQ(0u, t.ignoredLines);
  EXPECT_EQ(5u, t.texts.size());
  EXPECT_EQ("Charger", Get(t, "Load"));
  EXPECT_EQ("Police : ", Get(t, "Font : ")) << "blanks inside the quotes count";
  EXPECT_EQ("<none>", Get(t, "Font :"));
  EXPECT_EQ("Agrandir\\r\\u00e9duire", Get(t, "Zoom in\\out your screen."))
      << "a backslash before any other letter stands for itself";
  EXPECT_EQ("Two\nlines\tand a tab", Get(t, "Say \"hi\""));
  EXPECT_EQ("without a line end", Get(t, "Last"));
}

TEST(LanguageFile, IgnoresWhatCouldHurtOrMislead) {
  const std::string longLine = "\"Long\" = \"" + std::string(langfile::kMaxLineBytes, 'x') + "\"\n";
  const langfile::Table t = Parse(
      "\"Yes\" = \"Oui\"\n"
      "\"Yes\" = \"Si\"\n"                       // repeated: the first stays
      "\"No\" = \"\"\n"                          // empty translation
      "\"Exit\" \"Quitter\"\n"                   // no '='
      "\"Apply\" = \"Appliquer\" junk\n"         // something after it
      "\"Open = \"unclosed\n"                    // no closing quote
      "Cancel = Annuler\n"                       // no quotes
      "\"Press %lu sec.\" = \"Appuyez %s s.\"\n" // a placeholder of another kind
      "\"Press %lu sec.\" = \"Appuyez\"\n"       // a placeholder missing
      "\"%d of %d\" = \"%d sur %d %d\"\n"        // one too many
      + longLine +
      "\"After\" = \"Après\"\n"
      "\"Fine %lu sec.\" = \"Bien %lu s. (100%%)\"\n");
  EXPECT_EQ("Oui", Get(t, "Yes"));
  for (const char* english : {"No", "Exit", "Apply", "Open = ", "Cancel", "Press %lu sec.",
                              "%d of %d", "Long"}) {
    EXPECT_EQ("<none>", Get(t, english)) << english;
  }
  EXPECT_EQ("Après", Get(t, "After")) << "a line after an over-long one still counts";
  EXPECT_EQ("Bien %lu s. (100%%)", Get(t, "Fine %lu sec."));
  EXPECT_EQ(10u, t.ignoredLines);

  EXPECT_TRUE(Parse("\xEF\xBB\xBF\"Yes\" = \"Oui\"\n").texts.empty())
      << "a UTF-8 file is not in an ANSI code page";
  EXPECT_TRUE(langfile::Parse(nullptr, 10).texts.empty());
  EXPECT_TRUE(Parse("").texts.empty());
}

// The second byte of many Chinese and Japanese characters has the value of the
// backslash: the file's code page line says when it belongs to a character.
TEST(LanguageFile, DoubleByteCharactersKeepTheirSecondByte) {
  const std::string success = "\xC0\x78\xA6\x73\xA6\xA8\xA5\x5C";  // cp950, ends with A5 5C
  const langfile::Table tchinese = Parse(
      "; code page 950\r\n"
      "\"Save successfully\" = \"" + success + "\"\r\n"
      "\"No\" = \"\xA7\x5C\\n\\\\\"\r\n");
  EXPECT_EQ(0u, tchinese.ignoredLines);
  EXPECT_EQ(success, Get(tchinese, "Save successfully"));
  EXPECT_EQ("\xA7\x5C\n\\", Get(tchinese, "No")) << "escapes after a character still count";

  // Code page 932: 0x95 leads a character, the half-width katakana 0xB1 does not.
  const langfile::Table japanese = Parse(
      "; code page 932\n"
      "\"Display\" = \"\x95\x5C\x8E\xA6\"\n"
      "\"Kana\" = \"\xB1\\n\"\n");
  EXPECT_EQ("\x95\x5C\x8E\xA6", Get(japanese, "Display"));
  EXPECT_EQ("\xB1\n", Get(japanese, "Kana"));

  // Without a code page line, or in a single-byte one, every byte stands alone.
  for (const char* header : {"", "; code page 1252\n", "; code page 99999999\n"}) {
    const langfile::Table t = Parse(std::string(header) + "\"Save\" = \"\xA5\\\\\"\n");
    EXPECT_EQ("\xA5\\", Get(t, "Save")) << header;
  }
  EXPECT_FALSE(langfile::IsLeadByte(1250, 0xA5));
  EXPECT_TRUE(langfile::IsLeadByte(949, 0xFE));
  EXPECT_FALSE(langfile::IsLeadByte(932, 0xA0));
}

TEST(LanguageFile, PlaceholdersMustMatchInKindAndOrder) {
  EXPECT_TRUE(langfile::SamePlaceholders("Press %lu sec.", "Appuyez %lu s."));
  EXPECT_TRUE(langfile::SamePlaceholders("%lu", "%-3lu")) << "flags and width do not matter";
  EXPECT_TRUE(langfile::SamePlaceholders("100%% of %s", "%s: 100%%"));
  EXPECT_FALSE(langfile::SamePlaceholders("%d %s", "%s %d"));
  EXPECT_FALSE(langfile::SamePlaceholders("%lu", "%u"));
  EXPECT_FALSE(langfile::SamePlaceholders("%d", "%*d")) << "a star takes an argument";
  EXPECT_FALSE(langfile::SamePlaceholders("no placeholder", "%n"));
  EXPECT_FALSE(langfile::SamePlaceholders("ends with %", "%s"));
}

TEST(LanguageFile, NamesAndCutCopies) {
  EXPECT_TRUE(langfile::IsLanguageName("French"));
  EXPECT_TRUE(langfile::IsLanguageName("TChinese"));
  EXPECT_TRUE(langfile::IsLanguageName(std::string(31, 'a').c_str()));
  for (const char* bad : {"", "..\\..\\Windows\\win", "Fr ench", "C:French", "French.txt",
                          "Fran\xE7" "ais"}) {
    EXPECT_FALSE(langfile::IsLanguageName(bad)) << bad;
  }
  EXPECT_FALSE(langfile::IsLanguageName(std::string(32, 'a').c_str()));
  EXPECT_FALSE(langfile::IsLanguageName(nullptr));

  char out[8];
  std::memset(out, '#', sizeof(out));
  EXPECT_EQ(7, langfile::CopyCut("Enregistrer", 11, out, 8));
  EXPECT_STREQ("Enregis", out);
  EXPECT_EQ(3, langfile::CopyCut("Oui", 3, out, 8));
  EXPECT_STREQ("Oui", out);
  EXPECT_EQ(0, langfile::CopyCut("Oui", 3, out, 1));
  EXPECT_STREQ("", out);
  EXPECT_EQ(0, langfile::CopyCut("Oui", 3, out, 0));
  EXPECT_EQ(0, langfile::CopyCut("Oui", 3, nullptr, 8));
  EXPECT_EQ(0, langfile::CopyCut(nullptr, 3, out, 8));
  EXPECT_STREQ("", out);
}

// Every text the program shows, as the program passes it to the binding.
const char* const kProgramTexts[] = {
    "Easy Setting", "Load", "Advanced", "Setting", "Easy", "Save", "Save successfully",
    "Save failed", "Apply", "Cancel", "Exit", "Yes", "No", "No data", "Font :", "Font : ",
    "Resolution :", "Zoom in\\out your screen.", "Are you sure to exit ?", "Accept the setting ?",
    "You have choosed resolution :", "Press button within %lu sec.",
    "You must reboot the computer to update Font.", "Would you want to reboot now?",
};

// Every language name the program lays itself out for, besides English.
const char* const kLanguages[] = {
    "Arabic", "Czech", "Danish", "Dutch", "Finnish", "French", "German", "Hungarian",
    "Italian", "Japanese", "Korean", "Norwegian", "Poland", "Portuguese", "Russian",
    "SChinese", "Slovak", "Spanish", "Swedish", "TChinese", "Thai", "Turkish",
};

TEST(ShippedLanguages, EachFileTranslatesEveryTextOfTheProgram) {
  for (const char* language : kLanguages) {
    const std::string path = std::string(DIZOVADAZIR_LANGUAGES) + "/" + language + ".txt";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The sources are UTF-8 and name the code page of the installed file: read
    // them without it, byte by byte (no UTF-8 byte of a letter is a quote or a
    // backslash).
    const std::size_t codePage = bytes.find("\n; code page ");
    ASSERT_NE(std::string::npos, codePage) << language;
    bytes[codePage + 1] = '#';
    EXPECT_NE(std::string::npos, bytes.find("\n; locale ")) << language;
    const langfile::Table t = Parse(bytes);
    EXPECT_EQ(0u, t.ignoredLines) << language;
    EXPECT_EQ(std::size(kProgramTexts), t.texts.size()) << language << ": no stray texts";
    for (const char* text : kProgramTexts) {
      EXPECT_NE(nullptr, t.Find(text)) << language << " lacks \"" << text << "\"";
    }
    // The trailing blank of the label stays, so the two forms differ only by it.
    if (t.Find("Font : ") && t.Find("Font :")) {
      EXPECT_EQ(*t.Find("Font :") + " ", *t.Find("Font : ")) << language;
    }
    // The key captions and titles are the language's own words.
    for (const char* text : {"Easy Setting", "Load", "Advanced", "Setting", "Save", "Apply",
                             "Cancel", "Exit", "Save successfully", "Save failed"}) {
      if (const std::string* found = t.Find(text)) EXPECT_NE(text, *found) << language;
    }
  }
}

}  // namespace
