#pragma once

#define IDD_PROBE 100
#define IDC_PROBE_EDIT 1001
#define IDC_PROBE_COMBO 1002

#define IDS_LONG 3000
#define IDS_SHORT 3001
#define IDS_MISSING 3999
