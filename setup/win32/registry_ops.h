// The installer's registry work: the installation record, the Run value and the
// removal of a key with everything below it. Everything is ANSI.
#pragma once

#include <windows.h>

#include <string>

#include "system_ops.h"

namespace setup {

constexpr char kRecordKey[] = "SOFTWARE\\KAVO\\KvMessageController";
constexpr char kRecordVersionValue[] = "VERSION";
constexpr char kRecordCountValue[] = "COUNT";
// Our own: what the component brought, one path per string (REG_MULTI_SZ).
constexpr char kRecordFilesValue[] = "FILES";
constexpr char kRecordFoldersValue[] = "FOLDERS";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// True when COUNT was read. VERSION is taken only when it fits the record's
// 100-byte buffer; otherwise the record keeps the version it held. A COUNT that
// is not a REG_DWORD of 4 bytes is read as there but not trusted.
bool ReadInstallRecord(HKEY root, const char* path, InstallRecord& record);
// True when COUNT was written (or, for a count that is not trusted and so
// stays as stored, when the key could be written); the other writes do not count.
bool WriteInstallRecord(HKEY root, const char* path, const InstallRecord& record);

// A REG_SZ through the record's text buffer: texts over 99 characters are
// refused, never cut.
bool WriteRegistryText(HKEY root, const char* path, const char* name, const std::string& text);
bool DeleteRegistryValue(HKEY root, const char* path, const char* name);

// True when the key is gone (also when it never existed). Deletes the deepest
// subkeys first. Paths longer than 259 characters are refused.
bool DeleteRegistryTree(HKEY root, const std::string& path);

}  // namespace setup
