#pragma once

// Message boxes, the open-file dialog and the folder picker: the real Qt
// dialogs, or the answers of a stand-in for the user (ModalHook.h). Under the
// offscreen platform an interaction nobody answered is cancelled, since
// nobody could ever answer it.

#include "platform/core/CString.h"
#include "platform/ui/UiExport.h"
#include "platform/ui/UiTypes.h"

class CWnd;

// MessageBox types.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;

// Shows a modal message box; the button pressed (IDOK, IDYES, ...).
PLATFORMUI_API int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);

// Open-file dialog flags.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct OPENFILENAME {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter;
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPWSTR lpstrFile; // in: initial file name; out: the chosen path
    DWORD nMaxFile;
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCWSTR lpTemplateName;
};
using LPOPENFILENAME = OPENFILENAME*;

constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;

// TRUE when the user chose a file (its path is in lpstrFile). FALSE on cancel
// (CommDlgExtendedError() == 0) or on failure: a null record or a chosen path
// longer than nMaxFile - 1 (FNERR_BUFFERTOOSMALL).
PLATFORMUI_API BOOL GetOpenFileName(LPOPENFILENAME lpofn);
PLATFORMUI_API DWORD CommDlgExtendedError();

// The framework's file dialog class.
class PLATFORMUI_API CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                LPCWSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;
    // IDOK or IDCANCEL.
    virtual int DoModal();
    CString GetPathName() const { return m_path; }
    OPENFILENAME m_ofn{};

private:
    BOOL m_bOpen;
    CString m_initialFile;
    CString m_path;
};

// Folder picker (shell folder browse).
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;

struct BROWSEINFO {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPWSTR pszDisplayName; // receives the folder's name (MAX_PATH characters)
    LPCWSTR lpszTitle;
    UINT ulFlags;
    void* lpfn;
    LPARAM lParam;
    int iImage;
};

// The chosen folder as an item list (free it with CoTaskMemFree), or null
// when cancelled.
PLATFORMUI_API LPITEMIDLIST SHBrowseForFolder(BROWSEINFO* lpbi);
// Copies the item's path (at most MAX_PATH - 1 characters); FALSE (and an
// empty buffer) for a null item.
PLATFORMUI_API BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPWSTR pszPath);
PLATFORMUI_API void CoTaskMemFree(void* pv);
