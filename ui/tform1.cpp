// TForm1: the event bindings of the window and their handlers.
#include "tform1.h"

#include <QLineEdit>
#include <QPushButton>

#include "memo.h"
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

void TForm1::FormCreate() {
    // Start-up: sets the default key alphabet.
}

void TForm1::BitBtn1Click() {
    // Toggles Memo1 between the normalised text and its five-letter groups.
}

void TForm1::BitBtn2Click() {
    // Clears the input memo (and the keystream memo).
}

void TForm1::BitBtn3Click() {
    // Resets the window to its start state.
}

void TForm1::BitBtn5Click() {
    // Normalises the text of Memo1.
}

void TForm1::BitBtn6Click() {
    // Generates the keystream from the spinner's position.
}

void TForm1::BitBtn7Click() {
    // Toggles Memo2 between the keystream and its five-letter groups.
}

void TForm1::BitBtn8Click() {
    // Toggles Memo3 between the result and its five-letter groups.
}

void TForm1::Button1Click() {
    // Enciphers or deciphers the normalised text with the keystream.
}

void TForm1::RadioGroup1Click() {
    // The method changed: selects the key alphabet.
}

void TForm1::RadioGroup2Click() {
    // The key start changed: selects the key alphabet.
}

void TForm1::RadioGroup3Click() {
    // The direction changed: sets the captions of Button1 and Label1.
}

void TForm1::UpDown1Click() {
    // An arrow changed the key start position: accepts or refuses it.
}
