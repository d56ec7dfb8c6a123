#pragma once
// The property form views of a document window: the sector form (top left), the property view
// of the edit mode (surface, things or vertex; middle left) and the distance form
// (bottom left). Their fields and commands come with their own work; here each is an empty pane
// of its class, registered with its document.

#include "app/DocView.h"
#include "engine/CommandIds.h"
#include "ui/DialogIds.h"

#include <QWidget>

class CQzEditDoc;

class CFormView : public QWidget, public CDocView {
    Q_OBJECT

public:
    CFormView(CQzEditDoc& doc, int dialogId, QWidget* parent);
    ~CFormView() override;

    void OnUpdate(CDocView* sender, long hint) override;
    CQzEditDoc& Document() const { return m_doc; }
    // The dialog resource id of the form (the object name is the same number).
    int DialogId() const { return m_dialogId; }

private:
    CQzEditDoc& m_doc;
    int m_dialogId;
};

class CSectorView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = Dlg::kSectorView;
    CSectorView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};

class CSurfaceView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kSurface;
    CSurfaceView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};

class CThingsView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kThings;
    CThingsView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};

class CVertexView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = PropertyView::kVertex;
    CVertexView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};

class CDistanceView : public CFormView {
    Q_OBJECT
public:
    static constexpr int kId = Dlg::kDistanceView;
    CDistanceView(CQzEditDoc& doc, QWidget* parent) : CFormView(doc, kId, parent) {}
};
