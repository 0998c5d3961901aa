#include "LumoCoreApp.h"

#include "AboutDlg.h"
#include "CommandLine.h"
#include "HostResources.h"

#include "hostkit/LumoDocumentManager.h"
#include "hostkit/LumoPluginManager.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/TerminationSignals.h"
#include "platform/ui/View.h"

#include <cstdio>

BEGIN_MESSAGE_MAP(CLumoCoreApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, &CLumoCoreApp::OnAppAbout)
ON_COMMAND(ID_FILE_NEW, &CLumoCoreApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
END_MESSAGE_MAP()

CLumoCoreApp::CLumoCoreApp() = default;

BOOL CLumoCoreApp::InitInstance() {
    // Read first: a refused option ends the program before any plug-in loads
    // or any setting is written.
    CLumoCoreCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!commandLine.m_unknownOption.IsEmpty()) {
        m_exitStatus = refuseUnknownOption(commandLine.m_unknownOption);
        return FALSE;
    }

    registerHostResources();
    lumo::closeMainWindowOnTerminationSignals();
    SetRegistryKey(L"lumoCoreComponent");
    CLumoPluginManager::create();

    // The frame starts with the empty default view; the file is opened once
    // the window is up, through its document type.
    CString fileToOpen;
    if (commandLine.m_nShellCommand == CCommandLineInfo::FileOpen) {
        fileToOpen = commandLine.m_strFileName;
        commandLine.m_nShellCommand = CCommandLineInfo::FileNew;
        commandLine.m_strFileName.Empty();
    }
    if (!ProcessShellCommand(commandLine)) {
        // Without a document type there is no frame to show; say why instead
        // of ending silently as if all were well.
        std::fputs("LumoCore: no plug-in registered a document type, so there is no main window "
                   "(is the plugins folder beside the program empty?)\n",
                   stderr);
        m_exitStatus = 1;
        return FALSE;
    }

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    if (!fileToOpen.IsEmpty())
        OpenDocumentFile(fileToOpen);
    return TRUE;
}

int CLumoCoreApp::ExitInstance() {
    CLumoPluginManager::destroy();
    const int result = CWinApp::ExitInstance();
    return m_exitStatus != 0 ? m_exitStatus : result;
}

CDocument* CLumoCoreApp::OpenDocumentFile(LPCWSTR lpszFileName) {
    CLumoPluginManager* plugins = CLumoPluginManager::getInstance();
    if (plugins && plugins->getDocumentManager()->switchDocumentView(std::wstring(), lpszFileName))
        WriteProfileString(L"lumo.main", L"lastDirectory", lpszFileName);
    auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    CView* view = frame ? frame->GetActiveView() : nullptr;
    return view ? view->GetDocument() : nullptr;
}

void CLumoCoreApp::OnFileNew() {
    if (!m_pMainWnd) {
        CWinApp::OnFileNew(); // start-up: creates the frame
        return;
    }
    // One frame, as in any single-document program: the new, empty default
    // document replaces the one shown, as opening a file does, rather than
    // coming with a second main frame.
    if (CLumoPluginManager* plugins = CLumoPluginManager::getInstance())
        plugins->getDocumentManager()->switchDocumentView(DEFAULT_DOCUMENT_TYPE, nullptr);
}

void CLumoCoreApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
