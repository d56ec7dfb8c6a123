#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterLandscapeCommand() {}
