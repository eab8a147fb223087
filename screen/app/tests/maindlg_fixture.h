// The main dialog in the test process, shown as the modal run shows it and
// driven through real messages, inside the test prefix's 1280 x 720 virtual
// desktop. Every case starts from the same state: no favourites file, no TV
// display library on the search path unless the case puts one there, the
// dialog in front and its start-up repaint done.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "message_pump.h"
#include "previewmaindlg.h"

namespace maindlg_test {

// The favourites file of this user, as the file's description places it.
std::string FavouritesPath();
void DeleteFavourites();

class MainDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Makes and shows a new dialog (the previous one is destroyed) and waits until
  // it is in front with its first paint and its start-up repaint done.
  void Open();
  void Close();

  HWND Item(int id) const { return dialog->GetDlgItem(id); }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  std::string Text(int id) const;
  // A click of a button as the dialog receives it.
  void Click(int id);
  void Scroll(int bar, int code, int position = 0);
  RECT ClientRect(int id) const;

  std::unique_ptr<CPreviewMainDlg> dialog;
};

// The same with the stand-in TV display library on the search path, over a
// display of range 0..30 at 15 (the slider starts at 15 of 31 steps).
class MainDialogWithTv : public MainDialog {
 protected:
  void SetUp() override;
  void TearDown() override;
  int DisplayAdjustment() const;

  std::string m_libraryFolder;
};

}  // namespace maindlg_test
