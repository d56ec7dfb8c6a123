// "Startup Editor...": the starting inventory of the start-up cog.

#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterStartupEditorCommand() {}
