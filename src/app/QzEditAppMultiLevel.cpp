// "Multi &Level Editor...": the episode of several levels, in its modal dialog.

#include "app/QzEditApp.h"

void CQzEditApp::RegisterMultiLevelEditorCommand() {}
