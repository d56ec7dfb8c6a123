#pragma once
// The Template dialog: picks a thing template by name from a tree in which each template hangs
// under its base, finds one by the beginning of its name, shows its parameter text and a preview
// of its model (turning) or its material in a chosen colour map, with the model's extents.
//
// Mode 0 ("Templates in level") lists the level's templates; its "&Add" runs a second dialog in
// mode 1 and adds the template chosen there to the level with everything it refers to, and its
// "&Delete" removes a template that no other template derives from, with the bases only it still
// used. Each of the two is one undo step on the document's engine. Mode 1 ("Add Template to
// level") lists copies of the product's template list and hides both buttons.
//
// Every control's object name is its id (ui/DialogIds.h, block "Template").

#include "engine/TemplatePreview.h"
#include "math/Vector3.h"

#include <QDialog>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class C3dView;
class CPreviewWidget;
class CQzlTemplate;
class CTemplateMessage;
struct CSettings;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class QTreeWidget;
class QTreeWidgetItem;

class CTemplateDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine, settings the application's (its "AutoSize" is read here
    // and written back when the dialog goes); both must outlive the dialog.
    CTemplateDlg(C3dView& engine, CSettings& settings, std::string_view initial, int mode,
                 QWidget* parent = nullptr);
    ~CTemplateDlg() override;

    // The template chosen last (lower-cased initial name until one is selected).
    [[nodiscard]] const std::string& CurrentName() const { return m_currentName; }
    [[nodiscard]] const CTemplatePreview& Preview() const { return m_preview; }
    [[nodiscard]] const CVector3& Extents() const { return m_extents; }
    [[nodiscard]] CPreviewWidget& PreviewWidget() { return *m_previewWidget; }

    void accept() override;

private:
    const std::vector<std::unique_ptr<CQzlTemplate>>& Shown() const;
    void FillTree(const std::string& select);
    void SelectTemplate(int index);
    void OnSelectionChange();
    void OnSearch(const QString& text);
    void DrawPreview();
    void OnAdd();
    void OnDelete();

    C3dView& m_engine;
    CSettings& m_settings;
    int m_mode = 0;
    int m_autoSize = 0;
    std::string m_currentName;
    CTemplatePreview m_preview;
    CVector3 m_extents;
    bool m_building = false;
    std::vector<std::unique_ptr<CQzlTemplate>> m_ownList;  // mode 1: the product's templates
    std::vector<QTreeWidgetItem*> m_items;                 // item of each shown template

    QLineEdit* m_search = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTreeWidgetItem* m_root = nullptr;
    QComboBox* m_palette = nullptr;
    QPlainTextEdit* m_params = nullptr;
    CPreviewWidget* m_previewWidget = nullptr;
    CTemplateMessage* m_message = nullptr;
    QStackedLayout* m_previewStack = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QLineEdit* m_z = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
};
