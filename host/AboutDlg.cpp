#include "AboutDlg.h"

#include "HostResources.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
