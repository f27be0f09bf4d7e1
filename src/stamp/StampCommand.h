#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// The command line of launcher-stamp:
//   launcher-stamp <launcher.exe> <MyApp.exe> [--icon app.ico] [--version 1.2.3.4]
//       [--product-name TEXT] [--company TEXT] [--description TEXT] [--copyright TEXT]
//       [--settings MyApp.ini] [--manifest file.manifest]
// Exit codes: 0 stamped; 2 refused (bad arguments or input); 1 the output
// could not be written. When stamping fails after the arguments were read,
// no file is left at the output path (an earlier one is removed too), so a
// build step cannot ship a stale copy; the input is never written.
constexpr int kStampExitOk = 0;
constexpr int kStampExitWriteFailed = 1;
constexpr int kStampExitRefused = 2;

// Runs the tool with `arguments` (UTF-8, without the program name); the
// report goes to `out`, problems to `err`.
int runStampCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
