// A message box answered by the person at the terminal: its buttons and what keys do to them.
#pragma once
#include "host/Keys.h"

#include <string>
#include <vector>

struct BoxChoice {
    std::vector<int> buttons; // IDOK, IDCANCEL, ... in the order the box shows them
    size_t focus = 0;         // index into buttons
};

// The buttons of a box of that style, the focus on its default button.
BoxChoice MakeBoxChoice(unsigned style);
std::string BoxButtonLabel(int id);
// Applies one key: true with answer set when the key answers the box; false when the box stays
// (the focus may have moved).
bool ApplyBoxKey(BoxChoice& choice, const KeyAction& key, int& answer);
// The buttons row as drawn: the focused one in double brackets.
std::string BoxButtonsRow(const BoxChoice& choice);
