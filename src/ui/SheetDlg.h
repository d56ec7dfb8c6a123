#pragma once
// A property sheet: a modal dialog with a row of tabs, one page under each, and the buttons OK,
// Cancel, Apply and Help in one row below them.
//
// A page loads its controls the first time it is shown (OnInitDialog); a page never shown keeps
// its controls empty and stores nothing. OK and Apply first read every shown page's controls
// (PullControls); the first field that holds no valid value stops them: its page comes to the
// front, the field takes the focus and the range message is shown, and nothing of that press is
// stored. Otherwise every shown page stores its values (OnApply) in the order of the tabs, and
// OK closes the sheet. Apply is enabled while a shown page has unapplied changes.
//
// The tab row carries Ctl::kTabControl as its object name, the buttons Ctl::kOk, Ctl::kCancel,
// Ctl::kApplyNow and Ctl::kHelp, each page its template id.

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QLineEdit;
class QPushButton;
class QTabWidget;

class CPropertyPage : public QWidget {
    Q_OBJECT

public:
    // templateId names the page (its object name and help context); caption is its tab's text.
    CPropertyPage(int templateId, const QString& caption, QWidget* parent = nullptr);

    int TemplateId() const { return m_templateId; }
    const QString& Caption() const { return m_caption; }
    // Whether the page has been shown (OnInitDialog ran).
    bool IsInitialized() const { return m_initialized; }

    // Marks the page as changed since it last stored its values; the sheet enables Apply. Changes
    // made while the page loads its controls mark nothing.
    void SetModified(bool modified = true);
    bool IsModified() const { return m_modified; }

    // The field that stopped the last PullControls and its message; no field when it succeeded.
    QWidget* FailedField() const { return m_failedField; }
    const QString& FailureMessage() const { return m_failureMessage; }

    // Run by the sheet: the first showing (OnInitDialog, with changes not marking the page), the
    // exchange and the store.
    void InitPage();
    bool Pull();
    void Apply();

signals:
    void ModifiedChanged();

protected:
    // Loads the page's values and pushes them into its controls.
    virtual void OnInitDialog() {}
    // Reads the controls into the page's values, field by field; false at the first field that
    // holds no valid value (the Pull helpers below remember it), with nothing stored.
    virtual bool PullControls() { return true; }
    // Stores the values read last.
    virtual void OnApply() {}

    // Exchange of a number edit. Push writes the value ("%.6g" for a float). Pull reads a number
    // from low to high into value; anything else (also text that is no number) is remembered with
    // the message "Please enter a number between <low> and <high>." ("an integer" for an int),
    // and value stays.
    static void PushFloat(QLineEdit& edit, float value);
    static void PushInt(QLineEdit& edit, int value);
    bool PullFloat(QLineEdit& edit, float& value, double low, double high);
    bool PullInt(QLineEdit& edit, int& value, int low, int high);
    // The integer an edit holds, when it holds one (no message).
    static bool ReadInt(const QLineEdit& edit, int& value);

    // Marks the page modified unless it is loading its controls; for the change signals of its
    // controls.
    void OnControlChanged();

private:
    bool Fail(QLineEdit& edit, const QString& message);

    int m_templateId;
    QString m_caption;
    bool m_initialized = false;
    bool m_loading = false;
    bool m_modified = false;
    QPointer<QWidget> m_failedField;
    QString m_failureMessage;
};

class CSheetDlg : public QDialog {
    Q_OBJECT

public:
    // caption is the window title; firstPage the index of the page shown first (page 0 when it
    // names none).
    CSheetDlg(const QString& caption, QWidget* parent = nullptr, int firstPage = 0);
    ~CSheetDlg() override;

    // Adds page as the next tab; the sheet owns it.
    void AddPage(CPropertyPage* page);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* Page(int index) const;
    // Brings the page at index to the front (loading it when it is shown the first time).
    void SetActivePage(int index);
    int ActivePage() const;

    // OK and Apply: reads every shown page, then stores them, as the header says. False when a
    // field stopped it.
    bool ApplyPages();
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnPageChanged(int index);
    void UpdateApply();
    void OnHelp();

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_apply = nullptr;
    std::vector<CPropertyPage*> m_pages;
    int m_firstPage = 0;
    bool m_started = false;  // shown once: pages load as they come to the front
};
