#pragma once

class Launcher;

// Publishes the runtime's location (ZQ_JVM_PATH, ZQ_JVM_HOME), puts the
// "java.library.path" option first when "Library Path" is set, and extends
// "Path" with "System Path" and the runtime's bin folder. Failures are ignored.
void prepareRuntimeEnvironment(Launcher& launcher);

// Builds the VM options from the configuration: class path, the user's VM
// parameters (percentages made absolute, "-Xss" sizing the VM thread), the
// redirection settings and the configured extra arguments. False when the
// configuration cannot be located or the class path is empty (after its
// message); the start goes on either way.
bool assembleVmOptions(Launcher& launcher);
