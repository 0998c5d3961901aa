#pragma once

#include "DisplayRotation.h"
#include "NotatedRowPainter.h"

#include "platform/core/CString.h"
#include "platform/ui/DC.h"

#include <memory>
#include <vector>

class CDavaroDiroDocument;

namespace yomite {

// An off-screen drawing surface: a memory DC with its own bitmap selected.
// Releasing selects the DC's first bitmap back before deleting anything; a
// buffer going out of scope releases itself, since a bitmap still selected
// into its DC cannot be deleted.
struct ReaderBuffer {
    ReaderBuffer() = default;
    ReaderBuffer(const ReaderBuffer&) = delete;
    ReaderBuffer& operator=(const ReaderBuffer&) = delete;
    ~ReaderBuffer() { release(); }

    std::unique_ptr<CDC> dc;
    std::unique_ptr<CBitmap> bitmap;
    CBitmap* initial = nullptr;

    bool exists() const { return dc != nullptr; }
    bool create(CDC* compatible, int cx, int cy);
    void release();
};

// The colours of m_displayColor: 0 black on white, anything else white on
// black; only exactly 1 merges a wallpaper with SRCPAINT.
struct PageColours {
    COLORREF text;
    COLORREF background;
    int pen;
    DWORD wallpaperRop;
};
PageColours pageColours();

// The reader's fonts and what is measured of them once per font set.
struct ReaderFonts {
    CFont body;
    CFont ruby; // only while ruby is shown
    CFont small;
    NotationFonts notation;
    int bodyPx = 0;
    int rubyPx = 0; // 0 while ruby is not shown
    int bodyCharWidth = 1;
    int rubyCharWidth = 1;
};

// What the control bar is drawn from.
struct BarState {
    bool functionBarShown = false;
    bool closeArmed = false;
    bool altToolMode = false;
    int pressedButton = -1;
};

// Everything a page is drawn from: the view owns it and keeps it current,
// the painters draw from it. Coordinates are those of the page, which is the
// view's client area unless the screen is turned.
struct PageState {
    CDavaroDiroDocument* document = nullptr;
    ReaderFonts fonts;
    BarState bar;
    CString wallpaperFile;
    // How the page is turned on the screen, and the page's size.
    DisplayRotation rotation;
    SIZE pageSize{0, 0};
    RECT textRect{0, 0, 0, 0};
    RECT pageNumberRect{0, 0, 0, 0};
    std::vector<RECT> pageButtons;
    std::vector<RECT> functionButtons;
    ReaderBuffer pageBuffer;
    ReaderBuffer wallpaperBuffer;
    ReaderBuffer composeBuffer;
    std::unique_ptr<CBitmap> illustrationBitmap;
    // The first display line drawn by the last paint; -2: nothing valid.
    int lastDrawnTop = -2;

    bool hasWallpaper() const { return !wallpaperFile.IsEmpty() && wallpaperBuffer.exists(); }
    // Pixels between the tops of two rows (horizontal) or columns (vertical).
    int pitch() const;
    // The first display line of the page shown.
    int topLine() const;
    int linesPerPage() const;
};

} // namespace yomite
