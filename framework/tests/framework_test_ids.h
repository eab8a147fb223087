#pragma once
#define IDD_TEST 100
#define IDC_DRAWN 1001
#define IDC_EDIT 1002
