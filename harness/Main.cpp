#include "HarnessApp.h"

CHarnessApp theApp;
