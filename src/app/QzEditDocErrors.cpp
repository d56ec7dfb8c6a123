// "E&rrors...": the modeless Errors window on the document's level. The document keeps one; the
// command given again destroys the window it has and opens a new one, which checks the level as
// soon as it is made. ~CQzEditDoc deletes the window while the level still exists.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "episode/ui/ErrorsDlg.h"
#include "level/QzlSections.h"

#include <functional>
#include <utility>

CErrorsDlg* CQzEditDoc::MakeErrorsWindow(bool show)
{
    delete m_errors.data();
    CErrorsContext context;
    context.m_level = [this] { return m_level.get(); };
    context.m_game = &m_app.m_product.m_resources;
    context.m_engine = [this] { return m_pEngine; };
    context.m_onEngine = [this](const std::function<void(C3dView&)>& work) {
        return RunOnEngine([&work](C3dView& engine) {
            work(engine);
            return true;
        });
    };
    context.m_host = this;
    auto* window = new CErrorsDlg(std::move(context), DialogParent(), show);
    m_errors = window;
    return window;
}

int CQzEditDoc::CheckInHiddenErrorsWindow()
{
    return MakeErrorsWindow(false)->OnCheck();
}

CErrorsDlg* CQzEditDoc::ErrorsWindow() const
{
    return qobject_cast<CErrorsDlg*>(m_errors.data());
}

void CQzEditDoc::RegisterErrorsCommand()
{
    AddCommand(
        Cmd::kErrors,
        [this] {
            if (m_level)
                MakeErrorsWindow(true);
        },
        [this](CCmdUI& ui) { ui.Enable(m_level != nullptr); });
}
