#pragma once
// Select Product (dialog 140): the product to edit ("Korvath" 222, "Varnok" 224) and, beside each,
// the folder of its game ("GameFolder0", "GameFolder1", with the browse buttons
// "BrowseGameFolder0", "BrowseGameFolder1"). OK stores the product and the folders that were
// changed and runs product set-up, whether or not anything changed; Cancel changes nothing.

#include <QDialog>
#include <QString>

#include <functional>

class CQzEditApp;
class QLineEdit;
class QRadioButton;

class CSelectProductDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSelectProductDlg(CQzEditApp& app, QWidget* parent = nullptr);
    ~CSelectProductDlg() override;

    // Asks for a folder (title, folder shown first); empty: cancelled. The folder dialog by
    // default; tests replace it.
    std::function<QString(const QString& title, const QString& start)> m_chooseFolder;

public slots:
    // "&Ok" (1).
    void accept() override;

private:
    void Browse(int product);

    CQzEditApp& m_app;
    QRadioButton* m_korvath = nullptr;
    QRadioButton* m_varnok = nullptr;
    QLineEdit* m_folders[2] = {nullptr, nullptr};
    QString m_shownFolders[2];
};
