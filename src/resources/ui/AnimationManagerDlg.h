#pragma once
// The "Animation Manager" dialog: the frames (cels) of an animated material that the level keeps
// among its own files. It lists the frames under "Bitmaps", previews one frame or plays them all
// at "FPS:" frames a second, appends the frames of a MAT or BMP file ("&Add"; the first Add of a
// name that is not yet a level file makes one, under "mat\"), deletes a frame, moves one up or
// down and saves the material as a MAT file ("&Save"). Every edit is written into the level file
// at once and marks the document modified; closing undoes nothing. Without the level file the
// tree stays empty and only Add does anything.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "engine/BitmapImage.h"

#include <QDialog>
#include <QTimer>

#include <string>

class C3dView;
class CPreviewWidget;
class CTexture;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CAnimationManagerDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine: its level holds the files, its game the colour maps, its
    // host takes the questions and the modified mark. It must outlive the dialog.
    CAnimationManagerDlg(C3dView& engine, const std::string& animation, QWidget* parent = nullptr);
    ~CAnimationManagerDlg() override;

    // Both stop the playing first.
    void accept() override;
    void reject() override;

    void OnAdd();
    void OnDelete();
    void OnSave();
    void OnPlay();
    void OnUp();
    void OnDown();

    // The state the controls show.
    const std::string& Animation() const { return m_strAnimation; }
    int Frame() const { return m_nFrame; }
    bool Playing() const { return m_bPlaying; }
    const QTimer& Timer() const { return m_timer; }
    const CBitmapImage& Image() const { return m_image; }
    CPreviewWidget& Preview() { return *m_pPreview; }

private:
    // The level file of m_strAnimation decoded through the selected colour map into m_image;
    // false (m_image empty) when there is no such file or it cannot be decoded.
    bool LoadImage();
    void Refresh();
    void ShowFrame();
    // The preview engine's texture of m_strAnimation through the selected colour map.
    CTexture* PreviewTexture(C3dView& preview) const;
    void PutFramesIntoPreview(C3dView& preview);
    void OnTimer();
    void OnFrameChosen(QTreeWidgetItem* item);
    void Stop();
    void Swap(int neighbour);
    // Writes m_image into the level file and marks the document modified; false after a message
    // when the image cannot be written.
    bool StoreImage();
    std::string ColorMap() const;
    // The buttons that need frames, for n frames.
    void EnableButtons();

    C3dView& m_engine;
    QTreeWidget* m_tree = nullptr;
    QComboBox* m_palette = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_fps = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_play = nullptr;
    CPreviewWidget* m_pPreview = nullptr;
    QTimer m_timer;

    int m_nFps = 5;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::string m_strAnimation;
    CBitmapImage m_image;  // the frames of the level file
    int m_nFrame = -1;
    int m_shownCel = 0;  // the frame the preview shows
    bool m_bPlaying = false;
    bool m_filling = false;  // the program changes the tree
};
