#include "platform/ui/CommonDialogs.h"

#include "platform/core/UserFolders.h"
#include "platform/core/Utf8.h"
#include "platform/ui/ModalHook.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowState.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

DWORD g_lastDialogError = 0;

struct ItemList {
    std::wstring path;
};

QWidget* ownerWidget(HWND) {
    return nullptr;
}

std::wstring directoryOf(const std::wstring& path) {
    const size_t slash = path.rfind(PATH_SEPARATOR);
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring withoutTrailingSeparators(std::wstring folder) {
    while (folder.size() > 1 && folder.back() == PATH_SEPARATOR)
        folder.pop_back();
    return folder;
}

bool isFolder(const std::wstring& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(lumo::toFsPath(path), error);
}

// The folder a file dialog opens in: the initial file's folder, else the
// initial folder, when it exists; else the user's home folder. Never the
// root: the frame passes it when no book was opened yet, and a dialog opening
// on the root of the file system helps nobody.
std::wstring startFolder(const std::wstring& initialFile, const std::wstring& initialDir) {
    for (const std::wstring& candidate : {directoryOf(initialFile), initialDir}) {
        const std::wstring folder = withoutTrailingSeparators(candidate);
        if (folder != std::wstring(1, PATH_SEPARATOR) && isFolder(folder))
            return folder;
    }
    return lumo::userHomeFolder();
}

// Asks the stand-in or the real Qt dialog for a file; nullopt on cancel.
std::optional<std::wstring> chooseFile(bool open, const std::wstring& initialFile,
                                       const std::wstring& initialDir, DWORD flags, HWND owner) {
    const std::wstring folder = startFolder(initialFile, initialDir);
    lumo::ModalLoop loop;
    if (lumo::ModalHook* hook = lumo::modalHook())
        if (auto answer = hook->fileDialog({initialFile, initialDir, flags, open, folder}))
            return loop.cancelled() ? std::nullopt : *answer;
    if (lumo::headless() || loop.cancelled())
        return std::nullopt;
    lumo::ensureGuiApplication();
    // The initial file is shown chosen when the dialog opens in its folder.
    const bool inFileFolder =
        !initialFile.empty() && withoutTrailingSeparators(directoryOf(initialFile)) == folder;
    QFileDialog dialog(ownerWidget(owner), QString(),
                       QString::fromStdWString(inFileFolder ? initialFile : folder));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    loop.setEnd([&dialog] { dialog.reject(); });
    if (dialog.exec() != QDialog::Accepted || loop.cancelled() || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdWString();
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int id;
};

// The buttons of a message box type (MB_OKCANCEL, ...), in their order.
std::vector<ButtonChoice> buttonChoices(UINT buttons) {
    switch (buttons) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT},
                {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon boxIcon(UINT type) {
    switch (type & 0xF0) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    const UINT buttons = uType & 0x0F;
    const int cancelAnswer = buttons == MB_OK ? IDOK : buttons == MB_YESNO ? IDNO : IDCANCEL;
    const std::vector<ButtonChoice> choices = buttonChoices(buttons);
    // The box is built even when a test answers it, so the record holds the
    // button labels a user would read (Qt's, in the user's language).
    lumo::ensureGuiApplication();
    QMessageBox box(ownerWidget(hWnd));
    box.setWindowTitle(QString::fromWCharArray(lpCaption ? lpCaption : L""));
    box.setText(QString::fromWCharArray(lpText ? lpText : L""));
    QMessageBox::StandardButtons set;
    for (const ButtonChoice& c : choices)
        set |= c.button;
    box.setStandardButtons(set);
    box.setIcon(boxIcon(uType));

    lumo::ModalLoop loop;
    if (lumo::ModalHook* hook = lumo::modalHook()) {
        lumo::MessageBoxRequest request{
            lpText ? lpText : L"", lpCaption ? lpCaption : L"", uType, {}};
        for (const ButtonChoice& c : choices)
            request.buttons.push_back(box.button(c.button)->text().toStdWString());
        if (auto answer = hook->messageBox(request))
            return loop.cancelled() ? cancelAnswer : *answer;
    }
    if (lumo::headless() || loop.cancelled())
        return cancelAnswer;
    loop.setEnd([&box] { box.reject(); });
    const int pressed = box.exec();
    if (loop.cancelled())
        return cancelAnswer;
    for (const ButtonChoice& c : choices)
        if (pressed == c.button)
            return c.id;
    return cancelAnswer;
}

BOOL GetOpenFileName(LPOPENFILENAME lpofn) {
    g_lastDialogError = 0;
    if (!lpofn || !lpofn->lpstrFile || lpofn->nMaxFile == 0) {
        g_lastDialogError = CDERR_INITIALIZATION;
        return FALSE;
    }
    const std::wstring initialFile(lpofn->lpstrFile, wcsnlen(lpofn->lpstrFile, lpofn->nMaxFile));
    const std::wstring initialDir =
        lpofn->lpstrInitialDir ? lpofn->lpstrInitialDir : directoryOf(initialFile);
    const auto chosen = chooseFile(true, initialFile, initialDir, lpofn->Flags, lpofn->hwndOwner);
    if (!chosen)
        return FALSE;
    if (chosen->size() + 1 > lpofn->nMaxFile) {
        // Too long for the caller's buffer: report it instead of cutting the path.
        g_lastDialogError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::wmemcpy(lpofn->lpstrFile, chosen->c_str(), chosen->size() + 1);
    const size_t slash = chosen->rfind(PATH_SEPARATOR);
    lpofn->nFileOffset = static_cast<WORD>(slash == std::wstring::npos ? 0 : slash + 1);
    const size_t dot = chosen->rfind(L'.');
    lpofn->nFileExtension = static_cast<WORD>(
        dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash) ? 0 : dot + 1);
    return TRUE;
}

DWORD CommDlgExtendedError() {
    return g_lastDialogError;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName,
                         DWORD dwFlags, LPCWSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpen(bOpenFileDialog), m_initialFile(lpszFileName) {
    m_ofn.lStructSize = sizeof(OPENFILENAME);
    m_ofn.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    m_ofn.lpstrFilter = lpszFilter;
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.Flags = dwFlags;
}

int CFileDialog::DoModal() {
    const std::wstring initialDir =
        m_ofn.lpstrInitialDir ? m_ofn.lpstrInitialDir : directoryOf(m_initialFile.str());
    const auto chosen =
        chooseFile(m_bOpen != FALSE, m_initialFile.str(), initialDir, m_ofn.Flags, m_ofn.hwndOwner);
    if (!chosen)
        return IDCANCEL;
    m_path = *chosen;
    return IDOK;
}

LPITEMIDLIST SHBrowseForFolder(BROWSEINFO* lpbi) {
    if (!lpbi)
        return nullptr;
    lumo::ModalLoop loop;
    lumo::ModalHook* hook = lumo::modalHook();
    const std::optional<lumo::PathChoice> answer =
        hook ? hook->folderPicker(lpbi->lpszTitle ? lpbi->lpszTitle : L"", lpbi->ulFlags)
             : std::nullopt;
    std::optional<std::wstring> chosen;
    if (answer) {
        chosen = *answer;
    } else if (!lumo::headless() && !loop.cancelled()) {
        lumo::ensureGuiApplication();
        QFileDialog dialog(nullptr,
                           QString::fromWCharArray(lpbi->lpszTitle ? lpbi->lpszTitle : L""));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        loop.setEnd([&dialog] { dialog.reject(); });
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first().toStdWString();
    }
    if (!chosen || loop.cancelled())
        return nullptr;
    if (lpbi->pszDisplayName) {
        const size_t slash = chosen->rfind(PATH_SEPARATOR);
        std::wstring name = slash == std::wstring::npos ? *chosen : chosen->substr(slash + 1);
        if (name.size() >= static_cast<size_t>(MAX_PATH))
            name.resize(MAX_PATH - 1);
        std::wmemcpy(lpbi->pszDisplayName, name.c_str(), name.size() + 1);
    }
    return reinterpret_cast<LPITEMIDLIST>(new ItemList{*chosen});
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPWSTR pszPath) {
    if (!pszPath)
        return FALSE;
    pszPath[0] = L'\0';
    if (!pidl)
        return FALSE;
    const auto* item = reinterpret_cast<const ItemList*>(pidl);
    // A path that does not fit the MAX_PATH buffer is refused, not cut.
    if (item->path.empty() || item->path.size() >= static_cast<size_t>(MAX_PATH))
        return FALSE;
    std::wmemcpy(pszPath, item->path.c_str(), item->path.size() + 1);
    return TRUE;
}

void CoTaskMemFree(void* pv) {
    delete static_cast<ItemList*>(pv);
}
