// The input assistance from a host's view: a selector opens the dialog over an editor line, a
// person types, picks from the list and answers questions, and the host fetches the new line.
#include "support/AssistSession.h"

#include "base/LanguageResources.h"
#include "catalog/CatalogTexts.h"

#include <algorithm>

namespace {

using InputAssistance = AssistSession;

// A person looks at the dialog before typing: it shows, and its timer places the caret.
const DWORD kLook = 500;

// When the i-th key of a scenario is typed; a tick of the timer follows within 200 ms.
DWORD keyTime(int i) { return kLook + 250 * static_cast<DWORD>(i); }
const DWORD kTick = 220;

bool contains(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// Clicks the open list's item with that text, scrolled to the top first as a person would.
void clickListItem(const DialogSnapshot& s, const std::string& text) {
    ASSERT_TRUE(s.listVisible) << s.picture;
    auto at = std::find(s.items.begin(), s.items.end(), text);
    ASSERT_NE(at, s.items.end()) << text;
    const WPARAM index = static_cast<WPARAM>(at - s.items.begin());
    HWND list = WindowFromPoint(POINT{s.listRect.left + 20, s.listRect.top + 5});
    SendMessageA(list, LB_SETTOPINDEX, index, 0);
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    w32drv::ClickClient(list, item.left + 10, item.top + 2);
}

} // namespace

TEST_F(InputAssistance, TypingAWholeAddressIntoAnEmptyQuotedString) {
    DialogSnapshot first, functions, parameters;
    snapshotAfter(kLook - 50, &first);
    w32drv::Wait(kLook);
    typeSlowly("Audio.Vol");
    snapshotAfter(keyTime(8) + kTick, &functions);
    DialogSnapshot opTypes;
    bool comboBoxShown = true;
    after(keyTime(9) + kTick, [&] {
        opTypes = snapshot();
        comboBoxShown = false; // the combo box only lends its list; the box itself never shows
        for (HWND c : w32drv::Children(opTypes.dialog))
            if (w32drv::Inspect(c).className == "ComboBox" && IsWindowVisible(c)) comboBoxShown = true;
    });
    typeSlowly(".S(");
    snapshotAfter(keyTime(11) + kTick, &parameters);
    typeSlowly("10)");
    int r = open("x = \"\";", 5);
    EXPECT_EQ(r, IDOK);
    int displacement = 0;
    EXPECT_EQ(result(&displacement), "x = \"AudioAmplifier.Volume.Set(10)\";");
    EXPECT_EQ(displacement, 29);
    EXPECT_TRUE(w32drv::MessageBoxes().empty());

    // an empty address shows the FBlock list at its first item, under the edit field's start
    ASSERT_TRUE(first.open);
    EXPECT_EQ(first.title, "MOST Input Assistance");
    EXPECT_TRUE(first.listVisible);
    EXPECT_EQ(first.selection, 0);
    EXPECT_TRUE(contains(first.items, "AudioAmplifier (0x22)"));
    EXPECT_EQ(first.listRect.right - first.listRect.left, 200);
    // 100 pixels asked; the list keeps to whole rows
    EXPECT_LE(first.listRect.bottom - first.listRect.top, 100);
    EXPECT_GT(first.listRect.bottom - first.listRect.top, 100 - 13);
    EXPECT_NEAR(first.listRect.left, first.editRect.left, 6);
    // opened at (300, 300) with nothing typed: the edit field's middle sits on the caret's line
    EXPECT_EQ(first.dialogRect.left, 300);
    EXPECT_EQ((first.editRect.top + first.editRect.bottom) / 2, 310); // to the pixel: a moved field is seen
    EXPECT_EQ(first.format.rfind(" FBlockID.FunctionID.OpType(Parameter) - ", 0), 0u);
    EXPECT_TRUE(first.formatVisible);
    // the function list matches what was typed
    ASSERT_TRUE(functions.listVisible) << functions.picture;
    ASSERT_GE(functions.selection, 0);
    EXPECT_EQ(functions.items[static_cast<size_t>(functions.selection)], "Volume (0x400)");
    // then the OpTypes of that function, and nothing else
    ASSERT_TRUE(opTypes.listVisible) << opTypes.picture;
    EXPECT_EQ(opTypes.items.size(), 6u);
    EXPECT_TRUE(contains(opTypes.items, "Set (0x0)"));
    EXPECT_FALSE(contains(opTypes.items, "Volume (0x400)"));
    EXPECT_FALSE(comboBoxShown);
    // inside the parameter list: the names and the current parameter's type
    EXPECT_EQ(parameters.edit, "AudioAmplifier.Volume.Set(");
    EXPECT_EQ(parameters.format, " Volume");
    EXPECT_EQ(parameters.hint, " Volume: Number");
    EXPECT_TRUE(parameters.hintVisible);
}

TEST_F(InputAssistance, TheFirstDigitSwitchesTheFBlockListToItsFormat) {
    DialogSnapshot decimal, hex, names;
    w32drv::Wait(kLook);
    typeSlowly("3");
    snapshotAfter(keyTime(0) + kTick, &decimal);
    press(VK_BACK);
    typeSlowly("0");
    snapshotAfter(keyTime(2) + kTick, &hex);
    press(VK_BACK);
    typeSlowly("A");
    snapshotAfter(keyTime(4) + kTick, &names);
    open("\"\"", 1);
    EXPECT_TRUE(contains(decimal.items, "34 (AudioAmplifier)"));
    ASSERT_GE(decimal.selection, 0);
    EXPECT_EQ(decimal.items[static_cast<size_t>(decimal.selection)].substr(0, 1), "3");
    EXPECT_TRUE(contains(hex.items, "0x22 (AudioAmplifier)"));
    EXPECT_TRUE(contains(names.items, "AudioAmplifier (0x22)"));
    ASSERT_GE(names.selection, 0);
    EXPECT_EQ(names.items[static_cast<size_t>(names.selection)].substr(0, 1), "A");
}

TEST_F(InputAssistance, EscapeClosesTheListFirstAndThenTheDialog) {
    DialogSnapshot afterFirst;
    w32drv::Wait(kLook);
    typeSlowly("Tele");
    press(VK_ESCAPE);
    snapshotAfter(keyTime(4) + 100, &afterFirst);
    press(VK_TAB); // with the list closed Tab only moves on, to the OK button
    press(VK_ESCAPE);
    EXPECT_EQ(open("\"\"", 1), IDCANCEL);
    EXPECT_TRUE(afterFirst.open);
    EXPECT_FALSE(afterFirst.listVisible);
    EXPECT_TRUE(w32drv::InputExhaustedDialogs().empty()); // the person closed it
    EXPECT_EQ(result(), "\"Tele\"");
}

TEST_F(InputAssistance, AClickOnAListItemPicksIt) {
    w32drv::Wait(kLook);
    typeSlowly("Au");
    after(keyTime(1) + kTick, [] {
        DialogSnapshot s = snapshot();
        clickListItem(s, "AudioDiskPlayer (0x31)");
        w32drv::Wait(250);
        w32drv::Call([field = GetDlgItem(s.dialog, 1000)] {
            EXPECT_EQ(GetFocus(), field); // the timer gives the field its focus back
            // the caret after the taken name, nothing selected, as after Return on the list
            DWORD start = 0, end = 0;
            SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 15u);
            EXPECT_EQ(end, 15u);
        });
        w32drv::Key(VK_ESCAPE); // the list, open again for the new text
        w32drv::Key(VK_RETURN);
    });
    EXPECT_EQ(open("\"\"", 1), IDOK);
    EXPECT_EQ(result(), "\"AudioDiskPlayer\"");
}

TEST_F(InputAssistance, ArrowsMoveThroughTheListAndReturnOrTabTakesTheItem) {
    w32drv::Wait(kLook);
    typeSlowly("AudioA");
    press(VK_DOWN); // from AudioAmplifier to the next item
    press(VK_RETURN);
    typeSlowly(".");
    press(VK_DOWN); // from DeckStatus to Eject, and the timer's ticks leave the choice alone
    w32drv::Wait(3 * kTick);
    press(VK_RETURN);
    press(VK_ESCAPE); // the list, open again for the new text
    press(VK_RETURN);
    EXPECT_EQ(open("\"\"", 1), IDOK);
    EXPECT_EQ(result(), "\"AudioDiskPlayer.Eject\"");
    EXPECT_TRUE(w32drv::MessageBoxes().empty()); // a function is a whole address between quotes

    // Tab right after a key takes the item for the text as typed, not as the last tick saw it
    w32drv::Wait(kLook);
    typeSlowly("Audio");
    w32drv::Type("D");
    w32drv::Key(VK_TAB);
    w32drv::Wait(kTick);
    press(VK_ESCAPE);
    press(VK_RETURN);
    EXPECT_EQ(open("\"\"", 1), IDOK);
    EXPECT_EQ(result(), "\"AudioDiskPlayer\"");
}

TEST_F(InputAssistance, EachParameterShowsItsOwnTypeAndValuesAndTakesAValueAfterItsSpaces) {
    DialogSnapshot first, second, third;
    int parameterX = -1;
    const std::string typed = "NetBlock.DeviceInfo.Status( ";
    after(kLook - 50, [&] {
        first = snapshot();
        // the value list stands at the parameter's start, its space included
        LRESULT pos = SendMessageA(GetDlgItem(first.dialog, 1000), EM_POSFROMCHAR, typed.find('(') + 1, 0);
        parameterX = first.editRect.left + static_cast<short>(LOWORD(pos));
    });
    w32drv::Wait(kLook);
    press(VK_TAB);
    typeSlowly(", x");
    snapshotAfter(keyTime(3) + kTick, &second);
    typeSlowly(",");
    snapshotAfter(keyTime(4) + kTick, &third);
    press(VK_ESCAPE);
    EXPECT_EQ(open("\"" + typed + "\"", static_cast<int>(typed.size()) + 1), IDCANCEL);
    EXPECT_EQ(first.format, " InfoKind, Text");
    EXPECT_EQ(first.hint, " InfoKind: Enum");
    ASSERT_TRUE(first.listVisible) << first.picture;
    EXPECT_EQ(first.selection, 0);
    EXPECT_EQ(first.listRect.left, parameterX);
    const std::string chosen = first.items.empty() ? "" : GetEntryHead(first.items[0]);
    // the value comes after the space, and no space is added after it
    EXPECT_EQ(second.edit, typed + chosen + ", x");
    EXPECT_EQ(second.hint, " Text: String");
    EXPECT_FALSE(second.listVisible);
    // a comma after a text parameter takes nothing from the closed list
    EXPECT_EQ(third.edit, typed + chosen + ", x,");
    EXPECT_EQ(third.format, " More parameters than the OpType has");
}

TEST_F(InputAssistance, ControlArrowsMoveTheCaretByWords) {
    std::vector<DialogSnapshot> seen(4);
    w32drv::Wait(kLook); // the first look puts the caret at the address's start
    for (int i = 0; i < 4; ++i) {
        press(i < 2 ? VK_RIGHT : VK_LEFT, w32drv::Control);
        snapshotAfter(keyTime(i) + 100, &seen[static_cast<size_t>(i)]);
    }
    press(VK_ESCAPE);
    press(VK_ESCAPE);
    open("\"AudioAmplifier.Volume\"", 1);
    std::vector<int> carets;
    for (const auto& s : seen) carets.push_back(s.selEnd);
    EXPECT_EQ(carets, (std::vector<int>{15, 21, 15, 0})); // after each word's separator, and back
}

TEST_F(InputAssistance, TheListOpensAtTheStartOfTheWordAndNeverPastTheFieldsEnd) {
    DialogSnapshot atDot, inWord, farRight;
    w32drv::Wait(kLook);
    typeSlowly("AudioAmplifier.");
    snapshotAfter(keyTime(14) + kTick, &atDot);
    w32drv::Type("Vol");
    w32drv::Wait(kTick);
    press(VK_F2); // the instance form and back: the list opens afresh
    press(VK_F2);
    snapshotAfter(keyTime(15) + kTick + 350, &inWord); // after the second F2
    press(VK_ESCAPE);
    w32drv::Key(VK_HOME);
    w32drv::Key(VK_END, w32drv::Shift);
    w32drv::Type(std::string(300, ' ') + "Audio"); // past the field in any font
    w32drv::Wait(kTick);
    press(VK_F2);
    snapshotAfter(keyTime(15) + kTick + 1100, &farRight); // after the last F2
    press(VK_ESCAPE);
    press(VK_ESCAPE);
    open("\"\"", 1);
    ASSERT_TRUE(atDot.listVisible);
    ASSERT_TRUE(inWord.listVisible) << inWord.picture;
    EXPECT_EQ(inWord.listRect.left, atDot.listRect.left);
    ASSERT_TRUE(farRight.listVisible) << farRight.picture;
    EXPECT_EQ(farRight.listRect.right, farRight.editRect.right);
}

TEST_F(InputAssistance, OkOnAnUnknownFBlockAsksAndNoKeepsTheDialogOpen) {
    DialogSnapshot afterNo;
    w32drv::Wait(kLook);
    typeSlowly("Nonsense");
    press(VK_HOME);
    press(VK_RETURN);
    snapshotAfter(keyTime(9) + 100, &afterNo);
    press(VK_RETURN);
    w32drv::AnswerMessageBox(IDNO);
    w32drv::AnswerMessageBox(IDYES);
    EXPECT_EQ(open("\"\"", 1), IDOK);
    EXPECT_EQ(afterNo.selStart, 8); // OK went to the address's end to look at it
    EXPECT_EQ(afterNo.selEnd, 8);
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].text.find("FBlock"), std::string::npos);
    EXPECT_EQ(boxes[0].caption, "MOST Input Assistance");
    EXPECT_EQ(boxes[0].style, 0x34u);
    EXPECT_EQ(result(), "\"Nonsense\"");
}

TEST_F(InputAssistance, OkAsksAboutAnUnresolvedOpTypeFirstAndAboutParametersItLacks) {
    for (const char* typed : {"AudioAmplifier.Volume.Nope", "AudioAmplifier.Volume.Nope(1"}) {
        w32drv::ClearRecords();
        w32drv::Wait(kLook);
        typeSlowly(typed);
        press(VK_RETURN); // the list, if open, has no item chosen: this is OK
        w32drv::AnswerMessageBox(IDYES);
        EXPECT_EQ(open("\"\"", 1), IDOK) << typed;
        auto boxes = w32drv::MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u) << typed;
        EXPECT_NE(boxes[0].text.find("OpType"), std::string::npos) << typed;
    }
    // Get of Mute has no parameters to put in parentheses: the format line says so, and OK asks
    w32drv::ClearRecords();
    DialogSnapshot s;
    snapshotAfter(kLook, &s);
    w32drv::Wait(kLook + 100);
    w32drv::AnswerMessageBox(IDYES);
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(open("\"AudioAmplifier.Mute.Get(\"", 25), IDOK);
    EXPECT_EQ(s.format, LoadResourceText(19212));
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadResourceText(19216));
    // Set of Mute takes one value, not two
    w32drv::ClearRecords();
    w32drv::Wait(kLook + 100);
    w32drv::AnswerMessageBox(IDYES);
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(open("\"AudioAmplifier.Mute.Set(1, 0)\"", 29), IDOK);
    boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadResourceText(19217));
}

TEST_F(InputAssistance, TheKeywordSettingNeedsNoQuotesAndAsksAboutAnIncompleteAddress) {
    DialogSnapshot s;
    snapshotAfter(kLook - 50, &s);
    w32drv::Wait(kLook);
    typeSlowly("AudioAmplifier.Mute");
    press(VK_ESCAPE);
    press(VK_RETURN);
    w32drv::AnswerMessageBox(IDYES);
    EXPECT_EQ(open("mostmessage "), IDOK);
    EXPECT_EQ(s.format, " FBlockID.FunctionID.OpType");
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("incomplete"), std::string::npos);
    EXPECT_EQ(result(), "mostmessage AudioAmplifier.Mute");
    w32drv::ClearRecords();
    w32drv::Wait(kLook);
    press(VK_ESCAPE);
    press(VK_RETURN);
    EXPECT_EQ(open("mostmessage AudioAmplifier.Mute.Set"), IDOK);
    EXPECT_TRUE(w32drv::MessageBoxes().empty()); // down to the OpType: complete
}

TEST_F(InputAssistance, F2SwitchesToTheInstanceFormWithItsOwnList) {
    DialogSnapshot instance;
    w32drv::Wait(kLook);
    typeSlowly("AudioAmplifier.");
    press(VK_F2);
    snapshotAfter(keyTime(15) + kTick, &instance);
    press(VK_DOWN);
    w32drv::Wait(3 * kTick); // the timer's ticks leave the choice alone
    press(VK_RETURN);
    typeSlowly(".Mute.Set(1");
    press(VK_RETURN);
    EXPECT_EQ(open("\"\"", 1), IDOK);
    ASSERT_TRUE(instance.listVisible) << instance.picture;
    EXPECT_EQ(instance.items.size(), 2u);
    EXPECT_TRUE(contains(instance.items, "# (InstanceID)"));
    EXPECT_TRUE(contains(instance.items, "*"));
    EXPECT_EQ(instance.selection, 0);
    EXPECT_EQ(instance.hint, " InstanceID - 0..255 / 0x0..0xFF");
    EXPECT_EQ(instance.format.find(" FBlockID.InstID.FunctionID.OpType(Parameter) - "), 0u);
    EXPECT_EQ(result(), "\"AudioAmplifier.*.Mute.Set(1)\"");
}

TEST_F(InputAssistance, ASelectionInTheFieldKeepsTheListAway) {
    DialogSnapshot typed, selecting;
    w32drv::Wait(kLook);
    typeSlowly("Au");
    snapshotAfter(keyTime(1) + kTick, &typed);
    press(VK_LEFT, w32drv::Shift);
    snapshotAfter(keyTime(2) + kTick, &selecting);
    press(VK_ESCAPE);
    press(VK_ESCAPE);
    open("\"\"", 1);
    EXPECT_TRUE(typed.listVisible) << typed.picture;
    EXPECT_EQ(selecting.selStart, 1);
    EXPECT_EQ(selecting.selEnd, 2);
    EXPECT_FALSE(selecting.listVisible) << selecting.picture;
}

TEST_F(InputAssistance, ReturnTakesTheListsFirstItemAsAnyOther) {
    DialogSnapshot taken;
    w32drv::Wait(kLook);
    typeSlowly("Am"); // AmFmTuner, first of the sorted FBlocks
    press(VK_RETURN);
    snapshotAfter(keyTime(3) + kTick, &taken);
    press(VK_ESCAPE);
    press(VK_ESCAPE);
    open("\"\"", 1);
    EXPECT_TRUE(taken.open); // the item was taken, the dialog stayed
    EXPECT_EQ(taken.edit, "AmFmTuner");
}

TEST_F(InputAssistance, AfterAClickOnTheInstanceItemTheFieldGetsTheNextKeys) {
    w32drv::Wait(kLook);
    typeSlowly("AudioAmplifier.");
    press(VK_F2);
    after(keyTime(15) + kTick, [] {
        clickListItem(snapshot(), "# (InstanceID)");
        w32drv::Wait(250);
        w32drv::Type("2");
        w32drv::Wait(250);
        w32drv::Key(VK_ESCAPE);
        w32drv::Key(VK_ESCAPE);
    });
    open("\"\"", 1);
    // typed into the field at the caret, not into the hidden list nor over the whole address
    EXPECT_EQ(result(), "\"AudioAmplifier.2\"");
}

TEST_F(InputAssistance, EnumParametersOfferTheirValuesAndTooManyParametersAreSaid) {
    DialogSnapshot values, tooMany;
    w32drv::Wait(kLook);
    typeSlowly("AudioDiskPlayer.DeckStatus.Set(P");
    snapshotAfter(keyTime(31) + kTick, &values);
    typeSlowly(",");
    snapshotAfter(keyTime(32) + kTick, &tooMany);
    press(VK_BACK);
    press(VK_ESCAPE);
    press(VK_RETURN);
    EXPECT_EQ(open("\"\"", 1), IDOK);
    ASSERT_TRUE(values.listVisible) << values.picture;
    EXPECT_TRUE(contains(values.items, "Play (0x00)"));
    EXPECT_TRUE(contains(values.items, "Eject (0x06)")); // the key is the value's position
    EXPECT_EQ(values.items.size(), 7u);                   // the library lists the unnamed code 5 too
    ASSERT_GE(values.selection, 0);
    EXPECT_EQ(values.items[static_cast<size_t>(values.selection)], "Pause (0x02)"); // sorted, first with "P"
    EXPECT_EQ(values.hint, " Status: Enum");
    EXPECT_EQ(tooMany.format, " More parameters than the OpType has");
    EXPECT_EQ(result(), "\"AudioDiskPlayer.DeckStatus.Set(Pause)\"");
}

TEST_F(InputAssistance, WithoutCatalogDataTheHostIsToldAndNoDialogOpens) {
    KPelorin empty(host);
    EXPECT_EQ(empty.IsDataAvailable(), 0);
    EXPECT_EQ(empty.ShowEx(host, "\"\"", 10, 10, 1, -1, -1), 0);
    KPelorin broken(host);
    broken.AddFCat("/nowhere/a.xml");
    broken.AddFCat("/nowhere/b.xml");
    EXPECT_EQ(broken.IsDataAvailable(), 1); // nothing loaded yet: the registration counts
    EXPECT_EQ(broken.ShowEx(host, "\"\"", 10, 10, 1, -1, -1), 0);
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].caption, "Information");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].owner, host);
    EXPECT_NE(boxes[1].text.find("/nowhere/a.xml"), std::string::npos);
    EXPECT_NE(boxes[2].text.find("/nowhere/b.xml"), std::string::npos);
    EXPECT_EQ(boxes[3].caption, "Information");
    EXPECT_EQ(broken.IsDataAvailable(), 0);
}

TEST_F(InputAssistance, SelectorsShareOneDialogWhoseParentIsTheFirstWindow) {
    HWND other = CreateWindowExA(0, "HostEditor", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 600, 300, 200, nullptr,
                                 nullptr, nullptr, nullptr);
    KPelorin second(other);
    second.AddFCat(SampleCatalog("standard.xml").c_str());
    DialogSnapshot s;
    snapshotAfter(300, &s);
    w32drv::Wait(400);
    EXPECT_EQ(second.ShowEx(other, "\"\"", 700, 700, 1, -1, -1), IDCANCEL);
    ASSERT_TRUE(s.open);
    EXPECT_EQ(s.owner, host);
    EXPECT_FALSE(IsWindowEnabled(host) == FALSE); // enabled again afterwards
}

TEST_F(InputAssistance, TheDialogStaysOnTheScreen) {
    DialogSnapshot s;
    snapshotAfter(300, &s);
    w32drv::Wait(400);
    selector->ShowEx(host, "\"\"", -800, -600, 1, -1, -1);
    ASSERT_TRUE(s.open);
    EXPECT_EQ(s.dialogRect.left, 0);
    EXPECT_EQ(s.dialogRect.top, 0);

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    snapshotAfter(300, &s);
    w32drv::Wait(400);
    selector->ShowEx(host, "\"\"", width - 10, height - 10, 1, -1, -1);
    ASSERT_TRUE(s.open);
    EXPECT_EQ(s.dialogRect.right, width);
    EXPECT_EQ(s.dialogRect.bottom, height);
}
