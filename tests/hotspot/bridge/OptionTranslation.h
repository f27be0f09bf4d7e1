// Translation of JVM options from their Windows form to the Linux VM's.
#pragma once

#include <string>

namespace hsbridge {

// The Unix path of a Windows path, made absolute against the working folder
// and with symbolic links resolved as far as the path exists. A trailing "\*"
// (class path wildcard) is kept as "/*".
std::string unixPathOf(const std::u16string& windowsPath);

// A ';'-separated list of Windows paths as a ':'-separated list of Unix paths.
std::string unixPathListOf(const std::u16string& windowsList);

// One option string as the Linux VM wants it: read in the Windows ANSI code
// page, written in UTF-8 (the locale the bridge runs under), and the paths in
// java.class.path, java.library.path, -Xbootclasspath/a:, -javaagent:,
// -XX:SharedArchiveFile=, -XX:DumpLoadedClassList= and -XX:SharedClassListFile=
// mapped to Unix paths.
std::string translateOption(const char* windowsOption);

}  // namespace hsbridge
