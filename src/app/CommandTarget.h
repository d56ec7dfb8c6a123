#pragma once
// Command routing of the application: every menu item, tool-bar button and accelerator sends a
// command id; the id goes to the active 3D or form view, its document, the active document
// window, the main frame and the application, in that order, and the first of them that has a
// handler for the id runs it. Before a menu opens and while the program idles, each command's
// update handler sets its enabled state and check mark the same way; a command that no target
// handles is disabled.

#include <functional>
#include <map>

// The state an update handler gives one command.
class CCmdUI {
public:
    explicit CCmdUI(int id) : m_id(id) {}
    void Enable(bool enable = true) { m_enabled = enable; }
    void SetCheck(int check = 1) { m_check = check; }

    int m_id;
    bool m_enabled = true;
    int m_check = -1;  // -1 when the handler sets no check mark
};

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;

    // Runs the handler of id; false when this target has none.
    bool OnCommand(int id)
    {
        const auto it = m_commands.find(id);
        if (it == m_commands.end() || !it->second.m_run)
            return false;
        it->second.m_run();
        return true;
    }

    // Runs the update handler of id (a command without one is enabled); false when this target
    // has no handler for id.
    bool OnUpdateCommand(CCmdUI& ui)
    {
        const auto it = m_commands.find(ui.m_id);
        if (it == m_commands.end())
            return false;
        if (it->second.m_update)
            it->second.m_update(ui);
        else
            ui.Enable(true);
        return true;
    }

    bool HandlesCommand(int id) const { return m_commands.contains(id); }

protected:
    // Registers the handler of id and, optionally, its update handler.
    void AddCommand(int id, std::function<void()> run, std::function<void(CCmdUI&)> update = {})
    {
        m_commands[id] = CEntry{std::move(run), std::move(update)};
    }

private:
    struct CEntry {
        std::function<void()> m_run;
        std::function<void(CCmdUI&)> m_update;
    };
    std::map<int, CEntry> m_commands;
};
