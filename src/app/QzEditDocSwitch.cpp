#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterSwitchCommand() {}
