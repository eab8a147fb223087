// CSkinnedDialog: what the skinned dialogs share. They paint every text
// themselves; their static controls only hold places, so statics get a
// transparent background and no brush, and nothing is erased before a paint.
#pragma once

#include "dialog.h"

class CSkinnedDialog : public CDialog {
 public:
  using CDialog::CDialog;

 protected:
  const MessageMap* GetMessageMap() const override;
  LRESULT OnCtlColorStatic(WPARAM, LPARAM);
  LRESULT OnEraseBackground(WPARAM, LPARAM);
  // For a WM_LBUTTONDOWN at `screenPoint`: the dialogs have no caption, so a press
  // on their face moves the window. Returns the default handling's result.
  LRESULT MoveFromFace(POINT screenPoint);
};
