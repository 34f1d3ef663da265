// The memo for screen readers: Qt's accessible text and editable-text
// interfaces over the memo's one text.
#pragma once

// Makes Qt ask for the memo's accessible interface; safe to call often.
void InstallMemoAccessibility();
