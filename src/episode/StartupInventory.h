#pragma once
// The player's starting inventory in the start-up cog's text: each inventory bin the level sets
// has a line "SetInv(player, <bin>, <value>);" (the bins the player may also select have a second
// line "SetInvAvailable(player, <bin>, 1);"). A line switched off starts with "//". The operations
// read a bin's line and rewrite or insert it in place; nothing else of the text changes.
//
// The text is the script's 8-bit text as read; "\n", "\r\n" and a lone "\r" all end a line.

#include <span>
#include <string>
#include <string_view>

// A bin as read: whether its line is switched on, and the number the line gives (0 when off).
struct CInvSetting {
    bool m_on = false;
    int m_value = 0;
};

// The first line of the bin: switched on when no "//" stands before the key on its line; the value
// is the number right after the key (blanks skipped, truncated toward zero).
CInvSetting ReadInvSetting(std::string_view text, int bin);
// Rewrites the bin's line as "\tSetInv(player, <bin>, <value>" (prefixed by "//" when not
// checked), keeping the ")" and what follows it on the line. A bin without a line gets one when it
// is checked, inserted before the first SetInv line, else after the line holding "SetGoalFlags";
// with neither there, nothing is added. With alsoAvailable the bin's SetInvAvailable line follows.
void WriteSetInv(std::string& text, int bin, bool checked, int value, bool alsoAvailable);
// The same for the bin's "SetInvAvailable(player, <bin>, 1" line.
void WriteSetInvAvailable(std::string& text, int bin, bool checked);

// One row of the Startup Editor's pages: its bin for each product (kNoBin: the row is not used for
// that product), whether it has a value edit, the value's range 0..max for each product and the
// value a checked box puts into the edit.
inline constexpr int kNoBin = -1;
struct CInvRow {
    int m_bin[2];  // [0] the base game, [1] the expansion
    bool m_hasEdit;
    int m_max[2];
    int m_default[2];
    bool m_alsoAvailable;
    bool m_boxLockedInBase = false;  // the base game shows the box disabled (its value is kept)

    int Bin(int product) const { return m_bin[product != 0 ? 1 : 0]; }
    int Max(int product) const { return m_max[product != 0 ? 1 : 0]; }
    int Default(int product) const { return m_default[product != 0 ? 1 : 0]; }
};

// The weapons and ammunition page's rows and the powers and armour page's rows, in control order.
std::span<const CInvRow> WeaponsAmmunitionRows();
std::span<const CInvRow> PowersArmorsRows();
// The value of the row after its box was clicked (checked or cleared).
int InvRowClickValue(const CInvRow& row, int product, bool checked);
