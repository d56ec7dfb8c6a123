#pragma once
// The Tip of the Day (dialog 503): one line at a time from the tips file, "tips.txt", and its
// place in the profile (group "Tip": "StartUp", "FilePos", "TimeStamp").
//
// The tips file is looked for in the current directory, then in the program folder. A tip is one
// line; lines that begin with a blank, a tab, a line end or ";" are skipped. The file stays open
// while the dialog lives; at its end the position after the tip shown last is kept in "FilePos",
// so the next dialog goes on from there. When the file's time stamp differs from the one kept,
// the search starts again at the beginning.

#include <QDialog>
#include <QSize>
#include <QString>

#include <cstdio>
#include <filesystem>

class CQzEditApp;
class QCheckBox;
class QLabel;
class QPushButton;

class CTipOfTheDayDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kTipsFileName = "tips.txt";
    static constexpr const char* kNoTipsFile =
        "Tips file does not exist in the prescribed directory";                      // 507
    static constexpr const char* kTroubleReading = "Trouble reading the tips file";  // 508
    static constexpr const char* kNoTipInFile = "The tips file holds no tips.";
    static constexpr const char* kDidYouKnow = "Did you know...";  // 506

    // tipsFile: the file to read; empty: "tips.txt" in the current directory, else in the
    // program folder.
    explicit CTipOfTheDayDlg(CQzEditApp& app, QWidget* parent = nullptr,
                             const std::filesystem::path& tipsFile = {});
    ~CTipOfTheDayDlg() override;
    CTipOfTheDayDlg(const CTipOfTheDayDlg&) = delete;
    CTipOfTheDayDlg& operator=(const CTipOfTheDayDlg&) = delete;

    // "&Next Tip" (510): reads and shows the next tip.
    void OnNextTip();

    // Show tips at start-up (check box 511).
    bool m_bStartup = true;
    // The tip shown (static 512), with its line end.
    QString m_strTip;

    // The tips file the dialog reads (empty when none was found).
    const std::filesystem::path& TipsFile() const { return m_tipsFile; }

public slots:
    // "&Close": takes the check box and writes "StartUp" (1 = do not show at start-up).
    void accept() override;

private:
    // Reads the next tip into m_strTip, going once around the file at most. False when the file
    // holds no tip (m_strTip then says so) or cannot be read.
    bool GetNextTipString();
    void UpdateControls();

    CQzEditApp& m_app;
    std::filesystem::path m_tipsFile;
    std::FILE* m_pStream = nullptr;
    QLabel* m_tip = nullptr;
    QCheckBox* m_startup = nullptr;
    QPushButton* m_next = nullptr;
    QSize m_fittedSize;  // the dialog's size after the last tip shown
};
