#pragma once
// The progress window of long passes ("Parsing Sectors...", dialog 102): one progress bar
// (control 219) of 0 .. upper bound, stepped by one. Modeless; made, created, stepped and
// destroyed within one command. The caller owns the object (a std::unique_ptr, or a parent)
// and hides or deletes it when the pass ends.
//
// The pass runs without the event loop, so the window must draw itself at once. Created for a
// window, it is a child window with a caption of its own, centred over that window's top-level
// window (the main window): a child draws at once, where a window of its own would wait for the
// window system until the pass is over. Create and every step that changes the bar draw it
// directly, and so does a new caption.

#include <QDialog>

class QLabel;
class QProgressBar;

class CParsingSectorsDlg : public QDialog {
    Q_OBJECT

public:
    // The largest upper bound the bar takes; larger counts are cut to it.
    static constexpr int kLargestUpperBound = 65535;

    explicit CParsingSectorsDlg(QWidget* parent = nullptr);
    ~CParsingSectorsDlg() override;

    // Range 0 .. upperBound (clamped to 0 .. 65535), step 1; shown over the top-level window
    // of parent (or of the dialog's own parent), centred, and drawn at once; without either a
    // window of its own. True on success.
    bool Create(QWidget* parent, int upperBound);
    // One step; past the upper bound the bar stays full. Keeps the window drawn.
    void StepIt();
    int Position() const;
    int UpperBound() const { return m_upper; }
    QProgressBar* Progress() const { return m_progress; }
    // The caption drawn by the child window (hidden while the dialog is a window of its own).
    QLabel* Caption() const { return m_caption; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_caption = nullptr;
    QProgressBar* m_progress = nullptr;
    int m_upper = 0;
    int m_position = 0;
};
