#include "tests/ui_support.h"

#include <shlobj.h>

#include "core/app_state.h"
#include "ui/drop_target.h"

namespace {

class FileDrop : public IDataObject {
 public:
  FileDrop(const std::vector<std::string>& paths, bool with_file_list)
      : paths_(paths), with_file_list_(with_file_list) {}
  virtual ~FileDrop() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (!left) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    // DROPFILES, then each path and its NUL, then one more NUL.
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths_) size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    BYTE* bytes = static_cast<BYTE*>(GlobalLock(memory));
    reinterpret_cast<DROPFILES*>(bytes)->pFiles = sizeof(DROPFILES);
    char* at = reinterpret_cast<char*>(bytes + sizeof(DROPFILES));
    for (const std::string& path : paths_) {
      memcpy(at, path.c_str(), path.size() + 1);
      at += path.size() + 1;
    }
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    bool file_list = format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL);
    return with_file_list_ && file_list ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  ULONG references_ = 1;
  std::vector<std::string> paths_;
  bool with_file_list_;
};

EditorScript* running_script = nullptr;

}  // namespace

IDataObject* make_file_drop(const std::vector<std::string>& paths, bool with_file_list) {
  return new FileDrop(paths, with_file_list);
}

DWORD drop_on(HWND window, const std::vector<std::string>& paths, DWORD keys) {
  IDropTarget* target = drop_target_of(window);
  if (!target) return static_cast<DWORD>(-1);
  IDataObject* data = make_file_drop(paths);
  POINTL at = {10, 10};
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  target->DragEnter(data, keys, at, &effect);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  target->Drop(data, keys, at, &effect);
  data->Release();
  return effect;
}

EditorScript::EditorScript(std::vector<Action> actions) : actions_(std::move(actions)) {
  running_script = this;
  timer_ = SetTimer(nullptr, 0, 30, on_timer);
}

EditorScript::~EditorScript() {
  KillTimer(nullptr, timer_);
  running_script = nullptr;
}

void CALLBACK EditorScript::on_timer(HWND, UINT, UINT_PTR, DWORD) {
  EditorScript* script = running_script;
  HWND editor = controls.editor_window;
  if (!script || !editor || editor == script->last_ || !IsWindowVisible(editor)) return;
  script->last_ = editor;
  int index = script->opened_++;
  if (index < static_cast<int>(script->actions_.size())) script->actions_[index](editor);
}

std::string text_of(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

HWND editor_item(int id) { return GetDlgItem(controls.editor_window, id); }

void click(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void post_click(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

std::string kind_checks() {
  std::string states;
  for (HWND button : {controls.删除文件, controls.删除目录, controls.删除目录下全部文件})
    states += checked(button) ? '1' : '0';
  return states;
}

std::string method_checks() {
  std::string states;
  for (HWND button : {controls.直接删除, controls.移动到回收站}) states += checked(button) ? '1' : '0';
  return states;
}
