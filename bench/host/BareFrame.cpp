// The baseline: the platform alone opening an empty 800 x 480 frame window.
#include "platform/ui/FrameWnd.h"
#include "platform/ui/WinApp.h"

namespace {

class BareApp : public CWinApp {
public:
    BOOL InitInstance() override {
        auto* frame = new CFrameWnd;
        if (!frame->Create(nullptr, L"bare", WS_OVERLAPPEDWINDOW, RECT{0, 0, 800, 480}, nullptr, 0))
            return FALSE;
        m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        frame->UpdateWindow();
        return TRUE;
    }
};

BareApp theApp;

} // namespace

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
