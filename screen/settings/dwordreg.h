// One 32-bit registry value each: DwordRegHelper (8-bit texts, PioScreen) and
// DwordReg (UTF-16 texts, KvSrcHelper). They share one layout and one body and
// differ only in their character width.
#pragma once

#include <windows.h>

template <class Char>
class BasicDwordReg {
 public:
  static constexpr int kKeyPathChars = 512;
  static constexpr int kValueNameChars = 128;

  // A key path or value name that does not fit its buffer is not cut (the cut
  // text would name another key or value): the object then never reads or writes.
  BasicDwordReg(HKEY root, const Char* keyPath, const Char* valueName);
  virtual ~BasicDwordReg() = default;
  BasicDwordReg(const BasicDwordReg&) = delete;
  BasicDwordReg& operator=(const BasicDwordReg&) = delete;

  // Keeps `value`, opens or creates the key and sets the value as a REG_DWORD.
  // 1 when the value was set; 0 otherwise (nothing set).
  BOOL Write(DWORD value);
  // The value read, keeping it; false (`value` untouched) when the key or value
  // is missing or the value is not four bytes long, so that a stored 0 and a
  // missing value can be told apart. The stored type is not checked.
  bool TryRead(DWORD& value);
  // Removes the value; true when it is gone (also when it was never there).
  bool Delete();

  HKEY Root() const { return m_root; }
  const Char* KeyPath() const { return m_keyPath; }
  const Char* ValueName() const { return m_valueName; }
  // The value last read or written (0 at first).
  DWORD Value() const { return m_value; }
  bool IsUsable() const { return m_usable; }

 protected:
  HKEY m_root;
  Char m_keyPath[kKeyPathChars];
  Char m_valueName[kValueNameChars];
  DWORD m_value = 0;
  bool m_usable;
};

// PioScreen's writer of the DPI request.
class DwordRegHelper : public BasicDwordReg<char> {
 public:
  using BasicDwordReg<char>::BasicDwordReg;
};

// KvSrcHelper's reader and writer.
class DwordReg : public BasicDwordReg<wchar_t> {
 public:
  using BasicDwordReg<wchar_t>::BasicDwordReg;

  // The value, or 0 when the key or value cannot be read.
  DWORD Read();
};
