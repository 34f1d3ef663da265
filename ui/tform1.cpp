// TForm1: the event bindings of the window and their handlers.
//
// Each handler first enables and disables the controls that steer the user
// through the fixed sequence normalise, key start position, keystream and
// cipher; then reads the choices at that moment, runs one operation of the
// cipher core on State and shows its result. Which step comes next is held
// only by which buttons are enabled.
#include "tform1.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

#include "memo.h"
#include "memo_text.h"
#include "radio_group.h"
#include "status_bar.h"
#include "up_down.h"

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    CreateControls();
    ConnectEvents();
    FormCreate();
}

TForm1::~TForm1() = default;

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
}

namespace {

using trithemius::Direction;
using trithemius::KeyStart;
using trithemius::Method;

const QString kUngroupedCaption = QStringLiteral("F\u00fcnfer-Bl\u00f6cke");
const QString kGroupedCaption = QStringLiteral("Bl\u00f6cke l\u00f6schen");
const QString kUnknownCount = QStringLiteral("???");

const QString kMessageTitle = QStringLiteral("Achtung");
const QString kEmptyInputMessage = QStringLiteral("Die Eingabeseite darf nicht leer sein!");
const QString kPositionMessage =
    QStringLiteral("Die Eingabeposition kann nicht nach der Textl\u00e4nge liegen!!");

// Panels of StatusBar1 that the handlers write.
constexpr int kInputCountPanel = 1;
constexpr int kKeyStartPanel = 3;
constexpr int kKeyAlphabetPanel = 5;

QString Count(std::size_t count) { return QString::number(count); }

}  // namespace

void TForm1::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kMessageTitle, text, QMessageBox::Ok, this);
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
    if (button->text() == kUngroupedCaption) {
        button->setText(kGroupedCaption);
        const std::string& blocks = trithemius::ToFiveLetterBlocks(State, source);
        memo->Clear();
        memo->SetText(trithemius::CipherTextToMemoText(blocks));
    } else {
        memo->SetText(trithemius::CipherTextToMemoText(source));
        button->setText(kUngroupedCaption);
    }
}

void TForm1::SelectAndShowKeyAlphabet() {
    trithemius::SelectKeyAlphabet(State, SelectedMethod(), SelectedKeyStart());
    const QString alphabet = trithemius::CipherTextToMemoText(State.KeyAlphabet);
    StatusBar1->SetPanelText(kKeyAlphabetPanel, alphabet);
    Edit1->setText(alphabet);
}

void TForm1::FormCreate() {
    // The window already shows the alphabet of its default choices.
    trithemius::SelectKeyAlphabet(State, SelectedMethod(), SelectedKeyStart());
}

void TForm1::BitBtn5Click() {
    BitBtn1->setEnabled(true);
    BitBtn2->setEnabled(false);
    BitBtn3->setEnabled(true);
    BitBtn5->setEnabled(false);
    BitBtn6->setEnabled(true);
    UpDown1->setEnabled(true);

    trithemius::NormaliseInput(State, trithemius::MemoTextToCipherText(Memo1->Text()),
                               SelectedMethod());

    Memo1->Clear();
    Memo1->SetText(trithemius::CipherTextToMemoText(State.InputText));
    Edit3->setText(QString::number(State.TextLength));
    StatusBar1->SetPanelText(kInputCountPanel, QString::number(State.TextLength));
    if (State.InputText.empty()) {
        ShowMessage(kEmptyInputMessage);
    }
}

void TForm1::UpDown1Click() {
    // Only positions before the end of the text are accepted into Edit2; the
    // spinner keeps a refused position all the same.
    const int position = UpDown1->Position();
    if (static_cast<std::size_t>(position) < State.InputText.size()) {
        Edit2->setText(QString::number(position));
    } else {
        ShowMessage(kPositionMessage);
    }
    StatusBar1->SetPanelText(kKeyStartPanel, QString::number(position));
}

void TForm1::BitBtn6Click() {
    // A refused spinner position can still stand here. Up to the text's
    // length it is a valid key start (the length itself puts the alphabet's
    // first letter on the last letter); beyond it there is no keystream to
    // generate, so the action is refused before it changes anything and the
    // user can click the spinner down.
    const int position = UpDown1->Position();
    if (!trithemius::CanStartKeyStream(State.InputText.size(), position)) {
        ShowMessage(kPositionMessage);
        return;
    }

    UpDown1->setEnabled(false);
    BitBtn6->setEnabled(false);
    BitBtn7->setEnabled(true);

    trithemius::GenerateKeyStream(State, position);

    Memo2->SetText(trithemius::CipherTextToMemoText(State.KeyStream));
    Edit4->setText(Count(State.KeyStream.size()));
    Button1->setEnabled(true);
}

void TForm1::Button1Click() {
    RadioGroup3->setEnabled(false);
    BitBtn8->setEnabled(true);
    Button1->setEnabled(false);

    trithemius::ApplyCipher(State, SelectedMethod(), SelectedKeyStart(), SelectedDirection());

    Memo3->SetText(trithemius::CipherTextToMemoText(State.OutputText));
    Edit5->setText(Count(State.OutputText.size()));
}

void TForm1::BitBtn1Click() { ToggleFiveLetterBlocks(BitBtn1, Memo1, State.InputText); }

void TForm1::BitBtn7Click() { ToggleFiveLetterBlocks(BitBtn7, Memo2, State.KeyStream); }

void TForm1::BitBtn8Click() { ToggleFiveLetterBlocks(BitBtn8, Memo3, State.OutputText); }

void TForm1::BitBtn2Click() {
    BitBtn5->setEnabled(true);
    Memo1->Clear();
    Memo2->Clear();
}

void TForm1::BitBtn3Click() {
    // Back to the first step. The choices, the spinner's position, Edit2 and
    // the status panels keep their values.
    RadioGroup3->setEnabled(true);
    BitBtn1->setEnabled(false);
    BitBtn1->setText(kUngroupedCaption);
    BitBtn2->setEnabled(true);
    BitBtn3->setEnabled(false);
    BitBtn5->setEnabled(true);
    BitBtn6->setEnabled(false);
    BitBtn7->setText(kUngroupedCaption);
    BitBtn7->setEnabled(false);
    BitBtn8->setText(kUngroupedCaption);
    BitBtn8->setEnabled(false);
    Button1->setEnabled(false);
    Edit3->setText(kUnknownCount);
    Edit4->setText(kUnknownCount);
    Edit5->setText(kUnknownCount);
    Memo1->Clear();
    Memo2->Clear();
    Memo3->Clear();
    UpDown1->setEnabled(false);
    State.InputText.clear();
}

void TForm1::RadioGroup1Click() { SelectAndShowKeyAlphabet(); }

void TForm1::RadioGroup2Click() { SelectAndShowKeyAlphabet(); }

void TForm1::RadioGroup3Click() {
    if (SelectedDirection() == Direction::Encipher) {
        Button1->setText(QStringLiteral("Chiffrieren"));
        Label1->setText(QStringLiteral("Anzahl der Ciphertextzeichen"));
    } else {
        Button1->setText(QStringLiteral("Dechiffrieren"));
        Label1->setText(QStringLiteral("Anzahl der Plaintextzeichen"));
    }
}
