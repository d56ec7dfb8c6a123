#pragma once
// The data of an archive entry dragged out of the editor: a file url that other programs (the
// desktop, a file manager) take as a real file. The file is written when a drop target first asks
// for the urls, not when the drag begins, and only once however often it is asked: the owner's
// writer puts the entry's bytes into the temporary file then.

#include <QMimeData>
#include <QString>

#include <filesystem>
#include <functional>

class CFileDataSource : public QMimeData {
    Q_OBJECT

public:
    // Writes row's entry data into the file at path.
    using CWriter = std::function<void(int row, const std::filesystem::path& path)>;

    CFileDataSource(CWriter writer, int row, std::filesystem::path tempFile);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

    int Row() const { return m_row; }  // -1 once the data were written
    const std::filesystem::path& TempFile() const { return m_tempFile; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    CWriter m_writer;
    mutable int m_row;
    std::filesystem::path m_tempFile;
};
