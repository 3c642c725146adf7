// The OLE drop target of our windows: accepts dragged file lists (CF_HDROP) only
// and hands the drop text to its window as a posted kDropMessage.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>

// wParam 0, lParam a new std::string* with the drop text; the handler owns it.
constexpr UINT kDropMessage = WM_APP + 101;

// Takes the drop text out of the message (and frees it).
std::string take_drop_text(LPARAM lParam);

// The drop text of a shell file list, read with DragQueryFileA.
std::string drop_text_of(HDROP drop);

// The target registered for a window by register_drop_target, or nullptr
// (not AddRef'd). Lets tests hand it a data object as a drag would.
IDropTarget* drop_target_of(HWND window);

// Revokes the window's registration; called as the window is destroyed.
void revoke_drop_target(HWND window);
