#pragma once

class Launcher;

// Loads the JVM library at the launcher's `jvmLibraryPath` and resolves its
// entry points. On failure the message is shown and the result is false. The
// library stays loaded for the life of the process.
bool loadJvmLibrary(Launcher& launcher);
