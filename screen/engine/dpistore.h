// Stores the user's DPI choice as the request that KvSrcHelper carries into the
// machine-wide DPI setting. Owned by the main dialog; its registry writer is made
// on the first store and lives as long as the store.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "dpistore_core.h"
#include "dwordreg.h"

class DpiStore {
 public:
  // The request value of the current user.
  DpiStore();
  // A store that writes elsewhere (tests).
  DpiStore(HKEY root, std::string keyPath, std::string valueName);
  ~DpiStore();
  DpiStore(const DpiStore&) = delete;
  DpiStore& operator=(const DpiStore&) = delete;

  // S_OK when the DPI the choice stands for was written; E_NOTIMPL when that DPI
  // is `currentDpi` (nothing written); E_FAIL when the write failed or no display
  // can use that DPI (nothing written).
  HRESULT StoreDpiChoice(int dpiChoice, double currentDpi);
  // Puts the request back as it was before the last store that wrote it (the
  // value it held, or none); nothing when no store has written. True when the
  // request is as it was.
  bool UndoLastStore();

  // The writer, once made (null before the first store).
  const DwordRegHelper* Writer() const { return m_writer.get(); }

 private:
  HKEY m_root;
  std::string m_keyPath;
  std::string m_valueName;
  std::unique_ptr<DwordRegHelper> m_writer;
  // What the request held before the last write: its value, whether it had one,
  // and whether there is a write to undo.
  DWORD m_previous = 0;
  bool m_hadPrevious = false;
  bool m_undoable = false;
};
