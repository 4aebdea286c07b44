// Numbers shared by rctest.rc and the tests that read its module.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDI_TEST 7
#define IDD_ALL 100
#define IDD_OLD 101
#define IDR_DATA 300

#define IDC_LTEXT 1001
#define IDC_RTEXT 1002
#define IDC_CTEXT 1003
#define IDC_EDIT 1004
#define IDC_PUSH 1005
#define IDC_GROUP 1006
#define IDC_CHECK 1007
#define IDC_AUTOCHECK 1008
#define IDC_RADIO 1009
#define IDC_AUTORADIO 1010
#define IDC_STATE3 1011
#define IDC_AUTO3STATE 1012
#define IDC_COMBO 1013
#define IDC_LIST 1014
#define IDC_SCROLL 1015
#define IDC_ICON 1016
#define IDC_CUSTOM 1017
#define IDC_CONTROLBUTTON 1018
#define IDC_OLDBUTTON 1100
#define IDC_OLDEDIT 1101

// strings: ids 1..2 in block 1, 17 in block 2, 40 in block 3 (German only), 65535 in block 4096
#define IDS_HELLO 1
#define IDS_ESCAPES 2
#define IDS_BLOCK2 17
#define IDS_GERMAN_ONLY 40
#define IDS_LAST 65535

// code that includes this header never sees these lines: the resource compiler reads directives only
#define RCTEST_BASE 10
#if RCTEST_BASE > 5 && defined(IDC_LTEXT)
#define RCTEST_WIDTH (RCTEST_BASE * 4)
#else
#define RCTEST_WIDTH 1
#endif
