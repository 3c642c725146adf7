// Helpers for the user-interface tests: a shell file list as a drag carries it,
// and a script that acts on each editor window while it runs modally.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

// An IDataObject with one CF_HDROP file list of these paths (or none: a drag of
// some other data). The caller owns the one reference returned.
IDataObject* make_file_drop(const std::vector<std::string>& paths, bool with_file_list = true);

// Hands the data object to the window's registered drop target as OLE does on a
// drop (DragEnter, then Drop); returns the effect the target reported.
DWORD drop_on(HWND window, const std::vector<std::string>& paths, DWORD keys = 0);

// While alive, runs the next action once for each editor window that opens, from
// a thread timer (so inside the editor's own message loop).
class EditorScript {
 public:
  using Action = std::function<void(HWND editor)>;
  explicit EditorScript(std::vector<Action> actions);
  ~EditorScript();
  int opened() const { return opened_; }

 private:
  static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD);
  std::vector<Action> actions_;
  UINT_PTR timer_ = 0;
  HWND last_ = nullptr;
  int opened_ = 0;
};

// Editor helpers for actions.
std::string text_of(HWND window);
bool checked(HWND button);
HWND editor_item(int id);
void click(HWND window, int id);      // a BN_CLICKED command to the control's parent
void post_click(HWND window, int id);  // the same, posted
// The three kind buttons' and two method buttons' states as "100" / "01".
std::string kind_checks();
std::string method_checks();
