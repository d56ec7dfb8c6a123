#pragma once
// The progress window of long passes ("Parsing Sectors...", dialog 102): one progress bar
// (control 219) of 0 .. upper bound, stepped by one. Modeless; made, created, stepped and
// destroyed within one command. The caller owns the object (a std::unique_ptr, or a parent)
// and hides or deletes it when the pass ends.
//
// The pass runs without the event loop, so the window draws itself at once: Create and every
// step that changes the bar repaint it directly.

#include <QDialog>

class QProgressBar;

class CParsingSectorsDlg : public QDialog {
    Q_OBJECT

public:
    // The largest upper bound the bar takes; larger counts are cut to it.
    static constexpr int kLargestUpperBound = 65535;

    explicit CParsingSectorsDlg(QWidget* parent = nullptr);
    ~CParsingSectorsDlg() override;

    // Range 0 .. upperBound (clamped to 0 .. 65535), step 1; centred on parent (or its owner);
    // shown and drawn at once. True on success.
    bool Create(QWidget* parent, int upperBound);
    // One step; past the upper bound the bar stays full. Keeps the window drawn.
    void StepIt();
    int Position() const;
    int UpperBound() const { return m_upper; }
    QProgressBar* Progress() const { return m_progress; }

private:
    QProgressBar* m_progress = nullptr;
    int m_upper = 0;
    int m_position = 0;
};
