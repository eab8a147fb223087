// CxSkinButton: the push button of PioScreen. It draws itself from up to four
// image files (normal, down, over, unavailable), picks the image from its state,
// draws its caption over it, and tracks the mouse itself so that hovering shows
// the over image and tells the owning dialog.
#pragma once

#include <windows.h>

#include <memory>

#include "button.h"
#include "gdi.h"
#include "skinbutton_core.h"

// Posted to the other members of a radio group when one of them is checked.
constexpr UINT WM_SKIN_UNCHECK = WM_USER + 0x100;

class CxSkinButton;

// Binds the library that blends the picture buttons' images, which the first
// such draw binds otherwise; false when it is missing (nothing is blended then).
bool BindSkinButtonDrawing();

// What a button tells the dialog that owns it (the main dialog). Buttons made
// without an owner (the message box's) tell nobody.
class SkinButtonOwner {
 public:
  // The window whose client coordinates drags are reported in, and whose right
  // panel a hovered thumb repaints.
  virtual HWND OwnerWindow() const = 0;
  // A thumb or preset key was hovered: 0 DPI, 1 resolution.
  virtual void SetPreviewKind(int kind) = 0;
  // A size-list entry (1030..1035) was hovered.
  virtual void SetHoveredSizeButton(int id) = 0;
  // A preset key (0, 1, 2) was released.
  virtual void SelectDpiPreset(int preset) = 0;
  // A held thumb moved (released false) or was let go (released true); previousX
  // is the pointer's last x in OwnerWindow's client coordinates, -1 when unknown.
  virtual int DragSliderThumb(int previousX, CxSkinButton* thumb, bool released) = 0;

 protected:
  ~SkinButtonOwner() = default;
};

class CxSkinButton : public CButton {
 public:
  explicit CxSkinButton(SkinButtonOwner* owner = nullptr);
  ~CxSkinButton() override;

  // Loads the images from `folder` (ending in a backslash) and sets the role and,
  // for the captioned roles, the caption colour and font. File names have no
  // folder; an empty or null name, a missing or undecodable file, or a path that
  // does not fit MAX_PATH leaves its image empty. The unavailable image falls
  // back to the normal one. Call after binding, before the button is shown.
  void LoadSkinImages(const char* normalName, const char* downName, const char* overName,
                      const char* unavailableName, const char* folder, SkinRole role);

  void DrawItem(LPDRAWITEMSTRUCT dis) override;

  void SetTextColour(COLORREF colour) { m_textColour = colour; }
  COLORREF GetTextColour() const { return m_textColour; }
  SkinRole GetRole() const { return m_role; }
  ButtonKind GetKind() const { return m_kind; }
  bool IsChecked() const { return m_checked; }
  bool IsHovering() const { return m_hovering; }
  bool IsPressed() const { return m_pressed; }
  int GetDragLastX() const { return m_dragLastX; }
  HFONT GetCaptionFont() const { return m_font ? static_cast<HFONT>(*m_font) : nullptr; }

  // The owner's latch of a preset key: set and cleared by the owner, which then
  // invalidates the button. Read only for the Preset role.
  int m_selected = 0;

 protected:
  const MessageMap* GetMessageMap() const override;
  void PreSubclassWindow() override;

 private:
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonDblClk(WPARAM, LPARAM);
  LRESULT OnKillFocus(WPARAM, LPARAM);
  LRESULT OnKeyDown(WPARAM, LPARAM);
  LRESULT OnMouseLeave(WPARAM, LPARAM);
  LRESULT OnSkinUncheck(WPARAM, LPARAM);
  LRESULT OnSetCheck(WPARAM, LPARAM);
  LRESULT OnGetCheck(WPARAM, LPARAM);

  // Puts the pushed look right when the pointer left or re-entered the button
  // while it held the mouse; true when it changed it (the change repaints).
  bool CorrectPushedLook();
  bool IsUnderPoint(POINT clientPoint) const;
  // Asks for WM_MOUSELEAVE; true only when the system now tracks this button.
  bool ArmLeaveTracking();
  int OwnerX(POINT clientPoint) const;
  void ApplyClickCheck();
  void TakeFocus();
  void CreateCaptionFont();
  void DrawImage(HDC dc, const RECT& item, skinbutton::Image image) const;
  HBITMAP ImageHandle(skinbutton::Image image) const;

  bool m_checked = false;
  ButtonKind m_kind = ButtonKind::Push;
  bool m_hovering = false;
  bool m_pressed = false;
  SkinRole m_role = SkinRole::Unset;
  CBitmap m_imageNormal;    // "_n"
  CBitmap m_imageDown;      // "_d": pushed, checked or selected
  CBitmap m_imageDisabled;  // "_un", or a second copy of the normal image
  CBitmap m_imageOver;      // "_o" while hovered
  CBitmap m_imageFocus;     // a second copy of "_o" while focused
  COLORREF m_textColour;
  std::unique_ptr<BLENDFUNCTION> m_blend;  // Picture role only: per-pixel alpha
  SkinButtonOwner* m_owner;                // not owned; null for message box buttons
  int m_dragLastX = -1;
  std::unique_ptr<CFont> m_font;  // caption font of the Captioned and Preset roles
};
