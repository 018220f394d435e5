// The system's open-file dialog (comdlg32, loaded when first needed) and the
// shell's folder chooser.
#include "platform/FileDialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <string>

#include "WinText.h"

namespace platform {
namespace {

using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
// Characters of a path returned by the dialogs.
constexpr DWORD kPathChars = 32768;

GetOpenFileNameFn OpenFileNameCall() {
  static HMODULE module = LoadLibraryW(L"comdlg32.dll");
  if (!module) return nullptr;
  return reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(GetProcAddress(module, "GetOpenFileNameW")));
}

int CALLBACK BrowseStart(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                          const std::string& initialDir) {
  const GetOpenFileNameFn call = OpenFileNameCall();
  if (!call) return std::nullopt;
  // The filter is "|"-separated; the dialog wants NUL separators and a double NUL.
  std::wstring wideFilter = Widen(filter);
  for (wchar_t& c : wideFilter)
    if (c == L'|') c = L'\0';
  wideFilter.push_back(L'\0');
  wideFilter.push_back(L'\0');
  const std::wstring wideTitle = Widen(title);
  const std::wstring wideDir = Widen(initialDir);
  std::wstring file(kPathChars, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = wideFilter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kPathChars;
  ofn.lpstrInitialDir = wideDir.c_str();
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!call(&ofn)) return std::nullopt;
  return Narrow(file.c_str());
}

std::optional<std::string> BrowseForFolder(const std::string& initialDir) {
  const std::wstring wideDir = Widen(initialDir);
  BROWSEINFOW info{};
  info.hwndOwner = GetActiveWindow();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = BrowseStart;
  info.lParam = reinterpret_cast<LPARAM>(wideDir.c_str());
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return std::nullopt;
  std::wstring path(kPathChars, L'\0');
  const bool ok = SHGetPathFromIDListW(list, path.data()) != 0;
  CoTaskMemFree(list);
  if (!ok) return std::nullopt;
  return Narrow(path.c_str());
}

}  // namespace platform
