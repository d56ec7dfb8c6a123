#pragma once
// The flag dialogs of the form views: one check box per known bit of a 32-bit flag word. Each
// dialog differs only in its template (id, caption) and its table of (check box, bit, caption).
// After OK, Flags() holds the ticked bits of the table and every bit the table has no box for as
// it came in (such bits are set through the form's hexadecimal edit box).

#include <QDialog>
#include <QString>

#include <cstdint>
#include <span>

struct CFlagBox {
    int control;
    std::uint32_t bit;
    const char* caption;
};

struct CFlagDialogTemplate {
    int id;
    const char* caption;
    std::span<const CFlagBox> boxes;
};

// The five templates: sector flags (139), surface flags (187), face flags (188), adjoin flags
// (5001) and thing flags (1090).
const CFlagDialogTemplate& SectorFlagsTemplate();
const CFlagDialogTemplate& SurfaceFlagsTemplate();
const CFlagDialogTemplate& FaceFlagsTemplate();
const CFlagDialogTemplate& AdjoinFlagsTemplate();
const CFlagDialogTemplate& ObjectFlagsTemplate();

// The flag word after OK: the ticked boxes' bits and the bits no box of the table stands for.
std::uint32_t FlagsAfterOk(const CFlagDialogTemplate& dialog, std::uint32_t incoming,
                           std::uint32_t ticked);

class CFlagDialog : public QDialog {
    Q_OBJECT

public:
    CFlagDialog(const CFlagDialogTemplate& dialog, std::uint32_t flags, QWidget* parent);

    // The flag word: as given until OK, then as FlagsAfterOk makes it.
    std::uint32_t Flags() const { return m_flags; }

    void accept() override;

private:
    const CFlagDialogTemplate& m_template;
    std::uint32_t m_flags;
};

class CFlagsDlg : public CFlagDialog {
public:
    CFlagsDlg(std::uint32_t flags, QWidget* parent)
        : CFlagDialog(SectorFlagsTemplate(), flags, parent)
    {}
};

class CSurfaceFlagsDlg : public CFlagDialog {
public:
    CSurfaceFlagsDlg(std::uint32_t flags, QWidget* parent)
        : CFlagDialog(SurfaceFlagsTemplate(), flags, parent)
    {}
};

class CFaceFlagsDlg : public CFlagDialog {
public:
    CFaceFlagsDlg(std::uint32_t flags, QWidget* parent)
        : CFlagDialog(FaceFlagsTemplate(), flags, parent)
    {}
};

class CAdjoinFlagsDlg : public CFlagDialog {
public:
    CAdjoinFlagsDlg(std::uint32_t flags, QWidget* parent)
        : CFlagDialog(AdjoinFlagsTemplate(), flags, parent)
    {}
};

class CObjectFlagsDlg : public CFlagDialog {
public:
    CObjectFlagsDlg(std::uint32_t flags, QWidget* parent)
        : CFlagDialog(ObjectFlagsTemplate(), flags, parent)
    {}
};
