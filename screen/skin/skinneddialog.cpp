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

LRESULT CSkinnedDialog::MoveFromFace(POINT screenPoint) {
  // The system's move starts from a point on the screen: a client point would jump
  // the window by its own place. Sent, not posted: the move starts while the
  // button is still down; a posted start could come after a quick click's release
  // was handled, and the move would then wait for a release that never comes.
  const LRESULT result = Default();
  SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screenPoint.x, screenPoint.y));
  return result;
}
