#include "DavaroDiroToolCommandHandler.h"

#include "AozoraConfigureDialog.h"
#include "DavaroDiroView.h"
#include "YomiteResources.h"

#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include "platform/ui/FrameWnd.h"
#include "platform/ui/WinApp.h"

IMPLEMENT_DYNCREATE(CDavaroDiroToolCommandHandler, CCmdTarget)

BEGIN_MESSAGE_MAP(CDavaroDiroToolCommandHandler, CCmdTarget)
ON_COMMAND(yomite::ID_READER_SETTINGS, &CDavaroDiroToolCommandHandler::onReaderSettings)
END_MESSAGE_MAP()

CDavaroDiroToolCommandHandler::CDavaroDiroToolCommandHandler() = default;
CDavaroDiroToolCommandHandler::~CDavaroDiroToolCommandHandler() = default;

void CDavaroDiroToolCommandHandler::onReaderSettings() {
    CDavaroDiroView* view = nullptr;
    CDavaroDiroDocument* document = nullptr;
    if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) {
        view = dynamic_cast<CDavaroDiroView*>(frame->GetActiveView());
        document = view ? view->GetDocument() : nullptr;
        if (!document)
            view = nullptr;
    }
    const CString previousFolder = m_pathWallpaper;
    SourcePosition pos;
    if (view)
        pos = document->positionOf(document->m_currentIndex);

    CAozoraConfigureDialog dialog;
    if (dialog.DoModal() != IDOK)
        return;
    // Into the option store at once (not only at exit), so the host's next
    // write of the configuration file keeps them even if the exit path never
    // runs.
    saveSettings();
    if (!view)
        return;
    if (m_pathWallpaper.str() != previousFolder.str())
        view->pickWallpaper();
    CRect client;
    view->GetClientRect(&client);
    view->createFonts();
    view->recalcLayout(client.Width(), client.Height());
    view->createBuffers(client.Width(), client.Height());
    // The index kept by the reflow counted in the old unit; the place read
    // before the dialog decides, however far the layout must go to reach it.
    document->layoutUntilPosition(pos);
    document->m_currentIndex = document->indexOf(pos);
    CClientDC dc(view);
    view->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}
