// UndoHistory: a memo's undo and redo steps. A step holds the pieces an
// edit took out and put in, shared with the text they came from, so no step
// copies characters however long they are. Typing and single-character
// removals (Backspace, Delete) join the step before them of their kind where
// they go on from its end, as in Qt's text boxes.
#pragma once

#include <optional>
#include <vector>

#include "text_buffer.h"

class UndoHistory {
public:
    enum class EditKind { Other, Typing, Removal };

    // What the text has to undergo to take a step back or make it again:
    // the characters Removed at Position are replaced by Inserted.
    struct Change {
        qsizetype Position = 0;
        TextBuffer Removed;
        TextBuffer Inserted;
    };

    [[nodiscard]] bool CanUndo() const { return !UndoSteps.empty(); }
    [[nodiscard]] bool CanRedo() const { return !RedoSteps.empty(); }
    [[nodiscard]] qsizetype UndoCount() const { return static_cast<qsizetype>(UndoSteps.size()); }

    // Forgets every step.
    void Clear();
    // The next edit starts a step of its own (after a paste or an input
    // method's commit, as in Qt).
    void Close() { StepOpen = false; }

    // Records that removed was replaced by inserted at position, joined to
    // the last step where the kind allows; the redo steps go.
    void Record(qsizetype position, TextBuffer removed, TextBuffer inserted, EditKind kind);

    // The change that takes the last step back, which then waits for redo;
    // none when there is no step.
    [[nodiscard]] std::optional<Change> Undo() { return Replay(UndoSteps, RedoSteps, true); }
    [[nodiscard]] std::optional<Change> Redo() { return Replay(RedoSteps, UndoSteps, false); }

private:
    struct Step {
        qsizetype Position = 0;
        TextBuffer Removed;
        TextBuffer Inserted;
        EditKind Kind = EditKind::Other;
        qsizetype Insertion = 0;  // the number of the last text it inserted
    };

    std::optional<Change> Replay(std::vector<Step>& from, std::vector<Step>& to, bool undo);

    std::vector<Step> UndoSteps;
    std::vector<Step> RedoSteps;
    // Whether the next edit may join the last step.
    bool StepOpen = false;
    // Counts the edits that inserted text. Typing joins the last step only
    // if nothing else was inserted since, not even text undone since: Qt
    // joins only text stored one piece after the other.
    qsizetype Insertions = 0;
};
