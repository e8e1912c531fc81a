// For the end-to-end runs: does what a click on a minimised program's taskbar button does,
// restoring the window titled TITLE and giving it the focus.
//   velko_taskbar_click TITLE
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velko_taskbar_click TITLE\n");
    return 2;
  }
  const std::string title = argv[1];
  HWND window = ::FindWindowA(nullptr, title.c_str());
  if (window == nullptr) {
    std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
    return 1;
  }
  ::ShowWindow(window, SW_RESTORE);
  ::SetForegroundWindow(window);
  return 0;
}
