#include "platform/ui/ModalHook.h"

#include <QGuiApplication>

#include <cstdlib>
#include <cstring>

namespace lumo {
namespace {
ModalHook* g_hook = nullptr;
}

void installModalHook(ModalHook* hook) {
    g_hook = hook;
}

ModalHook* modalHook() {
    return g_hook;
}

bool headless() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::strcmp(platform, "offscreen") == 0)
        return true;
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

} // namespace lumo
