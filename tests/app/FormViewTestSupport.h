#pragma once
// Support of the form views' widget tests: a shown document on a fixture level with an engine
// without a render device, its form views found in its window, and fields typed and left as a
// user leaves them (the keyboard focus moves on).

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/RenderData.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSplitter>
#include <QTest>

#include <cstdint>
#include <vector>

class FormViewTest : public AppTest {
protected:
    using Bytes = std::vector<std::uint8_t>;

    // level in a shown document with an engine of the test's own, every sector built once and
    // nothing modified yet.
    C3dView& Start(CQzlSections level)
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        return Reload(std::move(level));
    }
    // level in place of the document's, with a new engine, built once and nothing modified.
    C3dView& Reload(CQzlSections level)
    {
        C3dView& engine = GiveDocumentEngine(*m_doc, std::move(level));
        RebuildAll(engine, false, ERebuildAll::Restore);
        m_doc->SetModifiedFlag(false);
        return engine;
    }

    // Selects sector and surface in the engine and updates the document's views, as a pick does.
    void Select(int sector, int surface = -1)
    {
        m_engine->m_selection.m_sector = sector;
        m_engine->m_selection.m_surface = surface;
        m_doc->UpdateAllViews(nullptr);
    }

    // The pane of the document window's left column at row (0 sector, 1 property view).
    QWidget& Pane(int row) { return *m_doc->Frame()->LeftSplitter()->widget(row); }

    QLineEdit& Edit(QWidget& form, int id) { return *Control<QLineEdit>(form, id); }
    QString Text(QWidget& form, int id) { return Edit(form, id).text(); }
    bool Enabled(QWidget& form, int id) { return Control<QWidget>(form, id)->isEnabled(); }

    // The keyboard focus into control of form, then on to another control of the window (the
    // 3D view), as a user leaves a field.
    void Leave(QWidget& control)
    {
        control.setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(QTest::qWaitFor([&] { return control.hasFocus(); }, 2000))
            << control.objectName().toStdString();
        QWidget* other = m_doc->Frame()->View3d();
        other->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !control.hasFocus(); }, 2000));
        QApplication::processEvents();
    }
    // text typed into the edit id of form, then the edit left.
    void TypeAndLeave(QWidget& form, int id, const QString& text)
    {
        QLineEdit& edit = Edit(form, id);
        edit.setText(text);
        Leave(edit);
    }

    Bytes LevelBytes() { return WriteLevelBytes(*m_doc->m_level); }

    CQzEditDoc* m_doc = nullptr;
};
