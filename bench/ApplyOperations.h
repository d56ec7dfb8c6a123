#pragma once
// The editing operations of `qzbench apply`, one table row each: the operation's name, its words
// (the parser: key=value words it takes, their types and whether each is required), a line of
// help and the function that runs it on the engine. An operation works on the engine's selection
// as the editor's command would; it refuses (false) with its message shown through the engine's
// host and then leaves the level as it was. Adding an operation is adding a row.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class C3dView;

enum class EApplyWord : std::uint8_t {
    Int,    // a whole number
    Float,  // a finite number
    Name,   // any text
    YesNo,  // yes or no
};

// One key=value word an operation takes.
struct CApplyWord {
    const char* m_key;
    EApplyWord m_type;
    bool m_required;
};

// An operation's words, checked against its word list: every value reads as its type.
class CApplyArgs {
public:
    bool Has(std::string_view key) const;
    // The value of key (the default when the word was not given).
    int Int(std::string_view key, int otherwise = 0) const;
    float Float(std::string_view key, float otherwise = 0.0f) const;
    std::string Name(std::string_view key, std::string_view otherwise = {}) const;
    bool YesNo(std::string_view key, bool otherwise = false) const;

    std::map<std::string, std::string, std::less<>> m_values;
};

struct CApplyOperation {
    const char* m_name;
    std::span<const CApplyWord> m_words;
    const char* m_help;
    bool (*m_run)(C3dView& view, const CApplyArgs& args);
};

// Every operation, in help order.
std::span<const CApplyOperation> ApplyOperations();
// The row of name; null when there is none.
const CApplyOperation* FindApplyOperation(std::string_view name);

// Parses words (key=value each) against operation's word list into args. False with the reason
// in error when a key is unknown or given twice, a value does not read as its type, or a required
// word is missing.
bool ParseApplyArgs(const CApplyOperation& operation, std::span<const std::string> words,
                    CApplyArgs& args, std::string& error);

// "name key=INT [key=FLOAT] ..." for the usage text.
std::string ApplyUsage(const CApplyOperation& operation);
