#pragma once
// What the property form views of a document window share: each is a pane of its document,
// named by its dialog resource id, refilled from the engine's selection on every update of the
// document's views.

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
