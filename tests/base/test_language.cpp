// The language module: loaded once from beside the program, serving its texts, and given back
// at the end with the resource handle the program had before.
#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"

#include <afxwin.h>

#include <gtest/gtest.h>

TEST(LanguageResources, TheModuleServesTextsUntilItIsFreed) {
    ResetProcessStateForTests();
    const HINSTANCE own = AfxGetResourceHandle();
    EXPECT_EQ(LoadResourceText(IDS_NO_FBLOCK), ""); // nothing loaded yet
    ASSERT_EQ(LoadLanguageResources(), 0);
    const HMODULE module = GetLanguageModule();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetModuleHandleA("Pelorin01.dll"), module); // English: the test has no settings
    EXPECT_EQ(AfxGetResourceHandle(), module);
    EXPECT_EQ(LoadResourceText(IDS_NO_FBLOCK), " No FBlock found");
    EXPECT_EQ(LoadResourceText(0xFFFF), ""); // a number the module has no text for
    EXPECT_EQ(LoadLanguageResources(), 0); // a second call keeps the module it has
    EXPECT_EQ(GetLanguageModule(), module);

    FreeLanguageResources();
    EXPECT_EQ(GetLanguageModule(), nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), own);
    EXPECT_EQ(GetModuleHandleA("Pelorin01.dll"), nullptr) << "the module is still loaded";
    EXPECT_EQ(LoadResourceText(IDS_NO_FBLOCK), "");
    ResetProcessStateForTests();
}
