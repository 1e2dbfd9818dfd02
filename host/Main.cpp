#include "HostApp.h"

CHostApp theApp;
