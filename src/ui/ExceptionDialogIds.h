#pragma once
// Ids of the uncaught-exception dialog and its controls. Shared by the
// resource script, the code and the tests; plain macros because the resource
// compiler reads this file too.

#define IDD_EXCEPTION_DIALOG 231

#define IDC_EXCEPTION_IGNORE 1
#define IDC_EXCEPTION_STOP 2
#define IDC_EXCEPTION_ICON 204
#define IDC_EXCEPTION_TRACE 208
#define IDC_EXCEPTION_GROUP 209
#define IDC_EXCEPTION_INTRO 210
#define IDC_EXCEPTION_INSTRUCTION 211
#define IDC_EXCEPTION_WARNING 212
#define IDC_EXCEPTION_SIZE_GRIP 59393
