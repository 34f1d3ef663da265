// TextBuffer: a height-balanced (AVL) tree of leaves, joined and split as
// whole trees; an edit builds only the nodes on the paths to its ends.
#include "text_buffer.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include "memo_text.h"

namespace {

// A leaf holds at most this many characters; two neighbours that an edit
// brings together become one leaf while they fit into it, so that typing
// leaves no trail of small leaves behind.
constexpr qsizetype kLeafUnits = 4096;

constexpr unsigned kFirstHigh = 0x80;

struct Summary {
    qsizetype Breaks = 0;
    qsizetype Blanks = 0;
    bool PrintableAscii = true;
    bool PrintableOneByte = true;
};

// The LFs and blanks of data, whether it is all printable ASCII and LF,
// and, for the one-byte form, whether it holds no control but LF. The
// counts go into units of the data's own width for as long as they cannot
// overflow, and there is no early exit: the compiler turns the loops into
// vector instructions.
template <class Unit>
Summary Summarise(const Unit* data, qsizetype size) {
    constexpr qsizetype kBlock = std::numeric_limits<Unit>::max();
    Summary summary;
    Unit other = 0;
    for (qsizetype at = 0; at < size; at += kBlock) {
        const qsizetype count = std::min(kBlock, size - at);
        Unit breaks = 0;
        Unit blanks = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            const Unit c = data[i];
            breaks += static_cast<Unit>(c == Unit('\n'));
            blanks += static_cast<Unit>(c == Unit(' '));
            other |= static_cast<Unit>((static_cast<Unit>(c - 0x20) >= 0x5F) & (c != Unit('\n')));
        }
        summary.Breaks += breaks;
        summary.Blanks += blanks;
    }
    summary.PrintableAscii = other == 0;
    if constexpr (sizeof(Unit) == 1) {
        summary.PrintableOneByte =
            summary.PrintableAscii ||
            !trithemius::HoldsControlButLf(std::string_view(reinterpret_cast<const char*>(data),
                                                            static_cast<std::size_t>(size)));
    } else {
        summary.PrintableOneByte = false;
    }
    return summary;
}

// Whether data's blanks stand exactly every so many characters, the first
// within the first such stretch: two blanks tell the spacing, and where
// every place it gives holds a blank and there are no more blanks, there
// are no others.
template <class Unit>
void FindBlankSpacing(const Unit* data, qsizetype size, qsizetype blanks, std::int32_t& first,
                      std::int32_t& step) {
    step = 0;
    if (blanks < 2) return;
    const Unit* end = data + size;
    const Unit* one = std::find(data, end, Unit(' '));
    const Unit* two = std::find(one + 1, end, Unit(' '));
    const qsizetype spacing = two - one;
    const qsizetype at = one - data;
    if (at >= spacing || (size - 1 - at) / spacing + 1 != blanks) return;
    for (qsizetype i = at; i < size; i += spacing) {
        if (data[i] != Unit(' ')) return;
    }
    first = static_cast<std::int32_t>(at);
    step = static_cast<std::int32_t>(spacing);
}

// The first LF in [from, end), or end.
template <class Unit>
const Unit* FindBreak(const Unit* from, const Unit* end) {
    if constexpr (sizeof(Unit) == 1) {
        const void* at = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
        return at == nullptr ? end : static_cast<const Unit*>(at);
    } else {
        return std::find(from, end, Unit('\n'));
    }
}

// The position of the index-th c of data, which holds more than index.
template <class Unit>
qsizetype NthOf(const Unit* data, Unit c, qsizetype index) {
    for (qsizetype at = 0;; ++at) {
        if (data[at] == c && index-- == 0) return at;
    }
}

void AppendPiece(QString& text, const TextPiece& piece) {
    if (!piece.OneByte) {
        text.append(QStringView(piece.Units.data(), static_cast<qsizetype>(piece.Units.size())));
        return;
    }
    const qsizetype at = text.size();
    text.resize(at + piece.Size());
    trithemius::WriteMemoText(piece.Bytes, reinterpret_cast<char16_t*>(text.data()) + at);
}

}  // namespace

TextPiece TextBuffer::Node::Piece(qsizetype from, qsizetype to) const {
    TextPiece piece;
    piece.OneByte = OneByte;
    const auto count = static_cast<std::size_t>(to - from);
    if (OneByte) {
        piece.Bytes = std::string_view(static_cast<const char*>(Data) + from, count);
    } else {
        piece.Units = std::u16string_view(static_cast<const char16_t*>(Data) + from, count);
    }
    return piece;
}

// ---- building ---------------------------------------------------------

TextBuffer::NodePtr TextBuffer::MakeLeaf(std::shared_ptr<const void> owner, const void* data,
                                         qsizetype size, bool oneByte) {
    auto leaf = std::make_shared<Node>();
    leaf->Owner = std::move(owner);
    leaf->Data = data;
    leaf->Size = size;
    leaf->OneByte = oneByte;
    const auto sum = [&leaf](const auto* units) {
        using Unit = std::remove_cv_t<std::remove_pointer_t<decltype(units)>>;
        const qsizetype size = leaf->Size;
        const Summary summary = Summarise(units, size);
        leaf->Breaks = summary.Breaks;
        leaf->Blanks = summary.Blanks;
        leaf->PrintableAscii = summary.PrintableAscii;
        leaf->PrintableOneByte = summary.PrintableOneByte;
        FindBlankSpacing(units, size, summary.Blanks, leaf->FirstBlank, leaf->BlankStep);
        // The lengths between the LFs: a search for each where they are
        // far apart, a plain count where they are many.
        const Unit* end = units + size;
        const auto next = [&](const Unit* at) {
            if (leaf->Breaks * 64 < size) return FindBreak(at, end);
            while (at != end && *at != Unit('\n')) ++at;
            return at;
        };
        const Unit* first = next(units);
        leaf->Head = first - units;
        leaf->Tail = leaf->Head;
        for (const Unit* at = first; at != end;) {
            const Unit* following = next(at + 1);
            if (following == end) {
                leaf->Tail = end - at - 1;
            } else {
                leaf->Longest = std::max<qsizetype>(leaf->Longest, following - at - 1);
            }
            at = following;
        }
    };
    if (oneByte) {
        sum(static_cast<const unsigned char*>(data));
    } else {
        sum(static_cast<const char16_t*>(data));
    }
    return leaf;
}

TextBuffer::NodePtr TextBuffer::LeafOf(QStringView text) {
    // One byte a character where every character has a byte, else UTF-16.
    // Most characters are Latin-1 outside the bytes 80 to 9F and convert as
    // they stand: they are narrowed all at once, without a branch, so the
    // compiler turns the loop into vector instructions, and only the few
    // others are looked up.
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    const auto size = static_cast<std::size_t>(text.size());
    const auto isOther = [](char16_t unit) {
        return (unit >= 0x100) | (static_cast<char16_t>(unit - kFirstHigh) < 0x20);
    };
    char16_t others = 0;
    for (std::size_t i = 0; i < size; ++i) others |= static_cast<char16_t>(isOther(units[i]));
    std::string bytes(size, '\0');
    std::transform(units, units + size, bytes.begin(),
                   [](char16_t unit) { return static_cast<char>(unit); });
    // The others are looked for a block at a time, as they are few.
    constexpr std::size_t kBlock = 32;
    for (std::size_t block = 0; others != 0 && block < size; block += kBlock) {
        const std::size_t blockEnd = std::min(size, block + kBlock);
        char16_t inBlock = 0;
        for (std::size_t i = block; i < blockEnd; ++i) {
            inBlock |= static_cast<char16_t>(isOther(units[i]));
        }
        for (std::size_t i = block; inBlock != 0 && i < blockEnd; ++i) {
            if (!isOther(units[i])) continue;
            const int byte = trithemius::OneByteOf(units[i]);
            if (byte < 0) {
                auto wide = std::make_shared<const std::u16string>(units, size);
                return MakeLeaf(wide, wide->data(), text.size(), false);
            }
            bytes[i] = static_cast<char>(byte);
        }
    }
    auto owner = std::make_shared<const std::string>(std::move(bytes));
    return MakeLeaf(owner, owner->data(), text.size(), true);
}

TextBuffer::NodePtr TextBuffer::LeafSlice(const Node& leaf, qsizetype from, qsizetype to) {
    const qsizetype unit = leaf.OneByte ? 1 : 2;
    return MakeLeaf(leaf.Owner, static_cast<const char*>(leaf.Data) + from * unit, to - from,
                    leaf.OneByte);
}

TextBuffer::NodePtr TextBuffer::MakeInner(NodePtr left, NodePtr right) {
    auto node = std::make_shared<Node>();
    node->Size = left->Size + right->Size;
    node->Breaks = left->Breaks + right->Breaks;
    node->Blanks = left->Blanks + right->Blanks;
    node->Head = left->Breaks > 0 ? left->Head : left->Size + right->Head;
    node->Tail = right->Breaks > 0 ? right->Tail : right->Size + left->Tail;
    node->Longest = std::max(left->Longest, right->Longest);
    if (left->Breaks > 0 && right->Breaks > 0) {
        node->Longest = std::max(node->Longest, left->Tail + right->Head);
    }
    if (left->BlankStep != 0 && left->BlankStep == right->BlankStep &&
        (left->Size + right->FirstBlank - left->FirstBlank) % left->BlankStep == 0) {
        node->BlankStep = left->BlankStep;
        node->FirstBlank = left->FirstBlank;
    }
    node->Height = 1 + std::max(left->Height, right->Height);
    node->OneByte = left->OneByte && right->OneByte;
    node->PrintableAscii = left->PrintableAscii && right->PrintableAscii;
    node->PrintableOneByte = left->PrintableOneByte && right->PrintableOneByte;
    node->Left = std::move(left);
    node->Right = std::move(right);
    return node;
}

TextBuffer::NodePtr TextBuffer::Balanced(std::vector<NodePtr>& leaves, std::size_t from,
                                         std::size_t to) {
    if (to - from == 1) return std::move(leaves[from]);
    const std::size_t middle = from + (to - from) / 2;
    NodePtr left = Balanced(leaves, from, middle);
    return MakeInner(std::move(left), Balanced(leaves, middle, to));
}

TextBuffer::TextBuffer(QStringView text) {
    std::vector<NodePtr> leaves;
    leaves.reserve(static_cast<std::size_t>(text.size() / kLeafUnits + 1));
    for (qsizetype at = 0; at < text.size();) {
        qsizetype count = std::min(kLeafUnits, text.size() - at);
        // A surrogate pair stays in one leaf.
        if (at + count < text.size() && text[at + count - 1].isHighSurrogate() && count > 1) {
            --count;
        }
        leaves.push_back(LeafOf(text.sliced(at, count)));
        at += count;
    }
    if (!leaves.empty()) Root = Balanced(leaves, 0, leaves.size());
}

TextBuffer TextBuffer::FromOneByte(std::string&& bytes) {
    auto owner = std::make_shared<const std::string>(std::move(bytes));
    return OverOneByte(owner, *owner);
}

TextBuffer TextBuffer::ViewOfOneByte(std::string_view bytes) { return OverOneByte(nullptr, bytes); }

TextBuffer TextBuffer::OverOneByte(const std::shared_ptr<const void>& owner,
                                   std::string_view bytes) {
    std::vector<NodePtr> leaves;
    leaves.reserve(bytes.size() / kLeafUnits + 1);
    for (std::size_t at = 0; at < bytes.size(); at += kLeafUnits) {
        const std::string_view leaf = bytes.substr(at, kLeafUnits);
        leaves.push_back(MakeLeaf(owner, leaf.data(), static_cast<qsizetype>(leaf.size()), true));
    }
    if (leaves.empty()) return {};
    return TextBuffer(Balanced(leaves, 0, leaves.size()));
}

// ---- joining and splitting --------------------------------------------

namespace {

template <class Ptr, class Make>
Ptr RotateLeft(const Ptr& node, Make make) {
    // (a, (b, c)) becomes ((a, b), c).
    return make(make(node->Left, node->Right->Left), node->Right->Right);
}

template <class Ptr, class Make>
Ptr RotateRight(const Ptr& node, Make make) {
    // ((a, b), c) becomes (a, (b, c)).
    return make(node->Left->Left, make(node->Left->Right, node->Right));
}

}  // namespace

// Joining two trees of heights more than one apart goes down the taller
// one's inner side to a subtree as high as the other, joins there and
// rotates on the way back where a side became two higher than the other.
TextBuffer::NodePtr TextBuffer::JoinRight(const NodePtr& left, const NodePtr& right) {
    const auto make = [](NodePtr a, NodePtr b) { return MakeInner(std::move(a), std::move(b)); };
    const NodePtr& outer = left->Left;
    const NodePtr& inner = left->Right;
    if (inner->Height <= right->Height + 1) {
        NodePtr joined = MakeInner(inner, right);
        if (joined->Height <= outer->Height + 1) return MakeInner(outer, std::move(joined));
        return RotateLeft(MakeInner(outer, RotateRight(joined, make)), make);
    }
    NodePtr joined = JoinRight(inner, right);
    const bool tooHigh = joined->Height > outer->Height + 1;
    NodePtr node = MakeInner(outer, std::move(joined));
    return tooHigh ? RotateLeft(node, make) : node;
}

TextBuffer::NodePtr TextBuffer::JoinLeft(const NodePtr& left, const NodePtr& right) {
    const auto make = [](NodePtr a, NodePtr b) { return MakeInner(std::move(a), std::move(b)); };
    const NodePtr& outer = right->Right;
    const NodePtr& inner = right->Left;
    if (inner->Height <= left->Height + 1) {
        NodePtr joined = MakeInner(left, inner);
        if (joined->Height <= outer->Height + 1) return MakeInner(std::move(joined), outer);
        return RotateRight(MakeInner(RotateLeft(joined, make), outer), make);
    }
    NodePtr joined = JoinLeft(left, inner);
    const bool tooHigh = joined->Height > outer->Height + 1;
    NodePtr node = MakeInner(std::move(joined), outer);
    return tooHigh ? RotateRight(node, make) : node;
}

TextBuffer::NodePtr TextBuffer::Join(NodePtr left, NodePtr right) {
    if (!left) return right;
    if (!right) return left;
    if (left->Height > right->Height + 1) return JoinRight(left, right);
    if (right->Height > left->Height + 1) return JoinLeft(left, right);
    return MakeInner(std::move(left), std::move(right));
}

TextBuffer::NodePtr TextBuffer::JoinMerging(NodePtr left, NodePtr right) {
    if (!left || !right) return Join(std::move(left), std::move(right));
    const Node* last = left.get();
    while (!last->IsLeaf()) last = last->Right.get();
    const Node* first = right.get();
    while (!first->IsLeaf()) first = first->Left.get();
    if (last->Size + first->Size > kLeafUnits) return Join(std::move(left), std::move(right));
    NodePtr merged;
    if (last->OneByte && first->OneByte) {
        std::string bytes(last->Piece(0, last->Size).Bytes);
        bytes += first->Piece(0, first->Size).Bytes;
        auto owner = std::make_shared<const std::string>(std::move(bytes));
        merged = MakeLeaf(owner, owner->data(), static_cast<qsizetype>(owner->size()), true);
    } else {
        std::u16string wide(static_cast<std::size_t>(last->Size + first->Size), u'\0');
        char16_t* out = wide.data();
        for (const Node* leaf : {last, first}) {
            const TextPiece piece = leaf->Piece(0, leaf->Size);
            out = piece.OneByte ? trithemius::WriteMemoText(piece.Bytes, out)
                                : std::copy(piece.Units.begin(), piece.Units.end(), out);
        }
        auto owner = std::make_shared<const std::u16string>(std::move(wide));
        merged = MakeLeaf(owner, owner->data(), static_cast<qsizetype>(owner->size()), false);
    }
    NodePtr head = Split(left, left->Size - last->Size).first;
    NodePtr tail = Split(right, first->Size).second;
    return Join(Join(std::move(head), std::move(merged)), std::move(tail));
}

std::pair<TextBuffer::NodePtr, TextBuffer::NodePtr> TextBuffer::Split(const NodePtr& node,
                                                                      qsizetype position) {
    if (!node || position <= 0) return {nullptr, node};
    if (position >= node->Size) return {node, nullptr};
    if (node->IsLeaf()) {
        return {LeafSlice(*node, 0, position), LeafSlice(*node, position, node->Size)};
    }
    const qsizetype half = node->Left->Size;
    if (position == half) return {node->Left, node->Right};
    if (position < half) {
        auto [head, rest] = Split(node->Left, position);
        return {std::move(head), Join(std::move(rest), node->Right)};
    }
    auto [rest, tail] = Split(node->Right, position - half);
    return {Join(node->Left, std::move(rest)), std::move(tail)};
}

void TextBuffer::Replace(qsizetype from, qsizetype count, const TextBuffer& text) {
    auto [head, rest] = Split(Root, from);
    NodePtr tail = Split(rest, count).second;
    Root = JoinMerging(JoinMerging(std::move(head), text.Root), std::move(tail));
    Cached.reset();
}

TextBuffer TextBuffer::Slice(qsizetype from, qsizetype count) const {
    from = std::clamp<qsizetype>(from, 0, Size());
    count = std::clamp<qsizetype>(count, 0, Size() - from);
    return TextBuffer(Split(Split(Root, from).second, count).first);
}

// ---- reading ----------------------------------------------------------

const TextBuffer::Node& TextBuffer::LeafAt(qsizetype position, qsizetype& start) const {
    if (Cached && position >= CachedStart && position < CachedStart + Cached->Size) {
        start = CachedStart;
        return *Cached;
    }
    const NodePtr* node = &Root;
    start = 0;
    while (!(*node)->IsLeaf()) {
        const qsizetype half = (*node)->Left->Size;
        if (position < start + half) {
            node = &(*node)->Left;
        } else {
            start += half;
            node = &(*node)->Right;
        }
    }
    Cached = *node;
    CachedStart = start;
    return **node;
}

char16_t TextBuffer::At(qsizetype position) const {
    qsizetype start = 0;
    const Node& leaf = LeafAt(position, start);
    const qsizetype offset = position - start;
    if (leaf.OneByte) {
        return trithemius::kOneByteCharacters[static_cast<const unsigned char*>(leaf.Data)[offset]];
    }
    return static_cast<const char16_t*>(leaf.Data)[offset];
}

TextPiece TextBuffer::LeafPiece(qsizetype position, qsizetype& start) const {
    const Node& leaf = LeafAt(position, start);
    return leaf.Piece(0, leaf.Size);
}

QString TextBuffer::Mid(qsizetype from, qsizetype count) const {
    // A piece reaching past either end is cut to the text, as QString::mid does.
    from = std::clamp<qsizetype>(from, 0, Size());
    count = std::clamp<qsizetype>(count, 0, Size() - from);
    QString text;
    text.reserve(count);
    AppendTo(text, from, count);
    return text;
}

void TextBuffer::AppendTo(QString& text, qsizetype from, qsizetype count) const {
    ForEachPiece(from, from + count, [&](const TextPiece& piece) { AppendPiece(text, piece); });
}

qsizetype TextBuffer::CountBefore(qsizetype Node::*count, char16_t c, qsizetype position) const {
    if (position >= Size()) return Root ? (*Root).*count : 0;
    qsizetype before = 0;
    const Node* node = Root.get();
    while (!node->IsLeaf()) {
        if (position < node->Left->Size) {
            node = node->Left.get();
        } else {
            before += (*node->Left).*count;
            position -= node->Left->Size;
            node = node->Right.get();
        }
    }
    // The leaf's characters before position, or its count less those
    // after, whichever are fewer.
    const bool after = position > node->Size / 2;
    const TextPiece piece = after ? node->Piece(position, node->Size) : node->Piece(0, position);
    const auto inPiece = static_cast<qsizetype>(
        piece.OneByte ? std::count(piece.Bytes.begin(), piece.Bytes.end(),
                                   static_cast<char>(trithemius::OneByteOf(c)))
                      : std::count(piece.Units.begin(), piece.Units.end(), c));
    return before + (after ? (*node).*count - inPiece : inPiece);
}

qsizetype TextBuffer::NthPosition(qsizetype Node::*count, char16_t c, qsizetype index) const {
    qsizetype position = 0;
    const Node* node = Root.get();
    while (!node->IsLeaf()) {
        if (index < (*node->Left).*count) {
            node = node->Left.get();
        } else {
            index -= (*node->Left).*count;
            position += node->Left->Size;
            node = node->Right.get();
        }
    }
    return position + (node->OneByte ? NthOf(static_cast<const char*>(node->Data),
                                             static_cast<char>(trithemius::OneByteOf(c)), index)
                                     : NthOf(static_cast<const char16_t*>(node->Data), c, index));
}

qsizetype TextBuffer::NextOf(qsizetype Node::*count, char16_t c, qsizetype from) const {
    from = std::max<qsizetype>(from, 0);
    if (from >= Size()) return Size();
    // Within the leaf holding from, else the first one after that leaf.
    qsizetype start = 0;
    const Node& leaf = LeafAt(from, start);
    const TextPiece piece = leaf.Piece(from - start, leaf.Size);
    const std::size_t at = piece.OneByte
                               ? piece.Bytes.find(static_cast<char>(trithemius::OneByteOf(c)))
                               : piece.Units.find(c);
    if (at != std::string_view::npos) return from + static_cast<qsizetype>(at);
    const qsizetype index = CountBefore(count, c, start + leaf.Size);
    return index < (*Root).*count ? NthPosition(count, c, index) : Size();
}

qsizetype TextBuffer::BreaksBefore(qsizetype position) const {
    return CountBefore(&Node::Breaks, u'\n', position);
}

qsizetype TextBuffer::BreakPosition(qsizetype index) const {
    return NthPosition(&Node::Breaks, u'\n', index);
}

qsizetype TextBuffer::LineEnd(qsizetype from) const { return NextOf(&Node::Breaks, u'\n', from); }

qsizetype TextBuffer::NextBlank(qsizetype from) const { return NextOf(&Node::Blanks, u' ', from); }

qsizetype TextBuffer::BlankPatternEnd(qsizetype from, qsizetype to, qsizetype step) const {
    from = std::max<qsizetype>(from, 0);
    to = std::min(to, Size());
    if (from >= to || step < 1) return std::max(from, to);
    // Blanks belong where (position - from + 1) is a multiple of step. A
    // leaf is looked at character by character; the leaf At() looked in
    // last first, as a stretch that breaks the pattern mostly does so soon.
    const auto inLeaf = [&](const Node& leaf, qsizetype at) {
        const qsizetype begin = std::max(from, at);
        const qsizetype end = std::min(to, at + leaf.Size);
        qsizetype phase = (begin - from + 1) % step;
        for (qsizetype position = begin; position < end; ++position) {
            const qsizetype i = position - at;
            const bool blank = leaf.OneByte ? static_cast<const char*>(leaf.Data)[i] == ' '
                                            : static_cast<const char16_t*>(leaf.Data)[i] == u' ';
            if (blank != (phase == 0)) return position;
            if (++phase == step) phase = 0;
        }
        return end;
    };
    if (Cached && from >= CachedStart && from < CachedStart + Cached->Size) {
        const qsizetype end = inLeaf(*Cached, CachedStart);
        if (end < std::min(to, CachedStart + Cached->Size)) return end;
    }
    const auto scan = [&](const auto& self, const Node& node, qsizetype at) -> qsizetype {
        if (at >= to || at + node.Size <= from) return to;
        if (at >= from && at + node.Size <= to && node.BlankStep == step &&
            (at + node.FirstBlank - from + 1) % step == 0) {
            return to;
        }
        if (node.IsLeaf()) {
            const qsizetype end = inLeaf(node, at);
            return end < std::min(to, at + node.Size) ? end : to;
        }
        const qsizetype left = self(self, *node.Left, at);
        return left < to ? left : self(self, *node.Right, at + node.Left->Size);
    };
    return scan(scan, *Root, 0);
}

qsizetype TextBuffer::LineStart(qsizetype position) const {
    position = std::min(position, Size());
    if (position <= 0) return 0;
    // Within the leaf holding the character before position, else after
    // the last LF before that leaf.
    qsizetype start = 0;
    const Node& leaf = LeafAt(position - 1, start);
    const TextPiece piece = leaf.Piece(0, position - start);
    const std::size_t at = piece.OneByte ? piece.Bytes.rfind('\n') : piece.Units.rfind(u'\n');
    if (at != std::string_view::npos) return start + static_cast<qsizetype>(at) + 1;
    const qsizetype index = BreaksBefore(start);
    return index == 0 ? 0 : BreakPosition(index - 1) + 1;
}

qsizetype TextBuffer::NextLongParagraph(qsizetype from, qsizetype longest, bool wideIsLong,
                                        qsizetype* breaks) const {
    // The paragraph being passed over starts at start and has length
    // characters so far; a node whose paragraphs are all short, the one
    // going on into it included, is passed over whole.
    qsizetype start = from;
    qsizetype length = 0;
    qsizetype passed = 0;
    const auto scan = [&](const auto& self, const Node& node, qsizetype at) -> bool {
        if (at + node.Size <= from) return false;
        const bool wide = wideIsLong && !node.OneByte;
        if (at >= from && !wide) {
            if (node.Breaks == 0 && length + node.Size <= longest) {
                length += node.Size;
                return false;
            }
            if (node.Breaks > 0 && length + node.Head <= longest && node.Longest <= longest) {
                start = at + node.Size - node.Tail;
                length = node.Tail;
                passed += node.Breaks;
                return false;
            }
        }
        if (!node.IsLeaf()) {
            return self(self, *node.Left, at) || self(self, *node.Right, at + node.Left->Size);
        }
        for (qsizetype i = std::max<qsizetype>(from - at, 0); i < node.Size; ++i) {
            const bool lf = node.OneByte ? static_cast<const char*>(node.Data)[i] == '\n'
                                         : static_cast<const char16_t*>(node.Data)[i] == u'\n';
            if (lf) {
                start = at + i + 1;
                length = 0;
                ++passed;
            } else if (++length > longest || wide) {
                return true;
            }
        }
        return false;
    };
    const bool found = Root && scan(scan, *Root, 0);
    if (breaks != nullptr) *breaks = passed;
    return found ? start : Size() + 1;
}

qsizetype TextBuffer::LastIndexOf(char16_t c, qsizetype from, qsizetype to) const {
    qsizetype found = -1;
    qsizetype start = std::max<qsizetype>(from, 0);
    const int byte = trithemius::OneByteOf(c);
    ForEachPiece(from, to, [&](const TextPiece& piece) {
        if (piece.OneByte) {
            const void* at =
                byte < 0 ? nullptr : memrchr(piece.Bytes.data(), byte, piece.Bytes.size());
            if (at != nullptr) found = start + (static_cast<const char*>(at) - piece.Bytes.data());
        } else {
            const auto at = piece.Units.rfind(c);
            if (at != std::u16string_view::npos) found = start + static_cast<qsizetype>(at);
        }
        start += piece.Size();
    });
    return found;
}

bool TextBuffer::IsSound() const {
    const auto sound = [](const auto& self, const Node& node) -> bool {
        if (node.IsLeaf()) {
            const NodePtr fresh = MakeLeaf(nullptr, node.Data, node.Size, node.OneByte);
            return node.Size > 0 && node.Size <= kLeafUnits && fresh->Breaks == node.Breaks &&
                   fresh->Blanks == node.Blanks && fresh->Head == node.Head &&
                   fresh->Tail == node.Tail && fresh->Longest == node.Longest &&
                   fresh->PrintableAscii == node.PrintableAscii &&
                   fresh->PrintableOneByte == node.PrintableOneByte &&
                   fresh->BlankStep == node.BlankStep && fresh->FirstBlank == node.FirstBlank;
        }
        const Node& left = *node.Left;
        const Node& right = *node.Right;
        const NodePtr fresh = MakeInner(node.Left, node.Right);
        return std::abs(left.Height - right.Height) <= 1 && node.Height == fresh->Height &&
               node.Size == fresh->Size && node.Breaks == fresh->Breaks &&
               node.Blanks == fresh->Blanks && node.Head == fresh->Head &&
               node.Tail == fresh->Tail && node.Longest == fresh->Longest &&
               node.OneByte == fresh->OneByte && node.PrintableAscii == fresh->PrintableAscii &&
               node.PrintableOneByte == fresh->PrintableOneByte &&
               node.BlankStep == fresh->BlankStep && node.FirstBlank == fresh->FirstBlank &&
               self(self, left) && self(self, right);
    };
    return !Root || sound(sound, *Root);
}
