// PioScreen's application object; the framework's WinMain runs it.
#include "mainapp.h"

CMainTVApp theApp;
