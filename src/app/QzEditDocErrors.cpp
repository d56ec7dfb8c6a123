// "E&rrors...": the modeless Errors window on the document's level.

#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterErrorsCommand() {}
