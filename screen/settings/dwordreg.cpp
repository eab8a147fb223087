#include "dwordreg.h"

namespace {

// Copies a NUL-terminated text into a fixed buffer; false (buffer empty) when it
// does not fit whole.
template <class Char>
bool CopyWhole(Char* dest, int capacity, const Char* src) {
  dest[0] = 0;
  if (!src) return false;
  int n = 0;
  while (n < capacity && src[n]) ++n;
  if (n == capacity) return false;
  for (int i = 0; i < n; ++i) dest[i] = src[i];
  dest[n] = 0;
  return true;
}

LONG CreateForWrite(HKEY root, const char* path, HKEY* key) {
  return ::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, key, nullptr);
}
LONG CreateForWrite(HKEY root, const wchar_t* path, HKEY* key) {
  return ::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, key, nullptr);
}
LONG SetDword(HKEY key, const char* name, const DWORD& value) {
  return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}
LONG SetDword(HKEY key, const wchar_t* name, const DWORD& value) {
  return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

LONG OpenKey(HKEY root, const char* path, REGSAM access, HKEY* key) {
  return ::RegOpenKeyExA(root, path, 0, access, key);
}
LONG OpenKey(HKEY root, const wchar_t* path, REGSAM access, HKEY* key) {
  return ::RegOpenKeyExW(root, path, 0, access, key);
}
LONG QueryDword(HKEY key, const char* name, DWORD* value, DWORD* size) {
  return ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), size);
}
LONG QueryDword(HKEY key, const wchar_t* name, DWORD* value, DWORD* size) {
  return ::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), size);
}
LONG DeleteValue(HKEY key, const char* name) { return ::RegDeleteValueA(key, name); }
LONG DeleteValue(HKEY key, const wchar_t* name) { return ::RegDeleteValueW(key, name); }

}  // namespace

template <class Char>
BasicDwordReg<Char>::BasicDwordReg(HKEY root, const Char* keyPath, const Char* valueName)
    : m_root(root) {
  const bool pathFits = CopyWhole(m_keyPath, kKeyPathChars, keyPath);
  const bool nameFits = CopyWhole(m_valueName, kValueNameChars, valueName);
  // An empty key path would put the value on the root key itself.
  m_usable = root && pathFits && nameFits && m_keyPath[0] != 0;
}

template <class Char>
BOOL BasicDwordReg<Char>::Write(DWORD value) {
  m_value = value;
  if (!m_usable) return FALSE;
  HKEY key = nullptr;
  if (CreateForWrite(m_root, m_keyPath, &key) != ERROR_SUCCESS) return FALSE;
  const LONG set = SetDword(key, m_valueName, value);
  ::RegCloseKey(key);
  return set == ERROR_SUCCESS;
}

template <class Char>
bool BasicDwordReg<Char>::TryRead(DWORD& value) {
  if (!m_usable) return false;
  HKEY key = nullptr;
  if (OpenKey(m_root, m_keyPath, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD read = 0;
  DWORD size = sizeof read;
  const LONG query = QueryDword(key, m_valueName, &read, &size);
  ::RegCloseKey(key);
  // A shorter value would leave bytes of an earlier one in the number.
  if (query != ERROR_SUCCESS || size != sizeof read) return false;
  m_value = read;
  value = read;
  return true;
}

template <class Char>
bool BasicDwordReg<Char>::Delete() {
  if (!m_usable) return false;
  HKEY key = nullptr;
  const LONG open = OpenKey(m_root, m_keyPath, KEY_SET_VALUE, &key);
  if (open == ERROR_FILE_NOT_FOUND) return true;
  if (open != ERROR_SUCCESS) return false;
  const LONG removed = DeleteValue(key, m_valueName);
  ::RegCloseKey(key);
  return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
}

template class BasicDwordReg<char>;
template class BasicDwordReg<wchar_t>;

DWORD DwordReg::Read() {
  DWORD value = 0;
  return TryRead(value) ? value : 0;
}
