// Ids of the colour picker's test dialog.
#pragma once
#define IDD_COLOUR_TEST 300
#define IDC_COLOUR_TEST_BUTTON 301
#define IDC_COLOUR_TEST_OTHER 302
