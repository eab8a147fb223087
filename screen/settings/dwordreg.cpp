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

template class BasicDwordReg<char>;
template class BasicDwordReg<wchar_t>;

bool DwordReg::TryRead(DWORD& value) {
  if (!m_usable) return false;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(m_root, m_keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD read = 0;
  DWORD size = sizeof read;
  const LONG query =
      ::RegQueryValueExW(key, m_valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size);
  ::RegCloseKey(key);
  // A shorter value would leave bytes of an earlier one in the number.
  if (query != ERROR_SUCCESS || size != sizeof read) return false;
  m_value = read;
  value = read;
  return true;
}

DWORD DwordReg::Read() {
  DWORD value = 0;
  return TryRead(value) ? value : 0;
}
