// The baseline of the start-up figures: the least a GUI program does before it
// waits for input. It registers a class, creates a 1024 x 576 window, paints it
// once and runs its message loop until it is closed.
//
// Built with PIO_BARE_CHILDREN it also has as many child windows as the main
// dialog (45, of which 17 are visible on its first page): plain buttons and
// statics, nothing drawn by the program, each child erased and painted on its
// own. It shows what the number of windows alone costs under Wine; PioScreen draws
// its first frame's controls itself and so skips their own first paints.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "PioBareWindow";
  if (!RegisterClassA(&wc)) return 1;
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Bare window",
                              WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT,
                              CW_USEDEFAULT, 1024, 576, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
#ifdef PIO_BARE_CHILDREN
  for (int i = 0; i < 45; ++i) {
    const bool visible = i < 17, button = i % 2 == 0;
    CreateWindowExA(button ? 0 : WS_EX_TRANSPARENT, button ? "Button" : "Static", button ? " " : "",
                    WS_CHILD | (visible ? WS_VISIBLE : 0) | (button ? BS_PUSHBUTTON : SS_LEFT),
                    20 + (i % 9) * 110, 20 + (i / 9) * 100, 100, 40, hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + i)), instance, nullptr);
  }
#endif
  ShowWindow(hwnd, show == SW_HIDE ? SW_SHOWNORMAL : show);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
