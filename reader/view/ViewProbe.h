#pragma once

#include "DavaroDiroView.h"

namespace yomite {

// What tests and benchmarks may see of a reader view's private state, and
// the few things they may set: an illustration shown since a tick, and
// forgetting the page drawn last so that the next paint draws it in full.
class ViewProbe {
public:
    explicit ViewProbe(CDavaroDiroView* view) : m_view(*view) {}

    const RECT& textRect() const { return m_view.m_page.textRect; }
    const RECT& pageNumberRect() const { return m_view.m_page.pageNumberRect; }
    const RECT& pageButton(size_t i) const { return m_view.m_page.pageButtons.at(i); }
    const RECT& functionButton(size_t i) const { return m_view.m_page.functionButtons.at(i); }
    bool functionBarShown() const { return m_view.m_page.bar.functionBarShown; }
    bool closeArmed() const { return m_view.m_page.bar.closeArmed; }
    bool altToolMode() const { return m_view.m_page.bar.altToolMode; }
    int illustrationShown() const { return m_view.illustrationShown; }
    int pressedLinkLine() const { return m_view.pressedLinkLine; }
    bool positionRestored() const { return m_view.positionRestored; }
    const CString& wallpaperFile() const { return m_view.m_page.wallpaperFile; }
    bool hasWallpaperBuffer() const { return m_view.m_page.wallpaperBuffer.exists(); }
    bool hasRubyFont() const { return m_view.m_page.fonts.ruby.GetSafeHandle() != nullptr; }

    int lastDrawnTop() const { return m_view.m_page.lastDrawnTop; }

    void setIllustrationShown(int shown, DWORD tick) {
        m_view.illustrationShown = shown;
        m_view.illustrationTick = tick;
    }
    void forgetDrawnPage() { m_view.m_page.lastDrawnTop = -2; }

private:
    CDavaroDiroView& m_view;
};

} // namespace yomite
