// Windows' controls declared as data: one table per window, one call creates them.
#pragma once
#include <windows.h>

#include <cstddef>

struct FontSpec {
  const char* face;
  int height;  // logical height; negative is the character height
  int weight;
  BYTE charset;
};

struct ControlSpec {
  HWND* handle;          // where the control's handle is kept
  int id;
  const char* window_class;
  DWORD style;           // WS_CHILD | WS_VISIBLE are added
  DWORD ex_style;
  int x, y, width, height;
  const char* text;
  const FontSpec* font;
  HWND* parent;          // nullptr: the window itself; else an earlier control
};

// Creates every control of the table in order; false when one cannot be made.
bool create_controls(HWND window, const ControlSpec* table, size_t count);

template <size_t N>
bool create_controls(HWND window, const ControlSpec (&table)[N]) {
  return create_controls(window, table, N);
}

// Registers the class (once) and creates a top-level window of the given outer
// size, centred on the screen.
HWND create_centred_window(HINSTANCE instance, const char* class_name, WNDPROC procedure, DWORD ex_style,
                           const char* title, DWORD style, int width, int height);

// One font per spec, made on first use and kept until release_fonts.
HFONT font_for(const FontSpec& spec);
void release_fonts();
