#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CmdTarget.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;
class CWnd;
namespace lumo {
class Profile;
}

// The parsed command line: the first argument that is not a flag names a
// file to open.
class PLATFORMUI_API CCommandLineInfo : public CObject {
public:
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    };
    int m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bShowSplash = TRUE;
    // Called for each argument (bFlag: it began with '-' or '/', which is
    // removed; bLast: it is the last one).
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);
};

// The application object. Exactly one exists while the program runs; its
// constructor makes it AfxGetApp(). The program's main() calls AfxWinMain,
// which runs InitInstance, the message loop (Run) and ExitInstance (also
// after a failed InitInstance).
//
// The profile (GetProfileString and friends) is the registry-backed profile
// of platform core: the file
// $XDG_CONFIG_HOME/<registry key>/<application name>.ini, where the
// application name is string resource AFX_IDS_APP_TITLE or, lacking it, the
// program's file name. Without SetRegistryKey the key is the application name.
class PLATFORMUI_API CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = 5; // SW_SHOW
    CString m_pszAppName;
    CString m_pszRegistryKey;
    CString m_pszProfileName;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop; returns the exit code of PostQuitMessage.
    virtual int Run();
    // Seen for every queued message after the window walk; TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);

    // Command line and shell commands.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FileNew: OnFileNew; FileOpen: OpenDocumentFile. FALSE when the command
    // could not be carried out (no document template, no document).
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // Document templates: the application owns them.
    void AddDocTemplate(CDocTemplate* pTemplate);
    const std::vector<CDocTemplate*>& GetDocTemplates() const { return m_templates; }
    // Opens a file with the first template (single-document: replaces the
    // current document). The document, or null on failure.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);

    // The standard new/open commands (add them to a map to use them).
    void OnFileNew();
    void OnFileOpen();
    // ID_APP_EXIT, in this class's own map: closes the main window the normal
    // way once the current message is done (WM_CLOSE is posted).
    void OnAppExit();

    // Arguments of the program (set by AfxWinMain; tests may set them).
    static void SetCommandLineArguments(std::vector<std::wstring> arguments);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    lumo::Profile& profile();
    DECLARE_MESSAGE_MAP()

private:
    std::vector<CDocTemplate*> m_templates;
    std::unique_ptr<lumo::Profile> m_profile;
};

// The application object, or null when none exists (unit tests).
PLATFORMUI_API CWinApp* AfxGetApp();
PLATFORMUI_API CWnd* AfxGetMainWnd();
// Runs the application object: creates the Qt application, InitInstance,
// Run, ExitInstance. Returns the exit code.
PLATFORMUI_API int AfxWinMain(int argc, char** argv);

// Extension modules (plug-ins) chain their resources in at load time; here a
// module's resources are found once registered (Resources.h), so these only
// keep the original call sequence valid.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};
PLATFORMUI_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
PLATFORMUI_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);
