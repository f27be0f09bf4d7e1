#pragma once
// Ids of the runtime-not-found dialog and its controls, and the download page
// its link opens unless the configuration names another. Shared by the
// resource script, the code and the tests; plain macros because the resource
// compiler reads this file too.

#define IDD_RUNTIME_NOT_FOUND 201

#define IDC_RUNTIME_OK 1
#define IDC_RUNTIME_CANCEL 2
#define IDC_RUNTIME_FOLDER 201
#define IDC_RUNTIME_BROWSE 202
#define IDC_RUNTIME_MESSAGE 203
#define IDC_RUNTIME_ICON 204
#define IDC_RUNTIME_LINK 205
#define IDC_RUNTIME_BROWSE_HINT 206

// A neutral page that offers free OpenJDK runtimes for Windows.
#define RUNTIME_DOWNLOAD_PAGE "https://adoptium.net/"
