// A small IDropTarget: reference count, CF_HDROP fetched with GetData, the text
// posted to the window so the drag source is released before any editor opens.
#include "ui/drop_target.h"

#include <shellapi.h>

#include <vector>

#include "ui/drop_text.h"
#include "ui/main_window.h"

namespace {

class FileDropTarget : public IDropTarget {
 public:
  explicit FileDropTarget(HWND window) : window_(window) {}
  virtual ~FileDropTarget() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
    FORMATETC format = file_list_format();
    accepting_ = data && data->QueryGetData(&format) == S_OK;
    *effect = effect_for(keys);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL, DWORD* effect) override {
    *effect = effect_for(keys);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    accepting_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
    *effect = effect_for(keys);
    accepting_ = false;
    if (*effect == DROPEFFECT_NONE || !data) return S_OK;
    FORMATETC format = file_list_format();
    STGMEDIUM medium = {};
    if (data->GetData(&format, &medium) != S_OK) return S_OK;
    HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    std::string text = drop ? drop_text_of(drop) : std::string();
    if (drop) GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    if (text.empty()) return S_OK;
    std::string* posted = new std::string(text);
    if (!PostMessageA(window_, kDropMessage, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
    return S_OK;
  }


 private:
  static FORMATETC file_list_format() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
  DWORD effect_for(DWORD keys) const {
    if (!accepting_) return DROPEFFECT_NONE;
    bool shift = keys & MK_SHIFT, control = keys & MK_CONTROL;
    if (shift && control) return DROPEFFECT_NONE;
    return shift ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
  }

  LONG references_ = 1;
  HWND window_;
  bool accepting_ = false;
};

struct Registration {
  HWND window;
  IDropTarget* target;
};
std::vector<Registration>& registrations() {
  static std::vector<Registration> known;
  return known;
}

}  // namespace

std::string take_drop_text(LPARAM lParam) {
  std::string* posted = reinterpret_cast<std::string*>(lParam);
  if (!posted) return std::string();
  std::string text;
  text.swap(*posted);
  delete posted;
  return text;
}

std::string drop_text_of(HDROP drop) {
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> paths;
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    path.resize(DragQueryFileA(drop, i, &path[0], length + 1));
    paths.push_back(path);
  }
  return paths.empty() ? std::string() : join_drop_text(paths);
}

IDropTarget* drop_target_of(HWND window) {
  for (const Registration& known : registrations())
    if (known.window == window) return known.target;
  return nullptr;
}

bool register_drop_target(HWND window) {
  if (!window) return false;
  if (drop_target_of(window)) return true;  // a second registration does nothing
  FileDropTarget* target = new FileDropTarget(window);
  bool registered = RegisterDragDrop(window, target) == S_OK;
  if (registered) registrations().push_back({window, target});
  target->Release();  // OLE holds the target while it is registered
  return registered;
}

void revoke_drop_target(HWND window) {
  std::vector<Registration>& known = registrations();
  for (size_t i = 0; i < known.size(); ++i) {
    if (known[i].window != window) continue;
    known.erase(known.begin() + i);
    RevokeDragDrop(window);
    return;
  }
}
