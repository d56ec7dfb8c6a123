// The colour-map and sound pickers of the document and "Select Color Map...".

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Questions.h"
#include "level/QzlSections.h"

std::optional<std::string> CQzEditDoc::PickColorMap(std::string_view initial, int mode)
{
    return PickName(EPicker::ColorMap, initial, mode);
}

std::optional<std::string> CQzEditDoc::PickSound(std::string_view initial, int mode)
{
    return PickName(EPicker::Sound, initial, mode);
}

void CQzEditDoc::RegisterColorMapCommands() {}
