#pragma once

#include "platform/core/CString.h"
#include "platform/ui/Dialog.h"

// The reader's settings dialog (template 5002). The constructor copies the
// module-wide settings into the members; OK stores them back (all except
// m_enableTouchScroll). Cancel changes nothing.
class CAozoraConfigureDialog : public CDialog {
    DECLARE_DYNAMIC(CAozoraConfigureDialog)
public:
    CAozoraConfigureDialog();
    ~CAozoraConfigureDialog() override;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    void onBrowse();
    void onClear();

    int displayDirection;
    int wallpaperStyle;
    int wallpaperAlpha;
    CString wallpaperPath;
    int displayColor;
    int lineSpace;
    int controlbarPosition;
    CString textFont;
    CString textFontSize;
    CString rubyFont;
    CString rubyFontSize;
    int textDirection;
    int lineBoundary;
    int wordWrap;
    int scrollRange;
    int autoSaveAtExit;
    int showRuby;
    int textIsBold;
    int aozoraNotation;

protected:
    DECLARE_MESSAGE_MAP()
};
