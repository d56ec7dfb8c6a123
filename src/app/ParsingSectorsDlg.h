#pragma once
// The progress window of long passes ("Parsing Sectors...", dialog 102): one progress bar
// (control 219) of 0 .. upper bound, stepped by one. Modeless; made, created, stepped and
// destroyed within one command.

#include <QDialog>

class QProgressBar;

class CParsingSectorsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CParsingSectorsDlg(QWidget* parent = nullptr);
    ~CParsingSectorsDlg() override;

    // Range 0 .. upperBound (clamped to 0 .. 65535), step 1; centred on parent (or its owner);
    // shown and drawn at once. True on success.
    bool Create(QWidget* parent, int upperBound);
    // One step; past the upper bound the bar stays full. Keeps the window drawn.
    void StepIt();
    int Position() const;
    QProgressBar* Progress() const { return m_progress; }

private:
    QProgressBar* m_progress = nullptr;
};
