// "Test &Level": the level checked, packed into the test archive and played in the game; and the
// GOB/GOO archive of the level that Save As writes.

#include "app/QzEditDoc.h"

bool CQzEditDoc::BuildArchive(const QString& path)
{
    m_lastError =
        QStringLiteral("Cannot save \"%1\": GOB and GOO archives cannot be written yet.").arg(path);
    return false;
}

void CQzEditDoc::RegisterTestLevelCommand() {}
