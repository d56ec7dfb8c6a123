#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterSurfaceEffectCommands() {}
