// "Template &Manager..." of the application (no document open).

#include "app/QzEditApp.h"
#include "engine/CommandIds.h"

void CQzEditApp::RegisterTemplateManagerCommand() {}
