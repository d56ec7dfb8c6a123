#pragma once
// The editor of one template entry: "Add Template" (Dlg::kAddTemplate, the name can be typed) or
// "EditTemplate" (Dlg::kEditTemplate, only the parameters change). The based-on name is never
// edited. The parameter text is edited in Courier New and typed in lower case; "&Add 3do" puts a
// chosen model (and its radius as size and move size) into it, "&Add Cog" a chosen cog script.

#include <QDialog>

#include <string>

class QLineEdit;
class QPlainTextEdit;

class CEditTemplateDlg : public QDialog {
    Q_OBJECT

public:
    // idd is Dlg::kAddTemplate or Dlg::kEditTemplate.
    explicit CEditTemplateDlg(int idd, QWidget* parent = nullptr);

    // Set before the run, read after OK.
    std::string m_name;
    std::string m_basedOn;
    std::string m_params;

    int exec() override;
    void accept() override;

    // The two file buttons with the file already chosen (path as the file dialog gives it).
    void Add3do(const QString& path);
    void AddCog(const QString& path);

private:
    QLineEdit* m_nameEdit = nullptr;
    QLineEdit* m_basedOnEdit = nullptr;
    QPlainTextEdit* m_paramsEdit = nullptr;
};
