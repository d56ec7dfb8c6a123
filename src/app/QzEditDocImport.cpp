// Import of a level from the game's GOB/GOO archives and of projects, and export of projects.

#include "app/QzEditDoc.h"

bool CQzEditDoc::ImportArchive(const QString&)
{
    return false;
}

bool CQzEditDoc::ImportProject(const QString&)
{
    return false;
}

bool CQzEditDoc::ExportProject(const QString&)
{
    return false;
}
