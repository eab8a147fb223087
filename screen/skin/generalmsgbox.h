// CGeneralMsgBox: the question box of PioScreen. A modal, borderless, skinned
// box of 400 x 270 shaped by its frame, with one message in the middle and the
// two skinned answers "Yes" and "No" below it, shown over a fade window that
// darkens the main dialog. DoModal returns IDOK for "Yes", IDCANCEL for "No"
// or Escape. Right-to-left languages swap the answers and right-align the text.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

#include "gdi.h"
#include "msgbox_core.h"
#include "skinneddialog.h"

class CContourBitmap;
class CFadeWnd;
class CxSkinButton;

class CGeneralMsgBox : public CSkinnedDialog {
 public:
  // A box with a fixed English message, translated at each paint.
  CGeneralMsgBox(HWND parent, CFadeWnd* fade, const char* message);
  // A box that paints the caller's buffer of `size` bytes, which SetText
  // rewrites; the caller keeps the buffer alive while the box exists.
  CGeneralMsgBox(HWND parent, CFadeWnd* fade, char* buffer, std::size_t size);
  ~CGeneralMsgBox() override;

  // The window text by which others find the box; the message when none is set.
  void SetTitle(const char* title) { m_title = title ? title : ""; }
  // Copies `text` into the caller's buffer (cut to fit, never split inside a
  // character) and repaints the message at once. Nothing for a fixed message.
  void SetText(const char* text);
  // Where the message is painted, in client coordinates.
  RECT TextRect() const { return m_textRect; }

 protected:
  const MessageMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  BOOL OnInitDialog() override;

 private:
  LRESULT OnLeftButton(WPARAM, LPARAM);
  LRESULT OnRightButton(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnSetCursor(WPARAM, LPARAM);

  void CreateTextFont();
  void SetUpSkin();
  void Answer(int result);
  void OnBoxKey(UINT key);
  // The message as painted: translated, in a copy of its own.
  std::string ShownText() const;

  CFadeWnd* m_fade;                      // not owned; may be null
  const char* m_message;                 // the constant message, or m_buffer
  char* m_buffer;                        // the caller's, for SetText; may be null
  std::size_t m_bufferSize;
  std::string m_title;
  CFont m_textFont;
  HCURSOR m_arrowCursor = nullptr;       // shared system cursor
  HCURSOR m_handCursor = nullptr;        // resource cursor, freed with the module
  std::unique_ptr<CxSkinButton> m_buttons[2];    // left 1056, right 1057
  std::unique_ptr<CContourBitmap> m_bitmaps[2];  // frame 277, strip 282
  RECT m_textRect{};
  msgbox::ButtonOrder m_order;
};

// The plain question: `message` (English, translated at each paint) in a box over
// a fade of `parent`. IDOK for "Yes"; IDCANCEL for "No", Escape or a box that
// could not be shown.
INT_PTR AskOverFade(HWND parent, const char* message);

// The lead-byte test of the ANSI code page, for the text cuts.
inline bool IsAnsiLeadByte(unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; }
