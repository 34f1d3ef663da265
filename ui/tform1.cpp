// TForm1: the event bindings of the window and their handlers.
//
// Each handler first enables and disables the controls that steer the user
// through the fixed sequence normalise, key start position, keystream and
// cipher; then reads the choices at that moment, runs one operation of the
// cipher core on State and shows its result. Which step comes next is held
// only by which buttons are enabled. Handlers that may take long on large
// texts run as a BusyAction, and so do the memos' long edits: busy cursor,
// no events until the work is done, and no input delivered late.
#include "tform1.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "busy_action.h"
#include "count_field.h"
#include "memo.h"
#include "memo_text.h"
#include "radio_group.h"
#include "status_bar.h"
#include "up_down.h"
#include "window_texts.h"

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    CreateControls();
    ConnectEvents();
    FormCreate();
}

TForm1::~TForm1() {
    // The memos may show the state's fields, which go before them.
    for (Memo* memo : {Memo1, Memo2, Memo3}) memo->Clear();
}

void TForm1::ConnectEvents() {
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::close);  // kind bkClose
    connect(BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(BitBtn8, &QPushButton::clicked, this, &TForm1::BitBtn8Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(RadioGroup1, &RadioGroup::Click, this, &TForm1::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::Click, this, &TForm1::RadioGroup2Click);
    connect(RadioGroup3, &RadioGroup::Click, this, &TForm1::RadioGroup3Click);
    connect(UpDown1, &UpDown::Click, this, &TForm1::UpDown1Click);
    for (Memo* memo : {Memo1, Memo2, Memo3}) {
        connect(memo, &Memo::LongEditStarted, this, [this] { MemoEdit.emplace(); });
        connect(memo, &Memo::LongEditFinished, this, [this] { MemoEdit.reset(); });
    }
}

namespace {

using trithemius::Direction;
using trithemius::KeyStart;
using trithemius::Method;

// Shows a field of the cipher state in a memo, which refers to its bytes
// rather than holding a copy. Every handler that rewrites a field empties the
// memo that may show it first, and the memos are emptied before the state
// goes, so no memo ever reads a field that has changed.
void ShowCipherText(Memo* memo, const std::string& field) { memo->ShowWindows1252Bytes(field); }

// The memo's text as the core's bytes, read piece by piece as the memo
// holds it: its line breaks are LF, not CR LF, which makes no difference,
// as normalising drops both.
std::string CipherTextOf(const Memo& memo) {
    trithemius::CipherTextWriter writer(static_cast<std::size_t>(memo.Length()));
    memo.ReadPieces([&writer](const TextPiece& piece) {
        if (piece.OneByte) {
            writer.AppendOneByte(piece.Bytes);
        } else {
            writer.AppendUtf16(QStringView(piece.Units.data(), piece.Size()));
        }
    });
    return std::move(writer).Finish();
}

}  // namespace

void TForm1::ShowMessage(const QString& text) {
    // A window closed while the action that leads here ran (it closes as
    // the action ends) has nobody left to tell.
    if (!isVisible()) return;
    QMessageBox box(QMessageBox::NoIcon, texts::kMessageTitle, text, QMessageBox::Ok, this);
    box.exec();
}

Method TForm1::SelectedMethod() const {
    return RadioGroup1->ItemIndex() == 0 ? Method::MethodModern : Method::MethodClassical;
}

KeyStart TForm1::SelectedKeyStart() const {
    return RadioGroup2->ItemIndex() == 0 ? KeyStart::KeyStartA : KeyStart::KeyStartB;
}

Direction TForm1::SelectedDirection() const {
    return RadioGroup3->ItemIndex() == 0 ? Direction::Encipher : Direction::Decipher;
}

void TForm1::ToggleFiveLetterBlocks(QPushButton* button, Memo* memo, const std::string& source) {
    // The caption is the toggle's state; both directions show the text of
    // the state, never what the memo holds now.
    const BusyAction busy;
    if (button->text() == texts::kShowGroups) {
        button->setText(texts::kHideGroups);
        // The groups are the memo's to keep: another toggle rewrites the
        // state's field while this memo still shows them.
        memo->Clear();
        trithemius::ToFiveLetterBlocks(State, source);
        memo->SetWindows1252Text(std::move(State.BlockText));
    } else {
        ShowCipherText(memo, source);
        button->setText(texts::kShowGroups);
    }
}

void TForm1::ShowKeyAlphabet(std::string_view alphabet) {
    const QString shown = trithemius::CipherTextToMemoText(alphabet);
    StatusBar1->SetPanelText(kKeyAlphabetPanel, shown);
    Edit1->setText(shown);
}

void TForm1::FormCreate() {
    // The key alphabet of the initial choices, selected and shown as a
    // change of choice does it.
    RadioGroup1Click();
}

void TForm1::BitBtn5Click() {
    bool refused = false;
    {
        // One busy stretch from the first change to the last: the window
        // is never seen with the text normalised and the rest as before.
        const BusyAction busy;
        {
            // The raw text goes once it is normalised; a text of more
            // letters than the state counts is refused and stays as it is.
            // Memo1 may show the state's bytes, which normalising rewrites:
            // it lets go of them first.
            const std::string raw = CipherTextOf(*Memo1);
            refused = !trithemius::CanNormalise(raw, SelectedMethod());
            if (!refused) {
                Memo1->Clear();
                trithemius::NormaliseInput(State, raw, SelectedMethod());
            }
        }
        if (!refused) {
            BitBtn1->setEnabled(true);
            BitBtn2->setEnabled(false);
            BitBtn3->setEnabled(true);
            BitBtn5->setEnabled(false);
            BitBtn6->setEnabled(true);
            UpDown1->setEnabled(true);
            ShowCipherText(Memo1, State.InputText);
            Edit3->SetCount(State.InputText.size());
            StatusBar1->SetPanelCount(kInputCountPanel, State.InputText.size());
        }
    }
    if (refused) {
        ShowMessage(texts::kTooLongMessage);
    } else if (State.InputText.empty()) {
        ShowMessage(texts::kEmptyInputMessage);
    }
}

void TForm1::UpDown1Click() {
    // Only positions before the end of the text are accepted into Edit2; the
    // spinner keeps a refused position all the same.
    const int position = UpDown1->Position();
    if (static_cast<std::size_t>(position) < State.InputText.size()) {
        Edit2->setText(QString::number(position));
    } else {
        ShowMessage(texts::kPositionMessage);
    }
    StatusBar1->SetPanelText(kKeyStartPanel, QString::number(position));
}

void TForm1::BitBtn6Click() {
    // A refused spinner position can still stand here. Where it cannot
    // start a keystream (beyond the text's end) the action is refused before
    // it changes anything, so the user can click the spinner down.
    const int position = UpDown1->Position();
    if (!trithemius::CanStartKeyStream(State.InputText.size(), position)) {
        ShowMessage(texts::kPositionMessage);
        return;
    }

    UpDown1->setEnabled(false);
    BitBtn6->setEnabled(false);
    BitBtn7->setEnabled(true);
    Button1->setEnabled(true);
    const BusyAction busy;
    Memo2->Clear();
    trithemius::GenerateKeyStream(State, position);
    ShowCipherText(Memo2, State.KeyStream);
    Edit4->SetCount(State.KeyStream.size());
}

void TForm1::Button1Click() {
    RadioGroup3->setEnabled(false);
    BitBtn8->setEnabled(true);
    Button1->setEnabled(false);

    const BusyAction busy;
    Memo3->Clear();
    trithemius::ApplyCipher(State, SelectedMethod(), SelectedKeyStart(), SelectedDirection());
    ShowCipherText(Memo3, State.OutputText);
    Edit5->SetCount(State.OutputText.size());
}

void TForm1::BitBtn1Click() { ToggleFiveLetterBlocks(BitBtn1, Memo1, State.InputText); }

void TForm1::BitBtn7Click() { ToggleFiveLetterBlocks(BitBtn7, Memo2, State.KeyStream); }

void TForm1::BitBtn8Click() { ToggleFiveLetterBlocks(BitBtn8, Memo3, State.OutputText); }

void TForm1::BitBtn2Click() {
    // The input is emptied as an edit of its own, so Ctrl+Z in Memo1 brings
    // it back: Escape clicks this button, and one key must not lose a text.
    BitBtn5->setEnabled(true);
    const BusyAction busy;
    Memo1->ClearAsEdit();
    Memo2->Clear();
}

void TForm1::BitBtn3Click() {
    // Back to the first step. The choices, the spinner's position, Edit2 and
    // the status panels keep their values.
    RadioGroup3->setEnabled(true);
    BitBtn1->setEnabled(false);
    BitBtn1->setText(texts::kShowGroups);
    BitBtn2->setEnabled(true);
    BitBtn3->setEnabled(false);
    BitBtn5->setEnabled(true);
    BitBtn6->setEnabled(false);
    BitBtn7->setText(texts::kShowGroups);
    BitBtn7->setEnabled(false);
    BitBtn8->setText(texts::kShowGroups);
    BitBtn8->setEnabled(false);
    Button1->setEnabled(false);
    Edit3->SetUnknown();
    Edit4->SetUnknown();
    Edit5->SetUnknown();
    const BusyAction busy;
    Memo1->Clear();
    Memo2->Clear();
    Memo3->Clear();
    UpDown1->setEnabled(false);
    State.InputText.clear();
}

void TForm1::RadioGroup1Click() {
    trithemius::SelectKeyAlphabet(State, SelectedMethod(), SelectedKeyStart());
    ShowKeyAlphabet(State.KeyAlphabet);
}

void TForm1::RadioGroup2Click() { RadioGroup1Click(); }

void TForm1::RadioGroup3Click() {
    const bool encipher = SelectedDirection() == Direction::Encipher;
    Button1->setText(encipher ? texts::kEncipher : texts::kDecipher);
    Label1->setText(encipher ? texts::kCiphertextCountLabel : texts::kPlaintextCountLabel);
}
