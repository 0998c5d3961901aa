#include "AozoraConfigureDialog.h"

#include "YomiteResources.h"

#include "reader/document/ReaderSettings.h"

#include "platform/ui/CommonDialogs.h"

#include <vector>

using namespace yomite;

IMPLEMENT_DYNAMIC(CAozoraConfigureDialog, CDialog)

BEGIN_MESSAGE_MAP(CAozoraConfigureDialog, CDialog)
ON_BN_CLICKED(IDC_BROWSE, &CAozoraConfigureDialog::onBrowse)
ON_BN_CLICKED(IDC_CLEAR, &CAozoraConfigureDialog::onClear)
END_MESSAGE_MAP()

CAozoraConfigureDialog::CAozoraConfigureDialog()
    : CDialog((ensureResources(), moduleInstance()), IDD_CONFIGURE, nullptr),
      displayDirection(m_displayDirection), wallpaperStyle(m_styleWallpaper),
      wallpaperAlpha(m_alphaWallpaper), wallpaperPath(m_pathWallpaper),
      displayColor(m_displayColor), lineSpace(m_lineSpace),
      controlbarPosition(m_positionControlbar), textFont(m_textFont), textFontSize(m_textFontSize),
      rubyFont(m_rubyFont), rubyFontSize(m_rubyFontSize), textDirection(m_textDirection),
      lineBoundary(m_lineBoundary), wordWrap(m_wordWrap), scrollRange(m_scrollRange),
      autoSaveAtExit(m_autoSaveAtExit), showRuby(m_showRuby), textIsBold(m_textIsBold),
      aozoraNotation(m_aozoraNotation) {}

CAozoraConfigureDialog::~CAozoraConfigureDialog() = default;

void CAozoraConfigureDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_DISPLAY_DIRECTION, displayDirection);
    DDX_CBIndex(pDX, IDC_WALLPAPER_STYLE, wallpaperStyle);
    DDX_CBIndex(pDX, IDC_WALLPAPER_ALPHA, wallpaperAlpha);
    DDX_Text(pDX, IDC_WALLPAPER_PATH, wallpaperPath);
    DDX_CBIndex(pDX, IDC_DISPLAY_COLOR, displayColor);
    DDX_CBIndex(pDX, IDC_LINE_SPACE, lineSpace);
    DDX_CBIndex(pDX, IDC_CONTROLBAR, controlbarPosition);
    DDX_CBString(pDX, IDC_TEXT_FONT, textFont);
    DDX_CBString(pDX, IDC_TEXT_FONT_SIZE, textFontSize);
    DDX_CBString(pDX, IDC_RUBY_FONT, rubyFont);
    DDX_CBString(pDX, IDC_RUBY_FONT_SIZE, rubyFontSize);
    DDX_CBIndex(pDX, IDC_TEXT_DIRECTION, textDirection);
    DDX_Check(pDX, IDC_LINE_BOUNDARY, lineBoundary);
    DDX_Check(pDX, IDC_WORD_WRAP, wordWrap);
    DDX_CBIndex(pDX, IDC_SCROLL_RANGE, scrollRange);
    DDX_Check(pDX, IDC_AUTO_SAVE, autoSaveAtExit);
    DDX_Check(pDX, IDC_BOLD, textIsBold);
    DDX_Check(pDX, IDC_SHOW_RUBY, showRuby);
    DDX_Check(pDX, IDC_AOZORA_NOTATION, aozoraNotation);
}

void CAozoraConfigureDialog::onBrowse() {
    UpdateData(TRUE);
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    BROWSEINFO info{};
    info.hwndOwner = GetSafeHwnd();
    info.pidlRoot = nullptr;
    info.pszDisplayName = buffer.data();
    info.lpszTitle = L"フォルダの選択";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    if (LPITEMIDLIST item = SHBrowseForFolder(&info)) {
        if (!SHGetPathFromIDList(item, buffer.data()))
            buffer[0] = L'\0';
        CoTaskMemFree(item);
    } else {
        buffer[0] = L'\0';
    }
    if (buffer[0] != L'\0')
        wallpaperPath = CString(buffer.data());
    UpdateData(FALSE);
}

void CAozoraConfigureDialog::onClear() {
    UpdateData(TRUE);
    wallpaperPath.Empty();
    UpdateData(FALSE);
}

void CAozoraConfigureDialog::OnOK() {
    UpdateData(TRUE);
    m_displayDirection = displayDirection;
    m_pathWallpaper = wallpaperPath;
    m_styleWallpaper = wallpaperStyle;
    m_alphaWallpaper = wallpaperAlpha;
    m_displayColor = displayColor;
    m_lineSpace = lineSpace;
    m_positionControlbar = controlbarPosition;
    m_textFont = textFont;
    m_textFontSize = textFontSize;
    m_rubyFont = rubyFont;
    m_rubyFontSize = rubyFontSize;
    m_textDirection = textDirection;
    m_lineBoundary = lineBoundary;
    m_wordWrap = wordWrap;
    m_scrollRange = scrollRange;
    m_autoSaveAtExit = autoSaveAtExit;
    m_textIsBold = textIsBold;
    m_showRuby = showRuby;
    m_aozoraNotation = aozoraNotation;
    CDialog::OnOK();
}
