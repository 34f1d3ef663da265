// Fuzz target for the memo's model: edits, undos and redos on its text (a
// tree of pieces) and its display lines, checked against a plain string,
// the texts each undo and redo must bring back, and a fresh wrap.
//
// Input: the first byte picks the font, the width and the text to start
// from; then every four bytes are one operation: the first picks it (an
// edit of one of three kinds, undo, redo, closing the undo step, asking
// for the line of a position) and how much an edit removes, the next two where,
// the last what an edit inserts.
#include <QFont>
#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_check.h"
#include "line_wrap.h"
#include "text_buffer.h"
#include "undo_history.h"

namespace {

using namespace Qt::StringLiterals;
using trithemius::fuzz::Check;

const QStringList& Pieces() {
    static const QStringList pieces =
        QStringList{u" "_s,
                    u"\n"_s,
                    u"\n\n"_s,
                    u"Hello, world. "_s,
                    u"ABCDE "_s,
                    u"X"_s,
                    u"\u00E4\u00F6\u00FC \u00DF"_s,
                    u"\t"_s,
                    u"\u201EZitat\u201C "_s,
                    u"\u4E2D\u6587"_s,
                    u"e\u0301"_s,
                    u"\u0308\u0308"_s,
                    u"\U0001F600"_s,
                    u"\U0001F469\u200D\U0001F4BB"_s,
                    u"\U0001F1E9\U0001F1EA"_s,
                    u"\u200D"_s,
                    QString(QChar(0xD83D)),
                    QString(QChar(0xDC00)),
                    u"\u20AC\u0081"_s,
                    u"    "_s}
        << u"b"_s + QString(400, QChar(0x0308))
        << u"\U0001F44D"_s + QString(280, QChar(0x0301)) + u"\u200D\U0001F44D"_s
        << QString(5000, u'Q') << u"ABCDE "_s.repeated(800);
    return pieces;
}

QString StartText(int shape) {
    switch (shape % 6) {
        case 0:
            return QString(9000, u'A');
        case 1:
            return u"ABCDE "_s.repeated(1500);
        case 2:
            return QString(6000, u'\n');
        case 3:
            return u"ABCD\n"_s.repeated(1200);
        case 4:
            return u"Am 3. M\u00E4rz schrieb der Abt \u201E\u00FCber Schrift\u201C, "
                   u"gr\u00FC\u00DFte und versprach!\n"_s.repeated(120);
        default:
            return {};
    }
}

std::vector<qsizetype> AllStarts(const LineWrap& wrap) {
    std::vector<qsizetype> starts;
    for (qsizetype line = 0; line < wrap.LineCount(); ++line)
        starts.push_back(wrap.LineStart(line));
    return starts;
}

QFont FontOf(int choice) {
    QFont font(choice % 2 ? u"Liberation Sans"_s : u"Liberation Mono"_s);
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

}  // namespace

// Fontconfig keeps the fonts it has looked up, the fallbacks for a script
// among them, until the process ends: not a leak of the memo's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libfreetype.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Fonts without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr qreal kWidths[] = {612, 100, 30, 5};
    const QFont font = FontOf(data[0]);
    const qreal width = kWidths[(data[0] >> 1) % 4];
    QString model = StartText(data[0] >> 3);
    TextBuffer text(model);
    LineWrap wrap(text);
    wrap.SetFont(font);
    wrap.SetWidth(width);
    UndoHistory history;
    // The texts that undo and redo must bring back, one per step.
    std::vector<QString> beforeSteps;
    std::vector<QString> afterSteps;

    const auto apply = [&](qsizetype from, const TextBuffer& removed, const TextBuffer& inserted) {
        wrap.BeforeEdit(from, removed);
        text.Replace(from, removed.Size(), inserted);
        model.replace(from, removed.Size(), inserted.ToString());
        wrap.Update(from, removed.Size(), inserted);
    };
    const auto check = [&] {
        Check(text.ToString() == model, "the text is the model");
        Check(text.IsSound(), "the tree is balanced and its sums right");
        Check(text.LineBreakCount() == model.count(u'\n'), "the line breaks are counted");
        LineWrap fresh(text);
        fresh.SetFont(font);
        fresh.SetWidth(width);
        Check(AllStarts(wrap) == AllStarts(fresh), "the lines are a fresh wrap's");
    };

    constexpr qsizetype kRemoved[] = {0, 1, 2, 5, 300, 5000};
    for (std::size_t at = 1, op = 0; at + 4 <= size; at += 4, ++op) {
        const std::uint8_t choice = data[at];
        const qsizetype position = (data[at + 1] | (data[at + 2] << 8)) % (model.size() + 1);
        switch (choice % 8) {
            case 0:
            case 1:
            case 2: {
                const auto kind = static_cast<UndoHistory::EditKind>(choice % 3);
                const qsizetype removed =
                    std::min(kRemoved[(choice >> 3) % 6], model.size() - position);
                const TextBuffer inserted =
                    kind == UndoHistory::EditKind::Removal
                        ? TextBuffer()
                        : TextBuffer(Pieces()[data[at + 3] % Pieces().size()]);
                if (removed == 0 && inserted.IsEmpty()) break;
                const QString before = model;
                const qsizetype steps = history.UndoCount();
                TextBuffer gone = text.Slice(position, removed);
                Check(gone.ToString() == model.mid(position, removed), "a slice is the text");
                apply(position, gone, inserted);
                history.Record(position, std::move(gone), inserted, kind);
                afterSteps.clear();
                if (history.UndoCount() > steps) {
                    beforeSteps.push_back(before);
                }
                break;
            }
            case 3:
            case 4:
            case 5: {
                const bool undo = choice % 8 != 5;
                const auto change = undo ? history.Undo() : history.Redo();
                std::vector<QString>& from = undo ? beforeSteps : afterSteps;
                std::vector<QString>& to = undo ? afterSteps : beforeSteps;
                Check(change.has_value() == !from.empty(), "a step is there to replay");
                if (!change) break;
                to.push_back(model);
                apply(change->Position, change->Removed, change->Inserted);
                Check(model == from.back(), "undo and redo bring the text back");
                from.pop_back();
                break;
            }
            case 6:
                history.Close();
                break;
            default: {
                // A line asked for by position ends where the next begins.
                const qsizetype line = wrap.LineOf(position);
                Check(wrap.LineStart(line) <= position &&
                          (line + 1 == wrap.LineCount() || position < wrap.LineStart(line + 1)),
                      "a position lies in its line");
                break;
            }
        }
        if (op % 32 == 31) check();
    }
    check();
    return 0;
}
