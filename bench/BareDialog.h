// Resource ids of the bare dialog, the benchmarks' floor without an engine.
#pragma once

#define IDD_BARE 2619
#define IDC_BARE_FRAME 1002
