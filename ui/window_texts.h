// Every caption, label, item and message the window shows, each written
// once. The misspellings are the window's own and stay as they are.
#pragma once

#include <QString>
#include <QStringList>

namespace texts {

inline const QString kTitle = QStringLiteral("Trithemius-Chiffre");

// Title line and dates above the two sides.
inline const QString kHeading = QStringLiteral("Chifrieren und Dechiffrieren Trithemius-Chiffre");
inline const QString kWorkBegun = QStringLiteral("Arbeitsbeginn:");
inline const QString kWorkBegunDate = QStringLiteral("30.11.2018");
inline const QString kWorkState = QStringLiteral("Aktueller Arbeitsstand:");
inline const QString kWorkStateDate = QStringLiteral("04.01.2019");

// The input side.
inline const QString kInputSide = QStringLiteral("Eingabeseite");
inline const QString kClearInput = QStringLiteral("Eingabtetext löschen");
inline const QString kNormalise = QStringLiteral("Eingabetetxt bereinigen");
inline const QString kGenerateKeyStream = QStringLiteral("Keystrom generieren");
inline const QString kEncipher = QStringLiteral("Chiffrieren");
inline const QString kDecipher = QStringLiteral("Dechiffrieren");
inline const QString kKeyAlphabetLabel = QStringLiteral("... derzeit gütliger Schlüsselsatz");
inline const QString kKeyStartLabel =
    QStringLiteral("Aktuelle Einfüge-Position des Schlüsselsatzes");
inline const QString kInputCountLabel = QStringLiteral("Eingabezeichenzahl");

// The output side.
inline const QString kOutputSide = QStringLiteral("Ausgabeseite");
inline const QString kKeyStreamCountLabel = QStringLiteral("Anzahl der Zeichen für den Keystrom");
inline const QString kCiphertextCountLabel = QStringLiteral("Anzahl der Ciphertextzeichen");
inline const QString kPlaintextCountLabel = QStringLiteral("Anzahl der Plaintextzeichen");
inline const QString kShowTable = QStringLiteral("Aktuelle Chiffriertabelle einblenden");

// The captions of the stock kinds bkRetry and bkClose, which their buttons
// show for want of their own.
inline const QString kRetryCaption = QStringLiteral("&Wiederholen");
inline const QString kCloseCaption = QStringLiteral("S&chließen");

// The three five-letter-group toggles: the caption is the toggle's state.
inline const QString kShowGroups = QStringLiteral("Fünfer-Blöcke");
inline const QString kHideGroups = QStringLiteral("Blöcke löschen");

// The radio groups: title and items in item order.
inline const QString kMethodTitle = QStringLiteral("Verfahrensauswahl");
inline const QStringList kMethodItems = {
    QStringLiteral("modernes Alphabet"),
    QStringLiteral("klassischer Trithemius (ohne J und V und andere Zeichenanordnung)")};
inline const QString kKeyStartTitle = QStringLiteral("Schlüsselstart");
inline const QStringList kKeyStartItems = {QStringLiteral("Schlüssel beginnt mit A"),
                                           QStringLiteral("Schlüssel beginnt mit B")};
inline const QString kDirectionTitle = QStringLiteral("Arbeitsrichtung");
inline const QStringList kDirectionItems = {QStringLiteral("Encoding (Verschlüsseln)"),
                                            QStringLiteral("Decoding (Entschlüsseln)")};

// The fixed texts of the status bar.
inline const QString kInputCountCaption = QStringLiteral("Anzahl Eingabezeichen");
inline const QString kInitialCount = QStringLiteral("35");
inline const QString kKeyStartCaption = QStringLiteral("Startposition des Key-Alphabets");
inline const QString kKeyAlphabetCaption = QStringLiteral("Sclüsselalphabet");

// What screen readers call the controls that have no label of their own.
inline const QString kInputMemoName = QStringLiteral("Eingabetext");
inline const QString kKeyStreamMemoName = QStringLiteral("Keystrom");
inline const QString kResultMemoName = QStringLiteral("Ergebnistext");
inline const QString kSpinUpName = QStringLiteral("Startposition erhöhen");
inline const QString kSpinDownName = QStringLiteral("Startposition verringern");

// The messages, all under one title.
inline const QString kMessageTitle = QStringLiteral("Achtung");
inline const QString kTooLongMessage = QStringLiteral(
    "Der bereinigte Text hätte mehr als 2.147.483.647 Buchstaben und wird nicht bereinigt!");
inline const QString kEmptyInputMessage = QStringLiteral("Die Eingabeseite darf nicht leer sein!");
inline const QString kPositionMessage =
    QStringLiteral("Die Eingabeposition kann nicht nach der Textlänge liegen!!");

}  // namespace texts
