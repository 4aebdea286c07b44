// The dialog templates by number: the input assistance template of the system's module and the
// array index and selection templates of both language modules, with every control the dialogs
// bind.
#include <windows.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

namespace {

INT_PTR CALLBACK plain(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

std::map<int, std::string> controls(HMODULE module, int id) {
    std::map<int, std::string> out;
    HWND dlg = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, plain, 0);
    EXPECT_NE(dlg, nullptr) << "template " << id;
    if (!dlg) return out;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64];
        GetClassNameA(c, cls, sizeof cls);
        out[GetDlgCtrlID(c)] = cls;
    }
    DestroyWindow(dlg);
    return out;
}

class TemplateTest : public ::testing::Test {
protected:
    void SetUp() override { w32drv::Reset(); }
};

} // namespace

TEST_F(TemplateTest, TheInputAssistanceTemplateOfTheSystemsModule) {
    HMODULE module = LoadLibraryA("Pelorin.dll");
    ASSERT_NE(module, nullptr);
    ASSERT_NE(FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(102), 1033), nullptr);
    // a small captionless box over the editor line, not in the task bar
    HWND dlg = CreateDialogParamA(module, MAKEINTRESOURCEA(102), nullptr, plain, 0);
    ASSERT_NE(dlg, nullptr);
    DWORD style = static_cast<DWORD>(GetWindowLongA(dlg, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_TRUE(GetWindowLongA(dlg, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    DestroyWindow(dlg);
    // the field, OK and the two hint lines, which show only when the dialog has something to say
    const std::map<int, std::string> bound{{1000, "Edit"}, {IDOK, "Button"}, {1020, "Static"}, {1019, "Static"}};
    EXPECT_EQ(controls(module, 102), bound);
    dlg = CreateDialogParamA(module, MAKEINTRESOURCEA(102), nullptr, plain, 0);
    for (int hint : {1019, 1020}) EXPECT_FALSE(GetWindowLongA(GetDlgItem(dlg, hint), GWL_STYLE) & WS_VISIBLE) << hint;
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 1000), GWL_STYLE) & ES_AUTOHSCROLL, ES_AUTOHSCROLL);
    DestroyWindow(dlg);
}

TEST_F(TemplateTest, BothLanguageModulesHoldTheDialogsWithEveryBoundControl) {
    const std::map<int, std::string> arrayIndex{{IDOK, "Button"}, {IDCANCEL, "Button"}, {18050, "Edit"}, {18051, "Static"}};
    const std::map<int, std::string> selection{
        {IDOK, "Button"},     {IDCANCEL, "Button"}, {3, "Button"},       {19167, "Button"},   {18034, "Button"},
        {18054, "Button"},    {18035, "Edit"},      {18036, "Static"},   {18037, "Static"},   {18038, "Static"},
        {18041, "Static"},    {18042, "Static"},    {18043, "Static"},   {18047, "Button"},   {18039, "Edit"},
        {18040, "Edit"},      {18044, "Edit"},      {18055, "Button"},   {18046, "ComboBox"}, {19168, "ComboBox"},
        {18049, "Button"},    {18053, "ComboBox"}};
    for (const char* name : {"Pelorin01.dll", "Pelorin49.dll"}) {
        HMODULE module = LoadLibraryA(name);
        ASSERT_NE(module, nullptr) << name;
        EXPECT_EQ(controls(module, 18006), arrayIndex) << name;
        EXPECT_EQ(controls(module, 19161), selection) << name;
        EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(19165)), nullptr) << name;
        char text[256];
        for (UINT id : {18224u, 18225u, 18228u, 18229u, 18230u, 18231u, 18232u, 18233u, 18234u, 18235u, 19123u})
            EXPECT_GT(LoadStringA(module, id, text, sizeof text), 0) << name << " " << id;
        for (UINT id = 19200; id <= 19222; ++id) EXPECT_GT(LoadStringA(module, id, text, sizeof text), 0) << name << " " << id;
        LoadStringA(module, 19201, text, sizeof text);
        std::string t = text;
        EXPECT_NE(t.find("%s"), std::string::npos);
        EXPECT_EQ(t.find("%s", t.find("%s") + 1), std::string::npos); // exactly one
        // each address form with its explanation fits the format line (6 pixels a character, a border)
        HWND dlg = CreateDialogParamA(module, MAKEINTRESOURCEA(102), nullptr, plain, 0);
        ASSERT_NE(dlg, nullptr) << name;
        RECT line;
        GetWindowRect(GetDlgItem(dlg, 1020), &line);
        const std::pair<UINT, const char*> forms[] = {{19221u, " FBlockID.FunctionID.OpType(Parameter) - "},
                                                      {19222u, " FBlockID.InstID.FunctionID.OpType(Parameter) - "}};
        for (const auto& [id, form] : forms) {
            int n = LoadStringA(module, id, text, sizeof text);
            EXPECT_LE(6 * (static_cast<int>(std::strlen(form)) + n) + 2, line.right - line.left) << name << " " << id;
        }
        DestroyWindow(dlg);
        FreeLibrary(module);
    }
}
