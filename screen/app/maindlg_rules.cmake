# The main dialog's layout tables and window-free decisions.
pio_core_library(screen_maindlg_core SOURCES layout.cpp maindlg_rules.cpp
  LIBS screen_skinbutton_core)
pio_native_test(maindlg_rules_tests SOURCES tests/maindlg_rules_tests.cpp
  LIBS screen_maindlg_core)
