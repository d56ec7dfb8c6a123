#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterLayerCommands() {}
