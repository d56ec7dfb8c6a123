// "&Episode Editor...": the document's episode fields.

#include "app/QzEditDoc.h"

void CQzEditDoc::RegisterEpisodeCommand() {}
