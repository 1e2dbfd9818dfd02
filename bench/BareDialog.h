// Resource ids of the benchmarks' baseline program.
#pragma once

#define IDD_BARE 2619
#define IDD_BARE_SMALL 2620
#define IDC_BARE_FRAME 1002
#define IDC_BARE_START 3001
#define IDC_BARE_FREE 3002
#define IDC_BARE_OPEN 3003
#define IDC_BARE_STATE 3004
#define IDC_BARE_OPEN_FILE 3005
#define IDC_BARE_SAVE_FILE 3006
