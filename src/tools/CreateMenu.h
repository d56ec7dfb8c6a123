#pragma once
// The Create menu's rules: when each of its commands is enabled, and the question the five
// surface effects (water, force field, breaking glass, slashable grate, conveyor belt) ask
// before they build. A command is offered only while its rule holds and its builder exists.

#include <functional>
#include <span>

class C3dView;
struct CDocumentState;

enum class ECreateRule {
    Light,            // light mode on and a sector of the level current
    TwoNodeSurface,   // a current surface and exactly 2 picked grid nodes
    AdjoinedSurface,  // a current surface with an adjoin
    PlainSurface,     // a current surface without an adjoin
    Rectangle,        // a current surface and at least 2 picked grid nodes
    Cylinder,         // a current surface and 0, or at least 2, picked grid nodes
};

struct CCreateCommand {
    int m_id;
    ECreateRule m_rule;
    // The question asked before the builder runs (while "Warning" is on); null for the commands
    // whose dialog comes first.
    const char* m_question;
};

// Every Create command in menu order.
[[nodiscard]] std::span<const CCreateCommand> CreateCommands();
// The entry of id; null when id is no Create command.
[[nodiscard]] const CCreateCommand* FindCreateCommand(int id);

// Whether rule holds for the document's engine (null: never) and document state.
[[nodiscard]] bool CreateRuleHolds(ECreateRule rule, const C3dView* engine,
                                   const CDocumentState& document);

// The help context of a surface effect's question while it is shown: 0x10000 + the command id.
[[nodiscard]] constexpr unsigned int CreateQuestionHelpContext(int id)
{
    return 0x10000U + static_cast<unsigned int>(id);
}

// A surface effect: asks the command's question (Confirm: only while "Warning" is on); any answer
// but Yes ends it with nothing changed and no undo step; then build runs inside an undo step (a
// builder that refuses leaves the undo and redo lists and the modified flag as they were). True
// when the effect was built.
bool RunConfirmedCreate(C3dView& view, const CCreateCommand& command,
                        const std::function<bool()>& build);
