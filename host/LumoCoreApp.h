#pragma once

#include "platform/ui/WinApp.h"

// The program's application object: creates the plug-in manager before
// anything else, lets the framework build the main frame from the "DEFAULT"
// document template, opens a file named on the command line, and destroys the
// manager at exit (which writes "lumoconf.ini").
class CLumoCoreApp : public CWinApp {
public:
    CLumoCoreApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Hands the file to the document type that claims its extension.
    CDocument* OpenDocumentFile(LPCWSTR lpszFileName) override;

protected:
    // The new-document command: the default document in the frame.
    void OnFileNew();
    void OnAppAbout();
    DECLARE_MESSAGE_MAP()

private:
    // The status the program ends with when start-up fails; 0 otherwise.
    int m_exitStatus = 0;
};
