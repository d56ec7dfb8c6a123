// "Template &Manager..." of the document: the Template Manager with the document's level for its
// used-in-level filter.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"

void CQzEditDoc::RegisterTemplateManagerCommand()
{
    AddCommand(Cmd::kTemplateManager, [this] { m_app.RunTemplateManager(this, DialogParent()); });
}
