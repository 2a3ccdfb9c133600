#include "ui/WindowRegistry.h"

#include <cassert>

namespace tessan::ui {

ToolWindow* WindowRegistry::window(std::type_index type, int which, bool build) {
    for (Entry& e : m_entries) {
        if (e.type != type || e.which != which) continue;
        // A window closed by its close box is destroyed only when the event loop next runs;
        // it is never shown again.
        const bool usable = e.window && !e.window->closing();
        if (!usable && build) e.window = e.make();
        return usable || build ? e.window.data() : nullptr;
    }
    assert(!"window not registered");
    return nullptr;
}

void WindowRegistry::closeAll() {
    for (Entry& e : m_entries)
        if (e.window && !e.window->closing()) e.window->close();
}

}  // namespace tessan::ui
