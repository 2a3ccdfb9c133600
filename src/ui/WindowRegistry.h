#pragma once
// The owner of every secondary window, held by the main window. A window is registered once
// with the function that builds it, under its class and, when one class serves several windows
// (the five file dialogs), a number. It is built on first use, built anew after its close box,
// never built just to be hidden, and closed at unload so that it stores its geometry before
// the settings are written. A new window is one class and one add() line.
//
// Windows that open others (the BF window asks for frmSave_bb) are handed the registry.
#include <QPointer>
#include <functional>
#include <typeindex>
#include <vector>

#include "ui/ToolWindow.h"

namespace tessan::ui {

class WindowRegistry {
public:
    // Windows are built as top-level children of owner; frame tells them their window frame.
    WindowRegistry(QWidget* owner, const WindowFrame& frame) : m_owner(owner), m_frame(frame) {}

    QWidget* owner() const { return m_owner; }
    const WindowFrame& frame() const { return m_frame; }

    // Registers window (W, which); make builds it (a W* whose parent is owner()).
    template <class W, class Make>
    void add(int which, Make make) {
        m_entries.push_back({typeid(W), which, [make]() -> ToolWindow* { return make(); }, {}});
    }
    template <class W, class Make>
    void add(Make make) { add<W>(0, std::move(make)); }

    // The window, built if it does not exist or its close box has closed it.
    template <class W>
    W* get(int which = 0) { return static_cast<W*>(window(typeid(W), which, true)); }
    // The window if it exists and is not closing; never builds one.
    template <class W>
    W* find(int which = 0) { return static_cast<W*>(window(typeid(W), which, false)); }
    // Hides the window if it exists.
    template <class W>
    void hide(int which = 0) {
        if (W* w = find<W>(which)) w->hide();
    }
    // How many windows of class W are registered.
    template <class W>
    int count() const {
        int n = 0;
        for (const Entry& e : m_entries) n += e.type == typeid(W);
        return n;
    }
    // Unload: closes every window that exists, each storing its geometry.
    void closeAll();

private:
    struct Entry {
        std::type_index type;
        int which;
        std::function<ToolWindow*()> make;
        QPointer<ToolWindow> window;
    };
    ToolWindow* window(std::type_index type, int which, bool build);

    QWidget* m_owner;
    const WindowFrame& m_frame;
    std::vector<Entry> m_entries;
};

}  // namespace tessan::ui
