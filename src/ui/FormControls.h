#pragma once
// What the form views do with their controls besides the data exchange: enable a set of them by
// id, read the fields once at a time, and edit a flag word in its flag dialog.

#include <cstdint>
#include <functional>
#include <span>

class CFieldExchange;
struct CFlagDialogTemplate;
class QWidget;

// Enables (or disables) every control of form named by one of ids.
void EnableControls(QWidget& form, std::span<const int> ids, bool enabled);

// Reads the fields of form through exchange; Ok of the read. While a read runs (its message box
// takes the focus, and a field that loses it asks for another read) reading is set and a second
// read answers false at once.
bool ReadFields(QWidget& form, bool& reading, const std::function<void(CFieldExchange&)>& exchange);

// The flag dialog of dialog over parent, started at flags; after OK flags takes its value. True
// for OK.
bool EditFlagsInDialog(const CFlagDialogTemplate& dialog, std::uint32_t& flags, QWidget* parent);
