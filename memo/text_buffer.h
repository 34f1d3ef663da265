// TextBuffer: a memo's text as a balanced tree of immutable pieces (a rope).
// Lines are separated by LF and nothing else; positions count UTF-16 code
// units.
//
// Each leaf holds a few KiB of the text, either one byte per character in
// the one-byte form (Windows-1252, where the five bytes it leaves undefined
// stand for the Latin-1 controls of their values: memo_text's
// kOneByteCharacters) or as UTF-16, whichever
// fits the leaf's characters: German prose with its quotation marks is one
// byte a character, and a character outside that form widens only its own
// leaf. Every node sums up its length and its LFs, so that finding a
// position or a paragraph's ends and replacing a piece take time that grows
// with the logarithm of the length, not with it.
//
// Nodes are never changed once built: a copy of a TextBuffer, or a slice of
// it, shares them, so an undo step keeps the pieces it took out without a
// copy of their characters.
#pragma once

#include <QString>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A stretch of a TextBuffer as it is held: one byte per character in the
// one-byte form, or UTF-16.
struct TextPiece {
    bool OneByte = true;
    std::string_view Bytes;  // when OneByte
    std::u16string_view Units;  // otherwise

    [[nodiscard]] qsizetype Size() const {
        return static_cast<qsizetype>(OneByte ? Bytes.size() : Units.size());
    }
};

class TextBuffer {
public:
    TextBuffer() = default;
    explicit TextBuffer(QStringView text);
    // Bytes in the one-byte form, held as they are: taken over, or only
    // referred to, in which case they must stay alive and unchanged as long
    // as a leaf made of them is (this text, its slices, or a text they went
    // into).
    static TextBuffer FromOneByte(std::string&& bytes);
    static TextBuffer ViewOfOneByte(std::string_view bytes);

    [[nodiscard]] qsizetype Size() const { return Root ? Root->Size : 0; }
    [[nodiscard]] bool IsEmpty() const { return Size() == 0; }
    [[nodiscard]] char16_t At(qsizetype position) const;
    // The whole leaf that holds position, which lies before Size(), and
    // where it starts.
    [[nodiscard]] TextPiece LeafPiece(qsizetype position, qsizetype& start) const;

    // Whether every character is printable ASCII or LF.
    [[nodiscard]] bool IsPrintableAscii() const { return !Root || Root->PrintableAscii; }
    // Whether every character is held one byte a character and is LF or
    // no control (no tab among them).
    [[nodiscard]] bool IsPrintableOneByte() const { return !Root || Root->PrintableOneByte; }

    [[nodiscard]] QString Mid(qsizetype from, qsizetype count) const;
    [[nodiscard]] QString ToString() const { return Mid(0, Size()); }
    // Appends count characters from from to text.
    void AppendTo(QString& text, qsizetype from, qsizetype count) const;
    // count characters from from, sharing this text's pieces.
    [[nodiscard]] TextBuffer Slice(qsizetype from, qsizetype count) const;

    // Replaces count characters at from by text.
    void Replace(qsizetype from, qsizetype count, const TextBuffer& text);

    // The first LF at or after from, or Size().
    [[nodiscard]] qsizetype LineEnd(qsizetype from) const;
    // The position after the last LF before position, or 0.
    [[nodiscard]] qsizetype LineStart(qsizetype position) const;
    // How many LFs the text holds.
    [[nodiscard]] qsizetype LineBreakCount() const { return Root ? Root->Breaks : 0; }
    // How many LFs lie before position, and where the index-th LF stands
    // (counting from 0; there must be more than index).
    [[nodiscard]] qsizetype BreaksBefore(qsizetype position) const;
    [[nodiscard]] qsizetype BreakPosition(qsizetype index) const;
    // The last position of c in [from, to), or -1.
    [[nodiscard]] qsizetype LastIndexOf(char16_t c, qsizetype from, qsizetype to) const;
    // The first blank at or after from, or Size().
    [[nodiscard]] qsizetype NextBlank(qsizetype from) const;
    // The end of the stretch of [from, to) whose blanks stand exactly at
    // from + step - 1, from + 2 * step - 1, ... (a text of groups of
    // step - 1 characters from a group's start): the first position that
    // breaks that, or to. Stretches of whole subtrees are passed over from
    // their sums.
    [[nodiscard]] qsizetype BlankPatternEnd(qsizetype from, qsizetype to, qsizetype step) const;
    // The start of the first paragraph from the paragraph start from on that
    // holds more than longest characters, or, with wideIsLong, any of them
    // in UTF-16; Size() + 1 when there is none. The paragraphs passed over
    // are found a subtree at a time, from the sums of their lengths; breaks,
    // where given, is set to the number of LFs passed.
    [[nodiscard]] qsizetype NextLongParagraph(qsizetype from, qsizetype longest, bool wideIsLong,
                                              qsizetype* breaks = nullptr) const;

    // Calls visit(piece) for the pieces of [from, to) in order.
    template <class Visitor>
    void ForEachPiece(qsizetype from, qsizetype to, Visitor&& visit) const {
        if (Root && from < to) Visit(*Root, from, to, visit);
    }

    // Whether other is this text itself, or a copy of it, not only the same
    // characters.
    [[nodiscard]] bool IsSameAs(const TextBuffer& other) const {
        return Root != nullptr && Root == other.Root;
    }

    // Whether the tree is as it should be: balanced, its sums right, no
    // leaf empty. For tests.
    [[nodiscard]] bool IsSound() const;

private:
    struct Node;
    using NodePtr = std::shared_ptr<const Node>;
    // A leaf's characters lie at Data, held by Owner; an inner node has two
    // halves. Height is 0 for a leaf.
    struct Node {
        NodePtr Left;
        NodePtr Right;
        std::shared_ptr<const void> Owner;
        const void* Data = nullptr;
        qsizetype Size = 0;
        qsizetype Breaks = 0;
        qsizetype Blanks = 0;
        // The characters before the first LF and after the last, and the
        // most between two LFs; Head and Tail are Size without an LF.
        qsizetype Head = 0;
        qsizetype Tail = 0;
        qsizetype Longest = 0;
        // Where the blanks stand exactly every BlankStep characters from the
        // first at FirstBlank, which lies within the first BlankStep; else
        // BlankStep is 0.
        std::int32_t BlankStep = 0;
        std::int32_t FirstBlank = 0;
        int Height = 0;
        bool OneByte = true;  // a leaf's form; for an inner node, every leaf's
        bool PrintableAscii = true;
        bool PrintableOneByte = true;

        [[nodiscard]] bool IsLeaf() const { return Height == 0; }
        [[nodiscard]] TextPiece Piece(qsizetype from, qsizetype to) const;
    };

    explicit TextBuffer(NodePtr root) : Root(std::move(root)) {}

    template <class Visitor>
    static void Visit(const Node& node, qsizetype from, qsizetype to, Visitor& visit) {
        if (node.IsLeaf()) {
            visit(node.Piece(std::max<qsizetype>(from, 0), std::min(to, node.Size)));
            return;
        }
        const qsizetype half = node.Left->Size;
        if (from < half) Visit(*node.Left, from, to, visit);
        if (to > half) Visit(*node.Right, from - half, to - half, visit);
    }

    static NodePtr MakeLeaf(std::shared_ptr<const void> owner, const void* data, qsizetype size,
                            bool oneByte);
    static NodePtr LeafOf(QStringView text);
    // Leaves over bytes held by owner (none: held by the caller).
    static TextBuffer OverOneByte(const std::shared_ptr<const void>& owner, std::string_view bytes);
    static NodePtr LeafSlice(const Node& leaf, qsizetype from, qsizetype to);
    static NodePtr MakeInner(NodePtr left, NodePtr right);
    static NodePtr Balanced(std::vector<NodePtr>& leaves, std::size_t from, std::size_t to);
    static NodePtr Join(NodePtr left, NodePtr right);
    static NodePtr JoinRight(const NodePtr& left, const NodePtr& right);
    static NodePtr JoinLeft(const NodePtr& left, const NodePtr& right);
    // Joins, making one leaf of the two that meet where both are small.
    static NodePtr JoinMerging(NodePtr left, NodePtr right);
    static std::pair<NodePtr, NodePtr> Split(const NodePtr& node, qsizetype position);

    // The leaf holding position, and where it starts: the one looked in
    // last where it holds position, else found from the root.
    const Node& LeafAt(qsizetype position, qsizetype& start) const;
    // How many of a node's counted characters (Breaks or Blanks) lie before
    // position, and where the index-th of them stands.
    [[nodiscard]] qsizetype CountBefore(qsizetype Node::*count, char16_t c,
                                        qsizetype position) const;
    [[nodiscard]] qsizetype NthPosition(qsizetype Node::*count, char16_t c, qsizetype index) const;
    // The first c at or after from, or Size().
    [[nodiscard]] qsizetype NextOf(qsizetype Node::*count, char16_t c, qsizetype from) const;

    NodePtr Root;
    // The leaf At() looked in last: characters are mostly read in order.
    mutable NodePtr Cached;
    mutable qsizetype CachedStart = 0;
};
