// "Template &Manager..." of the document.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Questions.h"
#include "level/QzlSections.h"

void CQzEditDoc::RegisterTemplateManagerCommand() {}
