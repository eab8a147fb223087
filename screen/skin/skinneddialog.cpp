#include "skinneddialog.h"

#include <iterator>

const MessageMap* CSkinnedDialog::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      OnMessage(WM_CTLCOLORSTATIC, &CSkinnedDialog::OnCtlColorStatic),
      OnMessage(WM_ERASEBKGND, &CSkinnedDialog::OnEraseBackground),
  };
  static const MessageMap map{CDialog::GetMessageMap(), entries, std::size(entries)};
  return &map;
}

LRESULT CSkinnedDialog::OnCtlColorStatic(WPARAM wParam, LPARAM) {
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT CSkinnedDialog::OnEraseBackground(WPARAM, LPARAM) { return TRUE; }
