// Ids of the driver's probe dialog, shared with the self-test.
#pragma once

#define IDD_PROBE 100
#define IDC_PROBE_INPUT 1001
#define IDC_PROBE_ASK 1002
#define IDC_PROBE_ANSWER 1003
#define IDC_PROBE_CHOICES 1004
#define IDC_PROBE_COMMAND_LINE 1005
#define IDC_PROBE_LOG 1006
#define IDC_PROBE_NOTE 1007
#define IDC_PROBE_FOLDER 1008

// The probe's exit code when its dialog is cancelled.
#define PROBE_CANCELLED 3
