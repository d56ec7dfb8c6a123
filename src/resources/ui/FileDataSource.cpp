#include "resources/ui/FileDataSource.h"

#include <QList>
#include <QUrl>
#include <QVariant>

#include <utility>

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

}  // namespace

CFileDataSource::CFileDataSource(CWriter writer, int row, std::filesystem::path tempFile)
    : m_writer(std::move(writer)), m_row(row), m_tempFile(std::move(tempFile))
{}

QStringList CFileDataSource::formats() const
{
    return {kUriList};
}

bool CFileDataSource::hasFormat(const QString& mimeType) const
{
    return mimeType == kUriList;
}

QVariant CFileDataSource::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (mimeType != kUriList)
        return QMimeData::retrieveData(mimeType, type);
    if (m_row != -1) {
        const int row = std::exchange(m_row, -1);
        if (m_writer)
            m_writer(row, m_tempFile);
    }
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(m_tempFile.string()));
    return QVariant(QList<QVariant>{QVariant(url)});
}
