#pragma once
// Ids of the program's own resources (shared by the resource script and the code).
#define IDD_TRANSFER_PANEL 502
#define IDI_MAIN 510
#define IDI_CARD_FILE 514
#define IDI_CARD_FOLDER 515
#define IDI_PARENT 516
#define IDB_MONITOR 142
#define IDB_LOGO 143
#define IDB_PRINTER 144
#define IDB_LAMP_LIT 517
#define IDB_LAMP_DARK 518
// The question about a file already on the PC; its text has the id a message box's text has.
#define IDD_OVERWRITE_QUESTION 600
#define IDC_QUESTION_TEXT 65535
#define IDC_QUESTION_ICON 1100
#define IDC_YES_TO_ALL 1101
#define IDC_NO_TO_ALL 1102
