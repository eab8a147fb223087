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
    "Apply", "Cancel", "Exit", "Yes", "No", "No data", "Font :", "Font : ", "Resolution :",
    "Zoom in\\out your screen.", "Are you sure to exit ?", "Accept the setting ?",
    "You have choosed resolution :", "Press button within %lu sec.",
    "You must reboot the computer to update Font.", "Would you want to reboot now?",
};

TEST(ShippedLanguages, EachFileTranslatesEveryTextOfTheProgram) {
  for (const char* language : {"Arabic", "Dutch", "French", "German", "Italian", "Portuguese",
                               "Russian", "Spanish"}) {
    const std::string path = std::string(DIZOVADAZIR_LANGUAGES) + "/" + language + ".txt";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, bytes.find("\n; code page ")) << language;
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
  }
}

}  // namespace
