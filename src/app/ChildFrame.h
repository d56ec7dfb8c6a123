#pragma once
// The document window: an MDI child holding a splitter of two columns, the left one a splitter
// of three property panes (the sector form 190 high, the property view by edit mode 235, the
// distance form 40) 230 wide, the right one the 3D view. Its title is the document's, with the
// modified mark while the document has unsaved changes.

#include <QMdiSubWindow>
#include <QString>

class CDocView;
class CQzEditDoc;
class CQzEditView;
class QSplitter;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    // Makes the splitters and the four views of doc (sector, surface, distance, 3D), opens
    // maximised.
    explicit CChildFrame(CQzEditDoc& doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    // Replaces the middle property pane by a new view of the class id names (PropertyView::
    // kSurface CSurfaceView, kThings CThingsView, kVertex CVertexView; another id is ignored),
    // keeping the pane's current
    // width and height; stores id in the document.
    void SwitchPropertyView(CQzEditDoc& doc, int id);

    // Closes the window without asking anything (the document has decided to close); the frame
    // deletes itself afterwards. A close by the user (the close box) asks the document instead:
    // closeEvent calls CQzEditDoc::OnCloseDocument, which calls Destroy when it goes on.
    void Destroy();

    // The title of doc's windows: its name with the place of the modified mark (Qt's "[*]",
    // shown as "*" while the window is marked modified); a "[*]" of the name itself stays text.
    static QString MarkedTitle(const CQzEditDoc& doc);

    CQzEditDoc& Document() const { return m_doc; }
    CQzEditView* View3d() const { return m_view3d; }
    QSplitter* OuterSplitter() const { return m_outer; }
    QSplitter* LeftSplitter() const { return m_left; }
    // The view in the middle pane.
    CDocView* PropertyView() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CQzEditDoc& m_doc;
    QSplitter* m_outer = nullptr;
    QSplitter* m_left = nullptr;
    CQzEditView* m_view3d = nullptr;
    bool m_destroying = false;
};
