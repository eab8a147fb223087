// The stand-in language library under Wine, loaded from a copy in a folder of
// the test's own, with its setting and language files written there.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef PIO_WITH_BINDING
#include "language.h"
#endif

namespace {

using GetLangFn = int(__cdecl*)(int, char*, char*);
using TranslateFn = int(__cdecl*)(int, const char*, char*, int, const char*);
using TranslateFFn = int(__cdecl*)(int, const char*, char*, int, const char*, ...);

const char* const kLanguages[] = {
    "Arabic", "Czech", "Danish", "Dutch", "Finnish", "French", "German", "Hungarian",
    "Italian", "Japanese", "Korean", "Norwegian", "Poland", "Portuguese", "Russian",
    "SChinese", "Slovak", "Spanish", "Swedish", "TChinese", "Thai", "Turkish",
};

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  *std::strrchr(path, '\\') = '\0';
  return path;
}

void WriteText(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f) << path;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

std::wstring Decode(const std::string& bytes, UINT codePage) {
  std::wstring wide(bytes.size() + 1, L'\0');
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    &wide[0], static_cast<int>(wide.size()));
  wide.resize(n > 0 ? n : 0);
  return wide;
}

class StandIn : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "pio_dizovadazir_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA((folder_ + "\\Languages").c_str(), nullptr);
    const std::string from = ExeFolder();
    ASSERT_TRUE(CopyFileA((from + "\\DiZovadAzir.dll").c_str(),
                          (folder_ + "\\DiZovadAzir.dll").c_str(), FALSE));
    for (const char* language : kLanguages) {
      const std::string name = std::string("\\Languages\\") + language + ".txt";
      ASSERT_TRUE(CopyFileA((from + name).c_str(), (folder_ + name).c_str(), FALSE)) << name;
    }
    library_ = LoadLibraryA((folder_ + "\\DiZovadAzir.dll").c_str());
    ASSERT_TRUE(library_);
    getLang_ = reinterpret_cast<GetLangFn>(
        reinterpret_cast<void*>(GetProcAddress(library_, "KvGetLangNameAndPath")));
    translate_ = reinterpret_cast<TranslateFn>(
        reinterpret_cast<void*>(GetProcAddress(library_, "KvTranslateStr2")));
    translateF_ = reinterpret_cast<TranslateFFn>(
        reinterpret_cast<void*>(GetProcAddress(library_, "KvTranslateStrF")));
    ASSERT_TRUE(getLang_ && translate_ && translateF_);
  }
  static void TearDownTestSuite() {
    if (library_) FreeLibrary(library_);
  }
  void TearDown() override { DeleteFileA((folder_ + "\\DiZovadAzir.ini").c_str()); }

  static void Choose(const std::string& settingLines) {
    WriteText(folder_ + "\\DiZovadAzir.ini", "[Language]\r\n" + settingLines + "\r\n");
  }
  struct Language {
    int result;
    std::string name, path;
  };
  static Language Current() {
    char name[32], path[260];
    std::memset(name, '#', sizeof(name));
    std::memset(path, '#', sizeof(path));
    Language l;
    l.result = getLang_(0, name, path);
    l.name.assign(name, strnlen(name, sizeof(name)));
    l.path.assign(path, strnlen(path, sizeof(path)));
    EXPECT_LT(l.name.size(), sizeof(name)) << "terminated inside the buffer";
    EXPECT_LT(l.path.size(), sizeof(path));
    return l;
  }
  static std::string Translate(const char* text, const std::string& path, int size = 256) {
    std::vector<char> out(static_cast<size_t>(size) + 16, '#');
    const int n = translate_(0, text, out.data(), size, path.c_str());
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(out.data()));
    EXPECT_EQ('#', out[static_cast<size_t>(size)]) << "nothing written past the buffer";
    return out.data();
  }

  static std::string folder_;
  static HMODULE library_;
  static GetLangFn getLang_;
  static TranslateFn translate_;
  static TranslateFFn translateF_;
};

std::string StandIn::folder_;
HMODULE StandIn::library_ = nullptr;
GetLangFn StandIn::getLang_ = nullptr;
TranslateFn StandIn::translate_ = nullptr;
TranslateFFn StandIn::translateF_ = nullptr;

TEST_F(StandIn, EnglishUnlessTheSettingNamesALanguageWithAFile) {
  for (const std::string& setting :
       {std::string("; no setting at all"), std::string("Name="), std::string("Name=English"),
        std::string("Name=english"), std::string("Name=Klingon"),
        std::string("Name=..\\Languages\\French"), std::string("Name=French.txt"),
        std::string("Name=") + std::string(40, 'F')}) {
    Choose(setting);
    const Language l = Current();
    EXPECT_EQ(1, l.result) << setting;
    EXPECT_EQ("English", l.name) << setting;
    EXPECT_EQ("", l.path) << setting;
  }
  DeleteFileA((folder_ + "\\DiZovadAzir.ini").c_str());
  EXPECT_EQ("English", Current().name) << "no setting file";
  EXPECT_EQ(0, getLang_(0, nullptr, nullptr));
  const std::string unchanged = Translate("Cancel", "");
  EXPECT_EQ("Cancel", unchanged);
}

// The files as installed: each language is found, and its texts come back in the
// code page of the language. (That every file holds every text of the program is
// checked on their sources.)
TEST_F(StandIn, EveryShippedLanguageSpeaksInItsCodePage) {
  struct Case {
    const char* language;
    UINT codePage;
    const char* english;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {"French", 1252, "Easy Setting", L"R\u00e9glage facile"},
      {"German", 1252, "Resolution :", L"Aufl\u00f6sung:"},
      {"Spanish", 1252, "Are you sure to exit ?", L"\u00bfSeguro que desea salir?"},
      {"Italian", 1252, "Yes", L"S\u00ec"},
      {"Dutch", 1252, "Cancel", L"Annuleren"},
      {"Portuguese", 1252, "No", L"N\u00e3o"},
      {"Russian", 1251, "Cancel", L"\u041e\u0442\u043c\u0435\u043d\u0430"},
      {"Arabic", 1256, "Are you sure to exit ?",
       L"\u0647\u0644 \u0623\u0646\u062a \u0645\u062a\u0623\u0643\u062f \u0623\u0646\u0643 "
       L"\u062a\u0631\u064a\u062f \u0627\u0644\u062e\u0631\u0648\u062c\u061f"},
      {"Danish", 1252, "Resolution :", L"Opl\u00f8sning:"},
      {"Swedish", 1252, "Apply", L"Verkst\u00e4ll"},
      {"Norwegian", 1252, "Resolution :", L"Oppl\u00f8sning:"},
      {"Finnish", 1252, "Yes", L"Kyll\u00e4"},
      {"Czech", 1250, "Resolution :", L"Rozli\u0161en\u00ed:"},
      {"Slovak", 1250, "Save", L"Ulo\u017ei\u0165"},
      {"Poland", 1250, "Resolution :", L"Rozdzielczo\u015b\u0107:"},
      {"Hungarian", 1250, "Easy", L"Egyszer\u0171"},
      {"Turkish", 1254, "Cancel", L"\u0130ptal"},
      {"Thai", 874, "Save successfully",
       L"\u0e1a\u0e31\u0e19\u0e17\u0e36\u0e01\u0e2a\u0e33\u0e40\u0e23\u0e47\u0e08"},
      {"Korean", 949, "Cancel", L"\ucde8\uc18c"},
      {"SChinese", 936, "Save successfully", L"\u4fdd\u5b58\u6210\u529f"},
      // The second byte of the last character (and of the Japanese fourth) is the
      // backslash byte.
      {"TChinese", 950, "Save successfully", L"\u5132\u5b58\u6210\u529f"},
      {"Japanese", 932, "Zoom in\\out your screen.",
       L"\u753b\u9762\u306e\u8868\u793a\u3092\u62e1\u5927\u307e\u305f\u306f\u7e2e\u5c0f"
       L"\u3057\u307e\u3059\u3002"},
  };
  for (const Case& c : cases) {
    Choose(std::string("Name=") + c.language);
    const Language l = Current();
    EXPECT_EQ(c.language, l.name);
    EXPECT_EQ(folder_ + "\\Languages\\" + c.language + ".txt", l.path);
    EXPECT_EQ(std::wstring(c.expected), Decode(Translate(c.english, l.path), c.codePage))
        << c.language << ": " << c.english;
    EXPECT_EQ("An unknown text", Translate("An unknown text", l.path)) << c.language;
  }
}

TEST_F(StandIn, CutsToTheBufferAndFillsFormats) {
  Choose("Name=French");
  const std::string path = Current().path;
  EXPECT_EQ("Annu", Translate("Cancel", path, 5));
  EXPECT_EQ("", Translate("Cancel", path, 1));
  char out[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(0, translate_(0, "Cancel", out, 0, path.c_str()));
  EXPECT_EQ('#', out[0]) << "a buffer of no bytes is not written";
  EXPECT_EQ(0, translate_(0, "Cancel", nullptr, 10, path.c_str()));
  EXPECT_EQ(0, translate_(0, nullptr, out, 4, path.c_str()));
  EXPECT_STREQ("", out);

  // A language path that is not terminated where the caller's buffer ends.
  std::vector<char> endless(600, 'q');
  std::vector<char> big(64, '#');
  EXPECT_EQ(6, translate_(0, "Cancel", big.data(), 64, endless.data()));

  char filled[64];
  EXPECT_EQ(43, translateF_(0, "Press button within %lu sec.", filled, sizeof(filled), path.c_str(),
                            16ul));
  EXPECT_STREQ("Appuyez sur un bouton dans les 16 secondes.", filled);
  EXPECT_EQ(9, translateF_(0, "Press button within %lu sec.", filled, 10, path.c_str(), 16ul));
  EXPECT_STREQ("Appuyez s", filled);
  EXPECT_EQ(9, translateF_(0, "Nothing %d", filled, sizeof(filled), "", 7));
  EXPECT_STREQ("Nothing 7", filled) << "unknown: the English format";
}

TEST_F(StandIn, UnusableLanguageFilesGiveEnglish) {
  const std::string dir = folder_ + "\\Languages\\";
  WriteText(dir + "Empty.txt", "");
  WriteText(dir + "Garbage.txt", std::string("\x01\x02garbage without quotes\r\n\xff\xfe", 26));
  WriteText(dir + "Bom.txt", "\xEF\xBB\xBF\"Yes\" = \"Oui\"\r\n");
  WriteText(dir + "Huge.txt", "\"Yes\" = \"Oui\"\r\n" + std::string(1100000, ';'));
  CreateDirectoryA((dir + "Folder.txt").c_str(), nullptr);
  for (const char* broken : {"Empty", "Garbage", "Bom", "Huge", "Folder"}) {
    Choose(std::string("Name=") + broken);
    const Language l = Current();
    EXPECT_EQ("English", l.name) << broken;
    EXPECT_EQ("", l.path) << broken;
  }
  EXPECT_EQ("Yes", Translate("Yes", dir + "Nowhere.txt")) << "a path without a file";
}

#ifdef PIO_WITH_BINDING
// The program's binding with our library: the language in force and its texts,
// and the message formats the program builds from them.
TEST_F(StandIn, TheProgramsBindingSpeaksTheChosenLanguage) {
  Choose("Name=German");
  ASSERT_EQ(0, LoadLanguageLibraryFrom(folder_.c_str()));
  EXPECT_STREQ("German", CurrentLanguageName());
  EXPECT_TRUE(IsCurrentLanguage("german"));
  EXPECT_STREQ("Beenden", TranslateText("Exit"));
  char message[260];
  std::snprintf(message, sizeof(message), TranslateText("Press button within %lu sec."), 16ul);
  EXPECT_STREQ("Dr\xfc" "cken Sie innerhalb von 16 Sekunden eine Taste.", message);
  const char* unknown = "1280 * 1024";
  EXPECT_STREQ(unknown, TranslateText(unknown));
  EXPECT_EQ(0, UnloadLanguageLibrary());

  Choose("Name=");
  ASSERT_EQ(0, LoadLanguageLibraryFrom(folder_.c_str()));
  EXPECT_STREQ("English", CurrentLanguageName());
  EXPECT_STREQ("Exit", TranslateText("Exit"));
  EXPECT_EQ(0, UnloadLanguageLibrary());
}
#endif

}  // namespace
