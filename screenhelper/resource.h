// Resource ids of KvSrcHelper.
#pragma once

#define IDD_SCREENHELPER_DIALOG 102
#define IDR_MAINFRAME 128
