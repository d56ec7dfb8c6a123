#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterLightCommand() {}
