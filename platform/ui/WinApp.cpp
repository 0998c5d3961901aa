#include "platform/ui/WinApp.h"

#include "platform/core/Module.h"
#include "platform/core/Profile.h"
#include "platform/core/Utf8.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/QtTranslations.h"
#include "platform/ui/Resources.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowState.h"

#include <QApplication>
#include <QEvent>

#include <optional>
#include <string>

namespace {

CWinApp* g_app = nullptr;

std::vector<std::wstring>& commandLineArguments() {
    static std::vector<std::wstring> arguments;
    return arguments;
}

std::wstring applicationName() {
    std::wstring title = lumo::loadString(AFX_IDS_APP_TITLE, lumo::programModuleHandle());
    if (!title.empty())
        return title;
    std::wstring path = lumo::moduleFileName(nullptr);
    const size_t slash = path.rfind(PATH_SEPARATOR);
    if (slash != std::wstring::npos)
        path = path.substr(slash + 1);
    const size_t dot = path.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        path = path.substr(0, dot);
    return path.empty() ? std::wstring(L"application") : path;
}

} // namespace

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL) {
    if (bFlag || !pszParam)
        return;
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

CWinApp::CWinApp(LPCWSTR lpszAppName) {
    if (lpszAppName)
        m_pszAppName = lpszAppName;
    g_app = this;
}

CWinApp::~CWinApp() {
    for (CDocTemplate* docTemplate : m_templates)
        delete docTemplate;
    m_templates.clear();
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return lumo::quitCode();
}

int CWinApp::Run() {
    lumo::runMessageLoop();
    return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG*) {
    return FALSE;
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
    m_pszRegistryKey = lpszRegistryKey ? lpszRegistryKey : L"";
    m_profile.reset();
}

lumo::Profile& CWinApp::profile() {
    if (!m_profile) {
        if (m_pszAppName.IsEmpty())
            m_pszAppName = applicationName();
        const std::wstring key =
            m_pszRegistryKey.IsEmpty() ? m_pszAppName.str() : m_pszRegistryKey.str();
        m_profile = std::make_unique<lumo::Profile>(key, m_pszAppName.str());
    }
    return *m_profile;
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
    if (!lpszSection || !lpszEntry)
        return CString(lpszDefault);
    return CString(profile().getString(lpszSection, lpszEntry, lpszDefault ? lpszDefault : L""));
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
    if (!lpszSection || !lpszEntry)
        return FALSE;
    return profile().writeString(lpszSection, lpszEntry, lpszValue ? lpszValue : L"") ? TRUE
                                                                                      : FALSE;
}

void CWinApp::SetCommandLineArguments(std::vector<std::wstring> arguments) {
    commandLineArguments() = std::move(arguments);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    const auto& arguments = commandLineArguments();
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool flag = !argument.empty() && (argument[0] == L'-' || argument[0] == L'/') &&
                          argument.size() > 1 && argument[0] != PATH_SEPARATOR;
        rCmdInfo.ParseParam(flag ? argument.c_str() + 1 : argument.c_str(), flag ? TRUE : FALSE,
                            i + 1 == arguments.size() ? TRUE : FALSE);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, 0, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        return FALSE;
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate)
        m_templates.push_back(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR lpszFileName) {
    if (m_templates.empty())
        return nullptr;
    return m_templates.front()->OpenDocumentFile(lpszFileName, TRUE);
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr, TRUE);
}

void CWinApp::OnFileOpen() {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, nullptr,
                       m_pMainWnd);
    if (dialog.DoModal() != IDOK)
        return;
    OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd)
        m_pMainWnd->PostMessage(WM_CLOSE);
}

BOOL CWinApp::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

namespace {

// Windows still open when the program ends go before the Qt application does,
// so no widget outlives it.
void destroyRemainingWindows() {
    while (!lumo::topLevelWindows().empty()) {
        CWnd* window = lumo::topLevelWindows().back();
        if (!window->DestroyWindow())
            break;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int AfxWinMain(int argc, char** argv) {
    static int qtArgc = 0;
    qtArgc = argc;
    std::optional<QApplication> qtApp;
    if (!QCoreApplication::instance())
        qtApp.emplace(qtArgc, argv);
    // Qt's own dialogs and buttons speak the user's language.
    lumo::installQtTranslations(QLocale());
    // Qt takes its own options (-platform, -reverse, ...) out of argv and
    // lowers the count it was given; only what is left is ours.
    std::vector<std::wstring> arguments;
    for (int i = 1; i < qtArgc && argv[i]; ++i)
        arguments.push_back(lumo::fromUtf8(argv[i]));
    CWinApp::SetCommandLineArguments(std::move(arguments));
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    lumo::resetQuit();
    int result = 0;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        result = app->ExitInstance();
    } else {
        result = app->Run();
    }
    destroyRemainingWindows();
    return result;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    state.bInitialized = TRUE;
    state.hModule = hModule;
    state.hResource = hModule;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
    state.bInitialized = FALSE;
}
