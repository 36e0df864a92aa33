/* Control identifiers of the example's dialog. */
#define IDD_DEMO 100
#define IDC_NAME 101
#define IDC_CHECK 102
#define IDC_RADIO1 103
#define IDC_RADIO2 104
#define IDC_COMBO 105
#define IDC_LIST 106
#define IDC_SKINNING 107
#define IDC_NIGHT 108
#define IDC_MESSAGE 109
