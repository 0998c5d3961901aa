#include "platform/ui/ModalLoop.h"

#include "platform/ui/WindowState.h"

#include <utility>

namespace lumo {

namespace {
ModalLoop* g_innermost = nullptr;
} // namespace

ModalLoop::ModalLoop() : m_outer(g_innermost) {
    g_innermost = this;
}

ModalLoop::~ModalLoop() {
    g_innermost = m_outer;
    // A close request held back for the loops may go now.
    if (!g_innermost)
        wake();
}

void ModalLoop::setEnd(std::function<void()> end) {
    m_end = std::move(end);
}

void ModalLoop::end() {
    m_cancelled = true;
    if (auto end = std::exchange(m_end, nullptr))
        end();
}

bool insideModalLoop() {
    return g_innermost != nullptr;
}

void endModalLoops() {
    for (ModalLoop* loop = g_innermost; loop; loop = loop->m_outer)
        loop->end();
}

} // namespace lumo
