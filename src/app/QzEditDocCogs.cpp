// "&Cogs in Level...": the modeless Cogs in Level window on the document's level. The document
// keeps one; the command given again destroys the window shown and opens a new one. The window's
// changes of the level run as undo steps on the document's engine (without an engine they mark
// the document modified only); ~CQzEditDoc deletes the window while the level still exists.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Undo.h"
#include "level/QzlSections.h"
#include "resources/ui/CogsInLevelDlg.h"

#include <functional>
#include <utility>
#include <vector>

void CQzEditDoc::RegisterCogsCommand()
{
    AddCommand(
        Cmd::kCogsInLevel,
        [this] {
            if (!m_level)
                return;
            delete m_cogsInLevel.data();
            CCogsInLevelContext context;
            context.m_level = m_level.get();
            context.m_game = &m_app.m_product.m_resources;
            context.m_settings = &m_app.m_settings;
            context.m_pickedNodes = [this] {
                return m_pEngine != nullptr ? m_pEngine->m_selection.m_pickedNodes
                                            : std::vector<CVector3>{};
            };
            context.m_edit = [this](const std::function<void()>& change) {
                const bool ran = RunOnEngine([&change](C3dView& engine) {
                    return RunUndoable(engine, [&change] {
                        change();
                        return true;
                    });
                });
                if (!ran) {
                    change();
                    SetModifiedFlag(true);
                }
                UpdateAllViews(nullptr);
            };
            context.m_modified = [this] { SetModifiedFlag(true); };
            auto* window = new CCogsInLevelDlg(std::move(context), 0, DialogParent());
            m_cogsInLevel = window;
            window->show();
        },
        [this](CCmdUI& ui) { ui.Enable(m_level != nullptr); });
}
