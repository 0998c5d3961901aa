#include "platform/ui/GdiObject.h"

#include "platform/ui/DC.h"
#include "platform/ui/GdiState.h"

#include <cwchar>
#include <memory>
#include <utility>

using lumo::DeviceContext;
using lumo::GdiKind;
using lumo::GdiObject;

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CGdiObject::~CGdiObject() {
    GdiObject* object = lumo::gdiObject(m_hObject);
    if (!object)
        return;
    if (object->temporary.get() == this)
        return;
    if (object->owner == this)
        object->owner = nullptr;
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    GdiObject* object = lumo::gdiObject(hObject);
    if (!object)
        return nullptr;
    if (object->owner)
        return object->owner;
    if (!object->temporary) {
        switch (object->kind) {
        case GdiKind::Pen:
            object->temporary = std::make_unique<CPen>();
            break;
        case GdiKind::Brush:
            object->temporary = std::make_unique<CBrush>();
            break;
        case GdiKind::Font:
            object->temporary = std::make_unique<CFont>();
            break;
        case GdiKind::Bitmap:
            object->temporary = std::make_unique<CBitmap>();
            break;
        }
        object->temporary->m_hObject = hObject;
    }
    return object->temporary.get();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    GdiObject* object = lumo::gdiObject(hObject);
    if (m_hObject || !object)
        return FALSE;
    m_hObject = hObject;
    if (!object->owner && !object->stock)
        object->owner = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    if (GdiObject* object = lumo::gdiObject(m_hObject))
        if (object->owner == this)
            object->owner = nullptr;
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    GdiObject* object = lumo::gdiObject(m_hObject);
    if (object && object->stock) {
        m_hObject = nullptr;
        return TRUE;
    }
    HGDIOBJ handle = Detach();
    return ::DeleteObject(handle);
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
    return Attach(::GetStockObject(nIndex));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return Attach(::CreateSolidBrush(crColor));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC*) {
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(nPointSize, lumo::LOGICAL_DPI, 720);
    lf.lfWeight = FW_NORMAL;
    if (lpszFaceName)
        std::wcsncpy(lf.lfFaceName, lpszFaceName, 31);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
    return ::GetObject(m_hObject, sizeof(LOGFONT), pLogFont);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
    GdiObject* object = lumo::gdiObject(hBitmap);
    if (!object || object->kind != GdiKind::Bitmap)
        return nullptr;
    return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    return ::GetObject(m_hObject, sizeof(BITMAP), pBitMap);
}
