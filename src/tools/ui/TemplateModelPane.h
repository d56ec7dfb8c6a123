#pragma once
// The part the Create Door and Create Elevator dialogs share: the list of the templates the
// dialog offers (a sorted drop-down list; each item's data is the template's position in the
// game's template list), the live preview of the chosen template's model under it, and the
// model's extents in the disabled edits "X:", "Y:" and "Z:".
//
// Choosing a template shows its model, turning, in the preview and takes the extents of its box;
// with no game archive open nothing is loaded and the extents keep their values. A template whose
// model is found nowhere gives the extents 0.
//
// Every control's object name is its id (ui/DialogIds.h): Ctl::kModelTemplate, kModelPreview (the
// preview widget, inside a bordered frame), kModelX, kModelY, kModelZ.

#include "math/Vector3.h"
#include "tools/ExtrudeChoices.h"

#include <QWidget>

#include <string>
#include <string_view>

class C3dView;
class CPreviewWidget;
class QComboBox;
class QDialog;
class QDialogButtonBox;
class QFrame;
class QLineEdit;
class QPushButton;

class CTemplateModelPane : public QWidget {
    Q_OBJECT

public:
    // Lists the templates of engine's game whose names isOffered accepts. engine is the
    // document's engine; it must outlive the pane.
    CTemplateModelPane(C3dView& engine, bool (*isOffered)(std::string_view name),
                       QWidget* parent = nullptr);
    ~CTemplateModelPane() override;

    // Selects the first template and shows it (the first display); an empty list shows nothing.
    void ShowFirst();

    // The name of the template shown last; empty until one was shown.
    [[nodiscard]] const std::string& TemplateName() const { return m_templateName; }
    // The extents of the model shown last: 0 until one was shown.
    [[nodiscard]] const CVector3& Extents() const { return m_extents; }
    [[nodiscard]] CPreviewWidget& Preview() { return *m_preview; }

signals:
    // A template was chosen: loaded when its model was read (extents taken), false when nothing
    // was loaded (no game archive, no template) and the extents stayed.
    void ModelChosen(bool loaded);

private:
    void OnSelectionChange();

    C3dView& m_engine;
    QComboBox* m_templates = nullptr;
    CPreviewWidget* m_preview = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QLineEdit* m_z = nullptr;
    std::string m_templateName;
    CVector3 m_extents;
};

// ---- What the two dialogs build their controls and OK from ----

// A number as the dialogs show it: up to six significant digits.
[[nodiscard]] QString DialogNumber(float value);
// An edit named id showing value.
[[nodiscard]] QLineEdit* NumberEdit(QWidget* parent, int id, float value);
// A preview of engine named id, of size, inside a bordered frame (returned) made on parent;
// preview receives the preview.
[[nodiscard]] QFrame* FramedPreview(C3dView& engine, QWidget* parent, int id, QSize size,
                                    CPreviewWidget*& preview);
// The value of edit within range; otherwise the range message over dialog, the field selected,
// and false.
bool ReadRangeField(QDialog& dialog, QLineEdit& edit, const CExtrudeRange& range, float& value);
// Shows refusal, the message of a check OK makes, over dialog; true when there is none.
bool PassesCheck(QDialog& dialog, std::string_view refusal);
// The buttons "&OK", "&Cancel" (the default button) and "&Help" (the help page of the dialog's
// id), one above the other; ok receives the OK button.
[[nodiscard]] QDialogButtonBox* ModelDialogButtons(QDialog& dialog, int dialogId, QPushButton*& ok);
