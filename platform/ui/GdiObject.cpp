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
        case GdiKind::Brush:
            // Only stock pens and brushes exist; they need no class of their own.
            object->temporary = std::make_unique<CGdiObject>();
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

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return Attach(::CreateFontIndirect(lpLogFont));
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
