// UndoHistory: steps joined as Qt's text boxes join them.
#include "undo_history.h"

void UndoHistory::Clear() {
    UndoSteps.clear();
    RedoSteps.clear();
    StepOpen = false;
}

void UndoHistory::Record(qsizetype position, TextBuffer removed, TextBuffer inserted,
                         EditKind kind) {
    Step step{position, std::move(removed), std::move(inserted), kind};
    const qsizetype end = position + step.Removed.Size();
    RedoSteps.clear();
    Step* last = UndoSteps.empty() || !StepOpen ? nullptr : &UndoSteps.back();
    // A line break taken out is an undo step of its own, as in Qt.
    const bool joins = last != nullptr && last->Kind == kind &&
                       (kind != EditKind::Removal || (step.Removed.LineBreakCount() == 0 &&
                                                      last->Removed.LineBreakCount() == 0));
    const qsizetype insertion = step.Inserted.IsEmpty() ? 0 : ++Insertions;
    // Typing goes on into the step before, but not after a line break.
    if (joins && kind == EditKind::Typing && step.Removed.IsEmpty() &&
        last->Position + last->Inserted.Size() == position && last->Insertion + 1 == insertion &&
        !last->Inserted.IsEmpty() && last->Inserted.At(last->Inserted.Size() - 1) != u'\n') {
        last->Inserted.Replace(last->Inserted.Size(), 0, step.Inserted);
        last->Insertion = insertion;
    } else if (joins && kind == EditKind::Removal && last->Position == end) {
        // Backspace: what goes comes before what went.
        last->Removed.Replace(0, 0, step.Removed);
        last->Position = position;
    } else if (joins && kind == EditKind::Removal && last->Position == position) {
        // Delete: what goes came after what went.
        last->Removed.Replace(last->Removed.Size(), 0, step.Removed);
    } else {
        step.Insertion = insertion;
        UndoSteps.push_back(std::move(step));
    }
    StepOpen = true;
}

std::optional<UndoHistory::Change> UndoHistory::Replay(std::vector<Step>& from,
                                                       std::vector<Step>& to, bool undo) {
    if (from.empty()) return std::nullopt;
    to.push_back(std::move(from.back()));
    from.pop_back();
    const Step& step = to.back();
    // Typing may go on into the step now last, as in Qt.
    StepOpen = true;
    const TextBuffer& now = undo ? step.Inserted : step.Removed;
    return Change{step.Position, now, undo ? step.Removed : step.Inserted};
}
