#pragma once
// The "Header" dialog (1094): the eighteen values of the level header (gravity, sky, horizon,
// mipmap, level-of-detail, perspective and gouraud distances; the format version is not shown).
// OK writes all of them or none: every field must read as a number and the horizon distance lie
// within 0.1 and 500, else the field's message is shown and the dialog stays open. Before it
// writes, OK takes an undo snapshot of the level and marks the document modified.
//
// Every control's object name is its id (ui/DialogIds.h).

#include <QDialog>

#include <array>

class CQzEditDoc;
class CQzlHeader;

class CHeaderDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kFieldCount = 18;
    static constexpr double kLowestHorizonDistance = 0.1;
    static constexpr double kHighestHorizonDistance = 500.0;

    CHeaderDlg(CQzEditDoc& doc, QWidget* parent = nullptr);
    ~CHeaderDlg() override;

    void accept() override;

    // The fields in the order of the dialog's data exchange, as the header holds them.
    std::array<float, kFieldCount> m_values{};

private:
    CQzEditDoc& m_doc;
};

// The header's eighteen values, in the dialog's order.
std::array<float*, CHeaderDlg::kFieldCount> HeaderValues(CQzlHeader& header);
