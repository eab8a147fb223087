// The favourites file on disk, one per user, in the folder "KAVO\Pio-Screen" of
// the local application data. Paths are ANSI and fit in 260 bytes.
#pragma once

#include <string>

#include "screenconfig_core.h"

// Makes every missing folder of `path` (drive letter, colon and first backslash
// are passed over) and sets the path's attributes to normal. True when the path is
// a folder at the end. False for paths that do not fit in 260 bytes.
bool MakeDirectoryTree(const char* path);

// Reads the file into `record`: slots named by its lines are overwritten, the
// others keep their values, count becomes the number of entry lines. False, and
// the record unchanged, when the file is missing, cannot be opened (a folder, for
// one) or cannot be read to its end.
bool ReadScreenConfig(const char* path, ScreenConfigRecord& record);

// Replaces the whole file with the record's text. The new text goes to a
// temporary file beside it first, so a failed write never leaves the favourites
// truncated. False when nothing could be written.
bool WriteScreenConfig(const ScreenConfigRecord& record, const char* path);

// The file's place and what it held when the main dialog opened.
struct ScreenConfigFile {
  std::string path;           // empty: no folder could be made, nothing is kept
  ScreenConfigRecord record;  // all zero unless the file was read
};

// Asks the shell for the local application-data folder (creating it if needed),
// makes "KAVO\Pio-Screen\" in it and reads the file from there.
ScreenConfigFile LocateScreenConfig();

// The same under a given application-data folder.
ScreenConfigFile LocateScreenConfigUnder(const std::string& localAppData);
