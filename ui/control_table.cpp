#include "ui/control_table.h"

#include <vector>

namespace {

struct MadeFont {
  const FontSpec* spec;
  HFONT font;
};
std::vector<MadeFont>& made_fonts() {
  static std::vector<MadeFont> fonts;
  return fonts;
}

}  // namespace

HFONT font_for(const FontSpec& spec) {
  for (const MadeFont& made : made_fonts())
    if (made.spec == &spec) return made.font;
  // Output precision 3, clip precision 2, quality 1, variable pitch Swiss (0x22).
  HFONT font = CreateFontA(spec.height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE, spec.charset, OUT_STROKE_PRECIS,
                           CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, spec.face);
  made_fonts().push_back({&spec, font});
  return font;
}

void release_fonts() {
  for (const MadeFont& made : made_fonts()) DeleteObject(made.font);
  made_fonts().clear();
}

HWND create_centred_window(HINSTANCE instance, const char* class_name, WNDPROC procedure, DWORD ex_style,
                           const char* title, DWORD style, int width, int height) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = class_name;
  RegisterClassExA(&window_class);  // a second registration fails harmlessly
  int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return CreateWindowExA(ex_style, class_name, title, style, left, top, width, height, nullptr, nullptr, instance,
                         nullptr);
}

bool create_controls(HWND window, const ControlSpec* table, size_t count) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  for (size_t i = 0; i < count; ++i) {
    const ControlSpec& spec = table[i];
    HWND parent = spec.parent ? *spec.parent : window;
    HWND control = CreateWindowExA(spec.ex_style, spec.window_class, spec.text ? spec.text : "",
                                   WS_CHILD | WS_VISIBLE | spec.style, spec.x, spec.y, spec.width, spec.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    if (!control) return false;
    if (spec.font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_for(*spec.font)), FALSE);
    if (spec.handle) *spec.handle = control;
  }
  return true;
}
