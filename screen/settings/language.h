// The binding to the maker's language library "DiZovadAzir.dll" beside the
// program: which language is in force, and the program's English texts in it.
// Without the library the program runs in English with its own texts.
//
// One user-interface thread uses all of this; nothing here is locked.
#pragma once

#include <windows.h>

// Loads the library and asks it once for the language: 0 when a language is
// known, 1 when the library could not be loaded, 2 when it gave no language.
int LoadLanguageLibrary();
// The same with the library looked for in `folder` instead of the program's.
int LoadLanguageLibraryFrom(const char* folder);

// Frees the library and the buffers: 0 when a library was freed, 1 when none was
// loaded. Afterwards the language is English and texts come back unchanged.
int UnloadLanguageLibrary();

// The language's English name as the library reports it ("French", "Arabic",
// ...), or "English". Callers compare it without regard to case.
const char* CurrentLanguageName();
// CurrentLanguageName equals `name`, ignoring case.
bool IsCurrentLanguage(const char* name);

// The text in the current language; the very same pointer when no language is
// loaded. A translation stays valid only until the next call: copy it first.
const char* TranslateText(const char* text);

// Restores the window if minimised and brings it to the foreground, also from a
// thread that is not the foreground one.
void ActivateWindow(HWND window);
