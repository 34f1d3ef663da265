// TForm1: the program's one window, Form1. Its controls bear the names of
// the window definition; tform1_controls.cpp builds each one straight into
// its member (position, font, colour, text, stock kind, keyboard role),
// tform1.cpp binds their events to the handlers and holds the handlers.
#pragma once

#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

#include "busy_action.h"
#include "cipher_core.h"
#include "stock_kinds.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class CountField;
class Memo;
class RadioGroup;
class StatusBar;
class UpDown;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // The panels of StatusBar1, left to right; tform1_controls.cpp gives each
    // its width and first text.
    enum StatusPanel : int {
        kInputCountCaptionPanel,
        kInputCountPanel,
        kKeyStartCaptionPanel,
        kKeyStartPanel,
        kKeyAlphabetCaptionPanel,
        kKeyAlphabetPanel,
        kSparePanel1,
        kSparePanel2,
        kPanelCount
    };

    // Builds the window with every control in its start state, then runs FormCreate.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void FormCreate();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();
    void BitBtn8Click();
    void Button1Click();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();
    void UpDown1Click();

private:
    void CreateControls();
    void ConnectEvents();

    // A TBitBtn: a push button with the glyph of its stock kind, whose
    // keyboard role (default or cancel) the window's key handling follows.
    QPushButton* MakeBitBtn(QWidget* parent, ButtonKind kind, const QString& caption = {});

    // The three choices as the radio groups hold them at this moment.
    [[nodiscard]] trithemius::Method SelectedMethod() const;
    [[nodiscard]] trithemius::KeyStart SelectedKeyStart() const;
    [[nodiscard]] trithemius::Direction SelectedDirection() const;

    // The modal box that tells the user of a refused input: title "Achtung",
    // one OK button, no icon.
    void ShowMessage(const QString& text);

    // One click of a five-letter-group toggle (BitBtn1, BitBtn7, BitBtn8).
    void ToggleFiveLetterBlocks(QPushButton* button, Memo* memo, const std::string& source);

    // Shows the key alphabet in status panel 5 and Edit1.
    void ShowKeyAlphabet(std::string_view alphabet);

    // The stock buttons in focus order, each with its kind.
    std::vector<std::pair<QPushButton*, ButtonKind>> StockButtons;

    // The working state of the cipher, for as long as the window lives.
    trithemius::CipherState State;

    // A long edit in a memo (a paste, undo, ...) is busy as a handler is.
    std::optional<BusyAction> MemoEdit;

    QFrame* Panel1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText6 = nullptr;
    QLabel* StaticText7 = nullptr;
    QLabel* StaticText8 = nullptr;
    QLabel* StaticText9 = nullptr;
    QLabel* Label1 = nullptr;
    Memo* Memo1 = nullptr;
    Memo* Memo2 = nullptr;
    Memo* Memo3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    CountField* Edit3 = nullptr;
    CountField* Edit4 = nullptr;
    CountField* Edit5 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn6 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QPushButton* BitBtn8 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;
    RadioGroup* RadioGroup2 = nullptr;
    RadioGroup* RadioGroup3 = nullptr;
    UpDown* UpDown1 = nullptr;
    StatusBar* StatusBar1 = nullptr;
};
