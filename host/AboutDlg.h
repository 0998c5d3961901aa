#pragma once

#include "platform/ui/Dialog.h"

// The "about" box, dialog 100 of the program.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
