// CDialog: a dialog from a template resource, run modally by its own message loop
// (which gives every window of the dialog its PreTranslateMessage) or modelessly.
#pragma once

#include <utility>
#include <vector>

#include "dlgtemplate.h"
#include "wnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds a control object to the dialog's control of that id (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, HWND parent = nullptr);
  ~CDialog() override;

  // Runs the dialog until EndDialog; returns its result, or -1 when the dialog
  // could not be created.
  virtual INT_PTR DoModal();
  // Creates the dialog without a modal loop (the caller's loop serves it). A
  // dialog whose template or initialisation leaves it hidden stays hidden until
  // ShowInitialised.
  BOOL Create(UINT templateId, HWND parent = nullptr);
  // Shows the dialog, if hidden, and paints it with its controls at once, as the
  // modal run does after the initialisation.
  void ShowInitialised();
  void EndDialog(int result);

  // Controls of the template that Create leaves out, to be made by
  // MakeLaterControls when first needed (a first frame then waits only for the
  // controls it shows). Until then GetDlgItem finds none of them. Set before Create;
  // a template that cannot be split so is made whole.
  void MakeControlsLater(std::vector<int> ids) { m_laterIds = std::move(ids); }
  // Makes the controls left out, each in its template place in the order of the
  // controls and with the dialog's font; true once all of them exist.
  bool MakeLaterControls();
  // Whether controls left out by Create are still to be made.
  bool HasLaterControls() const { return !m_later.empty(); }

  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  UINT GetTemplateId() const { return m_templateId; }
  bool IsModalRunning() const { return m_modalRunning; }

  BOOL PreTranslateMessage(MSG* msg) override;
  // The control of that id. A handle found once is kept: the system's lookup asks
  // the window server for the list of children at every call, and a skinned
  // dialog looks its controls up hundreds of times. A kept handle is used only
  // while it is still a child of this dialog with that id.
  HWND GetDlgItem(int id) const override;

 protected:
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange*) {}
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
  BOOL RunModalLoop();

  UINT m_templateId;
  HWND m_parent;
  bool m_modalRunning = false;
  bool m_endRequested = false;
  int m_modalResult = -1;
  mutable std::vector<std::pair<int, HWND>> m_controls;  // found by GetDlgItem
  std::vector<int> m_laterIds;
  std::vector<dlgtemplate::LaterControl> m_later;  // left out and not made yet
};

// Offers a message to the PreTranslateMessage of each bound window from the
// message's own window up to `stop` (inclusive); true when one handled it.
BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
