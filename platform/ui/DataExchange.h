#pragma once

// Dialog data exchange between members and the controls of a dialog.

#include "platform/core/CString.h"
#include "platform/ui/UiExport.h"
#include "platform/ui/UiTypes.h"

class CWnd;

class PLATFORMUI_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// By list position: a value outside the list leaves no selection and reads
// back as -1.
PLATFORMUI_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// By list text: selects the first item beginning with the value (the
// selection stays when none does); reads back the selected item's text, or
// an empty string when nothing is selected.
PLATFORMUI_API void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Check boxes: 0 or 1 (2 = indeterminate).
PLATFORMUI_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
PLATFORMUI_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
